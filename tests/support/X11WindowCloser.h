#pragma once

#include <QByteArray>

typedef struct _XDisplay Display;

// The top-level window with the given title below `window` (searched depth first), or 0. With
// `mappedOnly`, a window that is not shown does not count.
unsigned long findX11Window(Display* display, unsigned long window, const QByteArray& title, bool mappedOnly);

// Whether a window with the given title is shown (mapped) on the X display.
bool isX11WindowShown(const QByteArray& title);

// Asks the top-level window with the given title to close, as a window manager's close button
// does (WM_DELETE_WINDOW). Returns false when there is no X display or no such window.
bool closeX11Window(const QByteArray& title);
