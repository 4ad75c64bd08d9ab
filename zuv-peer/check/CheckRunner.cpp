#include "check/CheckRunner.h"

#include "YamlReading.h"
#include "check/sandbox/Sandbox.h"
#include "check/sandbox/UnitProcess.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace Check {

namespace {

// How often a started peer that has not spoken yet is sent the setup again.
constexpr int probeMs = 100;

} // namespace

void noteUnknownKeys(const QJsonObject& document, QStringList& notes)
{
    static const QStringList names = [] {
        QStringList all;
        for (const StateValues::Value& value : StateValues::table)
            all << QLatin1String(value.name);
        return all;
    }();
    for (auto member = document.begin(); member != document.end(); ++member) {
        const QString& key = member.key();
        if (key.startsWith(QLatin1Char('$')) || names.contains(key))
            continue;
        const QString note = QStringLiteral("your unit sent %1: no such value").arg(key);
        if (std::any_of(notes.begin(), notes.end(),
                        [&](const QString& made) { return made.startsWith(note); }))
            continue;
        const QString nearest = YamlReader::nearest(key, names);
        notes << note + (nearest.isEmpty() ? QString() : QStringLiteral(" — did you mean %1?").arg(nearest));
    }
}

int ScenarioReport::count(CheckResult::Verdict verdict) const
{
    return static_cast<int>(
        std::count_if(results.begin(), results.end(),
                      [verdict](const CheckResult& check) { return check.verdict == verdict; }));
}

ScenarioReport reportOf(const ScenarioRun& run, quint64 seed)
{
    ScenarioReport report;
    report.scenario = run.scenario();
    report.results = run.results();
    report.changes = run.changes();
    report.points = run.points();
    report.maxPoints = run.scenario().maxPoints();
    report.duration = run.startedAt() >= 0 && run.endedAt() >= 0 ? run.endedAt() - run.startedAt() : 0;
    report.datagramsFromPeer = run.datagramsFromPeer();
    report.seed = seed;
    if (!run.peerSpoke())
        report.inconclusive = QStringLiteral("the peer never sent a datagram");
    withdrawPoints(report);
    return report;
}

void withdrawPoints(ScenarioReport& report)
{
    // What a run decided without the peer says nothing of it: no check passes.
    if (report.inconclusive.isEmpty())
        return;
    for (CheckResult& check : report.results) {
        if (check.verdict == CheckResult::Verdict::Pass) {
            check.verdict = CheckResult::Verdict::NotRun;
            check.measured = QStringLiteral("inconclusive: ") + report.inconclusive;
        }
    }
    report.points = 0;
}

LiveChecker::LiveChecker(RunOptions options, QObject* parent) : QObject(parent), options(std::move(options))
{
}

LiveChecker::~LiveChecker() = default;

QString LiveChecker::open()
{
    const QString error = link.open(options.programPort, options.peerPort);
    if (!error.isEmpty())
        return error;
    if (!options.traceFile.isEmpty()) {
        // A new file: whatever stands at the path (a link included) is replaced, never followed.
        QFile::remove(options.traceFile);
        traceFile.setFileName(options.traceFile);
        if (!traceFile.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return QStringLiteral("cannot write %1: %2").arg(options.traceFile, traceFile.errorString());
    }
    return {};
}

Micros LiveChecker::now() const
{
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - origin)
        .count();
}

Micros LiveChecker::local(qint64 arrivedMicros) const
{
    const Micros originMicros =
        std::chrono::duration_cast<std::chrono::microseconds>(origin.time_since_epoch()).count();
    return PeerLink::steadyMicros(arrivedMicros) - originMicros;
}

void LiveChecker::trace(const SessionFile::Entry& entry)
{
    if (!traceFile.isOpen())
        return;
    traceFile.write(SessionFile::line(entry));
    traceFile.flush();
}

