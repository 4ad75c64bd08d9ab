#pragma once

#include "Scene/LightSwitchDataModel.h"
#include "VirtualPlatformDataModel.h"

#include <QImage>
#include <QImageReader>
#include <QMetaProperty>
#include <QObject>
#include <QPainter>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QStringList>
#include <QVariantMap>

#include <algorithm>
#include <cmath>
#include <cstdlib>

int qInitResources_VirtualPlatformCoreLargeImagesResources();
int qInitResources_VirtualPlatformCoreImagesResources();
int qInitResources_VirtualPlatformCoreQmlResources();
int qInitResources_JolvUtilsResources();

// Compares an item as the scene draws it with its picture rendered straight from the SVG file at the
// same size in device pixels; published to the tests as qmlTestPictures.
class PictureComparison : public QObject
{
    Q_OBJECT

public:
    // The scale factor the tests run at (QT_SCALE_FACTOR), so that they can tell that it applies.
    Q_INVOKABLE qreal requestedScale() const
    {
        return qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                   ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                   : 1.0;
    }

    Q_INVOKABLE qreal devicePixelRatio(QQuickItem* item) const
    {
        return item && item->window() ? item->window()->effectiveDevicePixelRatio() : 1.0;
    }

    // Compares grabbed, the item drawn by the scene at its size in device pixels (Item.grabToImage
    // with that size), with the picture rendered at that size, both over black. Returns the share of
    // pixels in per cent that differ from it ("difference") and from the picture rendered at the
    // item's size in the item's own pixels and scaled up ("upscaledDifference"), which is what a
    // raster not made for the screen's pixel ratio looks like.
    Q_INVOKABLE QVariantMap compareWithPicture(QQuickItem* item, const QImage& grabbed,
                                               const QUrl& picture) const
    {
        const QSize size = grabbed.size();
        const QSize itemSize = (QSizeF(size) / devicePixelRatio(item)).toSize();
        return {{QStringLiteral("difference"),
                 differingShare(onBlack(grabbed, size), render(picture, size, size))},
                {QStringLiteral("upscaledDifference"),
                 differingShare(onBlack(grabbed, size), render(picture, itemSize, size))}};
    }

private:
    // The picture rasterised at size and drawn at shownSize over black.
    static QImage render(const QUrl& picture, const QSize& size, const QSize& shownSize)
    {
        const QString path = picture.scheme() == QLatin1String("qrc") ? QLatin1Char(':') + picture.path()
                                                                      : picture.toLocalFile();
        QImageReader reader(path);
        reader.setScaledSize(size);
        return onBlack(reader.read(), shownSize);
    }

    static QImage onBlack(const QImage& raster, const QSize& shownSize)
    {
        QImage result(shownSize, QImage::Format_ARGB32);
        result.fill(Qt::black);
        QPainter painter(&result);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(QPoint(0, 0), shownSize), raster);
        return result;
    }

    // The share of pixels, in per cent, of which some colour channel differs by more than 16 of 255.
    static double differingShare(const QImage& a, const QImage& b)
    {
        if (a.size() != b.size() || a.isNull())
            return 100.0;
        int differing = 0;
        for (int y = 0; y < a.height(); ++y) {
            const QRgb* lineA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
            const QRgb* lineB = reinterpret_cast<const QRgb*>(b.constScanLine(y));
            for (int x = 0; x < a.width(); ++x) {
                const int most = std::max({std::abs(qRed(lineA[x]) - qRed(lineB[x])),
                                           std::abs(qGreen(lineA[x]) - qGreen(lineB[x])),
                                           std::abs(qBlue(lineA[x]) - qBlue(lineB[x]))});
                differing += most > 16 ? 1 : 0;
            }
        }
        return 100.0 * differing / (double(a.width()) * a.height());
    }
};

// Gives every QML test file the program's scene environment: the resource tree and the utility
// module found through "qrc:/", and a real state model published as virtualPlatformDataModel.
// What the tests need to know of the model's values comes from its meta-object, published as
// virtualPlatformDataModelFacts (see modelFacts()). qmlTestPictures compares what the screen shows
// with the pictures (see PictureComparison).
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
        engine->rootContext()->setContextProperty(QStringLiteral("qmlTestPictures"), &pictures);
    }

private:
    VirtualPlatformDataModel model;
    LightSwitchDataModel lightSwitchDataModel;
    PictureComparison pictures;
};
