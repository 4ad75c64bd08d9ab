#include "ShutdownSignals.h"

#include <QCoreApplication>

#ifdef _WIN32
#include <windows.h>
#else
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

ShutdownSignals* instance = nullptr;

#ifdef _WIN32
BOOL WINAPI consoleHandler(DWORD type)
{
    if (type == CTRL_C_EVENT || type == CTRL_BREAK_EVENT || type == CTRL_CLOSE_EVENT) {
        if (instance)
            QMetaObject::invokeMethod(instance, "shutdownRequested", Qt::QueuedConnection);
        return TRUE;
    }
    return FALSE;
}
#else
int wakePipe[2] = {-1, -1};

void signalHandler(int)
{
    const char byte = 1;
    // Only async-signal-safe calls here: the notifier picks the byte up in the event loop.
    [[maybe_unused]] const auto written = ::write(wakePipe[0], &byte, 1);
}
#endif

} // namespace

ShutdownSignals::ShutdownSignals(QObject* parent) : QObject(parent)
{
    instance = this;
    if (QCoreApplication::instance()) {
        connect(this, &ShutdownSignals::shutdownRequested, QCoreApplication::instance(),
                &QCoreApplication::quit, Qt::QueuedConnection);
    }
#ifdef _WIN32
    SetConsoleCtrlHandler(consoleHandler, TRUE);
#else
    // Close-on-exec: no process this one starts inherits it.
    if (wakePipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, wakePipe) != 0)
        return;
    notifier = std::make_unique<QSocketNotifier>(wakePipe[1], QSocketNotifier::Read);
    connect(notifier.get(), &QSocketNotifier::activated, this, &ShutdownSignals::handleNotification);
    struct sigaction action = {};
    action.sa_handler = signalHandler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
#endif
}

ShutdownSignals::~ShutdownSignals()
{
#ifdef _WIN32
    SetConsoleCtrlHandler(consoleHandler, FALSE);
#else
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
#endif
    instance = nullptr;
}

void ShutdownSignals::handleNotification()
{
#ifndef _WIN32
    char byte = 0;
    [[maybe_unused]] const auto received = ::read(wakePipe[1], &byte, 1);
#endif
    emit shutdownRequested();
}
