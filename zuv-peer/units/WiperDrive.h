#pragma once

#include "units/Clock.h"

namespace Peer {

// The wiper's stepper drive. The arm parks at step 0; a wipe sweeps it 16 steps clockwise (90°)
// and the same 16 steps back. The drive takes at most one step per call of advance(), so that every
// phase change reaches the program in a document of its own.
//
// The four phases A to D are energised in pairs; one step clockwise moves the pair B C → C D →
// D A → A B → B C. As a bit pattern (A = 8, B = 4, C = 2, D = 1) that is 6 → 3 → 9 → 12 → 6, and
// the parked arm holds pattern 6.
class WiperDrive
{
public:
    static constexpr int sweepSteps = 16;
    static constexpr int slowStepsPerSecond = 24;
    static constexpr int fastStepsPerSecond = 36;

    // The phase pattern that holds the arm at `step`.
    static int patternAt(int step);

    int position() const { return step; }
    int pattern() const { return patternAt(step); }
    // True from the start of a wipe until the arm is back at step 0.
    bool wiping() const { return direction != 0; }
    // When the next step of a wipe is due, to the millisecond.
    Millis nextStepAt() const { return (nextStepMicros + 999) / 1000; }

    // Begins a wipe when the arm is at rest; its first step is due at once, or one step period
    // after the last step of the wipe before.
    void startWipe(Millis now);

    // Turns a sweep out back towards the park position from where the arm stands (what a drive
    // that does not finish its wipe does).
    void turnBack();
    // Takes the next step if it is due at `now`, moving at `stepsPerSecond`. Returns true when the
    // arm moved.
    bool advance(Millis now, int stepsPerSecond);

private:
    int step = 0;
    int direction = 0; // +1 sweeping out (clockwise), -1 sweeping back, 0 at rest
    qint64 nextStepMicros = 0;
};

} // namespace Peer
