#include "com/control_library.h"

#include <dlfcn.h>

#include <system_error>

#include "com/class_registry.h"

namespace com {

std::filesystem::path LibraryFileOf(const void* address) {
  Dl_info info{};
  if (!::dladdr(address, &info) || !info.dli_fname) return {};
  std::error_code ec;
  auto path = std::filesystem::canonical(info.dli_fname, ec);
  return ec ? std::filesystem::path(info.dli_fname) : path;
}

HRESULT RegisterClasses(IClassFactory* const* classes, std::size_t count, const void* address) {
  const auto library = LibraryFileOf(address);
  if (library.empty()) return SELFREG_E_CLASS;
  for (std::size_t i = 0; i < count; ++i)
    if (!RegisterClassEntry({classes[i]->ProgId(), classes[i]->ClassId(), library}).empty())
      return SELFREG_E_CLASS;
  return S_OK;
}

HRESULT UnregisterClasses(IClassFactory* const* classes, std::size_t count, const void* address) {
  const auto library = LibraryFileOf(address);
  if (library.empty()) return SELFREG_E_CLASS;
  for (std::size_t i = 0; i < count; ++i)
    if (!UnregisterClassEntry({classes[i]->ProgId(), classes[i]->ClassId(), library}).empty())
      return SELFREG_E_CLASS;
  return S_OK;
}

HRESULT GetClassObject(IClassFactory* const* classes, std::size_t count, const CLSID* clsid,
                       const IID* iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (!clsid || !iid) return E_POINTER;
  for (std::size_t i = 0; i < count; ++i) {
    if (classes[i]->ClassId() != *clsid) continue;
    if (*iid != IID_IClassFactory) return E_NOINTERFACE;
    *object = classes[i];
    return S_OK;
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace com
