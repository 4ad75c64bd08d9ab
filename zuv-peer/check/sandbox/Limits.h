#pragma once

#include <QJsonObject>
#include <QString>

namespace Check {

// What a control unit under test may use, per submission. Each is overridable with
// --limit NAME=VALUE; sizes take K, M or G (binary), times ms or s.
struct Limits
{
    qint64 memory = 256LL << 20;   // memory: bytes, all its processes together
    int processes = 64;            // processes: processes and threads
    int cpus = 1;                  // cpus: cores' worth of CPU time
    qint64 fileSize = 16LL << 20;  // file-size: the largest file it may write
    int openFiles = 256;           // open-files: descriptors per process
    qint64 output = 1LL << 20;     // output: kept of each stream (standard output, error)
    qint64 disk = 64LL << 20;      // disk: its /tmp, and the copy of the submission with what
                                   // --prepare adds to it
    qint64 prepareMillis = 120000; // prepare-time: how long --prepare may take

    // Applies one NAME=VALUE. Returns an empty text, or what is wrong with it.
    QString set(const QString& assignment);
    // "memory 256 MiB, 64 processes, 1 CPU, files up to 16 MiB, 256 open files, ..."
    QString describe() const;
    QJsonObject toJson() const;
};

// "256 MiB", "1.5 GiB", "100 KiB", "12 B".
QString sizeText(qint64 bytes);

} // namespace Check
