#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

// Turns an interrupt or termination request from outside (Ctrl+C in the console, SIGINT, SIGTERM)
// into a normal end of the application's event loop, so that tear-down runs in order.
class ShutdownSignals : public QObject
{
    Q_OBJECT

public:
    explicit ShutdownSignals(QObject* parent = nullptr);
    ~ShutdownSignals() override;

signals:
    void shutdownRequested();

private:
    void handleNotification();
#ifndef _WIN32
    std::unique_ptr<QSocketNotifier> notifier;
#endif
};
