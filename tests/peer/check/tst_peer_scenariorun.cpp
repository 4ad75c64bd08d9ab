// The checker's scenarios: how their files are read (and refused), and how each kind of check is
// decided on what a fake peer sends, given as documents at times after the scenario's start.

#include "check/Scenario.h"
#include "check/ScenarioRun.h"

#include <QtTest>

#include <functional>

using namespace Check;

namespace {

struct Event
{
    Micros at;
    QJsonObject document;
};
using Events = std::vector<Event>;

constexpr Micros ms = 1000;

// The lamp `name` toggling at `hertz` from `from` to `to` (lit first), with `duty` of each period lit.
Events blinking(const char* name, double hertz, Micros from, Micros to, double duty = 0.5)
{
    Events events;
    const Micros period = Micros(1e6 / hertz);
    for (Micros at = from; at < to; at += period) {
        events.push_back({at, {{name, true}}});
        events.push_back({at + Micros(double(period) * duty), {{name, false}}});
    }
    return events;
}

QJsonObject wiperPattern(int pattern)
{
    return {{"windshieldWiperA", (pattern & 8) != 0},
            {"windshieldWiperB", (pattern & 4) != 0},
            {"windshieldWiperC", (pattern & 2) != 0},
            {"windshieldWiperD", (pattern & 1) != 0}};
}

// A wipe as the wiper's phases: parked (B C), then `out` steps clockwise and `back` back, one every
// `period`; `skip` leaves out the step of that number.
Events wiping(int out, int back, Micros from, Micros period = 42 * ms, int skip = -1)
{
    static const int clockwise[4] = {6, 3, 9, 12};
    Events events{{from, wiperPattern(6)}};
    int position = 0;
    Micros at = from;
    for (int step = 1; step <= out + back; ++step) {
        position += step <= out ? 1 : -1;
        at += period;
        if (step != skip)
            events.push_back({at, wiperPattern(clockwise[((position % 4) + 4) % 4])});
    }
    return events;
}

Events merged(Events a, const Events& b)
{
    a.insert(a.end(), b.begin(), b.end());
    std::stable_sort(a.begin(), a.end(), [](const Event& x, const Event& y) { return x.at < y.at; });
    return a;
}

// Runs `scenario` as a live run would, with the peer's documents at their times; every document the
// run sends leaves at once.
ScenarioRun play(const Scenario& scenario, const Events& events)
{
    ScenarioRun run(scenario);
    const auto pump = [&run](Micros at) {
        while (run.next(at).kind == ScenarioRun::Action::Kind::Send)
            run.sent(at);
    };
    pump(0);
    for (const Event& event : events) {
        pump(event.at);
        run.received(event.at, StateValues::assignmentsOf(event.document));
    }
    pump(scenario.timeout + 1);
    return run;
}

Scenario scenarioOf(const QByteArray& steps)
{
    const Loaded loaded =
        parseScenario("test.yaml", "scenario: test\nsetup: {cockpitIgnition: 1}\nsteps:\n" + steps, 7);
    if (!loaded.errors.isEmpty())
        qFatal("%s", qPrintable(loaded.errors.join('\n')));
    return loaded.scenarios.front();
}

QString verdicts(const ScenarioRun& run)
{
    QStringList list;
    for (const CheckResult& check : run.results())
        list << (check.verdict == CheckResult::Verdict::Pass   ? "pass"
                 : check.verdict == CheckResult::Verdict::Fail ? "fail"
                                                               : "not-run");
    return list.join(' ');
}

using Peer = std::function<Events()>;

} // namespace

Q_DECLARE_METATYPE(Peer)

class TestPeerScenarioRun : public QObject
{
    Q_OBJECT

private slots:
    void checks_data();
    void checks();
    void runsSendTheWholeStateWhenTheyStepOn();
    void linkStepsChangeTheLinkBetweenSteps();
    void invalidScenarios_data();
    void invalidScenarios();
    void randomValuesFollowTheSeed();
};

