// Figures of zuv-peer, the control units, as separate processes:
//   peer_bench <zuv-peer> flood [seconds]          a full-rate flood of full state documents on the
//       peer's port: its resident memory before, at the peak and after, and how long after the
//       flood it answers a document that turns the lights on;
//   peer_bench <zuv-peer> idle <program> [seconds] the program with zuv-peer running and nothing
//       changing but the heartbeat: CPU of each (the program needs a display and the link's ports).
#include "BenchStats.h"
#include "StateDatagram.h"
#include "VirtualPlatformDataModel.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QNetworkDatagram>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QUdpSocket>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// A field of /proc/PID/status in kB.
long statusKilobytes(qint64 pid, const char* field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(std::strlen(field))).trimmed().split(' ').first().toLong();
    }
    return 0;
}

// User and system CPU seconds of a process.
double cpuSeconds(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return double(fields.at(11).toLong() + fields.at(12).toLong()) / double(::sysconf(_SC_CLK_TCK));
}

QByteArray framedState(const QJsonObject& values)
{
    VirtualPlatformDataModel model;
    QJsonObject state;
    model.serializeJson(state);
    for (auto member = values.begin(); member != values.end(); ++member)
        state.insert(member.key(), member.value());
    QByteArray datagram(int(StateDatagram::size), '\0');
    StateDatagram::frame(StateDatagram::compactText(QJsonDocument(state)), datagram.data());
    return datagram;
}

// Starts zuv-peer with its trace in `traceFile` and returns the port it listens on, or 0.
int startPeer(QProcess& peer, const QString& executable, const QString& traceFile, int programPort)
{
    peer.setStandardOutputFile(traceFile);
    peer.start(executable, {"--peer-port", "0", "--program-port", QString::number(programPort)});
    if (!peer.waitForStarted())
        return 0;
    const QRegularExpression banner("listening on UDP 127.0.0.1:(\\d+)");
    for (int attempt = 0; attempt < 500; ++attempt) {
        QFile trace(traceFile);
        if (trace.open(QIODevice::ReadOnly)) {
            const auto match = banner.match(QString::fromLocal8Bit(trace.readLine()));
            if (match.hasMatch())
                return match.captured(1).toInt();
        }
        QThread::msleep(10);
    }
    return 0;
}

int flood(const QString& executable, int seconds)
{
    QTemporaryDir directory;
    QUdpSocket program; // the program's end: what the peer answers arrives here
    program.bind(QHostAddress(QHostAddress::LocalHost), 0);
    QProcess peer;
    const int peerPort = startPeer(peer, executable, directory.filePath("trace"), program.localPort());
    if (peerPort == 0) {
        std::fprintf(stderr, "zuv-peer did not start\n");
        return 1;
    }
    QThread::sleep(1);
    const qint64 pid = peer.processId();
    const long before = statusKilobytes(pid, "VmRSS:");

    std::atomic<bool> flooding{true};
    std::atomic<long long> sent{0};
    std::thread sender([&] {
        QUdpSocket socket;
        const QByteArray states[2] = {framedState({{"cockpitTemperature", 20}, {"cockpitIndicator", -1}}),
                                      framedState({{"cockpitTemperature", 21}, {"cockpitIndicator", 0}})};
        for (long long i = 0; flooding; ++i) {
            socket.writeDatagram(states[i % 2], QHostAddress::LocalHost, quint16(peerPort));
            ++sent;
        }
    });
    long peak = before;
    const auto end = Clock::now() + std::chrono::seconds(seconds);
    while (Clock::now() < end) {
        QThread::msleep(100);
        peak = std::max(peak, statusKilobytes(pid, "VmRSS:"));
        while (program.hasPendingDatagrams())
            program.receiveDatagram(0);
    }
    flooding = false;
    sender.join();
    while (program.hasPendingDatagrams())
        program.receiveDatagram(0);

    // The flood is over: a document that turns the low beam on, repeated every 10 ms (one that
    // arrives while the socket's buffer is still full is dropped by the system), and the time from
    // the flood's end to the answer.
    const auto floodEnd = Clock::now();
    QUdpSocket socket;
    const QByteArray lightsOn = framedState({{"cockpitIgnition", 1}, {"cockpitLightSwitch", 3}});
    double answeredAfter = -1;
    int probes = 0;
    while (answeredAfter < 0 && Clock::now() - floodEnd < std::chrono::seconds(10)) {
        socket.writeDatagram(lightsOn, QHostAddress::LocalHost, quint16(peerPort));
        ++probes;
        if (!program.waitForReadyRead(10))
            continue;
        while (program.hasPendingDatagrams() && answeredAfter < 0) {
            const QNetworkDatagram datagram = program.receiveDatagram(int(StateDatagram::size));
            const QByteArray text =
                StateDatagram::textOf(datagram.data().constData(), std::size_t(datagram.data().size()));
            if (QJsonDocument::fromJson(text).object().value("lightLowerBeamHeadlight").toBool())
                answeredAfter = std::chrono::duration<double, std::milli>(Clock::now() - floodEnd).count();
        }
    }
    const long after = statusKilobytes(pid, "VmRSS:");
    peer.terminate();
    peer.waitForFinished();
    std::printf("flood of %d s at full rate: %lld documents sent (%.0f/s)\n", seconds, sent.load(),
                double(sent.load()) / seconds);
    std::printf(
        "zuv-peer resident memory: %.1f MB before, %.1f MB at the peak, %.1f MB after (growth %.1f MB)\n",
        before / 1024.0, peak / 1024.0, after / 1024.0, (peak - before) / 1024.0);
    if (answeredAfter < 0)
        std::printf("no answer within 10 s after the flood\n");
    else
        std::printf("answer after the flood: %.1f ms (%d documents sent until then, 10 ms apart)\n",
                    answeredAfter, probes);
    return 0;
}

int idle(const QString& peerExecutable, const QString& programExecutable, int seconds)
{
    QProcess program;
    program.setStandardOutputFile(QProcess::nullDevice());
    program.start(programExecutable, QStringList());
    QProcess peer;
    peer.setStandardOutputFile(QProcess::nullDevice());
    peer.start(peerExecutable, QStringList());
    if (!program.waitForStarted() || !peer.waitForStarted()) {
        std::fprintf(stderr, "the program or zuv-peer did not start\n");
        return 1;
    }
    QThread::sleep(5); // start-up done, the first documents exchanged
    const double programBefore = cpuSeconds(program.processId());
    const double peerBefore = cpuSeconds(peer.processId());
    QThread::sleep(static_cast<unsigned long>(seconds));
    const double programUsed = cpuSeconds(program.processId()) - programBefore;
    const double peerUsed = cpuSeconds(peer.processId()) - peerBefore;
    peer.terminate();
    program.terminate();
    peer.waitForFinished();
    program.waitForFinished();
    std::printf("idle with zuv-peer running, %d s: program %.2f %% of a core, zuv-peer %.2f %% of a core\n",
                seconds, 100.0 * programUsed / seconds, 100.0 * peerUsed / seconds);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() >= 3 && arguments.at(2) == "flood")
        return flood(arguments.at(1), arguments.size() > 3 ? arguments.at(3).toInt() : 60);
    if (arguments.size() >= 4 && arguments.at(2) == "idle")
        return idle(arguments.at(1), arguments.at(3), arguments.size() > 4 ? arguments.at(4).toInt() : 30);
    std::fprintf(stderr, "usage: peer_bench <zuv-peer> flood [seconds]\n"
                         "       peer_bench <zuv-peer> idle <program> [seconds]\n");
    return 2;
}
