// zuv-peer send: one document to the program or to a peer.

#include "Trace.h"
#include "commands/CommandLine.h"
#include "commands/Commands.h"
#include "link/Assignments.h"
#include "link/PeerLink.h"
#include "link/TrafficPrinter.h"

namespace Commands {

int send(const QStringList& arguments)
{
    CommandLine::Parser parser(
        "send", QStringLiteral("Sends one document to the program (or with --to peer to a peer).\n"
                               "Values are whole numbers for the cockpit... values and "
                               "windshieldDistanceSensor, true/false (or 1/0) for the others."));
    const QCommandLineOption to = CommandLine::destinationOption();
    parser->addOption(to);
    parser->addPositionalArgument(QStringLiteral("KEY=VALUE"), QStringLiteral("The values to send."),
                                  QStringLiteral("KEY=VALUE..."));
    const int parsed = parser.parse(arguments);
    if (parsed >= 0)
        return parsed;
    bool toPeer = false;
    const int destination = CommandLine::readDestination(*parser, to, toPeer);
    if (destination >= 0)
        return destination;

    const Peer::Assignments assignments = Peer::parseAssignments(parser.positional());
    if (!assignments.error.isEmpty())
        return CommandLine::usage(assignments.error);
    const int port = toPeer ? parser.ports().peer : parser.ports().program;
    const QString error = Peer::sendOnce(assignments.document, port);
    if (!error.isEmpty()) {
        CommandLine::printError(error);
        return CommandLine::runError;
    }
    if (!parser.quiet()) {
        Trace::line(QStringLiteral("sent to 127.0.0.1:%1: %2")
                        .arg(port)
                        .arg(Peer::Format::assignments(assignments.document))
                        .toStdString());
    }
    return 0;
}

} // namespace Commands
