#pragma once

// Where windows meet Qt: for the forms runtime, which builds its controls
// from Qt widgets.

#include "win/types.h"

#include <QRect>

class QWidget;

namespace win {

// The Qt widget that carries a window, or null.
QWidget* WindowWidget(HWND hwnd);
// The window a widget carries, or that of its nearest ancestor that has one.
HWND WidgetWindow(const QWidget* widget);
// The client area of the window a widget carries, in the widget's
// coordinates: the whole widget unless the window has a menu bar above it.
QRect WidgetClientArea(const QWidget* widget);
// Makes an existing Qt control a window of the given class: its events run
// down the window's procedure chain, and what the chain passes on to
// DefWindowProcA the control handles itself. The window ends with the widget.
HWND AttachWidget(QWidget* widget, const char* className, HWND parent);

}  // namespace win
