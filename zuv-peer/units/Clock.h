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

// The monotonic clock of the running peer; 0 at construction.
class SteadyClock final : public Clock
{
public:
    SteadyClock() { timer.start(); }
    Millis now() const override { return timer.elapsed(); }

private:
    QElapsedTimer timer;
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
