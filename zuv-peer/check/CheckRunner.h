#pragma once

#include "check/ScenarioRun.h"
#include "check/sandbox/Limits.h"
#include "check/sandbox/UnitProcess.h"
#include "link/PeerLink.h"
#include "link/SessionFile.h"

#include <QEventLoop>
#include <QFile>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>

namespace Check {

using Peer::PeerLink;
namespace SessionFile = Peer::SessionFile;

// What one scenario's run gave, for the console and the reports.
struct ScenarioReport
{
    Scenario scenario;
    std::vector<CheckResult> results;
    std::vector<Change> changes;
    int points = 0;
    int maxPoints = 0;
    Micros duration = 0;
    int datagramsFromPeer = 0;
    QString inconclusive;         // why the run says nothing of the peer, or empty
    QByteArray peerOutput;        // what the started peer printed on standard output
    QByteArray peerErrors;        // and on standard error
    bool outputTruncated = false; // more than the output limit: the rest was dropped
    bool errorsTruncated = false;
    QString stopped;    // a limit stopped the peer: how, where and when
    QStringList notes;  // what the checker noticed beyond the checks (keys that name no value)
    int leftBehind = 0; // processes the peer left running, which the checker ended
    int survivors = 0;  // processes the checker could not end (never expected)
    quint64 seed = 0;

    int count(CheckResult::Verdict verdict) const;
};

ScenarioReport reportOf(const ScenarioRun& run, quint64 seed);
// Names a key of the peer's documents that is no value, once per scenario, with the value it
// probably meant ("your unit sent ... — did you mean ...?"). Keys starting with $ belong to the link.
void noteUnknownKeys(const QJsonObject& document, QStringList& notes);
// An inconclusive run passes no check: its passes become not run, its points 0.
void withdrawPoints(ScenarioReport& report);

struct RunOptions
{
    int programPort = 50000;
    int peerPort = 50001;
    QString start;                // the peer's command, or empty to check a running one
    Micros startWait = 1'000'000; // how long a started peer may take to come up
    QString traceFile;            // empty: no trace
    quint64 seed = 0;
    QString directory;  // where a started peer starts (unboxed)
    bool boxed = false; // started peers run in the sandbox, the submission's copy at
    QString copy;       // `copy`, under `limits`, seeing the variables `passed` on
    Limits limits;
    QStringList passed;
    bool lockstep = false;           // the checker owns the clock (docs/lockstep.md)
    Micros stepTimeout = 30'000'000; // lock-step: how long a step may take on the wall clock (0: for ever)
};

// Plays the program's side for one scenario after another: binds the program's port, sends the
// whole state to the peer's, applies what comes back by the receive rules, starts and stops the
// peer under test where it is given, and writes the trace (the record format, with a line where
// each scenario begins).
class LiveChecker : public QObject
{
    Q_OBJECT

public:
    explicit LiveChecker(RunOptions options, QObject* parent = nullptr);
    ~LiveChecker() override;

    // Binds the program's port and opens the trace. Returns an empty text, or what went wrong.
    QString open();
    ScenarioReport run(const Scenario& scenario);

private:
    ScenarioReport runLockstep(const Scenario& scenario);
    Micros now() const;
    Micros local(qint64 arrivedMicros) const;
    void trace(const SessionFile::Entry& entry);
    void traceOut(Micros at, const StateDatagram::Received& datagram);
    // Starts the peer of --start, which is watched on `clock`: when it reaches a limit the run stops
    // (`stopped` says why), when it ends before the scenario starts it could not start. Returns an
    // empty text, or why it could not be started.
    QString startPeer(UnitProcess& peer, ScenarioRun& run, QEventLoop& loop,
                      const std::function<Micros()>& clock, QString& stopped, QString& couldNotStart);
    // Ends the peer and makes the report.
    ScenarioReport finish(const ScenarioRun& run, UnitProcess& peer, QEventLoop& loop, const QString& stopped,
                          const QStringList& notes, const QString& inconclusive);
    // "your unit had not answered after 1 s; try --start-wait 3s"
    QString notAnswered() const;

    RunOptions options;
    PeerLink link;
    LinkConditioner toPeer;    // the checker's documents on their way to the peer
    LinkConditioner toProgram; // the peer's on their way back
    QFile traceFile;
    Micros simulated = 0; // lock-step: the simulated time, which goes on across the scenarios
    std::chrono::steady_clock::time_point origin = std::chrono::steady_clock::now();
};

// The parts of a trace that belong to the scenario `name`: the lines after its marker up to the
// next marker; a trace without markers (a recording) is all one part. Empty when the trace has
// markers but none of `name`.
QVector<SessionFile::Entry> segmentOf(const QVector<SessionFile::Entry>& entries, const QString& name,
                                      bool& found);

// Decides the scenario's checks on a recorded trace, making the calls the live run made. `error`
// tells where the trace does not fit the scenario.
ScenarioReport regrade(const Scenario& scenario, const QVector<SessionFile::Entry>& segment, quint64 seed,
                       QString& error);

} // namespace Check
