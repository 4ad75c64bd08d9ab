#include "Faults/LinkConditioner.h"

#include "YamlReading.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <limits>
#include <vector>

namespace {

qint64 steadyMicros()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool readConditions(YamlReader& reader, const YAML::Node& node, LinkConditions& conditions,
                    const QString& what)
{
    if (!reader.isMap(node, what) ||
        !reader.onlyKeys(node, {"drop", "burst", "delay", "jitter", "duplicate", "corrupt", "outage"}, what))
        return false;
    bool good = true;
    if (node["drop"])
        good &= reader.percentage(node["drop"], conditions.drop, QStringLiteral("drop"));
    if (node["burst"]) {
        long long burst = 1;
        good &= reader.integer(node["burst"], burst, 1, 1000,
                               QStringLiteral("burst (the mean length of a run of drops)"));
        conditions.burst = double(burst);
    }
    if (node["delay"])
        good &= reader.duration(node["delay"], conditions.delay, QStringLiteral("delay"), true);
    if (node["jitter"])
        good &= reader.duration(node["jitter"], conditions.jitter, QStringLiteral("jitter"), true);
    if (node["duplicate"])
        good &= reader.percentage(node["duplicate"], conditions.duplicate, QStringLiteral("duplicate"));
    if (node["corrupt"])
        good &= reader.percentage(node["corrupt"], conditions.corrupt, QStringLiteral("corrupt"));
    if (const YAML::Node outage = node["outage"]) {
        if (reader.isMap(outage, QStringLiteral("outage")) &&
            reader.onlyKeys(outage, {"every", "for"}, QStringLiteral("outage"))) {
            if (!outage["every"] || !outage["for"]) {
                reader.fail(outage,
                            QStringLiteral("outage needs every and for, such as {every: 30s, for: 2s}"));
                good = false;
            } else {
                good &= reader.duration(outage["every"], conditions.outageEvery, QStringLiteral("every"));
                good &= reader.duration(outage["for"], conditions.outageFor, QStringLiteral("for"));
                if (good && conditions.outageFor >= conditions.outageEvery) {
                    reader.fail(outage["for"], QStringLiteral("an outage must end before the next begins: "
                                                              "for must be shorter than every"));
                    good = false;
                }
            }
        } else {
            good = false;
        }
    }
    if (good && conditions.jitter > conditions.delay && conditions.delay > 0) {
        reader.fail(node["jitter"], QStringLiteral("jitter (more or less) cannot exceed the delay"));
        good = false;
    }
    return good;
}

} // namespace

bool LinkConditions::operator==(const LinkConditions& other) const
{
    return drop == other.drop && burst == other.burst && delay == other.delay && jitter == other.jitter &&
           duplicate == other.duplicate && corrupt == other.corrupt && outageEvery == other.outageEvery &&
           outageFor == other.outageFor;
}

bool readLinkFaults(YamlReader& reader, const YAML::Node& node, LinkFaults& faults)
{
    if (!reader.isMap(node, QStringLiteral("link")) ||
        !reader.onlyKeys(node, {"seed", "to-peer", "to-program"}, QStringLiteral("link")))
        return false;
    bool good = true;
    if (node["seed"]) {
        long long seed = 0;
        good &= reader.integer(node["seed"], seed, 0, std::numeric_limits<long long>::max(),
                               QStringLiteral("seed"));
        faults.seed = static_cast<quint64>(seed);
    }
    if (node["to-peer"])
        good &= readConditions(reader, node["to-peer"], faults.toPeer, QStringLiteral("to-peer"));
    if (node["to-program"])
        good &= readConditions(reader, node["to-program"], faults.toProgram, QStringLiteral("to-program"));
    return good;
}

LinkConditioner::LinkConditioner(QObject* parent) : QObject(parent)
{
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, &LinkConditioner::deliverDue);
}

void LinkConditioner::start(const LinkConditions& conditions, quint64 seed)
{
    current = conditions;
    random.seed(seed);
    waiting.clear(); // what was late under the conditions before is gone with them
    timer.stop();
    losing = false;
    started = manual ? manualNow : steadyMicros();
    tally = {};
}

void LinkConditioner::useManualClock(qint64 at)
{
    timer.stop();
    manual = true;
    manualNow = at;
}

void LinkConditioner::advanceTo(qint64 at)
{
    manualNow = std::max(manualNow, at);
    deliverDue();
}

