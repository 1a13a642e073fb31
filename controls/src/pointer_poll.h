#pragma once

namespace forms {
class UserControl;
}

namespace controls::detail {

// True when the pointer lies outside the control: its screen position, in
// the client coordinates of the control's own window, is left of or above the
// scale origin, or beyond the scale width or height. A point on the right or
// bottom edge still counts as inside.
bool PointerOutside(const forms::UserControl& control);

// The inside test of a mouse move, in the event's own coordinates.
bool InsideMove(const forms::UserControl& control, float x, float y);

}  // namespace controls::detail
