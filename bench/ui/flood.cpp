// A peer sending as fast as it can (or at a given rate), the main thread stalled 2 s in the middle:
// growth of resident memory, and when the last document's value is delivered and drawn.
#include "UiBench.h"

#include <QCoreApplication>
#include <QQuickWindow>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>

#include <algorithm>
#include <atomic>
#include <thread>

namespace UiBench {

int flood(int seconds, int rate)
{
    silenceTrace();
    Platform platform;
    platform.settle(3000);
    const long rssStart = residentKilobytes();
    std::atomic<long> rssPeak{rssStart};
    std::atomic<bool> running{true};
    std::thread sampler([&] {
        while (running) {
            rssPeak = std::max(rssPeak.load(), residentKilobytes());
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    std::atomic<int> lastSent{0};
    std::atomic<long long> floodEnd{0};
    std::atomic<long long> sentCount{0};
    std::thread peer([&] {
        QUdpSocket socket;
        const auto start = Clock::now();
        const auto end = start + std::chrono::seconds(seconds);
        int i = 0;
        while (Clock::now() < end) {
            ++i;
            // At a given rate, keep to it; otherwise as fast as the socket takes them.
            if (rate > 0 && i % 64 == 0)
                std::this_thread::sleep_until(start +
                                              std::chrono::microseconds(std::int64_t(i) * 1000000 / rate));
            sendToProgram(socket, "{\"cockpitTemperature\":" + QByteArray::number(i) +
                                      ",\"lightIndicatorLeft\":" + (i % 2 ? "true" : "false") + "}");
            lastSent = i;
            ++sentCount;
        }
        floodEnd = Clock::now().time_since_epoch().count();
    });
    // The main thread stalls for 2 s in the middle of the flood.
    QTimer::singleShot(seconds * 500, [] { QThread::sleep(2); });
    std::atomic<long long> deliveredAt{0};
    std::atomic<long long> drawnAt{0};
    QObject::connect(&platform.model, &VirtualPlatformDataModel::cockpitTemperatureChanged, platform.window(),
                     [&] {
                         if (floodEnd && platform.model.getCockpitTemperature() == lastSent && !deliveredAt) {
                             deliveredAt = Clock::now().time_since_epoch().count();
                             platform.window()->update();
                         }
                     });
    QObject::connect(
        platform.window(), &QQuickWindow::frameSwapped, platform.window(),
        [&] {
            if (deliveredAt && !drawnAt)
                drawnAt = Clock::now().time_since_epoch().count();
        },
        Qt::DirectConnection);
    const auto end = Clock::now() + std::chrono::seconds(seconds + 3);
    while (Clock::now() < end && !drawnAt) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        // The last value may have been delivered before the peer noted the flood's end.
        if (floodEnd && !deliveredAt && platform.model.getCockpitTemperature() == lastSent) {
            deliveredAt = Clock::now().time_since_epoch().count();
            platform.window()->update();
        }
    }
    peer.join();
    running = false;
    sampler.join();
    std::fprintf(out, "flood of %d s: %lld documents sent (%.0f/s%s), main thread stalled 2 s\n", seconds,
                 sentCount.load(), double(sentCount.load()) / seconds,
                 rate > 0 ? "" : ", as fast as possible");
    std::fprintf(out, "resident memory: %.1f MB before, %.1f MB peak, growth %.1f MB\n", rssStart / 1024.0,
                 rssPeak.load() / 1024.0, (rssPeak.load() - rssStart) / 1024.0);
    if (drawnAt)
        std::fprintf(out, "last document delivered %.1f ms and drawn %.1f ms after the flood ended\n",
                     double(deliveredAt - floodEnd) / 1e6, double(drawnAt - floodEnd) / 1e6);
    else
        std::fprintf(out,
                     "the last document's value was not on screen within 3 s after the flood "
                     "(the model holds document %d of %d)\n",
                     platform.model.getCockpitTemperature(), lastSent.load());
    return 0;
}

} // namespace UiBench
