#include "PendingDocuments.h"
#include "SignalRecorder.h"
#include "StateDatagram.h"
#include "StdoutCapture.h"
#include "VirtualPlatformDataManager.h"
#include "VirtualPlatformDataModel.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkInterface>
#include <QUdpSocket>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

QJsonObject documentOf(const QByteArray& datagram)
{
    return QJsonDocument::fromJson(StateDatagram::textOf(datagram.constData(), std::size_t(datagram.size())))
        .object();
}

// The peer's end of the link: receives what the manager sends and sends to the manager.
struct Peer
{
    QUdpSocket socket;
    int managerPort = 0;

    // The datagrams that arrive up to and including the first for which `last` holds, or none when
    // that one does not come within 5 s.
    QList<QByteArray> receiveUntil(const std::function<bool(const QJsonObject&)>& last)
    {
        QList<QByteArray> datagrams;
        QDeadlineTimer deadline(5000);
        while (!deadline.hasExpired()) {
            if (!socket.hasPendingDatagrams() && !socket.waitForReadyRead(int(deadline.remainingTime())))
                break;
            while (socket.hasPendingDatagrams()) {
                QByteArray data(int(socket.pendingDatagramSize()), '\0');
                socket.readDatagram(data.data(), data.size());
                datagrams << data;
                if (last(documentOf(data)))
                    return datagrams;
            }
        }
        return {};
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

// A transmission the test asks for last, to know that every earlier one has arrived.
bool isMarker(const QJsonObject& document)
{
    return document.value("cockpitVelocity").toInt() == 999;
}

int patternOf(const VirtualPlatformDataModel& model)
{
    return (model.getWindshieldWiperA() ? 8 : 0) | (model.getWindshieldWiperB() ? 4 : 0) |
           (model.getWindshieldWiperC() ? 2 : 0) | (model.getWindshieldWiperD() ? 1 : 0);
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
    void malformedDatagramsLeaveTheLinkWorking();
    void everyDocumentOfABurstIsAppliedOnItsOwn();
    void stalledMainThreadBoundsTheBacklogAndKeepsTheNewestValues();
    void pendingDocumentsMergeTheOldestWhenFull();
    void datagramFromAnotherMachineIsDropped();
    void appliedDocumentReachesTheSceneInOrder();
    void traceBlocksOfBothThreadsStayWhole();
    void stopEndsTheLinkThreadPromptly();

private:
    void startManager();
    void sendMarker();

    std::unique_ptr<VirtualPlatformDataModel> model;
    std::unique_ptr<VirtualPlatformDataManager> manager;
    std::unique_ptr<Peer> peer;
};

void DataManagerTest::init()
{
    model = std::make_unique<VirtualPlatformDataModel>();
    peer = std::make_unique<Peer>();
    QVERIFY(peer->socket.bind(QHostAddress(QHostAddress::LocalHost), 0));
    VirtualPlatformDataManager::Endpoints endpoints;
    endpoints.receivePort = 0;
    endpoints.transmitPort = peer->socket.localPort();
    manager = std::make_unique<VirtualPlatformDataManager>(model.get(), endpoints);
    peer->managerPort = manager->receivePort();
    QVERIFY(peer->managerPort > 0);
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

void DataManagerTest::sendMarker()
{
    model->setCockpitVelocity(999);
    emit model->requestTransmit();
}

void DataManagerTest::everyEmissionSendsOneFullDatagram()
{
    StdoutCapture quiet;
    model->setAlarmAlarmButton(true); // module input: one transmission
    model->setCockpitVelocity(80);    // cockpit input alone: none
    emit model->requestTransmit();    // request: one transmission
    model->setAlarmAlarmButton(true); // unchanged: none
    model->setLightDaylight(true);    // module output: none
    sendMarker();
    const auto datagrams = peer->receiveUntil(isMarker);
    QCOMPARE(datagrams.size(), 3);

    for (const QByteArray& datagram : datagrams) {
        QCOMPARE(datagram.size(), 4096);
        const QByteArray text = StateDatagram::textOf(datagram.constData(), 4096);
        QVERIFY(!text.contains('\n') && !text.contains(' '));
        QVERIFY(datagram.mid(text.size()).count('\0') == 4096 - text.size());
        const QJsonObject document = documentOf(datagram);
        QCOMPARE(document.size(), 49);
        QCOMPARE(document.value("alarmAlarmButton").toBool(), true);
    }
    QCOMPARE(documentOf(datagrams[0]).value("cockpitVelocity").toInt(), 0);
    QCOMPARE(documentOf(datagrams[1]).value("cockpitVelocity").toInt(), 80);
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
    // What one receive cycle traces; what the rules make of a datagram is their own test's.
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
    QTest::newRow("longer than 4096 bytes")
        << document + QByteArray(4097 - document.size(), ' ')
        << QByteArray("Waiting for data...\n\tdropped a datagram longer than 4096 bytes (4097 bytes)\n\n"
                      "Waiting for data...\n")
        << 0;
    QTest::newRow("empty") << QByteArray()
                           << QByteArray("\treceived bytes: 0\n\treceived str len: 0\nReceived string:\n\n"
                                         "Valid elements found: 0\n\n")
                           << 0;
    QTest::newRow("not JSON")
        << QByteArray("cockpitVelocity=42")
        << QByteArray("\treceived str len: 18\nReceived string:\n\nValid elements found: 0\n\n") << 0;
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
    QTRY_COMPARE(model->getCockpitVelocity(), expectedVelocity);

    // The loop goes on and the next document stands on its own.
    peer->send(R"({"cockpitBrake":3})");
    QTRY_COMPARE(model->getCockpitBrake(), 3);
    QCOMPARE(model->getCockpitVelocity(), expectedVelocity);
    capture.restore();
    const QByteArray trace = capture.text();
    QVERIFY2(trace.contains(expectedTrace), trace.constData());
}

void DataManagerTest::malformedDatagramsLeaveTheLinkWorking()
{
    StdoutCapture capture;
    startManager();
    const QList<QByteArray> malformed = {QByteArray(65507, '{'),         QByteArray(4096, '\0'),
                                         QByteArray("[").repeated(4000), "\xff\xfe{",
                                         R"({"cockpitBrake":1e400})",    "[]"};
    for (const QByteArray& datagram : malformed)
        peer->send(datagram);
    peer->send(R"({"cockpitAlarmReset":9})");
    QTRY_COMPARE(model->getCockpitAlarmReset(), 9);
    QCOMPARE(model->getCockpitBrake(), 0);
    capture.restore();
    // One cycle each, the dropped one (the first) without a document; the marker's last.
    QCOMPARE(capture.text().count("Valid elements found: "), malformed.size() - 1 + 1);
}

void DataManagerTest::everyDocumentOfABurstIsAppliedOnItsOwn()
{
    StdoutCapture quiet;
    startManager();
    // Each applied document is seen whole by the scene: 32 wiper steps sent back to back are 32
    // steps, none merged with the next.
    QList<int> patterns;
    connect(model.get(), &VirtualPlatformDataModel::remoteBasedDataChanged, this,
            [&] { patterns << patternOf(*model); });
    static const int clockwise[4] = {6, 3, 9, 12};
    QList<int> sent;
    for (int step = 1; step <= 32; ++step) {
        const int pattern = clockwise[(step <= 16 ? step : 32 - step) % 4];
        sent << pattern;
        peer->send(QByteArray("{\"windshieldWiperA\":") + ((pattern & 8) ? "true" : "false") +
                   ",\"windshieldWiperB\":" + ((pattern & 4) ? "true" : "false") +
                   ",\"windshieldWiperC\":" + ((pattern & 2) ? "true" : "false") +
                   ",\"windshieldWiperD\":" + ((pattern & 1) ? "true" : "false") + "}");
    }
    QTRY_COMPARE(patterns.size(), sent.size());
    QCOMPARE(patterns, sent);
    QCOMPARE(manager->mergedDocuments(), std::size_t(0));
}

void DataManagerTest::stalledMainThreadBoundsTheBacklogAndKeepsTheNewestValues()
{
    StdoutCapture capture;
    SignalRecorder recorder(model.get());
    startManager();
    // The main thread delivers nothing while the peer sends far more documents than may wait;
    // a few carry a key of their own besides the common one.
    const int documents = int(VirtualPlatformDataManager::pendingCapacity) + 100;
    for (int i = 1; i <= documents; ++i) {
        QByteArray document = "{\"cockpitTemperature\":" + QByteArray::number(i);
        if (i == 10)
            document += ",\"lightBrakelight\":true";
        if (i == documents - 5)
            document += ",\"alarmLockLight\":true";
        peer->send(document + "}");
        // Let the link thread keep up with the socket, without running the main thread's events.
        QDeadlineTimer deadline(5000);
        while (capture.text().count("Valid elements found: ") < i && !deadline.hasExpired())
            QThread::yieldCurrentThread();
    }
    QCOMPARE(capture.text().count("Valid elements found: "), documents);
    QVERIFY(manager->mergedDocuments() > 0);

    // The scene catches up: the newest values are there, and it saw no more documents than wait.
    QTRY_COMPARE(model->getCockpitTemperature(), documents);
    QVERIFY(model->getLightBrakelight());
    QVERIFY(model->getAlarmLockLight());
    const int delivered = int(recorder.names().count("remoteBasedDataChanged"));
    QVERIFY2(delivered <= int(VirtualPlatformDataManager::pendingCapacity),
             qPrintable(QString::number(delivered)));
}

void DataManagerTest::pendingDocumentsMergeTheOldestWhenFull()
{
    const auto document = [](std::vector<StateValues::Assignment> list) {
        return PendingDocuments::Document{{std::move(list), 1}, "bytes"};
    };
    PendingDocuments pending(3);
    QVERIFY(pending.push(document({{StateValues::cockpitBrake, 1}, {StateValues::lightDaylight, 1}})));
    QVERIFY(!pending.push(document({{StateValues::cockpitBrake, 2}, {StateValues::windshieldWiperA, 1}})));
    QVERIFY(!pending.push(document({{StateValues::cockpitVelocity, 3}})));
    QVERIFY(!pending.push(document({{StateValues::cockpitVelocity, 4}}))); // full: the two oldest become one
    QCOMPARE(pending.merges(), std::size_t(1));

    const auto taken = pending.takeAll();
    QCOMPARE(taken.size(), std::size_t(3));
    const auto& merged = taken[0].assignments.list;
    QVERIFY(taken[0].bytes.isEmpty()); // a merged document is taken as it is
    QCOMPARE(merged.size(), std::size_t(3));
    QCOMPARE(merged[0].index, int(StateValues::cockpitBrake));
    QCOMPARE(merged[0].value, 2); // the later value
    QCOMPARE(merged[1].index, int(StateValues::lightDaylight));
    QCOMPARE(merged[2].index, int(StateValues::windshieldWiperA));
    QCOMPARE(taken[2].assignments.list[0].value, 4);
    QCOMPARE(taken[2].bytes, QByteArray("bytes"));
    QVERIFY(pending.takeAll().empty());
    QVERIFY(pending.push(document({}))); // empty again: the next one wakes the consumer
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

void DataManagerTest::appliedDocumentReachesTheSceneInOrder()
{
    StdoutCapture quiet;
    SignalRecorder recorder(model.get());
    startManager();
    peer->send(R"({"windshieldWiperA":true,"alarmLockButton":true,"lightDaylight":true,"cockpitBrake":1})");
    QTRY_VERIFY(recorder.names().contains("remoteBasedDataChanged"));
    QCOMPARE(recorder.names(),
             (QStringList{"cockpitBrakeChanged", "alarmLockButtonChanged", "localBasedDataChanged",
                          "lightDaylightChanged", "windshieldWiperAChanged", "remoteBasedDataChanged"}));
    // The changed module input makes the main thread transmit the whole state once, with the whole
    // document applied (values after the input's in the table too).
    sendMarker();
    const auto datagrams = peer->receiveUntil(isMarker);
    QCOMPARE(datagrams.size(), 2);
    QCOMPARE(documentOf(datagrams[0]).value("alarmLockButton").toBool(), true);
    QCOMPARE(documentOf(datagrams[0]).value("windshieldWiperA").toBool(), true);
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
    endpoints.receivePort = 0;
    endpoints.transmitPort = peer->socket.localPort();
    VirtualPlatformDataManager idle(&otherModel, endpoints);
    idle.stop();
}

QTEST_GUILESS_MAIN(DataManagerTest)
#include "tst_datamanager.moc"
