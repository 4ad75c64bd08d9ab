#pragma once

// Reading the picture set under images/: paths, rendering with Qt's SVG renderer, and measures of
// the rendered pixels. The module page is rendered at one pixel per view-box unit, so that places
// given as fractions of the page map onto pixels.

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QString>

QString imagesDir();
QString modulePath(const QString& name); // a layer of the module page, e.g. "alarm_light_lock"

constexpr int kPageW = 677;
constexpr int kPageH = 514;

// The wiper arm's pivot on the module page.
extern const QPointF kPivot;

QImage render(const QString& path, const QSize& size); // null when the picture is not valid
QImage renderModuleLayer(const QString& name);
// The microcontroller board's layer, rendered once; null when its picture is missing.
const QImage& boardLayer();

int alphaAt(const QImage& image, int x, int y);
// The bounding box of the pixels whose alpha is above threshold; null when there is none.
QRect opaqueBox(const QImage& image, int threshold);
// The share of the image's pixels whose alpha is above threshold.
double shareAbove(const QImage& image, int threshold);
// Pixels where both images are above their thresholds.
int overlap(const QImage& a, int thresholdA, const QImage& b, int thresholdB);
// A square press area centred at (cx, cy) of the page, side a fraction of the page's width.
QRectF pressArea(double cx, double cy, double side);
// p turned clockwise on screen about the wiper's pivot.
QPointF rotated(const QPointF& p, double degrees);

#define REQUIRE_MODULE_LAYERS(...)                                                                           \
    for (const char* name : {__VA_ARGS__})                                                                   \
        if (!QFile::exists(modulePath(QLatin1String(name))))                                                 \
            QSKIP(qPrintable(QStringLiteral("missing zuv-modules_%1.svg").arg(QLatin1String(name))));

// A test's main: the offscreen platform unless another is asked for.
#define ARTWORK_TEST_MAIN(TestClass)                                                                         \
    int main(int argc, char* argv[])                                                                         \
    {                                                                                                        \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                                  \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                                         \
        QGuiApplication app(argc, argv);                                                                     \
        TestClass test;                                                                                      \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
