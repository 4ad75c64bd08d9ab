#pragma once

#include "Clock.h"

namespace Peer {

// Whether a lamp that blinks at `millihertz` with 50 % duty and was switched on at `since` is lit at
// `now`. A blinking lamp is lit for the first half of each period.
constexpr bool blinkLit(Millis since, Millis now, int millihertz)
{
    const Millis elapsed = now - since;
    if (elapsed < 0)
        return true;
    return (elapsed * millihertz) % 1000000 < 500000;
}

// A lamp that blinks while it is active and starts lit whenever it becomes active.
class Blinker
{
public:
    explicit constexpr Blinker(int millihertz) : millihertz(millihertz) {}

    void setActive(bool active, Millis now)
    {
        if (active && !running)
            since = now;
        running = active;
    }
    bool active() const { return running; }
    bool lit(Millis now) const { return running && blinkLit(since, now, millihertz); }

private:
    int millihertz;
    bool running = false;
    Millis since = 0;
};

} // namespace Peer