void TestPeerScenarioRun::checks_data()
{
    QTest::addColumn<QByteArray>("steps");
    QTest::addColumn<QByteArray>("more"); // monitors and other top-level keys
    QTest::addColumn<Peer>("peer");
    QTest::addColumn<QString>("expected"); // verdicts of the checks in order
    QTest::addColumn<QString>("measured"); // part of the first failure's measurement, or empty

    const QByteArray lowBeam = "  - set: {cockpitLightSwitch: 3}\n"
                               "  - expect: {lightLowerBeamHeadlight: true}\n    within: 200ms\n";
    QTest::newRow("expect: answered in time") << lowBeam << QByteArray() << Peer([] {
        return Events{{50 * ms, {{"lightLowerBeamHeadlight", true}}}};
    }) << "pass"
                                              << "";
    QTest::newRow("expect: too late") << lowBeam << QByteArray() << Peer([] {
        return Events{{300 * ms, {{"lightLowerBeamHeadlight", true}}}};
    }) << "fail"
                                      << "lightLowerBeamHeadlight=false after 200 ms";
    QTest::newRow("expect: all values at once")
        << QByteArray("  - expect: {lightBacklight: true, lightDaylight: true}\n") << QByteArray()
        << Peer([] {
               return Events{{10 * ms, {{"lightBacklight", true}}},
                             {20 * ms, {{"lightBacklight", false}, {"lightDaylight", true}}}};
           })
        << "fail"
        << "lightBacklight=false lightDaylight=true";

    const QByteArray hold = "  - hold: {lightUpperBeamHeadlight: false}\n    for: 2s\n";
    QTest::newRow("hold: throughout") << hold << QByteArray() << Peer([] {
        return Events{{2500 * ms, {{"lightUpperBeamHeadlight", true}}}};
    }) << "pass"
                                      << "";
    QTest::newRow("hold: broken") << hold << QByteArray() << Peer([] {
        return Events{{1200 * ms, {{"lightUpperBeamHeadlight", true}}}};
    }) << "fail"
                                  << "after 1.20 s";

    const QByteArray blinks =
        "  - blinks: lightIndicatorLeft\n    frequency: 1.5Hz\n    duty: 50%\n    for: 4s\n";
    QTest::newRow("blinks: 1.5 Hz") << blinks << QByteArray() << Peer([] {
        return blinking("lightIndicatorLeft", 1.5, 100 * ms, 5000 * ms);
    }) << "pass"
                                    << "";
    QTest::newRow("blinks: 3 Hz") << blinks << QByteArray() << Peer([] {
        return blinking("lightIndicatorLeft", 3.0, 100 * ms, 5000 * ms);
    }) << "fail"
                                  << "3.00 Hz";
    QTest::newRow("blinks: wrong duty")
        << blinks << QByteArray()
        << Peer([] { return blinking("lightIndicatorLeft", 1.5, 100 * ms, 5000 * ms, 0.25); }) << "fail"
        << "duty 25 %";
    QTest::newRow("blinks: lit, not blinking") << blinks << QByteArray() << Peer([] {
        return Events{{100 * ms, {{"lightIndicatorLeft", true}}}};
    }) << "fail"
                                               << "fewer than two whole periods";

    const QByteArray wiper =
        "  - wiper: {moves: [+16, -16]}\n    rate: 24/s\n    parked: true\n    within: 3s\n";
    QTest::newRow("wiper: one wipe at 24/s")
        << wiper << QByteArray() << Peer([] { return wiping(16, 16, 100 * ms); }) << "pass"
        << "";
    QTest::newRow("wiper: a skipped step")
        << wiper << QByteArray() << Peer([] { return wiping(16, 16, 100 * ms, 42 * ms, 5); }) << "fail"
        << "skipped a step";
    QTest::newRow("wiper: too short a wipe")
        << wiper << QByteArray() << Peer([] { return wiping(12, 12, 100 * ms); }) << "fail"
        << "moved +12 -12 within 3 s";
    QTest::newRow("wiper: too fast") << wiper << QByteArray()
                                     << Peer([] { return wiping(16, 16, 100 * ms, 28 * ms); }) << "fail"
                                     << "at 35.7/s";
    QTest::newRow("wiper: too far back")
        << wiper << QByteArray() << Peer([] { return wiping(16, 20, 100 * ms); }) << "fail"
        << "moved +16 -20";
    QTest::newRow("wiper: under way at the start, then whole wipes")
        << QByteArray("  - wiper: {moves: [+16, -16]}\n    parked: true\n    within: 3s\n") << QByteArray()
        << Peer([] {
               return merged(Events{{50 * ms, wiperPattern(3)}}, wiping(16, 16, 200 * ms));
           })
        << "pass"
        << "";
    QTest::newRow("wiper: an illegal pattern") << wiper << QByteArray() << Peer([] {
        return merged(wiping(2, 0, 100 * ms), Events{{300 * ms, wiperPattern(15)}});
    }) << "fail"
                                               << "illegal pattern 15";
    QTest::newRow("wiper: further wipes allowed")
        << QByteArray("  - wiper: {moves: [+16, -16]}\n    within: 5s\n") << QByteArray()
        << Peer([] { return merged(wiping(16, 16, 100 * ms), wiping(16, 16, 1500 * ms)); }) << "pass"
        << "";

    const QByteArray monitors = "monitors:\n  - never: {lightUpperBeamHeadlight: true}\n"
                                "  - always: {lightFoglightLeft: false}\n";
    const QByteArray wait = "  - wait: 1s\n";
    QTest::newRow("monitors: kept") << wait << monitors << Peer([] {
        return Events{{10 * ms, {{"lightBacklight", true}}}};
    }) << "pass pass"
                                    << "";
    QTest::newRow("monitors: broken") << wait << monitors << Peer([] {
        return Events{{400 * ms, {{"lightUpperBeamHeadlight", true}}},
                      {500 * ms, {{"lightFoglightLeft", true}}}};
    }) << "fail fail"
                                      << "lightUpperBeamHeadlight=true at 400 ms";

    QTest::newRow("timeout cuts the running check off, the rest not run")
        << QByteArray("  - expect: {lightBacklight: true}\n    within: 5s\n  - wait: 5s\n  - expect: "
                      "{lightBacklight: false}\n")
        << QByteArray("timeout: 6s\n") << Peer([] {
               return Events{{4 * 1000 * ms, {{"lightBacklight", true}}}};
           })
        << "pass not-run"
        << "";
    QTest::newRow("timeout during a check") << QByteArray("  - wait: 5s\n  - hold: {lightBacklight: false}\n "
                                                          "   for: 2s\n  - expect: {lightBacklight: false}\n")
                                            << QByteArray("timeout: 6s\n") << Peer([] {
                                                   return Events{{10 * ms, {{"lightDaylight", true}}}};
                                               })
                                            << "fail not-run"
                                            << "cut off by the scenario's timeout";
}

