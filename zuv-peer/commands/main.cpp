// zuv-peer: the kit's control units for the virtual platform, and the link tools.
//
//   zuv-peer                      run the control units (lights, alarm, windshield, generic boards)
//   zuv-peer monitor              the same, printing every changed value as old -> new
//   zuv-peer record FILE          the same, also writing every document in and out to FILE
//   zuv-peer replay FILE          send the documents of a recorded session again
//   zuv-peer send KEY=VALUE ...   send one document to the program
//   zuv-peer check SCENARIO ...   check a control unit against scenarios (plays the program's side)
//   zuv-peer grade SUBMISSION ... every scenario against every submission, with grades.csv
//   zuv-peer scenario-from FILE   a scenario from a recording of a reference solution

#include "Connectivity/SocketLayer.h"
#include "commands/CommandLine.h"
#include "commands/Commands.h"

#include <QCoreApplication>

#include <functional>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zuv-peer"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZUV_PEER_VERSION));
    JOLV::Connectivity::net::startup();

    using Command = std::function<int(const QStringList&)>;
    const QList<QPair<QString, Command>> commands = {
        {QStringLiteral("monitor"),
         [](const QStringList& a) { return Commands::runUnits(a, Commands::Units::Monitor); }},
        {QStringLiteral("record"),
         [](const QStringList& a) { return Commands::runUnits(a, Commands::Units::Record); }},
        {QStringLiteral("replay"), Commands::replay},
        {QStringLiteral("send"), Commands::send},
        {QStringLiteral("check"), Commands::check},
        {QStringLiteral("grade"), Commands::grade},
        {QStringLiteral("scenario-from"), Commands::scenarioFrom},
    };

    // The first argument that names a command is the command; without one, the control units run.
    QStringList arguments = application.arguments().mid(1);
    for (int at = 0; at < arguments.size(); ++at) {
        for (const auto& command : commands) {
            if (arguments.at(at) == command.first) {
                arguments.removeAt(at);
                return command.second(arguments);
            }
        }
    }
    return Commands::runUnits(arguments, Commands::Units::Simulate);
}
