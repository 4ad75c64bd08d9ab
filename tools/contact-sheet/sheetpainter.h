#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVector>

// Drawing helpers for the sheets: backgrounds that make transparency visible, captions,
// and SVG pictures fitted into a box with their aspect ratio kept.

inline const QColor kDarkBackground{0x21, 0x21, 0x21};

void fillChecker(QPainter& painter, const QRectF& rect, int cell = 8);

// Renders the SVG file at `path` centred in a box of `box` pixels, keeping its aspect
// ratio. Returns a null image and sets `error` when the file cannot be drawn.
QImage renderFitted(const QString& path, const QSize& box, QString* error);

void drawCaption(QPainter& painter, const QRectF& rect, const QString& text, const QColor& colour,
                 int pixelSize = 11);

// One captioned cell of a grid sheet.
struct SheetCell
{
    QString caption;
    QImage image;
};

// Lays `cells` out in rows of `columns` on a dark page, each image above its caption.
QImage composeGrid(const QString& title, const QVector<SheetCell>& cells, int columns,
                   int captionHeight = 22);
