#pragma once

// What every figure of the program's scene shares: the scene set up as the program does it (the
// resource bundles, the model published to the engine, the main document, the link thread on the
// link's fixed ports), the trace silenced as with a redirected console, and this process's CPU and
// memory.

#include "Scene/LightSwitchDataModel.h"
#include "VirtualPlatformDataManager.h"
#include "VirtualPlatformDataModel.h"

#include <QQmlApplicationEngine>

#include <chrono>
#include <cstdio>

class QQuickItem;
class QQuickWindow;
class QUdpSocket;

namespace UiBench {

using Clock = std::chrono::steady_clock;

// Where the figures go: the console, also after the trace has been silenced.
extern std::FILE* out;

// Sends the program's trace to /dev/null (or to the file named by ZUV_BENCH_TRACE) and keeps the
// console for the figures.
void silenceTrace();

// A value of /proc/self/status in kB, such as "VmRSS:" (resident) or "RssFile:" (of it, in files).
long statusKilobytes(const char* field);
long residentKilobytes();
double cpuSeconds();

// A Qt Quick window with one rectangle: what the board's figures are compared against.
extern const char* const minimalWindowDocument;

// The program's objects, in the program's order.
struct Platform
{
    VirtualPlatformDataModel model;
    VirtualPlatformDataManager manager{&model};
    LightSwitchDataModel lightSwitchModel;
    QQmlApplicationEngine engine;

    Platform();
    ~Platform();

    QQuickWindow* window() const;
    QQuickItem* item(const char* name) const;

    // Lets the event loop run for a fixed time, long enough for the board to be laid out and
    // drawn, so that the figures that follow leave out the start-up work.
    void settle(int ms = 1500) const;
};

// Sends one document to the program's receive port, as the peer does.
void sendToProgram(QUdpSocket& socket, const QByteArray& document);

// The benchmarks, one per mode of the command line.
int startupChild(const QString& what);
int startup(const QString& self, int runs);
int press(int rounds);
int screen(int rounds);
int wiper(int seconds);
int idle(int seconds, bool minimalWindow);
int flood(int seconds, int rate);

} // namespace UiBench
