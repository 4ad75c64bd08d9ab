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

// What check and grade share about starting, boxing and timing the unit under test: --start-wait,
// --limit, --env, --prepare and --lockstep. grade passes them on to each check.
struct UnitOptions
{
    QCommandLineOption startWait{
        QStringLiteral("start-wait"),
        QStringLiteral(
            "How long a started control unit may take to come up (default 1s): it is up when it first "
            "sends; until then it is sent the setup again and again."),
        QStringLiteral("duration")};
    QCommandLineOption limit{
        QStringLiteral("limit"),
        QStringLiteral(
            "Change a limit of the sandbox, per submission: memory=256M, processes=64, cpus=1, "
            "file-size=16M, open-files=256, output=1M (kept per stream), disk=64M, prepare-time=120s."),
        QStringLiteral("name=value")};
    QCommandLineOption environment{
        QStringLiteral("env"),
        QStringLiteral("Pass this variable of the environment on to the sandboxed unit."),
        QStringLiteral("name")};
    QCommandLineOption prepare{
        QStringLiteral("prepare"),
        QStringLiteral(
            "Run this command once per submission before the scenarios, in the sandbox with the copy "
            "writable (for example 'make -C {}'); when it fails, no check passes."),
        QStringLiteral("command")};
    QCommandLineOption lockstep{
        QStringLiteral("lockstep"),
        QStringLiteral(
            "Run on simulated time, which the checker advances as soon as the unit has done what was "
            "due (docs/lockstep.md): fast, the same every time, and a unit may stop at a breakpoint; "
            "a unit that does not keep lock-step time scores nothing.")};

    void addTo(QCommandLineParser& parser) const
    {
        parser.addOptions({startWait, limit, environment, prepare, lockstep});
    }
    // The options as given, for a check of grade's.
    QStringList given(const QCommandLineParser& parser) const;
};

// --to program|peer, of replay and send.
QCommandLineOption destinationOption();
// Sets `toPeer` from --to. Returns -1 to go on, or the status of bad usage.
int readDestination(const QCommandLineParser& parser, const QCommandLineOption& to, bool& toPeer);

} // namespace CommandLine
