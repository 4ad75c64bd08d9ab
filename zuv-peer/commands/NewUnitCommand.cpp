// zuv-peer new-unit: a control unit to start from, in Python or C, with the kit library.

#include "Trace.h"
#include "commands/CommandLine.h"
#include "commands/Commands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

// The templates are compiled into this static library, which registers them on first use.
static void registerStarter()
{
    Q_INIT_RESOURCE(starter);
}

namespace Commands {

namespace {

// The reference scenarios: installed beside the program, or in the source tree it was built from.
QString referenceScenarios()
{
    const QString installed = QDir(QCoreApplication::applicationDirPath())
                                  .filePath(QStringLiteral("../share/zuv-virtualplatform/scenarios"));
    return QDir::cleanPath(QFileInfo::exists(installed) ? installed : QStringLiteral(ZUV_SOURCE_SCENARIOS));
}

} // namespace

int newUnit(const QStringList& arguments)
{
    CommandLine::Parser parser(
        "new-unit",
        QStringLiteral(
            "Writes a control unit to start from into DIR (which must be new or empty), with the kit "
            "library:\n"
            "the boards' heartbeat done, the rest of the behaviour as TODO lines, a README and, for C, a\n"
            "Makefile. It passes the heartbeat scenario as it is."));
    parser->addPositionalArgument(QStringLiteral("LANGUAGE"), QStringLiteral("python or c"));
    parser->addPositionalArgument(QStringLiteral("DIR"), QStringLiteral("The folder to write."));
    const int parsed = parser.parse(arguments);
    if (parsed >= 0)
        return parsed;
    const QStringList positional = parser.positional();
    if (positional.size() != 2 ||
        (positional.at(0) != QLatin1String("python") && positional.at(0) != QLatin1String("c")))
        return CommandLine::usage(
            QStringLiteral("new-unit takes a language (python or c) and a folder, such as "
                           "'zuv-peer new-unit python my-unit'"));
    const QString language = positional.at(0);
    QDir folder(positional.at(1));
    if (folder.exists() && !folder.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
        return CommandLine::usage(
            QStringLiteral("%1 is not empty: new-unit writes into a new or empty folder").arg(folder.path()));
    if (!folder.mkpath(QStringLiteral("."))) {
        CommandLine::printError(QStringLiteral("cannot make %1").arg(folder.path()));
        return CommandLine::runError;
    }
    registerStarter();
    const QString scenarios = referenceScenarios();
    const QDir templates(QStringLiteral(":/starter/starter/") + language);
    for (const QString& name : templates.entryList(QDir::Files, QDir::Name)) {
        QFile from(templates.filePath(name));
        QFile to(folder.filePath(name));
        if (!from.open(QIODevice::ReadOnly) || !to.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
            to.write(from.readAll().replace("@SCENARIOS@", scenarios.toUtf8())) < 0) {
            CommandLine::printError(
                QStringLiteral("cannot write %1: %2").arg(to.fileName(), to.errorString()));
            return CommandLine::runError;
        }
    }
    if (!parser.quiet()) {
        const bool python = language == QLatin1String("python");
        Trace::line(QStringLiteral("A control unit in %1 in %2: %3, README.md%4. Check it:\n"
                                   "    cd %2\n%5"
                                   "    zuv-peer check --start %6 %7/heartbeat.yaml")
                        .arg(python ? QStringLiteral("Python") : QStringLiteral("C"), folder.path(),
                             python ? QStringLiteral("unit.py") : QStringLiteral("unit.c"),
                             python ? QString() : QStringLiteral(", Makefile"),
                             python ? QString() : QStringLiteral("    make\n"),
                             python ? QStringLiteral("'python3 unit.py'") : QStringLiteral("./unit"),
                             scenarios)
                        .toStdString());
    }
    return 0;
}

} // namespace Commands
