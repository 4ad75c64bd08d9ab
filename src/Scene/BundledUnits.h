#pragma once

#include <QObject>
#include <QProcess>

// The bundled control units (zuv-peer, installed next to the program) running beside the program
// for --with-units, so that a platform started from the menu shows its lamps at work. They end
// with the program. When their port is taken (a student's own units run), the program says so on
// standard error and runs without them.
class BundledUnits : public QObject
{
    Q_OBJECT

public:
    explicit BundledUnits(QObject* parent = nullptr);
    ~BundledUnits() override;

    // Starts them; what went wrong goes to standard error.
    void start();

private:
    QProcess process;
};
