#include "ProgramUnderLoad.h"

#include "X11WindowCloser.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QThread>
#include <QUdpSocket>

#include <cstdio>
#include <cstring>
#include <unistd.h>

// Last: Xlib's macros clash with Qt's names.
#include <X11/Xlib.h>

namespace ProgramUnderLoad {

namespace {

long statusField(const QByteArray& status, const char* field)
{
    const int at = status.indexOf(field);
    if (at < 0)
        return 0;
    const int start = at + int(std::strlen(field));
    return status.mid(start, status.indexOf('\n', at) - start).trimmed().split(' ').first().toLong();
}

QByteArray fileText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool waitForText(const QString& path, const QByteArray& text, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (fileText(path).contains(text))
            return true;
        QThread::msleep(5);
    }
    return false;
}

} // namespace

X11Connection::X11Connection() : display(XOpenDisplay(nullptr))
{
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
}

X11Connection::~X11Connection()
{
    if (display)
        XCloseDisplay(display);
}

Sample sample(qint64 pid)
{
    Sample figures;
    const QByteArray stat = fileText(QStringLiteral("/proc/%1/stat").arg(pid));
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() > 12)
        figures.cpuSeconds =
            double(fields.at(11).toLong() + fields.at(12).toLong()) / double(::sysconf(_SC_CLK_TCK));
    const QByteArray status = fileText(QStringLiteral("/proc/%1/status").arg(pid));
    figures.residentKilobytes = statusField(status, "VmRSS:");
    figures.threads = int(statusField(status, "Threads:"));
    figures.descriptors = int(QDir(QStringLiteral("/proc/%1/fd").arg(pid))
                                  .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                                  .size());
    return figures;
}

Session::Session(const QString& peerExecutable, const QString& programExecutable,
                 const QStringList& programOptions)
{
    peer.setStandardOutputFile(directory.filePath("peer-trace"));
    peer.setStandardErrorFile(directory.filePath("peer-errors"));
    peer.setProgram(peerExecutable);
    program.setStandardOutputFile(directory.filePath("trace"));
    program.setStandardErrorFile(directory.filePath("errors"));
    program.setProgram(programExecutable);
    program.setArguments(programOptions);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.insert("QT_LOGGING_RULES", "zuv.renderer.info=true"); // names the renderer chosen
    program.setProcessEnvironment(environment);
}

Session::~Session()
{
    for (QProcess* process : {&program, &peer}) {
        process->terminate();
        if (!process->waitForFinished(5000)) {
            process->kill();
            process->waitForFinished();
        }
    }
}

qint64 Session::start()
{
    peer.start();
    if (!peer.waitForStarted() || !waitForText(directory.filePath("peer-trace"), "listening on UDP", 10000)) {
        std::fprintf(stderr, "zuv-peer did not start: %s\n",
                     fileText(directory.filePath("peer-errors")).constData());
        return -1;
    }
    QElapsedTimer timer;
    timer.start();
    program.start();
    if (!program.waitForStarted())
        return -1;
    while (!isX11WindowShown("ZUV-VirtualPlatform")) {
        if (timer.elapsed() > 20000 || program.state() != QProcess::Running) {
            std::fprintf(stderr, "the program's window did not come up: %s\n", errors().constData());
            return -1;
        }
        QThread::msleep(2);
    }
    const qint64 shown = timer.elapsed();
    if (!waitForText(directory.filePath("trace"), "Waiting for data...", 10000)) {
        std::fprintf(stderr, "the program's link did not start: %s\n", errors().constData());
        return -1;
    }
    return shown;
}

bool Session::driveWiperAndIndicators()
{
    QUdpSocket socket;
    socket.writeDatagram(R"({"cockpitIgnition":1,"cockpitWarnLight":1,"cockpitWindshieldWasherMode":5,)"
                         R"("windshieldDistanceSensor":1})",
                         QHostAddress::LocalHost, 50000);
    QThread::msleep(500);
    const int before = documentsReceived();
    QThread::sleep(2);
    return documentsReceived() - before >= 2 * 30;
}

int Session::documentsReceived() const
{
    return fileText(directory.filePath("trace")).count("Valid elements found:");
}

QByteArray Session::errors() const
{
    return fileText(directory.filePath("errors")).trimmed();
}

} // namespace ProgramUnderLoad
