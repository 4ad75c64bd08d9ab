#include "commands/CommandLine.h"

#include <QCoreApplication>

#include <cstdio>

namespace CommandLine {

namespace {

bool parsePort(const QString& text, int minimum, int& port)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < minimum || value > 65535)
        return false;
    port = value;
    return true;
}

} // namespace

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

Parser::Parser(const char* command, const QString& description)
    : quietOption({QStringLiteral("q"), QStringLiteral("quiet")},
                  QStringLiteral("Print nothing but errors.")),
      programPort(QStringLiteral("program-port"), QStringLiteral("The program's UDP port (default 50000)."),
                  QStringLiteral("port")),
      peerPort(QStringLiteral("peer-port"), QStringLiteral("The peer's UDP port (default 50001)."),
               QStringLiteral("port")),
      command(QString::fromLatin1(command))
{
    parser.setApplicationDescription(description);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({quietOption, programPort, peerPort});
}

int Parser::parse(const QStringList& arguments, int minimumPeerPort)
{
    if (!parser.parse(QStringList{QStringLiteral("zuv-peer")} + arguments))
        return usage(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        // "Usage: zuv-peer grade [options] ...", whatever path the program was started by.
        QString help = parser.helpText();
        const int options = help.indexOf(QLatin1String(" [options]"));
        if (help.startsWith(QLatin1String("Usage: ")) && options > 0)
            help.replace(7, options - 7, (QStringLiteral("zuv-peer ") + command).trimmed());
        std::printf("%s", help.toLocal8Bit().constData());
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("zuv-peer %s\n", QCoreApplication::applicationVersion().toLocal8Bit().constData());
        return 0;
    }
    if (parser.isSet(programPort) && !parsePort(parser.value(programPort), 1, parsedPorts.program))
        return usage(QStringLiteral("--program-port takes a port from 1 to 65535, not '%1'")
                         .arg(parser.value(programPort)));
    if (parser.isSet(peerPort) && !parsePort(parser.value(peerPort), minimumPeerPort, parsedPorts.peer))
        return usage(QStringLiteral("--peer-port takes a port from %1 to 65535, not '%2'")
                         .arg(minimumPeerPort)
                         .arg(parser.value(peerPort)));
    return -1;
}

QStringList UnitOptions::given(const QCommandLineParser& parser) const
{
    QStringList arguments;
    for (const QCommandLineOption* valued : {&startWait, &prepare, &limit, &environment}) {
        for (const QString& value : parser.values(*valued))
            arguments << QStringLiteral("--") + valued->names().constFirst() << value;
    }
    if (parser.isSet(lockstep))
        arguments << QStringLiteral("--lockstep");
    return arguments;
}

QCommandLineOption destinationOption()
{
    return QCommandLineOption(QStringLiteral("to"),
                              QStringLiteral("Where to send: program (default) or peer."),
                              QStringLiteral("program|peer"));
}

int readDestination(const QCommandLineParser& parser, const QCommandLineOption& to, bool& toPeer)
{
    const QString target = parser.value(to);
    if (parser.isSet(to) && target != QLatin1String("program") && target != QLatin1String("peer"))
        return usage(QStringLiteral("--to takes program or peer, not '%1'").arg(target));
    toPeer = target == QLatin1String("peer");
    return -1;
}

} // namespace CommandLine
