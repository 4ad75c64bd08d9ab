#include "SignalRecorder.h"
#include "StateDatagram.h"
#include "StdoutCapture.h"
#include "UdpPorts.h"
#include "VirtualPlatformDataManager.h"
#include "VirtualPlatformDataModel.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkInterface>
#include <QUdpSocket>
#include <QtTest>

#include <memory>

namespace {

// The peer's end of the link: receives what the manager sends and sends to the manager.
struct Peer
{
    QUdpSocket socket;
    int managerPort = 0;

    QList<QByteArray> receiveAll(int waitMs = 200)
    {
        QList<QByteArray> datagrams;
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < waitMs) {
            if (socket.hasPendingDatagrams() || socket.waitForReadyRead(20)) {
                while (socket.hasPendingDatagrams()) {
                    QByteArray data(int(socket.pendingDatagramSize()), '\0');
                    socket.readDatagram(data.data(), data.size());
                    datagrams << data;
                }
            }
        }
        return datagrams;
    }

    void send(const QByteArray& datagram)
    {
        QCOMPARE(socket.writeDatagram(datagram, QHostAddress::LocalHost, quint16(managerPort)),
                 qint64(datagram.size()));
    }
};

QByteArray framed(const QByteArray& text)
{
    QByteArray datagram(int(StateDatagram::size), '\0');
    std::copy(text.begin(), text.end(), datagram.begin());
    return datagram;
}

} // namespace

class DataManagerTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void everyEmissionSendsOneFullDatagram();
    void transmissionIsTracedIndented();
    void receiveCycle_data();
    void receiveCycle();
    void shortDatagramsAreSeparateDocuments();
    void busySceneBoundsTheBacklogAndKeepsEveryValue();
    void datagramFromAnotherMachineIsDropped();
    void appliedDocumentReachesTheMainThreadInOrder();
    void traceBlocksOfBothThreadsStayWhole();
    void stopEndsTheLinkThreadPromptly();

private:
    void startManager();

    std::unique_ptr<VirtualPlatformDataModel> model;
    std::unique_ptr<VirtualPlatformDataManager> manager;
    std::unique_ptr<Peer> peer;
};

void DataManagerTest::init()
{
    model = std::make_unique<VirtualPlatformDataModel>();
    peer = std::make_unique<Peer>();
    QVERIFY(peer->socket.bind(QHostAddress(QHostAddress::LocalHost), 0));
    peer->managerPort = freeUdpPort();
    VirtualPlatformDataManager::Endpoints endpoints;
    endpoints.receivePort = peer->managerPort;
    endpoints.transmitPort = peer->socket.localPort();
    manager = std::make_unique<VirtualPlatformDataManager>(model.get(), endpoints);
}

void DataManagerTest::cleanup()
{
    manager.reset();
    peer.reset();
    model.reset();
}

void DataManagerTest::startManager()
{
    manager->start();
    QTRY_VERIFY(manager->isRunning());
}

void DataManagerTest::everyEmissionSendsOneFullDatagram()
{
    StdoutCapture quiet;
    model->setAlarmAlarmButton(true); // module input: one transmission
    model->setCockpitVelocity(80);    // cockpit input alone: none
    emit model->requestTransmit();    // request: one transmission
    model->setAlarmAlarmButton(true); // unchanged: none
    model->setLightDaylight(true);    // module output: none
    const auto datagrams = peer->receiveAll();
    QCOMPARE(datagrams.size(), 2);

    for (const QByteArray& datagram : datagrams) {
        QCOMPARE(datagram.size(), 4096);
        const QByteArray text = StateDatagram::textOf(datagram.constData(), 4096);
        QVERIFY(!text.contains('\n') && !text.contains(' '));
        QVERIFY(datagram.mid(text.size()).count('\0') == 4096 - text.size());
        const QJsonObject document = QJsonDocument::fromJson(text).object();
        QCOMPARE(document.size(), 49);
        QCOMPARE(document.value("alarmAlarmButton").toBool(), true);
    }
    QCOMPARE(QJsonDocument::fromJson(StateDatagram::textOf(datagrams[0].constData(), 4096))
                 .object()
                 .value("cockpitVelocity")
                 .toInt(),
             0);
    QCOMPARE(QJsonDocument::fromJson(StateDatagram::textOf(datagrams[1].constData(), 4096))
                 .object()
                 .value("cockpitVelocity")
                 .toInt(),
             80);
}

