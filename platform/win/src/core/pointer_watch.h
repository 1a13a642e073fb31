#pragma once

// Where the pointer is, answered without asking the display when the events
// already delivered say so. Only the window system's sources include this.

#include <QPoint>
#include <optional>

namespace win::detail {

// The pointer's screen position as the last pointer event over one of the
// program's own windows gave it, while that event still tells where the
// pointer is: the pointer has not left that window since, and the window is
// still shown and still holds that point. Otherwise nothing, and the caller
// asks the display. Only on X, where the events come from the server itself.
std::optional<QPoint> PointerFromEvents();

// The pointer was moved by the program: the next answer comes from the display.
void ForgetPointer();

}  // namespace win::detail
