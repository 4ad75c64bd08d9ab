#include "UiBench.h"

#include "Scene/PlatformScene.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QUdpSocket>
#include <QtTest/QTest>

#include <fcntl.h>
#include <fstream>
#include <sys/resource.h>
#include <unistd.h>

namespace UiBench {

std::FILE* out = stdout;

void silenceTrace()
{
    std::fflush(stdout);
    out = ::fdopen(::dup(STDOUT_FILENO), "w");
    const QByteArray keep = qgetenv("ZUV_BENCH_TRACE");
    const int null =
        ::open(keep.isEmpty() ? "/dev/null" : keep.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(null, STDOUT_FILENO);
    ::close(null);
}

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

const char* const minimalWindowDocument =
    "import QtQuick 2.2\nimport QtQuick.Window 2.1\n"
    "Window { visible: true; width: 800; height: 800; color: '#212121'\n"
    "  Rectangle { anchors.centerIn: parent; width: 200; height: 200; color: '#515151' } }";

Platform::Platform()
{
    PlatformScene::load(engine, model, lightSwitchModel);
    manager.start();
}

Platform::~Platform()
{
    manager.stop();
}

QQuickWindow* Platform::window() const
{
    return engine.rootObjects().isEmpty() ? nullptr
                                          : qobject_cast<QQuickWindow*>(engine.rootObjects().first());
}

QQuickItem* Platform::item(const char* name) const
{
    return window()->findChild<QQuickItem*>(name);
}

void Platform::settle(int ms) const
{
    QTest::qWait(ms);
}

void sendToProgram(QUdpSocket& socket, const QByteArray& document)
{
    socket.writeDatagram(document, QHostAddress::LocalHost, 50000);
}

} // namespace UiBench
