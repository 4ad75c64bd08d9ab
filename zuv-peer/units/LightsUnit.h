#pragma once

#include "units/Blinker.h"
#include "units/ControlUnit.h"
#include "units/Mutants.h"

namespace Peer {

// The lights module's control unit: head, back and daytime running lights by the light switch and
// the light sensor, the indicators and hazard lights, and the brake light.
//
// The ignition gates the driving lights and the indicator stalk; the hazard lights (button, extreme
// emergency braking, the alarm) and the brake light work without it.
class LightsUnit final : public ControlUnit
{
public:
    static constexpr int indicatorMillihertz = 1500;
    static constexpr int brakeFlashMillihertz = 4000;

    // Light switch positions as the cockpit numbers them.
    enum LightSwitch
    {
        Off = 0,
        Automatic = 1,
        DaytimeRunning = 2,
        LowBeam = 3,
        HighBeam = 4
    };
    // Brake modes: 1 normal, 2 emergency, 3 extreme emergency.
    enum Brake
    {
        NotBraking = 0,
        Normal = 1,
        Emergency = 2,
        ExtremeEmergency = 3
    };

    void receive(const VirtualPlatformDataModel& state, Millis now) override;
    void drive(QJsonObject& out, Millis now) const override;
    Millis nextChange(Millis now) const override
    {
        return earliest(indicatorBlinker.nextChange(now), brakeBlinker.nextChange(now));
    }

    // The alarm unit asks for the hazard lights while its alarm is going off.
    void setAlarmFlashing(bool flashing, Millis now);

private:
    bool hazard() const;
    void updateBlinkers(Millis now);

    bool ignition = false;
    int lightSwitch = Off;
    bool daylightSensed = false;
    int indicator = 0;
    bool warnLight = false;
    int brake = NotBraking;
    bool alarmFlashing = false;
    Blinker indicatorBlinker{Mutants::active(Mutant::IndicatorFrequency) ? 2 * indicatorMillihertz
                                                                         : indicatorMillihertz};
    Blinker brakeBlinker{brakeFlashMillihertz};
};

} // namespace Peer
