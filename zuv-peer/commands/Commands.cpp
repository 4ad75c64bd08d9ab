#include "commands/Commands.h"

namespace Commands {

const std::vector<Command>& all()
{
    static const std::vector<Command> commands = {
        {"", "",
         "run the control units: receive the platform's state on UDP\n"
         "127.0.0.1:50001, answer with the outputs on 127.0.0.1:50000,\n"
         "one trace line per document in and out\n",
         units},
        {"monitor", "", "the same, with each changed value shown as old -> new\n", monitor},
        {"record", "FILE",
         "the same, also writing every document in and out to FILE\n"
         "(JSON lines: {\"t\":seconds,\"dir\":\"in\"|\"out\",\"doc\":{...}})\n",
         record},
        {"replay", "FILE",
         "send the documents of a recorded session again, in their timing:\n"
         "the \"out\" documents to the program, or with --to peer the \"in\"\n"
         "documents to a peer\n",
         replay},
        {"send", "KEY=VALUE ...",
         "send one document to the program (or with --to peer to a peer);\n"
         "values are whole numbers or true/false\n",
         send},
        {"check", "SCENARIO ...",
         "check a control unit against scenarios: play the program's side\n"
         "and decide every check (--start starts the unit for each one)\n",
         check},
        {"grade", "SUBMISSION ...",
         "every scenario against every submission of a class, with a report\n"
         "per submission and grades.csv\n",
         grade},
        {"scenario-from", "FILE", "a scenario from a recording of a reference solution\n", scenarioFrom},
        {"new-unit", "LANGUAGE DIR",
         "a control unit to start from, in python or c, with the kit library: the heartbeat\n"
         "done, the rest as TODO lines\n",
         newUnit},
    };
    return commands;
}

QString overview()
{
    QString text =
        QStringLiteral("The control units of the ZUV training kit for the virtual platform, the link "
                       "tools and the checker.\n\nCommands:\n");
    for (const Command& command : all()) {
        const QString head =
            QStringLiteral("  %1 %2")
                .arg(*command.name ? QString::fromLatin1(command.name) : QStringLiteral("(none)"),
                     QString::fromLatin1(command.arguments))
                .trimmed();
        const QStringList lines = QString::fromLatin1(command.summary).trimmed().split(QLatin1Char('\n'));
        const int column = 24;
        text += QStringLiteral("  ") + head.leftJustified(column - 3) + QLatin1Char(' ') + lines.first() +
                QLatin1Char('\n');
        for (const QString& line : lines.mid(1))
            text += QString(column, QLatin1Char(' ')) + line + QLatin1Char('\n');
    }
    return text + QStringLiteral("\n'zuv-peer COMMAND --help' tells more of a command. Ctrl+C (SIGINT) or "
                                 "SIGTERM ends it.");
}

QString words()
{
    QStringList names;
    for (const Command& command : all()) {
        if (*command.name)
            names << QString::fromLatin1(command.name);
    }
    return names.join(QStringLiteral(", "));
}

int dispatch(QStringList arguments)
{
    // The first argument that names a command is the command; without one, the control units run.
    for (int at = 0; at < arguments.size(); ++at) {
        for (const Command& command : all()) {
            if (*command.name && arguments.at(at) == QLatin1String(command.name)) {
                arguments.removeAt(at);
                return command.run(arguments);
            }
        }
    }
    return all().front().run(arguments);
}

} // namespace Commands
