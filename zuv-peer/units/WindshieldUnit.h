#pragma once

#include "units/ControlUnit.h"
#include "units/WiperDrive.h"

namespace Peer {

// The windshield module's control unit: the wiper by the wiper mode, the washer pump, and the
// windshield heater.
//
// Wiper modes as the cockpit numbers them: 0 off (a wipe under way is finished, then the arm
// parks), 1 single wipe (one wipe per press), 2 interval (a wipe every 4 s), 3 automatic (wipes
// while the infrared sensor reads above 2000), 4 slow, 5 fast. The wash button runs the pump while
// it is held, wipes meanwhile, and adds two wipes after it is let go.
// Heater: 2 on, 1 automatic (on below 5 °C), 0 off.
class WindshieldUnit final : public ControlUnit
{
public:
    enum WiperMode
    {
        Off = 0,
        Single = 1,
        Interval = 2,
        Automatic = 3,
        Slow = 4,
        Fast = 5
    };
    enum Heater
    {
        HeaterOff = 0,
        HeaterAutomatic = 1,
        HeaterOn = 2
    };

    static constexpr Millis intervalMillis = 4000;
    static constexpr int automaticThreshold = 2000;
    static constexpr int wipesAfterWashing = 2;
    static constexpr int heaterBelowCelsius = 5;

    void receive(const VirtualPlatformDataModel& state, Millis now) override;
    void advance(Millis now) override;
    void drive(QJsonObject& out, Millis now) const override;
    Millis nextChange(Millis now) const override;

    const WiperDrive& wiper() const { return wiperDrive; }

private:
    bool wantsWipe(Millis now);
    int stepsPerSecond() const;

    int mode = Off;
    bool washing = false;
    int distanceSensor = 0;
    int heater = HeaterOff;
    int temperature = 0;

    int singleWipesPending = 0;
    int wipesAfterWash = 0;
    Millis nextIntervalWipe = 0;
    WiperDrive wiperDrive;
};

} // namespace Peer
