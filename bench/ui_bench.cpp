// Figures of the program's scene, measured on the real scene set up as the program does it (the
// resource bundles, the model published to the engine, the main document, the link thread on the
// link's fixed ports); the trace goes to /dev/null as with a redirected console.
//
//   ui_bench startup [runs]   first frame of the board, against a minimal Qt Quick window started
//                             the same way (both as fresh processes), medians and their ratio
//   ui_bench press [n]        a mouse press on the lights module's board button injected into the
//                             scene, until a peer socket has received the datagram
//   ui_bench screen [n]       a datagram switching the brake light, until the frame that shows it
//   ui_bench wiper [seconds]  the wiper driven at 36 steps/s: frame intervals and step-to-frame times
//   ui_bench idle [seconds]   CPU used with nothing changing, and the resident memory after start
//   ui_bench flood [seconds]  a peer sending as fast as it can, the main thread stalled for 2 s in
//                             the middle: growth of resident memory, and the time until the last
//                             document's value has been delivered and drawn
#include "BenchStats.h"
#include "LightSwitchDataModel.h"
#include "PlatformScene.h"
#include "VirtualPlatformDataManager.h"
#include "VirtualPlatformDataModel.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>
#include <QtTest/QTest>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// A value of /proc/self/status in kB, such as "VmRSS:" (resident) or "RssFile:" (of it, in files).
long statusKilobytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == field) {
            long value = 0;
            status >> value;
            return value;
        }
        status.ignore(4096, '\n');
    }
    return 0;
}

