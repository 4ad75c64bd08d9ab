// zuv-peer check: plays the program's side against a control unit and decides a scenario's checks.

#include "ShutdownSignals.h"
#include "Trace.h"
#include "check/CheckRunner.h"
#include "check/reports/CheckReports.h"
#include "commands/CommandLine.h"
#include "commands/Commands.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>

namespace Commands {

namespace {

using namespace Check;

constexpr int inconclusiveStatus = 3;

// "1s", "500ms" or a number of seconds; -1 when it is none.
Micros durationOf(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*([0-9]+(?:\\.[0-9]+)?)\\s*(ms|s)?\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return -1;
    return Micros(match.captured(1).toDouble() * (match.captured(2) == QLatin1String("ms") ? 1e3 : 1e6));
}

void print(const QString& line)
{
    Trace::line(line.toStdString());
}

void printReport(const ScenarioReport& report, bool quiet)
{
    print(QStringLiteral("%1 (%2)").arg(report.scenario.name, report.scenario.file));
    if (!quiet) {
        for (const CheckResult& check : report.results)
            print(QStringLiteral("  ") + Reports::consoleLine(check));
    }
    if (!report.inconclusive.isEmpty())
        print(QStringLiteral("  inconclusive: ") + report.inconclusive);
}

} // namespace

int check(const QStringList& arguments)
{
    CommandLine::Parser parser(
        "check",
        QStringLiteral("Checks a control unit against scenarios: plays the program's side (binds the "
                       "program's port, sends the\n"
                       "whole state to the peer's port, applies what the peer sends by the program's rules) "
                       "and decides every\n"
                       "check of each scenario. A SCENARIO is a YAML file or a folder of them.\n"
                       "Exit status: 0 every check passed, 1 a check failed, 2 bad usage or an invalid "
                       "scenario, 3 inconclusive\n"
                       "(the peer never sent anything, or could not be started)."));
    const QCommandLineOption start(
        QStringLiteral("start"),
        QStringLiteral("Start the control unit for each scenario with /bin/sh -c <command>, "
                       "and stop it after."),
        QStringLiteral("command"));
    const QCommandLineOption startWait(
        QStringLiteral("start-wait"),
        QStringLiteral("How long a started control unit may take to come up (default 1s)."),
        QStringLiteral("duration"));
    const QCommandLineOption junit(QStringLiteral("junit"), QStringLiteral("Write a JUnit XML report."),
                                   QStringLiteral("file"));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Write a JSON report."),
                                  QStringLiteral("file"));
    const QCommandLineOption html(QStringLiteral("html"), QStringLiteral("Write an HTML report."),
                                  QStringLiteral("file"));
    const QCommandLineOption traceOption(
        QStringLiteral("trace"), QStringLiteral("Write every datagram both ways (the record format)."),
        QStringLiteral("file"));
    const QCommandLineOption fromTrace(
        QStringLiteral("from-trace"),
        QStringLiteral("Decide the checks on a recorded trace instead of a live peer."),
        QStringLiteral("file"));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("Seed of the scenarios' random values (default 0)."),
                                  QStringLiteral("n"));
    parser->addOptions({start, startWait, junit, json, html, traceOption, fromTrace, seed});
    parser->addPositionalArgument(QStringLiteral("SCENARIO"), QStringLiteral("Scenario files or folders."),
                                  QStringLiteral("SCENARIO..."));
    const int parsed = parser.parse(arguments);
    if (parsed >= 0)
        return parsed;
    if (parser.positional().isEmpty())
        return CommandLine::usage(QStringLiteral("check needs at least one SCENARIO (a file or a folder)"));
    RunOptions options;
    options.programPort = parser.ports().program;
    options.peerPort = parser.ports().peer;
    options.start = parser->value(start);
    options.traceFile = parser->value(traceOption);
    if (parser->isSet(startWait)) {
        options.startWait = durationOf(parser->value(startWait));
        if (options.startWait < 0)
            return CommandLine::usage(
                QStringLiteral("--start-wait takes a duration such as 1s or 500ms, not '%1'")
                    .arg(parser->value(startWait)));
    }
    if (parser->isSet(seed)) {
        bool ok = false;
        options.seed = parser->value(seed).toULongLong(&ok);
        if (!ok)
            return CommandLine::usage(
                QStringLiteral("--seed takes a whole number, not '%1'").arg(parser->value(seed)));
    }
    if (parser->isSet(fromTrace) && (parser->isSet(start) || parser->isSet(traceOption)))
        return CommandLine::usage(
            QStringLiteral("--from-trace decides on a recorded trace: no --start, no --trace"));

    const Loaded loaded = loadScenarios(parser.positional(), options.seed);
    if (!loaded.errors.isEmpty()) {
        for (const QString& error : loaded.errors)
            CommandLine::printError(error);
        CommandLine::printError(QStringLiteral("nothing was run"));
        return CommandLine::usageError;
    }

    std::vector<ScenarioReport> reports;
    if (parser->isSet(fromTrace)) {
        QFile file(parser->value(fromTrace));
        if (!file.open(QIODevice::ReadOnly)) {
            CommandLine::printError(
                QStringLiteral("cannot read %1: %2").arg(file.fileName(), file.errorString()));
            return CommandLine::usageError;
        }
        const Peer::SessionFile::Parsed trace = Peer::SessionFile::parse(file.readAll());
        if (!trace.error.isEmpty()) {
            CommandLine::printError(file.fileName() + QStringLiteral(", ") + trace.error);
            return CommandLine::usageError;
        }
        for (const Scenario& scenario : loaded.scenarios) {
            bool found = false;
            const auto segment = segmentOf(trace.entries, scenario.name, found);
            if (!found) {
                CommandLine::printError(QStringLiteral("%1 holds no run of the scenario '%2'")
                                            .arg(file.fileName(), scenario.name));
                return CommandLine::usageError;
            }
            QString error;
            reports.push_back(regrade(scenario, segment, options.seed, error));
            if (!error.isEmpty()) {
                CommandLine::printError(file.fileName() + QStringLiteral(": ") + error);
                return CommandLine::usageError;
            }
            printReport(reports.back(), parser.quiet());
        }
    } else {
        LiveChecker checker(options);
        const QString error = checker.open();
        if (!error.isEmpty()) {
            CommandLine::printError(error + (error.contains(QStringLiteral("listen"))
                                                 ? QStringLiteral(" - close the virtual platform first "
                                                                  "(it holds the program's port); "
                                                                  "nothing was run")
                                                 : QString()));
            return CommandLine::usageError;
        }
        // Ctrl+C or SIGTERM ends the running scenario (its peer stopped) and runs no more.
        ShutdownSignals shutdown;
        bool interrupted = false;
        QObject::connect(&shutdown, &ShutdownSignals::shutdownRequested,
                         [&interrupted] { interrupted = true; });
        for (const Scenario& scenario : loaded.scenarios) {
            if (interrupted)
                break;
            reports.push_back(checker.run(scenario));
            printReport(reports.back(), parser.quiet());
        }
        if (interrupted) {
            CommandLine::printError(QStringLiteral("interrupted: %1 of %2 scenarios run")
                                        .arg(reports.size())
                                        .arg(loaded.scenarios.size()));
            return CommandLine::runError;
        }
    }
    print(Reports::summary(reports));

    const std::pair<const QCommandLineOption*, QByteArray (*)(const std::vector<ScenarioReport>&)> writers[] =
        {{&json, Reports::json}, {&junit, Reports::junit}, {&html, Reports::html}};
    for (const auto& writer : writers) {
        if (!parser->isSet(*writer.first))
            continue;
        const QString failure = Reports::write(parser->value(*writer.first), writer.second(reports));
        if (!failure.isEmpty()) {
            CommandLine::printError(failure);
            return CommandLine::runError;
        }
    }

    bool inconclusive = false;
    bool allPassed = true;
    for (const ScenarioReport& report : reports) {
        inconclusive = inconclusive || !report.inconclusive.isEmpty();
        allPassed = allPassed && report.count(CheckResult::Verdict::Pass) == int(report.results.size());
    }
    if (inconclusive)
        return inconclusiveStatus;
    return allPassed ? 0 : CommandLine::runError;
}

} // namespace Commands
