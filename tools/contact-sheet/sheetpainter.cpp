#include "sheetpainter.h"

#include <QFontMetrics>
#include <QSvgRenderer>

#include <algorithm>

void fillChecker(QPainter& painter, const QRectF& rect, int cell)
{
    painter.save();
    painter.setClipRect(rect);
    painter.fillRect(rect, QColor(0xf2, 0xf2, 0xf2));
    const QColor dark(0xc8, 0xc8, 0xc8);
    for (int y = 0; y * cell < rect.height(); ++y)
        for (int x = (y % 2); x * cell < rect.width(); x += 2)
            painter.fillRect(QRectF(rect.x() + x * cell, rect.y() + y * cell, cell, cell), dark);
    painter.restore();
}

QImage renderFitted(const QString& path, const QSize& box, QString* error)
{
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) {
        *error = QStringLiteral("cannot be drawn");
        return {};
    }
    QSizeF natural = renderer.viewBoxF().size();
    if (natural.isEmpty())
        natural = renderer.defaultSize();
    if (natural.isEmpty()) {
        *error = QStringLiteral("has no size");
        return {};
    }
    const QSizeF fitted = natural.scaled(box, Qt::KeepAspectRatio);
    QImage image(box, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF((box.width() - fitted.width()) / 2, (box.height() - fitted.height()) / 2,
                                     fitted.width(), fitted.height()));
    return image;
}

void drawCaption(QPainter& painter, const QRectF& rect, const QString& text, const QColor& colour,
                 int pixelSize)
{
    painter.save();
    QFont font = painter.font();
    font.setPixelSize(pixelSize);
    painter.setFont(font);
    painter.setPen(colour);
    const QFontMetrics metrics(font);
    painter.drawText(rect, Qt::AlignHCenter | Qt::AlignTop,
                     metrics.elidedText(text, Qt::ElideMiddle, int(rect.width())));
    painter.restore();
}

QImage composeGrid(const QString& title, const QVector<SheetCell>& cells, int columns, int captionHeight)
{
    columns = std::max(1, std::min(columns, int(cells.size())));
    const int margin = 16;
    const int titleHeight = 30;
    int cellWidth = 0;
    int cellHeight = 0;
    for (const SheetCell& cell : cells) {
        cellWidth = std::max(cellWidth, cell.image.width());
        cellHeight = std::max(cellHeight, cell.image.height());
    }
    const int rows = (cells.size() + columns - 1) / columns;
    const int width = margin + columns * (cellWidth + margin);
    const int height = titleHeight + margin + rows * (cellHeight + captionHeight + margin);
    QImage sheet(width, height, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(kDarkBackground);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    drawCaption(painter, QRectF(0, 8, width, titleHeight), title, Qt::white, 16);
    for (int i = 0; i < cells.size(); ++i) {
        const int x = margin + (i % columns) * (cellWidth + margin);
        const int y = titleHeight + margin + (i / columns) * (cellHeight + captionHeight + margin);
        painter.drawImage(x, y, cells[i].image);
        drawCaption(painter, QRectF(x, y + cells[i].image.height() + 4, cellWidth, captionHeight),
                    cells[i].caption, QColor(0xdd, 0xdd, 0xdd));
    }
    return sheet;
}
