#include "X11WindowCloser.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

// A window's title: its UTF-8 name where it has one (any title beyond Latin-1), else its plain name.
QByteArray titleOf(Display* display, unsigned long window, bool& has)
{
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    const Atom utf8Name = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    if (XGetWindowProperty(display, window, utf8Name, 0, 1024, False, utf8, &type, &format, &items, &after,
                           &data) == Success &&
        data && type == utf8) {
        const QByteArray title(reinterpret_cast<const char*>(data), int(items));
        XFree(data);
        has = true;
        return title;
    }
    if (data)
        XFree(data);
    char* name = nullptr;
    has = XFetchName(display, window, &name) && name;
    const QByteArray title = has ? QByteArray(name) : QByteArray();
    if (name)
        XFree(name);
    return title;
}

} // namespace

unsigned long findX11Window(Display* display, unsigned long window, const QByteArray& title, bool mappedOnly)
{
    bool named = false;
    const QByteArray name = titleOf(display, window, named);
    if (named) {
        const bool match = title == name;
        XWindowAttributes attributes;
        if (match && (!mappedOnly || (XGetWindowAttributes(display, window, &attributes) &&
                                      attributes.map_state == IsViewable)))
            return window;
    }
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    unsigned long found = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count && !found; ++i)
            found = findX11Window(display, children[i], title, mappedOnly);
        if (children)
            XFree(children);
    }
    return found;
}

bool isX11WindowShown(const QByteArray& title)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    const bool shown = findX11Window(display, DefaultRootWindow(display), title, true) != 0;
    XCloseDisplay(display);
    return shown;
}

bool closeX11Window(const QByteArray& title)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    const Window window = findX11Window(display, DefaultRootWindow(display), title, false);
    if (window) {
        XEvent event = {};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, window, False, NoEventMask, &event);
        XFlush(display);
    }
    XCloseDisplay(display);
    return window != 0;
}