void TestPeerScenarioRun::checks()
{
    QFETCH(QByteArray, steps);
    QFETCH(QByteArray, more);
    QFETCH(Peer, peer);
    QFETCH(QString, expected);
    QFETCH(QString, measured);

    const QByteArray timeout = more.contains("timeout:") ? QByteArray() : QByteArray("timeout: 20s\n");
    const Loaded loaded = parseScenario(
        "test.yaml", "scenario: test\n" + timeout + "setup: {cockpitIgnition: 1}\nsteps:\n" + steps + more,
        7);
    QVERIFY2(loaded.errors.isEmpty(), qPrintable(loaded.errors.join('\n')));
    const ScenarioRun run = play(loaded.scenarios.front(), peer());
    QVERIFY(run.done());
    QCOMPARE(verdicts(run), expected);
    if (!measured.isEmpty()) {
        const auto failure =
            std::find_if(run.results().begin(), run.results().end(), [](const CheckResult& check) {
                return check.verdict == CheckResult::Verdict::Fail;
            });
        QVERIFY(failure != run.results().end());
        QVERIFY2(failure->measured.contains(measured), qPrintable(failure->measured));
    }
}

void TestPeerScenarioRun::runsSendTheWholeStateWhenTheyStepOn()
{
    // The setup first (start-up values with the setup's), then one whole state per set and two per
    // press (press and release, 100 ms apart); a step starts when the one before ended.
    const Scenario scenario =
        scenarioOf("  - set: {cockpitLightSwitch: 3}\n  - press: alarmLockButton\n  - wait: 1s\n");
    ScenarioRun run(scenario);
    QList<QJsonObject> sent;
    QList<Micros> times;
    Micros now = 0;
    for (ScenarioRun::Action action = run.next(now); action.kind != ScenarioRun::Action::Kind::Done;
         action = run.next(now)) {
        if (action.kind == ScenarioRun::Action::Kind::Send) {
            sent << action.document;
            times << now;
            run.sent(now);
        } else {
            now = action.until;
        }
    }
    QCOMPARE(sent.size(), 4);
    for (const QJsonObject& document : sent)
        QCOMPARE(document.size(), StateValues::count);
    QCOMPARE(sent[0].value("cockpitIgnition").toInt(), 1);
    QCOMPARE(sent[0].value("cockpitLightSwitch").toInt(), 0);
    QCOMPARE(sent[1].value("cockpitLightSwitch").toInt(), 3);
    QCOMPARE(sent[2].value("alarmLockButton").toBool(), true);
    QCOMPARE(sent[3].value("alarmLockButton").toBool(), false);
    QCOMPARE(times[3] - times[2], 100 * ms);
    QCOMPARE(run.endedAt(), times[3] + 1000 * ms);
    QVERIFY(!run.peerSpoke()); // inconclusive: the peer said nothing
}

void TestPeerScenarioRun::linkStepsChangeTheLinkBetweenSteps()
{
    // A link step hands its faults to whoever drives the run, before the next step's document.
    const Scenario scenario = scenarioOf(
        "  - link: {seed: 3, to-peer: {drop: 100%}}\n  - set: {cockpitLightSwitch: 3}\n  - link: normal\n");
    ScenarioRun run(scenario);
    QStringList actions;
    for (ScenarioRun::Action action = run.next(0); action.kind != ScenarioRun::Action::Kind::Done;
         action = run.next(0)) {
        if (action.kind == ScenarioRun::Action::Kind::Send) {
            actions << "send";
            run.sent(0);
        } else if (action.kind == ScenarioRun::Action::Kind::Link) {
            actions << (action.link.toPeer.drop == 1.0 && action.linkSeeded && action.link.seed == 3
                            ? "lossy"
                            : "normal");
            QVERIFY(action.linkSeeded == (actions.size() == 2));
        }
    }
    QCOMPARE(actions, (QStringList{"send", "lossy", "send", "normal"}));
}

