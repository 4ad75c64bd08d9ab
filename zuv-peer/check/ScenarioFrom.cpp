#include "check/ScenarioFrom.h"

#include "StateValues.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>
#include <vector>

namespace Check {

namespace {

using Peer::SessionFile::Direction;
using Peer::SessionFile::Entry;
using Micros = qint64;

constexpr Micros second = 1'000'000;
constexpr int wiperValues[4] = {StateValues::windshieldWiperA, StateValues::windshieldWiperB,
                                StateValues::windshieldWiperC, StateValues::windshieldWiperD};
constexpr int clockwise[4] = {6, 3, 9, 12};
constexpr int parkedPattern = 6;

bool isWiper(int index)
{
    return std::find(std::begin(wiperValues), std::end(wiperValues), index) != std::end(wiperValues);
}

int positionOf(int pattern)
{
    const auto found = std::find(std::begin(clockwise), std::end(clockwise), pattern);
    return found == std::end(clockwise) ? -1 : int(found - std::begin(clockwise));
}

QString valueText(int index, int value)
{
    return StateValues::table[index].kind == StateValues::Kind::Bool ? QLatin1String(value ? "true" : "false")
                                                                     : QString::number(value);
}

QString map(const std::map<int, int>& values)
{
    QStringList parts;
    for (const auto& [index, value] : values)
        parts << QLatin1String(StateValues::table[index].name) + QStringLiteral(": ") +
                     valueText(index, value);
    return QLatin1Char('{') + parts.join(QStringLiteral(", ")) + QLatin1Char('}');
}

QString duration(Micros micros)
{
    const Micros ms = std::max<Micros>(1, (micros + 500) / 1000);
    return ms % 1000 == 0 ? QStringLiteral("%1s").arg(ms / 1000) : QStringLiteral("%1ms").arg(ms);
}

// One value as the solution drove it: its changes in time.
struct Track
{
    std::vector<std::pair<Micros, int>> changes;

    int at(Micros time) const
    {
        int value = 0;
        for (const auto& [when, v] : changes) {
            if (when > time)
                break;
            value = v;
        }
        return value;
    }
    // The last change within [from, to), or -1.
    Micros lastChange(Micros from, Micros to) const
    {
        Micros last = -1;
        for (const auto& change : changes) {
            if (change.first >= from && change.first < to)
                last = change.first;
        }
        return last;
    }
};

// A value toggling steadily within a stretch of time: its frequency and lit share; 0 Hz when not.
struct Blinking
{
    double hertz = 0;
    double duty = 0;
};

Blinking blinkingOf(const Track& track, Micros from, Micros to)
{
    std::vector<std::pair<Micros, int>> inside;
    for (const auto& change : track.changes) {
        if (change.first >= from && change.first < to)
            inside.push_back(change);
    }
    std::vector<Micros> rises;
    for (const auto& [when, value] : inside) {
        if (value)
            rises.push_back(when);
    }
    if (rises.size() < 4)
        return {};
    const double mean = double(rises.back() - rises.front()) / double(rises.size() - 1);
    for (std::size_t index = 1; index < rises.size(); ++index) {
        if (std::fabs(double(rises[index] - rises[index - 1]) - mean) > 0.1 * mean)
            return {}; // not steady
    }
    Micros lit = 0;
    for (std::size_t index = 0; index + 1 < inside.size(); ++index) {
        if (inside[index].second && inside[index].first >= rises.front() &&
            inside[index + 1].first <= rises.back())
            lit += inside[index + 1].first - inside[index].first;
    }
    return {1e6 / mean, double(lit) / double(rises.back() - rises.front())};
}

// A stretch of the recording from one action of the user to the next.
struct Segment
{
    Micros from = 0;
    Micros to = 0;
    std::map<int, int> inputs; // what the user changed at its start
};

// The wiper as the solution drove it: its legal patterns in time, and its steps.
struct WiperTrack
{
    std::vector<std::pair<Micros, int>> patterns; // legal patterns as they came
    std::vector<std::pair<Micros, int>> steps;    // +1 / -1

