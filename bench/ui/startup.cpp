// Process start to the first frame: the complete board against a minimal Qt Quick window, each
// started as a fresh child process that reports its first frame and ends.
#include "BenchStats.h"
#include "UiBench.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QQuickWindow>

#include <memory>

namespace UiBench {

int startupChild(const QString& what)
{
    QQmlApplicationEngine engine;
    std::unique_ptr<Platform> platform;
    if (what == "board") {
        silenceTrace();
        platform = std::make_unique<Platform>();
    } else {
        engine.loadData(minimalWindowDocument);
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

} // namespace UiBench
