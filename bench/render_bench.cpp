// The real program's cost for each renderer (--renderer opengl, software and auto), with zuv-peer
// playing the control units:
//   render_bench <zuv-peer> <program> [seconds]
// For each renderer: start to the window shown (median of five starts), CPU with nothing but the
// boards' heartbeats (idle), CPU while the fast wiper (36 steps/s) and the hazard lights run, and
// the resident memory and threads then; the ratios against OpenGL in the same run. Needs an X
// server and the link's ports (run it under tests/support/own-network).
#include "BenchStats.h"
#include "ProgramUnderLoad.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>
#include <vector>

namespace {

using ProgramUnderLoad::Sample;
using ProgramUnderLoad::Session;

struct Figures
{
    QString renderer;
    QByteArray chosen; // what the program said it chose
    double startMs = 0;
    double idlePercent = 0;
    double loadPercent = 0;
    double documentsPerSecond = 0;
    double residentMegabytes = 0;
    int threads = 0;
};

double percentOfACore(const Sample& before, const Sample& after, double seconds)
{
    return 100.0 * (after.cpuSeconds - before.cpuSeconds) / seconds;
}

bool measure(const QString& peer, const QString& program, int seconds, Figures& figures)
{
    const QStringList options{"--renderer", figures.renderer};
    BenchStats starts;
    for (int run = 0; run < 5; ++run) {
        Session session(peer, program, options);
        const qint64 shown = session.start();
        if (shown < 0)
            return false;
        starts.samples.push_back(double(shown));
    }
    figures.startMs = starts.percentile(50);

    Session session(peer, program, options);
    if (session.start() < 0)
        return false;
    QThread::sleep(5); // start-up done, the first documents exchanged
    const Sample idleStart = ProgramUnderLoad::sample(session.programPid());
    QThread::sleep(static_cast<unsigned long>(seconds));
    const Sample idleEnd = ProgramUnderLoad::sample(session.programPid());
    figures.idlePercent = percentOfACore(idleStart, idleEnd, seconds);

    if (!session.driveWiperAndIndicators()) {
        std::fprintf(stderr, "%s: the control units do not drive the wiper\n", qPrintable(figures.renderer));
        return false;
    }
    QThread::sleep(1);
    const int documentsBefore = session.documentsReceived();
    const Sample loadStart = ProgramUnderLoad::sample(session.programPid());
    QThread::sleep(static_cast<unsigned long>(seconds));
    const Sample loadEnd = ProgramUnderLoad::sample(session.programPid());
    figures.loadPercent = percentOfACore(loadStart, loadEnd, seconds);
    figures.documentsPerSecond = double(session.documentsReceived() - documentsBefore) / seconds;
    figures.residentMegabytes = double(loadEnd.residentKilobytes) / 1024.0;
    figures.threads = loadEnd.threads;
    figures.chosen = session.errors();
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const ProgramUnderLoad::X11Connection display;
    const QStringList arguments = application.arguments();
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: render_bench <zuv-peer> <program> [seconds]\n");
        return 2;
    }
    const int seconds = arguments.size() > 3 ? arguments.at(3).toInt() : 30;
    std::vector<Figures> all;
    for (const char* renderer : {"opengl", "software", "auto"}) {
        Figures figures;
        figures.renderer = QString::fromLatin1(renderer);
        if (!measure(arguments.at(1), arguments.at(2), seconds, figures)) {
            std::fprintf(stderr, "--renderer %s: the program or zuv-peer did not come up\n", renderer);
            return 1;
        }
        std::printf(
            "--renderer %-8s start to window %4.0f ms; CPU idle %5.2f %%, fast wiper and hazard lights "
            "%6.1f %% of a core (%.1f documents/s received); %.1f MB resident, %d threads\n",
            renderer, figures.startMs, figures.idlePercent, figures.loadPercent, figures.documentsPerSecond,
            figures.residentMegabytes, figures.threads);
        std::printf("    the program said: %s\n",
                    figures.chosen.isEmpty() ? "(nothing)" : figures.chosen.constData());
        std::fflush(stdout);
        all.push_back(figures);
    }
    const Figures& opengl = all.front();
    for (std::size_t i = 1; i < all.size(); ++i) {
        const Figures& other = all[i];
        std::printf("%s / opengl: CPU under the wiper %.3f, idle %.3f, resident memory %.2f, start %.2f\n",
                    qPrintable(other.renderer), other.loadPercent / opengl.loadPercent,
                    other.idlePercent / opengl.idlePercent,
                    other.residentMegabytes / opengl.residentMegabytes, other.startMs / opengl.startMs);
    }
    std::printf("%d s per figure\n", seconds);
    return 0;
}
