#include "Scene/BundledUnits.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

namespace {

// The port zuv-peer receives on, which is taken when other control units run.
constexpr int unitsPort = 50001;

void tell(const QString& text)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), qPrintable(text));
    std::fflush(stderr);
}

// zuv-peer next to the program (installed), or where the build puts it.
QString unitsProgram()
{
    const QString here = QCoreApplication::applicationDirPath();
    for (const QString& candidate :
         {here + QStringLiteral("/zuv-peer"), here + QStringLiteral("/../zuv-peer/zuv-peer")}) {
        if (QFileInfo(candidate).isExecutable())
            return candidate;
    }
    return {};
}

} // namespace

BundledUnits::BundledUnits(QObject* parent) : QObject(parent)
{
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    connect(&process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            [](int status, QProcess::ExitStatus how) {
                // zuv-peer ends with status 1 when its port is taken, having said so itself.
                if (how == QProcess::NormalExit && status == 1)
                    tell(QStringLiteral("the control units' port %1 is taken (do your own control units "
                                        "run?); running without the bundled ones")
                             .arg(unitsPort));
                else
                    tell(QStringLiteral("the bundled control units ended (status %1)").arg(status));
            });
}

BundledUnits::~BundledUnits()
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.disconnect(this);
    process.terminate();
    if (!process.waitForFinished(2000)) {
        process.kill();
        process.waitForFinished(2000);
    }
}

void BundledUnits::start()
{
    const QString program = unitsProgram();
    if (program.isEmpty()) {
        tell(QStringLiteral("zuv-peer is not installed next to the program; running without the bundled "
                            "control units"));
        return;
    }
    process.start(program,
                  {QStringLiteral("--quiet"), QStringLiteral("--peer-port"), QString::number(unitsPort)});
}
