#pragma once

// The window subclassing service: one window procedure for every window it
// holds, the object that holds a window found through the window properties
// "SSC_OLDPROC" and "SSC_OBJADDR", and each message handed to the object's
// holders as an event that may answer it.

#include <optional>
#include <vector>

#include "event.h"
#include "win/win.h"

namespace ornatek {

inline constexpr const char* kOldProcProperty = "SSC_OLDPROC";
inline constexpr const char* kObjectProperty = "SSC_OBJADDR";
inline constexpr const char* kByMdiParentProperty = "SSC_BYMDIPARENT";

class cSubClass {
 public:
  // bHandled, lReturn (both written by the holder that answers), hwnd, uMsg, wParam, lParam.
  using SubClassEvent = Event<bool&, win::LRESULT&, win::HWND, win::UINT, win::WPARAM, win::LPARAM>;

  cSubClass();
  // Releases every window it still holds.
  ~cSubClass();
  cSubClass(const cSubClass&) = delete;
  cSubClass& operator=(const cSubClass&) = delete;

  bool SubClassHwnd(win::HWND hwnd, bool bSubClass);
  // The window's previous procedure's answer; nothing when the window has none.
  std::optional<win::LRESULT> CallOrigWndProc(win::HWND hwnd, win::UINT uMsg, win::WPARAM wParam,
                                              win::LPARAM lParam) const;
  bool IsWindowSubClassedByMe(win::HWND hwnd) const;
  int SubClassedWindowCount() const { return static_cast<int>(windows_.size()) - 1; }
  // Throws std::out_of_range outside 0 to SubClassedWindowCount().
  win::HWND SubClassedWindow(int position) const;

  SubClassEvent SubClass;

  // Raises SubClass for one message (the shared window procedure's step).
  win::LRESULT Raise(bool& handled, win::HWND hwnd, win::UINT uMsg, win::WPARAM wParam,
                     win::LPARAM lParam);
  // The window died: forget it without touching its chain.
  void Forget(win::HWND hwnd);

 private:
  int Position(win::HWND hwnd) const;
  void Drop(win::HWND hwnd);

  std::vector<win::HWND> windows_;  // position 0 unused; a 0 handle is a free slot
};

// The one window procedure of every subclassed window.
win::LRESULT SubClassWndProc(win::HWND hwnd, win::UINT uMsg, win::WPARAM wParam,
                             win::LPARAM lParam);

}  // namespace ornatek
