#pragma once

#include "units/Clock.h"

#include <QJsonObject>

class VirtualPlatformDataModel;

namespace Peer {

// One control unit of the kit. Its inputs are the platform state as last received and the current
// time; its outputs are the values it drives. It knows nothing of sockets or documents.
class ControlUnit
{
public:
    virtual ~ControlUnit() = default;

    // A state document has arrived and has been applied to `state`, the whole state as last
    // received. Presses and releases are the differences to the state the unit saw before.
    virtual void receive(const VirtualPlatformDataModel& state, Millis now) = 0;

    // Time has passed; units that move on their own (the wiper) take their next step here.
    virtual void advance(Millis now) { Q_UNUSED(now) }

    // When the unit next has something to do on its own (a lamp's edge, a wiper step): a time after
    // `now`, `now` itself when something is due at once, or -1 when nothing is due until the next
    // document. Lock-step time advances to it.
    virtual Millis nextChange(Millis now) const
    {
        Q_UNUSED(now)
        return -1;
    }

    // Writes every value the unit drives into `out`, all of them each time.
    virtual void drive(QJsonObject& out, Millis now) const = 0;
};

} // namespace Peer
