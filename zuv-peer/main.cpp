// zuv-peer: the kit's control units for the virtual platform, and the link tools.
//
//   zuv-peer                      run the control units (lights, alarm, windshield, generic boards)
//   zuv-peer monitor              the same, printing every changed value as old -> new
//   zuv-peer record FILE          the same, also writing every document in and out to FILE
//   zuv-peer replay FILE          send the documents of a recorded session again
//   zuv-peer send KEY=VALUE ...   send one document to the program

#include "Assignments.h"
#include "Clock.h"
#include "Connectivity/SocketLayer.h"
#include "PeerLink.h"
#include "Replayer.h"
#include "SessionFile.h"
#include "ShutdownSignals.h"
#include "Simulator.h"
#include "Trace.h"
#include "TrafficPrinter.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

using namespace Peer;

constexpr int usageError = 2;
constexpr int runError = 1;
constexpr int tickMilliseconds = 5;

enum class Command
{
    Simulate,
    Monitor,
    Record,
    Replay,
    Send
};

struct Options
{
    Command command = Command::Simulate;
    QStringList arguments; // after the command word
    bool quiet = false;
    bool passive = false;
    double speed = 1.0;
    bool toPeer = false;
    int programPort = 50000;
    int peerPort = 50001;
};

void printError(const QString& text)
{
    std::fprintf(stderr, "zuv-peer: error: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

int usage(const QString& text)
{
    printError(text);
    std::fprintf(stderr, "Try 'zuv-peer --help'.\n");
    return usageError;
}

bool parsePort(const QString& text, int minimum, int& port)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < minimum || value > 65535)
        return false;
    port = value;
    return true;
}

