#pragma once

#include "units/Blinker.h"
#include "units/ControlUnit.h"

#include <QString>

namespace Peer {

// The generic microcontroller board that every module carries: LED "up" blinks as a heartbeat, and
// while the board's button is held all four LEDs are lit.
class GenericBoardUnit final : public ControlUnit
{
public:
    static constexpr int heartbeatMillihertz = 1000;

    // `module` is the prefix of the board's values: "alarm", "light" or "windshield".
    explicit GenericBoardUnit(const QString& module);

    void receive(const VirtualPlatformDataModel& state, Millis now) override;
    void drive(QJsonObject& out, Millis now) const override;
    // The heartbeat's next edge.
    Millis nextChange(Millis now) const override { return nextBlinkEdge(0, now, heartbeatMillihertz); }

private:
    QString buttonKey;
    QString leftKey;
    QString upKey;
    QString rightKey;
    QString downKey;
    bool buttonHeld = false;
};

} // namespace Peer
