// The live checker on lock-step time (docs/lockstep.md): the scenario's clock is the simulated time,
// which advances to the earlier of the scenario's next event and the unit's next timer as soon as
// the unit has answered the time before with $done.

#include "check/CheckRunner.h"

#include <QJsonDocument>
#include <QTimer>

namespace Check {

namespace {

// How often the setup is sent again while the unit comes up.
constexpr int probeMs = 100;
// Steps at one and the same time that a unit may ask for before it counts as stuck.
constexpr int sameTimeRounds = 1000;

QByteArray framed(const QJsonObject& document)
{
    char buffer[StateDatagram::size] = {};
    StateDatagram::frame(StateDatagram::compactText(QJsonDocument(document)), buffer);
    return QByteArray(buffer, int(StateDatagram::size));
}

QJsonObject timeOnly(Micros at)
{
    return {{QStringLiteral("$time"), double(at)}};
}

} // namespace

ScenarioReport LiveChecker::runLockstep(const Scenario& scenario)
{
    link.readWaiting(1 << 20);
    ScenarioRun run(scenario);
    Micros& sim = simulated;
    trace({sim, SessionFile::Direction::Scenario, {}, {}, scenario.name, scenario.file, {}});
    QStringList notes;
    QString inconclusive;
    QString stopped;
    QEventLoop loop;

    // The faulty link acts on simulated time: late datagrams come out when the time gets there.
    for (LinkConditioner* conditioner : {&toPeer, &toProgram}) {
        conditioner->useManualClock(sim);
        conditioner->start({}, 0);
    }

    bool up = false;       // the unit answered its first $time
    bool spoke = false;    // it sent anything at all
    Micros awaiting = sim; // the $time whose $done is awaited; -1: none
    Micros unitNext = -1;  // the unit's next timer
    int rounds = 0;
    bool statePassed = false;
    QTimer wall; // the start wait, then the step timeout
    wall.setSingleShot(true);
    QTimer probe;
    probe.setInterval(probeMs);

    const auto await = [&](Micros at) {
        awaiting = at;
        if (options.stepTimeout > 0)
            wall.start(int(std::min<Micros>(options.stepTimeout / 1000, 24 * 3600 * 1000)));
    };
    // What is due until the unit must answer: the scenario's steps, the unit's timers, late
    // datagrams, each at its simulated time.
    std::function<void()> step = [&] {
        while (awaiting < 0) {
            const ScenarioRun::Action action = run.next(sim);
            if (action.kind == ScenarioRun::Action::Kind::Link) {
                const quint64 seed = action.linkSeeded ? action.link.seed : options.seed;
                toPeer.advanceTo(sim);
                toProgram.advanceTo(sim);
                toPeer.start(action.link.toPeer, seed * 2);
                toProgram.start(action.link.toProgram, seed * 2 + 1);
            } else if (action.kind == ScenarioRun::Action::Kind::Send) {
                QJsonObject document = action.document;
                document.insert(QStringLiteral("$time"), double(sim));
                trace({sim, SessionFile::Direction::In, document, {}, {}, {}, {}});
                run.sent(sim);
                // A state the link loses still leaves the unit its time.
                statePassed = false;
                toPeer.submit(framed(action.document));
                if (!statePassed)
                    link.send(timeOnly(sim));
                await(sim);
            } else if (action.kind == ScenarioRun::Action::Kind::WaitUntil) {
                // At one time the scenario's own events come first (as on the wall clock, where a
                // unit's answer comes a moment later), then the unit's timer.
                if (unitNext >= 0 && unitNext <= sim) {
                    if (++rounds > sameTimeRounds) {
                        inconclusive = QStringLiteral("your unit asked for $time %1 again and again without "
                                                      "getting on (docs/lockstep.md)")
                                           .arg(sim);
                        loop.quit();
                        return;
                    }
                    unitNext = -1;
                    link.send(timeOnly(sim));
                    await(sim);
                    continue;
                }
                Micros target = action.until;
                for (const Micros due : {unitNext, toPeer.nextDue(), toProgram.nextDue()})
                    target = due >= 0 ? std::min(target, due) : target;
                if (target > sim)
                    rounds = 0;
                sim = std::max(target, sim);
                statePassed = false;
                toProgram.advanceTo(sim);
                toPeer.advanceTo(sim);
                if (statePassed)
                    await(sim);
            } else {
                loop.quit();
                return;
            }
        }
    };
    const auto handleState = [&](const StateDatagram::Received& datagram) {
        traceOut(sim, datagram);
        run.received(sim, datagram.assignments);
    };
    // Behind a faulty link the unit's answer of the time is traced when it arrives, and the state it
    // may hold when the link lets it through: so a re-grading takes both when the live run did.
    const auto withoutClock = [](StateDatagram::Received datagram) {
        QJsonObject document = datagram.document.object();
        document.remove(QStringLiteral("$done"));
        document.remove(QStringLiteral("$next"));
        datagram.document.setObject(document);
        return datagram;
    };

    // States on their way to the unit carry the time they arrive at.
    const QMetaObject::Connection onSent =
        connect(&toPeer, &LinkConditioner::delivered, this, [&](const QByteArray& bytes) {
            statePassed = true;
            const StateDatagram::Received state = StateDatagram::receive(bytes);
            if (state.document.isObject()) {
                QJsonObject document = state.document.object();
                document.insert(QStringLiteral("$time"), double(sim));
                link.send(document);
            } else {
                link.sendDatagram(bytes); // damaged beyond reading: the time follows on its own
                link.send(timeOnly(sim));
            }
        });
    const QMetaObject::Connection onDelivered =
        connect(&toProgram, &LinkConditioner::delivered, this,
                [&](const QByteArray& bytes) { handleState(withoutClock(StateDatagram::receive(bytes))); });
    const QMetaObject::Connection onBytes =
        connect(&link, &PeerLink::bytesReceived, this, [&](const QByteArray& bytes, qint64) {
            if (toProgram.active())
                toProgram.submit(bytes);
        });
    const QMetaObject::Connection onDatagram =
        connect(&link, &PeerLink::received, this, [&](const StateDatagram::Received& datagram, qint64) {
            spoke = true;
            const QJsonObject document = datagram.document.object();
            noteUnknownKeys(document, notes);
            // The clock's keys are the link's own: no fault touches them.
            const QJsonValue done = document.value(QLatin1String("$done"));
            const QJsonValue next = document.value(QLatin1String("$next"));
            if (!toProgram.active()) {
                handleState(datagram);
            } else if (done.isDouble() || next.isDouble()) {
                QJsonObject clock{{QStringLiteral("$done"), done}};
                if (next.isDouble())
                    clock.insert(QStringLiteral("$next"), next);
                trace({sim, SessionFile::Direction::Out, clock, {}, {}, {}, {}});
            }
            if (!done.isDouble() || Micros(done.toDouble()) != awaiting || awaiting < 0)
                return;
            unitNext = next.isDouble() ? std::max(Micros(next.toDouble()), sim) : -1;
            awaiting = -1;
            wall.stop();
            if (!up) {
                up = true;
                probe.stop();
            }
            step();
        });
    connect(&probe, &QTimer::timeout, this, [&] {
        QJsonObject document = run.setupDocument();
        document.insert(QStringLiteral("$time"), double(sim));
        link.send(document);
    });
    connect(&wall, &QTimer::timeout, this, [&] {
        link.readWaiting(1024); // what arrived meanwhile counts first
        if (awaiting < 0)
            return;
        if (up)
            inconclusive = QStringLiteral("your unit did not answer $time %1 within %2 s (--step-timeout)")
                               .arg(awaiting)
                               .arg(options.stepTimeout / 1e6);
        else if (spoke)
            inconclusive =
                QStringLiteral("this control unit does not keep lock-step time (docs/lockstep.md); "
                               "check it without --lockstep");
        else
            inconclusive = notAnswered();
        loop.quit();
    });

    UnitProcess peer;
    QString couldNotStart;
    if (!options.start.isEmpty())
        couldNotStart = startPeer(
            peer, run, loop, [&sim] { return sim; }, stopped, couldNotStart);
    if (couldNotStart.isEmpty()) {
        // The setup with the first time, again and again until the unit answers it; the scenario
        // then starts with it.
        wall.start(int(options.startWait / 1000));
        probe.start();
        QJsonObject document = run.setupDocument();
        document.insert(QStringLiteral("$time"), double(sim));
        link.send(document);
        loop.exec();
    }
    for (const QMetaObject::Connection& connection : {onSent, onDelivered, onBytes, onDatagram})
        disconnect(connection);
    probe.stop();
    wall.stop();
    return finish(run, peer, loop, stopped, notes, couldNotStart.isEmpty() ? inconclusive : couldNotStart);
}

} // namespace Check