    void build(const std::map<int, Track>& tracks)
    {
        std::set<Micros> times;
        for (const int value : wiperValues) {
            const auto track = tracks.find(value);
            if (track != tracks.end()) {
                for (const auto& change : track->second.changes)
                    times.insert(change.first);
            }
        }
        int previous = 0;
        for (const Micros when : times) {
            int pattern = 0;
            for (int bit = 0; bit < 4; ++bit) {
                const auto track = tracks.find(wiperValues[bit]);
                if (track != tracks.end() && track->second.at(when))
                    pattern |= 8 >> bit;
            }
            if (pattern == previous || positionOf(pattern) < 0)
                continue;
            patterns.emplace_back(when, pattern);
            const int from = positionOf(previous);
            if (from >= 0 && (positionOf(pattern) - from + 4) % 4 != 2)
                steps.emplace_back(when, (positionOf(pattern) - from + 4) % 4 == 1 ? 1 : -1);
            previous = pattern;
        }
    }

    int patternAt(Micros time) const
    {
        int pattern = 0;
        for (const auto& [when, p] : patterns) {
            if (when > time)
                break;
            pattern = p;
        }
        return pattern;
    }
};

class Writer
{
public:
    Writer(std::map<int, Track> tracks, std::vector<Segment> segments, Micros end)
        : tracks(std::move(tracks)), segments(std::move(segments)), end(end)
    {
        wiper.build(this->tracks);
        // Values that blink in some part of the recording; those that blink steadily all through it
        // are heartbeats.
        for (const auto& [index, track] : this->tracks) {
            if (isWiper(index))
                continue;
            for (const Segment& segment : this->segments) {
                const double hertz = blinkingOf(track, segment.from, segment.to).hertz;
                if (hertz > 0)
                    blinkers[index] = std::min(hertz, blinkers.count(index) ? blinkers[index] : hertz);
            }
            if (blinkingOf(track, this->segments.front().from, end + 1).hertz > 0)
                heartbeats.insert(index);
        }
    }

    QString write(const QString& name);

private:
    void segment(const Segment& current, bool last);

