#pragma once

#include "LightSwitchDataModel.h"
#include "VirtualPlatformDataModel.h"

#include <QMetaProperty>
#include <QObject>
#include <QQmlContext>
#include <QQmlEngine>
#include <QStringList>
#include <QVariantMap>

int qInitResources_VirtualPlatformCoreLargeImagesResources();
int qInitResources_VirtualPlatformCoreImagesResources();
int qInitResources_VirtualPlatformCoreQmlResources();
int qInitResources_JolvUtilsResources();

// Gives every QML test file the program's scene environment: the resource tree and the utility
// module found through "qrc:/", and a real state model published as virtualPlatformDataModel.
// What the tests need to know of the model's values comes from its meta-object, published as
// virtualPlatformDataModelFacts (see modelFacts()).
class QmlTestSetup : public QObject
{
    Q_OBJECT

public:
    // The model's values in declaration order ("names"), each one's initial value ("initial", by
    // name) and the three groups: "moduleInputs" are the values whose setters also emit
    // localBasedDataChanged, found by writing each once on a model of its own; of the others, those
    // of the cockpit ("cockpit…") are "cockpitInputs" and the rest "moduleOutputs".
    static QVariantMap modelFacts()
    {
        VirtualPlatformDataModel probe;
        int localChanges = 0;
        QObject::connect(&probe, &VirtualPlatformDataModel::localBasedDataChanged,
                         [&localChanges] { ++localChanges; });
        QStringList names;
        QVariantMap initial;
        QStringList cockpitInputs;
        QStringList moduleInputs;
        QStringList moduleOutputs;
        const QMetaObject& meta = VirtualPlatformDataModel::staticMetaObject;
        for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
            const QMetaProperty property = meta.property(i);
            const QString name = QString::fromLatin1(property.name());
            const QVariant value = property.read(&probe);
            names << name;
            initial.insert(name, value);
            const int before = localChanges;
            property.write(&probe, value.type() == QVariant::Bool ? QVariant(!value.toBool())
                                                                  : QVariant(value.toInt() + 1));
            if (localChanges != before)
                moduleInputs << name;
            else if (name.startsWith(QLatin1String("cockpit")))
                cockpitInputs << name;
            else
                moduleOutputs << name;
        }
        return {{QStringLiteral("names"), names},
                {QStringLiteral("initial"), initial},
                {QStringLiteral("cockpitInputs"), cockpitInputs},
                {QStringLiteral("moduleInputs"), moduleInputs},
                {QStringLiteral("moduleOutputs"), moduleOutputs}};
    }

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
        engine->rootContext()->setContextProperty(QStringLiteral("virtualPlatformDataModelFacts"),
                                                  modelFacts());
    }

private:
    VirtualPlatformDataModel model;
    LightSwitchDataModel lightSwitchDataModel;
};
