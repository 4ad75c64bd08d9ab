// Start/close cycles of the real program: each cycle starts it (under the X server of the run),
// waits until its link is receiving and its window is up, ends it one way (window closed,
// SIGTERM, SIGINT, or SIGTERM during a flood of documents) and records the exit code, the time
// from the request to the exit, and whether the receive port can be bound again at once.
#include "BenchStats.h"
#include "UdpPorts.h"
#include "X11WindowCloser.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QUdpSocket>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

bool waitForText(QProcess& process, const QByteArray& text, int timeoutMs)
{
    QByteArray seen;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs && process.state() != QProcess::NotRunning) {
        process.waitForReadyRead(20);
        seen += process.readAllStandardOutput();
        if (seen.contains(text))
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: shutdown_cycles <program> [cycles]\n");
        return 2;
    }
    const QString program = arguments.at(1);
    const int cycles = arguments.size() > 2 ? arguments.at(2).toInt() : 100;
    const char* ways[] = {"window closed", "SIGTERM", "SIGINT", "SIGTERM mid-flood"};

    int clean = 0, rebound = 0, failedStarts = 0;
    BenchStats all;
    BenchStats byWay[4];
    for (int cycle = 0; cycle < cycles; ++cycle) {
        const int way = cycle % 4;
        QProcess process;
        process.setProgram(program);
        process.setProcessChannelMode(QProcess::SeparateChannels);
        process.start();
        if (!process.waitForStarted() || !waitForText(process, "Waiting for data...\n", 20000)) {
            ++failedStarts;
            process.kill();
            process.waitForFinished();
            continue;
        }
        // The window is up once the window manager protocol can reach it.
        std::atomic<bool> flooding{way == 3};
        std::thread flood;
        if (flooding) {
            flood = std::thread([&] {
                QUdpSocket peer;
                int i = 0;
                while (flooding) {
                    ++i;
                    const QByteArray document = "{\"cockpitTemperature\":" + QByteArray::number(i) +
                                                ",\"lightIndicatorLeft\":" + (i % 2 ? "true" : "false") + "}";
                    peer.writeDatagram(document, QHostAddress::LocalHost, 50000);
                }
            });
            QThread::msleep(300);
        } else {
            QThread::msleep(200);
        }

        QElapsedTimer timer;
        timer.start();
        if (way == 0) {
            while (!closeX11Window("ZUV-VirtualPlatform") && timer.elapsed() < 5000)
                QThread::msleep(10);
            timer.restart();
        } else {
            ::kill(static_cast<pid_t>(process.processId()), way == 2 ? SIGINT : SIGTERM);
        }
        // Drain the console while waiting, so that a flood's trace cannot block the program.
        while (process.state() != QProcess::NotRunning && timer.elapsed() < 10000) {
            process.waitForFinished(5);
            process.readAllStandardOutput();
        }
        const double elapsedMs = double(timer.nsecsElapsed()) / 1e6;
        flooding = false;
        if (flood.joinable())
            flood.join();
        const bool ok = process.state() == QProcess::NotRunning &&
                        process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        if (ok)
            ++clean;
        else
            std::printf("cycle %d (%s): exit status %d, code %d\n", cycle, ways[way],
                        int(process.exitStatus()), process.exitCode());
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
        const int handle = bindWithoutReuse(50000);
        if (handle >= 0) {
            ++rebound;
            ::close(handle);
        }
        all.samples.push_back(elapsedMs * 1000.0);
        byWay[way].samples.push_back(elapsedMs * 1000.0);
    }
    std::printf(
        "%d cycles: %d ended with exit code 0, %d failed to start, port 50000 bound again at once %d times\n",
        cycles, clean, failedStarts, rebound);
    for (int way = 0; way < 4; ++way)
        byWay[way].print(std::string("request to exit, ") + ways[way]);
    all.print("request to exit, all");
    std::printf("longest: %.1f ms\n", all.percentile(100) / 1000.0);
    return clean == cycles ? 0 : 1;
}
