// The windshield control unit: the wiper's modes and stepping, the washer pump and the heater,
// driven by hand-stepped time.

#include "PeerTestSupport.h"
#include "VirtualPlatformDataModel.h"
#include "units/WindshieldUnit.h"

#include <QtTest>

using namespace Peer;
using PeerTest::driven;
using PeerTest::patternOf;
using PeerTest::viewStep;

namespace {

// Runs the unit in 1 ms ticks and watches its phases the way the program's windshield module
// does: every change of pattern must be one step, which it follows.
struct WiperWatch
{
    WindshieldUnit unit;
    VirtualPlatformDataModel state;
    Millis now = 0;
    int pattern = 6;
    int arm = 0;        // arm position in steps, as the program counts it
    int steps = 0;      // pattern changes seen
    int badChanges = 0; // pattern changes the program would ignore
    int wipes = 0;      // returns to park
    QVector<Millis> stepTimes;
    QVector<Millis> wipeStarts;

    void receive() { unit.receive(state, now); }

    void runFor(Millis duration)
    {
        for (const Millis end = now + duration; now < end; ++now) {
            unit.advance(now);
            const int next = patternOf(driven(unit, now));
            if (next == pattern)
                continue;
            const int step = viewStep(pattern, next);
            if (step == 0)
                ++badChanges;
            if (arm == 0 && step == +1)
                wipeStarts << now;
            arm += step;
            if (arm == 0 && step == -1)
                ++wipes;
            pattern = next;
            ++steps;
            stepTimes << now;
        }
    }

    void setMode(int mode)
    {
        state.setCockpitWindshieldWasherMode(mode);
        receive();
    }
};

} // namespace

class TestPeerWindshield : public QObject
{
    Q_OBJECT

private slots:
    void singleWipeIsThirtyTwoStepsOutAndBack();
    void singleWipeOncePerPress();
    void continuousModes_data();
    void continuousModes();
    void modeOffFinishesTheWipeThenParks();
    void intervalWipesEveryFourSeconds();
    void automaticWipesAboveTheThreshold_data();
    void automaticWipesAboveTheThreshold();
    void washRunsPumpWipesAndAddsTwo();
    void lateTicksNeverJumpAStep();
    void heater_data();
    void heater();
};

void TestPeerWindshield::singleWipeIsThirtyTwoStepsOutAndBack()
{
    WiperWatch watch;
    watch.receive();
    watch.setMode(WindshieldUnit::Single);
    watch.runFor(300);
    watch.setMode(WindshieldUnit::Off); // the button is let go early; the wipe goes on
    watch.runFor(3000);

    QCOMPARE(watch.steps, 32);
    QCOMPARE(watch.badChanges, 0);
    QCOMPARE(watch.wipes, 1);
    QCOMPARE(watch.arm, 0);
    QCOMPARE(watch.pattern, 6);
    QVERIFY(!watch.unit.wiper().wiping());
    // The first step at once.
    QCOMPARE(watch.stepTimes.first(), Millis(0));
}

void TestPeerWindshield::singleWipeOncePerPress()
{
    WiperWatch watch;
    watch.receive();
    // Held for longer than a wipe: still one wipe.
    watch.setMode(WindshieldUnit::Single);
    watch.runFor(4000);
    QCOMPARE(watch.wipes, 1);
    watch.setMode(WindshieldUnit::Off);
    watch.runFor(100);
    // Two quick presses during a wipe: the second is one more wipe after it.
    watch.setMode(WindshieldUnit::Single);
    watch.runFor(100);
    watch.setMode(WindshieldUnit::Off);
    watch.runFor(100);
    watch.setMode(WindshieldUnit::Single);
    watch.runFor(100);
    watch.setMode(WindshieldUnit::Off);
    watch.runFor(5000);
    QCOMPARE(watch.wipes, 3);
    QCOMPARE(watch.steps, 96);
    QCOMPARE(watch.badChanges, 0);
}

void TestPeerWindshield::continuousModes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("stepsPerSecond");
    QTest::addColumn<int>("wipesInAMinute");
    // A wipe is 32 steps: 1.33 s at 24 steps/s, 45 a minute; 0.89 s at 36 steps/s, 67.5 a minute.
    QTest::newRow("slow") << int(WindshieldUnit::Slow) << 24 << 45;
    QTest::newRow("fast") << int(WindshieldUnit::Fast) << 36 << 67;
}

void TestPeerWindshield::continuousModes()
{
    QFETCH(int, mode);
    QFETCH(int, stepsPerSecond);
    QFETCH(int, wipesInAMinute);
    WiperWatch watch;
    watch.receive();
    watch.setMode(mode);
    watch.runFor(60000);
    QCOMPARE(watch.wipes, wipesInAMinute);
    QCOMPARE(watch.badChanges, 0);
    // Evenly spaced steps, from wipe to wipe too.
    const Millis period = 1000 / stepsPerSecond;
    for (int index = 1; index < watch.stepTimes.size(); ++index) {
        const Millis gap = watch.stepTimes.at(index) - watch.stepTimes.at(index - 1);
        QVERIFY2(gap >= period && gap <= period + 1, qPrintable(QString::number(gap)));
    }
}

