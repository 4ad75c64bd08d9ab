// Checks of the picture set under images/: every catalogue group keeps its exact canvas, every
// picture draws cleanly with Qt's SVG renderer, and the layers that the module views switch,
// press or turn sit where the views expect them and leave the rest of the page transparent.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <QtTest>

#include <cmath>

namespace {

QString imagesDir()
{
    const QByteArray env = qgetenv("ZUV_IMAGES_DIR");
    return env.isEmpty() ? QStringLiteral(ZUV_IMAGES_DIR) : QString::fromLocal8Bit(env);
}

// Canvas text exactly as the files carry it; a null view box is not fixed by the catalogue.
struct Canvas
{
    const char* width;
    const char* height;
    const char* viewBox;
};

struct Group
{
    const char* name;
    Canvas canvas;
    QStringList files; // relative to images/
};

const Canvas kModuleCanvas{"191.16933mm", "145mm", "0 0 677.37163 513.77952"};
const Canvas kSquareCanvas{"100", "100", "0 0 26.458333 26.458334"};
const Canvas kButtonCanvas{"11.288888mm", "11.288889mm", "0 0 39.999997 40"};

QStringList layers(const QString& prefix, const QStringList& names)
{
    QStringList out;
    for (const QString& name : names)
        out << QStringLiteral("svg-multilayer-extracted/%1%2.svg").arg(prefix, name);
    return out;
}

QStringList singles(const QStringList& names)
{
    QStringList out;
    for (const QString& name : names)
        out << QStringLiteral("svg/%1.svg").arg(name);
    return out;
}

const QVector<Group>& catalogue()
{
    static const QVector<Group> groups{
        {"module pictures", kModuleCanvas,
         layers("zuv-modules_", {"generic",
                                 "generic_discovery_board",
                                 "generic_button_pressed",
                                 "generic_light_left",
                                 "generic_light_up",
                                 "generic_light_right",
                                 "generic_light_down",
                                 "lights",
                                 "lights_daylight",
                                 "lights_upperbeamlight",
                                 "lights_lowerbeamlight",
                                 "lights_foglight_right",
                                 "lights_foglight_left",
                                 "lights_indicator_right",
                                 "lights_indicator_left",
                                 "lights_reverselight",
                                 "lights_brakelight",
                                 "lights_backlight",
                                 "alarm",
                                 "alarm_light_alarm",
                                 "alarm_light_lock",
                                 "alarm_button_alarm_pressed",
                                 "alarm_button_lock_pressed",
                                 "windshield",
                                 "windshield_heater_light",
                                 "windshield_pump_light",
                                 "windshield_wiper_arm",
                                 "windshield_wiper_light_A",
                                 "windshield_wiper_light_B",
                                 "windshield_wiper_light_C",
                                 "windshield_wiper_light_D",
                                 "cockpit"})},
        {"menu button", kSquareCanvas,
         layers("menu_item_",
                {"background", "pressed_white", "icon_move_left", "icon_move_right", "icon_move_drag"})},
        {"press area", kSquareCanvas, layers("press-label_", {"ring_background", "ring"})},
        {"close button", kSquareCanvas, layers("icon_close_", {"icon"})},
        {"infrared sensor submodule",
         {"100.24999", "50.249996", "0 0 26.524477 13.295312"},
         layers("ir_distance_sensor_", {"background", "object"})},
        {"cockpit menu control icon",
         {"54.186668mm", "54.186668mm", "0 0 192.00001 192.00001"},
         singles({"menu_panel_control_icon"})},
        {"cockpit menu settings icon",
         {"46.132946mm", "46.132946mm", "0 0 163.4632 163.4632"},
         singles({"menu_panel_settings_icon"})},
        {"cockpit menu can icon", {"500", "500", nullptr}, singles({"menu_panel_can_icon"})},
        {"cockpit menu tachometer icon",
         {"500", "489.48108", nullptr},
         singles({"menu_panel_tachometer_icon"})},
        {"control panel tabs", kButtonCanvas,
         singles({"control_panel_icon_light", "control_panel_icon_windshield", "control_panel_icon_alarm",
                  "control_panel_icon_dynamic", "control_panel_icon_sensors"})},
        {"steering wheel", {"479.309", "464.835", "0 0 479.309 464.835"}, singles({"steering_wheel"})},
        {"light switch",
         {"374.99997", "375.00003", "0 0 374.99999 375"},
         layers("light_switch_",
                {"background", "needle", "icon_off_active", "icon_off_inactive", "icon_auto_active",
                 "icon_auto_inactive", "icon_abblendlicht_active", "icon_abblendlicht_inactive",
                 "icon_fernlicht_active", "icon_fernlicht_inactive", "icon_tagfahrlicht_active",
                 "icon_tagfahrlicht_inactive"})},
        {"light buttons", kButtonCanvas,
         layers("light_button_",
                {"foglights_active", "foglights_inactive", "fogbacklights_active", "fogbacklights_inactive",
                 "warninglights_active", "warninglights_inactive"})},
        {"light sensor switch", kSquareCanvas,
         layers("light_sensor_switch_", {"background", "sky_day", "sky_night", "sun_stars", "car", "frame"})},
        {"control stalk",
         {"37.81778mm", "37.81778mm", "0 0 134.00001 134"},
         layers("control_stalk_", {"console", "moveable_lever_ghostlines", "moveable_lever",
                                   "moveable_lever_icon_signal", "moveable_lever_icon_windshieldwasher"})},
        {"windshield buttons", kButtonCanvas,
         layers("windshield", {"heater_auto_active", "heater_auto_inactive", "heater_manuell_active",
                               "heater_manuell_inactive", "washer_once_active", "washer_once_inactive",
                               "washer_wash_active", "washer_wash_inactive"})},
        {"temperature control",
         {"70", "80", "0 0 18.520833 21.166667"},
         layers("temperature-control_", {"static", "gauge", "button_up_active", "button_up_inactive",
                                         "button_down_active", "button_down_inactive"})},
        {"distance sensor",
         {"40", "100.00002", "0 0 10.583333 26.458338"},
         layers("distance_sensor_", {"street", "primary_car", "secondary_car", "beam_green", "beam_red"})},
        {"brake control", kButtonCanvas,
         layers("braking_", {"normal_active", "normal_inactive", "emergency_active", "emergency_inactive",
                             "extreme_emergency_active", "extreme_emergency_inactive"})},
        {"alarm acknowledgement", kButtonCanvas, layers("alarm_acknowledgment_", {"active", "inactive"})},
        {"ignition switch", kSquareCanvas, layers("ignition_switch_", {"base", "on", "off"})},
    };
    return groups;
}

QString modulePath(const QString& name)
{
    return imagesDir() + QStringLiteral("/svg-multilayer-extracted/zuv-modules_%1.svg").arg(name);
}

// Module page rendered at one pixel per view-box unit.
constexpr int kPageW = 677;
constexpr int kPageH = 514;

QStringList g_warnings;

void recordWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        g_warnings << message;
}

