#pragma once

// The real program and zuv-peer, each a process of its own, on the link's fixed ports (run it in a
// network namespace of its own, tests/support/own-network, and under an X server), and the figures
// of a process as /proc tells them.

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

struct _XDisplay;

namespace ProgramUnderLoad {

// A connection to the X server held for a whole run. Without it, the program's last window going
// away (or a search for it) would leave the server without clients, and it would reset just as the
// next program connects, which then fails. Also ignores X errors: windows of other processes come
// and go while the display is searched for the program's window, and Xlib's default handler would
// end this process on the first one that has gone.
class X11Connection
{
public:
    X11Connection();
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

private:
    ::_XDisplay* display;
};

// What a process uses at one moment.
struct Sample
{
    double cpuSeconds = 0; // user and system, all threads
    long residentKilobytes = 0;
    int threads = 0;
    int descriptors = 0;
};

Sample sample(qint64 pid);

// The program (with its trace and its console errors in files) and zuv-peer's control units.
class Session
{
public:
    Session(const QString& peerExecutable, const QString& programExecutable,
            const QStringList& programOptions);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Starts zuv-peer, then the program; returns the milliseconds from the program's start until
    // its window is shown, or -1 when either fails to come up.
    qint64 start();

    // Sets the cockpit so that the control units drive the fast wiper (36 steps/s) and the hazard
    // lights (both indicators blinking at 1.5 Hz), next to the boards' heartbeats. The document
    // also moves the distance sensor (which the fast wiper ignores), so that the program passes the
    // cockpit values on at once. True once the program receives the peer's documents at the rate
    // of the wiper.
    bool driveWiperAndIndicators();

    // The documents the program has received so far, from its trace.
    int documentsReceived() const;

    // What the program said on its error console: the renderer chosen, and anything else.
    QByteArray errors() const;

    qint64 programPid() const { return program.processId(); }
    qint64 peerPid() const { return peer.processId(); }

private:
    QTemporaryDir directory;
    QProcess peer;
    QProcess program;
};

} // namespace ProgramUnderLoad
