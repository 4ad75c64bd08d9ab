#include "check/ScenarioRun.h"

#include <algorithm>
#include <cmath>

namespace Check {

namespace {

// The wiper's phase patterns, one step clockwise after another (A = 8, B = 4, C = 2, D = 1).
constexpr int clockwise[4] = {6, 3, 9, 12};
constexpr int parkedPattern = 6;

int positionOf(int pattern)
{
    for (int index = 0; index < 4; ++index) {
        if (clockwise[index] == pattern)
            return index;
    }
    return -1;
}

QString duration(Micros micros)
{
    if (micros < 1'000'000)
        return QStringLiteral("%1 ms").arg(double(micros) / 1000.0, 0, 'f', micros % 1000 == 0 ? 0 : 1);
    return QStringLiteral("%1 s").arg(double(micros) / 1e6, 0, 'f', micros % 1'000'000 == 0 ? 0 : 2);
}

QString percent(double fraction)
{
    return QStringLiteral("%1 %").arg(fraction * 100.0, 0, 'f', 0);
}

QString toleranceText(const Tolerance& tolerance, const QString& unit)
{
    return tolerance.relative ? percent(tolerance.amount)
                              : QStringLiteral("%1 %2").arg(tolerance.amount).arg(unit);
}

} // namespace

ScenarioRun::ScenarioRun(const Scenario& scenario) : definition(scenario)
{
    for (const Step& item : definition.steps) {
        if (!item.isCheck()) {
            checkOfStep.push_back(-1);
            continue;
        }
        CheckResult check;
        check.name = item.title;
        check.line = item.line;
        check.maxPoints = item.points;
        switch (item.kind) {
        case Step::Kind::Expect:
            check.kind = QStringLiteral("expect");
            check.expected = describe(item.values) + QStringLiteral(" within ") + duration(item.within);
            break;
        case Step::Kind::Hold:
            check.kind = QStringLiteral("hold");
            check.expected = describe(item.values) + QStringLiteral(" throughout ") + duration(item.duration);
            break;
        case Step::Kind::Blinks:
            check.kind = QStringLiteral("blinks");
            check.expected = QStringLiteral("%1 Hz ± %2")
                                 .arg(item.frequency, 0, 'f', 2)
                                 .arg(toleranceText(item.frequencyTolerance, QStringLiteral("Hz")));
            if (item.duty >= 0)
                check.expected += QStringLiteral(", duty %1 ± %2 points")
                                      .arg(percent(item.duty))
                                      .arg(item.dutyTolerance * 100.0);
            break;
        case Step::Kind::Wiper:
            check.kind = QStringLiteral("wiper");
            check.expected = describeMoves(item.moves) + QStringLiteral(" within ") + duration(item.within);
            if (item.rate > 0)
                check.expected += QStringLiteral(" at %1/s ± %2")
                                      .arg(item.rate)
                                      .arg(toleranceText(item.rateTolerance, QStringLiteral("/s")));
            if (item.parked)
                check.expected += QStringLiteral(", then parked");
            break;
        default:
            break;
        }
        checkOfStep.push_back(static_cast<int>(checks.size()));
        checks.push_back(check);
    }
    for (const Monitor& monitor : definition.monitors) {
        CheckResult check;
        check.name = monitor.title;
        check.kind = monitor.never ? QStringLiteral("never") : QStringLiteral("always");
        check.line = monitor.line;
        check.maxPoints = monitor.points;
        check.expected =
            (monitor.never ? QStringLiteral("never ") : QStringLiteral("always ")) + describe(monitor.values);
        checks.push_back(check);
    }
    // The setup: the start-up values (all 0 and false) with the setup's values.
    pendingValues = definition.setup;
    sendPending = true;
}

ScenarioRun::Action ScenarioRun::next(Micros now)
{
    Action action;
    for (;;) {
        if (linkPending) {
            linkPending = false;
            action.kind = Action::Kind::Link;
            action.link = pendingLink;
            action.linkSeeded = pendingLinkSeeded;
            return action;
        }
        if (sendPending) {
            action.kind = Action::Kind::Send;
            action.document = document();
            return action;
        }
        if (finished) {
            action.kind = Action::Kind::Done;
            return action;
        }
        // The earliest of the step's deadline and the timeout, when it is due.
        Micros due = timeoutAt;
        if (stepDeadline >= 0)
            due = std::min(due, stepDeadline);
        if (due > now) {
            action.kind = Action::Kind::WaitUntil;
            action.until = due;
            return action;
        }
        clock = std::max(clock, due);
        if (stepDeadline >= 0 && stepDeadline <= timeoutAt && stepDeadline == due)
            deadline(due);
        else
            timeOut(due);
    }
}

void ScenarioRun::sent(Micros at)
{
    if (!sendPending)
        return;
    sendPending = false;
    clock = std::max(clock, at);
    apply(clock, pendingValues, false);
    pendingValues.clear();
    if (phase == Phase::Setup) {
        start = clock;
        timeoutAt = start + definition.timeout;
        phase = Phase::Running;
        // Datagrams before the start changed the state; the timeline counts from here.
        for (Change& change : timeline)
            change.at = 0;
        watchMonitors(clock);
        startStep(0, clock);
        return;
    }
    const Step& current = definition.steps[step];
    if (current.kind == Step::Kind::Set) {
        endStep(clock);
    } else if (current.kind == Step::Kind::Press) {
        if (pressPhase == 0) {
            pressPhase = 1;
            stepDeadline = clock + current.duration;
        } else {
            endStep(clock);
        }
    }
}

void ScenarioRun::received(Micros at, const StateValues::Assignments& assignments)
{
    ++datagrams;
    clock = std::max(clock, at);
    apply(clock, assignments.list, true);
    if (phase != Phase::Running)
        return;
    watchMonitors(clock);
    watchStep(clock);
}

void ScenarioRun::apply(Micros at, const Values& values, bool fromPeer)
{
    for (const StateValues::Assignment& assignment : values) {
        int& held = state[static_cast<std::size_t>(assignment.index)];
        if (held == assignment.value)
            continue;
        held = assignment.value;
        // The timeline runs from the start to the end of the scenario.
        if (!finished)
            timeline.push_back({start < 0 ? 0 : relative(at), assignment.index, assignment.value, fromPeer});
    }
}

void ScenarioRun::startStep(std::size_t index, Micros at)
{
    step = index;
    stepStart = at;
    stepDeadline = -1;
    if (step >= definition.steps.size()) {
        finish(at);
        return;
    }
    const Step& current = definition.steps[step];
    switch (current.kind) {
    case Step::Kind::Set:
        // The values change when the document has left (sent()).
        pendingValues = current.values;
        sendPending = true;
        break;
    case Step::Kind::Press:
        pressPhase = 0;
        pendingValues = {{current.value, 1}};
        sendPending = true;
        break;
    case Step::Kind::Wait:
        stepDeadline = at + current.duration;
        break;
    case Step::Kind::Link:
        linkPending = true;
        pendingLink = current.link;
        pendingLinkSeeded = current.linkSeeded;
        endStep(at);
        break;
    case Step::Kind::Expect:
        stepDeadline = at + current.within;
        watchStep(at);
        break;
    case Step::Kind::Hold:
        stepDeadline = at + current.duration;
        watchStep(at);
        break;
    case Step::Kind::Blinks:
        edges.clear();
        lastBlink = state[static_cast<std::size_t>(current.value)];
        stepDeadline = at + current.duration;
        break;
    case Step::Kind::Wiper: {
        wiper = Wiper{};
        const auto& s = state;
        const int pattern =
            (s[StateValues::windshieldWiperA] ? 8 : 0) | (s[StateValues::windshieldWiperB] ? 4 : 0) |
            (s[StateValues::windshieldWiperC] ? 2 : 0) | (s[StateValues::windshieldWiperD] ? 1 : 0);
        wiper.pattern = positionOf(pattern) >= 0 ? pattern : 0;
        stepDeadline = at + current.within;
        break;
    }
    }
}

void ScenarioRun::endStep(Micros at)
{
    startStep(step + 1, at);
}

CheckResult* ScenarioRun::currentCheck()
{
    if (phase != Phase::Running || step >= definition.steps.size() || checkOfStep[step] < 0)
        return nullptr;
    return &checks[static_cast<std::size_t>(checkOfStep[step])];
}

void ScenarioRun::decide(CheckResult& check, bool pass, Micros at, const QString& measured)
{
    if (check.verdict != CheckResult::Verdict::NotRun)
        return;
    check.verdict = pass ? CheckResult::Verdict::Pass : CheckResult::Verdict::Fail;
    check.at = relative(at);
    check.measured = measured;
}

void ScenarioRun::deadline(Micros at)
{
    const Step& current = definition.steps[step];
    stepDeadline = -1;
    CheckResult* check = currentCheck();
    switch (current.kind) {
    case Step::Kind::Press:
        pendingValues = {{current.value, 0}};
        sendPending = true;
        return;
    case Step::Kind::Wait:
        break;
    case Step::Kind::Expect:
        decide(*check, false, at,
               actual(current.values) + QStringLiteral(" after ") + duration(current.within));
        break;
    case Step::Kind::Hold:
        decide(*check, true, at, QStringLiteral("held ") + duration(current.duration));
        break;
    case Step::Kind::Blinks:
        evaluateBlinks(at);
        break;
    case Step::Kind::Wiper:
        evaluateWiper(at, true);
        break;
    case Step::Kind::Set:
    case Step::Kind::Link:
        break;
    }
    endStep(at);
}

void ScenarioRun::stop(Micros at, const QString& why)
{
    if (finished)
        return;
    clock = std::max(clock, at);
    if (CheckResult* check = currentCheck())
        decide(*check, false, clock, why);
    phase = Phase::Finished;
    finished = true;
    end = clock;
    sendPending = false;
}

void ScenarioRun::timeOut(Micros at)
{
    if (CheckResult* check = currentCheck())
        decide(
            *check, false, at,
            QStringLiteral("cut off by the scenario's timeout after %1").arg(duration(definition.timeout)));
    phase = Phase::Finished;
    finished = true;
    end = at;
    sendPending = false;
}

void ScenarioRun::finish(Micros at)
{
    for (std::size_t index = 0; index < definition.monitors.size(); ++index) {
        CheckResult& check = checks[checks.size() - definition.monitors.size() + index];
        decide(check, true, at, QStringLiteral("held throughout %1").arg(duration(relative(at))));
    }
    phase = Phase::Finished;
    finished = true;
    end = at;
}

bool ScenarioRun::holds(const Values& values) const
{
    return std::all_of(values.begin(), values.end(), [this](const StateValues::Assignment& assignment) {
        return state[static_cast<std::size_t>(assignment.index)] == assignment.value;
    });
}

QString ScenarioRun::actual(const Values& values) const
{
    Values seen = values;
    for (StateValues::Assignment& assignment : seen)
        assignment.value = state[static_cast<std::size_t>(assignment.index)];
    return describe(seen);
}

QJsonObject ScenarioRun::document() const
{
    std::array<int, StateValues::count> values = state;
    for (const StateValues::Assignment& assignment : pendingValues)
        values[static_cast<std::size_t>(assignment.index)] = assignment.value;
    QJsonObject whole;
    for (int index = 0; index < StateValues::count; ++index)
        whole.insert(QLatin1String(StateValues::table[index].name),
                     StateValues::toJson(index, values[static_cast<std::size_t>(index)]));
    return whole;
}

void ScenarioRun::watchMonitors(Micros at)
{
    for (std::size_t index = 0; index < definition.monitors.size(); ++index) {
        const Monitor& monitor = definition.monitors[index];
        const bool all = holds(monitor.values);
        if (monitor.never ? all : !all) {
            CheckResult& check = checks[checks.size() - definition.monitors.size() + index];
            decide(check, false, at,
                   actual(monitor.values) + QStringLiteral(" at ") + duration(relative(at)));
        }
    }
}

void ScenarioRun::watchStep(Micros at)
{
    if (phase != Phase::Running || step >= definition.steps.size() || sendPending)
        return;
    const Step& current = definition.steps[step];
    CheckResult* check = currentCheck();
    switch (current.kind) {
    case Step::Kind::Expect:
        if (holds(current.values)) {
            decide(*check, true, at, QStringLiteral("after ") + duration(at - stepStart));
            endStep(at);
        }
        break;
    case Step::Kind::Hold:
        if (!holds(current.values)) {
            decide(*check, false, at,
                   actual(current.values) + QStringLiteral(" after ") + duration(at - stepStart));
            endStep(at);
        }
        break;
    case Step::Kind::Blinks: {
        const int value = state[static_cast<std::size_t>(current.value)];
        if (value != lastBlink) {
            edges.emplace_back(at, value);
            lastBlink = value;
        }
        break;
    }
    case Step::Kind::Wiper:
        wiperStep(at);
        break;
    default:
        break;
    }
}

void ScenarioRun::evaluateBlinks(Micros at)
{
    const Step& current = definition.steps[step];
    CheckResult& check = *currentCheck();
    // The first edge is ignored; whole periods run between the later edges of one direction.
    std::vector<Micros> starts;
    Micros litTime = 0;
    if (edges.size() >= 2) {
        const int direction = edges[1].second;
        for (std::size_t index = 1; index < edges.size(); ++index) {
            if (edges[index].second == direction)
                starts.push_back(edges[index].first);
        }
        const Micros last = starts.back();
        for (std::size_t index = 1; index + 1 < edges.size() && edges[index].first < last; ++index) {
            if (edges[index].second)
                litTime += std::min(edges[index + 1].first, last) - edges[index].first;
        }
    }
    const int periods = starts.empty() ? 0 : static_cast<int>(starts.size()) - 1;
    if (periods < 2) {
        decide(check, false, at,
               QStringLiteral("%1 changes in %2: fewer than two whole periods")
                   .arg(edges.size())
                   .arg(duration(current.duration)));
        return;
    }
    const double span = double(starts.back() - starts.front()) / 1e6;
    const double frequency = periods / span;
    const double duty = double(litTime) / 1e6 / span;
    QString measured = QStringLiteral("%1 Hz").arg(frequency, 0, 'f', 2);
    bool pass =
        std::fabs(frequency - current.frequency) <= current.frequencyTolerance.of(current.frequency) + 1e-9;
    if (current.duty >= 0) {
        measured += QStringLiteral(", duty %1").arg(percent(duty));
        pass = pass && std::fabs(duty - current.duty) <= current.dutyTolerance + 1e-9;
    }
    decide(check, pass, at, measured);
}

void ScenarioRun::wiperStep(Micros at)
{
    CheckResult& check = *currentCheck();
    const auto& s = state;
    const int pattern =
        (s[StateValues::windshieldWiperA] ? 8 : 0) | (s[StateValues::windshieldWiperB] ? 4 : 0) |
        (s[StateValues::windshieldWiperC] ? 2 : 0) | (s[StateValues::windshieldWiperD] ? 1 : 0);
    if (pattern == wiper.pattern)
        return;
    const int to = positionOf(pattern);
    const QString phases = QStringLiteral("%1%2%3%4")
                               .arg(pattern & 8 ? "A" : "")
                               .arg(pattern & 4 ? "B" : "")
                               .arg(pattern & 2 ? "C" : "")
                               .arg(pattern & 1 ? "D" : "");
    const QString where = QStringLiteral(" at %1").arg(duration(at - stepStart));
    if (to < 0) {
        decide(check, false, at,
               QStringLiteral("illegal pattern %1 (%2)%3")
                   .arg(pattern)
                   .arg(phases.isEmpty() ? "none" : phases, where));
        endStep(at);
        return;
    }
    if (wiper.pattern == 0) { // the first legal pattern: where the arm stands
        wiper.pattern = pattern;
        return;
    }
    const int from = positionOf(wiper.pattern);
    const int delta = (to - from + 4) % 4;
    wiper.pattern = pattern;
    if (delta == 2) {
        decide(check, false, at,
               QStringLiteral("skipped a step (%1 to %2)%3").arg(clockwise[from]).arg(pattern).arg(where));
        endStep(at);
        return;
    }
    const int move = delta == 1 ? +1 : -1;
    if (wiper.runs.empty() || (wiper.runs.back() > 0) != (move > 0)) {
        wiper.runs.push_back(move);
        wiper.starts.push_back(at);
        wiper.ends.push_back(at);
    } else {
        wiper.runs.back() += move;
        wiper.ends.back() = at;
    }
    evaluateWiper(at, false);
}

void ScenarioRun::evaluateWiper(Micros at, bool atDeadline)
{
    const Step& current = definition.steps[step];
    CheckResult& check = *currentCheck();
    const std::vector<int>& runs = wiper.runs;
    const std::vector<int>& moves = current.moves;
    const std::size_t n = moves.size();
    // The listed moves, one after another, anywhere from the step's start; the last of them is
    // complete once the arm turns or, at the step's end, stands.
    std::size_t match = runs.size();
    for (std::size_t first = 0; first + n <= runs.size(); ++first) {
        if (std::equal(moves.begin(), moves.end(), runs.begin() + static_cast<std::ptrdiff_t>(first))) {
            match = first;
            break;
        }
    }
    const bool found = match < runs.size();
    const bool followed = found && match + n < runs.size();
    if (!found || (!followed && !atDeadline) || (current.parked && !atDeadline)) {
        if (atDeadline)
            decide(check, false, at,
                   QStringLiteral("moved %1 within %2")
                       .arg(runs.empty() ? QStringLiteral("nothing") : describeMoves(runs),
                            duration(current.within)));
        return;
    }
    QString measured = QStringLiteral("moved ") + describeMoves(runs);
    bool pass = true;
    if (current.parked && (followed || wiper.pattern != parkedPattern)) {
        pass = false;
        measured += followed ? QStringLiteral(", and on after the moves")
                             : QStringLiteral(", not back at the park position");
    }
    if (current.rate > 0) {
        // Steps over the time from the first step of the moves to their last.
        int steps = 0;
        for (std::size_t index = match; index < match + n; ++index)
            steps += std::abs(runs[index]);
        const Micros span = wiper.ends[match + n - 1] - wiper.starts[match];
        const double rate = span > 0 ? double(steps - 1) / (double(span) / 1e6) : 0.0;
        measured += QStringLiteral(" at %1/s").arg(rate, 0, 'f', 1);
        pass = pass && std::fabs(rate - current.rate) <= current.rateTolerance.of(current.rate) + 1e-9;
    }
    decide(check, pass, at, measured);
    if (!atDeadline)
        endStep(at);
}

int ScenarioRun::points() const
{
    int sum = 0;
    for (const CheckResult& check : checks)
        sum += check.points();
    return sum;
}

int ScenarioRun::passed() const
{
    return static_cast<int>(std::count_if(checks.begin(), checks.end(), [](const CheckResult& check) {
        return check.verdict == CheckResult::Verdict::Pass;
    }));
}

int ScenarioRun::failed() const
{
    return static_cast<int>(std::count_if(checks.begin(), checks.end(), [](const CheckResult& check) {
        return check.verdict == CheckResult::Verdict::Fail;
    }));
}

} // namespace Check
