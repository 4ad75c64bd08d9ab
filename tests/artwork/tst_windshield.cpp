// The windshield module: the wiper arm's sweep, the sensors under their press areas, and lamps
// clear of every press area.
#include "ArtworkPictures.h"

#include <QGuiApplication>
#include <QtTest>

class WindshieldTest : public QObject
{
    Q_OBJECT

private slots:
    void wiperArmSweepsGlass();
    void sensorsUnderPressAreas();
    void windshieldLampsClearOfPressAreas();
};

// The arm is drawn at its park position (left of the pivot) and the view turns it clockwise
// about the pivot: from 0 to 90 degrees it must stay on the page, off the board, and over the glass.
void WindshieldTest::wiperArmSweepsGlass()
{
    REQUIRE_MODULE_LAYERS("windshield_wiper_arm", "windshield")
    const QImage arm = renderModuleLayer("windshield_wiper_arm");
    const QImage picture = renderModuleLayer("windshield");
    const QRect box = opaqueBox(arm, 128);
    QVERIFY2(QRectF(box).contains(kPivot), "arm does not reach the pivot");
    QVERIFY2(box.right() < kPivot.x() + 0.04 * kPageW, "arm is not parked left of the pivot");
    QVERIFY2(box.height() < 0.1 * kPageH, "arm is not parked lying down");
    const double length = kPivot.x() - box.left();
    QVERIFY2(length > 0.2 * kPageH && length <= 0.3 * kPageH, qPrintable(QString::number(length)));

    QVector<QPointF> armPixels;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (alphaAt(arm, x, y) > 128)
                armPixels << QPointF(x + 0.5, y + 0.5);
    for (double angle : {0.0, 22.5, 45.0, 67.5, 90.0}) {
        for (const QPointF& p : qAsConst(armPixels)) {
            const QPointF q = rotated(p, angle);
            QVERIFY2(q.x() >= 0 && q.y() >= 0 && q.x() < kPageW && q.y() < kPageH,
                     qPrintable(QStringLiteral("leaves the page at %1 degrees").arg(angle)));
            QVERIFY2(boardLayer().isNull() || alphaAt(boardLayer(), int(q.x()), int(q.y())) <= 128,
                     qPrintable(QStringLiteral("covers the board at %1 degrees").arg(angle)));
        }
        // the blade's half away from the pivot wipes glass, not bare plate
        for (double f = 0.5; f <= 0.95; f += 0.05) {
            const QPointF q = rotated(kPivot - QPointF(f * length, 0), angle);
            QVERIFY2(
                alphaAt(picture, int(q.x()), int(q.y())) == 255,
                qPrintable(QStringLiteral("off the glass at %1 degrees, %2 of the arm").arg(angle).arg(f)));
        }
    }
}

void WindshieldTest::sensorsUnderPressAreas()
{
    REQUIRE_MODULE_LAYERS("windshield")
    const QImage picture = renderModuleLayer("windshield");
    for (const QRectF& area : {pressArea(0.687, 0.631, 0.25), pressArea(0.854, 0.813, 0.05)}) {
        const QRect middle =
            area.adjusted(area.width() / 4, area.height() / 4, -area.width() / 4, -area.height() / 4)
                .toRect();
        int opaque = 0;
        for (int y = middle.top(); y <= middle.bottom(); ++y)
            for (int x = middle.left(); x <= middle.right(); ++x)
                opaque += alphaAt(picture, x, y) == 255;
        QVERIFY2(opaque > 0.8 * middle.width() * middle.height(), "no sensor under the press area");
    }
}

void WindshieldTest::windshieldLampsClearOfPressAreas()
{
    const QVector<QRectF> areas{pressArea(0.235, 0.610, 0.15), pressArea(0.687, 0.631, 0.25),
                                pressArea(0.854, 0.813, 0.05)};
    for (const char* name :
         {"windshield_heater_light", "windshield_pump_light", "windshield_wiper_light_A",
          "windshield_wiper_light_B", "windshield_wiper_light_C", "windshield_wiper_light_D"}) {
        if (!QFile::exists(modulePath(QLatin1String(name))))
            continue;
        const QRectF lens = opaqueBox(renderModuleLayer(QLatin1String(name)), 230);
        for (const QRectF& area : areas)
            QVERIFY2(!lens.intersects(area), name);
    }
}

ARTWORK_TEST_MAIN(WindshieldTest)
#include "tst_windshield.moc"
