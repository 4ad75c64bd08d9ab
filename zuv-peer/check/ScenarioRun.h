#pragma once

#include "check/Scenario.h"

#include <QJsonObject>

#include <array>
#include <vector>

namespace Check {

struct CheckResult
{
    enum class Verdict
    {
        NotRun,
        Pass,
        Fail
    };

    QString name;
    QString kind; // expect, hold, blinks, wiper, never, always
    int line = 0;
    int maxPoints = 1;
    Verdict verdict = Verdict::NotRun;
    QString expected;
    QString measured;
    Micros at = -1; // when it was decided, from the scenario's start

    int points() const { return verdict == Verdict::Pass ? maxPoints : 0; }
};

// One value's change, for the timeline of a report.
struct Change
{
    Micros at; // from the scenario's start
    int index;
    int value;
    bool fromPeer;
};

// One run of a scenario against a control unit, as a machine that is told what happens and when:
// it keeps the platform's state as the program holds it (the start-up values, what it sends, what
// the peer's documents assign by the receive rules), says when to send the whole state, and decides
// every check. It owns no socket and no clock, so a live run and the re-grading of its trace make
// the same calls and reach the same verdicts:
//
//   next(now)            time has come to `now`: decides what is due; returns Send (the whole
//                        state: send it and call sent()), WaitUntil (call next() again then, or
//                        when a document arrives) or Done;
//   sent(at)             the document of the last Send left at `at`;
//   received(at, doc)    a datagram from the peer, judged by the receive rules, arrived at `at`;
//   stop(at, why)        the peer was stopped: the run ends.
//
// Times are microseconds on any one clock; a time earlier than one already seen counts as that one.
class ScenarioRun
{
public:
    struct Action
    {
        enum class Kind
        {
            Send,
            WaitUntil,
            Done,
            Link // the link's faults change (link); nothing to wait for, ask again
        };
        Kind kind = Kind::Done;
        QJsonObject document; // Send
        LinkFaults link;      // Link
        bool linkSeeded = false;
        Micros until = 0; // WaitUntil
    };

    explicit ScenarioRun(const Scenario& scenario);

    Action next(Micros now);
    void sent(Micros at);
    void received(Micros at, const StateValues::Assignments& assignments);
    // The peer was stopped at `at` (a limit it reached): the running check fails with `why`, the
    // rest are not run.
    void stop(Micros at, const QString& why);

    const Scenario& scenario() const { return definition; }
    // Before the start: the setup document, which next() will ask to send.
    QJsonObject setupDocument() const { return document(); }
    bool done() const { return finished; }
    // Whether the peer sent anything at all (else the run is inconclusive).
    bool peerSpoke() const { return datagrams > 0; }
    int datagramsFromPeer() const { return datagrams; }
    // When the setup was sent (the scenario's start), on the caller's clock; -1 before.
    Micros startedAt() const { return start; }
    Micros endedAt() const { return end; }
    const std::vector<CheckResult>& results() const { return checks; }
    const std::vector<Change>& changes() const { return timeline; }
    int points() const;
    int passed() const;
    int failed() const;

private:
    struct Wiper
    {
        int pattern = 0;            // the last legal pattern seen
        std::vector<int> runs;      // signed steps, one entry per direction
        std::vector<Micros> starts; // when each run's first step came
        std::vector<Micros> ends;   // when each run's last step came
    };

    enum class Phase
    {
        Setup,
        Running,
        Finished
    };

    void apply(Micros at, const Values& values, bool fromPeer);
    void startStep(std::size_t index, Micros at);
    void endStep(Micros at);
    void deadline(Micros at);
    void timeOut(Micros at);
    void finish(Micros at);
    void decide(CheckResult& check, bool pass, Micros at, const QString& measured);
    void watchMonitors(Micros at);
    void watchStep(Micros at);
    void evaluateBlinks(Micros at);
    void wiperStep(Micros at);
    void evaluateWiper(Micros at, bool atDeadline);
    bool holds(const Values& values) const;
    QString actual(const Values& values) const;
    QJsonObject document() const;
    CheckResult* currentCheck();
    Micros relative(Micros at) const { return at - start; }

    const Scenario definition;
    std::array<int, StateValues::count> state{};
    std::vector<CheckResult> checks;
    std::vector<int> checkOfStep; // -1 for steps that are no checks
    std::vector<Change> timeline;

    Phase phase = Phase::Setup;
    Micros clock = 0;
    Micros start = -1;
    Micros end = -1;
    Micros timeoutAt = 0;
    bool finished = false;
    bool sendPending = false;
    bool linkPending = false;
    LinkFaults pendingLink;
    bool pendingLinkSeeded = false;
    Values pendingValues; // what the pending Send changes
    int datagrams = 0;

    std::size_t step = 0;
    Micros stepStart = 0;
    Micros stepDeadline = -1; // -1: none
    int pressPhase = 0;
    std::vector<std::pair<Micros, int>> edges; // blinks: times and new values
    int lastBlink = 0;
    Wiper wiper;
};

} // namespace Check
