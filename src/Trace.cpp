#include "Trace.h"

#include <cstdio>
#include <mutex>

namespace Trace {

namespace {
std::mutex& traceMutex()
{
    static std::mutex mutex;
    return mutex;
}
} // namespace

void write(const std::string& block)
{
    std::lock_guard<std::mutex> lock(traceMutex());
    std::fwrite(block.data(), 1, block.size(), stdout);
    std::fflush(stdout);
}

void line(const std::string& text)
{
    write(text + '\n');
}

} // namespace Trace
