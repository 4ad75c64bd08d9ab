#include "units/AlarmUnit.h"

#include "VirtualPlatformDataModel.h"
#include "units/Mutants.h"

namespace Peer {

void AlarmUnit::receive(const VirtualPlatformDataModel& state, Millis now)
{
    const bool lockButton = state.getAlarmLockButton();
    const bool alarmButton = state.getAlarmAlarmButton();
    bool goingOff = alarmBlinker.active();

    if (lockButton && !lockButtonWasDown) {
        isArmed = !isArmed || Mutants::active(Mutant::AlarmNotDisarming);
        if (!isArmed)
            goingOff = false;
    }
    // Every document that carries the acknowledgement counts: the cockpit sends 1 for each press,
    // and the answer of 0 clears it before the next.
    if (state.getCockpitAlarmReset() != 0)
        goingOff = false;
    // A press that arrives with a stale acknowledgement still sets the alarm off.
    if (alarmButton && !alarmButtonWasDown && isArmed)
        goingOff = true;

    lockButtonWasDown = lockButton;
    alarmButtonWasDown = alarmButton;
    alarmBlinker.setActive(goingOff, now);
}

void AlarmUnit::drive(QJsonObject& out, Millis now) const
{
    out.insert(QStringLiteral("alarmLockLight"), isArmed);
    out.insert(QStringLiteral("alarmAlarmLight"), alarmBlinker.lit(now));
    // Driven to 0 always: whenever the program reports 1, the difference is sent back.
    if (!Mutants::active(Mutant::AcknowledgementUnanswered))
        out.insert(QStringLiteral("cockpitAlarmReset"), 0);
}

} // namespace Peer
