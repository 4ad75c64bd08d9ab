#pragma once

#include "LightSwitchDataModel.h"
#include "VirtualPlatformDataModel.h"

#include <QObject>
#include <QQmlContext>
#include <QQmlEngine>

int qInitResources_VirtualPlatformCoreLargeImagesResources();
int qInitResources_VirtualPlatformCoreImagesResources();
int qInitResources_VirtualPlatformCoreQmlResources();
int qInitResources_JolvUtilsResources();

// Gives every QML test file the program's scene environment: the resource tree and the utility
// module found through "qrc:/", and a real state model published as virtualPlatformDataModel.
class QmlTestSetup : public QObject
{
    Q_OBJECT

public slots:
    void applicationAvailable()
    {
        qInitResources_VirtualPlatformCoreLargeImagesResources();
        qInitResources_VirtualPlatformCoreImagesResources();
        qInitResources_VirtualPlatformCoreQmlResources();
        qInitResources_JolvUtilsResources();
    }

    void qmlEngineAvailable(QQmlEngine* engine)
    {
        engine->addImportPath(QStringLiteral("qrc:/"));
        engine->rootContext()->setContextProperty(QStringLiteral("virtualPlatformDataModel"), &model);
        engine->rootContext()->setContextProperty(QStringLiteral("lightSwitchDataModel"),
                                                  &lightSwitchDataModel);
    }

private:
    VirtualPlatformDataModel model;
    LightSwitchDataModel lightSwitchDataModel;
};
