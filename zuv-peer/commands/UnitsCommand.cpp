// zuv-peer, monitor and record: the control units on the link, with their trace.

#include "ShutdownSignals.h"
#include "Trace.h"
#include "commands/CommandLine.h"
#include "commands/Commands.h"
#include "link/PeerLink.h"
#include "link/SessionFile.h"
#include "link/TrafficPrinter.h"
#include "units/Clock.h"
#include "units/Mutants.h"
#include "units/Simulator.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace Commands {

namespace {

using namespace Peer;

constexpr int tickMilliseconds = 5;

enum class Units
{
    Simulate, // no command word: the control units with a compact trace
    Monitor,  // every changed value as old -> new
    Record    // the compact trace, and every document written to a file
};

int runUnits(const QStringList& arguments, Units mode)
{
    CommandLine::Parser parser(
        mode == Units::Simulate  ? ""
        : mode == Units::Monitor ? "monitor"
                                 : "record",
        mode == Units::Simulate ? overview()
        : mode == Units::Monitor
            ? QStringLiteral("Runs the control units and prints every changed value as "
                             "old -> new.")
            : QStringLiteral("Runs the control units and writes every document in and out "
                             "to FILE, one JSON object per line."));
    const QCommandLineOption passive(QStringLiteral("passive"),
                                     QStringLiteral("Watch only: run no control units and send nothing."));
    const QCommandLineOption mutant(
        QStringLiteral("mutant"),
        QStringLiteral("Run the control units with one deliberate fault; 'list' lists them."),
        QStringLiteral("name"));
    parser->addOptions({passive, mutant});
    if (mode == Units::Record)
        parser->addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The session file to write."));
    const int parsed = parser.parse(arguments, 0);
    if (parsed >= 0)
        return parsed;
    const QStringList positional = parser.positional();
    if (mode == Units::Record && positional.size() != 1)
        return CommandLine::usage(QStringLiteral("record takes one FILE"));
    if (mode != Units::Record && !positional.isEmpty()) {
        if (mode == Units::Simulate)
            return CommandLine::usage(
                QStringLiteral("unknown command '%1' (commands: %2)").arg(positional.first(), words()));
        return CommandLine::usage(QStringLiteral("unexpected argument '%1'").arg(positional.first()));
    }
    if (mode == Units::Monitor && parser.quiet())
        return CommandLine::usage(
            QStringLiteral("monitor prints the traffic; --quiet would silence all of it"));
    if (parser->isSet(mutant)) {
        const QString name = parser->value(mutant);
        if (name == QLatin1String("list")) {
            for (const auto* described = Mutants::begin(); described != Mutants::end(); ++described)
                std::printf("%-28s %s\n", described->name, described->description);
            return 0;
        }
        if (!Mutants::select(name))
            return CommandLine::usage(
                QStringLiteral("no mutant is named '%1' ('zuv-peer --mutant list' lists them)").arg(name));
    }
    const bool watching = parser->isSet(passive);
    const CommandLine::Ports ports = parser.ports();

    PeerLink link;
    const QString error = link.open(ports.peer, ports.program);
    if (!error.isEmpty()) {
        CommandLine::printError(error +
                                QStringLiteral(" - is another zuv-peer or control-unit program running?"));
        return CommandLine::runError;
    }

    LockstepClock clock;
    Simulator simulator(clock);
    simulator.setDriving(!watching);
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&link, &PeerLink::received, &simulator, [&](const StateDatagram::Received& datagram) {
        const QJsonObject document = datagram.document.object();
        const QJsonValue time = document.value(QLatin1String("$time"));
        if (watching || !time.isDouble()) {
            simulator.handleDatagram(datagram);
            return;
        }
        // A checker keeps lock-step time (docs/lockstep.md): its clock from now on. What was due up
        // to its time first, then its state, then when the units are due next.
        ticker.stop();
        const qint64 at = qint64(time.toDouble());
        clock.set(at);
        simulator.tick();
        const QStringList keys = document.keys();
        if (std::any_of(keys.begin(), keys.end(),
                        [](const QString& key) { return !key.startsWith(QLatin1Char('$')); }))
            simulator.handleDatagram(datagram);
        QJsonObject done{{QStringLiteral("$done"), double(at)}};
        const Millis next = simulator.nextDue();
        if (next >= 0)
            done.insert(QStringLiteral("$next"), double(std::max(next * 1000, at)));
        link.send(done);
    });
    QObject::connect(&link, &PeerLink::receiveFailed, &simulator, &Simulator::handleReceiveError);

    const bool printing = !parser.quiet();
    TrafficPrinter printer(mode == Units::Monitor ? TrafficPrinter::Style::Monitor
                                                  : TrafficPrinter::Style::Compact);
    // The trace first, so that a failure to send follows the line of the document.
    if (printing) {
        QObject::connect(&simulator, &Simulator::documentReceived, &printer, &TrafficPrinter::printReceived);
        QObject::connect(&simulator, &Simulator::datagramRejected, &printer, &TrafficPrinter::printRejected);
        QObject::connect(&simulator, &Simulator::documentSent, &printer, &TrafficPrinter::printSent);
    }
    QObject::connect(&simulator, &Simulator::documentSent, &link,
                     [&](qint64 at, const QJsonObject& document) {
                         const QString failure = link.send(document);
                         if (!failure.isEmpty() && printing)
                             printer.printSendFailure(at, failure);
                     });

    SessionRecorder recorder;
    if (mode == Units::Record) {
        const QString failure = recorder.open(positional.first());
        if (!failure.isEmpty()) {
            CommandLine::printError(failure);
            return CommandLine::runError;
        }
        QObject::connect(
            &simulator, &Simulator::documentReceived, &recorder,
            [&recorder](qint64 at, const QJsonObject& document) { recorder.recordReceived(at, document); });
        QObject::connect(
            &simulator, &Simulator::documentSent, &recorder,
            [&recorder](qint64 at, const QJsonObject& document) { recorder.recordSent(at, document); });
        QObject::connect(&recorder, &SessionRecorder::writeFailed, qApp, [](const QString& reason) {
            CommandLine::printError(reason);
            QCoreApplication::exit(CommandLine::runError);
        });
    }

    ShutdownSignals shutdown;
    QObject::connect(&ticker, &QTimer::timeout, &simulator, &Simulator::tick);

    if (printing) {
        const QString role = watching ? QStringLiteral("watching (no control units)")
                                      : QStringLiteral("control units running");
        Trace::line(QStringLiteral("zuv-peer: %1; listening on UDP 127.0.0.1:%2, sending to 127.0.0.1:%3%4; "
                                   "Ctrl+C ends")
                        .arg(role)
                        .arg(link.listeningPort())
                        .arg(ports.program)
                        .arg(mode == Units::Record ? QStringLiteral("; recording to ") + positional.first()
                                                   : QString())
                        .toStdString());
    }
    if (!watching) {
        simulator.tick(); // the outputs as they stand, at once
        ticker.start(tickMilliseconds);
    }
    const int status = QCoreApplication::exec();
    ticker.stop();
    link.close();
    if (printing)
        Trace::line("zuv-peer: stopped");
    return status;
}

} // namespace

int units(const QStringList& arguments)
{
    return runUnits(arguments, Units::Simulate);
}

int monitor(const QStringList& arguments)
{
    return runUnits(arguments, Units::Monitor);
}

int record(const QStringList& arguments)
{
    return runUnits(arguments, Units::Record);
}

} // namespace Commands
