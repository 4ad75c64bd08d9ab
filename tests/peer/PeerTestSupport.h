#pragma once

// Helpers shared by the peer's tests.

#include "StateDatagram.h"
#include "units/ControlUnit.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace PeerTest {

// The values a unit drives at `now`.
inline QJsonObject driven(const Peer::ControlUnit& unit, Peer::Millis now)
{
    QJsonObject out;
    unit.drive(out, now);
    return out;
}

inline bool lit(const Peer::ControlUnit& unit, const char* key, Peer::Millis now)
{
    return driven(unit, now).value(QLatin1String(key)).toBool();
}

// A datagram framed as the program frames it (4096 bytes, compact text, NUL bytes after it), as
// the receive rules judge it.
inline StateDatagram::Received datagramOf(const QJsonObject& document)
{
    char buffer[StateDatagram::size] = {};
    StateDatagram::frame(StateDatagram::compactText(QJsonDocument(document)), buffer);
    return StateDatagram::receive(buffer, StateDatagram::size, StateDatagram::size, 0x7f000001);
}

// What the windshield module of the program does with a new phase pattern: +1 for one step
// clockwise, -1 for one step counter-clockwise, 0 when it ignores the pattern.
inline int viewStep(int previous, int pattern)
{
    static const int clockwise[4] = {6, 3, 9, 12};
    for (int index = 0; index < 4; ++index) {
        if (clockwise[index] != previous)
            continue;
        if (clockwise[(index + 1) % 4] == pattern)
            return +1;
        if (clockwise[(index + 3) % 4] == pattern)
            return -1;
    }
    return 0;
}

inline int patternOf(const QJsonObject& values)
{
    return (values.value(QLatin1String("windshieldWiperA")).toBool() ? 8 : 0) |
           (values.value(QLatin1String("windshieldWiperB")).toBool() ? 4 : 0) |
           (values.value(QLatin1String("windshieldWiperC")).toBool() ? 2 : 0) |
           (values.value(QLatin1String("windshieldWiperD")).toBool() ? 1 : 0);
}

} // namespace PeerTest