void TestPeerScenarioRun::invalidScenarios_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("error");

    const QByteArray head = "scenario: test\nsteps:\n";
    QTest::newRow("no name") << QByteArray("steps:\n  - wait: 1s\n")
                             << "test.yaml:1:1: a scenario needs its name";
    QTest::newRow("not YAML") << QByteArray("scenario: [\n") << "test.yaml:2:1: not valid YAML";
    QTest::newRow("unknown value, with the nearest")
        << head + "  - set: {cockpitIgnitoin: 1}\n"
        << "test.yaml:3:11: no value is named 'cockpitIgnitoin'; did you mean cockpitIgnition?";
    QTest::newRow("unknown key")
        << head + "  - expect: {lightBacklight: true}\n    witin: 1s\n"
        << "test.yaml:4:5: an expect step has no key 'witin'; did you mean 'within'?";
    QTest::newRow("unknown step") << head + "  - exepct: {lightBacklight: true}\n"
                                  << "did you mean 'expect'?";
    QTest::newRow("wrong kind of value") << head + "  - set: {cockpitIgnition: on}\n"
                                         << "test.yaml:3:28: cockpitIgnition takes a whole number, not 'on'";
    QTest::newRow("truth value as a number") << head + "  - expect: {lightBacklight: 1}\n"
                                             << "lightBacklight takes true or false";
    QTest::newRow("press of a number") << head + "  - press: cockpitBrake\n"
                                       << "press is for truth values";
    QTest::newRow("hold without for") << head + "  - hold: {lightBacklight: true}\n"
                                      << "hold needs 'for'";
    QTest::newRow("blinks too short")
        << head + "  - blinks: lightIndicatorLeft\n    frequency: 1.5Hz\n    for: 1s\n"
        << "test.yaml:5:10: blinks for 1 s at 1.5 Hz cannot fit two whole periods";
    QTest::newRow("within beyond the timeout")
        << QByteArray(
               "scenario: test\ntimeout: 5s\nsteps:\n  - expect: {lightBacklight: true}\n    within: 10s\n")
        << "test.yaml:5:13: within (10 s) is longer than the scenario's timeout (5 s)";
    QTest::newRow("negative duration") << head + "  - wait: -1s\n"
                                       << "wait must be a duration above 0";
    QTest::newRow("frequency without unit")
        << head + "  - blinks: lightIndicatorLeft\n    frequency: 1.5\n    for: 4s\n"
        << "frequency must be a frequency above 0, such as 1.5Hz";
    QTest::newRow("moves the same way twice") << head + "  - wiper: {moves: [+8, +8]}\n"
                                              << "two moves in the same direction";
    QTest::newRow("a monitor of both kinds")
        << head +
               "  - wait: 1s\nmonitors:\n  - {never: {lightBacklight: true}, always: {lightDaylight: true}}\n"
        << "a monitor is either never";
    QTest::newRow("link with an unknown fault") << head + "  - link: {to-peer: {lose: 10%}}\n"
                                                << "to-peer has no key 'lose'";
    QTest::newRow("random for a bool out of order")
        << head + "  - set: {cockpitTemperature: {random: [10, -10]}}\n"
        << "random takes the lowest value first";
}

void TestPeerScenarioRun::invalidScenarios()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, error);
    const Loaded loaded = parseScenario("test.yaml", text, 1);
    QVERIFY(loaded.scenarios.empty());
    QVERIFY2(loaded.errors.join('\n').contains(error), qPrintable(loaded.errors.join('\n')));
}

void TestPeerScenarioRun::randomValuesFollowTheSeed()
{
    const QByteArray text = "scenario: test\nsteps:\n  - set: {cockpitTemperature: {random: [-10, 4]}}\n";
    const auto drawn = [&text](quint64 seed) {
        return parseScenario("t.yaml", text, seed).scenarios.front().steps[0].values[0].value;
    };
    QCOMPARE(drawn(5), drawn(5));
    QSet<int> seen;
    for (quint64 seed = 0; seed < 50; ++seed) {
        const int value = drawn(seed);
        QVERIFY(value >= -10 && value <= 4);
        seen << value;
    }
    QVERIFY(seen.size() > 5);
}

QTEST_GUILESS_MAIN(TestPeerScenarioRun)
#include "tst_peer_scenariorun.moc"