ScenarioReport LiveChecker::run(const Scenario& scenario)
{
    if (options.lockstep)
        return runLockstep(scenario);
    // What is still waiting answered the scenario before (or a peer stopped since): not this one's.
    link.readWaiting(1 << 20);
    ScenarioRun run(scenario);
    trace({now(), SessionFile::Direction::Scenario, {}, {}, scenario.name, scenario.file, {}});
    QStringList notes;

    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    // A started peer is up when it first sends; until then it is sent the setup again and again,
    // so that it answers it if it has nothing to say on its own, and the scenario never starts with
    // its first document lost. These repeats are not traced: the setup follows them.
    bool started = options.start.isEmpty();
    QTimer probe;
    probe.setInterval(probeMs);
    connect(&probe, &QTimer::timeout, this, [&] { link.send(run.setupDocument()); });
    QString couldNotStart;

    // The link is normal at the start of every scenario; link steps change it.
    toPeer.start({}, 0);
    toProgram.start({}, 0);
    // Makes the run's calls for what is due now: sends what it asks for, then waits.
    const auto pump = [&](Micros at) {
        for (ScenarioRun::Action action = run.next(at);; action = run.next(now())) {
            if (action.kind == ScenarioRun::Action::Kind::Link) {
                const quint64 seed = action.linkSeeded ? action.link.seed : options.seed;
                toPeer.start(action.link.toPeer, seed * 2);
                toProgram.start(action.link.toProgram, seed * 2 + 1);
            } else if (action.kind == ScenarioRun::Action::Kind::Send) {
                if (toPeer.active()) {
                    char buffer[StateDatagram::size] = {};
                    StateDatagram::frame(StateDatagram::compactText(QJsonDocument(action.document)), buffer);
                    toPeer.submit(QByteArray(buffer, int(StateDatagram::size)));
                } else {
                    link.send(action.document);
                }
                const Micros sentAt = now();
                trace({sentAt, SessionFile::Direction::In, action.document, {}, {}, {}, {}});
                run.sent(sentAt);
            } else if (action.kind == ScenarioRun::Action::Kind::WaitUntil) {
                if (started)
                    timer.start(static_cast<int>(std::max<Micros>(0, (action.until - now() + 999) / 1000)));
                return;
            } else {
                loop.quit();
                return;
            }
        }
    };
    const auto handle = [&](const StateDatagram::Received& datagram, Micros at) {
        if (!started) {
            started = true;
            probe.stop();
            timer.stop();
        }
        noteUnknownKeys(datagram.document.object(), notes);
        if (run.startedAt() >= 0)
            pump(at); // what was due before it arrived; before the start it only changes the state
        traceOut(at, datagram);
        run.received(at, datagram.assignments);
        pump(now());
    };
    // Through a faulty link the peer's datagrams are judged when the link lets them through.
    const QMetaObject::Connection onDatagram = connect(
        &link, &PeerLink::received, this, [&](const StateDatagram::Received& datagram, qint64 arrivedMicros) {
            if (!toProgram.active())
                handle(datagram, local(arrivedMicros));
        });
    const QMetaObject::Connection onBytes =
        connect(&link, &PeerLink::bytesReceived, this, [&](const QByteArray& datagram, qint64) {
            if (toProgram.active())
                toProgram.submit(datagram);
        });
    const QMetaObject::Connection onDelivered =
        connect(&toProgram, &LinkConditioner::delivered, this,
                [&](const QByteArray& datagram) { handle(StateDatagram::receive(datagram), now()); });
    const QMetaObject::Connection onSent =
        connect(&toPeer, &LinkConditioner::delivered, this,
                [&](const QByteArray& datagram) { link.sendDatagram(datagram); });
    const QMetaObject::Connection onTimer = connect(&timer, &QTimer::timeout, this, [&] {
        link.readWaiting(1024); // what arrived before the deadline counts first
        if (started) {
            pump(now());
            return;
        }
        couldNotStart = notAnswered();
        loop.quit();
    });

    UnitProcess peer;
    QString stopped;
    if (!options.start.isEmpty()) {
        couldNotStart = startPeer(
            peer, run, loop, [this] { return now(); }, stopped, couldNotStart);
        if (couldNotStart.isEmpty()) {
            timer.start(static_cast<int>(options.startWait / 1000));
            link.send(run.setupDocument());
            probe.start();
        }
    } else {
        pump(now());
    }
    if (couldNotStart.isEmpty() && !run.done())
        loop.exec();
    for (const QMetaObject::Connection& connection : {onDatagram, onBytes, onDelivered, onSent, onTimer})
        disconnect(connection);
    timer.stop();
    probe.stop();
    return finish(run, peer, loop, stopped, notes, couldNotStart);
}

