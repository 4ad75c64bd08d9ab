// zuv-peer replay: the documents of a recorded session sent again, in their timing.

#include "ShutdownSignals.h"
#include "Trace.h"
#include "commands/CommandLine.h"
#include "commands/Commands.h"
#include "link/Replayer.h"
#include "link/SessionFile.h"
#include "link/TrafficPrinter.h"

#include <QCoreApplication>
#include <QFile>

namespace Commands {

int replay(const QStringList& arguments)
{
    using namespace Peer;
    CommandLine::Parser parser(
        "replay", QStringLiteral("Sends the documents of a recorded session again, in their timing: "
                                 "the \"out\" documents to the program, or with --to peer the \"in\" "
                                 "documents to a peer."));
    const QCommandLineOption to = CommandLine::destinationOption();
    const QCommandLineOption speed(QStringLiteral("speed"),
                                   QStringLiteral("Replay at <factor> times the recorded pace (default 1)."),
                                   QStringLiteral("factor"));
    parser->addOptions({to, speed});
    parser->addPositionalArgument(QStringLiteral("FILE"),
                                  QStringLiteral("A session file written by record."));
    const int parsed = parser.parse(arguments);
    if (parsed >= 0)
        return parsed;
    if (parser.positional().size() != 1)
        return CommandLine::usage(QStringLiteral("replay takes one FILE"));
    bool toPeer = false;
    const int destination = CommandLine::readDestination(*parser, to, toPeer);
    if (destination >= 0)
        return destination;
    double factor = 1.0;
    if (parser->isSet(speed)) {
        bool ok = false;
        factor = parser->value(speed).toDouble(&ok);
        if (!ok || !(factor > 0) || factor > 1e6)
            return CommandLine::usage(
                QStringLiteral("--speed takes a factor above 0, e.g. 2 or 0.5, not '%1'")
                    .arg(parser->value(speed)));
    }

    const QString path = parser.positional().first();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        CommandLine::printError(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return CommandLine::runError;
    }
    const SessionFile::Parsed session = SessionFile::parse(file.readAll());
    if (!session.error.isEmpty()) {
        CommandLine::printError(path + QStringLiteral(", ") + session.error);
        return CommandLine::runError;
    }
    const auto wanted = toPeer ? SessionFile::Direction::In : SessionFile::Direction::Out;
    QVector<SessionFile::Entry> entries;
    for (const SessionFile::Entry& entry : session.entries) {
        if (entry.direction == wanted)
            entries.append(entry);
    }
    if (entries.isEmpty()) {
        CommandLine::printError(QStringLiteral("%1 holds no documents with \"dir\":\"%2\" to send to the %3")
                                    .arg(path, SessionFile::directionName(wanted),
                                         toPeer ? QStringLiteral("peer") : QStringLiteral("program")));
        return CommandLine::runError;
    }

    const int port = toPeer ? parser.ports().peer : parser.ports().program;
    Replayer replayer(entries, port, factor);
    const bool printing = !parser.quiet();
    int failures = 0;
    QObject::connect(&replayer, &Replayer::sent, qApp, [&](qint64 at, const SessionFile::Entry& entry) {
        if (printing) {
            const bool in = entry.direction == SessionFile::Direction::In;
            Trace::line(
                (Format::timestamp(at) + QLatin1Char(' ') + SessionFile::directionName(entry.direction) +
                 (in ? QStringLiteral("  ") : QStringLiteral(" ")) + Format::assignments(entry.document))
                    .toStdString());
        }
    });
    QObject::connect(&replayer, &Replayer::sendFailed, qApp, [&](qint64 at, const QString& reason) {
        ++failures;
        CommandLine::printError(Format::timestamp(at) + QStringLiteral(" not sent: ") + reason);
    });
    QObject::connect(&replayer, &Replayer::finished, qApp, &QCoreApplication::quit);
    ShutdownSignals shutdown;
    if (printing) {
        Trace::line(QStringLiteral("zuv-peer: replaying %1 documents from %2 to 127.0.0.1:%3 at %4x speed")
                        .arg(entries.size())
                        .arg(path)
                        .arg(port)
                        .arg(factor)
                        .toStdString());
    }
    replayer.start();
    const int status = QCoreApplication::exec();
    if (status != 0)
        return status;
    return failures == 0 ? 0 : CommandLine::runError;
}

} // namespace Commands
