// zuv-peer's checker as students and instructors run it: exit statuses, re-grading a trace, the
// reports, grading a class and a scenario made from a recording. Runs in a network namespace of its
// own, so the checker has the program's port.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const QString peer = QStringLiteral(ZUV_PEER_EXECUTABLE);
const QString scenarios = QStringLiteral(ZUV_SCENARIOS);

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run run(const QStringList& arguments, int timeoutMs = 120000)
{
    QProcess process;
    process.start(peer, arguments);
    Run result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QString write(const QTemporaryDir& directory, const QString& name, const QByteArray& text)
{
    const QString path = directory.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text);
    return path;
}

QJsonObject readJson(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll()).object();
}

QString startPeer(const QString& more = {})
{
    return peer + QStringLiteral(" --quiet ") + more;
}

// zuv-peer speaks as soon as it is up, which ends the start wait: a long one costs nothing.
const QStringList waitLong = {"--start-wait", "5s"};

const QByteArray lowBeam = "scenario: Low beam\n"
                           "setup: {cockpitIgnition: 1}\n"
                           "steps:\n"
                           "  - set: {cockpitLightSwitch: 3}\n"
                           "  - expect: {lightLowerBeamHeadlight: true, lightBacklight: true}\n"
                           "    within: 500ms\n"
                           "  - set: {cockpitLightSwitch: 4}\n"
                           "  - expect: {lightUpperBeamHeadlight: true, lightLowerBeamHeadlight: true}\n"
                           "  - hold: {lightDaylight: false}\n"
                           "    for: 500ms\n";

} // namespace

class TestPeerCheck : public QObject
{
    Q_OBJECT

private slots:
    void exitStatuses_data();
    void exitStatuses();
    void programPortInUseRunsNothing();
    void reGradingATraceGivesTheLiveVerdicts();
    void gradeWritesReportsAndGradesForAClass();
    void scenarioFromARecordingPassesTheSolutionAndCatchesAFault();
};

void TestPeerCheck::exitStatuses_data()
{
    QTest::addColumn<QByteArray>("scenario");
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("says");

    QTest::newRow("passes") << lowBeam << startPeer() << 0 << "3 passed, 0 failed; 3 of 3 points";
    QTest::newRow("a check fails") << lowBeam << startPeer("--mutant high-beam-alone") << 1
                                   << "✗ expect lightLowerBeamHeadlight=true lightUpperBeamHeadlight=true";
    QTest::newRow("invalid scenario")
        << QByteArray("scenario: x\nsteps:\n  - expect: {lightBacklite: true}\n") << startPeer() << 2
        << "did you mean lightBacklight?";
    QTest::newRow("peer never speaks")
        << lowBeam << QStringLiteral("sleep 60") << 3 << "inconclusive: the peer never sent a datagram";
    QTest::newRow("peer does not start")
        << lowBeam << QStringLiteral("exit 7") << 3 << "ended at once (status 7)";
}

void TestPeerCheck::exitStatuses()
{
    QFETCH(QByteArray, scenario);
    QFETCH(QString, start);
    QFETCH(int, status);
    QFETCH(QString, says);
    QTemporaryDir directory;
    const Run result =
        run({"check", "--start", start, "--start-wait", "2s", write(directory, "s.yaml", scenario)});
    QCOMPARE(result.exitCode, status);
    QVERIFY2((result.out + result.err).contains(says), qPrintable(result.out + result.err));
}

