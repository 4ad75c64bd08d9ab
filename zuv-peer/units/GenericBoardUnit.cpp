#include "units/GenericBoardUnit.h"

#include "VirtualPlatformDataModel.h"
#include "units/Blinker.h"
#include "units/Mutants.h"

namespace Peer {

GenericBoardUnit::GenericBoardUnit(const QString& module)
    : buttonKey(module + QLatin1String("GenericButton")), leftKey(module + QLatin1String("GenericLightLeft")),
      upKey(module + QLatin1String("GenericLightUp")), rightKey(module + QLatin1String("GenericLightRight")),
      downKey(module + QLatin1String("GenericLightDown"))
{
}

void GenericBoardUnit::receive(const VirtualPlatformDataModel& state, Millis)
{
    buttonHeld = state.property(buttonKey.toLatin1().constData()).toBool();
}

void GenericBoardUnit::drive(QJsonObject& out, Millis now) const
{
    // The heartbeat runs from the peer's start, the same on every board.
    const bool heartbeat =
        blinkLit(0, now, heartbeatMillihertz) && !Mutants::active(Mutant::HeartbeatStopped);
    const bool held = buttonHeld && !Mutants::active(Mutant::BoardButtonIgnored);
    out.insert(leftKey, held);
    out.insert(upKey, held || heartbeat);
    out.insert(rightKey, held);
    out.insert(downKey, held);
}

} // namespace Peer
