#pragma once

#include "Faults/LinkConditioner.h"
#include "StateValues.h"

#include <QString>
#include <QStringList>

#include <array>
#include <random>
#include <set>
#include <vector>

// A fault on one value's wire, as an instructor sets it: on an input it changes what the program
// sends (the switch moves on screen, the control unit sees the fault), on an output what the
// program shows of what it received (the peer drove the lamp; the lamp stays dark).
struct ValueFault
{
    enum class Kind
    {
        Dead,   // reads 0 / false
        Stuck,  // reads `value`
        Offset, // reads `value` more (whole numbers)
        Swap,   // crossed with `other`
        Flicker // drops out (reads 0 / false) for each datagram with the share `share`
    };

    Kind kind = Kind::Dead;
    int index = -1;
    int other = -1;
    int value = 0;
    double share = 0;
    qint64 after = 0;    // µs from loading until it starts
    qint64 lasting = -1; // µs it lasts, or -1: for good
    int line = 0;

    bool activeAt(qint64 sinceLoad) const
    {
        return sinceLoad >= after && (lasting < 0 || sinceLoad < after + lasting);
    }
    bool onInput() const { return StateValues::isInput(index); }
    // "dead lightIndicatorLeft", "stuck cockpitTemperature at 20, from 60 s for 30 s".
    QString describe() const;
};

struct FaultSet
{
    std::vector<ValueFault> values;
    LinkFaults link;
};

struct FaultsLoaded
{
    FaultSet faults;
    QStringList errors; // "file:line:column: message"
};

// A fault file: faults: [...] and link: {...}, either may stand alone.
FaultsLoaded parseFaults(const QString& file, const QByteArray& text);
FaultsLoaded loadFaults(const QString& file);

// The value faults at work: what the program sends, and what it shows of what it received. Times
// count from load().
class ValueFaults
{
public:
    void load(const FaultSet& faults, qint64 nowMicros);
    const std::vector<ValueFault>& faults() const { return set; }
    bool empty() const { return set.empty(); }

    // The inputs of a whole state about to be sent, as the faults make them.
    void sending(std::array<int, StateValues::count>& values, qint64 nowMicros);
    // What a received document shows: its assignments, the outputs as the faults make them.
    StateValues::Assignments receiving(const StateValues::Assignments& document, qint64 nowMicros);
    // Every output as it is to be shown now (after loading, or when a fault starts or ends).
    StateValues::Assignments shownNow(qint64 nowMicros);
    // When a fault starts or ends next (µs on the caller's clock), or -1.
    qint64 nextChange(qint64 nowMicros) const;
    // Which faults are at work now.
    std::vector<const ValueFault*> activeAt(qint64 nowMicros) const;

private:
    // `values` through every input (or output) fault at work `since` loading, flickering drawn
    // where `draw`; `touched` collects what they set.
    void through(std::array<int, StateValues::count>& values, qint64 since, bool inputs, bool draw,
                 std::set<int>* touched);

    std::vector<ValueFault> set;
    qint64 loadedAt = 0;
    std::array<int, StateValues::count> received{};
    std::mt19937_64 random;
};
