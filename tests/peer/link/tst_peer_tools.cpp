// The link tools' pieces: the session file format, the parsing of send's key=value arguments, the
// trace's formatting and the replay's timing.

#include "StateValues.h"
#include "link/Assignments.h"
#include "link/Replayer.h"
#include "link/SessionFile.h"
#include "link/TrafficPrinter.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Peer;

class TestPeerTools : public QObject
{
    Q_OBJECT

private slots:
    void sessionLinesRoundTrip();
    void sessionParseErrors_data();
    void sessionParseErrors();
    void recorderWritesLinesAndKeepsExistingFiles();
    void assignments_data();
    void assignments();
    void unknownNameListsTheValidOnes();
    void traceLines();
    void replayTimingScalesWithSpeed();
};

void TestPeerTools::sessionLinesRoundTrip()
{
    const QVector<SessionFile::Entry> entries = {
        {0,
         SessionFile::Direction::Out,
         {{"alarmGenericLightUp", true}, {"cockpitAlarmReset", 0}},
         {},
         {},
         {},
         {}},
        {1234567,
         SessionFile::Direction::In,
         {{"cockpitIndicator", -2}, {"windshieldWiperA", false}},
         {},
         {},
         {},
         {}},
        {3600007000, SessionFile::Direction::Out, {}, "not a JSON object", {}, {}, {}},
        {3600008000, SessionFile::Direction::Scenario, {}, {}, "Low beam", "lights.yaml", {}},
        {3600009000, SessionFile::Direction::Stopped, {}, {}, {}, {}, "used more than 256 MiB of memory"},
    };
    QByteArray contents;
    for (const auto& entry : entries)
        contents += SessionFile::line(entry);
    QCOMPARE(SessionFile::line(entries.at(1)),
             QByteArray(R"({"t":1.234567,"dir":"in","doc":{"cockpitIndicator":-2,"windshieldWiperA":false}})"
                        "\n"));

    const SessionFile::Parsed parsed = SessionFile::parse(contents + "\n\n");
    QVERIFY2(parsed.error.isEmpty(), qPrintable(parsed.error));
    QCOMPARE(parsed.entries.size(), entries.size());
    for (int index = 0; index < entries.size(); ++index) {
        QCOMPARE(parsed.entries.at(index).atMicros, entries.at(index).atMicros);
        QCOMPARE(parsed.entries.at(index).direction, entries.at(index).direction);
        QCOMPARE(parsed.entries.at(index).document, entries.at(index).document);
        QCOMPARE(parsed.entries.at(index).rejected, entries.at(index).rejected);
        QCOMPARE(parsed.entries.at(index).scenario, entries.at(index).scenario);
        QCOMPARE(parsed.entries.at(index).stopped, entries.at(index).stopped);
    }
}

void TestPeerTools::sessionParseErrors_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("error");
    const QByteArray good = R"({"t":0.5,"dir":"out","doc":{}})"
                            "\n";
    QTest::newRow("not JSON") << good + "{t:1}\n"
                              << "line 2: not JSON";
    QTest::newRow("no time") << QByteArray(R"({"dir":"in","doc":{}})") << "line 1: \"t\" must be";
    QTest::newRow("direction") << good + good + R"({"t":1,"dir":"up","doc":{}})"
                               << "line 3: \"dir\" must be";
    QTest::newRow("document") << QByteArray(R"({"t":1,"dir":"in","doc":[1]})") << "line 1: \"doc\" must be";
}

void TestPeerTools::sessionParseErrors()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, error);
    const SessionFile::Parsed parsed = SessionFile::parse(contents);
    QVERIFY2(parsed.error.startsWith(error), qPrintable(parsed.error));
    QVERIFY(parsed.entries.isEmpty());
}

void TestPeerTools::recorderWritesLinesAndKeepsExistingFiles()
{
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    const QString path = directory.filePath("session.jsonl");
    {
        SessionRecorder recorder;
        QCOMPARE(recorder.open(path), QString());
        recorder.recordSent(5, {{"lightBacklight", true}});
        recorder.recordReceived(1005, {{"cockpitLightSwitch", 3}});
        // Written through at once: readable while the recorder is still open.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const SessionFile::Parsed parsed = SessionFile::parse(file.readAll());
        QCOMPARE(parsed.entries.size(), 2);
        QCOMPARE(parsed.entries.at(1).atMicros, qint64(1005000));
        QCOMPARE(parsed.entries.at(1).direction, SessionFile::Direction::In);
    }
    SessionRecorder second;
    const QString refusal = second.open(path);
    QVERIFY2(refusal.contains("exists already"), qPrintable(refusal));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().count('\n'), 2);
}