void DataManagerTest::transmissionIsTracedIndented()
{
    StdoutCapture capture;
    emit model->requestTransmit();
    capture.restore();
    const QByteArray trace = capture.text();
    QVERIFY(trace.startsWith("Transmitting:\n{\n    \"alarmAlarmButton\": false,\n"));
    QVERIFY(trace.endsWith("    \"windshieldWiperD\": false\n}\n\n\n"));
}

void DataManagerTest::receiveCycle_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<QByteArray>("expectedTrace");
    QTest::addColumn<int>("expectedVelocity");

    const QByteArray document = R"({"cockpitVelocity":42})";
    QTest::newRow("short document") << document
                                    << QByteArray(
                                           "\treceived bytes: 22\n\treceived str len: 22\nReceived string:\n"
                                           "{\n    \"cockpitVelocity\": 42\n}\n\nValid elements found: 1\n\n")
                                    << 42;
    QTest::newRow("framed like the program's own")
        << framed(document) << QByteArray("\treceived bytes: 4096\n\treceived str len: 22\n") << 42;
    QByteArray padded = document + QByteArray(4096 - document.size(), ' ');
    QTest::newRow("4096 bytes without a NUL") << padded << QByteArray("\treceived str len: 4096\n") << 42;
    QTest::newRow("text ends at the first NUL")
        << document + QByteArray("\0garbage", 8)
        << QByteArray("\treceived bytes: 30\n\treceived str len: 22\n") << 42;
    QTest::newRow("longer than 4096 bytes")
        << padded + ' ' << QByteArray("\tdropped a datagram longer than 4096 bytes (4097 bytes)\n") << 0;
    QTest::newRow("empty") << QByteArray()
                           << QByteArray("\treceived bytes: 0\n\treceived str len: 0\nReceived string:\n\n"
                                         "Valid elements found: 0\n\n")
                           << 0;
    QTest::newRow("not JSON") << QByteArray("cockpitVelocity=42")
                              << QByteArray("Received string:\n\nValid elements found: 0\n\n") << 0;
    QTest::newRow("top-level array") << QByteArray(R"([{"cockpitVelocity":42}])")
                                     << QByteArray("Valid elements found: 0\n\n") << 0;
    QTest::newRow("document cut short")
        << QByteArray(R"({"cockpitVelocity":42)") << QByteArray("Valid elements found: 0\n\n") << 0;
}

void DataManagerTest::receiveCycle()
{
    QFETCH(QByteArray, datagram);
    QFETCH(QByteArray, expectedTrace);
    QFETCH(int, expectedVelocity);

    StdoutCapture capture;
    startManager();
    QTRY_VERIFY(capture.text().contains("Waiting for data...\n"));
    peer->send(datagram);
    QTRY_VERIFY(capture.text().count("Waiting for data...\n") == 2);
    QCOMPARE(model->getCockpitVelocity(), expectedVelocity);

    // The loop goes on and the next document stands on its own.
    peer->send(R"({"cockpitBrake":3})");
    QTRY_COMPARE(model->getCockpitBrake(), 3);
    QCOMPARE(model->getCockpitVelocity(), expectedVelocity);
    capture.restore();
    const QByteArray trace = capture.text();
    QVERIFY2(trace.contains(expectedTrace), trace.constData());
}

void DataManagerTest::shortDatagramsAreSeparateDocuments()
{
    StdoutCapture quiet;
    startManager();
    QSignalSpy applied(model.get(), &VirtualPlatformDataModel::remoteBasedDataChanged);
    // A burst of short documents, fewer than would make the link catch up by merging: every one is
    // applied on its own, none is glued to the next.
    const int burst = 20;
    for (int i = 1; i < burst; ++i)
        peer->send(QByteArray("{\"cockpitTemperature\":") + QByteArray::number(i) + "}");
    peer->send(R"({"lightBrakelight":true})");
    QTRY_COMPARE(applied.count(), burst);
    QCOMPARE(model->getCockpitTemperature(), burst - 1);
    QCOMPARE(model->getLightBrakelight(), true);
}

