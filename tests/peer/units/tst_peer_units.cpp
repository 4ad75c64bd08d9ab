// The lights, alarm and generic-board control units, driven by hand-stepped time.

#include "PeerTestSupport.h"
#include "VirtualPlatformDataModel.h"
#include "units/AlarmUnit.h"
#include "units/GenericBoardUnit.h"
#include "units/LightsUnit.h"

#include <QtTest>

using namespace Peer;
using PeerTest::driven;
using PeerTest::lit;

class TestPeerUnits : public QObject
{
    Q_OBJECT

private slots:
    void headlightsFollowSwitchSensorAndIgnition_data();
    void headlightsFollowSwitchSensorAndIgnition();
    void indicatorsBlinkAtOneAndAHalfHertz_data();
    void indicatorsBlinkAtOneAndAHalfHertz();
    void hazardLightsNeedNoIgnition_data();
    void hazardLightsNeedNoIgnition();
    void hazardAndIndicatorFlashTogether();
    void brakeLightByMode_data();
    void brakeLightByMode();

    void lockButtonTogglesArmedOnPress();
    void alarmGoesOffOnlyWhileArmed();
    void alarmLampBlinksAtTwoHertzUntilAcknowledged();

    void heartbeatBlinksAtOneHertz();
    void nextEdgeIsWhereTheLampTurns_data();
    void nextEdgeIsWhereTheLampTurns();
    void boardButtonLightsAllFourLeds_data();
    void boardButtonLightsAllFourLeds();
};

void TestPeerUnits::headlightsFollowSwitchSensorAndIgnition_data()
{
    QTest::addColumn<int>("ignition");
    QTest::addColumn<int>("lightSwitch");
    QTest::addColumn<bool>("daylight");
    QTest::addColumn<QString>("lit"); // the lamps lit: d daytime, l low, h high, b back

    QTest::newRow("off") << 1 << 0 << false << "";
    QTest::newRow("auto, night") << 1 << 1 << false << "lb";
    QTest::newRow("auto, day") << 1 << 1 << true << "d";
    QTest::newRow("daytime") << 1 << 2 << false << "d";
    QTest::newRow("low beam") << 1 << 3 << true << "lb";
    QTest::newRow("high beam") << 1 << 4 << false << "lhb";
    QTest::newRow("high beam, ignition off") << 0 << 4 << false << "";
    QTest::newRow("auto night, ignition off") << 0 << 1 << false << "";
    QTest::newRow("unknown position") << 1 << 7 << false << "";
}

void TestPeerUnits::headlightsFollowSwitchSensorAndIgnition()
{
    QFETCH(int, ignition);
    QFETCH(int, lightSwitch);
    QFETCH(bool, daylight);
    QFETCH(QString, lit);

    VirtualPlatformDataModel state;
    state.setCockpitIgnition(ignition);
    state.setCockpitLightSwitch(lightSwitch);
    state.setWindshieldLightSensor(daylight);
    LightsUnit lights;
    lights.receive(state, 0);
    const QJsonObject out = driven(lights, 0);

    QCOMPARE(out.value("lightDaylight").toBool(), lit.contains('d'));
    QCOMPARE(out.value("lightLowerBeamHeadlight").toBool(), lit.contains('l'));
    QCOMPARE(out.value("lightUpperBeamHeadlight").toBool(), lit.contains('h'));
    QCOMPARE(out.value("lightBacklight").toBool(), lit.contains('b'));
    QVERIFY(!out.value("lightIndicatorLeft").toBool());
    QVERIFY(!out.value("lightBrakelight").toBool());
}

void TestPeerUnits::indicatorsBlinkAtOneAndAHalfHertz_data()
{
    QTest::addColumn<int>("stalk");
    QTest::addColumn<bool>("left");
    QTest::addColumn<bool>("right");
    QTest::newRow("-2") << -2 << true << false;
    QTest::newRow("-1") << -1 << true << false;
    QTest::newRow("+1") << 1 << false << true;
    QTest::newRow("+2") << 2 << false << true;
}

void TestPeerUnits::indicatorsBlinkAtOneAndAHalfHertz()
{
    QFETCH(int, stalk);
    QFETCH(bool, left);
    QFETCH(bool, right);

    VirtualPlatformDataModel state;
    state.setCockpitIgnition(1);
    LightsUnit lights;
    lights.receive(state, 0);
    const Millis start = 1234; // not aligned to anything
    state.setCockpitIndicator(stalk);
    lights.receive(state, start);

    // Period 666.7 ms, lit for the first half: on at once, off from 333.3 ms, on again at 666.7 ms.
    const struct
    {
        Millis after;
        bool on;
    } expected[] = {{0, true},   {333, true},   {334, false}, {666, false},
                    {667, true}, {1000, false}, {2000, true}};
    for (const auto& sample : expected) {
        const QJsonObject out = driven(lights, start + sample.after);
        QCOMPARE(out.value("lightIndicatorLeft").toBool(), left && sample.on);
        QCOMPARE(out.value("lightIndicatorRight").toBool(), right && sample.on);
    }

    state.setCockpitIndicator(0);
    lights.receive(state, start + 2100);
    QVERIFY(!lit(lights, "lightIndicatorLeft", start + 2100));
    QVERIFY(!lit(lights, "lightIndicatorRight", start + 2100));
}

