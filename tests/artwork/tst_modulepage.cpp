// The layers that the module views switch, press or stack on the module page: each holds only its
// part, sits where the views expect it, and keeps the board and the other lamps in sight.
#include "ArtworkPictures.h"

#include <QGuiApplication>
#include <QtTest>

#include <cmath>

class ModulePageTest : public QObject
{
    Q_OBJECT

private slots:
    void switchedLayerIsLocal_data();
    void switchedLayerIsLocal();
    void pressedButtonUnderPressArea_data();
    void pressedButtonUnderPressArea();
    void boardLedsAroundButton();
    void lightsLampsAllVisible();
    void layersAboveBoardKeepItVisible_data();
    void layersAboveBoardKeepItVisible();
    void cockpitDisplayArea();
};

// Lamp, pressed and moving layers hold only their part: the page stays transparent elsewhere.
void ModulePageTest::switchedLayerIsLocal_data()
{
    QTest::addColumn<QString>("layer");
    QTest::addColumn<double>("maxShare"); // share of the page that the layer may cover at all
    for (const char* name :
         {"generic_button_pressed", "generic_light_left", "generic_light_up", "generic_light_right",
          "generic_light_down", "alarm_light_alarm", "alarm_light_lock", "alarm_button_alarm_pressed",
          "alarm_button_lock_pressed", "windshield_heater_light", "windshield_pump_light",
          "windshield_wiper_light_A", "windshield_wiper_light_B", "windshield_wiper_light_C",
          "windshield_wiper_light_D", "windshield_wiper_arm"})
        QTest::addRow("%s", name) << QString::fromLatin1(name) << 0.04;
    for (const char* name :
         {"daylight", "upperbeamlight", "lowerbeamlight", "foglight_right", "foglight_left",
          "indicator_right", "indicator_left", "reverselight", "brakelight", "backlight"})
        QTest::addRow("lights_%s", name) << QStringLiteral("lights_%1").arg(QLatin1String(name)) << 0.06;
}

void ModulePageTest::switchedLayerIsLocal()
{
    QFETCH(QString, layer);
    QFETCH(double, maxShare);
    if (!QFile::exists(modulePath(layer)))
        QSKIP("missing");
    const QImage image = renderModuleLayer(layer);
    const double share = shareAbove(image, 0);
    QVERIFY2(share > 0.0005, "layer is empty");
    QVERIFY2(share <= maxShare, qPrintable(QStringLiteral("covers %1 of the page").arg(share)));
}

void ModulePageTest::pressedButtonUnderPressArea_data()
{
    QTest::addColumn<QString>("layer");
    QTest::addColumn<QPointF>("centre");
    QTest::addColumn<double>("side");
    QTest::addRow("generic button") << "generic_button_pressed" << QPointF(0.235, 0.610) << 0.15;
    QTest::addRow("alarm button") << "alarm_button_alarm_pressed" << QPointF(0.577, 0.662) << 0.15;
    QTest::addRow("lock button") << "alarm_button_lock_pressed" << QPointF(0.780, 0.662) << 0.15;
}

void ModulePageTest::pressedButtonUnderPressArea()
{
    QFETCH(QString, layer);
    QFETCH(QPointF, centre);
    QFETCH(double, side);
    if (!QFile::exists(modulePath(layer)))
        QSKIP("missing");
    const QRect box = opaqueBox(renderModuleLayer(layer), 128);
    const QRectF area = pressArea(centre.x(), centre.y(), side);
    QVERIFY2(QRectF(box).contains(QPointF(centre.x() * kPageW, centre.y() * kPageH)), "misses the centre");
    QVERIFY2(area.contains(QRectF(box)), "reaches out of the press area");
    QVERIFY2(box.width() > 0.3 * area.width(), "too small to see");
}

void ModulePageTest::boardLedsAroundButton()
{
    REQUIRE_MODULE_LAYERS("generic_light_left", "generic_light_up", "generic_light_right",
                          "generic_light_down")
    QMap<QString, QPointF> at;
    for (const char* name : {"left", "up", "right", "down"})
        at[name] =
            QRectF(opaqueBox(renderModuleLayer(QStringLiteral("generic_light_%1").arg(QLatin1String(name))),
                             230))
                .center();
    const QPointF button(0.235 * kPageW, 0.610 * kPageH);
    for (auto it = at.cbegin(); it != at.cend(); ++it) {
        const QPointF d = it.value() - button;
        QVERIFY2(std::hypot(d.x(), d.y()) < 0.2 * kPageW,
                 qPrintable(it.key() + QLatin1String(" far from button")));
        QVERIFY2(!boardLayer().isNull() &&
                     alphaAt(boardLayer(), int(it.value().x()), int(it.value().y())) == 255,
                 qPrintable(it.key() + QLatin1String(" not on the board")));
    }
    // named by their place around the centre
    QVERIFY(at["left"].x() < at["up"].x() && at["up"].x() < at["right"].x());
    QVERIFY(at["left"].x() < at["down"].x() && at["down"].x() < at["right"].x());
    QVERIFY(at["up"].y() < at["left"].y() && at["left"].y() < at["down"].y());
    QVERIFY(std::abs(at["left"].y() - at["right"].y()) < 3 && std::abs(at["up"].x() - at["down"].x()) < 3);
}

