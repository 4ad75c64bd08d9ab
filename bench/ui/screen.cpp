// A datagram switching the brake light, until the frameSwapped of the frame that shows it.
#include "BenchStats.h"
#include "UiBench.h"

#include <QElapsedTimer>
#include <QQuickWindow>
#include <QUdpSocket>
#include <QtTest/QTest>

#include <atomic>
#include <mutex>

namespace UiBench {

int screen(int rounds)
{
    silenceTrace();
    Platform platform;
    platform.settle();
    QQuickWindow* window = platform.window();
    std::atomic<bool> waiting{false};
    std::atomic<long long> sentAt{0};
    BenchStats stats;
    std::mutex mutex;
    // frameSwapped comes from the render thread where there is one: time it there.
    QObject::connect(
        window, &QQuickWindow::frameSwapped, window,
        [&] {
            if (waiting.exchange(false)) {
                const auto now = Clock::now().time_since_epoch().count();
                std::lock_guard<std::mutex> lock(mutex);
                stats.samples.push_back(double(now - sentAt.load()) / 1000.0);
            }
        },
        Qt::DirectConnection);
    QObject::connect(&platform.model, &VirtualPlatformDataModel::lightBrakelightChanged, window, [&] {
        waiting = true;
        window->update();
    });
    QUdpSocket peer;
    for (int i = 0; i < rounds; ++i) {
        sentAt = Clock::now().time_since_epoch().count();
        sendToProgram(peer, i % 2 == 0 ? R"({"lightBrakelight":true})" : R"({"lightBrakelight":false})");
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 200) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            std::lock_guard<std::mutex> lock(mutex);
            if (int(stats.samples.size()) == i + 1)
                break;
        }
        QTest::qWait(20);
    }
    stats.print("datagram switching a lamp to the frame that shows it", out);
    return 0;
}

} // namespace UiBench
