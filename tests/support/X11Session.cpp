#include "X11Session.h"
#include "X11WindowCloser.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <QThread>

X11Session::X11Session() : m_display(XOpenDisplay(nullptr))
{
    if (!m_display)
        return;
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    m_hasXTest = XTestQueryExtension(m_display, &eventBase, &errorBase, &major, &minor);
}

X11Session::~X11Session()
{
    if (m_display)
        XCloseDisplay(m_display);
}

QRect X11Session::windowGeometry(const QByteArray& title) const
{
    if (!m_display)
        return {};
    const Window root = DefaultRootWindow(m_display);
    const Window window = findX11Window(m_display, root, title, true);
    if (!window)
        return {};
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(m_display, window, &attributes))
        return {};
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(m_display, window, root, 0, 0, &x, &y, &child);
    return QRect(x, y, attributes.width, attributes.height);
}

bool X11Session::resizeWindow(const QByteArray& title, const QSize& size)
{
    if (!m_display)
        return false;
    const Window window = findX11Window(m_display, DefaultRootWindow(m_display), title, true);
    if (!window)
        return false;
    XResizeWindow(m_display, window, static_cast<unsigned>(size.width()),
                  static_cast<unsigned>(size.height()));
    flush();
    return true;
}

void X11Session::flush()
{
    XSync(m_display, False);
    // Give the X server and the program a moment to deliver and handle the event.
    QThread::msleep(20);
}

void X11Session::movePointer(const QPoint& screenPosition)
{
    if (!m_hasXTest)
        return;
    XTestFakeMotionEvent(m_display, -1, screenPosition.x(), screenPosition.y(), CurrentTime);
    flush();
}

void X11Session::pressButton()
{
    if (!m_hasXTest)
        return;
    XTestFakeButtonEvent(m_display, Button1, True, CurrentTime);
    flush();
}

void X11Session::releaseButton()
{
    if (!m_hasXTest)
        return;
    XTestFakeButtonEvent(m_display, Button1, False, CurrentTime);
    flush();
}

void X11Session::drag(const QPoint& from, const QPoint& to, int steps)
{
    movePointer(from);
    pressButton();
    for (int i = 1; i <= steps; ++i)
        movePointer(from + (to - from) * i / steps);
    releaseButton();
}

QImage X11Session::grab(const QRect& area) const
{
    if (!m_display || area.isEmpty())
        return {};
    XImage* image = XGetImage(m_display, DefaultRootWindow(m_display), area.x(), area.y(),
                              static_cast<unsigned>(area.width()), static_cast<unsigned>(area.height()),
                              AllPlanes, ZPixmap);
    if (!image)
        return {};
    QImage result(area.size(), QImage::Format_RGB32);
    for (int y = 0; y < area.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < area.width(); ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            line[x] = qRgb(static_cast<int>((pixel & image->red_mask) >> 16),
                           static_cast<int>((pixel & image->green_mask) >> 8),
                           static_cast<int>(pixel & image->blue_mask));
        }
    }
    XDestroyImage(image);
    return result;
}
