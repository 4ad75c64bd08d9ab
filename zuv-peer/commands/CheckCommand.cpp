// zuv-peer check: plays the program's side against a control unit and decides a scenario's checks.

#include "ShutdownSignals.h"
#include "Trace.h"
#include "check/CheckRunner.h"
#include "check/reports/CheckReports.h"
#include "check/sandbox/Sandbox.h"
#include "check/sandbox/SubmissionCopy.h"
#include "check/sandbox/UnitCgroup.h"
#include "check/sandbox/UnitProcess.h"
#include "commands/CommandLine.h"
#include "commands/Commands.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>

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

QString shellQuoted(const QString& text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString sha256Of(const QString& path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (file.open(QIODevice::ReadOnly))
        hash.addData(&file);
    return QString::fromLatin1(hash.result().toHex());
}

// How the sandbox boxes and limits a unit, for the first line of every report.
QString sandboxText(const Limits& limits)
{
    const UnitCgroup::Home& home = UnitCgroup::home();
    const QString how =
        home.version > 0
            ? QStringLiteral(
                  "limits by cgroup v%1 (memory, processes, CPU) and rlimits (file size, open files)")
                  .arg(home.version)
            : QStringLiteral("limits by rlimits (memory as address space, processes, file size, open files; "
                             "CPU kept to one core), as no control group can be made here: %1")
                  .arg(home.why);
    return QStringLiteral(
               "bubblewrap (new user, PID, IPC, UTS and mount namespaces, a network of its own; "
               "the system read-only, the submission as a private copy at %1, a private /tmp); %2: %3")
        .arg(QLatin1String(Sandbox::submissionPath), how, limits.describe());
}

// Runs --prepare once, boxed like the unit but with its copy writable, bounded in time. Returns
// what it did for the reports; `failure` tells why it failed, or is empty.
QJsonObject prepare(const QString& command, const UnitProcess::Options& base, qint64 millis, QString& failure)
{
    UnitProcess process;
    UnitProcess::Options options = base;
    options.command = command;
    options.writable = true;
    QJsonObject record{{"command", command}};
    failure = process.start(options);
    if (failure.isEmpty()) {
        QEventLoop loop;
        QTimer::singleShot(int(std::min<qint64>(millis, 24 * 3600 * 1000)), &loop, &QEventLoop::quit);
        QObject::connect(&process, &UnitProcess::ended, &loop, &QEventLoop::quit);
        if (process.running())
            loop.exec();
        if (!process.limitReached().isEmpty())
            failure = QStringLiteral("it %1 and was stopped").arg(process.limitReached());
        else if (process.running())
            failure = QStringLiteral("it took longer than %1 s (--limit prepare-time)").arg(millis / 1000.0);
        else if (process.crashed() || process.exitCode() != 0)
            failure = QStringLiteral("it ended with status %1").arg(process.exitCode());
        process.stop();
        record.insert("status", process.exitCode());
        record.insert("output", QString::fromUtf8(process.output(QProcess::StandardOutput)));
        record.insert("errors", QString::fromUtf8(process.output(QProcess::StandardError)));
        if (process.truncated(QProcess::StandardOutput) || process.truncated(QProcess::StandardError))
            record.insert("truncated", true);
    }
    record.insert("result",
                  failure.isEmpty() ? QStringLiteral("succeeded") : QStringLiteral("failed: ") + failure);
    return record;
}

// The whole check once more, in a network and mount namespace of its own; its exit status.
int inOwnNamespace(const QStringList& arguments)
{
    QProcess check;
    check.setProcessChannelMode(QProcess::ForwardedChannels);
    const QStringList prefix = Sandbox::ownNamespacePrefix();
    check.start(prefix.first(),
                prefix.mid(1) +
                    QStringList{QCoreApplication::applicationFilePath(), QStringLiteral("check")} +
                    arguments + QStringList{QStringLiteral("--in-own-namespace")});
    ShutdownSignals shutdown; // Ctrl+C reaches the check, which ends its scenario and reports
    if (!check.waitForStarted(10000) || !check.waitForFinished(-1))
        return CommandLine::runError;
    return check.exitStatus() == QProcess::NormalExit ? check.exitCode() : CommandLine::runError;
}

void printReport(const ScenarioReport& report, bool quiet)
{
    print(QStringLiteral("%1 (%2)").arg(report.scenario.name, report.scenario.file));
    if (!report.inconclusive.isEmpty())
        print(QStringLiteral("  inconclusive: ") + report.inconclusive);
    for (const QString& note : report.notes)
        print(QStringLiteral("  note: ") + note);
    if (!quiet) {
        for (const CheckResult& check : report.results)
            print(QStringLiteral("  ") + Reports::consoleLine(check, report.scenario.file));
    }
    if (!report.stopped.isEmpty())
        print(QStringLiteral("  stopped: ") + report.stopped);
    if (report.leftBehind > 0)
        print(QStringLiteral("  the checker ended %1 process(es) the control unit had left running")
                  .arg(report.leftBehind));
    if (report.survivors > 0)
        print(
            QStringLiteral("  %1 process(es) of the control unit could not be ended").arg(report.survivors));
}

} // namespace

