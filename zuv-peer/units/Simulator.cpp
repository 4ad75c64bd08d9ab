#include "units/Simulator.h"

#include "StateDatagram.h"

namespace Peer {

Simulator::Simulator(const Clock& clock, QObject* parent)
    : QObject(parent),
      time(clock), units{&lights, &alarm, &windshield, &alarmBoard, &lightBoard, &windshieldBoard}
{
}

void Simulator::handleReceiveError(int error)
{
    emit datagramRejected(time.now(), QStringLiteral("receive error %1: nothing received").arg(error));
}

void Simulator::handleDatagram(const StateDatagram::Received& datagram)
{
    const Millis now = time.now();
    if (datagram.verdict != StateDatagram::Received::Verdict::Document) {
        emit datagramRejected(now, QString::fromStdString(datagram.reason()));
        return;
    }

    int before[StateValues::count];
    for (int index = 0; index < StateValues::count; ++index)
        before[index] = received.value(index);
    received.apply(datagram.assignments);
    // Changes that only confirm what this peer sent are no news.
    const QJsonObject& sent = builder.believed();
    QJsonObject changedTo;
    QJsonObject changedFrom;
    for (int index = 0; index < StateValues::count; ++index) {
        const int value = received.value(index);
        if (value == before[index])
            continue;
        const QString key = QLatin1String(StateValues::table[index].name);
        const QJsonValue changed = StateValues::toJson(index, value);
        if (isDriving && sent.value(key) == changed)
            continue;
        changedTo.insert(key, changed);
        changedFrom.insert(key, StateValues::toJson(index, before[index]));
    }
    const QJsonObject document = datagram.document.object();
    emit documentReceived(now, document, changedTo, changedFrom);

    if (!isDriving)
        return;
    builder.noteReported(document, now);
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

Millis Simulator::nextDue() const
{
    const Millis now = time.now();
    Millis due = -1;
    for (const ControlUnit* unit : units)
        due = earliest(due, unit->nextChange(now));
    return due;
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
    const QJsonObject document = builder.changes(driven, now);
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