void DataManagerTest::busySceneBoundsTheBacklogAndKeepsEveryValue()
{
    StdoutCapture capture;
    SignalRecorder recorder(model.get());
    startManager();
    // The main thread is busy (delivers no queued signals) while the peer sends far more documents
    // than the link lets wait; each carries its own key besides the common one.
    const int documents = VirtualPlatformDataManager::maxPendingDocuments + 60;
    for (int i = 1; i <= documents; ++i) {
        QByteArray document = "{\"cockpitTemperature\":" + QByteArray::number(i);
        if (i == documents - 10)
            document += ",\"lightBrakelight\":true";
        if (i == documents - 5)
            document += ",\"alarmLockLight\":true";
        peer->send(document + "}");
        if (i % 50 == 0)
            QTest::qSleep(20); // let the socket drain into the link thread
    }
    QTest::qSleep(300);
    // The scene catches up: no value is lost, the newest one wins, and the scene saw at most as
    // many documents' signals as the link lets wait, plus the merged one.
    QTRY_COMPARE(model->getCockpitTemperature(), documents);
    QTRY_COMPARE(recorder.names().last(), QString("remoteBasedDataChanged"));
    QVERIFY(model->getLightBrakelight());
    QVERIFY(model->getAlarmLockLight());
    QTest::qWait(100);
    const int delivered = recorder.names().count("remoteBasedDataChanged");
    QVERIFY2(delivered <= VirtualPlatformDataManager::maxPendingDocuments + 2,
             qPrintable(QString::number(delivered)));
    capture.restore();
    QVERIFY(capture.text().contains("later documents into this one to catch up\n"));
}

void DataManagerTest::datagramFromAnotherMachineIsDropped()
{
    QHostAddress external;
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
            external = address;
    }
    if (external.isNull())
        QSKIP("this machine has no address outside the loopback network");

    StdoutCapture capture;
    startManager();
    QUdpSocket stranger;
    QVERIFY(stranger.bind(external, 0));
    stranger.writeDatagram(R"({"cockpitVelocity":99})", QHostAddress::LocalHost, quint16(peer->managerPort));
    QTRY_VERIFY(capture.text().contains("\tdropped a datagram from " + external.toString().toLatin1() +
                                        ", not a loopback address\n"));
    QCOMPARE(model->getCockpitVelocity(), 0);
}

void DataManagerTest::appliedDocumentReachesTheMainThreadInOrder()
{
    StdoutCapture quiet;
    SignalRecorder recorder(model.get()); // lives in the main thread: receives queued calls
    startManager();
    peer->send(R"({"windshieldWiperA":true,"alarmLockButton":true,"lightDaylight":true,"cockpitBrake":1})");
    QTRY_VERIFY(recorder.names().contains("remoteBasedDataChanged"));
    QCOMPARE(recorder.names(),
             (QStringList{"cockpitBrakeChanged", "alarmLockButtonChanged", "localBasedDataChanged",
                          "lightDaylightChanged", "windshieldWiperAChanged", "remoteBasedDataChanged"}));
    // The changed module input makes the main thread transmit the whole state once.
    const auto datagrams = peer->receiveAll(300);
    QCOMPARE(datagrams.size(), 1);
    QCOMPARE(QJsonDocument::fromJson(StateDatagram::textOf(datagrams[0].constData(), 4096))
                 .object()
                 .value("alarmLockButton")
                 .toBool(),
             true);
}

void DataManagerTest::traceBlocksOfBothThreadsStayWhole()
{
    StdoutCapture capture;
    startManager();
    for (int i = 0; i < 200; ++i) {
        peer->send(QByteArray("{\"cockpitTemperature\":") + QByteArray::number(i) + "}");
        emit model->requestTransmit();
    }
    QTRY_COMPARE(model->getCockpitTemperature(), 199);
    capture.restore();
    const QByteArray trace = capture.text();

    // Every transmission block runs from "Transmitting:" to its closing brace without a line of
    // the link thread in between.
    int blocks = 0;
    for (int at = trace.indexOf("Transmitting:\n"); at >= 0; at = trace.indexOf("Transmitting:\n", at + 1)) {
        const int end = trace.indexOf("\n}\n", at);
        QVERIFY(end > at);
        const QByteArray block = trace.mid(at, end - at);
        QVERIFY2(!block.contains("Waiting") && !block.contains("received") && !block.contains("Valid"),
                 block.constData());
        QCOMPARE(block.count('\n'), 50);
        ++blocks;
    }
    QCOMPARE(blocks, 200);
}

void DataManagerTest::stopEndsTheLinkThreadPromptly()
{
    StdoutCapture quiet;
    startManager();
    QElapsedTimer timer;
    timer.start();
    manager->stop();
    QVERIFY(timer.elapsed() < 1000);
    QVERIFY(manager->isFinished());
    manager->stop(); // a second stop is harmless

    // A manager that never ran stops at once too.
    VirtualPlatformDataModel otherModel;
    VirtualPlatformDataManager::Endpoints endpoints;
    endpoints.receivePort = freeUdpPort();
    endpoints.transmitPort = peer->socket.localPort();
    VirtualPlatformDataManager idle(&otherModel, endpoints);
    idle.stop();
}

QTEST_GUILESS_MAIN(DataManagerTest)
#include "tst_datamanager.moc"
