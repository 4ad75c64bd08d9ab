// zuv-peer grade: every scenario against every submission of a class, with reports and grades.csv.
// Each submission's check runs as a process of its own (the trusted keeper), in a network and
// mount namespace of its own, and starts the submission's unit in the sandbox.

#include "ShutdownSignals.h"
#include "Trace.h"
#include "check/CheckRunner.h"
#include "check/Grading.h"
#include "check/reports/CheckReports.h"
#include "check/sandbox/Limits.h"
#include "check/sandbox/Sandbox.h"
#include "check/sandbox/UnitCgroup.h"
#include "commands/CommandLine.h"
#include "commands/Commands.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace Commands {

namespace {

using namespace Check;

struct Submission
{
    QString path;
    QString name; // the folder of its reports
    quint64 seed = 0;
    QDir folder;
    std::unique_ptr<QProcess> process;
    QByteArray console;
    QString failure; // what went wrong beyond the checks
};

// Every student gets a variant of their own, the same at every run: the seed comes from the name.
quint64 seedOf(const QString& name)
{
    const QByteArray hash = QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha256);
    quint64 seed = 0;
    for (int index = 0; index < 8; ++index)
        seed = seed << 8 | static_cast<unsigned char>(hash.at(index));
    return seed;
}

// A folder name for the submission at `path`, unique among `taken`.
QString nameOf(const QString& path, QStringList& taken)
{
    QString base = QFileInfo(QDir::cleanPath(path)).completeBaseName();
    base.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
    if (base.isEmpty() || base.startsWith(QLatin1Char('.')))
        base.prepend(QStringLiteral("submission"));
    QString name = base;
    for (int copy = 2; taken.contains(name); ++copy)
        name = QStringLiteral("%1-%2").arg(base).arg(copy);
    taken << name;
    return name;
}

QString sha256Of(const QString& path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (file.open(QIODevice::ReadOnly))
        hash.addData(&file);
    return QString::fromLatin1(hash.result().toHex());
}

// A folder of OUT made anew for the trusted side alone: a link standing there is removed, never
// followed.
bool ownFolder(const QDir& out, const QString& name)
{
    const QString path = out.filePath(name);
    if (QFileInfo(path).isSymLink() && !QFile::remove(path))
        return false;
    return out.mkpath(name) && QFileInfo(path).isDir() && !QFileInfo(path).isSymLink();
}

int merge(const QStringList& shards, const QString& out, bool quiet)
{
    QString error;
    const QString csv = Grading::merge(shards, error);
    if (!error.isEmpty()) {
        CommandLine::printError(error + QStringLiteral("; nothing was merged"));
        return CommandLine::usageError;
    }
    QDir outFolder(out);
    if (!outFolder.mkpath(QStringLiteral("."))) {
        CommandLine::printError(QStringLiteral("cannot make %1").arg(out));
        return CommandLine::runError;
    }
    const QString failure = Reports::write(outFolder.filePath(QStringLiteral("grades.csv")), csv.toUtf8());
    if (!failure.isEmpty()) {
        CommandLine::printError(failure);
        return CommandLine::runError;
    }
    if (!quiet)
        Trace::line(QStringLiteral("grades of %1 shards: %2")
                        .arg(shards.size())
                        .arg(outFolder.filePath(QStringLiteral("grades.csv")))
                        .toStdString());
    return 0;
}

} // namespace

