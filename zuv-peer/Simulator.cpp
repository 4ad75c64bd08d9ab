#include "Simulator.h"

#include "StateDatagram.h"

namespace Peer {

namespace {

QString dottedAddress(quint32 address)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(address >> 24)
        .arg((address >> 16) & 0xff)
        .arg((address >> 8) & 0xff)
        .arg(address & 0xff);
}

} // namespace

Simulator::Simulator(const Clock& clock, QObject* parent)
    : QObject(parent),
      time(clock), units{&lights, &alarm, &windshield, &alarmBoard, &lightBoard, &windshieldBoard}
{
}

void Simulator::handleDatagram(const IncomingDatagram& datagram)
{
    const Millis now = time.now();
    if (datagram.error) {
        emit datagramRejected(now,
                              QStringLiteral("receive error %1: nothing received").arg(datagram.errorCode));
        return;
    }
    if (datagram.truncated || datagram.length > datagramSize ||
        static_cast<unsigned long long>(datagram.bytes.size()) > datagramSize) {
        emit datagramRejected(now,
                              QStringLiteral("dropped a datagram longer than %1 bytes (%2 bytes)")
                                  .arg(datagramSize)
                                  .arg(qMax<unsigned long long>(datagram.length, datagram.bytes.size())));
        return;
    }
    if ((datagram.senderAddress >> 24) != 127) {
        emit datagramRejected(now, QStringLiteral("dropped a datagram from %1, not a loopback address")
                                       .arg(dottedAddress(datagram.senderAddress)));
        return;
    }

    QJsonObject before;
    received.serializeJson(before);
    const auto applied = StateDatagram::apply(received, datagram.bytes.constData(),
                                              static_cast<std::size_t>(datagram.bytes.size()));
    if (applied.document.isNull()) {
        emit datagramRejected(
            now,
            QStringLiteral("not a JSON object (%1 bytes of text): nothing applied").arg(applied.textLength));
    }
    QJsonObject after;
    received.serializeJson(after);
    // Changes that only confirm what this peer sent are no news.
    const QJsonObject& sent = builder.believed();
    QJsonObject changedTo;
    QJsonObject changedFrom;
    for (auto member = after.constBegin(); member != after.constEnd(); ++member) {
        const QJsonValue old = before.value(member.key());
        const bool echo = isDriving && sent.value(member.key()) == member.value();
        if (old != member.value() && !echo) {
            changedTo.insert(member.key(), member.value());
            changedFrom.insert(member.key(), old);
        }
    }
    const QJsonObject document = applied.document.object();
    emit documentReceived(now, document, changedTo, changedFrom);

    if (!isDriving)
        return;
    builder.noteReported(document);
    runUnits(now, true);
    sendChanges(now);
}

void Simulator::tick()
{
    if (!isDriving)
        return;
    const Millis now = time.now();
    runUnits(now, false);
    sendChanges(now);
}

void Simulator::runUnits(Millis now, bool documentArrived)
{
    if (documentArrived) {
        for (ControlUnit* unit : units)
            unit->receive(received, now);
    } else {
        for (ControlUnit* unit : units)
            unit->advance(now);
    }
    // The alarm module tells the lights module to flash the hazard lights.
    lights.setAlarmFlashing(alarm.alarmGoingOff(), now);
}

void Simulator::sendChanges(Millis now)
{
    QJsonObject driven;
    for (const ControlUnit* unit : units)
        unit->drive(driven, now);
    const QJsonObject believed = builder.believed();
    const QJsonObject document = builder.changes(driven);
    if (document.isEmpty())
        return;
    QJsonObject previous;
    for (auto member = document.constBegin(); member != document.constEnd(); ++member) {
        const auto held = believed.constFind(member.key());
        if (held != believed.constEnd())
            previous.insert(member.key(), held.value());
    }
    emit documentSent(now, document, previous);
}

} // namespace Peer