// Fills `options`; returns -1 to go on, or the exit status.
int parseCommandLine(const QCoreApplication& application, Options& options)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "The control units of the ZUV training kit for the virtual platform, and link tools.\n"
        "\n"
        "Commands:\n"
        "  (none)               run the control units: receive the platform's state on UDP\n"
        "                       127.0.0.1:50001, answer with the outputs on 127.0.0.1:50000,\n"
        "                       one trace line per document in and out\n"
        "  monitor              the same, with each changed value shown as old -> new\n"
        "  record FILE          the same, also writing every document in and out to FILE\n"
        "                       (JSON lines: {\"t\":seconds,\"dir\":\"in\"|\"out\",\"doc\":{...}})\n"
        "  replay FILE          send the documents of a recorded session again, in their timing:\n"
        "                       the \"out\" documents to the program, or with --to peer the \"in\"\n"
        "                       documents to a peer\n"
        "  send KEY=VALUE ...   send one document to the program (or with --to peer to a peer);\n"
        "                       values are whole numbers or true/false\n"
        "\n"
        "Ctrl+C (SIGINT) or SIGTERM ends it."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("monitor, record, replay or send."),
                                 QStringLiteral("[command]"));
    parser.addPositionalArgument(QStringLiteral("arguments"), QStringLiteral("FILE, or KEY=VALUE pairs."),
                                 QStringLiteral("[arguments...]"));
    const QCommandLineOption quiet({QStringLiteral("q"), QStringLiteral("quiet")},
                                   QStringLiteral("Print nothing but errors."));
    const QCommandLineOption passive(QStringLiteral("passive"),
                                     QStringLiteral("Watch only: run no control units and send nothing "
                                                    "(no command, monitor, record)."));
    const QCommandLineOption speed(QStringLiteral("speed"),
                                   QStringLiteral("Replay at <factor> times the recorded pace (default 1)."),
                                   QStringLiteral("factor"));
    const QCommandLineOption to(QStringLiteral("to"),
                                QStringLiteral("Where replay and send go: program (default) or peer."),
                                QStringLiteral("program|peer"));
    const QCommandLineOption programPort(QStringLiteral("program-port"),
                                         QStringLiteral("The program's UDP port (default 50000)."),
                                         QStringLiteral("port"));
    const QCommandLineOption peerPort(
        QStringLiteral("peer-port"), QStringLiteral("The peer's UDP port (default 50001; 0: any free port)."),
        QStringLiteral("port"));
    parser.addOptions({quiet, passive, speed, to, programPort, peerPort});

    if (!parser.parse(application.arguments()))
        return usage(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        std::printf("%s", parser.helpText().toLocal8Bit().constData());
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("zuv-peer %s\n", QCoreApplication::applicationVersion().toLocal8Bit().constData());
        return 0;
    }

    QStringList positional = parser.positionalArguments();
    if (!positional.isEmpty()) {
        const QString word = positional.takeFirst();
        if (word == QLatin1String("monitor"))
            options.command = Command::Monitor;
        else if (word == QLatin1String("record"))
            options.command = Command::Record;
        else if (word == QLatin1String("replay"))
            options.command = Command::Replay;
        else if (word == QLatin1String("send"))
            options.command = Command::Send;
        else
            return usage(
                QStringLiteral("unknown command '%1' (commands: monitor, record, replay, send)").arg(word));
    }
    options.arguments = positional;
    options.quiet = parser.isSet(quiet);
    options.passive = parser.isSet(passive);

    const Command command = options.command;
    const bool runsUnits =
        command == Command::Simulate || command == Command::Monitor || command == Command::Record;
    switch (command) {
    case Command::Simulate:
    case Command::Monitor:
        if (!options.arguments.isEmpty())
            return usage(QStringLiteral("unexpected argument '%1'").arg(options.arguments.first()));
        break;
    case Command::Record:
    case Command::Replay:
        if (options.arguments.size() != 1)
            return usage(
                QStringLiteral("%1 takes one FILE").arg(command == Command::Record ? "record" : "replay"));
        break;
    case Command::Send:
        break;
    }
    if (command == Command::Monitor && options.quiet)
        return usage(QStringLiteral("monitor prints the traffic; --quiet would silence all of it"));
    if (options.passive && !runsUnits)
        return usage(QStringLiteral("--passive goes with no command, monitor or record"));
    if (parser.isSet(speed)) {
        if (command != Command::Replay)
            return usage(QStringLiteral("--speed goes with replay"));
        bool ok = false;
        options.speed = parser.value(speed).toDouble(&ok);
        if (!ok || !(options.speed > 0) || options.speed > 1e6)
            return usage(QStringLiteral("--speed takes a factor above 0, e.g. 2 or 0.5, not '%1'")
                             .arg(parser.value(speed)));
    }
    if (parser.isSet(to)) {
        if (command != Command::Replay && command != Command::Send)
            return usage(QStringLiteral("--to goes with replay or send"));
        const QString target = parser.value(to);
        if (target != QLatin1String("program") && target != QLatin1String("peer"))
            return usage(QStringLiteral("--to takes program or peer, not '%1'").arg(target));
        options.toPeer = target == QLatin1String("peer");
    }
    if (parser.isSet(programPort) && !parsePort(parser.value(programPort), 1, options.programPort))
        return usage(QStringLiteral("--program-port takes a port from 1 to 65535, not '%1'")
                         .arg(parser.value(programPort)));
    if (parser.isSet(peerPort) && !parsePort(parser.value(peerPort), runsUnits ? 0 : 1, options.peerPort))
        return usage(QStringLiteral("--peer-port takes a port from %1 to 65535, not '%2'")
                         .arg(runsUnits ? 0 : 1)
                         .arg(parser.value(peerPort)));
    return -1;
}

int runUnits(QCoreApplication& application, const Options& options)
{
    PeerLink link;
    const QString error = link.open(options.peerPort, options.programPort);
    if (!error.isEmpty()) {
        printError(error + QStringLiteral(" - is another zuv-peer or control-unit program running?"));
        return runError;
    }

    SteadyClock clock;
    Simulator simulator(clock);
    simulator.setDriving(!options.passive);
    QObject::connect(&link, &PeerLink::datagramReceived, &simulator, &Simulator::handleDatagram);

    const bool printing = !options.quiet;
    TrafficPrinter printer(options.command == Command::Monitor ? TrafficPrinter::Style::Monitor
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
    if (options.command == Command::Record) {
        const QString failure = recorder.open(options.arguments.first());
        if (!failure.isEmpty()) {
            printError(failure);
            return runError;
        }
        QObject::connect(
            &simulator, &Simulator::documentReceived, &recorder,
            [&recorder](qint64 at, const QJsonObject& document) { recorder.recordReceived(at, document); });
        QObject::connect(
            &simulator, &Simulator::documentSent, &recorder,
            [&recorder](qint64 at, const QJsonObject& document) { recorder.recordSent(at, document); });
        QObject::connect(&recorder, &SessionRecorder::writeFailed, &application, [&](const QString& reason) {
            printError(reason);
            application.exit(runError);
        });
    }

    ShutdownSignals shutdown;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, &simulator, &Simulator::tick);

    if (printing) {
        const QString role = options.passive ? QStringLiteral("watching (no control units)")
                                             : QStringLiteral("control units running");
        Trace::line(QStringLiteral("zuv-peer: %1; listening on UDP 127.0.0.1:%2, sending to 127.0.0.1:%3%4; "
                                   "Ctrl+C ends")
                        .arg(role)
                        .arg(link.listeningPort())
                        .arg(options.programPort)
                        .arg(options.command == Command::Record
                                 ? QStringLiteral("; recording to ") + options.arguments.first()
                                 : QString())
                        .toStdString());
    }
    link.start();
    if (!options.passive) {
        simulator.tick(); // the outputs as they stand, at once
        ticker.start(tickMilliseconds);
    }
    const int status = application.exec();
    ticker.stop();
    link.stop();
    if (printing)
        Trace::line("zuv-peer: stopped");
    return status;
}