QImage render(const QString& path, const QSize& size)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        return {};
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), size));
    return image;
}

QImage renderModuleLayer(const QString& name)
{
    return render(modulePath(name), QSize(kPageW, kPageH));
}

int alphaAt(const QImage& image, int x, int y)
{
    return qAlpha(image.pixel(x, y));
}

QRect opaqueBox(const QImage& image, int threshold)
{
    int x0 = image.width(), y0 = image.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) > threshold) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
        }
    }
    return x1 < 0 ? QRect() : QRect(QPoint(x0, y0), QPoint(x1, y1));
}

double shareAbove(const QImage& image, int threshold)
{
    qint64 count = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(line[x]) > threshold;
    }
    return double(count) / (qint64(image.width()) * image.height());
}

// Pixels where both images are above their thresholds.
int overlap(const QImage& a, int thresholdA, const QImage& b, int thresholdB)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += alphaAt(a, x, y) > thresholdA && alphaAt(b, x, y) > thresholdB;
    return count;
}

QRectF pressArea(double cx, double cy, double side)
{
    const double s = side * kPageW;
    return {cx * kPageW - s / 2, cy * kPageH - s / 2, s, s};
}

const QPointF kPivot(0.5866666666666667 * kPageW, 0.35146666666666665 * kPageH);