int check(const QStringList& arguments)
{
    // Whatever the sandbox prepared in this process's control group is given back at the end.
    struct Release
    {
        ~Release() { UnitCgroup::releaseHome(); }
    } release;

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
    const QCommandLineOption junit(QStringLiteral("junit"), QStringLiteral("Write a JUnit XML report."),
                                   QStringLiteral("file"));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Write a JSON report."),
                                  QStringLiteral("file"));
    const QCommandLineOption html(QStringLiteral("html"), QStringLiteral("Write an HTML report."),
                                  QStringLiteral("file"));
    const QCommandLineOption traceOption(
        QStringLiteral("trace"),
        QStringLiteral("Write every datagram both ways in the record format, with a line where each scenario "
                       "begins ({\"scenario\":...}) and where a limit stopped the unit ({\"stopped\":...}); "
                       "replay and scenario-from skip those lines."),
        QStringLiteral("file"));
    const QCommandLineOption fromTrace(
        QStringLiteral("from-trace"),
        QStringLiteral("Decide the checks on a recorded trace instead of a live peer."),
        QStringLiteral("file"));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("Seed of the scenarios' random values (default 0)."),
                                  QStringLiteral("n"));
    const QCommandLineOption sandbox(
        QStringLiteral("sandbox"),
        QStringLiteral("Run the started unit in a sandbox (bubblewrap), limited, with a private copy of the "
                       "submission at /submission ({} in --start)."));
    const QCommandLineOption noSandbox(
        QStringLiteral("no-sandbox"),
        QStringLiteral("Say in every report that the unit ran unsandboxed, with the user's rights."));
    const QCommandLineOption submission(
        QStringLiteral("submission"),
        QStringLiteral("The folder of the unit's files (default: the current one); {} in --start and "
                       "--prepare names it."),
        QStringLiteral("dir"));
    const QCommandLineOption stepTimeout(
        QStringLiteral("step-timeout"),
        QStringLiteral("With --lockstep: how long the unit may take for one step on the wall clock (default "
                       "30s; 0 waits for ever, for a debugger)."),
        QStringLiteral("duration"));
    QCommandLineOption ownNamespace(QStringLiteral("in-own-namespace"),
                                    QStringLiteral("(internal) This check runs in its own namespaces."));
    ownNamespace.setFlags(QCommandLineOption::HiddenFromHelp);
    const CommandLine::UnitOptions unit;
    unit.addTo(*parser);
    parser->addOptions({start, junit, json, html, traceOption, fromTrace, seed, sandbox, noSandbox,
                        submission, stepTimeout, ownNamespace});
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
    if (parser->isSet(unit.startWait)) {
        options.startWait = durationOf(parser->value(unit.startWait));
        if (options.startWait < 0)
            return CommandLine::usage(
                QStringLiteral("--start-wait takes a duration such as 1s or 500ms, not '%1'")
                    .arg(parser->value(unit.startWait)));
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
    options.lockstep = parser->isSet(unit.lockstep);
    if (parser->isSet(stepTimeout)) {
        options.stepTimeout = durationOf(parser->value(stepTimeout));
        if (options.stepTimeout < 0 || !options.lockstep)
            return CommandLine::usage(
                QStringLiteral(
                    "--step-timeout goes with --lockstep and takes a duration such as 30s, not '%1'")
                    .arg(parser->value(stepTimeout)));
    }
    const bool boxed = parser->isSet(sandbox);
    if (boxed && parser->isSet(noSandbox))
        return CommandLine::usage(QStringLiteral("--sandbox or --no-sandbox, not both"));
    if ((boxed || parser->isSet(unit.prepare)) && !parser->isSet(start))
        return CommandLine::usage(QStringLiteral("--sandbox and --prepare need --start (the unit to start)"));
    for (const QString& assignment : parser->values(unit.limit)) {
        const QString error = options.limits.set(assignment);
        if (!error.isEmpty())
            return CommandLine::usage(error);
    }
    if (boxed) {
        const QString why = Sandbox::unavailable();
        if (!why.isEmpty()) {
            CommandLine::printError(why + QStringLiteral("; nothing was run"));
            return CommandLine::usageError;
        }
        if (!parser->isSet(ownNamespace))
            return inOwnNamespace(arguments);
    }
    const QString submissionFolder =
        QFileInfo(parser->isSet(submission) ? parser->value(submission) : QDir::currentPath())
            .absoluteFilePath();
    const QString submissionPath =
        boxed ? QLatin1String(Sandbox::submissionPath) : shellQuoted(submissionFolder);
    if (boxed || parser->isSet(submission)) {
        options.start.replace(QStringLiteral("{}"), submissionPath);
        options.directory = submissionFolder;
    }
    options.boxed = boxed;
    options.passed = parser->values(unit.environment);

    const Loaded loaded = loadScenarios(parser.positional(), options.seed);
    if (!loaded.errors.isEmpty()) {
        for (const QString& error : loaded.errors)
            CommandLine::printError(error);
        CommandLine::printError(QStringLiteral("nothing was run"));
        return CommandLine::usageError;
    }

    Reports::RunRecord record;
    record.version = QCoreApplication::applicationVersion();
    record.seed = options.seed;
    if (!parser->isSet(fromTrace)) {
        for (const Scenario& scenario : loaded.scenarios)
            record.scenarios.append(
                QJsonObject{{"file", scenario.file}, {"sha256", sha256Of(scenario.file)}});
    }
    if (boxed) {
        record.sandbox = sandboxText(options.limits);
        record.limits = options.limits.toJson();
    } else if (parser->isSet(noSandbox)) {
        record.sandbox =
            QStringLiteral("none: the control unit ran with the rights of the user who checked it "
                           "(--no-sandbox)");
    }
    if (boxed || parser->isSet(submission))
        record.submission = submissionFolder;
    if (options.lockstep)
        record.clock =
            QStringLiteral("lock-step: simulated time, advanced as soon as the unit has done what was "
                           "due (docs/lockstep.md); every time in the reports and the trace is "
                           "simulated");

    // What keeps the checks from running at all: a submission that cannot be copied, a failed
    // --prepare. Every scenario then scores nothing, with the reason.
    QString cannotRun;
    SubmissionCopy copy;
    if (boxed) {
        cannotRun = copy.make(submissionFolder, options.limits);
        record.files = copy.files();
        options.copy = copy.path();
        if (!cannotRun.isEmpty())
            cannotRun = QStringLiteral("the submission could not be copied into the sandbox: ") + cannotRun;
    }
    if (cannotRun.isEmpty() && parser->isSet(unit.prepare)) {
        UnitProcess::Options how;
        how.directory = submissionFolder;
        how.boxed = boxed;
        how.copy = options.copy;
        how.limits = options.limits;
        how.environment = boxed ? Sandbox::environment(options.programPort, options.peerPort, options.passed)
                                : QStringList();
        QString command = parser->value(unit.prepare);
        command.replace(QStringLiteral("{}"), submissionPath);
        QString failure;
        record.prepare = prepare(command, how, options.limits.prepareMillis, failure);
        if (!failure.isEmpty())
            cannotRun = QStringLiteral("--prepare '%1' failed: %2").arg(command, failure);
    }
    for (const QString& line : record.lines())
        print(line);

    std::vector<ScenarioReport> reports;
    if (!cannotRun.isEmpty()) {
        for (const Scenario& scenario : loaded.scenarios) {
            ScenarioReport report = reportOf(ScenarioRun(scenario), options.seed);
            report.inconclusive = cannotRun;
            withdrawPoints(report);
            reports.push_back(report);
            printReport(reports.back(), parser.quiet());
        }
    } else if (parser->isSet(fromTrace)) {
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

    const std::pair<const QCommandLineOption*,
                    QByteArray (*)(const std::vector<ScenarioReport>&, const Reports::RunRecord&)>
        writers[] = {{&json, Reports::json}, {&junit, Reports::junit}, {&html, Reports::html}};
    for (const auto& writer : writers) {
        if (!parser->isSet(*writer.first))
            continue;
        const QString failure = Reports::write(parser->value(*writer.first), writer.second(reports, record));
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
