#include "link/Replayer.h"

#include "link/PeerLink.h"

#include <cmath>

namespace Peer {

Replayer::Replayer(QVector<SessionFile::Entry> entries, int port, double speed, QObject* parent)
    : QObject(parent), entries(std::move(entries)), port(port), speed(speed)
{
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, &Replayer::sendDue);
}

qint64 Replayer::dueAt(int index) const
{
    if (entries.isEmpty())
        return 0;
    const qint64 offset = entries.at(index).atMicros - entries.first().atMicros;
    return std::llround(static_cast<double>(qMax<qint64>(0, offset)) / 1000.0 / speed);
}

void Replayer::start()
{
    elapsed.start();
    next = 0;
    // From the event loop, so that the caller's connections see every signal.
    timer.start(0);
}

void Replayer::sendDue()
{
    if (next < entries.size()) {
        const QString error = sendOnce(entries.at(next).document, port);
        if (error.isEmpty())
            emit sent(elapsed.elapsed(), entries.at(next));
        else
            emit sendFailed(elapsed.elapsed(), error);
        ++next;
    }
    if (next >= entries.size()) {
        emit finished();
        return;
    }
    timer.start(static_cast<int>(qBound<qint64>(0, dueAt(next) - elapsed.elapsed(), 24 * 3600 * 1000)));
}

} // namespace Peer