void TestPeerCheck::programPortInUseRunsNothing()
{
    const int holder = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(50000);
    QCOMPARE(::bind(holder, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    QTemporaryDir directory;
    const Run result = run({"check", "--start", startPeer(), write(directory, "s.yaml", lowBeam)});
    ::close(holder);
    QCOMPARE(result.exitCode, 2);
    QVERIFY2(result.err.contains("close the virtual platform first"), qPrintable(result.err));
}

void TestPeerCheck::reGradingATraceGivesTheLiveVerdicts()
{
    QTemporaryDir directory;
    const QString trace = directory.filePath("trace.jsonl");
    const QStringList scenarioFiles = {scenarios + "/indicators.yaml", write(directory, "low.yaml", lowBeam)};
    const Run live =
        run(QStringList{"check", "--start-wait", "5s", "--start", startPeer("--mutant indicator-frequency"),
                        "--trace", trace, "--json", directory.filePath("live.json"), "--junit",
                        directory.filePath("r.xml")} +
            scenarioFiles);
    QCOMPARE(live.exitCode, 1);
    const Run again =
        run(QStringList{"check", "--from-trace", trace, "--json", directory.filePath("again.json")} +
            scenarioFiles);
    QCOMPARE(again.exitCode, 1);
    const QJsonObject first = readJson(directory.filePath("live.json"));
    const QJsonObject second = readJson(directory.filePath("again.json"));
    QVERIFY(first.value("failed").toInt() >= 2); // the blinking at 3 Hz
    const QJsonArray liveScenarios = first.value("scenarios").toArray();
    const QJsonArray regraded = second.value("scenarios").toArray();
    QCOMPARE(regraded.size(), 2);
    for (int index = 0; index < 2; ++index)
        QCOMPARE(regraded.at(index).toObject().value("checks"),
                 liveScenarios.at(index).toObject().value("checks"));

    // The JUnit report: one suite per scenario, one case per check, failures with their message.
    QFile junit(directory.filePath("r.xml"));
    QVERIFY(junit.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&junit);
    int suites = 0, cases = 0, failures = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        suites += xml.name() == QLatin1String("testsuite");
        cases += xml.name() == QLatin1String("testcase");
        if (xml.name() == QLatin1String("failure")) {
            ++failures;
            QVERIFY(xml.attributes().value("message").contains(QLatin1String("expected 1.50 Hz")));
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(suites, 2);
    QCOMPARE(cases, 9);
    QCOMPARE(failures, first.value("failed").toInt());
}

void TestPeerCheck::gradeWritesReportsAndGradesForAClass()
{
    // Three students: one right, one with a fault, one whose unit never answers.
    QTemporaryDir directory;
    QDir().mkpath(directory.filePath("scenarios"));
    write(directory, "scenarios/low.yaml", lowBeam);
    QFile::copy(scenarios + "/alarm-acknowledgement.yaml", directory.filePath("scenarios/ack.yaml"));
    const QStringList students = {"anna", "ben", "carl"};
    const QStringList units = {startPeer(), startPeer("--mutant high-beam-alone"), "sleep 60"};
    for (int index = 0; index < 3; ++index) {
        QDir().mkpath(directory.filePath(students[index]));
        write(directory, students[index] + "/run.sh", ("exec " + units[index] + "\n").toUtf8());
    }
    const Run result =
        run({"grade", "--scenarios", directory.filePath("scenarios"), "--start", "sh {}/run.sh",
             "--start-wait", "2s", "--out", directory.filePath("out"), "--jobs", "2",
             directory.filePath("anna"), directory.filePath("ben"), directory.filePath("carl")});
    QCOMPARE(result.exitCode, 0);
    QFile grades(directory.filePath("out/grades.csv"));
    QVERIFY(grades.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(grades.readAll()),
             QString("submission,The alarm acknowledgement is answered with 0,Low beam,total,max\n"
                     "anna,1,3,4,4\n"
                     "ben,1,2,3,4\n"
                     "carl,0,0,0,4\n"));
    for (const QString& student : students) {
        for (const char* report : {"report.json", "report.xml", "report.html"})
            QVERIFY2(QFile::exists(directory.filePath("out/" + student + "/" + report)), report);
    }
}

void TestPeerCheck::scenarioFromARecordingPassesTheSolutionAndCatchesAFault()
{
    QTemporaryDir directory;
    const QString recording = directory.filePath("brake.jsonl");
    QCOMPARE(run(QStringList{"check", "--quiet", "--start", startPeer(), "--trace", recording,
                             scenarios + "/brake.yaml"} +
                 waitLong)
                 .exitCode,
             0);
    const Run made = run({"scenario-from", "--name", "Brake as recorded", recording});
    QCOMPARE(made.exitCode, 0);
    QVERIFY2(made.out.contains("  - blinks: lightBrakelight\n    frequency: 4Hz"), qPrintable(made.out));
    const QString generated = write(directory, "generated.yaml", made.out.toUtf8());
    QCOMPARE(run(QStringList{"check", "--quiet", "--start", startPeer(), generated} + waitLong).exitCode, 0);
    QCOMPARE(
        run(QStringList{"check", "--quiet", "--start", startPeer("--mutant brake-not-flashing"), generated} +
            waitLong)
            .exitCode,
        1);
}

QTEST_GUILESS_MAIN(TestPeerCheck)
#include "tst_peer_check.moc"
