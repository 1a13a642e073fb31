// The shared object Ornatek.ocx: its one control class and the four
// exports through which hosts register and load it.

#include <atomic>

#include "com/control_library.h"
#include "viro_dazu_control.h"

namespace {

// Controls of this library alive in the process.
std::atomic<int> g_live{0};

class LiveVIroDazu final : public ornatek::VIroDazu {
 public:
  explicit LiveVIroDazu(const forms::ControlSite& site) : VIroDazu(site) { ++g_live; }
  ~LiveVIroDazu() override { --g_live; }
};

com::ControlClass<LiveVIroDazu> g_viroDazu(ornatek::kVIroDazuProgId,
                                           *com::GuidFromString(ornatek::kVIroDazuClassId));
com::IClassFactory* const g_classes[] = {&g_viroDazu};

}  // namespace

extern "C" {

__attribute__((visibility("default"))) com::HRESULT DllRegisterServer() {
  return com::RegisterClasses(g_classes, std::size(g_classes),
                              reinterpret_cast<const void*>(&DllRegisterServer));
}

__attribute__((visibility("default"))) com::HRESULT DllUnregisterServer() {
  return com::UnregisterClasses(g_classes, std::size(g_classes),
                                reinterpret_cast<const void*>(&DllRegisterServer));
}

__attribute__((visibility("default"))) com::HRESULT DllGetClassObject(const com::CLSID* clsid,
                                                                      const com::IID* iid,
                                                                      void** object) {
  return com::GetClassObject(g_classes, std::size(g_classes), clsid, iid, object);
}

__attribute__((visibility("default"))) com::HRESULT DllCanUnloadNow() {
  return g_live == 0 ? com::S_OK : com::S_FALSE;
}

}  // extern "C"
