// zuv-peer's checker as students and instructors run it: exit statuses, re-grading a trace, the
// reports, grading a class and a scenario made from a recording. Runs in a network namespace of its
// own, so the checker has the program's port.

#include "CheckTestSupport.h"

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
    void startedLateOrMisspeltIsTold_data();
    void startedLateOrMisspeltIsTold();
    void programPortInUseRunsNothing();
    void reGradingATraceGivesTheLiveVerdicts();
    void gradeWritesReportsAndGradesForAClass();
    void gradeRefusesWithoutBubblewrap();
    void prepareBuildsInTheSandboxOrCostsEveryPoint_data();
    void prepareBuildsInTheSandboxOrCostsEveryPoint();
    void scenarioFromARecordingPassesTheSolutionAndCatchesAFault();
    void newUnitPassesTheHeartbeatAsItIs_data();
    void newUnitPassesTheHeartbeatAsItIs();
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
        << lowBeam << QStringLiteral("sleep 60") << 3
        << "inconclusive: your unit had not answered after 2 s; try --start-wait 6s";
    QTest::newRow("peer does not start")
        << lowBeam << QStringLiteral("exit 7") << 3 << "ended at once (status 7)";
}

// A unit that takes long to come up and says nothing until it is asked: it learns the ignition only
// from the setup, which it must not miss. `key` is the name it writes.
QByteArray lateUnit(const char* key)
{
    return QByteArray("import os, socket, time\n"
                      "time.sleep(1.2)\n"
                      "s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)\n"
                      "s.bind(('127.0.0.1', int(os.environ['ZUV_PEER_PORT'])))\n"
                      "while True:\n"
                      "    on = b'\"cockpitIgnition\":1' in s.recv(4096)\n"
                      "    s.sendto(b'{\"") +
           key +
           "\":' + (b'true' if on else b'false') + b'}', ('127.0.0.1', "
           "int(os.environ['ZUV_PROGRAM_PORT'])))\n";
}

const QByteArray daylightScenario = "scenario: Daylight\n"
                                    "setup: {cockpitIgnition: 1, cockpitLightSwitch: 2}\n"
                                    "steps:\n"
                                    "  - expect: {lightDaylight: true}\n"
                                    "    within: 100ms\n";

void TestPeerCheck::startedLateOrMisspeltIsTold_data()
{
    QTest::addColumn<QByteArray>("unit");
    QTest::addColumn<QString>("wait");
    QTest::addColumn<bool>("lockstep");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("says");
    QTest::newRow("late, waited for")
        << lateUnit("lightDaylight") << "3s" << false << 0 << "1 passed, 0 failed";
    QTest::newRow("late, not waited for") << lateUnit("lightDaylight") << "500ms" << false << 3
                                          << "your unit had not answered after 500 ms; try --start-wait 3s";
    QTest::newRow("misspelt") << lateUnit("lightsDaylight") << "3s" << false << 1
                              << "your unit sent lightsDaylight: no such value — did you mean lightDaylight?";
    QTest::newRow("no lock-step time")
        << lateUnit("lightDaylight") << "3s" << true << 3
        << "this control unit does not keep lock-step time (docs/lockstep.md); "
           "check it without --lockstep";
}

