#pragma once

#include <QByteArray>

// Asks the top-level window with the given title to close, as a window manager's close button
// does (WM_DELETE_WINDOW). Returns false when there is no X display or no such window.
bool closeX11Window(const QByteArray& title);
