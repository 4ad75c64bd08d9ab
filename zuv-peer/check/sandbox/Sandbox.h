#pragma once

#include "check/sandbox/Limits.h"

#include <QJsonArray>
#include <QString>
#include <QStringList>

// How a control unit under test is kept in its box: bubblewrap (bwrap) makes it new user, PID,
// IPC, UTS and mount namespaces, the system read-only, the submission as a private copy at
// /submission, a private bounded /tmp, a minimal /dev and /proc, a scrubbed environment. The
// checker that starts it runs in a network namespace of its own (loopback only) and a mount
// namespace in which the copy lives on a bounded tmpfs: the unit reaches its checker's ports and
// nothing else, and what it leaves ends with the check.
namespace Check::Sandbox {

// The submission's path inside the box; {} in --start and --prepare becomes it.
constexpr const char* submissionPath = "/submission";

// Empty when units can be boxed here, else why not: what to install, or the option to use.
QString unavailable();

// How to run a program in a network and mount namespace of its own with loopback up (util-linux
// unshare, as root or in a user namespace): the command line to put before it; empty when the
// machine allows none.
QStringList ownNamespacePrefix();

// Mounts a private tmpfs of `bytes` at `directory` (the process must be in a mount namespace of its
// own). Returns an empty text, or what went wrong.
QString mountPrivateTmpfs(const QString& directory, qint64 bytes);

// A copy of the folder `from` into the (existing, empty) folder `to`, made without following any
// symbolic link (links are copied as links, to be resolved inside the box) and refused beyond
// `limit` bytes. `files` lists every entry, sorted by path, with its SHA-256 (links: of their
// target's text).
struct Copy
{
    QString error;
    QJsonArray files; // [{"path": "unit.py", "sha256": "..."}, {"path": "lib", "link": "..."}]
    qint64 bytes = 0;
};
Copy copyTree(const QString& from, const QString& to, qint64 limit);

// The environment a boxed unit sees: PATH, HOME=/tmp, LANG, the ports, and the variables `passed`
// on from this process's environment.
QStringList environment(int programPort, int peerPort, const QStringList& passed);

// The command line that runs `shellCommand` (with /bin/sh -c) boxed, the copy at `copy` mounted at
// /submission (writable only for `writable`), under `limits`. `rlimitsOnly`: no control group
// bounds memory and processes, so rlimits must; `cpu`: the core to keep it on then (-1: any).
QStringList command(const QString& shellCommand, const QString& copy, bool writable, const Limits& limits,
                    const QStringList& environment, bool rlimitsOnly, int cpu);

} // namespace Check::Sandbox