void TestPeerCheck::startedLateOrMisspeltIsTold()
{
    QFETCH(QByteArray, unit);
    QFETCH(QString, wait);
    QFETCH(bool, lockstep);
    QFETCH(int, status);
    QFETCH(QString, says);
    QTemporaryDir directory;
    const QString program = write(directory, "unit.py", unit);
    const QString scenario = write(directory, "daylight.yaml", daylightScenario);
    const Run result =
        run(QStringList{"check", "--start", "python3 " + program, "--start-wait", wait, scenario} +
            (lockstep ? QStringList{"--lockstep"} : QStringList{}));
    QCOMPARE(result.exitCode, status);
    QVERIFY2(result.out.contains(says), qPrintable(result.out + result.err));
    if (status == 1)
        QVERIFY2(result.out.contains("(" + scenario + ":4)"), qPrintable(result.out));
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
    // Three students, each unit in its sandbox: one right, one with a fault, one whose unit never
    // answers. The bundled units stand in for theirs: a copy of zuv-peer in each folder.
    QTemporaryDir directory;
    QDir().mkpath(directory.filePath("scenarios"));
    write(directory, "scenarios/low.yaml", lowBeam);
    QFile::copy(scenarios + "/alarm-acknowledgement.yaml", directory.filePath("scenarios/ack.yaml"));
    const QStringList students = {"anna", "ben", "carl"};
    const QStringList units = {"/submission/zuv-peer --quiet",
                               "/submission/zuv-peer --quiet --mutant high-beam-alone", "sleep 60"};
    QStringList folders;
    for (int index = 0; index < 3; ++index) {
        QDir().mkpath(directory.filePath(students[index]));
        QVERIFY(QFile::copy(peer, directory.filePath(students[index] + "/zuv-peer")));
        write(directory, students[index] + "/run.sh", ("exec " + units[index] + "\n").toUtf8());
        folders << directory.filePath(students[index]);
    }
    const QStringList grade = {"grade",        "--quiet",
                               "--scenarios",  directory.filePath("scenarios"),
                               "--start",      "sh {}/run.sh",
                               "--start-wait", "2s",
                               "--jobs",       "2"};
    const Run result = run(grade + QStringList{"--out", directory.filePath("out")} + folders);
    QCOMPARE(result.exitCode, 0);
    QFile grades(directory.filePath("out/grades.csv"));
    QVERIFY(grades.open(QIODevice::ReadOnly));
    const QString expected = "submission,The alarm acknowledgement is answered with 0,Low beam,total,max\n"
                             "anna,1,3,4,4\n"
                             "ben,1,2,3,4\n"
                             "carl,0,0,0,4\n";
    QCOMPARE(QString::fromUtf8(grades.readAll()), expected);
    for (const QString& student : students) {
        for (const char* report : {"report.json", "report.xml", "report.html"})
            QVERIFY2(QFile::exists(directory.filePath("out/" + student + "/" + report)), report);
    }
    // What was graded, for a regrade to compare: the files' and the scenarios' hashes.
    const QJsonObject checked =
        readJson(directory.filePath("out/anna/report.json")).value("checked").toObject();
    QVERIFY2(checked.value("sandbox").toString().startsWith("bubblewrap"),
             qPrintable(checked.value("sandbox").toString()));
    QCOMPARE(checked.value("files").toArray().size(), 2);
    QCOMPARE(checked.value("scenarios").toArray().size(), 2);

    // Three shards and their merge give the grades of the one run; a missing shard is refused.
    QStringList shards;
    for (int shard = 1; shard <= 3; ++shard) {
        shards << directory.filePath(QString("shard-%1").arg(shard));
        QCOMPARE(
            run(grade + QStringList{"--shard", QString("%1/3").arg(shard), "--out", shards.last()} + folders)
                .exitCode,
            0);
    }
    QCOMPARE(
        run(QStringList{"grade", "--merge", "--out", directory.filePath("merged")} + shards.mid(1)).exitCode,
        2);
    QCOMPARE(run(QStringList{"grade", "--merge", "--out", directory.filePath("merged")} + shards).exitCode,
             0);
    QFile merged(directory.filePath("merged/grades.csv"));
    QVERIFY(merged.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(merged.readAll()), expected);
}

void TestPeerCheck::gradeRefusesWithoutBubblewrap()
{
    // Never unsandboxed without a word: no bwrap on the PATH, no grading, and what to do about it.
    QTemporaryDir directory;
    QProcess grade;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PATH", directory.path());
    grade.setProcessEnvironment(environment);
    grade.start(peer, {"grade", "--scenarios", scenarios, "--start", "sh {}/unit", "--out",
                       directory.filePath("out"), directory.path()});
    QVERIFY(grade.waitForFinished(30000));
    QCOMPARE(grade.exitCode(), 2);
    const QByteArray said = grade.readAllStandardError();
    QVERIFY2(said.contains("install the package bubblewrap") && said.contains("--no-sandbox"),
             said.constData());
    QVERIFY(!QFile::exists(directory.filePath("out/grades.csv")));
}

