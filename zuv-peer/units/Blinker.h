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

// When a lamp that blinks at `millihertz` since `since` next turns on or off after `now`.
constexpr Millis nextBlinkEdge(Millis since, Millis now, int millihertz)
{
    if (now < since)
        return since;
    const qint64 halves = (now - since) * millihertz / 500000; // half periods begun
    return since + ((halves + 1) * 500000 + millihertz - 1) / millihertz;
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
    // When it next turns on or off, or -1 when it does not blink.
    Millis nextChange(Millis now) const { return running ? nextBlinkEdge(since, now, millihertz) : -1; }

private:
    int millihertz;
    bool running = false;
    Millis since = 0;
};

} // namespace Peer
