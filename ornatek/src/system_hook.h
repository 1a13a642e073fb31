#pragma once

// The thread's WH_CALLWNDPROC hook, reported as an event (cSystemHook), and
// its counted installation with the popup-menu catcher and the popup window
// handler (clsInstallHook): each popup menu of a menu-control window loses its
// system frame and gets the flat one painted by popup_frame.

#include <memory>

#include "event.h"
#include "sub_class.h"
#include "win/win.h"

namespace ornatek {

class cSystemHook {
 public:
  // bHandled, lReturn, nCode, wParam, lParam.
  using HookEvent = Event<bool&, win::LRESULT&, int, win::WPARAM, win::LPARAM>;

  cSystemHook();
  ~cSystemHook();
  cSystemHook(const cSystemHook&) = delete;
  cSystemHook& operator=(const cSystemHook&) = delete;

  bool SetHook();
  void RemoveHook();

  HookEvent Hook;
};

// The hook procedure (module mHook).
win::LRESULT CallWndHookProc(int nCode, win::WPARAM wParam, win::LPARAM lParam);

class clsInstallHook {
 public:
  clsInstallHook() = default;
  // Withdraws one registration, when one is left.
  ~clsInstallHook();
  clsInstallHook(const clsInstallHook&) = delete;
  clsInstallHook& operator=(const clsInstallHook&) = delete;

  void InstallHook();
  void UnInstallHook();

  // The last known screen position of a popup.
  int MenuWindowLeft() const { return menuWindowLeft_; }
  int MenuWindowTop() const { return menuWindowTop_; }

  // The catcher and the popup window handler, as the events reach them.
  void OnHook(bool& bHandled, win::LRESULT& lReturn, int nCode, win::WPARAM wParam,
              win::LPARAM lParam);
  void OnMenuSubClass(bool& bHandled, win::LRESULT& lReturn, win::HWND hwnd, win::UINT uMsg,
                      win::WPARAM wParam, win::LPARAM lParam);

 private:
  void SubClassMenuWindow(win::HWND hwnd);
  void UnSubClassMenuWindow(win::HWND hwnd);
  void OnMenuPosChanging(win::LPARAM lParam);

  std::shared_ptr<cSystemHook> oHook_;
  cSystemHook::HookEvent::Connection hookConnection_;
  std::unique_ptr<cSubClass> menuSubClass_;
  cSubClass::SubClassEvent::Connection menuConnection_;
  int menuWindowLeft_ = 0;
  int menuWindowTop_ = 0;
};

}  // namespace ornatek
