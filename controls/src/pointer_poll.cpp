#include "pointer_poll.h"

#include "forms/user_control.h"
#include "win/window.h"

namespace controls::detail {

bool PointerOutside(const forms::UserControl& control) {
  win::POINT p;
  win::GetCursorPos(&p);
  win::ScreenToClient(control.hWnd(), &p);
  const float left = control.ScaleLeft(), top = control.ScaleTop();
  return p.x < left || p.y < top || p.x > left + control.ScaleWidth() ||
         p.y > top + control.ScaleHeight();
}

bool InsideMove(const forms::UserControl& control, float x, float y) {
  return x >= 0 && x <= control.ScaleWidth() && y >= 0 && y <= control.ScaleHeight();
}

}  // namespace controls::detail