QString LiveChecker::startPeer(UnitProcess& peer, ScenarioRun& run, QEventLoop& loop,
                               const std::function<Micros()>& clock, QString& stopped, QString& couldNotStart)
{
    UnitProcess::Options how;
    how.command = options.start;
    how.directory = options.directory;
    how.boxed = options.boxed;
    how.copy = options.copy;
    how.limits = options.limits;
    how.environment = options.boxed
                          ? Sandbox::environment(options.programPort, options.peerPort, options.passed)
                          : QStringList{QStringLiteral("ZUV_PROGRAM_PORT=%1").arg(options.programPort),
                                        QStringLiteral("ZUV_PEER_PORT=%1").arg(options.peerPort)};
    const QString failure = peer.start(how);
    if (!failure.isEmpty())
        return QStringLiteral("--start ") + failure;
    // Gone when it ends before the scenario starts; stopped when it reaches a limit.
    connect(&peer, &UnitProcess::ended, &loop, [&, clock] {
        if (!peer.limitReached().isEmpty()) {
            const Micros at = clock();
            stopped =
                QStringLiteral("your control unit %1 and was stopped %2 s into '%3'")
                    .arg(peer.limitReached())
                    .arg(QString::number(run.startedAt() < 0 ? 0.0 : (at - run.startedAt()) / 1e6, 'f', 1),
                         run.scenario().name);
            trace({at, SessionFile::Direction::Stopped, {}, {}, {}, {}, stopped});
            run.stop(at, stopped);
            loop.quit();
        } else if (run.startedAt() < 0) {
            couldNotStart = QStringLiteral("--start: '%1' ended at once (status %2)")
                                .arg(options.start)
                                .arg(peer.exitCode());
            loop.quit();
        }
    });
    return {};
}

ScenarioReport LiveChecker::finish(const ScenarioRun& run, UnitProcess& peer, QEventLoop& loop,
                                   const QString& stopped, const QStringList& notes,
                                   const QString& inconclusive)
{
    peer.disconnect(&loop);
    peer.stop();
    ScenarioReport report = reportOf(run, options.seed);
    report.peerOutput = peer.output(QProcess::StandardOutput);
    report.peerErrors = peer.output(QProcess::StandardError);
    report.outputTruncated = peer.truncated(QProcess::StandardOutput);
    report.errorsTruncated = peer.truncated(QProcess::StandardError);
    report.stopped = stopped;
    report.notes = notes;
    report.leftBehind = peer.leftBehind();
    report.survivors = peer.survivors();
    if (!inconclusive.isEmpty()) {
        report.inconclusive = inconclusive;
        withdrawPoints(report);
    }
    return report;
}