// The lights picture and its lamps lie below the board: no lamp may hide under it, and no lit
// lens may cover another, so that all ten lamps read at once.
void ModulePageTest::lightsLampsAllVisible()
{
    const QStringList names{"daylight",      "upperbeamlight",  "lowerbeamlight", "foglight_right",
                            "foglight_left", "indicator_right", "indicator_left", "reverselight",
                            "brakelight",    "backlight"};
    for (const QString& name : names)
        if (!QFile::exists(modulePath(QLatin1String("lights_") + name)))
            QSKIP(qPrintable(QLatin1String("missing lights_") + name));
    QVERIFY(!boardLayer().isNull());
    QMap<QString, QImage> lamps;
    for (const QString& name : names)
        lamps[name] = renderModuleLayer(QLatin1String("lights_") + name);
    for (const QString& name : names) {
        QVERIFY2(overlap(lamps[name], 100, boardLayer(), 128) == 0,
                 qPrintable(name + QLatin1String(" under the board")));
        for (const QString& other : names)
            if (name < other)
                QVERIFY2(overlap(lamps[name], 230, lamps[other], 230) == 0,
                         qPrintable(name + QLatin1String(" covers ") + other));
    }
    // left and right are the car's sides, seen from above
    const auto centreX = [&](const QString& name) {
        return QRectF(opaqueBox(lamps[name], 230)).center().x();
    };
    QVERIFY(centreX("indicator_left") < centreX("indicator_right"));
    QVERIFY(centreX("foglight_left") < centreX("foglight_right"));
}

// Alarm and windshield pictures stack above the board: they must leave it uncovered.
void ModulePageTest::layersAboveBoardKeepItVisible_data()
{
    QTest::addColumn<QString>("layer");
    for (const char* name :
         {"alarm", "alarm_light_alarm", "alarm_light_lock", "alarm_button_alarm_pressed",
          "alarm_button_lock_pressed", "windshield", "windshield_heater_light", "windshield_pump_light",
          "windshield_wiper_arm", "windshield_wiper_light_A", "windshield_wiper_light_B",
          "windshield_wiper_light_C", "windshield_wiper_light_D"})
        QTest::addRow("%s", name) << QString::fromLatin1(name);
}

void ModulePageTest::layersAboveBoardKeepItVisible()
{
    QFETCH(QString, layer);
    if (!QFile::exists(modulePath(layer)) || boardLayer().isNull())
        QSKIP("missing");
    QCOMPARE(overlap(renderModuleLayer(layer), 24, boardLayer(), 128), 0);
}

void ModulePageTest::cockpitDisplayArea()
{
    REQUIRE_MODULE_LAYERS("cockpit")
    const QImage picture = renderModuleLayer("cockpit");
    const QRectF display(0.114 * kPageW, 0.5 * kPageH - 0.24 * kPageW, 0.8 * kPageW, 0.48 * kPageW);
    const QRect inner = display.adjusted(3, 3, -3, -3).toRect();
    for (int y = inner.top(); y <= inner.bottom(); y += 4)
        for (int x = inner.left(); x <= inner.right(); x += 4) {
            const QRgb p = picture.pixel(x, y);
            QVERIFY2(qAlpha(p) == 255 && qGray(p) < 48,
                     qPrintable(QStringLiteral("screen not dark at %1,%2").arg(x).arg(y)));
        }
    // a bezel frames the screen on all four sides
    const QPointF c = display.center();
    for (const QPointF& p : {QPointF(display.left() - 8, c.y()), QPointF(display.right() + 8, c.y()),
                             QPointF(c.x(), display.top() - 8), QPointF(c.x(), display.bottom() + 8)})
        QCOMPARE(alphaAt(picture, int(p.x()), int(p.y())), 255);
}

ARTWORK_TEST_MAIN(ModulePageTest)
#include "tst_modulepage.moc"
