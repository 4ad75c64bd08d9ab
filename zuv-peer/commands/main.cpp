// zuv-peer: the kit's control units for the virtual platform, the link tools and the checker. The
// commands are listed in Commands.cpp; `zuv-peer --help` shows them.

#include "Connectivity/SocketLayer.h"
#include "commands/Commands.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zuv-peer"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZUV_PEER_VERSION));
    JOLV::Connectivity::net::startup();
    return Commands::dispatch(application.arguments().mid(1));
}
