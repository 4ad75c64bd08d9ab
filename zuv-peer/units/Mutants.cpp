#include "units/Mutants.h"

namespace Peer::Mutants {

namespace {

constexpr Described all[] = {
    {Mutant::IndicatorFrequency, "indicator-frequency", "the indicators blink at 3 Hz instead of 1.5 Hz"},
    {Mutant::IndicatorSidesCrossed, "indicator-sides-crossed", "the left and right indicators are swapped"},
    {Mutant::BrakeNotFlashing, "brake-not-flashing",
     "the brake light stays lit in an emergency instead of flashing"},
    {Mutant::WarnButtonIgnored, "warn-button-ignored", "the warning-lights button starts no hazard lights"},
    {Mutant::HighBeamAlone, "high-beam-alone",
     "switch position 4 lights the high beam without low beam and back light"},
    {Mutant::AutomaticLightInverted, "automatic-light-inverted",
     "the automatic light is on by day and off by night"},
    {Mutant::AlarmNotDisarming, "alarm-not-disarming", "the lock button arms the alarm but never disarms it"},
    {Mutant::AcknowledgementUnanswered, "acknowledgement-unanswered",
     "cockpitAlarmReset 1 is never answered with 0"},
    {Mutant::WiperSkipsAStep, "wiper-skips-a-step", "the wiper jumps over one step of every wipe"},
    {Mutant::WiperParksAtOnce, "wiper-parks-at-once",
     "switched off, the wiper turns back to park at once instead of finishing the wipe under way"},
    {Mutant::FastWiperSlow, "fast-wiper-slow", "the fast wiper runs at the slow rate"},
    {Mutant::HeaterIgnoresTemperature, "heater-ignores-temperature",
     "the automatic heater heats whatever the temperature"},
    {Mutant::NoWipesAfterWashing, "no-wipes-after-washing", "no extra wipes after the wash button is let go"},
    {Mutant::IntervalTooShort, "interval-too-short",
     "the interval wiper wipes every 2 s instead of every 4 s"},
    {Mutant::HeartbeatStopped, "heartbeat-stopped", "the boards' heartbeat LED stays dark"},
    {Mutant::BoardButtonIgnored, "board-button-ignored", "the boards' LEDs ignore their button"},
};

Mutant selected = Mutant::None;

} // namespace

const Described* begin()
{
    return std::begin(all);
}

const Described* end()
{
    return std::end(all);
}

bool select(const QString& name)
{
    for (const Described& described : all) {
        if (name == QLatin1String(described.name)) {
            selected = described.mutant;
            return true;
        }
    }
    return false;
}

bool active(Mutant mutant)
{
    return selected == mutant;
}

} // namespace Peer::Mutants
