// The wiper driven at 36 steps/s by a peer thread: frame intervals while it steps, and each step
// to the next frame.
#include "BenchStats.h"
#include "UiBench.h"

#include <QCoreApplication>
#include <QQuickWindow>
#include <QUdpSocket>

#include <algorithm>
#include <mutex>
#include <thread>
#include <vector>

namespace UiBench {

int wiper(int seconds)
{
    silenceTrace();
    Platform platform;
    platform.settle();
    QQuickWindow* window = platform.window();
    std::mutex mutex;
    std::vector<Clock::time_point> frames;
    QObject::connect(
        window, &QQuickWindow::frameSwapped, window,
        [&] {
            std::lock_guard<std::mutex> lock(mutex);
            frames.push_back(Clock::now());
        },
        Qt::DirectConnection);

    // Steps clockwise through the phase pairs B C, C D, D A, A B at 36 steps per second.
    std::vector<Clock::time_point> steps;
    std::thread peer([&] {
        QUdpSocket socket;
        const char* patterns[] = {
            R"({"windshieldWiperA":false,"windshieldWiperB":false,"windshieldWiperC":true,"windshieldWiperD":true})",
            R"({"windshieldWiperA":true,"windshieldWiperB":false,"windshieldWiperC":false,"windshieldWiperD":true})",
            R"({"windshieldWiperA":true,"windshieldWiperB":true,"windshieldWiperC":false,"windshieldWiperD":false})",
            R"({"windshieldWiperA":false,"windshieldWiperB":true,"windshieldWiperC":true,"windshieldWiperD":false})"};
        const auto period = std::chrono::microseconds(1000000 / 36);
        auto next = Clock::now();
        for (int i = 0; i < seconds * 36; ++i) {
            std::this_thread::sleep_until(next);
            steps.push_back(Clock::now());
            sendToProgram(socket, patterns[i % 4]);
            next += period;
        }
    });
    const auto end = Clock::now() + std::chrono::seconds(seconds) + std::chrono::milliseconds(300);
    while (Clock::now() < end)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    peer.join();

    std::lock_guard<std::mutex> lock(mutex);
    BenchStats intervals, latency;
    for (std::size_t i = 1; i < frames.size(); ++i) {
        if (frames[i - 1] >= steps.front() && frames[i] <= steps.back())
            intervals.samples.push_back(
                std::chrono::duration<double, std::micro>(frames[i] - frames[i - 1]).count());
    }
    for (const auto step : steps) {
        const auto frame = std::upper_bound(frames.begin(), frames.end(), step);
        if (frame != frames.end())
            latency.samples.push_back(std::chrono::duration<double, std::micro>(*frame - step).count());
    }
    std::fprintf(out, "%zu steps, %zu frames while stepping (%.1f frames/s)\n", steps.size(),
                 intervals.samples.size() + 1, double(intervals.samples.size() + 1) / seconds);
    intervals.print("frame interval while the wiper steps at 36 steps/s", out);
    latency.print("step datagram sent to the next frame", out);
    return 0;
}

} // namespace UiBench
