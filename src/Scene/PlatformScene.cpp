#include "Scene/PlatformScene.h"

#include "Scene/LightSwitchDataModel.h"
#include "VirtualPlatformDataModel.h"

#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QUrl>

int qInitResources_VirtualPlatformCoreLargeImagesResources();
int qInitResources_VirtualPlatformCoreImagesResources();
int qInitResources_VirtualPlatformCoreQmlResources();
int qInitResources_JolvUtilsResources();

namespace PlatformScene {

void registerResources()
{
    qInitResources_VirtualPlatformCoreLargeImagesResources();
    qInitResources_VirtualPlatformCoreImagesResources();
    qInitResources_VirtualPlatformCoreQmlResources();
    qInitResources_JolvUtilsResources();
}

void load(QQmlApplicationEngine& engine, VirtualPlatformDataModel& model,
          LightSwitchDataModel& lightSwitchModel)
{
    engine.addImportPath(QStringLiteral("qrc:/"));
    engine.rootContext()->setContextProperty(QStringLiteral("virtualPlatformDataModel"), &model);
    engine.rootContext()->setContextProperty(QStringLiteral("lightSwitchDataModel"), &lightSwitchModel);
    engine.load(QUrl(QStringLiteral("qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV-VirtualPlatformMain.qml"),
                     QUrl::TolerantMode));
}

} // namespace PlatformScene
