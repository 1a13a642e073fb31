// The input filter of an open menu: keys and pointer events of the whole
// application, turned into the popups' and the bar's messages.

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include "core/window_table.h"
#include "menu/menu_bar.h"
#include "menu/menu_tracking.h"
#include "win/keys.h"

namespace win::detail::tracking {

namespace {

// The keys an open menu acts on; every other key reaches it as the
// character it types.
int MenuKey(const QKeyEvent& e) {
  switch (const int vk = VirtualKeyOf(e)) {
    case VK_DOWN:
    case VK_UP:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_ESCAPE:
    case VK_RETURN:
    case VK_MENU:
    case VK_F10:
      return vk;
    default:
      return 0;
  }
}

}  // namespace

bool MenuInput::eventFilter(QObject* target, QEvent* e) {
  if (!t_track || t_track->done) return false;
  switch (e->type()) {
    case QEvent::KeyPress: {
      auto* ke = static_cast<QKeyEvent*>(e);
      t_track->idleSent = false;
      if (t_track->bar) {
        const int vk = MenuKey(*ke);
        if (vk == VK_MENU || vk == VK_F10) {
          Finish(0);
          return true;
        }
        if (t_track->levels.empty()) {
          BarKey(vk, ke->text().isEmpty() ? 0 : ke->text().toUcs4().value(0));
          return true;
        }
      }
      const HWND deepest = t_track->levels.back().window;
      if (const int vk = MenuKey(*ke)) {
        Dispatch(deepest, WM_KEYDOWN, static_cast<WPARAM>(vk), 1);
      } else if (!ke->text().isEmpty()) {
        Dispatch(deepest, WM_CHAR, ke->text().toUcs4().value(0), 1);
      }
      return true;
    }
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
      return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
      if (!qobject_cast<QWidget*>(target)) return false;
      auto* me = static_cast<QMouseEvent*>(e);
      t_track->idleSent = false;
      const QPoint global = me->globalPosition().toPoint();
      const HWND popup = PopupAt(global);
      if (!popup && t_track->bar) {
        const int item = BarItemAt(t_track->owner, global);
        if (item >= 0) {
          BarPointer(e->type(), item);
          return true;
        }
        if (item == -1 && e->type() != QEvent::MouseButtonPress) return true;
      }
      if (!popup) {
        if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick)
          Finish(0);
        return true;
      }
      POINT p{global.x(), global.y()};
      ScreenToClient(popup, &p);
      const bool right = me->button() == Qt::RightButton;
      UINT msg = WM_MOUSEMOVE;
      if (e->type() == QEvent::MouseButtonRelease)
        msg = right ? WM_RBUTTONUP : WM_LBUTTONUP;
      else if (e->type() != QEvent::MouseMove)
        msg = right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN;
      Dispatch(popup, msg, 0, MAKELPARAM(p.x, p.y));
      return true;
    }
    default:
      return false;
  }
}

}  // namespace win::detail::tracking
