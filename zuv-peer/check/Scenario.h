#pragma once

#include "Faults/LinkConditioner.h"
#include "StateValues.h"

#include <QString>
#include <QStringList>

#include <vector>

class YamlReader;
namespace YAML {
class Node;
}

// A scenario of the checker: what it sends a control unit under test and what it expects back.
namespace Check {

// Time in microseconds.
using Micros = qint64;
using Values = std::vector<StateValues::Assignment>;

// A tolerance, relative to the value it is applied to, or absolute in the value's unit.
struct Tolerance
{
    double amount = 0.05;
    bool relative = true;

    double of(double nominal) const { return relative ? amount * nominal : amount; }
};

struct Step
{
    enum class Kind
    {
        Set,
        Expect,
        Hold,
        Press,
        Wait,
        Blinks,
        Wiper,
        Link // the link's faults from here on (none: normal)
    };

    Kind kind = Kind::Wait;
    int line = 0;         // in the scenario file
    QString title;        // how reports name it
    int points = 1;       // for checks
    Values values;        // set, expect, hold: the values in table order
    int value = -1;       // press, blinks: the value's index
    Micros within = 0;    // expect, wiper: from the step's start
    Micros duration = 0;  // hold, press, blinks: `for`; wait: its duration
    double frequency = 0; // blinks, in Hz
    Tolerance frequencyTolerance;
    double duty = -1;            // blinks: the lit share 0 to 1, or below 0 when not checked
    double dutyTolerance = 0.05; // in shares (5 percentage points)
    std::vector<int> moves;      // wiper: signed steps
    double rate = 0;             // wiper: steps per second, 0 when not checked
    Tolerance rateTolerance;
    bool parked = false;     // wiper: then stays at step 0 to the step's end
    LinkFaults link;         // link
    bool linkSeeded = false; // link: its own seed given

    // Steps that are decided and reported; set, press and wait only act.
    bool isCheck() const
    {
        return kind == Kind::Expect || kind == Kind::Hold || kind == Kind::Blinks || kind == Kind::Wiper;
    }
};

struct Monitor
{
    bool never = true; // never: all of the values at once; always: all of them throughout
    Values values;
    int line = 0;
    QString title;
    int points = 1;
};

struct Scenario
{
    QString name;
    QString file;
    Micros timeout = 60'000'000;
    Values setup; // the whole state first sent: the start-up values with these changed
    std::vector<Step> steps;
    std::vector<Monitor> monitors;

    int maxPoints() const;
};

// "lightLowerBeamHeadlight=true cockpitLightSwitch=3".
QString describe(const Values& values);
// "+16 -16".
QString describeMoves(const std::vector<int>& moves);

struct Loaded
{
    std::vector<Scenario> scenarios;
    QStringList errors; // "file:line:column: message"
};

// Reads every scenario of `paths` (files, or folders whose *.yaml files are read in name order).
// Random values are drawn from `seed`, each file's from a stream of its own.
Loaded loadScenarios(const QStringList& paths, quint64 seed);
// One scenario file's text.
Loaded parseScenario(const QString& file, const QByteArray& text, quint64 seed);

} // namespace Check
