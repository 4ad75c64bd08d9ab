// A lab day in small: the real program with zuv-peer driving the fast wiper, the hazard lights and
// the boards' heartbeats for a number of minutes:
//   soak <zuv-peer> <program> [minutes] [program options...]
// Prints a line a minute and then the resident memory's slope in MB/h (least squares over the
// samples after the first minute), the threads and file descriptors at the start and at the end,
// and the CPU, of the program and of zuv-peer. Needs an X server and the link's ports (run it
// under tests/support/own-network).
#include "ProgramUnderLoad.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

using ProgramUnderLoad::Sample;
using Clock = std::chrono::steady_clock;

constexpr int sampleSeconds = 5;

struct Point
{
    double seconds;
    Sample figures;
};

// The slope of the resident memory over time, in MB per hour, fitted by least squares.
double residentSlopeMegabytesPerHour(const std::vector<Point>& points)
{
    if (points.size() < 2)
        return 0;
    double meanT = 0, meanM = 0;
    for (const Point& point : points) {
        meanT += point.seconds / 3600.0;
        meanM += double(point.figures.residentKilobytes) / 1024.0;
    }
    meanT /= double(points.size());
    meanM /= double(points.size());
    double covariance = 0, variance = 0;
    for (const Point& point : points) {
        const double t = point.seconds / 3600.0 - meanT;
        covariance += t * (double(point.figures.residentKilobytes) / 1024.0 - meanM);
        variance += t * t;
    }
    return variance > 0 ? covariance / variance : 0;
}

void report(const char* name, const std::vector<Point>& points, double fromSeconds)
{
    std::vector<Point> settled;
    for (const Point& point : points) {
        if (point.seconds >= fromSeconds)
            settled.push_back(point);
    }
    if (settled.size() < 2)
        settled = points; // a run of a minute or less
    const Point& first = points.front();
    const Point& last = points.back();
    const Point& settledFirst = settled.front();
    long peak = 0;
    int mostThreads = 0, mostDescriptors = 0;
    for (const Point& point : points) {
        peak = std::max(peak, point.figures.residentKilobytes);
        mostThreads = std::max(mostThreads, point.figures.threads);
        mostDescriptors = std::max(mostDescriptors, point.figures.descriptors);
    }
    std::printf(
        "%s: resident memory %.1f MB at the start, %.1f MB after the first minute, %.1f MB at the end, "
        "peak %.1f MB; slope %+.2f MB/h (least squares, %zu samples after the first minute)\n",
        name, double(first.figures.residentKilobytes) / 1024.0,
        double(settledFirst.figures.residentKilobytes) / 1024.0,
        double(last.figures.residentKilobytes) / 1024.0, double(peak) / 1024.0,
        residentSlopeMegabytesPerHour(settled), settled.size());
    std::printf(
        "%s: threads %d at the start, %d at the end (most %d); file descriptors %d at the start, %d at "
        "the end (most %d)\n",
        name, first.figures.threads, last.figures.threads, mostThreads, first.figures.descriptors,
        last.figures.descriptors, mostDescriptors);
    std::printf("%s: CPU %.2f %% of a core after the first minute\n", name,
                100.0 * (last.figures.cpuSeconds - settledFirst.figures.cpuSeconds) /
                    (last.seconds - settledFirst.seconds));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: soak <zuv-peer> <program> [minutes] [program options...]\n");
        return 2;
    }
    const int minutes = std::max(1, arguments.size() > 3 ? arguments.at(3).toInt() : 10);
    const QStringList options = arguments.mid(4);
    const ProgramUnderLoad::X11Connection display;
    ProgramUnderLoad::Session session(arguments.at(1), arguments.at(2), options);
    if (session.start() < 0)
        return 1;
    QThread::sleep(3); // start-up done, the first documents exchanged
    if (!session.driveWiperAndIndicators()) {
        std::fprintf(stderr, "the control units do not drive the wiper\n");
        return 1;
    }
    std::printf(
        "soak of %d min: the program (%s) with zuv-peer driving the fast wiper, the hazard lights and "
        "the heartbeats\n",
        minutes, options.isEmpty() ? "no options" : qPrintable(options.join(' ')));
    std::printf("the program said: %s\n", session.errors().constData());
    std::fflush(stdout);

    std::vector<Point> program, peer;
    const auto start = Clock::now();
    int documentsAtMinute = session.documentsReceived();
    const int documentsAtStart = documentsAtMinute;
    for (int tick = 0; tick <= minutes * 60 / sampleSeconds; ++tick) {
        std::this_thread::sleep_until(start + std::chrono::seconds(tick * sampleSeconds));
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        program.push_back({seconds, ProgramUnderLoad::sample(session.programPid())});
        peer.push_back({seconds, ProgramUnderLoad::sample(session.peerPid())});
        if (program.back().figures.residentKilobytes == 0) {
            std::fprintf(stderr, "the program ended after %.0f s: %s\n", seconds,
                         session.errors().constData());
            return 1;
        }
        if (tick > 0 && tick % (60 / sampleSeconds) == 0) {
            const int documents = session.documentsReceived();
            const Sample& now = program.back().figures;
            std::printf("minute %2d: %.1f MB resident, %d threads, %d file descriptors, %.1f documents/s "
                        "received\n",
                        tick * sampleSeconds / 60, double(now.residentKilobytes) / 1024.0, now.threads,
                        now.descriptors, double(documents - documentsAtMinute) / 60.0);
            std::fflush(stdout);
            documentsAtMinute = documents;
        }
    }
    const double seconds = program.back().seconds;
    std::printf("documents received: %d in %.0f s (%.1f/s)\n", session.documentsReceived() - documentsAtStart,
                seconds, double(session.documentsReceived() - documentsAtStart) / seconds);
    report("program", program, 60);
    report("zuv-peer", peer, 60);
    return 0;
}
