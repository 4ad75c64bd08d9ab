#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

namespace Peer {

// Time in milliseconds since an arbitrary start. Every control unit takes the current time as an
// argument instead of reading a clock, so that tests can step time by hand.
using Millis = qint64;

class Clock
{
public:
    virtual ~Clock() = default;
    virtual Millis now() const = 0;
};

// The earlier of two due times, -1 standing for none.
constexpr Millis earliest(Millis a, Millis b)
{
    return a < 0 ? b : b < 0 ? a : (a < b ? a : b);
}

// The monotonic clock of the running peer; 0 at construction.
class SteadyClock final : public Clock
{
public:
    SteadyClock() { timer.start(); }
    Millis now() const override { return timer.elapsed(); }

private:
    QElapsedTimer timer;
};

// The running peer's clock: the monotonic clock until a checker keeps lock-step time with it, the
// time the checker last sent from then on.
class LockstepClock final : public Clock
{
public:
    Millis now() const override { return stepped ? simulated : steady.now(); }
    bool lockstep() const { return stepped; }
    void set(qint64 micros)
    {
        stepped = true;
        simulated = micros / 1000;
    }

private:
    SteadyClock steady;
    bool stepped = false;
    Millis simulated = 0;
};

// A clock that moves only when told to.
class ManualClock final : public Clock
{
public:
    Millis now() const override { return time; }
    void advance(Millis milliseconds) { time += milliseconds; }

private:
    Millis time = 0;
};

} // namespace Peer