int runSend(const Options& options)
{
    const Assignments assignments = parseAssignments(options.arguments);
    if (!assignments.error.isEmpty())
        return usage(assignments.error);
    const int port = options.toPeer ? options.peerPort : options.programPort;
    const QString error = sendOnce(assignments.document, port);
    if (!error.isEmpty()) {
        printError(error);
        return runError;
    }
    if (!options.quiet) {
        Trace::line(QStringLiteral("sent to 127.0.0.1:%1: %2")
                        .arg(port)
                        .arg(Format::assignments(assignments.document))
                        .toStdString());
    }
    return 0;
}

int runReplay(QCoreApplication& application, const Options& options)
{
    const QString path = options.arguments.first();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return runError;
    }
    const SessionFile::Parsed parsed = SessionFile::parse(file.readAll());
    if (!parsed.error.isEmpty()) {
        printError(path + QStringLiteral(", ") + parsed.error);
        return runError;
    }
    const auto wanted = options.toPeer ? SessionFile::Direction::In : SessionFile::Direction::Out;
    QVector<SessionFile::Entry> entries;
    for (const SessionFile::Entry& entry : parsed.entries) {
        if (entry.direction == wanted)
            entries.append(entry);
    }
    if (entries.isEmpty()) {
        printError(QStringLiteral("%1 holds no documents with \"dir\":\"%2\" to send to the %3")
                       .arg(path, SessionFile::directionName(wanted),
                            options.toPeer ? QStringLiteral("peer") : QStringLiteral("program")));
        return runError;
    }

    const int port = options.toPeer ? options.peerPort : options.programPort;
    Replayer replayer(entries, port, options.speed);
    const bool printing = !options.quiet;
    int failures = 0;
    QObject::connect(
        &replayer, &Replayer::sent, &application, [&](qint64 at, const SessionFile::Entry& entry) {
            if (printing) {
                Trace::line((Format::timestamp(at) + QLatin1Char(' ') +
                             SessionFile::directionName(entry.direction) +
                             (entry.direction == SessionFile::Direction::In ? QStringLiteral("  ")
                                                                            : QStringLiteral(" ")) +
                             Format::assignments(entry.document))
                                .toStdString());
            }
        });
    QObject::connect(&replayer, &Replayer::sendFailed, &application, [&](qint64 at, const QString& reason) {
        ++failures;
        printError(Format::timestamp(at) + QStringLiteral(" not sent: ") + reason);
    });
    QObject::connect(&replayer, &Replayer::finished, &application, &QCoreApplication::quit);
    ShutdownSignals shutdown;
    if (printing) {
        Trace::line(QStringLiteral("zuv-peer: replaying %1 documents from %2 to 127.0.0.1:%3 at %4x speed")
                        .arg(entries.size())
                        .arg(path)
                        .arg(port)
                        .arg(options.speed)
                        .toStdString());
    }
    replayer.start();
    const int status = application.exec();
    if (status != 0)
        return status;
    return failures == 0 ? 0 : runError;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zuv-peer"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZUV_PEER_VERSION));
    JOLV::Connectivity::net::startup();

    Options options;
    const int parsed = parseCommandLine(application, options);
    if (parsed >= 0)
        return parsed;

    switch (options.command) {
    case Command::Send:
        return runSend(options);
    case Command::Replay:
        return runReplay(application, options);
    default:
        return runUnits(application, options);
    }
}
