// The checker on lock-step time as students and instructors run it: exact figures, the same trace
// every time, re-grading, a unit stopped at a breakpoint and a step timeout. Runs in a network
// namespace of its own, so the checker has the program's port.

#include "CheckTestSupport.h"

#include <QtTest>

#include <csignal>

class TestPeerLockstep : public QObject
{
    Q_OBJECT

private slots:
    void lockStepIsExactAndTheSameEveryTime();
    void lockStepWaitsForAUnitStoppedAtABreakpoint();
};

void TestPeerLockstep::lockStepIsExactAndTheSameEveryTime()
{
    QTemporaryDir directory;
    const QStringList chosen = {scenarios + "/indicators.yaml", scenarios + "/wiper-slow.yaml",
                                scenarios + "/lights-switch.yaml", scenarios + "/link-recovery.yaml"};
    QByteArray first;
    for (int run = 0; run < 10; ++run) {
        const QString trace = directory.filePath(QString("trace-%1.jsonl").arg(run));
        const Run checked =
            ::run(QStringList{"check", "--quiet", "--lockstep", "--seed", "7", "--start", startPeer(),
                              "--trace", trace, "--json", directory.filePath("report.json")} +
                  chosen);
        QCOMPARE(checked.exitCode, 0);
        QFile file(trace);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray contents = file.readAll();
        if (run == 0)
            first = contents;
        else
            QVERIFY2(contents == first,
                     qPrintable(QString("run %1's trace differs from the first").arg(run + 1)));
    }
    // Simulated time measures exactly what the units do.
    const QByteArray report = QJsonDocument(readJson(directory.filePath("report.json"))).toJson();
    for (const char* exact : {"1.50 Hz, duty 50 %", "at 24.0/s", "after 0 ms"})
        QVERIFY2(report.contains(exact), exact);
    // A lock-step trace is re-graded like any other.
    const Run regraded = ::run(
        QStringList{"check", "--quiet", "--seed", "7", "--from-trace", directory.filePath("trace-0.jsonl")} +
        chosen);
    QCOMPARE(regraded.exitCode, 0);
}

void TestPeerLockstep::lockStepWaitsForAUnitStoppedAtABreakpoint()
{
    // The unit runs on its own, as under a debugger. Ten simulated minutes of the fast wiper and the
    // indicator take seconds; well into them the unit is stopped for 20 s, then goes on: on
    // simulated time it has missed nothing.
    QProcess unit;
    unit.start(peer, {"--quiet"});
    QVERIFY(unit.waitForStarted());
    QTemporaryDir directory;
    const QString trace = directory.filePath("trace.jsonl");
    const QString scenario = write(directory, "long.yaml",
                                   "scenario: Ten minutes of the fast wiper and the indicator\n"
                                   "timeout: 700s\n"
                                   "setup: {cockpitIgnition: 1}\n"
                                   "steps:\n"
                                   "  - set: {cockpitWindshieldWasherMode: 5, cockpitIndicator: -1}\n"
                                   "  - blinks: lightIndicatorLeft\n"
                                   "    frequency: 1.5Hz\n"
                                   "    for: 600s\n"
                                   "  - wiper: {moves: [+16, -16]}\n"
                                   "    rate: 36/s\n"
                                   "    within: 3s\n");
    QProcess check;
    check.start(peer, {"check", "--lockstep", "--trace", trace, scenario});
    const auto lines = [&trace] {
        QFile file(trace);
        return file.open(QIODevice::ReadOnly) ? file.readAll().count('\n') : 0;
    };
    QTRY_VERIFY_WITH_TIMEOUT(lines() > 2000, 30000);
    ::kill(pid_t(unit.processId()), SIGSTOP);
    QTest::qWait(20000); // the breakpoint
    QCOMPARE(check.state(), QProcess::Running);
    ::kill(pid_t(unit.processId()), SIGCONT);
    QVERIFY(check.waitForFinished(120000));
    QVERIFY2(check.exitCode() == 0, check.readAll().constData());

    // With a step timeout, a unit silent for longer makes the run inconclusive.
    QFile::remove(trace);
    check.start(peer, {"check", "--lockstep", "--step-timeout", "1s", "--trace", trace, scenario});
    QTRY_VERIFY_WITH_TIMEOUT(lines() > 2000, 30000);
    ::kill(pid_t(unit.processId()), SIGSTOP);
    QVERIFY(check.waitForFinished(30000));
    ::kill(pid_t(unit.processId()), SIGCONT);
    QCOMPARE(check.exitCode(), 3);
    QVERIFY(check.readAll().contains("within 1 s (--step-timeout)"));
    unit.terminate();
    QVERIFY(unit.waitForFinished(5000));
}

QTEST_GUILESS_MAIN(TestPeerLockstep)
#include "tst_peer_lockstep.moc"
