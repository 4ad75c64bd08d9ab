#include "units/WindshieldUnit.h"

#include "VirtualPlatformDataModel.h"
#include "units/Mutants.h"

#include <algorithm>

namespace Peer {

namespace {
// Presses of the single-wipe button beyond this many are not queued.
constexpr int maximumPendingWipes = 3;
} // namespace

void WindshieldUnit::receive(const VirtualPlatformDataModel& state, Millis now)
{
    const int newMode = state.getCockpitWindshieldWasherMode();
    const bool newWashing = state.getCockpitWindshieldWasherPump() != 0;

    if (newMode == Single && mode != Single && singleWipesPending < maximumPendingWipes)
        ++singleWipesPending;
    if (newMode == Interval && mode != Interval)
        nextIntervalWipe = now; // the first wipe at once, then one every interval
    if (washing && !newWashing && !Mutants::active(Mutant::NoWipesAfterWashing))
        wipesAfterWash = wipesAfterWashing;

    mode = newMode;
    washing = newWashing;
    distanceSensor = state.getWindshieldDistanceSensor();
    heater = state.getCockpitWindshieldHeater();
    temperature = state.getCockpitTemperature();
}

bool WindshieldUnit::wantsWipe(Millis now)
{
    if (washing)
        return true;
    if (wipesAfterWash > 0) {
        --wipesAfterWash;
        return true;
    }
    if (singleWipesPending > 0) {
        --singleWipesPending;
        return true;
    }
    switch (mode) {
    case Slow:
    case Fast:
        return true;
    case Automatic:
        return distanceSensor > automaticThreshold;
    case Interval: {
        if (now < nextIntervalWipe)
            return false;
        const Millis interval =
            Mutants::active(Mutant::IntervalTooShort) ? intervalMillis / 2 : intervalMillis;
        nextIntervalWipe += interval;
        if (nextIntervalWipe <= now)
            nextIntervalWipe = now + interval;
        return true;
    }
    default:
        return false;
    }
}

Millis WindshieldUnit::nextChange(Millis now) const
{
    if (wiperDrive.wiping())
        return std::max(now, wiperDrive.nextStepAt());
    const bool wipeNow = washing || wipesAfterWash > 0 || singleWipesPending > 0 || mode == Slow ||
                         mode == Fast || (mode == Automatic && distanceSensor > automaticThreshold);
    if (wipeNow)
        return now;
    return mode == Interval ? std::max(now, nextIntervalWipe) : -1;
}

int WindshieldUnit::stepsPerSecond() const
{
    const bool fast = mode == Fast && !Mutants::active(Mutant::FastWiperSlow);
    return fast ? WiperDrive::fastStepsPerSecond : WiperDrive::slowStepsPerSecond;
}

void WindshieldUnit::advance(Millis now)
{
    if (mode == Off && Mutants::active(Mutant::WiperParksAtOnce) && !washing && wipesAfterWash == 0 &&
        singleWipesPending == 0)
        wiperDrive.turnBack();
    if (!wiperDrive.wiping() && wantsWipe(now))
        wiperDrive.startWipe(now);
    wiperDrive.advance(now, stepsPerSecond());
}

void WindshieldUnit::drive(QJsonObject& out, Millis) const
{
    const int pattern = wiperDrive.pattern();
    out.insert(QStringLiteral("windshieldWiperA"), (pattern & 8) != 0);
    out.insert(QStringLiteral("windshieldWiperB"), (pattern & 4) != 0);
    out.insert(QStringLiteral("windshieldWiperC"), (pattern & 2) != 0);
    out.insert(QStringLiteral("windshieldWiperD"), (pattern & 1) != 0);
    out.insert(QStringLiteral("windshieldWasherPump"), washing);
    const bool cold = temperature < heaterBelowCelsius || Mutants::active(Mutant::HeaterIgnoresTemperature);
    const bool heaterOn = heater == HeaterOn || (heater == HeaterAutomatic && cold);
    out.insert(QStringLiteral("windshieldHeater"), heaterOn);
}

} // namespace Peer
