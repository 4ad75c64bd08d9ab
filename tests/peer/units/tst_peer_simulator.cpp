// The simulator as a whole, without sockets: which documents it sends and when, and how it takes
// datagrams in.

#include "PeerTestSupport.h"
#include "VirtualPlatformDataModel.h"
#include "units/DocumentBuilder.h"
#include "units/Simulator.h"

#include <QMetaProperty>
#include <QSignalSpy>
#include <QtTest>

using namespace Peer;
using PeerTest::datagramOf;
using PeerTest::patternOf;
using PeerTest::viewStep;

namespace {

// The whole state of a program's model, with some values set.
QJsonObject fullState(const QJsonObject& values = {})
{
    VirtualPlatformDataModel model;
    QJsonObject state;
    model.serializeJson(state);
    for (auto member = values.constBegin(); member != values.constEnd(); ++member)
        state.insert(member.key(), member.value());
    return state;
}

QJsonObject sentAt(const QSignalSpy& spy, int index)
{
    return spy.at(index).at(1).toJsonObject();
}

// Ticks every `step` ms for `duration` ms.
void run(Simulator& simulator, ManualClock& clock, Millis duration, Millis step = 5)
{
    for (Millis elapsed = 0; elapsed < duration; elapsed += step) {
        clock.advance(step);
        simulator.tick();
    }
}

} // namespace

class TestPeerSimulator : public QObject
{
    Q_OBJECT

private slots:
    void firstTickSendsEveryDrivenValue();
    void afterwardsOnlyChangesAreSent();
    void receivedDocumentIsAnsweredAtOnce();
    void acknowledgementIsAnsweredWithZero();
    void restartedProgramIsSetRight();
    void aReportThatCrossedAnOutputDoesNotHideIt();
    void everyWiperStepIsADocumentOfItsOwn();
    void echoesOfItsOwnOutputsAreNoNews();
    void rejectedDatagramsAreReportedAndApplyNothing_data();
    void rejectedDatagramsAreReportedAndApplyNothing();
    void watchingOnlySendsNothing();
};

void TestPeerSimulator::firstTickSendsEveryDrivenValue()
{
    ManualClock clock;
    Simulator simulator(clock);
    QSignalSpy sent(&simulator, &Simulator::documentSent);
    simulator.tick();
    QCOMPARE(sent.count(), 1);
    const QJsonObject document = sentAt(sent, 0);

    // The 27 outputs the control units own (the fog and reversing lights have no input) and the
    // acknowledgement; no other input.
    QCOMPARE(document.size(), 28);
    for (const QString& key : document.keys()) {
        const bool input = key.startsWith("cockpit") || key.endsWith("Button") || key.endsWith("Sensor");
        QVERIFY2(!input || key == "cockpitAlarmReset", qPrintable(key));
    }
    // Each value has its property's type, so the program applies all of them.
    const QMetaObject& meta = VirtualPlatformDataModel::staticMetaObject;
    for (auto member = document.constBegin(); member != document.constEnd(); ++member) {
        const int index = meta.indexOfProperty(member.key().toLatin1().constData());
        QVERIFY2(index >= meta.propertyOffset(), qPrintable(member.key()));
        const bool truthValue = meta.property(index).userType() == QMetaType::Bool;
        QVERIFY2(truthValue ? member.value().isBool() : member.value().isDouble(), qPrintable(member.key()));
    }
    QCOMPARE(patternOf(document), 6);
    QCOMPARE(document.value("alarmGenericLightUp"), QJsonValue(true));
}

void TestPeerSimulator::afterwardsOnlyChangesAreSent()
{
    ManualClock clock;
    Simulator simulator(clock);
    simulator.tick();
    QSignalSpy sent(&simulator, &Simulator::documentSent);
    // Nothing changes for the first half second: no document at all.
    run(simulator, clock, 495);
    QCOMPARE(sent.count(), 0);
    run(simulator, clock, 10);
    QCOMPARE(sent.count(), 1);
    QCOMPARE(sentAt(sent, 0), QJsonObject({{"alarmGenericLightUp", false},
                                           {"lightGenericLightUp", false},
                                           {"windshieldGenericLightUp", false}}));
    // Ten seconds of heartbeat: two documents a second, nothing else.
    run(simulator, clock, 10000);
    QCOMPARE(sent.count(), 21);
}

