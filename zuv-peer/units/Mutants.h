#pragma once

#include <QString>

namespace Peer {

// Deliberate faults of the control units, one at a time (zuv-peer --mutant NAME): the checker's
// reference scenarios must catch every one of them, and instructors hand them out as find-the-bug
// exercises.
enum class Mutant
{
    None,
    IndicatorFrequency,        // the indicators blink at 3 Hz
    IndicatorSidesCrossed,     // left and right indicators swapped
    BrakeNotFlashing,          // the brake light stays lit in an emergency
    WarnButtonIgnored,         // the warning-lights button starts no hazard lights
    HighBeamAlone,             // high beam without low beam and back light
    AutomaticLightInverted,    // automatic light on by day, off by night
    AlarmNotDisarming,         // the lock button arms, but never disarms
    AcknowledgementUnanswered, // cockpitAlarmReset is never answered with 0
    WiperSkipsAStep,           // the wiper jumps over one step of each wipe
    WiperParksAtOnce,          // switched off, the wiper turns back at once instead of finishing
    FastWiperSlow,             // the fast wiper runs at the slow rate
    HeaterIgnoresTemperature,  // the automatic heater heats whatever the temperature
    NoWipesAfterWashing,       // no extra wipes after the wash button
    IntervalTooShort,          // interval wipes every 2 s
    HeartbeatStopped,          // the boards' heartbeat LED stays dark
    BoardButtonIgnored         // the boards' LEDs ignore their button
};

namespace Mutants {

struct Described
{
    Mutant mutant;
    const char* name;
    const char* description;
};

// Every mutant but None, with its name (as --mutant takes it) and what it does wrong.
const Described* begin();
const Described* end();

// Selects the control units' fault for the whole process, by name; false for an unknown name.
bool select(const QString& name);
// Whether `mutant` is the selected one.
bool active(Mutant mutant);

} // namespace Mutants

} // namespace Peer
