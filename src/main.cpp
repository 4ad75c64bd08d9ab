#include "Connectivity/SocketLayer.h"
#include "Faults/FaultSession.h"
#include "Scene/BundledUnits.h"
#include "Scene/LightSwitchDataModel.h"
#include "Scene/PlatformScene.h"
#include "Scene/Renderer.h"
#include "ShutdownSignals.h"
#include "Trace.h"
#include "VirtualPlatformDataManager.h"
#include "VirtualPlatformDataModel.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>

#include <cstdio>
#include <memory>
#include <optional>

namespace {

// The options the program takes. A new option is added here and read from the parser in main().
void setUpCommandLine(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        "The virtual platform of the ZUV vehicle-electronics training kit. It shows the kit's modules, "
        "sends their state to 127.0.0.1:50001 and applies the documents it receives on UDP port 50000; "
        "zuv-peer plays the control units.");
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
    // Qt's own options go on to the application object unchanged, as they always did.
    for (const char* name :
         {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon",
          "qwindowtitle", "session", "display", "geometry", "style", "stylesheet", "qmljsdebugger"}) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    parser.addOption(
        {QStringLiteral("faults"),
         QStringLiteral("Put the faults of <file> on the wire: broken lamps, stuck switches, crossed "
                        "wires, a bad link (YAML; re-read when it changes)."),
         QStringLiteral("file")});
    parser.addOption(
        {QStringLiteral("faults-quiet"),
         QStringLiteral("Tell only that faults are at work, not which ones (for an exercise).")});
    parser.addOption(
        {QStringLiteral("renderer"),
         QStringLiteral("The scene's renderer: opengl, software (Qt Quick's software scene graph) "
                        "or auto: software where OpenGL renders on the CPU (such as Mesa "
                        "llvmpipe), OpenGL otherwise. auto leaves a QT_QUICK_BACKEND set in the "
                        "environment in force; opengl and software override it."),
         QStringLiteral("auto|opengl|software"), QStringLiteral("auto")});
    parser.addOption(
        {QStringLiteral("with-units"),
         QStringLiteral("Start the bundled control units (zuv-peer, installed next to the program) "
                        "beside it, and end them with it; when their port is taken by other control "
                        "units, run without them.")});
    QCommandLineOption reverse(QStringLiteral("reverse"));
    reverse.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(reverse);
}

} // namespace

int main(int argc, char* argv[])
{
    QCommandLineParser commandLine;
    setUpCommandLine(commandLine);
    QString faultsFile;
    std::optional<Renderer::Choice> renderer;
    {
        // --help and --version are answered, and options neither it nor Qt knows refused, before
        // any window, socket or trace: the parser ends the process then.
        QCoreApplication application(argc, argv);
        QCoreApplication::setApplicationVersion(ZUV_VERSION);
        commandLine.process(application);
        if (!commandLine.positionalArguments().isEmpty()) {
            std::fprintf(stderr, "%s: unexpected argument '%s'\n",
                         qPrintable(QCoreApplication::applicationName()),
                         qPrintable(commandLine.positionalArguments().first()));
            return 1;
        }
        faultsFile = commandLine.value(QStringLiteral("faults"));
        if (commandLine.isSet(QStringLiteral("faults-quiet")) && faultsFile.isEmpty()) {
            std::fprintf(stderr, "%s: --faults-quiet goes with --faults FILE\n",
                         qPrintable(QCoreApplication::applicationName()));
            return 1;
        }
        // A fault file that cannot be used stops the program before anything else.
        if (!faultsFile.isEmpty()) {
            const FaultsLoaded loaded = loadFaults(faultsFile);
            for (const QString& error : loaded.errors)
                std::fprintf(stderr, "%s\n", qPrintable(error));
            if (!loaded.errors.isEmpty())
                return 2;
        }
        renderer = Renderer::fromName(commandLine.value(QStringLiteral("renderer")));
        if (!renderer) {
            std::fprintf(stderr, "%s: unknown renderer '%s' (auto, opengl or software)\n",
                         qPrintable(QCoreApplication::applicationName()),
                         qPrintable(commandLine.value(QStringLiteral("renderer"))));
            return 1;
        }
    }

    // Where the choice depends on the OpenGL renderer, finding it out starts now, alongside start-up.
    Renderer::Selection rendererSelection(*renderer, argc, argv);

    JOLV::Connectivity::net::startup();
    Trace::line("Init Windows Winsock API by calling WSAStartup()");
    PlatformScene::registerResources();
    Trace::line("Started");

    QGuiApplication application(argc, argv);
    VirtualPlatformDataModel model;
    std::unique_ptr<FaultSession> faults; // outlives the link, which uses it
    VirtualPlatformDataManager manager(&model);
    if (!faultsFile.isEmpty()) {
        faults =
            std::make_unique<FaultSession>(faultsFile, commandLine.isSet(QStringLiteral("faults-quiet")));
        const QStringList errors = faults->start();
        for (const QString& error : errors)
            std::fprintf(stderr, "%s\n", qPrintable(error));
        if (!errors.isEmpty())
            return 2;
        manager.setFaults(faults.get());
    }
    // The bundled units start once the program's own port is bound, so their first document is
    // waiting for the link; they end before the link does.
    BundledUnits bundledUnits;
    if (commandLine.isSet(QStringLiteral("with-units")))
        bundledUnits.start();
    LightSwitchDataModel lightSwitchDataModel;
    ShutdownSignals shutdownSignals;
    rendererSelection.apply();

    QQmlApplicationEngine engine;
    PlatformScene::load(engine, model, lightSwitchDataModel);
    if (faults) {
        // Whoever runs the program sees that faults are at work, even when not which ones.
        if (auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().value(0))) {
            const QString title = window->title();
            const auto mark = [window, title, &faults] {
                window->setTitle(faults->anyActive() ? title + QStringLiteral(" \u2014 faults active")
                                                     : title);
            };
            mark();
            QObject::connect(faults.get(), &FaultSession::changed, window, mark);
        }
    }

    manager.start(QThread::InheritPriority);
    const int exitCode = application.exec();
    // The link thread must be at rest before the scene and the model go away.
    manager.stop();
    return exitCode;
}