void TestPeerSimulator::receivedDocumentIsAnsweredAtOnce()
{
    ManualClock clock;
    Simulator simulator(clock);
    QSignalSpy first(&simulator, &Simulator::documentSent);
    simulator.tick();
    // The program holds what the peer sent first, and the cockpit turns the low beam on.
    QJsonObject program = fullState(sentAt(first, 0));
    program.insert("cockpitIgnition", 1);
    program.insert("cockpitLightSwitch", 3);
    QSignalSpy sent(&simulator, &Simulator::documentSent);
    clock.advance(100);
    simulator.handleDatagram(datagramOf(program));
    QCOMPARE(sent.count(), 1);
    QCOMPARE(sent.at(0).at(0).toLongLong(), 100);
    QCOMPARE(sentAt(sent, 0), QJsonObject({{"lightBacklight", true}, {"lightLowerBeamHeadlight", true}}));
    QCOMPARE(sent.at(0).at(2).toJsonObject(),
             QJsonObject({{"lightBacklight", false}, {"lightLowerBeamHeadlight", false}}));
}

void TestPeerSimulator::acknowledgementIsAnsweredWithZero()
{
    ManualClock clock;
    Simulator simulator(clock);
    simulator.tick();
    QJsonObject state = fullState({{"alarmGenericLightUp", true},
                                   {"lightGenericLightUp", true},
                                   {"windshieldGenericLightUp", true},
                                   {"windshieldWiperB", true},
                                   {"windshieldWiperC", true}});
    QSignalSpy sent(&simulator, &Simulator::documentSent);
    state.insert("cockpitAlarmReset", 1);
    simulator.handleDatagram(datagramOf(state));
    QCOMPARE(sent.count(), 1);
    QCOMPARE(sentAt(sent, 0), QJsonObject({{"cockpitAlarmReset", 0}}));

    // Reported back as 0: nothing more to say.
    state.insert("cockpitAlarmReset", 0);
    simulator.handleDatagram(datagramOf(state));
    QCOMPARE(sent.count(), 1);
    // Pressed again: answered again.
    state.insert("cockpitAlarmReset", 1);
    simulator.handleDatagram(datagramOf(state));
    QCOMPARE(sent.count(), 2);
}

void TestPeerSimulator::restartedProgramIsSetRight()
{
    ManualClock clock;
    Simulator simulator(clock);
    simulator.handleDatagram(datagramOf(fullState({{"cockpitIgnition", 1}, {"cockpitLightSwitch", 4}})));
    simulator.tick();
    QSignalSpy sent(&simulator, &Simulator::documentSent);
    // A program that starts afresh reports all its outputs off, with the same cockpit values.
    clock.advance(DocumentBuilder::inFlight + 10);
    simulator.handleDatagram(datagramOf(fullState({{"cockpitIgnition", 1}, {"cockpitLightSwitch", 4}})));
    QCOMPARE(sent.count(), 1);
    const QJsonObject document = sentAt(sent, 0);
    for (const char* key : {"lightUpperBeamHeadlight", "lightLowerBeamHeadlight", "lightBacklight",
                            "alarmGenericLightUp", "windshieldWiperB", "windshieldWiperC"})
        QCOMPARE(document.value(key), QJsonValue(true));
    QVERIFY(!document.contains("lightDaylight")); // off on both sides
}

void TestPeerSimulator::aReportThatCrossedAnOutputDoesNotHideIt()
{
    // The left indicator lights; the program's document (from before it applied that) arrives a
    // moment later with the stalk moved right: the left one must be switched off again.
    ManualClock clock;
    Simulator simulator(clock);
    QJsonObject program = fullState({{"cockpitIgnition", 1}, {"cockpitIndicator", -1}});
    simulator.handleDatagram(datagramOf(program));
    QSignalSpy sent(&simulator, &Simulator::documentSent);
    clock.advance(1);
    simulator.tick();
    program.insert("cockpitIndicator", 1);
    simulator.handleDatagram(datagramOf(program)); // still reports lightIndicatorLeft false
    QVERIFY(sent.count() >= 1);
    QCOMPARE(sentAt(sent, sent.count() - 1).value("lightIndicatorLeft"), QJsonValue(false));
    QCOMPARE(sentAt(sent, sent.count() - 1).value("lightIndicatorRight"), QJsonValue(true));
}

