// CPU with nothing changing, and the resident memory after start-up; or the resident memory of a
// minimal Qt Quick window, to compare against.
#include "UiBench.h"

#include <QEventLoop>
#include <QTimer>
#include <QtTest/QTest>

namespace UiBench {
namespace {

long minimalWindowResidentKilobytes()
{
    QQmlApplicationEngine engine;
    engine.loadData(minimalWindowDocument);
    QTest::qWait(2000);
    return residentKilobytes();
}

} // namespace

int idle(int seconds, bool minimalWindow)
{
    if (minimalWindow) {
        std::fprintf(out, "resident memory of a minimal Qt Quick window: %.1f MB\n",
                     double(minimalWindowResidentKilobytes()) / 1024.0);
        return 0;
    }
    silenceTrace();
    Platform platform;
    platform.settle(3000);
    const long rss = residentKilobytes();
    const double before = cpuSeconds();
    // The event loop itself: QTest::qWait would wake every 10 ms and count its own polling.
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    const double used = cpuSeconds() - before;
    std::fprintf(out, "resident memory after start-up: %.1f MB (%.1f MB of it in files such as libraries)\n",
                 double(rss) / 1024.0, double(statusKilobytes("RssFile:")) / 1024.0);
    std::fprintf(out, "CPU while idle: %.2f %% of one core over %d s\n", 100.0 * used / seconds, seconds);
    return 0;
}

} // namespace UiBench
