#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <map>
#include <random>

class YamlReader;
namespace YAML {
class Node;
}

// What a faulty link does to the datagrams of one direction. Percentages are shares 0 to 1.
struct LinkConditions
{
    double drop = 0;        // share of datagrams lost
    double burst = 1;       // mean length of a run of lost datagrams
    qint64 delay = 0;       // µs every datagram is late
    qint64 jitter = 0;      // µs more or less, evenly
    double duplicate = 0;   // share of datagrams that arrive twice
    double corrupt = 0;     // share of datagrams damaged
    qint64 outageEvery = 0; // µs: dark from every multiple of this on ...
    qint64 outageFor = 0;   // ... for this long

    bool any() const
    {
        return drop > 0 || delay > 0 || jitter > 0 || duplicate > 0 || corrupt > 0 || outageFor > 0;
    }
    bool operator==(const LinkConditions& other) const;
};

struct LinkFaults
{
    quint64 seed = 0;
    LinkConditions toPeer;
    LinkConditions toProgram;

    bool any() const { return toPeer.any() || toProgram.any(); }
};

// Reads a `link:` block: {seed: N, to-peer: {...}, to-program: {...}} (faults file and scenarios).
bool readLinkFaults(YamlReader& reader, const YAML::Node& node, LinkFaults& faults);

// One direction of a faulty link, on the event loop of its thread (no thread of its own): a
// datagram given to submit() comes out of delivered() as the link lets it through: lost, late,
// twice, or damaged the way a faulty link damages one (bytes flipped, cut short, a value of the
// wrong kind). The decisions come from a random engine seeded once: the same seed and the same
// datagrams give the same faults, datagram for datagram. Times count from start() (the moment the
// conditions were loaded).
class LinkConditioner : public QObject
{
    Q_OBJECT

public:
    explicit LinkConditioner(QObject* parent = nullptr);

    // New conditions from now on; the random stream starts again from `seed`.
    void start(const LinkConditions& conditions, quint64 seed);

    // Lock-step time: from now on the link's time is what advanceTo() last gave (µs, any origin),
    // and late datagrams come out of advanceTo() when they are due (no timer of its own).
    void useManualClock(qint64 at);
    void advanceTo(qint64 at);
    // On the manual clock: when the first late datagram is due, or -1 when none waits.
    qint64 nextDue() const;
    const LinkConditions& conditions() const { return current; }
    bool active() const { return current.any(); }

    // A datagram for the link. Without conditions it comes out at once, unchanged. `at`: when it
    // came, in µs from start() (for outages); by default now.
    void submit(const QByteArray& datagram, qint64 at = -1);

    // What happened to the datagrams so far.
    struct Counts
    {
        long submitted = 0;
        long dropped = 0;
        long duplicated = 0;
        long corrupted = 0;
    };
    const Counts& counts() const { return tally; }

    // Damages `datagram` by one of the three kinds, chosen by `random`.
    static QByteArray damaged(const QByteArray& datagram, std::mt19937_64& random);

signals:
    void delivered(const QByteArray& datagram);

private:
    void deliverDue();
    void schedule(const QByteArray& datagram, qint64 delay);
    qint64 now() const;
    bool chance(double share);

    LinkConditions current;
    bool manual = false;
    qint64 manualNow = 0;
    std::mt19937_64 random;
    bool losing = false; // inside a run of lost datagrams
    qint64 started = 0;
    std::multimap<qint64, QByteArray> waiting; // due time, datagram
    QTimer timer;
    Counts tally;
};
