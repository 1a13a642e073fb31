#pragma once

// Where the pointer is, answered without asking the display when the events
// already delivered say so. Only the window system's sources include this.

#include <QPoint>
#include <optional>

namespace win::detail {

// The pointer's screen position when the events delivered since say where it
// is: the last pointer event over one of the program's own windows, while the
// pointer has not left that window, the window is still shown and still holds
// that point; or else the display's last answer, while the server has reported
// no pointer motion since. Otherwise nothing, and the caller asks the display.
// Only on X, where the events come from the server itself.
std::optional<QPoint> PointerFromEvents();

// The display's answer to a question about the pointer: it holds until the
// pointer moves.
void RememberPointer(QPoint at);

// The pointer was moved by the program: the next answer comes from the display.
void ForgetPointer();

}  // namespace win::detail
