// The real program with an instructor's fault file, over the link's real ports (in a network
// namespace of its own) and under the X server of the test run: what it sends and shows with each
// kind of fault, faults that end, the same link faults for the same seed, a fault file edited while
// it runs, the mark in the window's title, and files it refuses.

#include "X11WindowCloser.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <QtTest>

namespace {

const QByteArray windowTitle = "ZUV-VirtualPlatform";

// The program, with its output and error output kept as they come.
class Program
{
public:
    explicit Program(const QStringList& arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "xcb");
        process.setProcessEnvironment(environment);
        QObject::connect(&process, &QProcess::readyReadStandardOutput,
                         [this] { out += process.readAllStandardOutput(); });
        QObject::connect(&process, &QProcess::readyReadStandardError,
                         [this] { err += process.readAllStandardError(); });
        process.start(QStringLiteral(ZUV_PROGRAM), arguments);
    }
    ~Program()
    {
        process.terminate();
        process.waitForFinished(5000);
    }
    int transmissions() const { return int(out.count("Transmitting:\n")); }

    QProcess process;
    QByteArray out;
    QByteArray err;
};

// The peer's end of the link.
struct Peer
{
    Peer() { socket.bind(QHostAddress(QHostAddress::LocalHost), 50001); }

    // Every document waiting in the socket, oldest first.
    QList<QJsonObject> documents()
    {
        QList<QJsonObject> all;
        while (socket.hasPendingDatagrams()) {
            QByteArray datagram(int(socket.pendingDatagramSize()), '\0');
            socket.readDatagram(datagram.data(), datagram.size());
            all << QJsonDocument::fromJson(datagram.left(datagram.indexOf('\0'))).object();
        }
        return all;
    }
    void send(const QByteArray& document) { socket.writeDatagram(document, QHostAddress::LocalHost, 50000); }

    QUdpSocket socket;
};

QString write(const QTemporaryDir& directory, const QString& name, const QByteArray& text)
{
    const QString path = directory.filePath(name);
    QFile file(path + ".new");
    file.open(QIODevice::WriteOnly);
    file.write(text);
    file.close();
    QFile::remove(path);
    QFile::rename(path + ".new", path); // as editors save
    return path;
}

} // namespace

class FaultProgramTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyKindOfFaultOnTheWire_data();
    void everyKindOfFaultOnTheWire();
    void theSameSeedLosesTheSameTransmissions();
    void anEditedFileIsReadAgainAndABadEditKeepsTheFaults();
    void badFilesEndTheProgramBeforeAnyWindow();

private:
    QTemporaryDir directory;
    QList<QJsonObject> beforeEnd; // the fault run: its documents while every fault is at work ...
    QList<QJsonObject> afterEnd;  // ... and once the one with `for:` has ended
    QByteArray runErrors;
};

void FaultProgramTest::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X server (the test command runs this under Xvfb)");
    // One run with a fault of every kind: the documents it sends tell what it sends and shows.
    const QString faults = write(directory, "faults.yaml",
                                 "faults:\n"
                                 "  - dead: lightIndicatorLeft\n"
                                 "  - stuck: {lightBrakelight: true}\n"
                                 "  - swap: [lightFoglightLeft, lightFoglightRight]\n"
                                 "  - flicker: {lightBacklight: 100%}\n"
                                 "  - dead: alarmLockButton\n"
                                 "  - stuck: {cockpitTemperature: 20}\n"
                                 "  - offset: {windshieldDistanceSensor: 500}\n"
                                 "  - swap: [alarmGenericButton, lightGenericButton]\n"
                                 "  - dead: lightDaylight\n"
                                 "    for: 2s\n");
    Peer peer;
    Program program({"--faults", faults});
    QTRY_VERIFY_WITH_TIMEOUT(program.out.contains("Waiting for data...\n"), 15000);
    QTRY_VERIFY_WITH_TIMEOUT(isX11WindowShown(windowTitle + " \xe2\x80\x94 faults active"), 10000);
    peer.send(
        R"({"lightIndicatorLeft":true,"lightFoglightLeft":true,"lightBacklight":true,"lightDaylight":true,)"
        R"("alarmLockButton":true,"windshieldDistanceSensor":1000,"alarmGenericButton":true})");
    // Three module inputs changed: three transmissions more.
    QTRY_COMPARE_WITH_TIMEOUT(program.transmissions(), 4, 10000);
    QTRY_VERIFY((beforeEnd += peer.documents()).size() == 4);
    // The dead daylight lamp comes back after 2 s: shown and sent once more.
    QTRY_VERIFY_WITH_TIMEOUT(program.err.contains("s after " + faults.toLocal8Bit() + " was read"), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(program.transmissions(), 5, 5000);
    QTRY_VERIFY((afterEnd += peer.documents()).size() == 1);
    runErrors = program.err;
}

