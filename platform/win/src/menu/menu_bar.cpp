// A window's menu bar.

#include "core/window_table.h"
#include "menu/menu_table.h"

namespace win {

BOOL DrawMenuBar(HWND hwnd) {
  detail::Window* w = detail::Find(hwnd);
  if (!w || (w->style & WS_CHILD)) return FALSE;
  if (w->widget) w->widget->update();
  return TRUE;
}

}  // namespace win
