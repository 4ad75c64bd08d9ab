#pragma once

#include "check/sandbox/Limits.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace Check {

// A control group for one run of a control unit, where the machine lets this process make one:
// cgroup v2 in a subtree it may write (as root, or one delegated to the user, for example by
// `systemd-run --user --scope -p Delegate=yes`), or cgroup v1 as root. It bounds the memory (the
// whole group is ended when it runs out), the processes and the CPU of everything the unit starts,
// and tells which bound was reached.
class UnitCgroup
{
public:
    // Where this process makes its groups: found (and, for cgroup v2, prepared) once.
    struct Home
    {
        int version = 0;     // 1 or 2; 0: none (`why` tells)
        QStringList parents; // v2: the parent; v1: the memory, pids and cpu parents
        QString why;
    };
    static const Home& home();
    // Gives back what home() prepared (for cgroup v2: this process's own leaf). Call at the end.
    static void releaseHome();

    UnitCgroup() = default;
    ~UnitCgroup();
    UnitCgroup(const UnitCgroup&) = delete;
    UnitCgroup& operator=(const UnitCgroup&) = delete;

    // Makes the group with `limits`. Returns an empty text, or what went wrong.
    QString create(const Limits& limits);
    bool exists() const { return !directories.isEmpty(); }
    // The files a process writes its own number into to join the group.
    QStringList joinFiles() const;

    struct Events
    {
        int memoryKills = 0;   // processes ended because the memory ran out
        int processLimits = 0; // forks refused at the process limit
    };
    Events events() const;
    QVector<qint64> processes() const;
    // Ends every process of the group and removes it.
    void remove();

private:
    QStringList directories;
    int version = 0;
};

} // namespace Check