void TestPeerWindshield::modeOffFinishesTheWipeThenParks()
{
    WiperWatch watch;
    watch.receive();
    watch.setMode(WindshieldUnit::Fast);
    watch.runFor(200); // a few steps out
    QVERIFY(watch.arm > 0 && watch.arm < 16);
    watch.setMode(WindshieldUnit::Off);
    watch.runFor(3000);
    QCOMPARE(watch.steps, 32);
    QCOMPARE(watch.arm, 0);
    QCOMPARE(watch.pattern, 6);
}

void TestPeerWindshield::intervalWipesEveryFourSeconds()
{
    WiperWatch watch;
    watch.now = 500;
    watch.receive();
    watch.setMode(WindshieldUnit::Interval);
    watch.runFor(12400);
    QCOMPARE(watch.wipeStarts, (QVector<Millis>{500, 4500, 8500, 12500}));
    watch.setMode(WindshieldUnit::Off);
    watch.runFor(10000);
    QCOMPARE(watch.wipes, 4);
    QCOMPARE(watch.arm, 0);
}

void TestPeerWindshield::automaticWipesAboveTheThreshold_data()
{
    QTest::addColumn<int>("sensor");
    QTest::addColumn<bool>("wipes");
    QTest::newRow("0") << 0 << false;
    QTest::newRow("2000") << 2000 << false;
    QTest::newRow("2001") << 2001 << true;
    QTest::newRow("3785") << 3785 << true;
}

void TestPeerWindshield::automaticWipesAboveTheThreshold()
{
    QFETCH(int, sensor);
    QFETCH(bool, wipes);
    WiperWatch watch;
    watch.state.setWindshieldDistanceSensor(sensor);
    watch.setMode(WindshieldUnit::Automatic);
    watch.runFor(3000);
    QCOMPARE(watch.wipes > 1, wipes);
    QCOMPARE(watch.steps > 0, wipes);

    // Below the threshold again: the wipe under way ends, no new one starts.
    watch.state.setWindshieldDistanceSensor(310);
    watch.receive();
    watch.runFor(3000);
    const int wipesSoFar = watch.wipes;
    QCOMPARE(watch.arm, 0);
    watch.runFor(3000);
    QCOMPARE(watch.wipes, wipesSoFar);
}

void TestPeerWindshield::washRunsPumpWipesAndAddsTwo()
{
    WiperWatch watch;
    watch.receive();
    watch.state.setCockpitWindshieldWasherPump(1);
    watch.receive();
    QVERIFY(driven(watch.unit, watch.now).value("windshieldWasherPump").toBool());
    watch.runFor(2000); // one wipe done, the second under way
    QCOMPARE(watch.wipes, 1);
    watch.state.setCockpitWindshieldWasherPump(0);
    watch.receive();
    QVERIFY(!driven(watch.unit, watch.now).value("windshieldWasherPump").toBool());
    watch.runFor(10000);
    // The wipe under way at the release, then two more.
    QCOMPARE(watch.wipes, 4);
    QCOMPARE(watch.arm, 0);
    QCOMPARE(watch.badChanges, 0);
}

void TestPeerWindshield::lateTicksNeverJumpAStep()
{
    // A stalled caller: the unit is advanced only every 100 ms, nearly four step periods of the fast
    // mode. Each call takes one step, never a jump the program would ignore.
    WindshieldUnit unit;
    VirtualPlatformDataModel state;
    state.setCockpitWindshieldWasherMode(WindshieldUnit::Fast);
    unit.receive(state, 0);
    int pattern = 6;
    for (Millis now = 0; now < 2000; now += 100) {
        unit.advance(now);
        const int next = patternOf(driven(unit, now));
        QVERIFY(viewStep(pattern, next) != 0);
        pattern = next;
    }
}

void TestPeerWindshield::heater_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("temperature");
    QTest::addColumn<bool>("on");
    QTest::newRow("off, cold") << 0 << -20 << false;
    QTest::newRow("manual, warm") << 2 << 30 << true;
    QTest::newRow("auto, 4 °C") << 1 << 4 << true;
    QTest::newRow("auto, 5 °C") << 1 << 5 << false;
    QTest::newRow("auto, 60 °C") << 1 << 60 << false;
}

void TestPeerWindshield::heater()
{
    QFETCH(int, mode);
    QFETCH(int, temperature);
    QFETCH(bool, on);
    WindshieldUnit unit;
    VirtualPlatformDataModel state;
    state.setCockpitWindshieldHeater(mode);
    state.setCockpitTemperature(temperature);
    unit.receive(state, 0);
    QCOMPARE(driven(unit, 0).value("windshieldHeater").toBool(), on);
}

QTEST_GUILESS_MAIN(TestPeerWindshield)
#include "tst_peer_windshield.moc"