    std::map<int, Track> tracks;
    std::vector<Segment> segments;
    Micros end;
    WiperTrack wiper;
    std::map<int, double> blinkers; // and the lowest frequency they blink at
    std::set<int> heartbeats;
    std::set<int> heartbeatsShown;
    std::map<int, double> blinkingBefore;
    QString text;
};

QString Writer::write(const QString& name)
{
    text = QStringLiteral("scenario: %1\n").arg(name);
    text += QStringLiteral("# made by zuv-peer scenario-from from a recording of %1 s\n")
                .arg(double(end - segments.front().from) / 1e6, 0, 'f', 1);
    text += QStringLiteral("timeout: %1s\n").arg(((end - segments.front().from) * 2 + 10 * second) / second);
    std::map<int, int> setup;
    for (const auto& [index, value] : segments.front().inputs) {
        if (value != 0) // the start-up values are 0 and false
            setup[index] = value;
    }
    if (!setup.empty())
        text += QStringLiteral("setup: ") + map(setup) + QLatin1Char('\n');
    text += QStringLiteral("steps:\n");
    for (std::size_t index = 0; index < segments.size(); ++index)
        segment(segments[index], index + 1 == segments.size());
    return text;
}

void Writer::segment(const Segment& current, bool last)
{
    const Micros from = current.from;
    const Micros to = current.to;
    Micros used = 0;
    if (&current != &segments.front())
        text += QStringLiteral("  - set: ") + map(current.inputs) + QLatin1Char('\n');

    // Settled answers: values that changed here and then stood still for a while (a blinker for one
    // and a half of its periods: it stopped blinking), heartbeats never.
    std::map<int, int> settled;
    Micros settledBy = 0;
    for (const auto& [index, track] : tracks) {
        if (isWiper(index) || heartbeats.count(index) || blinkingOf(track, from, to).hertz > 0)
            continue;
        const Micros changed = track.lastChange(from, to);
        if (changed < 0 || track.at(changed) == track.at(from - 1))
            continue;
        const auto blinker = blinkers.find(index);
        const Micros still = blinker == blinkers.end() ? 200'000 : Micros(1.5e6 / blinker->second);
        const auto next = std::find_if(track.changes.begin(), track.changes.end(),
                                       [changed](const auto& change) { return change.first > changed; });
        const Micros until = next == track.changes.end() ? end : next->first;
        if (until - changed < still)
            continue;
        settled[index] = track.at(changed);
        settledBy = std::max(settledBy, changed - from);
    }
    if (!settled.empty()) {
        const Micros within = std::min<Micros>(std::max<Micros>(500'000, settledBy * 2 + 200'000), to - from);
        text += QStringLiteral("  - expect: ") + map(settled) + QStringLiteral("\n    within: ") +
                duration(within) + QLatin1Char('\n');
        used += settledBy;
    }

    // Values that start blinking here (or blink at another frequency than before), each for up to
    // four periods (three at least) while there is time; heartbeats once, where time is left.
    std::map<int, double> blinkingNow;
    std::vector<std::pair<int, Blinking>> starting;
    for (const auto& blinker : blinkers) {
        const int index = blinker.first;
        const Blinking blinking = blinkingOf(tracks[index], from, to);
        if (blinking.hertz <= 0)
            continue;
        blinkingNow[index] = blinking.hertz;
        const auto before = blinkingBefore.find(index);
        const bool changed = before == blinkingBefore.end() ||
                             std::fabs(before->second - blinking.hertz) > 0.05 * blinking.hertz;
        if (changed && !heartbeatsShown.count(index))
            starting.emplace_back(index, blinking);
    }
    blinkingBefore = blinkingNow;
    std::stable_partition(starting.begin(), starting.end(),
                          [this](const auto& item) { return !heartbeats.count(item.first); });
    for (const auto& [index, blinking] : starting) {
        const double hertz = std::round(blinking.hertz * 20.0) / 20.0;
        const Micros room = to - from - used - 200'000;
        const Micros length = std::min(Micros(std::ceil(4.0 / hertz * 1000.0)) * 1000, room / 1000 * 1000);
        if (length < Micros(3.1e6 / hertz))
            continue;
        text += QStringLiteral("  - blinks: %1\n    frequency: %2Hz\n    duty: %3%\n    for: %4\n")
                    .arg(QLatin1String(StateValues::table[index].name))
                    .arg(hertz)
                    .arg(std::lround(blinking.duty * 20.0) * 5)
                    .arg(duration(length));
        used += length;
        if (heartbeats.count(index))
            heartbeatsShown.insert(index);
    }

    // The wiper's moves here: runs of steps one way, without a move under way at the start or still
    // under way at the end.
    std::vector<int> runs;
    std::vector<Micros> runEnds;
    bool movingAtStart = false;
    for (const auto& [when, move] : wiper.steps) {
        if (when <= from && when > from - 100'000)
            movingAtStart = true;
        if (when <= from || when >= to)
            continue;
        if (runs.empty() || (runs.back() > 0) != (move > 0)) {
            runs.push_back(move);
            runEnds.push_back(when);
        } else {
            runs.back() += move;
            runEnds.back() = when;
        }
    }
    const bool movedHere = !runs.empty();
    const int startPattern = wiper.patternAt(from);
    if ((movingAtStart || (startPattern != parkedPattern && startPattern != 0)) && !runs.empty()) {
        runs.erase(runs.begin());
        runEnds.erase(runEnds.begin());
    }
    const bool stillMoving = !runEnds.empty() && to - runEnds.back() < 150'000;
    if (stillMoving) {
        runs.pop_back();
        runEnds.pop_back();
    }
    const bool parkedAtEnd = wiper.patternAt(to - 1) == parkedPattern && !stillMoving;
    if (!runs.empty()) {
        QStringList moves;
        for (const int run : runs)
            moves << (run > 0 ? QStringLiteral("+%1").arg(run) : QString::number(run));
        const Micros within =
            std::min(to - from, std::max(to - from - used, runEnds.back() - from + 300'000));
        text += QStringLiteral("  - wiper: {moves: [%1]}\n").arg(moves.join(QStringLiteral(", ")));
        if (parkedAtEnd)
            text += QStringLiteral("    parked: true\n");
        text += QStringLiteral("    within: %1\n").arg(duration(within));
        used = std::max(used, parkedAtEnd ? within : runEnds.back() - from);
    } else if (movedHere && parkedAtEnd) {
        text += QStringLiteral(
                    "  - expect: {windshieldWiperA: false, windshieldWiperB: true, windshieldWiperC: true, "
                    "windshieldWiperD: false}\n    within: %1\n")
                    .arg(duration(to - from));
        used = to - from;
    }
    // As long as the recording took.
    const Micros rest = to - from - used;
    if (!last && rest > 200'000)
        text += QStringLiteral("  - wait: %1\n").arg(duration(rest - 100'000));
}

} // namespace

QString scenarioFrom(const QVector<Entry>& entries, const QString& name, QString& error)
{
    // The program's documents with a change of an input mark where the user acted (an input that
    // the solution set coming back, the acknowledgement, is none); the solution's documents give
    // its outputs.
    std::map<int, Track> tracks;
    std::array<int, StateValues::count> lastSent{};
    std::array<bool, StateValues::count> driven{};
    std::array<int, StateValues::count> inputs{};
    std::vector<Segment> segments;
    Micros end = 0;
    for (Entry entry : entries) {
        if (entry.direction == Direction::Scenario || entry.direction == Direction::Stopped)
            continue;
        // In the order of the lines: an answer stamped a little before the document it answers was
        // noted as sent counts from that document on, as when the checker decides.
        entry.atMicros = std::max(entry.atMicros, end);
        end = entry.atMicros;
        const StateValues::Assignments assignments = StateValues::assignmentsOf(entry.document);
        if (entry.direction == Direction::Out) {
            for (const auto& assignment : assignments.list) {
                const auto index = static_cast<std::size_t>(assignment.index);
                driven[index] = true;
                lastSent[index] = assignment.value;
                Track& track = tracks[assignment.index];
                if (track.changes.empty() || track.changes.back().second != assignment.value)
                    track.changes.emplace_back(entry.atMicros, assignment.value);
            }
            continue;
        }
        Segment segment{entry.atMicros, 0, {}};
        for (const auto& assignment : assignments.list) {
            const auto index = static_cast<std::size_t>(assignment.index);
            if (!StateValues::isInput(assignment.index))
                continue;
            const bool echo = driven[index] && lastSent[index] == assignment.value;
            if (inputs[index] != assignment.value && (!echo || segments.empty()))
                segment.inputs[assignment.index] = assignment.value;
            inputs[index] = assignment.value;
        }
        if (segments.empty() || !segment.inputs.empty())
            segments.push_back(segment);
    }
    if (segments.empty()) {
        error = QStringLiteral("the recording holds no document of the program (\"dir\":\"in\")");
        return {};
    }
    if (tracks.empty()) {
        error = QStringLiteral("the recording holds no document of the solution (\"dir\":\"out\")");
        return {};
    }
    for (std::size_t index = 0; index < segments.size(); ++index)
        segments[index].to = index + 1 < segments.size() ? segments[index + 1].from : end + 1;
    return Writer(std::move(tracks), std::move(segments), end).write(name);
}

} // namespace Check
