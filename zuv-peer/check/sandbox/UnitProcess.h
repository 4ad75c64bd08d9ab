#pragma once

#include "check/sandbox/Limits.h"
#include "check/sandbox/UnitCgroup.h"

#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QTimer>

#include <memory>

namespace Check {

// One run of a control unit under test (or of its --prepare): started with /bin/sh -c, in a
// process group of its own, or boxed (Sandbox) under limits; watched while it runs; ended with
// everything it started. Its output is kept up to the output limit per stream, the rest dropped.
class UnitProcess : public QObject
{
    Q_OBJECT

public:
    struct Options
    {
        QString command;         // for /bin/sh -c
        QString directory;       // unboxed: where it starts (empty: here)
        QStringList environment; // NAME=value: boxed, all it sees; unboxed, added to this process's
        bool boxed = false;
        QString copy;          // boxed: the submission's copy, mounted at /submission
        bool writable = false; // boxed: the copy writable (for --prepare)
        Limits limits;
    };

    explicit UnitProcess(QObject* parent = nullptr);
    ~UnitProcess() override;

    // Returns an empty text, or why it could not be started.
    QString start(const Options& options);
    bool running() const { return process.state() != QProcess::NotRunning; }
    // Ends it: SIGTERM to every process it started, SIGKILL after a grace of 2 s; confirms that
    // none is left.
    void stop();

    // A limit that stopped it, told plainly ("used more than 256 MiB of memory"), or empty.
    QString limitReached() const { return reached; }
    // Processes that ran beside the unit, no longer its children, when it was ended (a daemon).
    int leftBehind() const { return strays; }
    // Processes that could not be ended (never expected; told in the report when it happens).
    int survivors() const { return remaining; }
    int exitCode() const { return process.exitCode(); }
    bool crashed() const { return process.exitStatus() != QProcess::NormalExit; }
    QByteArray output(QProcess::ProcessChannel channel) const;
    bool truncated(QProcess::ProcessChannel channel) const;
    // How the limits were enforced: "cgroup v1", "cgroup v2" or "rlimits (...)".
    QString enforcement() const { return how; }

signals:
    // It ended on its own, or a limit ended it (limitReached() tells which).
    void ended();

private:
    void read(QProcess::ProcessChannel channel);
    void watch();
    QVector<qint64> sandboxProcesses(qint64& init, qint64& main) const;

    QProcess process;
    Options options;
    UnitCgroup cgroup;
    QTimer watcher;
    QString reached;
    QString how;
    int strays = 0;
    int remaining = 0;
    QByteArray kept[2];
    bool cut[2] = {false, false};
};

} // namespace Check