void TestPeerCheck::prepareBuildsInTheSandboxOrCostsEveryPoint_data()
{
    QTest::addColumn<QString>("prepare");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("result");
    // The unit exists only once --prepare has made it in the copy.
    QTest::newRow("builds") << "cp {}/zuv-peer.in {}/zuv-peer && echo built" << 0 << "succeeded";
    QTest::newRow("fails") << "echo no compiler here >&2; exit 2" << 3 << "failed: it ended with status 2";
    QTest::newRow("hangs") << "sleep 60" << 3 << "failed: it took longer than 1 s";
}

void TestPeerCheck::prepareBuildsInTheSandboxOrCostsEveryPoint()
{
    QFETCH(QString, prepare);
    QFETCH(int, status);
    QFETCH(QString, result);
    QTemporaryDir directory;
    QDir().mkpath(directory.filePath("student"));
    QVERIFY(QFile::copy(peer, directory.filePath("student/zuv-peer.in")));
    const QString scenario = write(directory, "low.yaml", lowBeam);
    const Run checked = run(
        QStringList{"check", "--quiet", "--sandbox", "--submission", directory.filePath("student"),
                    "--prepare", prepare, "--limit", "prepare-time=1s", "--limit", "file-size=64M", "--start",
                    "{}/zuv-peer --quiet", "--json", directory.filePath("report.json"), scenario} +
        waitLong);
    QCOMPARE(checked.exitCode, status);
    const QJsonObject report = readJson(directory.filePath("report.json"));
    const QJsonObject prepared = report.value("checked").toObject().value("prepare").toObject();
    QCOMPARE(prepared.value("result").toString().left(result.size()), result);
    QCOMPARE(report.value("scenarios").toArray().at(0).toObject().value("points").toInt(),
             status == 0 ? 3 : 0);
    // The original stays as it was: the build went into the private copy.
    QVERIFY(!QFile::exists(directory.filePath("student/zuv-peer")));
    if (status == 0)
        QCOMPARE(prepared.value("output").toString(), QString("built\n"));
    QVERIFY2(checked.out.startsWith("sandbox: bubblewrap"), qPrintable(checked.out));
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

void TestPeerCheck::newUnitPassesTheHeartbeatAsItIs_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("start");
    QTest::newRow("python") << "python"
                            << "python3 unit.py";
    QTest::newRow("c") << "c"
                       << "./unit";
}

void TestPeerCheck::newUnitPassesTheHeartbeatAsItIs()
{
    // As a student does it: one command to write the unit, make for C, one command to check it.
    QFETCH(QString, language);
    QFETCH(QString, start);
    QTemporaryDir directory;
    const QString unit = directory.filePath("my-unit");
    QCOMPARE(run({"new-unit", language, unit}).exitCode, 0);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PYTHONPATH", ZUV_KIT_PYTHON);
    environment.insert("PKG_CONFIG_PATH", ZUV_KIT_PKGCONFIG);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(unit);
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (language == "c") {
        process.start("make", {"-s"});
        QVERIFY(process.waitForFinished(60000));
        QVERIFY2(process.exitCode() == 0, process.readAll().constData());
    }
    for (const QStringList& clock : {QStringList{}, QStringList{"--lockstep"}}) {
        process.start(peer, QStringList{"check", "--quiet", "--start", start, scenarios + "/heartbeat.yaml"} +
                                clock);
        QVERIFY(process.waitForFinished(60000));
        const QByteArray said = process.readAll();
        QVERIFY2(process.exitCode() == 0 && said.contains("3 passed, 0 failed"), said.constData());
    }
}

QTEST_GUILESS_MAIN(TestPeerCheck)
#include "tst_peer_check.moc"
