#include "units/WiperDrive.h"

#include "units/Mutants.h"

#include <algorithm>

namespace Peer {

int WiperDrive::patternAt(int position)
{
    static constexpr int clockwise[4] = {6, 3, 9, 12};
    return clockwise[((position % 4) + 4) % 4];
}

void WiperDrive::startWipe(Millis now)
{
    if (direction != 0)
        return;
    direction = +1;
    nextStepMicros = std::max(nextStepMicros, now * 1000);
}

void WiperDrive::turnBack()
{
    if (direction > 0)
        direction = -1;
}

bool WiperDrive::advance(Millis now, int stepsPerSecond)
{
    const qint64 nowMicros = now * 1000;
    if (direction == 0 || nowMicros < nextStepMicros)
        return false;
    step += direction;
    // The faulty drive jumps over the fourth step of each sweep out.
    if (Mutants::active(Mutant::WiperSkipsAStep) && direction > 0 && step == 4)
        ++step;
    if (step >= sweepSteps)
        direction = -1;
    else if (step <= 0)
        direction = 0;
    // Keep the rate steady when the caller's ticks jitter, but after a stall start over rather than
    // catch up in a burst.
    const qint64 period = 1000000 / std::max(1, stepsPerSecond);
    nextStepMicros += period;
    if (nextStepMicros <= nowMicros)
        nextStepMicros = nowMicros + period;
    return true;
}

} // namespace Peer
