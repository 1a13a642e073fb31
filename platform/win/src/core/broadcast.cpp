// Messages about changes of the whole system, to every top-level window.

#include <QApplication>
#include <QEvent>

#include "core/window_table.h"

namespace win::detail {

namespace {

// The desktop's colours or fonts changed under the application.
class SystemWatcher : public QObject {
 public:
  bool eventFilter(QObject* target, QEvent* e) override {
    if (target != qApp) return false;
    constexpr WPARAM kNonClientMetrics = 0x002A;
    if (e->type() == QEvent::ApplicationPaletteChange) {
      SendToTopLevels(WM_SYSCOLORCHANGE, 0, 0);
      SendToTopLevels(WM_SETTINGCHANGE, 0, 0);
    } else if (e->type() == QEvent::ApplicationFontChange) {
      SendToTopLevels(WM_SETTINGCHANGE, kNonClientMetrics, 0);
    }
    return false;
  }
};

}  // namespace

void SendToTopLevels(UINT msg, WPARAM wParam, LPARAM lParam) {
  for (HWND h : AllWindows()) {
    Window* w = Find(h);
    if (w && !w->destroying && !w->parent && w->kind == WidgetKind::Host)
      SendMessageA(h, msg, wParam, lParam);
  }
}

void WatchSystemChanges() {
  static SystemWatcher* watcher = nullptr;
  if (watcher || !qApp) return;
  watcher = new SystemWatcher;
  watcher->setParent(qApp);
  qApp->installEventFilter(watcher);
}

}  // namespace win::detail