void TestPeerUnits::hazardLightsNeedNoIgnition_data()
{
    QTest::addColumn<QString>("source");
    QTest::newRow("hazard button") << "button";
    QTest::newRow("extreme emergency braking") << "brake";
    QTest::newRow("alarm") << "alarm";
}

void TestPeerUnits::hazardLightsNeedNoIgnition()
{
    QFETCH(QString, source);
    VirtualPlatformDataModel state;
    state.setCockpitIndicator(2); // the stalk alone does nothing without the ignition
    state.setCockpitBrake(2);     // emergency braking flashes the brake light only
    LightsUnit lights;
    lights.receive(state, 0);
    QVERIFY(!lit(lights, "lightIndicatorLeft", 0));
    QVERIFY(!lit(lights, "lightIndicatorRight", 0));

    const auto turn = [&](bool on, Millis at) {
        if (source == "button")
            state.setCockpitWarnLight(on ? 1 : 0);
        else if (source == "brake")
            state.setCockpitBrake(on ? 3 : 0);
        lights.receive(state, at);
        if (source == "alarm")
            lights.setAlarmFlashing(on, at);
    };
    turn(true, 100);
    QVERIFY(lit(lights, "lightIndicatorLeft", 100));
    QVERIFY(lit(lights, "lightIndicatorRight", 100));
    QVERIFY(!lit(lights, "lightIndicatorRight", 500));
    turn(false, 700);
    QVERIFY(!lit(lights, "lightIndicatorLeft", 700));
    QVERIFY(!lit(lights, "lightIndicatorRight", 767));
}

void TestPeerUnits::hazardAndIndicatorFlashTogether()
{
    VirtualPlatformDataModel state;
    state.setCockpitIgnition(1);
    state.setCockpitIndicator(-1);
    LightsUnit lights;
    lights.receive(state, 0);
    // The hazard joins the running blinker instead of starting one of its own.
    state.setCockpitWarnLight(1);
    lights.receive(state, 200);
    for (Millis t = 200; t < 1500; t += 50)
        QCOMPARE(lit(lights, "lightIndicatorRight", t), lit(lights, "lightIndicatorLeft", t));
    QVERIFY(!lit(lights, "lightIndicatorRight", 400));
}

void TestPeerUnits::brakeLightByMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("flashes");
    QTest::addColumn<bool>("steady");
    QTest::newRow("not braking") << 0 << false << false;
    QTest::newRow("normal") << 1 << false << true;
    QTest::newRow("emergency") << 2 << true << false;
    QTest::newRow("extreme emergency") << 3 << true << false;
}

void TestPeerUnits::brakeLightByMode()
{
    QFETCH(int, mode);
    QFETCH(bool, flashes);
    QFETCH(bool, steady);

    VirtualPlatformDataModel state; // no ignition: the brake light works without it
    state.setCockpitBrake(mode);
    LightsUnit lights;
    lights.receive(state, 1000);

    // 4 Hz: lit for the first 125 ms of every 250 ms.
    for (const Millis after : {0, 124, 125, 249, 250, 875, 999}) {
        const bool firstHalf = after % 250 < 125;
        QCOMPARE(lit(lights, "lightBrakelight", 1000 + after), steady || (flashes && firstHalf));
    }

    state.setCockpitBrake(0);
    lights.receive(state, 2000);
    QVERIFY(!lit(lights, "lightBrakelight", 2000));
}

namespace {

void press(AlarmUnit& alarm, VirtualPlatformDataModel& state, void (VirtualPlatformDataModel::*button)(bool),
           Millis at)
{
    (state.*button)(true);
    alarm.receive(state, at);
    (state.*button)(false);
    alarm.receive(state, at + 100);
}

} // namespace

void TestPeerUnits::lockButtonTogglesArmedOnPress()
{
    VirtualPlatformDataModel state;
    AlarmUnit alarm;
    alarm.receive(state, 0);
    QVERIFY(!alarm.armed());

    state.setAlarmLockButton(true);
    alarm.receive(state, 10);
    QVERIFY(alarm.armed());
    // Further documents while the button is held are not further presses.
    alarm.receive(state, 20);
    state.setAlarmLockButton(false);
    alarm.receive(state, 30);
    QVERIFY(alarm.armed());
    QVERIFY(lit(alarm, "alarmLockLight", 5000)); // steady

    press(alarm, state, &VirtualPlatformDataModel::setAlarmLockButton, 100);
    QVERIFY(!alarm.armed());
    QVERIFY(!lit(alarm, "alarmLockLight", 300));
}

