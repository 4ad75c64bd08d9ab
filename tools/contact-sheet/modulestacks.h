#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVector>

// The layer stacks of the module views, as the views build them: every layer covers the
// whole module page; layers are ordered by z, and by the order in which they were added
// where z is equal.
struct StackLayer
{
    enum class Kind
    {
        Always,
        Switched,
        Arm
    };
    QString file; // below images/svg-multilayer-extracted/
    int z = 0;
    Kind kind = Kind::Always;
};

struct PressArea
{
    QPointF centre;    // fractions of the view's width and height
    double side = 0.0; // fraction of the view's width
};

struct ModuleView
{
    QString name;
    QVector<StackLayer> layers;
    QVector<PressArea> pressAreas;
    bool hasWiperArm = false;
    bool hasDisplay = false;
};

// Wiper pivot and cockpit display area, fractions of the module view.
constexpr double kPivotX = 0.5866666666666667;
constexpr double kPivotY = 0.35146666666666665;
constexpr double kModuleScaleFactor = 1.318;

QVector<ModuleView> moduleViews();

struct StackOptions
{
    bool switchedOn = false; // lamps lit and buttons pressed
    double armAngle = 0.0;   // degrees, positive clockwise
    bool markAreas = false;  // outline press areas, pivot and display area (debug)
};

// Renders one module view at the given width (height = width / 1.318) on a transparent
// image. Missing or invalid layer files are appended to `problems`.
QImage renderStack(const QString& layersDir, const ModuleView& view, int width, const StackOptions& options,
                   QStringList* problems);

// The infrared sensor submodule's scene at `width` x width / 2: background, the object
// layer shifted for `distance` (0 to 0.5 m; 0.5 m is the layer at x 0, 0 m at -0.5925 of the
// width) and the ray from the lens to the object's drag handle, as the submodule draws it.
QImage renderInfraredScene(const QString& layersDir, int width, double distance, QStringList* problems);
