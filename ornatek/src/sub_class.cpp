#include "sub_class.h"

#include <stdexcept>

#include "module_state.h"

namespace ornatek {

using namespace win;

namespace {

WNDPROC OldProc(HWND hwnd) {
  return reinterpret_cast<WNDPROC>(GetPropA(hwnd, kOldProcProperty));
}

cSubClass* Holder(HWND hwnd) {
  return reinterpret_cast<cSubClass*>(GetPropA(hwnd, kObjectProperty));
}

void RemoveProperties(HWND hwnd) {
  RemovePropA(hwnd, kOldProcProperty);
  RemovePropA(hwnd, kObjectProperty);
}

bool Dying(UINT uMsg) {
  return uMsg == WM_DESTROY || uMsg == WM_NCDESTROY;
}

}  // namespace

cSubClass::cSubClass() : windows_(1) {}

cSubClass::~cSubClass() {
  for (int i = SubClassedWindowCount(); i >= 1; --i)
    if (i < static_cast<int>(windows_.size()) && windows_[static_cast<std::size_t>(i)])
      SubClassHwnd(windows_[static_cast<std::size_t>(i)], false);
}

int cSubClass::Position(HWND hwnd) const {
  if (!hwnd) return 0;
  for (std::size_t i = 1; i < windows_.size(); ++i)
    if (windows_[i] == hwnd) return static_cast<int>(i);
  return 0;
}

void cSubClass::Drop(HWND hwnd) {
  if (const int p = Position(hwnd)) windows_.erase(windows_.begin() + p);
}

bool cSubClass::SubClassHwnd(HWND hwnd, bool bSubClass) {
  auto& passThrough = Module().PassThrough;
  if (bSubClass) {
    if (!IsWindow(hwnd)) {
      RemoveProperties(hwnd);
      Drop(hwnd);
      return false;
    }
    // A window never gets subclassed twice, nor again while a later
    // subclasser still calls our procedure from an earlier hold: that
    // procedure would then find itself in its own chain.
    if (OldProc(hwnd) || passThrough.contains(hwnd)) return false;
    const LONG_PTR previous =
        SetWindowLongPtrA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&SubClassWndProc));
    if (!previous) return false;
    SetPropA(hwnd, kOldProcProperty, static_cast<std::uintptr_t>(previous));
    SetPropA(hwnd, kObjectProperty, reinterpret_cast<std::uintptr_t>(this));
    if (Position(hwnd)) return true;
    for (std::size_t i = 1; i < windows_.size(); ++i)
      if (!windows_[i]) {
        windows_[i] = hwnd;
        return true;
      }
    windows_.push_back(hwnd);
    return true;
  }

  bool restored = false;
  const WNDPROC old = OldProc(hwnd);
  if (old) {
    const bool chainEndsHere = IsWindow(hwnd) && GetWindowLongPtrA(hwnd, GWL_WNDPROC) ==
                                                     reinterpret_cast<LONG_PTR>(&SubClassWndProc);
    if (chainEndsHere) {
      restored = SetWindowLongPtrA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(old)) != 0;
    } else {
      // Someone subclassed the window after us (or it is being destroyed):
      // unhooking now would cut them off. We stop answering and pass every
      // message on to the procedure we had replaced.
      passThrough[hwnd] = old;
    }
  }
  RemoveProperties(hwnd);
  Drop(hwnd);
  return restored;
}

void cSubClass::Forget(HWND hwnd) {
  RemoveProperties(hwnd);
  Drop(hwnd);
}

std::optional<LRESULT> cSubClass::CallOrigWndProc(HWND hwnd, UINT uMsg, WPARAM wParam,
                                                  LPARAM lParam) const {
  const WNDPROC old = OldProc(hwnd);
  if (!old) return std::nullopt;
  return CallWindowProcA(old, hwnd, uMsg, wParam, lParam);
}

bool cSubClass::IsWindowSubClassedByMe(HWND hwnd) const {
  return Position(hwnd) != 0;
}

HWND cSubClass::SubClassedWindow(int position) const {
  if (position < 0 || position >= static_cast<int>(windows_.size()))
    throw std::out_of_range("subclassed window position out of range");
  return windows_[static_cast<std::size_t>(position)];
}

LRESULT cSubClass::Raise(bool& handled, HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  SubClass.Raise(handled, result, hwnd, uMsg, wParam, lParam);
  return result;
}

LRESULT SubClassWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  cSubClass* holder = Holder(hwnd);
  if (!holder) {
    auto& passThrough = Module().PassThrough;
    const auto it = passThrough.find(hwnd);
    if (it == passThrough.end()) return 0;
    const WNDPROC old = it->second;
    if (uMsg == WM_NCDESTROY) passThrough.erase(it);
    return CallWindowProcA(old, hwnd, uMsg, wParam, lParam);
  }
  // Kept at hand: a holder may release the window while it handles this message.
  const WNDPROC old = OldProc(hwnd);
  bool handled = false;
  const LRESULT answer = holder->Raise(handled, hwnd, uMsg, wParam, lParam);
  // The window's own procedure always hears of its end.
  const bool passOn = !handled || Dying(uMsg);
  const LRESULT result = passOn && old ? CallWindowProcA(old, hwnd, uMsg, wParam, lParam) : answer;
  if (uMsg == WM_NCDESTROY) {
    if (cSubClass* still = Holder(hwnd)) still->Forget(hwnd);
    Module().PassThrough.erase(hwnd);
  }
  return passOn ? (old ? result : 0) : answer;
}

}  // namespace ornatek
