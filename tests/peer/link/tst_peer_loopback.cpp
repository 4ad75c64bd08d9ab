// One end-to-end exchange over the loopback interface: the program's own link (state model and
// link thread) on one side, the peer's socket and control units on the other, both on free ports.

#include "PeerTestSupport.h"
#include "VirtualPlatformDataManager.h"
#include "VirtualPlatformDataModel.h"
#include "link/PeerLink.h"
#include "units/Clock.h"
#include "units/Simulator.h"

#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using namespace Peer;

class TestPeerLoopback : public QObject
{
    Q_OBJECT

private slots:
    void programAndPeerExchangeDocuments();
};

void TestPeerLoopback::programAndPeerExchangeDocuments()
{
    PeerLink link;
    QCOMPARE(link.open(0, 9), QString());
    const int peerPort = link.listeningPort();
    QVERIFY(peerPort > 0);

    VirtualPlatformDataModel model;
    VirtualPlatformDataManager::Endpoints endpoints;
    endpoints.receivePort = 0;
    endpoints.transmitPort = peerPort;
    VirtualPlatformDataManager manager(&model, endpoints);
    QVERIFY(manager.receivePort() > 0);
    link.setTargetPort(manager.receivePort());

    SteadyClock clock;
    Simulator simulator(clock);
    connect(&link, &PeerLink::received, &simulator, &Simulator::handleDatagram);
    QStringList sendFailures;
    connect(&simulator, &Simulator::documentSent, &link, [&](qint64, const QJsonObject& document) {
        const QString failure = link.send(document);
        if (!failure.isEmpty())
            sendFailures << failure;
    });
    QSignalSpy received(&simulator, &Simulator::documentReceived);
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, &simulator, &Simulator::tick);

    // The program's windshield module, as far as the phases go: evaluated once per applied document.
    int pattern = 6;
    int arm = 0;
    int steps = 0;
    int ignored = 0;
    connect(&model, &VirtualPlatformDataModel::remoteBasedDataChanged, this, [&] {
        const int next = (model.getWindshieldWiperA() ? 8 : 0) | (model.getWindshieldWiperB() ? 4 : 0) |
                         (model.getWindshieldWiperC() ? 2 : 0) | (model.getWindshieldWiperD() ? 1 : 0);
        if (next == pattern)
            return;
        const int step = PeerTest::viewStep(pattern, next);
        if (step == 0) {
            ++ignored;
            return;
        }
        arm += step;
        ++steps;
        pattern = next;
    });

    manager.start();
    simulator.tick();
    ticker.start(5);

    // The peer's first document: the heartbeat LEDs and the parked wiper.
    QTRY_VERIFY_WITH_TIMEOUT(model.getLightGenericLightUp(), 5000);
    QVERIFY(model.getWindshieldWiperB() && model.getWindshieldWiperC());
    // The heartbeat goes on.
    QTRY_VERIFY_WITH_TIMEOUT(!model.getLightGenericLightUp(), 5000);

    // The cockpit turns the ignition on and the light switch to low beam.
    model.setCockpitIgnition(1);
    model.setCockpitLightSwitch(3);
    emit model.requestTransmit();
    QTRY_VERIFY_WITH_TIMEOUT(model.getLightLowerBeamHeadlight(), 5000);
    QVERIFY(model.getLightBacklight());
    QVERIFY(!model.getLightUpperBeamHeadlight());
    QCOMPARE(simulator.state().getCockpitLightSwitch(), 3);

    // A module button: its setter makes the program transmit by itself.
    model.setAlarmLockButton(true);
    QTRY_VERIFY_WITH_TIMEOUT(model.getAlarmLockLight(), 5000);
    model.setAlarmLockButton(false);

    // The acknowledgement is answered with 0.
    model.setCockpitAlarmReset(1);
    emit model.requestTransmit();
    QTRY_COMPARE_WITH_TIMEOUT(model.getCockpitAlarmReset(), 0, 5000);

    // One single wipe: 32 steps the program follows, back at park.
    model.setCockpitWindshieldWasherMode(1);
    emit model.requestTransmit();
    QTRY_VERIFY_WITH_TIMEOUT(steps > 0, 5000);
    model.setCockpitWindshieldWasherMode(0);
    emit model.requestTransmit();
    QTRY_COMPARE_WITH_TIMEOUT(steps, 32, 10000);
    QCOMPARE(arm, 0);
    QCOMPARE(ignored, 0);

    ticker.stop();
    manager.stop();
    link.close();
    QVERIFY2(sendFailures.isEmpty(), qPrintable(sendFailures.join('\n')));
    QVERIFY(received.count() >= 5);
}

QTEST_GUILESS_MAIN(TestPeerLoopback)
#include "tst_peer_loopback.moc"
