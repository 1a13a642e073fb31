#pragma once

// Plain windows for the tests: a host class whose procedure logs what reaches
// it, and the popup-menu class "#32768" (the layer's own when it has one).

#include <string>
#include <vector>

#include "win/win.h"

namespace ornatektest {

struct ProcLog {
  std::vector<win::UINT> seen;
  bool saw(win::UINT msg) const {
    for (auto m : seen)
      if (m == msg) return true;
    return false;
  }
};
ProcLog& BaseLog();

inline win::LRESULT BaseProc(win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l) {
  BaseLog().seen.push_back(m);
  if (m == win::WM_USER + 1) return 100;
  return win::DefWindowProcA(h, m, w, l);
}

inline ProcLog& BaseLog() {
  static ProcLog log;
  return log;
}

inline void RegisterOnce(const char* name, win::UINT style) {
  win::WNDCLASSEXA existing;
  if (win::GetClassInfoExA(win::HINSTANCE(), name, &existing)) return;
  win::WNDCLASSEXA wc;
  wc.style = style;
  wc.lpfnWndProc = BaseProc;
  wc.lpszClassName = name;
  win::RegisterClassExA(&wc);
}

inline win::HWND MakeHost(win::HWND owner = win::HWND()) {
  RegisterOnce("OrnatekTestHost", 0);
  return win::CreateWindowExA(0, "OrnatekTestHost", "host", win::WS_POPUP, 40, 40, 200, 120, owner,
                              win::HMENU(), win::HINSTANCE(), nullptr);
}

inline win::HWND MakePopup(win::HWND owner, int x = 300, int y = 200, int w = 80, int h = 60) {
  RegisterOnce("#32768", win::CS_DROPSHADOW | win::CS_SAVEBITS);
  return win::CreateWindowExA(
      win::WS_EX_DLGMODALFRAME | win::WS_EX_WINDOWEDGE | win::WS_EX_TOOLWINDOW, "#32768", "",
      win::WS_POPUP | win::WS_BORDER, x, y, w, h, owner, win::HMENU(), win::HINSTANCE(), nullptr);
}

}  // namespace ornatektest
