#include "modulestacks.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>

namespace {

StackLayer always(const QString& file, int z)
{
    return {file, z, StackLayer::Kind::Always};
}
StackLayer switched(const QString& file, int z)
{
    return {file, z, StackLayer::Kind::Switched};
}

QVector<StackLayer> genericLayers()
{
    return {always("zuv-modules_generic.svg", 0),
            always("zuv-modules_generic_discovery_board.svg", 1),
            switched("zuv-modules_generic_button_pressed.svg", 2),
            switched("zuv-modules_generic_light_left.svg", 2),
            switched("zuv-modules_generic_light_up.svg", 2),
            switched("zuv-modules_generic_light_right.svg", 2),
            switched("zuv-modules_generic_light_down.svg", 2)};
}

const PressArea kGenericButton{{0.235, 0.610}, 0.15};

} // namespace

QVector<ModuleView> moduleViews()
{
    QVector<ModuleView> views;

    ModuleView generic{QStringLiteral("generic board"), genericLayers(), {kGenericButton}};
    views.append(generic);

    ModuleView lights{QStringLiteral("lights"), genericLayers(), {kGenericButton}};
    lights.layers.append(always("zuv-modules_lights.svg", 0));
    for (const char* lamp :
         {"daylight", "upperbeamlight", "lowerbeamlight", "foglight_right", "foglight_left",
          "indicator_right", "indicator_left", "reverselight", "brakelight", "backlight"})
        lights.layers.append(
            switched(QStringLiteral("zuv-modules_lights_%1.svg").arg(QLatin1String(lamp)), 0));
    views.append(lights);

    ModuleView alarm{QStringLiteral("alarm"),
                     genericLayers(),
                     {kGenericButton, {{0.577, 0.662}, 0.15}, {{0.780, 0.662}, 0.15}}};
    alarm.layers.append(always("zuv-modules_alarm.svg", 1));
    alarm.layers.append(switched("zuv-modules_alarm_light_alarm.svg", 2));
    alarm.layers.append(switched("zuv-modules_alarm_light_lock.svg", 2));
    alarm.layers.append(switched("zuv-modules_alarm_button_alarm_pressed.svg", 2));
    alarm.layers.append(switched("zuv-modules_alarm_button_lock_pressed.svg", 2));
    views.append(alarm);

    ModuleView windshield{QStringLiteral("windshield"),
                          genericLayers(),
                          {kGenericButton, {{0.687, 0.631}, 0.25}, {{0.854, 0.813}, 0.05}}};
    windshield.hasWiperArm = true;
    windshield.layers.append(always("zuv-modules_windshield.svg", 1));
    windshield.layers.append(switched("zuv-modules_windshield_heater_light.svg", 2));
    windshield.layers.append(switched("zuv-modules_windshield_pump_light.svg", 2));
    windshield.layers.append(
        {QStringLiteral("zuv-modules_windshield_wiper_arm.svg"), 2, StackLayer::Kind::Arm});
    for (const char* phase : {"A", "B", "C", "D"})
        windshield.layers.append(switched(
            QStringLiteral("zuv-modules_windshield_wiper_light_%1.svg").arg(QLatin1String(phase)), 2));
    views.append(windshield);

    // The cockpit hides the board, its button and its LEDs for good.
    ModuleView cockpit{QStringLiteral("cockpit"),
                       {always("zuv-modules_generic.svg", 0), always("zuv-modules_cockpit.svg", 0)},
                       {}};
    cockpit.hasDisplay = true;
    views.append(cockpit);
    return views;
}

QImage renderStack(const QString& layersDir, const ModuleView& view, int width, const StackOptions& options,
                   QStringList* problems)
{
    const int height = qRound(width / kModuleScaleFactor);
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);

    QVector<StackLayer> layers = view.layers;
    std::stable_sort(layers.begin(), layers.end(),
                     [](const StackLayer& a, const StackLayer& b) { return a.z < b.z; });

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const StackLayer& layer : layers) {
        if (layer.kind == StackLayer::Kind::Switched && !options.switchedOn)
            continue;
        const QString path = QDir(layersDir).filePath(layer.file);
        if (!QFileInfo::exists(path)) {
            problems->append(QStringLiteral("missing: %1").arg(layer.file));
            continue;
        }
        QSvgRenderer renderer(path);
        if (!renderer.isValid()) {
            problems->append(QStringLiteral("invalid: %1").arg(layer.file));
            continue;
        }
        // Each layer is rasterised at the view's size first, as the view does, then placed.
        QImage layerImage(width, height, QImage::Format_ARGB32_Premultiplied);
        layerImage.fill(Qt::transparent);
        {
            QPainter layerPainter(&layerImage);
            layerPainter.setRenderHint(QPainter::Antialiasing);
            renderer.render(&layerPainter, QRectF(0, 0, width, height));
        }
        painter.save();
        if (layer.kind == StackLayer::Kind::Arm) {
            const QPointF pivot(kPivotX * width, kPivotY * height);
            painter.translate(pivot);
            painter.rotate(options.armAngle);
            painter.translate(-pivot);
        }
        painter.drawImage(0, 0, layerImage);
        painter.restore();
    }

    if (options.markAreas) {
        QPen pen(QColor(255, 0, 255), 1.5);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        for (const PressArea& area : view.pressAreas) {
            const double side = area.side * width;
            const QPointF c(area.centre.x() * width, area.centre.y() * height);
            painter.drawRect(QRectF(c.x() - side / 2, c.y() - side / 2, side, side));
            painter.drawLine(c + QPointF(-4, 0), c + QPointF(4, 0));
            painter.drawLine(c + QPointF(0, -4), c + QPointF(0, 4));
        }
        if (view.hasWiperArm) {
            const QPointF pivot(kPivotX * width, kPivotY * height);
            painter.setPen(QPen(QColor(0, 255, 255), 1.5));
            painter.drawEllipse(pivot, 4, 4);
        }
        if (view.hasDisplay) {
            // 0.8 of the width, 480:800, centred, shifted right by 0.0175 of its own width
            const double w = 0.8 * width;
            const double h = w * 480.0 / 800.0;
            painter.setPen(QPen(QColor(255, 255, 0), 1.5));
            painter.drawRect(QRectF((width - w) / 2 + 0.0175 * w, (height - h) / 2, w, h));
        }
    }
    return image;
}

QImage renderInfraredScene(const QString& layersDir, int width, double distance, QStringList* problems)
{
    const int height = width / 2;
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double leftLimit = -0.5925 * width;
    const double x = leftLimit * (1.0 - distance / 0.5);
    const QStringList files{QStringLiteral("ir_distance_sensor_background.svg"),
                            QStringLiteral("ir_distance_sensor_object.svg")};
    for (int i = 0; i < files.size(); ++i) {
        QSvgRenderer renderer(QDir(layersDir).filePath(files[i]));
        if (!renderer.isValid()) {
            problems->append(QStringLiteral("missing or invalid: %1").arg(files[i]));
            continue;
        }
        renderer.render(&painter, QRectF(i == 1 ? x : 0.0, 0, width, height));
    }
    // the ray: from the lens to the drag handle's left edge (0.755 of the width, moved with the object)
    const double c = height / 2.0 - 0.06 * height;
    const double e = 0.755 * width + x;
    QPolygonF ray;
    ray << QPointF(0.09 * width, c) << QPointF(e, c + 0.1 * e) << QPointF(e, c - 0.1 * e);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xff, 0x00, 0x00, 0x80));
    painter.drawPolygon(ray);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(4, height - 10), QStringLiteral("%1 m").arg(distance, 0, 'f', 2));
    return image;
}
