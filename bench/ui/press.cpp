// A mouse press (and release) injected into the scene on the lights module's board button, until
// the datagram is in a peer's socket, split at the model's setter.
#include "BenchStats.h"
#include "UiBench.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QQuickItem>
#include <QQuickWindow>
#include <QtTest/QTest>

#include <atomic>
#include <cstring>
#include <mutex>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace UiBench {
namespace {

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
    PeerReceiver(const PeerReceiver&) = delete;
    PeerReceiver& operator=(const PeerReceiver&) = delete;

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

QPoint centreOnScreen(QQuickItem* item)
{
    return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
}

} // namespace

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

} // namespace UiBench
