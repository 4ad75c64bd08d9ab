// zuv-peer scenario-from: a scenario from a recording of a reference solution, on standard output.

#include "check/ScenarioFrom.h"
#include "commands/CommandLine.h"
#include "commands/Commands.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace Commands {

int scenarioFrom(const QStringList& arguments)
{
    CommandLine::Parser parser(
        "scenario-from",
        QStringLiteral(
            "Writes a scenario (YAML, on standard output) from a recording of a reference solution (zuv-peer "
            "record,\n"
            "or the --trace of a check): the program's documents become set steps, the solution's settled "
            "answers\n"
            "expect steps, values that toggle steadily blinks steps, the wiper's phases wiper steps."));
    const QCommandLineOption name(QStringLiteral("name"),
                                  QStringLiteral("The scenario's name (default: the file's)."),
                                  QStringLiteral("text"));
    parser->addOption(name);
    parser->addPositionalArgument(QStringLiteral("RECORDING"), QStringLiteral("A recording (.jsonl)."));
    const int parsed = parser.parse(arguments);
    if (parsed >= 0)
        return parsed;
    if (parser.positional().size() != 1)
        return CommandLine::usage(QStringLiteral("scenario-from takes one RECORDING"));
    const QString path = parser.positional().first();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        CommandLine::printError(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return CommandLine::runError;
    }
    const Peer::SessionFile::Parsed recording = Peer::SessionFile::parse(file.readAll());
    if (!recording.error.isEmpty()) {
        CommandLine::printError(path + QStringLiteral(", ") + recording.error);
        return CommandLine::runError;
    }
    QString error;
    const QString text = Check::scenarioFrom(
        recording.entries, parser->isSet(name) ? parser->value(name) : QFileInfo(path).completeBaseName(),
        error);
    if (!error.isEmpty()) {
        CommandLine::printError(path + QStringLiteral(": ") + error);
        return CommandLine::runError;
    }
    std::fputs(text.toUtf8().constData(), stdout);
    return 0;
}

} // namespace Commands
