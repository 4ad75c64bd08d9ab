#include "units/LightsUnit.h"

#include "VirtualPlatformDataModel.h"

namespace Peer {

void LightsUnit::receive(const VirtualPlatformDataModel& state, Millis now)
{
    ignition = state.getCockpitIgnition() != 0;
    lightSwitch = state.getCockpitLightSwitch();
    daylightSensed = state.getWindshieldLightSensor();
    indicator = state.getCockpitIndicator();
    warnLight = state.getCockpitWarnLight() != 0;
    brake = state.getCockpitBrake();
    updateBlinkers(now);
}

void LightsUnit::setAlarmFlashing(bool flashing, Millis now)
{
    alarmFlashing = flashing;
    updateBlinkers(now);
}

bool LightsUnit::hazard() const
{
    const bool warnButton = warnLight && !Mutants::active(Mutant::WarnButtonIgnored);
    return warnButton || brake == ExtremeEmergency || alarmFlashing;
}

void LightsUnit::updateBlinkers(Millis now)
{
    // Both sides share one blinker, so that they flash together when both are on.
    indicatorBlinker.setActive(hazard() || (ignition && indicator != 0), now);
    brakeBlinker.setActive(brake == Emergency || brake == ExtremeEmergency, now);
}

void LightsUnit::drive(QJsonObject& out, Millis now) const
{
    bool daylight = false;
    bool lowBeam = false;
    bool highBeam = false;
    bool backlight = false;
    if (ignition) {
        switch (lightSwitch) {
        case Automatic: {
            const bool day = daylightSensed != Mutants::active(Mutant::AutomaticLightInverted);
            daylight = day;
            lowBeam = backlight = !day;
            break;
        }
        case DaytimeRunning:
            daylight = true;
            break;
        case LowBeam:
            lowBeam = backlight = true;
            break;
        case HighBeam:
            highBeam = true;
            lowBeam = backlight = !Mutants::active(Mutant::HighBeamAlone);
            break;
        default:
            break;
        }
    }
    out.insert(QStringLiteral("lightDaylight"), daylight);
    out.insert(QStringLiteral("lightLowerBeamHeadlight"), lowBeam);
    out.insert(QStringLiteral("lightUpperBeamHeadlight"), highBeam);
    out.insert(QStringLiteral("lightBacklight"), backlight);

    const bool blinkLit = indicatorBlinker.lit(now);
    const bool left = hazard() || (ignition && indicator < 0);
    const bool right = hazard() || (ignition && indicator > 0);
    const bool crossed = Mutants::active(Mutant::IndicatorSidesCrossed);
    out.insert(QStringLiteral("lightIndicatorLeft"), (crossed ? right : left) && blinkLit);
    out.insert(QStringLiteral("lightIndicatorRight"), (crossed ? left : right) && blinkLit);

    const bool steady =
        brake == Normal || (brakeBlinker.active() && Mutants::active(Mutant::BrakeNotFlashing));
    const bool brakeLit = steady || brakeBlinker.lit(now);
    out.insert(QStringLiteral("lightBrakelight"), brakeLit);
}

} // namespace Peer
