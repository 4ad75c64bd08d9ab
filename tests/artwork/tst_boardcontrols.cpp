// The board's controls (press-area ring, menu button faces and overlays) and the infrared sensor's
// scene.
#include "ArtworkPictures.h"

#include <QGuiApplication>
#include <QtTest>

#include <cmath>

class BoardControlsTest : public QObject
{
    Q_OBJECT

private slots:
    void controlOverlays();
    void infraredSceneObject();
};

void BoardControlsTest::controlOverlays()
{
    const QString dir = imagesDir() + QLatin1String("/svg-multilayer-extracted/");
    const QSize size(100, 100);
    const QImage ring = render(dir + "press-label_ring.svg", size);
    const QImage ringBackground = render(dir + "press-label_ring_background.svg", size);
    const QImage pressed = render(dir + "menu_item_pressed_white.svg", size);
    const QImage face = render(dir + "menu_item_background.svg", size);
    if (ring.isNull() || ringBackground.isNull() || pressed.isNull() || face.isNull())
        QSKIP("missing");
    // the ring marks the area without hiding the button under it
    QCOMPARE(alphaAt(ring, 50, 50), 0);
    QVERIFY(alphaAt(ring, 96, 50) > 128 && alphaAt(ring, 50, 4) > 128);
    // backgrounds and the pressed overlay are translucent discs
    for (const QImage& overlay : {ringBackground, pressed}) {
        QVERIFY(alphaAt(overlay, 50, 50) > 0 && alphaAt(overlay, 50, 50) < 160);
        QCOMPARE(alphaAt(overlay, 1, 1), 0);
    }
    QVERIFY(qGray(pressed.pixel(50, 50)) > 200);
    QCOMPARE(alphaAt(face, 50, 50), 255);
    QCOMPARE(alphaAt(face, 1, 1), 0);
}

// The submodule slides the object layer sideways; its drag handle (0.21 x 0.5 of the layer,
// centred at 0.86, 0.5) must lie on the object, whose near face is at 0.755 of the width.
void BoardControlsTest::infraredSceneObject()
{
    const QString dir = imagesDir() + QLatin1String("/svg-multilayer-extracted/");
    const QSize size(1000, 501);
    const QImage background = render(dir + "ir_distance_sensor_background.svg", size);
    const QImage object = render(dir + "ir_distance_sensor_object.svg", size);
    if (background.isNull() || object.isNull())
        QSKIP("missing");
    QVERIFY(shareAbove(background, 250) > 0.99);
    const QRect box = opaqueBox(object, 200);
    QVERIFY2(std::abs(box.left() - 755) <= 12, qPrintable(QString::number(box.left())));
    QVERIFY(box.right() <= 970);
    const QRect handle(755, 125, 210, 250);
    QVERIFY2(box.contains(handle.adjusted(8, 0, -8, 0)), "drag handle not on the object");
    QVERIFY(shareAbove(object, 0) < 0.2);
}

ARTWORK_TEST_MAIN(BoardControlsTest)
#include "tst_boardcontrols.moc"
