#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

// What every zuv-peer command shares on its command line.
namespace CommandLine {

constexpr int usageError = 2;
constexpr int runError = 1;

// "zuv-peer: error: TEXT" on standard error.
void printError(const QString& text);
// The error, a pointer to --help, and the status of bad usage.
int usage(const QString& text);

struct Ports
{
    int program = 50000;
    int peer = 50001;
};

// A parser for one command: its description, --help (whose usage line names the command),
// --version, --quiet and the two ports.
class Parser
{
public:
    // `command`: the command word, empty for the control units.
    Parser(const char* command, const QString& description);

    QCommandLineParser& operator*() { return parser; }
    QCommandLineParser* operator->() { return &parser; }

    // Parses `arguments` (the command word taken out). Returns -1 to go on, or the exit status:
    // 0 after --help or --version, 2 for bad usage. `minimumPeerPort` is 0 where the peer may take
    // any free port.
    int parse(const QStringList& arguments, int minimumPeerPort = 1);

    bool quiet() const { return parser.isSet(quietOption); }
    const Ports& ports() const { return parsedPorts; }
    QStringList positional() const { return parser.positionalArguments(); }

private:
    QCommandLineParser parser;
    QCommandLineOption quietOption;
    QCommandLineOption programPort;
    QCommandLineOption peerPort;
    QString command;
    Ports parsedPorts;
};

// --to program|peer, of replay and send.
QCommandLineOption destinationOption();
// Sets `toPeer` from --to. Returns -1 to go on, or the status of bad usage.
int readDestination(const QCommandLineParser& parser, const QCommandLineOption& to, bool& toPeer);

} // namespace CommandLine
