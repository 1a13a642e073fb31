#pragma once

// Drives an open popup menu from a test: the steps run one at a time each
// time the menu waits for input (after it opens and after each input), with
// the menu's window, and must give it input; once they are used up the menu
// closes without a command. Header-only, so that only tests that open menus
// need the window system.

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <deque>
#include <functional>
#include <string>

#include "win/qt_window.h"
#include "win/win.h"

namespace testsupport {

class MenuDriver {
 public:
  using Step = std::function<void(win::HWND popup)>;
  explicit MenuDriver(std::deque<Step> steps) {
    Steps() = std::move(steps);
    Opened() = false;
    Hook() = win::SetWindowsHookExA(win::WH_CALLWNDPROC, &Idle, win::HINSTANCE{},
                                    win::GetCurrentThreadId());
  }
  ~MenuDriver() {
    win::UnhookWindowsHookEx(Hook());
    Steps().clear();
  }
  MenuDriver(const MenuDriver&) = delete;
  MenuDriver& operator=(const MenuDriver&) = delete;
  // Whether every step ran, and whether a menu opened at all.
  bool Done() const { return Steps().empty(); }
  bool MenuOpened() const { return Opened(); }

  // Presses a key in the open menu.
  static void Key(win::HWND popup, int key, const QString& text = {}) {
    QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(win::WindowWidget(popup), &e);
  }

 private:
  static std::deque<Step>& Steps() {
    static std::deque<Step> steps;
    return steps;
  }
  static win::HHOOK& Hook() {
    static win::HHOOK hook;
    return hook;
  }
  static bool& Opened() {
    static bool opened = false;
    return opened;
  }
  static win::LRESULT Idle(int code, win::WPARAM w, win::LPARAM l) {
    const auto* cwp = reinterpret_cast<const win::CWPSTRUCT*>(l);
    if (code == win::HC_ACTION && cwp->message == win::WM_ENTERIDLE) {
      const win::HWND popup(static_cast<std::uintptr_t>(cwp->lParam));
      Opened() = true;
      if (Steps().empty()) {
        win::EndMenu();
      } else {
        Step step = std::move(Steps().front());
        Steps().pop_front();
        step(popup);
      }
    }
    return win::CallNextHookEx(Hook(), code, w, l);
  }
};

// The text of a menu's item at a position, as the menu keeps it.
inline std::string MenuItemText(win::HMENU menu, int pos) {
  char buf[128] = {};
  win::MENUITEMINFOA mii;
  mii.fMask = win::MIIM_STRING;
  mii.dwTypeData = buf;
  mii.cch = sizeof buf;
  win::GetMenuItemInfoA(menu, static_cast<win::UINT>(pos), win::TRUE, &mii);
  return buf;
}

}  // namespace testsupport