QPointF rotated(const QPointF& p, double degrees)
{
    const double a = degrees * M_PI / 180.0;
    const QPointF d = p - kPivot;
    return kPivot +
           QPointF(d.x() * std::cos(a) - d.y() * std::sin(a), d.x() * std::sin(a) + d.y() * std::cos(a));
}

#define REQUIRE_MODULE_LAYERS(...)                                                                           \
    for (const char* name : {__VA_ARGS__})                                                                   \
        if (!QFile::exists(modulePath(QLatin1String(name))))                                                 \
            QSKIP(qPrintable(QStringLiteral("missing zuv-modules_%1.svg").arg(QLatin1String(name))));

} // namespace

class ArtworkTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    // every picture of the catalogue
    void canvas_data();
    void canvas();
    void rendersCleanly_data();
    void rendersCleanly();

    // module page layers
    void switchedLayerIsLocal_data();
    void switchedLayerIsLocal();
    void pressedButtonUnderPressArea_data();
    void pressedButtonUnderPressArea();
    void boardLedsAroundButton();
    void lightsLampsAllVisible();
    void layersAboveBoardKeepItVisible_data();
    void layersAboveBoardKeepItVisible();
    void wiperArmSweepsGlass();
    void sensorsUnderPressAreas();
    void windshieldLampsClearOfPressAreas();
    void cockpitDisplayArea();

    // board controls and the sensor scene
    void controlOverlays();
    void infraredSceneObject();

private:
    QImage m_board;
};

void ArtworkTest::initTestCase()
{
    qInstallMessageHandler(recordWarnings);
    QVERIFY2(QDir(imagesDir()).exists(), qPrintable(imagesDir()));
    if (QFile::exists(modulePath("generic_discovery_board")))
        m_board = renderModuleLayer("generic_discovery_board");
}

void ArtworkTest::canvas_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("viewBox");
    for (const Group& group : catalogue())
        for (const QString& file : group.files)
            QTest::addRow("%s: %s", group.name, qPrintable(file))
                << file << group.canvas.width << group.canvas.height
                << (group.canvas.viewBox ? QString::fromLatin1(group.canvas.viewBox) : QString());
}

void ArtworkTest::canvas()
{
    QFETCH(QString, file);
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QString, viewBox);
    QFile svg(imagesDir() + QLatin1Char('/') + file);
    if (!svg.exists())
        QSKIP(qPrintable(QStringLiteral("missing %1").arg(file)));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&svg);
    while (!xml.atEnd() && !(xml.isStartElement() && xml.name() == QLatin1String("svg")))
        xml.readNext();
    QVERIFY2(xml.isStartElement(), "no svg element");
    const QXmlStreamAttributes attributes = xml.attributes();
    QCOMPARE(attributes.value(QLatin1String("width")).toString(), width);
    QCOMPARE(attributes.value(QLatin1String("height")).toString(), height);
    if (!viewBox.isNull())
        QCOMPARE(attributes.value(QLatin1String("viewBox")).toString(), viewBox);

    // Only what Qt's SVG renderer draws: no filters, masks, clipping, style sheets, text or raster.
    static const QStringList unsupported{"filter", "mask",  "clipPath",      "style",
                                         "text",   "image", "foreignObject", "pattern"};
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement)
            QVERIFY2(!unsupported.contains(xml.name().toString()),
                     qPrintable(QStringLiteral("uses <%1>").arg(xml.name().toString())));
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
}

void ArtworkTest::rendersCleanly_data()
{
    QTest::addColumn<QString>("file");
    for (const Group& group : catalogue())
        for (const QString& file : group.files)
            QTest::addRow("%s", qPrintable(file)) << file;
}

