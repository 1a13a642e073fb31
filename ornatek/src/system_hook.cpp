#include "system_hook.h"

#include <cstring>

#include "module_state.h"
#include "pending_platform_calls.h"
#include "popup_frame.h"

namespace ornatek {

using namespace win;

namespace {

constexpr WPARAM kPrintEraseBackground = 8;  // PRF_ERASEBKGND alone

}  // namespace

cSystemHook::cSystemHook() {
  Module().SystemHookObject = this;
}

cSystemHook::~cSystemHook() {
  auto& m = Module();
  if (m.SystemHookHandle) RemoveHook();
  if (m.SystemHookObject == this) m.SystemHookObject = nullptr;
}

bool cSystemHook::SetHook() {
  auto& m = Module();
  if (m.SystemHookHandle) RemoveHook();
  m.SystemHookHandle =
      SetWindowsHookExA(WH_CALLWNDPROC, &CallWndHookProc, HINSTANCE(), GetCurrentThreadId());
  return true;
}

void cSystemHook::RemoveHook() {
  auto& m = Module();
  UnhookWindowsHookEx(m.SystemHookHandle);
  m.SystemHookHandle = HHOOK();
}

LRESULT CallWndHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
  auto& m = Module();
  if (nCode < 0) return CallNextHookEx(m.SystemHookHandle, nCode, wParam, lParam);
  bool handled = false;
  LRESULT answer = 0;
  if (cSystemHook* hook = m.SystemHookObject)
    hook->Hook.Raise(handled, answer, nCode, wParam, lParam);
  if (handled) return answer;
  return CallNextHookEx(Module().SystemHookHandle, nCode, wParam, lParam);
}

clsInstallHook::~clsInstallHook() {
  if (Module().HookInstallCount > 0) UnInstallHook();
}

void clsInstallHook::InstallHook() {
  auto& m = Module();
  ++m.HookInstallCount;
  if (!m.SharedSystemHook) {
    m.SharedSystemHook = std::make_shared<cSystemHook>();
    oHook_ = m.SharedSystemHook;
    hookConnection_ =
        oHook_->Hook.Connect([this](bool& handled, LRESULT& answer, int code, WPARAM w, LPARAM l) {
          OnHook(handled, answer, code, w, l);
        });
    oHook_->SetHook();
  }
}

void clsInstallHook::UnInstallHook() {
  auto& m = Module();
  // A withdrawal without a registration changes nothing: the count never
  // goes below 0, so the next registration installs the hook again and its
  // withdrawal removes it.
  if (m.HookInstallCount <= 0) return;
  if (--m.HookInstallCount == 0) {
    hookConnection_.Disconnect();
    oHook_.reset();
    m.SharedSystemHook.reset();
  }
}

void clsInstallHook::OnHook(bool&, LRESULT&, int nCode, WPARAM, LPARAM lParam) {
  if (nCode != HC_ACTION) return;
  const CWPSTRUCT call = *reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (call.message != WM_CREATE) return;
  char name[128] = {};
  GetClassNameA(call.hwnd, name, sizeof name);
  if (std::strcmp(name, kPopupMenuClass) != 0) return;
  const HWND owner = reinterpret_cast<const CREATESTRUCTA*>(call.lParam)->hwndParent;

  auto& m = Module();
  const auto shared = m.SharedSubClass;
  if (shared && owner && shared->IsWindowSubClassedByMe(owner)) {
    StripMenuWindowFrame(call.hwnd);
    SubClassMenuWindow(call.hwnd);
  } else if (shared && owner && shared->IsWindowSubClassedByMe(GetParent(owner))) {
    // The owner is an MDI child of a menu-control window: the frame's
    // control draws its window menu too.
    StripMenuWindowFrame(call.hwnd);
    shared->SubClassHwnd(owner, true);
    SetPropA(owner, kByMdiParentProperty, 1);
    SendMessageA(owner, WM_INITMENUPOPUP, pending::GetSystemMenu(owner, FALSE).value, 0);
    SubClassMenuWindow(call.hwnd);
  } else if (!owner) {
    StripMenuWindowFrame(call.hwnd);
    SubClassMenuWindow(call.hwnd);
  }
}

void clsInstallHook::SubClassMenuWindow(HWND hwnd) {
  if (!menuSubClass_) {
    menuSubClass_ = std::make_unique<cSubClass>();
    menuConnection_ = menuSubClass_->SubClass.Connect(
        [this](bool& handled, LRESULT& answer, HWND h, UINT msg, WPARAM w, LPARAM l) {
          OnMenuSubClass(handled, answer, h, msg, w, l);
        });
  }
  menuSubClass_->SubClassHwnd(hwnd, false);
  menuSubClass_->SubClassHwnd(hwnd, true);
}

void clsInstallHook::UnSubClassMenuWindow(HWND hwnd) {
  if (menuSubClass_) menuSubClass_->SubClassHwnd(hwnd, false);
}

void clsInstallHook::OnMenuPosChanging(LPARAM lParam) {
  auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
  if (pos->cx) pos->cx += 1;
  if (pos->cy) pos->cy += 1;
  // Zero is a real coordinate: a record that carries a position sets it,
  // whatever its value; only a record without one keeps the last.
  if (!(pos->flags & SWP_NOMOVE)) {
    menuWindowLeft_ = pos->x;
    menuWindowTop_ = pos->y;
  }
}

void clsInstallHook::OnMenuSubClass(bool& bHandled, LRESULT& lReturn, HWND hwnd, UINT uMsg,
                                    WPARAM wParam, LPARAM lParam) {
  switch (uMsg) {
    case WM_CREATE:
      StripMenuWindowFrame(hwnd);
      break;
    case WM_DESTROY:
    case WM_NCDESTROY:
      Module().OwnPopupActive = false;
      UnSubClassMenuWindow(hwnd);
      break;
    case WM_SHOWWINDOW:
      if (LoWord(static_cast<std::intptr_t>(wParam)) == 0) {
        Module().OwnPopupActive = false;
        UnSubClassMenuWindow(hwnd);
      }
      break;
    case WM_ERASEBKGND:
      PaintMenuBackground(hwnd, HDC(wParam), menuWindowLeft_, menuWindowTop_);
      lReturn = 0;
      bHandled = true;
      break;
    case WM_WINDOWPOSCHANGING:
      OnMenuPosChanging(lParam);
      break;
    case WM_PRINT:
      if (static_cast<WPARAM>(lParam) == kPrintEraseBackground)
        SendMessageA(hwnd, WM_ERASEBKGND, wParam, static_cast<LPARAM>(kPrintEraseBackground));
      break;
    default:
      break;
  }
}

}  // namespace ornatek
