#include "win/qt_window.h"

#include "core/window_table.h"

namespace win {

QWidget* WindowWidget(HWND hwnd) {
  detail::Window* w = detail::Find(hwnd);
  return w && !w->destroying ? w->widget.data() : nullptr;
}

HWND WidgetWindow(const QWidget* widget) {
  return detail::FromWidget(widget);
}

HWND AttachWidget(QWidget* widget, const char* className, HWND parent) {
  return detail::AttachWidget(widget, className, parent);
}

}  // namespace win
