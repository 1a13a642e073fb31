#pragma once

// The library's module-level state. It exists once per thread that uses the
// library: every menu control of a thread shares it, and controls on another
// thread share nothing with them.

#include <memory>
#include <unordered_map>

#include "win/win.h"

namespace ornatek {

class cSubClass;
class cSystemHook;
class clsInstallHook;
class cMenuInfos;

struct ModuleState {
  // Windows released while a later subclasser still calls our procedure:
  // their messages pass straight on to the procedure we had replaced.
  std::unordered_map<win::HWND, win::WNDPROC> PassThrough;

  // The thread's one WH_CALLWNDPROC hook.
  win::HHOOK SystemHookHandle;
  cSystemHook* SystemHookObject = nullptr;  // held without a reference
  std::shared_ptr<cSystemHook> SharedSystemHook;
  int HookInstallCount = 0;

  // Shared by the menu controls and the popup painter.
  bool OwnPopupActive = false;
  win::COLORREF MenuBorderColor = 0x666666;
  win::COLORREF MenuBackColor = 0xF7F8F9;
  win::COLORREF ImageColumnColor = 0xD1D8DB;
  int ImageColumnWidth = 0;
  int SharedBitmapSize = 16;
  std::shared_ptr<cSubClass> SharedSubClass;
  std::unique_ptr<cMenuInfos> MenuInfoStoreObject;
  // Last: it withdraws its registration from the hook state above when the
  // thread ends.
  std::unique_ptr<clsInstallHook> MenuHookInstallerObject;

  ModuleState();
  ~ModuleState();
  ModuleState(const ModuleState&) = delete;
  ModuleState& operator=(const ModuleState&) = delete;
};

ModuleState& Module();
// Created on first use.
cMenuInfos& MenuInfoStore();
clsInstallHook& MenuHookInstaller();

}  // namespace ornatek