int grade(const QStringList& arguments)
{
    CommandLine::Parser parser(
        "grade",
        QStringLiteral(
            "Runs every scenario of a folder against every submission and writes per submission\n"
            "OUT/NAME/report.json, report.xml and report.html, and OUT/grades.csv. Every submission's unit\n"
            "runs in a sandbox (bubblewrap), limited, in a network of its own, with a private copy of the\n"
            "submission at /submission, which {} in --start and --prepare names. Random values of the\n"
            "scenarios come from the submission's name. --merge makes one grades.csv of shards' OUTs."));
    const QCommandLineOption scenarios(QStringLiteral("scenarios"),
                                       QStringLiteral("The folder of scenarios."), QStringLiteral("dir"));
    const QCommandLineOption start(
        QStringLiteral("start"),
        QStringLiteral("How to start a submission's control unit, with {} for its folder."),
        QStringLiteral("command"));
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("Where the reports go."),
                                 QStringLiteral("dir"));
    const QCommandLineOption jobs(QStringLiteral("jobs"),
                                  QStringLiteral("Submissions run side by side (default 1)."),
                                  QStringLiteral("n"));
    const QCommandLineOption noSandbox(
        QStringLiteral("no-sandbox"),
        QStringLiteral("Run the units without the sandbox, with your rights (only for code you trust); "
                       "every report says so."));
    const QCommandLineOption shard(
        QStringLiteral("shard"),
        QStringLiteral("Grade only every N-th submission, starting with the K-th (in the order of their "
                       "names), for one of N machines or jobs; OUT/manifest.json says what was graded."),
        QStringLiteral("K/N"));
    const QCommandLineOption mergeOption(
        QStringLiteral("merge"),
        QStringLiteral("Make OUT/grades.csv from the OUT folders of every shard (given as the arguments); "
                       "refuses a missing shard or submission, or other scenarios or versions."));
    const CommandLine::UnitOptions unit;
    unit.addTo(*parser);
    parser->addOptions({scenarios, start, out, jobs, noSandbox, shard, mergeOption});
    parser->addPositionalArgument(QStringLiteral("SUBMISSION"),
                                  QStringLiteral("Folders of the students (with --merge: the shards' OUTs)."),
                                  QStringLiteral("SUBMISSION..."));
    const int parsed = parser.parse(arguments);
    if (parsed >= 0)
        return parsed;
    if (parser->isSet(mergeOption)) {
        if (!parser->isSet(out) || parser.positional().isEmpty())
            return CommandLine::usage(
                QStringLiteral("grade --merge needs --out and the OUT folders of the shards"));
        return merge(parser.positional(), parser->value(out), parser.quiet());
    }
    for (const QCommandLineOption* required : {&scenarios, &start, &out}) {
        if (!parser->isSet(*required))
            return CommandLine::usage(QStringLiteral("grade needs --%1").arg(required->names().constFirst()));
    }
    if (!parser->value(start).contains(QStringLiteral("{}")))
        return CommandLine::usage(
            QStringLiteral("--start needs {} where the submission's folder goes, such as "
                           "--start 'python3 {}/unit.py'"));
    if (parser.positional().isEmpty())
        return CommandLine::usage(QStringLiteral("grade needs at least one SUBMISSION"));
    int parallel = 1;
    if (parser->isSet(jobs)) {
        bool ok = false;
        parallel = parser->value(jobs).toInt(&ok);
        if (!ok || parallel < 1 || parallel > 64)
            return CommandLine::usage(
                QStringLiteral("--jobs takes a number from 1 to 64, not '%1'").arg(parser->value(jobs)));
    }
    int shardNumber = 1;
    int shards = 1;
    if (parser->isSet(shard) && !Grading::parseShard(parser->value(shard), shardNumber, shards))
        return CommandLine::usage(QStringLiteral("--shard takes K/N with 1 <= K <= N, such as 2/4, not '%1'")
                                      .arg(parser->value(shard)));
    Limits limits;
    for (const QString& assignment : parser->values(unit.limit)) {
        const QString error = limits.set(assignment);
        if (!error.isEmpty())
            return CommandLine::usage(error);
    }
    const bool boxed = !parser->isSet(noSandbox);
    if (boxed) {
        const QString why = Sandbox::unavailable();
        if (!why.isEmpty()) {
            CommandLine::printError(QStringLiteral("grading runs every submission in a sandbox, but ") + why +
                                    QStringLiteral("; nothing was run"));
            return CommandLine::usageError;
        }
    }

    // The scenarios are read once here, so that an invalid one stops the run before anything runs.
    const Loaded loaded = loadScenarios({parser->value(scenarios)}, 0);
    if (!loaded.errors.isEmpty()) {
        for (const QString& error : loaded.errors)
            CommandLine::printError(error);
        CommandLine::printError(QStringLiteral("nothing was run"));
        return CommandLine::usageError;
    }
    QDir outFolder(parser->value(out));
    if (!outFolder.mkpath(QStringLiteral("."))) {
        CommandLine::printError(QStringLiteral("cannot make %1").arg(outFolder.path()));
        return CommandLine::runError;
    }

    // Each check in a network and mount namespace of its own: nothing a unit leaves can take the
    // ports of the next, and a boxed unit reaches its checker's ports and nothing else.
    const QStringList prefix = Sandbox::ownNamespacePrefix();
    if (prefix.isEmpty() && parallel > 1) {
        Trace::line("zuv-peer grade: network namespaces are not available here (unshare); grading one "
                    "submission at a time");
        parallel = 1;
    }
    // Control groups are prepared once, here, for every check this grading runs.
    if (boxed)
        UnitCgroup::home();
    struct Release
    {
        ~Release() { UnitCgroup::releaseHome(); }
    } release;

    // A scenario never outlives its timeout and 3 s (in lock-step time a step its step timeout); the
    // start waits, --prepare and a margin on top.
    Micros bound = 30'000'000 + (parser->isSet(unit.prepare) ? limits.prepareMillis * 1000 : 0);
    for (const Scenario& scenario : loaded.scenarios)
        bound += scenario.timeout + (parser->isSet(unit.lockstep) ? 35'000'000 : 5'000'000);

    // Names come from the paths in a stable order, so that every shard names them alike.
    QStringList paths = parser.positional();
    std::sort(paths.begin(), paths.end());
    Grading::Manifest manifest;
    manifest.shard = shardNumber;
    manifest.of = shards;
    manifest.version = QCoreApplication::applicationVersion();
    for (const Scenario& scenario : loaded.scenarios)
        manifest.scenarios.push_back({scenario.name, QFileInfo(scenario.file).fileName(),
                                      sha256Of(scenario.file), scenario.maxPoints()});
    std::vector<Submission> all;
    QStringList taken;
    for (const QString& path : std::as_const(paths)) {
        Submission submission;
        submission.path = QFileInfo(path).absoluteFilePath();
        submission.name = nameOf(path, taken);
        submission.seed = seedOf(submission.name);
        manifest.given << submission.name;
        all.push_back(std::move(submission));
    }
    std::vector<Submission> submissions;
    for (const int index : Grading::shardOf(int(all.size()), shardNumber, shards)) {
        Submission& submission = all[std::size_t(index)];
        if (!ownFolder(outFolder, submission.name)) {
            CommandLine::printError(
                QStringLiteral("cannot make %1").arg(outFolder.filePath(submission.name)));
            return CommandLine::runError;
        }
        submission.folder = QDir(outFolder.filePath(submission.name));
        manifest.graded << submission.name;
        submissions.push_back(std::move(submission));
    }

    const auto launch = [&](Submission& submission) {
        QStringList checkArguments = {
            QStringLiteral("check"),        QStringLiteral("--quiet"),
            QStringLiteral("--seed"),       QString::number(submission.seed),
            QStringLiteral("--start"),      parser->value(start),
            QStringLiteral("--submission"), submission.path,
            QStringLiteral("--json"),       submission.folder.filePath(QStringLiteral("report.json")),
            QStringLiteral("--junit"),      submission.folder.filePath(QStringLiteral("report.xml")),
            QStringLiteral("--html"),       submission.folder.filePath(QStringLiteral("report.html")),
            QStringLiteral("--trace"),      submission.folder.filePath(QStringLiteral("trace.jsonl"))};
        checkArguments << (boxed ? QStringLiteral("--sandbox") : QStringLiteral("--no-sandbox"));
        if (!prefix.isEmpty())
            checkArguments << QStringLiteral("--in-own-namespace");
        checkArguments << unit.given(*parser);
        if (prefix.isEmpty()) {
            checkArguments << QStringLiteral("--program-port") << QString::number(parser.ports().program)
                           << QStringLiteral("--peer-port") << QString::number(parser.ports().peer);
        }
        checkArguments << QFileInfo(parser->value(scenarios)).absoluteFilePath();
        submission.process = std::make_unique<QProcess>();
        submission.process->setProcessChannelMode(QProcess::MergedChannels);
        QProcess* process = submission.process.get();
        QObject::connect(process, &QProcess::readyRead, process,
                         [process, &submission] { submission.console += process->readAll(); });
        const QString self = QCoreApplication::applicationFilePath();
        if (prefix.isEmpty())
            process->start(self, checkArguments);
        else
            process->start(prefix.first(), prefix.mid(1) + QStringList{self} + checkArguments);
        // The check bounds every scenario by itself; this is the last resort for a check that hangs.
        QTimer::singleShot(static_cast<int>(std::min<qint64>(bound / 1000, 24 * 3600 * 1000)), process,
                           [process] {
                               if (process->state() != QProcess::NotRunning)
                                   process->kill();
                           });
    };

    std::size_t next = 0;
    int running = 0;
    QEventLoop loop;
    // Ctrl+C or SIGTERM ends the running checks (each ends its scenario and its unit) and starts no
    // more.
    ShutdownSignals shutdown;
    bool interrupted = false;
    QObject::connect(&shutdown, &ShutdownSignals::shutdownRequested, &loop, [&] {
        interrupted = true;
        for (Submission& submission : submissions) {
            if (submission.process && submission.process->state() != QProcess::NotRunning)
                submission.process->terminate();
        }
    });
    const std::function<void()> fill = [&] {
        while (!interrupted && running < parallel && next < submissions.size()) {
            Submission& submission = submissions[next++];
            launch(submission);
            ++running;
            QObject::connect(
                submission.process.get(), QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished),
                &loop, [&](int status, QProcess::ExitStatus how) {
                    --running;
                    submission.console += submission.process->readAll();
                    Reports::write(submission.folder.filePath(QStringLiteral("console.txt")),
                                   submission.console);
                    if (how != QProcess::NormalExit || status == CommandLine::usageError)
                        submission.failure =
                            QStringLiteral("the check itself failed (status %1); see %2")
                                .arg(status)
                                .arg(submission.folder.filePath(QStringLiteral("console.txt")));
                    else if (status == 3)
                        submission.failure = QStringLiteral("inconclusive: the control unit did not start, "
                                                            "never sent anything, or --prepare failed");
                    fill();
                    if (running == 0)
                        loop.quit();
                });
        }
    };
    fill();
    if (running > 0)
        loop.exec();
    if (interrupted) {
        // The interruption quits every event loop: the checks are waited for here, each ending its
        // scenario and its unit.
        for (Submission& submission : submissions) {
            if (submission.process && !submission.process->waitForFinished(10000))
                submission.process->kill();
            if (submission.process)
                submission.process->waitForFinished(1000);
        }
        CommandLine::printError(
            QStringLiteral("interrupted: %1 of %2 submissions were started; no grades.csv")
                .arg(next)
                .arg(submissions.size()));
        return CommandLine::runError;
    }

    std::vector<std::pair<QString, QString>> folders;
    for (const Submission& submission : submissions)
        folders.emplace_back(submission.name, submission.folder.path());
    const QString csv = Grading::csv(manifest.scenarios, folders);
    if (!parser.quiet()) {
        const QStringList lines = csv.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (std::size_t index = 0; index < submissions.size(); ++index) {
            const QStringList fields = lines.at(int(index) + 1).split(QLatin1Char(','));
            Trace::line(QStringLiteral("%1: %2 of %3 points%4")
                            .arg(submissions[index].name, fields.at(fields.size() - 2), fields.last(),
                                 submissions[index].failure.isEmpty()
                                     ? QString()
                                     : QStringLiteral(" (") + submissions[index].failure + QLatin1Char(')'))
                            .toStdString());
        }
    }
    for (const auto& [file, contents] :
         {std::pair<QString, QByteArray>{QStringLiteral("grades.csv"), csv.toUtf8()},
          {QStringLiteral("manifest.json"), QJsonDocument(manifest.toJson()).toJson()}}) {
        const QString failure = Reports::write(outFolder.filePath(file), contents);
        if (!failure.isEmpty()) {
            CommandLine::printError(failure);
            return CommandLine::runError;
        }
    }
    if (!parser.quiet())
        Trace::line(
            QStringLiteral("grades: %1%2")
                .arg(outFolder.filePath(QStringLiteral("grades.csv")),
                     shards > 1 ? QStringLiteral(" (shard %1/%2)").arg(shardNumber).arg(shards) : QString())
                .toStdString());
    return 0;
}

} // namespace Commands