long residentKilobytes()
{
    return statusKilobytes("VmRSS:");
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Where the figures go: the console, also after the trace has been silenced.
std::FILE* out = stdout;

void silenceTrace()
{
    std::fflush(stdout);
    out = ::fdopen(::dup(STDOUT_FILENO), "w");
    // ZUV_BENCH_TRACE=<file> keeps the program's trace for a look afterwards.
    const QByteArray keep = qgetenv("ZUV_BENCH_TRACE");
    const int null =
        ::open(keep.isEmpty() ? "/dev/null" : keep.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(null, STDOUT_FILENO);
    ::close(null);
}

// The program's objects, in the program's order.
struct Platform
{
    VirtualPlatformDataModel model;
    VirtualPlatformDataManager manager{&model};
    LightSwitchDataModel lightSwitchModel;
    QQmlApplicationEngine engine;

    Platform()
    {
        PlatformScene::load(engine, model, lightSwitchModel);
        manager.start();
    }
    ~Platform() { manager.stop(); }

    QQuickWindow* window() const
    {
        return engine.rootObjects().isEmpty() ? nullptr
                                              : qobject_cast<QQuickWindow*>(engine.rootObjects().first());
    }

    QQuickItem* item(const char* name) const { return window()->findChild<QQuickItem*>(name); }

    // Waits until the board has been laid out and drawn.
    void settle(int ms = 1500) const { QTest::qWait(ms); }
};

// A peer on the link's fixed send port that notes when each datagram reached its socket: the
// kernel's receive timestamp, so that the peer's own wake-up (late on a busy machine) does not count.
class PeerReceiver
{
public:
    PeerReceiver()
    {
        handle = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(50001);
        ::bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof address);
        timeval timeout{0, 20000};
        ::setsockopt(handle, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        const int enable = 1;
        ::setsockopt(handle, SOL_SOCKET, SO_TIMESTAMPNS, &enable, sizeof enable);
        thread = std::thread([this] { run(); });
    }
    ~PeerReceiver()
    {
        stopping = true;
        thread.join();
        ::close(handle);
    }

    // Waits until a datagram received after `since` carries `key` = `value`; returns when it came.
    bool waitFor(const QString& key, bool value, Clock::time_point since, Clock::time_point* when)
    {
        const auto deadline = Clock::now() + std::chrono::seconds(2);
        while (Clock::now() < deadline) {
            {
                std::lock_guard<std::mutex> lock(mutex);
                for (const auto& entry : received) {
                    if (entry.first >= since && entry.second.value(key).toBool() == value) {
                        *when = entry.first;
                        received.clear();
                        return true;
                    }
                }
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        }
        return false;
    }

private:
    void run()
    {
        char buffer[8192];
        char control[256];
        while (!stopping) {
            iovec part{buffer, sizeof buffer};
            msghdr message{};
            message.msg_iov = &part;
            message.msg_iovlen = 1;
            message.msg_control = control;
            message.msg_controllen = sizeof control;
            const ssize_t size = ::recvmsg(handle, &message, 0);
            if (size <= 0)
                continue;
            // The kernel's realtime stamp, carried over to the steady clock.
            auto now = Clock::now();
            for (cmsghdr* header = CMSG_FIRSTHDR(&message); header; header = CMSG_NXTHDR(&message, header)) {
                if (header->cmsg_level == SOL_SOCKET && header->cmsg_type == SCM_TIMESTAMPNS) {
                    timespec stamp{};
                    std::memcpy(&stamp, CMSG_DATA(header), sizeof stamp);
                    const auto realNow = std::chrono::system_clock::now();
                    const auto stamped = std::chrono::system_clock::time_point(
                        std::chrono::duration_cast<std::chrono::system_clock::duration>(
                            std::chrono::seconds(stamp.tv_sec) + std::chrono::nanoseconds(stamp.tv_nsec)));
                    now -= std::chrono::duration_cast<Clock::duration>(realNow - stamped);
                }
            }
            const QJsonObject document =
                QJsonDocument::fromJson(QByteArray(buffer, int(qstrnlen(buffer, int(size))))).object();
            std::lock_guard<std::mutex> lock(mutex);
            received.emplace_back(now, document);
        }
    }

    int handle = -1;
    std::thread thread;
    std::atomic<bool> stopping{false};
    std::mutex mutex;
    std::vector<std::pair<Clock::time_point, QJsonObject>> received;
};

void sendToProgram(QUdpSocket& socket, const QByteArray& document)
{
    socket.writeDatagram(document, QHostAddress::LocalHost, 50000);
}

int startupChild(const QString& what)
{
    QQmlApplicationEngine engine;
    std::unique_ptr<Platform> platform;
    if (what == "board") {
        silenceTrace();
        platform = std::make_unique<Platform>();
    } else {
        engine.loadData(
            "import QtQuick 2.2\nimport QtQuick.Window 2.1\n"
            "Window { visible: true; width: 800; height: 800; color: '#212121'\n"
            "  Rectangle { anchors.centerIn: parent; width: 200; height: 200; color: '#515151' } }");
    }
    QQuickWindow* window =
        platform ? platform->window() : qobject_cast<QQuickWindow*>(engine.rootObjects().value(0));
    if (!window)
        return 1;
    QObject::connect(
        window, &QQuickWindow::frameSwapped, window,
        [] {
            std::fprintf(stderr, "first-frame\n");
            std::fflush(stderr);
            std::_Exit(0);
        },
        Qt::DirectConnection);
    return QGuiApplication::exec();
}

int startup(const QString& self, int runs)
{
    BenchStats board, minimal;
    for (int i = 0; i < 2 * runs; ++i) {
        const bool isBoard = i % 2 == 0;
        QProcess child;
        child.setProcessChannelMode(QProcess::SeparateChannels);
        QElapsedTimer timer;
        timer.start();
        child.start(self, {"startup-child", isBoard ? "board" : "minimal"});
        QByteArray seen;
        while (!seen.contains("first-frame") && child.state() != QProcess::NotRunning &&
               timer.elapsed() < 20000) {
            child.waitForReadyRead(5);
            seen += child.readAllStandardError();
        }
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        child.waitForFinished();
        if (!seen.contains("first-frame")) {
            std::fprintf(stderr, "a start failed: %s\n", seen.constData());
            return 1;
        }
        (isBoard ? board : minimal).samples.push_back(ms * 1000.0);
    }
    board.print("process start to first frame, complete board", out);
    minimal.print("process start to first frame, minimal Qt Quick window", out);
    std::fprintf(out, "ratio board / minimal (medians): %.2f\n",
                 board.percentile(50) / minimal.percentile(50));
    return 0;
}

QPoint centreOnScreen(QQuickItem* item)
{
    return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
}

int press(int rounds)
{
    PeerReceiver peer;
    silenceTrace();
    Platform platform;
    platform.settle();
    QQuickItem* module = platform.item("lightsModule");
    if (!module) {
        std::fprintf(stderr, "no lights module in the scene\n");
        return 1;
    }
    auto* area = module->property("genericModuleButtonClickArea").value<QQuickItem*>();
    const QPoint at = centreOnScreen(area);
    // When the scene's handler writes the model (in the main thread, inside the press).
    Clock::time_point written;
    QObject::connect(
        &platform.model, &VirtualPlatformDataModel::lightGenericButtonChanged, &platform.model,
        [&] { written = Clock::now(); }, Qt::DirectConnection);
    BenchStats total, toModel, toPeer;
    for (int i = 0; i < rounds; ++i) {
        for (const bool down : {true, false}) {
            Clock::time_point arrived;
            const auto start = Clock::now();
            if (down)
                QTest::mousePress(platform.window(), Qt::LeftButton, Qt::NoModifier, at);
            else
                QTest::mouseRelease(platform.window(), Qt::LeftButton, Qt::NoModifier, at);
            if (!peer.waitFor("lightGenericButton", down, start, &arrived)) {
                std::fprintf(stderr, "no datagram for a %s\n", down ? "press" : "release");
                return 1;
            }
            total.samples.push_back(std::chrono::duration<double, std::micro>(arrived - start).count());
            toModel.samples.push_back(std::chrono::duration<double, std::micro>(written - start).count());
            toPeer.samples.push_back(std::chrono::duration<double, std::micro>(arrived - written).count());

            // Presses come far apart, as a user's do: the frame that shows this one is drawn first.
            QTest::qWait(40);
        }
    }
    total.print("mouse press/release in the scene to datagram in the peer's socket", out);
    toModel.print("  of which: event to the model's setter", out);
    toPeer.print("  of which: setter to datagram in the peer's socket", out);

    return 0;
}

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
            socket.writeDatagram(patterns[i % 4], QHostAddress::LocalHost, 50000);
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

long minimalWindowResidentKilobytes()
{
    QQmlApplicationEngine engine;
    engine.loadData("import QtQuick 2.2\nimport QtQuick.Window 2.1\n"
                    "Window { visible: true; width: 800; height: 800; color: '#212121'\n"
                    "  Rectangle { anchors.centerIn: parent; width: 200; height: 200; color: '#515151' } }");
    QTest::qWait(2000);
    return residentKilobytes();
}

int idle(int seconds)
{
    if (QCoreApplication::arguments().contains("minimal")) {
        std::fprintf(out, "resident memory of a minimal Qt Quick window: %.1f MB\n",
                     double(minimalWindowResidentKilobytes()) / 1024.0);
        return 0;
    }
    silenceTrace();
    Platform platform;
    platform.settle(3000);
    const long rss = residentKilobytes();
    const double before = cpuSeconds();
    QTest::qWait(seconds * 1000);
    const double used = cpuSeconds() - before;
    std::fprintf(out, "resident memory after start-up: %.1f MB (%.1f MB of it in files such as libraries)\n",
                 double(rss) / 1024.0, double(statusKilobytes("RssFile:")) / 1024.0);
    std::fprintf(out, "CPU while idle: %.2f %% of one core over %d s\n", 100.0 * used / seconds, seconds);
    return 0;
}

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
            socket.writeDatagram("{\"cockpitTemperature\":" + QByteArray::number(i) +
                                     ",\"lightIndicatorLeft\":" + (i % 2 ? "true" : "false") + "}",
                                 QHostAddress::LocalHost, 50000);
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

} // namespace

int main(int argc, char* argv[])
{
    PlatformScene::registerResources();
    QGuiApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const QString mode = arguments.value(1);
    const int amount = arguments.value(2).toInt();
    if (mode == "startup-child")
        return startupChild(arguments.value(2));
    if (mode == "startup")
        return startup(arguments.value(0), amount > 0 ? amount : 10);
    if (mode == "press")
        return press(amount > 0 ? amount : 200);
    if (mode == "screen")
        return screen(amount > 0 ? amount : 200);
    if (mode == "wiper")
        return wiper(amount > 0 ? amount : 5);
    if (mode == "idle")
        return idle(amount > 0 ? amount : 10);
    if (mode == "flood")
        return flood(amount > 0 ? amount : 60, arguments.value(3).toInt());
    std::fprintf(stderr, "usage: ui_bench startup|press|screen|wiper|idle|flood [amount]\n");
    return 2;
}
