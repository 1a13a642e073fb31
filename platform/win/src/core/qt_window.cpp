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

QRect WidgetClientArea(const QWidget* widget) {
  if (!widget) return QRect();
  detail::Window* w = detail::Find(detail::FromWidget(widget));
  if (!w || w->widget != widget) return widget->rect();
  return detail::ClientArea(*w);
}

HWND AttachWidget(QWidget* widget, const char* className, HWND parent) {
  return detail::AttachWidget(widget, className, parent);
}

}  // namespace win
