#pragma once

#include "Faults/LinkConditioner.h"
#include "Faults/ValueFaults.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>

// The faults an instructor set in a file, at work in the program: the value faults, the two
// directions of the faulty link, the file watched for changes (applied within a second, the
// previous faults kept when an edit is invalid), and a line on standard error for every change:
// one per fault at work, or with `quiet` only that faults are at work.
class FaultSession : public QObject
{
    Q_OBJECT

public:
    FaultSession(QString file, bool quiet, QObject* parent = nullptr);

    // Loads the file; its times count from now. Returns what is wrong with it, or nothing.
    QStringList start();

    ValueFaults& values() { return valueFaults; }
    LinkConditioner& toPeer() { return peerLink; }
    LinkConditioner& toProgram() { return programLink; }
    // Whether received datagrams go through the faulty link (read by the link thread).
    bool conditionsIncoming() const { return incoming.load(); }
    // Whether any fault is at work now (the mark in the window's title).
    bool anyActive() const;
    // µs on the clock the faults count on.
    static qint64 now();

signals:
    // Faults started or ended: outputs are to be shown anew, inputs sent anew.
    void changed();

private:
    void apply(const FaultSet& faults);
    void reread();
    void scheduleNext();
    void announce(const QString& headline);

    QString file;
    bool quiet;
    ValueFaults valueFaults;
    LinkConditioner peerLink;
    LinkConditioner programLink;
    std::atomic<bool> incoming{false};
    QFileSystemWatcher watcher;
    QTimer settle; // an edit is read once the file has been quiet for a moment
    QTimer transitions;
    QByteArray contents;
    qint64 loadedAt = 0;
};