QString LiveChecker::notAnswered() const
{
    const Micros wait = options.startWait;
    return QStringLiteral("your unit had not answered after %1; try --start-wait %2s")
        .arg(wait % 1'000'000 == 0 ? QStringLiteral("%1 s").arg(wait / 1'000'000)
                                   : QStringLiteral("%1 ms").arg(wait / 1000))
        .arg((wait + 999'999) / 1'000'000 * 3);
}

void LiveChecker::traceOut(Micros at, const StateDatagram::Received& datagram)
{
    trace({at,
           SessionFile::Direction::Out,
           datagram.document.object(),
           datagram.verdict == StateDatagram::Received::Verdict::Document
               ? QString()
               : QString::fromStdString(datagram.reason()),
           {},
           {},
           {}});
}

QVector<SessionFile::Entry> segmentOf(const QVector<SessionFile::Entry>& entries, const QString& name,
                                      bool& found)
{
    const bool marked = std::any_of(entries.begin(), entries.end(), [](const SessionFile::Entry& entry) {
        return entry.direction == SessionFile::Direction::Scenario;
    });
    found = !marked;
    if (!marked)
        return entries;
    QVector<SessionFile::Entry> segment;
    bool inside = false;
    for (const SessionFile::Entry& entry : entries) {
        if (entry.direction == SessionFile::Direction::Scenario) {
            if (inside)
                break;
            inside = entry.scenario == name;
            found = found || inside;
            continue;
        }
        if (inside)
            segment.append(entry);
    }
    return segment;
}

ScenarioReport regrade(const Scenario& scenario, const QVector<SessionFile::Entry>& segment, quint64 seed,
                       QString& error)
{
    ScenarioRun run(scenario);
    QString stopped;
    QStringList notes;
    // On lock-step time the live run asks what is due only when the unit has answered a time ($done):
    // the unit's documents in between are all received before the scenario goes on.
    const bool lockstep = std::any_of(segment.begin(), segment.end(), [](const SessionFile::Entry& entry) {
        return entry.direction == SessionFile::Direction::In &&
               entry.document.contains(QLatin1String("$time"));
    });
    bool askFirst = true;
    for (int line = 0; line < segment.size() && error.isEmpty(); ++line) {
        const SessionFile::Entry& entry = segment.at(line);
        if (entry.direction == SessionFile::Direction::Out)
            noteUnknownKeys(entry.document, notes);
        if (entry.direction == SessionFile::Direction::Stopped) {
            stopped = entry.stopped;
            run.stop(entry.atMicros, stopped);
            break;
        }
        // Before the start a datagram only changes the state, as in the live run.
        if (entry.direction == SessionFile::Direction::Out && run.startedAt() < 0) {
            run.received(entry.atMicros, StateValues::assignmentsOf(entry.document));
            continue;
        }
        const bool answered = entry.document.contains(QLatin1String("$done"));
        if (lockstep && entry.direction == SessionFile::Direction::Out && !askFirst) {
            run.received(entry.atMicros, StateValues::assignmentsOf(entry.document));
            askFirst = answered;
            continue;
        }
        ScenarioRun::Action action = run.next(entry.atMicros);
        while (action.kind == ScenarioRun::Action::Kind::Link) // the trace holds what the link let through
            action = run.next(entry.atMicros);
        askFirst = answered;
        if (entry.direction == SessionFile::Direction::In) {
            if (action.kind != ScenarioRun::Action::Kind::Send)
                error = QStringLiteral("the trace sends a document where the scenario '%1' sends none")
                            .arg(scenario.name);
            else
                run.sent(entry.atMicros);
        } else if (entry.direction == SessionFile::Direction::Out) {
            if (action.kind == ScenarioRun::Action::Kind::Send)
                error = QStringLiteral("the trace sends no document where the scenario '%1' sends one")
                            .arg(scenario.name);
            else
                run.received(entry.atMicros, StateValues::assignmentsOf(entry.document));
        }
    }
    // Whatever was still due after the last line.
    if (error.isEmpty() && !run.done()) {
        ScenarioRun::Action action = run.next(std::numeric_limits<Micros>::max() / 2);
        while (action.kind == ScenarioRun::Action::Kind::Link)
            action = run.next(std::numeric_limits<Micros>::max() / 2);
        if (action.kind == ScenarioRun::Action::Kind::Send)
            error = QStringLiteral("the trace ends before the scenario '%1' did").arg(scenario.name);
    }
    ScenarioReport report = reportOf(run, seed);
    report.stopped = stopped;
    report.notes = notes;
    return report;
}

} // namespace Check
