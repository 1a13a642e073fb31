#pragma once

// Where windows meet Qt: for the forms runtime, which builds its controls
// from Qt widgets.

#include "win/types.h"

class QWidget;

namespace win {

// The Qt widget that carries a window, or null.
QWidget* WindowWidget(HWND hwnd);
// The window a widget carries, or that of its nearest ancestor that has one.
HWND WidgetWindow(const QWidget* widget);
// Makes an existing Qt control a window of the given class: its events run
// down the window's procedure chain, and what the chain passes on to
// DefWindowProcA the control handles itself. The window ends with the widget.
HWND AttachWidget(QWidget* widget, const char* className, HWND parent);

}  // namespace win