void TestPeerUnits::alarmGoesOffOnlyWhileArmed()
{
    VirtualPlatformDataModel state;
    AlarmUnit alarm;
    press(alarm, state, &VirtualPlatformDataModel::setAlarmAlarmButton, 0);
    QVERIFY(!alarm.alarmGoingOff());

    press(alarm, state, &VirtualPlatformDataModel::setAlarmLockButton, 1000);
    press(alarm, state, &VirtualPlatformDataModel::setAlarmAlarmButton, 2000);
    QVERIFY(alarm.alarmGoingOff());
    // Disarming ends it.
    press(alarm, state, &VirtualPlatformDataModel::setAlarmLockButton, 3000);
    QVERIFY(!alarm.armed());
    QVERIFY(!alarm.alarmGoingOff());
}

void TestPeerUnits::alarmLampBlinksAtTwoHertzUntilAcknowledged()
{
    VirtualPlatformDataModel state;
    AlarmUnit alarm;
    press(alarm, state, &VirtualPlatformDataModel::setAlarmLockButton, 0);
    const Millis start = 1000;
    state.setAlarmAlarmButton(true);
    alarm.receive(state, start);

    QVERIFY(lit(alarm, "alarmAlarmLight", start));
    QVERIFY(lit(alarm, "alarmAlarmLight", start + 249));
    QVERIFY(!lit(alarm, "alarmAlarmLight", start + 250));
    QVERIFY(!lit(alarm, "alarmAlarmLight", start + 499));
    QVERIFY(lit(alarm, "alarmAlarmLight", start + 500));
    // Going on when the button is let go.
    state.setAlarmAlarmButton(false);
    alarm.receive(state, start + 600);
    QVERIFY(alarm.alarmGoingOff());

    state.setCockpitAlarmReset(1);
    alarm.receive(state, start + 3000);
    QVERIFY(!alarm.alarmGoingOff());
    QVERIFY(!lit(alarm, "alarmAlarmLight", start + 3000));
    QVERIFY(alarm.armed()); // acknowledging does not disarm

    // The peer's answer clears the acknowledgement; the next press sets the alarm off again.
    state.setCockpitAlarmReset(0);
    alarm.receive(state, start + 3100);
    press(alarm, state, &VirtualPlatformDataModel::setAlarmAlarmButton, start + 4000);
    QVERIFY(alarm.alarmGoingOff());
}

void TestPeerUnits::heartbeatBlinksAtOneHertz()
{
    GenericBoardUnit board(QStringLiteral("windshield"));
    VirtualPlatformDataModel state;
    board.receive(state, 0);
    for (Millis t = 0; t < 3000; t += 5) {
        const QJsonObject out = driven(board, t);
        QCOMPARE(out.value("windshieldGenericLightUp").toBool(), (t % 1000) < 500);
        QVERIFY(!out.value("windshieldGenericLightLeft").toBool());
    }
}

// Lock-step time jumps to a unit's next change: it must be exactly where the lamp turns, never
// after it (a missed edge) and never at a time where nothing changes but the first edge.
void TestPeerUnits::nextEdgeIsWhereTheLampTurns_data()
{
    QTest::addColumn<int>("millihertz");
    QTest::addColumn<int>("since");
    for (const int millihertz : {1000, 1500, 2000, 3000, 4000})
        for (const int since : {0, 7, 1234})
            QTest::newRow(qPrintable(QString("%1 mHz since %2").arg(millihertz).arg(since)))
                << millihertz << since;
}

void TestPeerUnits::nextEdgeIsWhereTheLampTurns()
{
    QFETCH(int, millihertz);
    QFETCH(int, since);
    Millis now = since;
    for (int edge = 0; edge < 12; ++edge) {
        const Millis next = nextBlinkEdge(since, now, millihertz);
        QVERIFY(next > now);
        for (Millis at = now + 1; at < next; ++at)
            QCOMPARE(blinkLit(since, at, millihertz), blinkLit(since, now, millihertz));
        QVERIFY(blinkLit(since, next, millihertz) != blinkLit(since, now, millihertz));
        now = next;
    }
}

void TestPeerUnits::boardButtonLightsAllFourLeds_data()
{
    QTest::addColumn<QString>("module");
    QTest::newRow("alarm") << "alarm";
    QTest::newRow("light") << "light";
    QTest::newRow("windshield") << "windshield";
}

void TestPeerUnits::boardButtonLightsAllFourLeds()
{
    QFETCH(QString, module);
    GenericBoardUnit board(module);
    VirtualPlatformDataModel state;
    state.setProperty((module + "GenericButton").toLatin1().constData(), true);
    board.receive(state, 0);
    const Millis whileUpIsDark = 700;
    const QJsonObject out = driven(board, whileUpIsDark);
    QCOMPARE(out.size(), 4);
    for (const char* led : {"GenericLightLeft", "GenericLightUp", "GenericLightRight", "GenericLightDown"})
        QVERIFY2(out.value(module + led).toBool(), qPrintable(module + led));

    state.setProperty((module + "GenericButton").toLatin1().constData(), false);
    board.receive(state, whileUpIsDark);
    for (const auto& value : driven(board, whileUpIsDark))
        QVERIFY(!value.toBool());
}

QTEST_GUILESS_MAIN(TestPeerUnits)
#include "tst_peer_units.moc"
