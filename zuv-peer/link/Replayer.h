#pragma once

#include "link/SessionFile.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace Peer {

// Sends the documents of a recorded session again, one datagram each, keeping their time
// spacing divided by a speed factor. The first document goes at once.
class Replayer : public QObject
{
    Q_OBJECT

public:
    // `entries` in the order to send; `port` on the loopback address; `speed` > 0.
    Replayer(QVector<SessionFile::Entry> entries, int port, double speed, QObject* parent = nullptr);

    void start();

    // When the document at `index` is due, in milliseconds after the start.
    qint64 dueAt(int index) const;

signals:
    void sent(qint64 at, const Peer::SessionFile::Entry& entry);
    void sendFailed(qint64 at, const QString& reason);
    void finished();

private:
    void sendDue();

    QVector<SessionFile::Entry> entries;
    int port;
    double speed;
    int next = 0;
    QElapsedTimer elapsed;
    QTimer timer;
};

} // namespace Peer

Q_DECLARE_METATYPE(Peer::SessionFile::Entry)
