#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QRect>

typedef struct _XDisplay Display;

// A connection to the X display of the test run that acts as a user at the screen: it finds a
// window by its title, moves, presses and releases the pointer through the XTest extension (real
// input events, delivered by the X server to whatever window lies under the pointer) and reads
// back what the screen shows.
class X11Session
{
public:
    X11Session();
    ~X11Session();
    X11Session(const X11Session&) = delete;
    X11Session& operator=(const X11Session&) = delete;

    bool isOpen() const { return m_display != nullptr; }
    bool hasXTest() const { return m_hasXTest; }

    // The top-level window with this title, in screen coordinates; empty when there is none or it
    // is not mapped.
    QRect windowGeometry(const QByteArray& title) const;

    void movePointer(const QPoint& screenPosition);
    void pressButton();
    void releaseButton();
    // Presses at from, moves in steps to to and releases there.
    void drag(const QPoint& from, const QPoint& to, int steps = 10);

    // Asks the window with this title for a new size, as a window manager would.
    bool resizeWindow(const QByteArray& title, const QSize& size);

    // The screen's pixels in area (screen coordinates).
    QImage grab(const QRect& area) const;

private:
    void flush();

    Display* m_display = nullptr;
    bool m_hasXTest = false;
};