void TestPeerSimulator::everyWiperStepIsADocumentOfItsOwn()
{
    ManualClock clock;
    Simulator simulator(clock);
    simulator.tick();
    QSignalSpy sent(&simulator, &Simulator::documentSent);
    simulator.handleDatagram(datagramOf(fullState({{"cockpitWindshieldWasherMode", 1}})));
    run(simulator, clock, 200, 1);
    simulator.handleDatagram(datagramOf(fullState({{"cockpitWindshieldWasherMode", 0}})));
    run(simulator, clock, 3000, 1);

    // Play the documents into the program's state and evaluate the phases once per document.
    QJsonObject program = fullState({{"windshieldWiperB", true}, {"windshieldWiperC", true}});
    int pattern = 6;
    int arm = 0;
    int steps = 0;
    for (int index = 0; index < sent.count(); ++index) {
        const QJsonObject document = sentAt(sent, index);
        for (auto member = document.constBegin(); member != document.constEnd(); ++member)
            program.insert(member.key(), member.value());
        const int next = patternOf(program);
        if (next == pattern)
            continue;
        const int step = viewStep(pattern, next);
        QVERIFY2(
            step != 0,
            qPrintable(QStringLiteral("document %1 jumps from %2 to %3").arg(index).arg(pattern).arg(next)));
        arm += step;
        pattern = next;
        ++steps;
    }
    QCOMPARE(steps, 32);
    QCOMPARE(arm, 0);
    QCOMPARE(pattern, 6);
}

void TestPeerSimulator::echoesOfItsOwnOutputsAreNoNews()
{
    ManualClock clock;
    Simulator simulator(clock);
    simulator.tick(); // sends alarmGenericLightUp true, among others
    QSignalSpy received(&simulator, &Simulator::documentReceived);
    simulator.handleDatagram(datagramOf(fullState({{"alarmGenericLightUp", true}, {"cockpitVelocity", 50}})));
    QCOMPARE(received.count(), 1);
    QCOMPARE(received.at(0).at(2).toJsonObject(), QJsonObject({{"cockpitVelocity", 50}}));
    QCOMPARE(received.at(0).at(3).toJsonObject(), QJsonObject({{"cockpitVelocity", 0}}));
}

void TestPeerSimulator::rejectedDatagramsAreReportedAndApplyNothing_data()
{
    // What the rules make of a datagram is their own test's; here: what the simulator does with it.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<quint32>("sender");
    QTest::addColumn<QString>("rejection"); // part of the reason given, empty for none

    const QByteArray text = R"({"cockpitIgnition":1})";
    QTest::newRow("a document") << text << quint32(0x7f000001) << "";
    QTest::newRow("not from loopback")
        << text << quint32(0xc0a80105) << "from 192.168.1.5, not a loopback address";
    QTest::newRow("not JSON") << QByteArray("{cockpitIgnition:1}") << quint32(0x7f000001)
                              << "not a JSON object (19 bytes";
    QTest::newRow("receive error") << QByteArray() << quint32(0) << "receive error 104";
}

void TestPeerSimulator::rejectedDatagramsAreReportedAndApplyNothing()
{
    QFETCH(QByteArray, bytes);
    QFETCH(quint32, sender);
    QFETCH(QString, rejection);

    ManualClock clock;
    Simulator simulator(clock);
    simulator.tick();
    QSignalSpy rejected(&simulator, &Simulator::datagramRejected);
    QSignalSpy sent(&simulator, &Simulator::documentSent);
    if (sender == 0)
        simulator.handleReceiveError(104);
    else
        simulator.handleDatagram(StateDatagram::receive(bytes.constData(), std::size_t(bytes.size()),
                                                        std::size_t(bytes.size()), sender));
    QCOMPARE(simulator.state().getCockpitIgnition(), rejection.isEmpty() ? 1 : 0);
    QCOMPARE(rejected.count(), rejection.isEmpty() ? 0 : 1);
    if (!rejection.isEmpty())
        QVERIFY2(rejected.at(0).at(1).toString().contains(rejection),
                 qPrintable(rejected.at(0).at(1).toString()));
    QCOMPARE(sent.count(), 0); // nothing new to drive either way

    // It goes on working.
    simulator.handleDatagram(datagramOf({{"cockpitIgnition", 1}, {"cockpitLightSwitch", 2}}));
    QCOMPARE(sent.count(), 1);
    QCOMPARE(sentAt(sent, 0), QJsonObject({{"lightDaylight", true}}));
}

void TestPeerSimulator::watchingOnlySendsNothing()
{
    ManualClock clock;
    Simulator simulator(clock);
    simulator.setDriving(false);
    QSignalSpy sent(&simulator, &Simulator::documentSent);
    QSignalSpy received(&simulator, &Simulator::documentReceived);
    simulator.tick();
    simulator.handleDatagram(datagramOf(fullState({{"cockpitAlarmReset", 1}, {"cockpitLightSwitch", 3}})));
    run(simulator, clock, 2000);
    QCOMPARE(sent.count(), 0);
    QCOMPARE(received.count(), 1);
    QCOMPARE(received.at(0).at(2).toJsonObject(),
             QJsonObject({{"cockpitAlarmReset", 1}, {"cockpitLightSwitch", 3}}));
}

QTEST_GUILESS_MAIN(TestPeerSimulator)
#include "tst_peer_simulator.moc"
