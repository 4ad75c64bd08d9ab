#include "Connectivity/SocketLayer.h"
#include "LightSwitchDataModel.h"
#include "PlatformScene.h"
#include "ShutdownSignals.h"
#include "Trace.h"
#include "VirtualPlatformDataManager.h"
#include "VirtualPlatformDataModel.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>

int main(int argc, char* argv[])
{
    JOLV::Connectivity::net::startup();
    Trace::line("Init Windows Winsock API by calling WSAStartup()");
    PlatformScene::registerResources();
    Trace::line("Started");

    QGuiApplication application(argc, argv);
    VirtualPlatformDataModel model;
    VirtualPlatformDataManager manager(&model);
    LightSwitchDataModel lightSwitchDataModel;
    ShutdownSignals shutdownSignals;

    QQmlApplicationEngine engine;
    PlatformScene::load(engine, model, lightSwitchDataModel);

    manager.start(QThread::InheritPriority);
    const int exitCode = application.exec();
    // The link thread must be at rest before the scene and the model go away.
    manager.stop();
    return exitCode;
}
