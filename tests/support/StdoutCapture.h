#pragma once

#include <QByteArray>

#include <cstdio>
#include <unistd.h>

// Captures what the process writes to standard output while it lives (both threads included).
class StdoutCapture
{
public:
    StdoutCapture()
    {
        std::fflush(stdout);
        file = std::tmpfile();
        saved = ::dup(STDOUT_FILENO);
        ::dup2(::fileno(file), STDOUT_FILENO);
    }

    ~StdoutCapture()
    {
        restore();
        if (file)
            std::fclose(file);
    }

    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;

    // Everything written so far.
    QByteArray text() const
    {
        std::fflush(stdout);
        QByteArray result;
        char chunk[4096];
        std::FILE* reader = std::fopen(("/proc/self/fd/" + std::to_string(::fileno(file))).c_str(), "rb");
        if (!reader)
            return result;
        size_t n = 0;
        while ((n = std::fread(chunk, 1, sizeof chunk, reader)) > 0)
            result.append(chunk, static_cast<int>(n));
        std::fclose(reader);
        return result;
    }

    void restore()
    {
        if (saved < 0)
            return;
        std::fflush(stdout);
        ::dup2(saved, STDOUT_FILENO);
        ::close(saved);
        saved = -1;
    }

private:
    std::FILE* file = nullptr;
    int saved = -1;
};
