#include "Connectivity/SocketLayer.h"
#include "LightSwitchDataModel.h"
#include "ShutdownSignals.h"
#include "Trace.h"
#include "VirtualPlatformDataManager.h"
#include "VirtualPlatformDataModel.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QUrl>

// The resource bundles compiled into the program.
int qInitResources_VirtualPlatformCoreLargeImagesResources();
int qInitResources_VirtualPlatformCoreImagesResources();
int qInitResources_VirtualPlatformCoreQmlResources();
int qInitResources_JolvUtilsResources();

int main(int argc, char* argv[])
{
    JOLV::Connectivity::net::startup();
    Trace::line("Init Windows Winsock API by calling WSAStartup()");

    qInitResources_VirtualPlatformCoreLargeImagesResources();
    qInitResources_VirtualPlatformCoreImagesResources();
    qInitResources_VirtualPlatformCoreQmlResources();
    qInitResources_JolvUtilsResources();
    Trace::line("Started");

    QGuiApplication application(argc, argv);
    VirtualPlatformDataModel model;
    VirtualPlatformDataManager manager(&model);
    LightSwitchDataModel lightSwitchDataModel;
    ShutdownSignals shutdownSignals;

    QQmlApplicationEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    engine.rootContext()->setContextProperty(QStringLiteral("virtualPlatformDataModel"), &model);
    engine.rootContext()->setContextProperty(QStringLiteral("lightSwitchDataModel"), &lightSwitchDataModel);
    engine.load(QUrl(QStringLiteral("qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV-VirtualPlatformMain.qml"),
                     QUrl::TolerantMode));

    manager.start(QThread::InheritPriority);
    const int exitCode = application.exec();
    // The link thread must be at rest before the scene and the model go away.
    manager.stop();
    return exitCode;
}
