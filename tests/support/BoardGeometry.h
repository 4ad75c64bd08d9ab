#pragma once

#include <QRectF>
#include <QSize>

// Where the board puts a module picture in the main window, from the board's layout rules: the
// board view is 95 % of the window's width and its full height; the frames are 442 wide, the frame
// in slot 1 centred in the view; each module picture is 5 % wider than its frame, overhangs it
// equally on both sides, keeps the picture's ratio of 1.318 and is centred vertically. panned is
// how far the user has moved the board sideways.
inline QRectF boardModulePlace(const QSize& window, int slot, qreal panned = 0)
{
    const qreal frameWidth = 442;
    const qreal viewWidth = 0.95 * window.width();
    const qreal boardX = viewWidth / 2 - 1.5 * frameWidth + panned;
    const qreal moduleWidth = 1.05 * frameWidth;
    const qreal moduleHeight = moduleWidth / 1.318;
    const qreal boardY = window.height() / 2.0 - moduleHeight / 2;
    return QRectF(boardX + slot * frameWidth - (moduleWidth - frameWidth) / 2, boardY, moduleWidth,
                  moduleHeight);
}