void FaultProgramTest::everyKindOfFaultOnTheWire_data()
{
    QTest::addColumn<int>("document"); // 0: the first at start-up, 3: the last with every fault
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("value");

    QTest::newRow("stuck lamp lit from the start") << 0 << "lightBrakelight" << QVariant(true);
    QTest::newRow("stuck sensor from the start") << 0 << "cockpitTemperature" << QVariant(20);
    QTest::newRow("dead lamp") << 3 << "lightIndicatorLeft" << QVariant(false);
    QTest::newRow("crossed lamps, one") << 3 << "lightFoglightLeft" << QVariant(false);
    QTest::newRow("crossed lamps, other") << 3 << "lightFoglightRight" << QVariant(true);
    QTest::newRow("loose contact") << 3 << "lightBacklight" << QVariant(false);
    QTest::newRow("dead button") << 3 << "alarmLockButton" << QVariant(false);
    QTest::newRow("offset sensor") << 3 << "windshieldDistanceSensor" << QVariant(1500);
    QTest::newRow("crossed buttons, one") << 3 << "alarmGenericButton" << QVariant(false);
    QTest::newRow("crossed buttons, other") << 3 << "lightGenericButton" << QVariant(true);
    QTest::newRow("a fault for 2 s, at work") << 3 << "lightDaylight" << QVariant(false);
    QTest::newRow("a fault for 2 s, ended") << 4 << "lightDaylight" << QVariant(true);
    QTest::newRow("still stuck after") << 4 << "lightBrakelight" << QVariant(true);
}

void FaultProgramTest::everyKindOfFaultOnTheWire()
{
    QFETCH(int, document);
    QFETCH(QString, name);
    QFETCH(QVariant, value);
    QCOMPARE(beforeEnd.size() + afterEnd.size(), 5);
    const QJsonObject sent = document < 4 ? beforeEnd.at(document) : afterEnd.at(0);
    QCOMPARE(sent.value(name).toVariant(), value);
}

void FaultProgramTest::theSameSeedLosesTheSameTransmissions()
{
    const QString faults = write(directory, "lossy.yaml", "link:\n  seed: 7\n  to-peer: {drop: 50%}\n");
    QList<QList<int>> runs;
    for (int run = 0; run < 2; ++run) {
        Peer peer;
        Program program({"--faults", faults});
        QTRY_VERIFY_WITH_TIMEOUT(program.out.contains("Waiting for data...\n"), 15000);
        for (int reading = 1; reading <= 30; ++reading)
            peer.send("{\"windshieldDistanceSensor\":" + QByteArray::number(reading) + "}");
        QTRY_COMPARE_WITH_TIMEOUT(program.transmissions(), 31, 10000);
        QList<int> arrived;
        QTRY_VERIFY([&] {
            for (const QJsonObject& document : peer.documents())
                arrived << document.value("windshieldDistanceSensor").toInt();
            return !arrived.isEmpty() && arrived.last() > 0;
        }());
        runs << arrived;
    }
    QCOMPARE(runs[1], runs[0]);
    QVERIFY2(runs[0].size() > 5 && runs[0].size() < 26, qPrintable(QString::number(runs[0].size())));
}

void FaultProgramTest::anEditedFileIsReadAgainAndABadEditKeepsTheFaults()
{
    const QString faults = write(directory, "exercise.yaml", "faults:\n  - dead: lightIndicatorLeft\n");
    Peer peer;
    Program program({"--faults", faults, "--faults-quiet"});
    QTRY_VERIFY_WITH_TIMEOUT(program.out.contains("Waiting for data...\n"), 15000);
    QVERIFY2(program.err.contains("faults are at work (which ones is hidden)"), program.err.constData());
    QVERIFY(!program.err.contains("lightIndicatorLeft"));

    write(directory, "exercise.yaml", "faults:\n  - dead: lightIndicatorRight\n");
    QTRY_VERIFY_WITH_TIMEOUT(program.err.contains("changed, read again"), 5000);
    peer.documents();
    peer.send(R"({"lightIndicatorLeft":true,"lightIndicatorRight":true,"alarmGenericButton":true})");
    QJsonObject last;
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            for (const QJsonObject& document : peer.documents())
                last = document;
            return last.value("alarmGenericButton").toBool();
        }(),
        5000);
    QCOMPARE(last.value("lightIndicatorLeft").toBool(), true);
    QCOMPARE(last.value("lightIndicatorRight").toBool(), false);

    write(directory, "exercise.yaml", "faults:\n  - dead: lightIndicatorRihgt\n");
    QTRY_VERIFY_WITH_TIMEOUT(program.err.contains("is not valid; the previous faults stay"), 5000);
    QVERIFY(program.err.contains("did you mean lightIndicatorRight?"));
    peer.send(R"({"lightIndicatorRight":true,"alarmGenericButton":false})");
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            for (const QJsonObject& document : peer.documents())
                last = document;
            return !last.value("alarmGenericButton").toBool();
        }(),
        5000);
    QCOMPARE(last.value("lightIndicatorRight").toBool(), false);
}

void FaultProgramTest::badFilesEndTheProgramBeforeAnyWindow()
{
    const QString bad = write(directory, "bad.yaml", "faults:\n  - dead: lightIndicatorLefft\n");
    QProcess program;
    program.start(QStringLiteral(ZUV_PROGRAM), {"--faults", bad});
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitCode(), 2);
    QVERIFY(!program.readAllStandardOutput().contains("Started"));
    QVERIFY(program.readAllStandardError().contains(
        bad.toLocal8Bit() +
        ":2:11: no value is named 'lightIndicatorLefft'; did you mean lightIndicatorLeft?"));
    program.start(QStringLiteral(ZUV_PROGRAM), {"--faults", directory.filePath("missing.yaml")});
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitCode(), 2);
    QVERIFY(program.readAllStandardError().contains("cannot read it"));
}

QTEST_GUILESS_MAIN(FaultProgramTest)
#include "tst_faultprogram.moc"
