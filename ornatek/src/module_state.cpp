#include "module_state.h"

#include "menu_infos.h"
#include "sub_class.h"
#include "system_hook.h"

namespace ornatek {

ModuleState::ModuleState() {
  // The layer keeps its hook chain per thread too. Reaching it now makes it
  // older than this state, so it is still there when this state's end takes
  // the hook out of it.
  win::CallNextHookEx(win::HHOOK(), 0, 0, 0);
}
ModuleState::~ModuleState() {
  // The installer's end withdraws one registration through Module(), which
  // must still find this object: end it first, explicitly.
  MenuHookInstallerObject.reset();
  SharedSystemHook.reset();
  SharedSubClass.reset();
}

ModuleState& Module() {
  thread_local ModuleState state;
  return state;
}

cMenuInfos& MenuInfoStore() {
  auto& m = Module();
  if (!m.MenuInfoStoreObject) m.MenuInfoStoreObject = std::make_unique<cMenuInfos>();
  return *m.MenuInfoStoreObject;
}

clsInstallHook& MenuHookInstaller() {
  auto& m = Module();
  if (!m.MenuHookInstallerObject) m.MenuHookInstallerObject = std::make_unique<clsInstallHook>();
  return *m.MenuHookInstallerObject;
}

}  // namespace ornatek