void TestPeerTools::assignments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QJsonObject>("document");
    QTest::addColumn<QString>("error"); // the start of the error, empty for none

    QTest::newRow("integer and truth values")
        << QStringList{"cockpitIndicator=-2", "lightBacklight=true", "alarmLockButton=false"}
        << QJsonObject{{"cockpitIndicator", -2}, {"lightBacklight", true}, {"alarmLockButton", false}} << "";
    QTest::newRow("1 and 0 for truth values")
        << QStringList{"windshieldWiperA=1", "windshieldWiperB=0"}
        << QJsonObject{{"windshieldWiperA", true}, {"windshieldWiperB", false}} << "";
    QTest::newRow("nothing") << QStringList{} << QJsonObject{} << "send needs at least one key=value";
    QTest::newRow("no equals sign") << QStringList{"cockpitIgnition"} << QJsonObject{}
                                    << "'cockpitIgnition' is not key=value";
    QTest::newRow("unknown key") << QStringList{"cockpitIgnition=1", "ignition=1"} << QJsonObject{}
                                 << "no value is named 'ignition'";
    QTest::newRow("case")
        << QStringList{"CockpitIgnition=1"} << QJsonObject{}
        << "no value is named 'CockpitIgnition' (names are case-sensitive: did you mean cockpitIgnition?)";
    QTest::newRow("word for an integer")
        << QStringList{"cockpitIgnition=true"} << QJsonObject{} << "cockpitIgnition takes a whole number";
    QTest::newRow("fraction") << QStringList{"cockpitVelocity=2.5"} << QJsonObject{}
                              << "cockpitVelocity takes a whole number";
    QTest::newRow("beyond 32 bits") << QStringList{"cockpitVelocity=2147483648"} << QJsonObject{}
                                    << "cockpitVelocity takes a whole number";
    QTest::newRow("number for a truth value")
        << QStringList{"lightBacklight=2"} << QJsonObject{} << "lightBacklight is true or false, not '2'";
    QTest::newRow("twice") << QStringList{"cockpitBrake=1", "cockpitBrake=2"} << QJsonObject{}
                           << "cockpitBrake is given twice";
}

void TestPeerTools::assignments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QJsonObject, document);
    QFETCH(QString, error);
    const Assignments result = parseAssignments(arguments);
    QVERIFY2(error.isEmpty() ? result.error.isEmpty() : result.error.startsWith(error),
             qPrintable(result.error));
    QCOMPARE(result.document, document);
}

void TestPeerTools::unknownNameListsTheValidOnes()
{
    const QString error = parseAssignments({"wiper=1"}).error;
    for (const StateValues::Value& value : StateValues::table)
        QVERIFY2(error.contains(value.name), value.name);
}

void TestPeerTools::traceLines()
{
    QCOMPARE(Format::timestamp(0), QString("0.000"));
    QCOMPARE(Format::timestamp(12345), QString("12.345"));
    QCOMPARE(Format::timestamp(7), QString("0.007"));

    const TrafficPrinter compact(TrafficPrinter::Style::Compact);
    const TrafficPrinter monitor(TrafficPrinter::Style::Monitor);
    const QJsonObject to{{"cockpitIgnition", 1}, {"cockpitLightSwitch", 3}};
    const QJsonObject from{{"cockpitIgnition", 0}, {"cockpitLightSwitch", 0}};
    QCOMPARE(compact.receivedLine(12345, to, to, from),
             QString("12.345 in  cockpitIgnition=1 cockpitLightSwitch=3"));
    QCOMPARE(monitor.receivedLine(12345, to, to, from),
             QString("12.345 in  cockpitIgnition 0 -> 1, cockpitLightSwitch 0 -> 3"));
    QCOMPARE(compact.receivedLine(1, {}, {}, {}), QString("0.001 in  (no change)"));
    QCOMPARE(compact.receivedLine(1, {{"cockpitignition", 1}, {"lightBacklight", "on"}}, {}, {}),
             QString("0.001 in  (no change)  [ignored, no such value: cockpitignition]"));

    const QJsonObject sent{{"lightBacklight", true}, {"lightLowerBeamHeadlight", true}};
    QCOMPARE(compact.sentLine(12346, sent, {}),
             QString("12.346 out lightBacklight=true lightLowerBeamHeadlight=true"));
    QCOMPARE(monitor.sentLine(12346, sent, {{"lightBacklight", false}}),
             QString("12.346 out lightBacklight false -> true, lightLowerBeamHeadlight ? -> true"));

    QCOMPARE(Format::value(QJsonValue(2.5)), QString("2.5"));
    QCOMPARE(Format::value(QJsonValue("on")), QString("\"on\""));
    QCOMPARE(Format::value(QJsonValue(QJsonValue::Null)), QString("null"));
}

void TestPeerTools::replayTimingScalesWithSpeed()
{
    const auto sentAt = [](qint64 milliseconds) {
        SessionFile::Entry entry;
        entry.atMicros = milliseconds * 1000;
        entry.direction = SessionFile::Direction::Out;
        return entry;
    };
    // The third is out of order: overdue, so it goes right after the one before.
    const QVector<SessionFile::Entry> entries = {sentAt(1000), sentAt(1500), sentAt(1400), sentAt(5000)};
    const Replayer normal(entries, 9, 1.0);
    QCOMPARE(normal.dueAt(0), qint64(0));
    QCOMPARE(normal.dueAt(1), qint64(500));
    QCOMPARE(normal.dueAt(2), qint64(400));
    QCOMPARE(normal.dueAt(3), qint64(4000));
    const Replayer quick(entries, 9, 4.0);
    QCOMPARE(quick.dueAt(1), qint64(125));
    QCOMPARE(quick.dueAt(3), qint64(1000));
    const Replayer slow(entries, 9, 0.5);
    QCOMPARE(slow.dueAt(3), qint64(8000));
}

QTEST_GUILESS_MAIN(TestPeerTools)
#include "tst_peer_tools.moc"
