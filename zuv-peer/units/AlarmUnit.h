#pragma once

#include "units/Blinker.h"
#include "units/ControlUnit.h"

namespace Peer {

// The alarm module's control unit.
//
// A press of the lock button arms or disarms the alarm; the lock lamp is lit while it is armed.
// While armed, a press of the alarm button sets the alarm off: the alarm lamp blinks and the hazard
// lights flash until the cockpit acknowledges the alarm or the alarm is disarmed. The cockpit's
// acknowledgement (cockpitAlarmReset 1) is answered with cockpitAlarmReset 0, which readies the
// button for the next time.
class AlarmUnit final : public ControlUnit
{
public:
    static constexpr int alarmLampMillihertz = 2000;

    void receive(const VirtualPlatformDataModel& state, Millis now) override;
    void drive(QJsonObject& out, Millis now) const override;
    Millis nextChange(Millis now) const override { return alarmBlinker.nextChange(now); }

    bool armed() const { return isArmed; }
    bool alarmGoingOff() const { return alarmBlinker.active(); }

private:
    bool isArmed = false;
    bool lockButtonWasDown = false;
    bool alarmButtonWasDown = false;
    Blinker alarmBlinker{alarmLampMillihertz};
};

} // namespace Peer