void ArtworkTest::rendersCleanly()
{
    QFETCH(QString, file);
    const QString path = imagesDir() + QLatin1Char('/') + file;
    if (!QFile::exists(path))
        QSKIP(qPrintable(QStringLiteral("missing %1").arg(file)));
    g_warnings.clear();
    QSvgRenderer renderer(path);
    QVERIFY(renderer.isValid());
    const QSizeF size = renderer.viewBoxF().size().scaled(256, 256, Qt::KeepAspectRatio);
    const QImage image = render(path, size.toSize());
    QVERIFY2(g_warnings.isEmpty(), qPrintable(g_warnings.join(QLatin1String("; "))));
    QVERIFY2(!opaqueBox(image, 0).isNull(), "draws nothing");
}

// Lamp, pressed and moving layers hold only their part: the page stays transparent elsewhere.
void ArtworkTest::switchedLayerIsLocal_data()
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

void ArtworkTest::switchedLayerIsLocal()
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

void ArtworkTest::pressedButtonUnderPressArea_data()
{
    QTest::addColumn<QString>("layer");
    QTest::addColumn<QPointF>("centre");
    QTest::addColumn<double>("side");
    QTest::addRow("generic button") << "generic_button_pressed" << QPointF(0.235, 0.610) << 0.15;
    QTest::addRow("alarm button") << "alarm_button_alarm_pressed" << QPointF(0.577, 0.662) << 0.15;
    QTest::addRow("lock button") << "alarm_button_lock_pressed" << QPointF(0.780, 0.662) << 0.15;
}

void ArtworkTest::pressedButtonUnderPressArea()
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

void ArtworkTest::boardLedsAroundButton()
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
        QVERIFY2(!m_board.isNull() && alphaAt(m_board, int(it.value().x()), int(it.value().y())) == 255,
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
void ArtworkTest::lightsLampsAllVisible()
{
    const QStringList names{"daylight",      "upperbeamlight",  "lowerbeamlight", "foglight_right",
                            "foglight_left", "indicator_right", "indicator_left", "reverselight",
                            "brakelight",    "backlight"};
    for (const QString& name : names)
        if (!QFile::exists(modulePath(QLatin1String("lights_") + name)))
            QSKIP(qPrintable(QLatin1String("missing lights_") + name));
    QVERIFY(!m_board.isNull());
    QMap<QString, QImage> lamps;
    for (const QString& name : names)
        lamps[name] = renderModuleLayer(QLatin1String("lights_") + name);
    for (const QString& name : names) {
        QVERIFY2(overlap(lamps[name], 100, m_board, 128) == 0,
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
void ArtworkTest::layersAboveBoardKeepItVisible_data()
{
    QTest::addColumn<QString>("layer");
    for (const char* name :
         {"alarm", "alarm_light_alarm", "alarm_light_lock", "alarm_button_alarm_pressed",
          "alarm_button_lock_pressed", "windshield", "windshield_heater_light", "windshield_pump_light",
          "windshield_wiper_arm", "windshield_wiper_light_A", "windshield_wiper_light_B",
          "windshield_wiper_light_C", "windshield_wiper_light_D"})
        QTest::addRow("%s", name) << QString::fromLatin1(name);
}

void ArtworkTest::layersAboveBoardKeepItVisible()
{
    QFETCH(QString, layer);
    if (!QFile::exists(modulePath(layer)) || m_board.isNull())
        QSKIP("missing");
    QCOMPARE(overlap(renderModuleLayer(layer), 24, m_board, 128), 0);
}

// The arm is drawn at its park position (left of the pivot) and the view turns it clockwise
// about the pivot: from 0 to 90 degrees it must stay on the page, off the board, and over the glass.
void ArtworkTest::wiperArmSweepsGlass()
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
            QVERIFY2(m_board.isNull() || alphaAt(m_board, int(q.x()), int(q.y())) <= 128,
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

void ArtworkTest::sensorsUnderPressAreas()
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

void ArtworkTest::windshieldLampsClearOfPressAreas()
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

void ArtworkTest::cockpitDisplayArea()
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

void ArtworkTest::controlOverlays()
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
void ArtworkTest::infraredSceneObject()
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

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ArtworkTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_artwork.moc"