qint64 LinkConditioner::nextDue() const
{
    return waiting.empty() ? -1 : waiting.begin()->first + started;
}

qint64 LinkConditioner::now() const
{
    return (manual ? manualNow : steadyMicros()) - started;
}

bool LinkConditioner::chance(double share)
{
    return share > 0 && std::uniform_real_distribution<double>(0.0, 1.0)(random) < share;
}

void LinkConditioner::submit(const QByteArray& datagram, qint64 at)
{
    ++tally.submitted;
    if (!current.any()) {
        emit delivered(datagram);
        return;
    }
    if (at < 0)
        at = now();
    const bool dark =
        current.outageFor > 0 && at >= current.outageEvery && at % current.outageEvery < current.outageFor;
    // Lost datagrams come in runs of `burst` on average: into a run with the share that makes
    // `drop` of all datagrams lost, out of it after each with 1 / burst.
    // (A share beyond burst / (burst + 1) needs longer runs, so they grow as far as it needs.)
    const double runs =
        current.drop >= 1.0 ? 1.0 : std::max(current.burst, current.drop / (1.0 - current.drop));
    if (current.drop >= 1.0)
        losing = true;
    else if (losing)
        losing = chance(1.0 - 1.0 / runs);
    else
        losing = chance(current.drop / (runs * (1.0 - current.drop)));
    // Every decision is drawn, whatever the others decide, so that one fault does not shift the
    // stream of another.
    const bool twice = chance(current.duplicate);
    const bool damage = chance(current.corrupt);
    qint64 delay = current.delay;
    if (current.jitter > 0)
        delay += std::uniform_int_distribution<qint64>(-current.jitter, current.jitter)(random);
    const QByteArray damagedCopy = damage ? damaged(datagram, random) : QByteArray();
    if (dark || losing) {
        ++tally.dropped;
        return;
    }
    const QByteArray& passed = damage ? damagedCopy : datagram;
    tally.corrupted += damage ? 1 : 0;
    tally.duplicated += twice ? 1 : 0;
    schedule(passed, std::max<qint64>(0, delay));
    if (twice)
        schedule(passed, std::max<qint64>(0, delay));
}

void LinkConditioner::schedule(const QByteArray& datagram, qint64 delay)
{
    if (delay == 0 && waiting.empty()) {
        emit delivered(datagram);
        return;
    }
    waiting.emplace(now() + delay, datagram);
    const qint64 first = waiting.begin()->first;
    if (!manual)
        timer.start(static_cast<int>(std::max<qint64>(0, (first - now() + 999) / 1000)));
}

void LinkConditioner::deliverDue()
{
    const qint64 at = now();
    while (!waiting.empty() && waiting.begin()->first <= at) {
        const QByteArray datagram = waiting.begin()->second;
        waiting.erase(waiting.begin());
        emit delivered(datagram);
    }
    if (!waiting.empty() && !manual)
        timer.start(static_cast<int>(std::max<qint64>(0, (waiting.begin()->first - now() + 999) / 1000)));
}

QByteArray LinkConditioner::damaged(const QByteArray& datagram, std::mt19937_64& random)
{
    const int nul = datagram.indexOf('\0');
    const int text = nul < 0 ? datagram.size() : nul;
    if (text == 0)
        return datagram;
    QByteArray copy = datagram;
    const auto pick = [&random](int below) {
        return std::uniform_int_distribution<int>(0, below - 1)(random);
    };
    switch (pick(3)) {
    case 0: // bytes flipped
        for (int flips = 1 + pick(3); flips > 0; --flips) {
            const int at = pick(text);
            copy[at] = char(copy[at] ^ char(1 + pick(255)));
        }
        return copy;
    case 1: // cut short
        return copy.left(pick(text));
    default: { // a value of the wrong kind
        std::vector<int> colons;
        for (int at = 0; at < text; ++at) {
            if (copy[at] == ':')
                colons.push_back(at);
        }
        if (colons.empty())
            return copy.left(pick(text));
        const int colon = colons[static_cast<std::size_t>(pick(static_cast<int>(colons.size())))];
        int end = colon + 1;
        while (end < text && copy[end] != ',' && copy[end] != '}')
            ++end;
        copy.replace(colon + 1, end - colon - 1, "\"?\"");
        return copy;
    }
    }
}
