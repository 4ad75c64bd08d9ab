// zuv-peer grade: every scenario against every submission of a class, with reports and grades.csv.

#include "Trace.h"
#include "check/CheckRunner.h"
#include "commands/CommandLine.h"
#include "commands/Commands.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <map>

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
    bool finished = false;
    QString failure; // what went wrong beyond the checks
};

QString shellQuoted(const QString& text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString csvField(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

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
    if (base.isEmpty())
        base = QStringLiteral("submission");
    QString name = base;
    for (int copy = 2; taken.contains(name); ++copy)
        name = QStringLiteral("%1-%2").arg(base).arg(copy);
    taken << name;
    return name;
}

// How to run a command in a network namespace of its own, or an empty list where none is possible.
QStringList namespacePrefix()
{
    const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
    if (unshare.isEmpty())
        return {};
    for (const QString& how : {QStringLiteral("-n"), QStringLiteral("-rn")}) {
        if (QProcess::execute(unshare, {how, QStringLiteral("true")}) == 0)
            return {unshare, how, QStringLiteral("sh"), QStringLiteral("-c"),
                    QStringLiteral("ip link set lo up && exec \"$0\" \"$@\"")};
    }
    return {};
}

} // namespace

int grade(const QStringList& arguments)
{
    CommandLine::Parser parser(
        "grade",
        QStringLiteral(
            "Runs every scenario of a folder against every submission, one after the other (or --jobs side "
            "by\n"
            "side, each in a network namespace of its own), and writes per submission OUT/NAME/report.json,\n"
            "report.xml and report.html, and OUT/grades.csv. {} in the command is replaced by the "
            "shell-quoted\n"
            "path of the submission; random values of the scenarios come from the submission's name."));
    const QCommandLineOption scenarios(QStringLiteral("scenarios"),
                                       QStringLiteral("The folder of scenarios."), QStringLiteral("dir"));
    const QCommandLineOption start(
        QStringLiteral("start"),
        QStringLiteral("How to start a submission's control unit, with {} for its path."),
        QStringLiteral("command"));
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("Where the reports go."),
                                 QStringLiteral("dir"));
    const QCommandLineOption jobs(QStringLiteral("jobs"),
                                  QStringLiteral("Submissions run side by side (default 1)."),
                                  QStringLiteral("n"));
    const QCommandLineOption startWait(
        QStringLiteral("start-wait"),
        QStringLiteral("How long a started control unit may take to come up (default 1s)."),
        QStringLiteral("duration"));
    parser->addOptions({scenarios, start, out, jobs, startWait});
    parser->addPositionalArgument(QStringLiteral("SUBMISSION"),
                                  QStringLiteral("Files or folders of the students."),
                                  QStringLiteral("SUBMISSION..."));
    const int parsed = parser.parse(arguments);
    if (parsed >= 0)
        return parsed;
    for (const QCommandLineOption* required : {&scenarios, &start, &out}) {
        if (!parser->isSet(*required))
            return CommandLine::usage(QStringLiteral("grade needs --%1").arg(required->names().constFirst()));
    }
    if (!parser->value(start).contains(QStringLiteral("{}")))
        return CommandLine::usage(QStringLiteral("--start needs {} where the submission's path goes, such as "
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

    QStringList prefix;
    if (parallel > 1) {
        prefix = namespacePrefix();
        if (prefix.isEmpty()) {
            Trace::line("zuv-peer grade: network namespaces are not available here (unshare); grading one "
                        "submission at a time");
            parallel = 1;
        }
    }

    // A scenario never outlives its timeout and 3 s; the start waits and a margin on top.
    Micros bound = 30'000'000;
    for (const Scenario& scenario : loaded.scenarios)
        bound += scenario.timeout + 5'000'000;

    std::vector<Submission> submissions;
    QStringList taken;
    for (const QString& path : parser.positional()) {
        Submission submission;
        submission.path = path;
        submission.name = nameOf(path, taken);
        submission.seed = seedOf(submission.name);
        submission.folder = QDir(outFolder.filePath(submission.name));
        submission.folder.mkpath(QStringLiteral("."));
        submissions.push_back(std::move(submission));
    }

    // Each submission's check runs as a process of its own: its ports, its peer, its failures.
    const auto launch = [&](Submission& submission) {
        QString command = parser->value(start);
        command.replace(QStringLiteral("{}"), shellQuoted(QFileInfo(submission.path).absoluteFilePath()));
        QStringList checkArguments = {
            QStringLiteral("check"),   QStringLiteral("--quiet"),
            QStringLiteral("--seed"),  QString::number(submission.seed),
            QStringLiteral("--start"), command,
            QStringLiteral("--json"),  submission.folder.filePath(QStringLiteral("report.json")),
            QStringLiteral("--junit"), submission.folder.filePath(QStringLiteral("report.xml")),
            QStringLiteral("--html"),  submission.folder.filePath(QStringLiteral("report.html")),
            QStringLiteral("--trace"), submission.folder.filePath(QStringLiteral("trace.jsonl"))};
        if (parser->isSet(startWait))
            checkArguments << QStringLiteral("--start-wait") << parser->value(startWait);
        if (prefix.isEmpty()) {
            checkArguments << QStringLiteral("--program-port") << QString::number(parser.ports().program)
                           << QStringLiteral("--peer-port") << QString::number(parser.ports().peer);
        }
        checkArguments << QFileInfo(parser->value(scenarios)).absoluteFilePath();
        submission.process = std::make_unique<QProcess>();
        submission.process->setStandardOutputFile(submission.folder.filePath(QStringLiteral("console.txt")));
        submission.process->setProcessChannelMode(QProcess::MergedChannels);
        const QString self = QCoreApplication::applicationFilePath();
        if (prefix.isEmpty())
            submission.process->start(self, checkArguments);
        else
            submission.process->start(prefix.first(), prefix.mid(1) + QStringList{self} + checkArguments);
        // The check bounds every scenario by itself; this is the last resort for a check that hangs.
        QProcess* process = submission.process.get();
        QTimer::singleShot(static_cast<int>(std::min<qint64>(bound / 1000, 24 * 3600 * 1000)), process,
                           [process] {
                               if (process->state() != QProcess::NotRunning)
                                   process->kill();
                           });
    };

    std::size_t next = 0;
    int running = 0;
    QEventLoop loop;
    const std::function<void()> fill = [&] {
        while (running < parallel && next < submissions.size()) {
            Submission& submission = submissions[next++];
            launch(submission);
            ++running;
            QObject::connect(
                submission.process.get(), QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished),
                &loop, [&, name = submission.name](int status, QProcess::ExitStatus how) {
                    --running;
                    auto found = std::find_if(submissions.begin(), submissions.end(),
                                              [&name](const Submission& s) { return s.name == name; });
                    found->finished = true;
                    if (how != QProcess::NormalExit || status == CommandLine::usageError)
                        found->failure = QStringLiteral("the check itself failed (status %1); see %2")
                                             .arg(status)
                                             .arg(found->folder.filePath(QStringLiteral("console.txt")));
                    else if (status == 3)
                        found->failure = QStringLiteral("inconclusive: the control unit did not start "
                                                        "or never sent anything");
                    fill();
                    if (running == 0)
                        loop.quit();
                });
        }
    };
    fill();
    if (running > 0)
        loop.exec();

    // grades.csv: one line per submission, the points of each scenario, the total and the maximum.
    QStringList names;
    int maximum = 0;
    for (const Scenario& scenario : loaded.scenarios) {
        names << scenario.name;
        maximum += scenario.maxPoints();
    }
    QStringList header = {QStringLiteral("submission")};
    for (const QString& name : names)
        header << csvField(name);
    header << QStringLiteral("total") << QStringLiteral("max");
    QString csv = header.join(QLatin1Char(',')) + QLatin1Char('\n');
    for (const Submission& submission : submissions) {
        std::map<QString, int> points;
        QFile report(submission.folder.filePath(QStringLiteral("report.json")));
        if (report.open(QIODevice::ReadOnly)) {
            const QJsonArray scenarioReports = QJsonDocument::fromJson(report.readAll())
                                                   .object()
                                                   .value(QStringLiteral("scenarios"))
                                                   .toArray();
            for (const QJsonValue& scenario : scenarioReports)
                points[scenario.toObject().value(QStringLiteral("name")).toString()] =
                    scenario.toObject().value(QStringLiteral("points")).toInt();
        }
        QStringList line = {csvField(submission.name)};
        int total = 0;
        for (const QString& name : names) {
            const int got = points.count(name) ? points[name] : 0;
            total += got;
            line << QString::number(got);
        }
        line << QString::number(total) << QString::number(maximum);
        csv += line.join(QLatin1Char(',')) + QLatin1Char('\n');
        if (!parser.quiet()) {
            Trace::line(QStringLiteral("%1: %2 of %3 points%4")
                            .arg(submission.name)
                            .arg(total)
                            .arg(maximum)
                            .arg(submission.failure.isEmpty()
                                     ? QString()
                                     : QStringLiteral(" (") + submission.failure + QLatin1Char(')'))
                            .toStdString());
        }
    }
    QSaveFile grades(outFolder.filePath(QStringLiteral("grades.csv")));
    if (!grades.open(QIODevice::WriteOnly) || grades.write(csv.toUtf8()) < 0 || !grades.commit()) {
        CommandLine::printError(
            QStringLiteral("cannot write %1: %2").arg(grades.fileName(), grades.errorString()));
        return CommandLine::runError;
    }
    if (!parser.quiet())
        Trace::line(QStringLiteral("grades: %1").arg(grades.fileName()).toStdString());
    return 0;
}

} // namespace Commands
