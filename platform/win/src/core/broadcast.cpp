// Messages about changes of the whole system, to every top-level window.

#include "core/window_table.h"

namespace win::detail {

void SendToTopLevels(UINT msg, WPARAM wParam, LPARAM lParam) {
  for (HWND h : AllWindows()) {
    Window* w = Find(h);
    if (w && !w->destroying && !w->parent && w->kind == WidgetKind::Host)
      SendMessageA(h, msg, wParam, lParam);
  }
}

}  // namespace win::detail
