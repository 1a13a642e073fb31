#include "com/class_loader.h"

#include <dlfcn.h>

#include <QWidget>
#include <filesystem>
#include <system_error>

#include "com/class_registry.h"
#include "forms/user_control.h"

namespace com {

namespace {

namespace fs = std::filesystem;

// The library stays loaded for the rest of the process: controls, their
// class objects and their virtual tables live in it.
struct Library {
  void* handle = nullptr;
  std::string error;
};

Library Open(const fs::path& file) {
  std::error_code ec;
  if (!fs::exists(file, ec)) return {nullptr, "the file " + file.string() + " does not exist"};
  void* h = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!h) {
    const char* why = ::dlerror();
    return {nullptr, "the file " + file.string() + " cannot be loaded (" +
                         std::string(why ? why : "unknown reason") + ")"};
  }
  return {h, {}};
}

template <class Fn>
Fn Export(void* handle, const char* name) {
  return reinterpret_cast<Fn>(::dlsym(handle, name));
}

std::string CallSelfRegistration(const fs::path& library, const char* exportName) {
  const Library lib = Open(library);
  if (!lib.handle) return "Cannot register: " + lib.error;
  auto fn = Export<DllRegisterServerFn>(lib.handle, exportName);
  if (!fn) return "The library " + library.string() + " has no export " + exportName;
  const HRESULT hr = fn();
  if (hr != S_OK)
    return std::string(exportName) + " of " + library.string() + " failed (error " +
           std::to_string(static_cast<std::uint32_t>(hr)) + ")";
  return {};
}

// What forms make in place of a control whose class could not be loaded.
class UnavailableControl final : public forms::Control {
 public:
  explicit UnavailableControl(const forms::ControlSite& site) : Control(site) {
    Control::Visible(false);
  }
  QWidget* Widget() const override { return nullptr; }
  void SetProperty(std::string_view, const forms::Value&) override {}
};

}  // namespace

LoadedClass LoadClass(std::string_view progId) {
  const std::string name(progId);
  const auto entry = FindClass(progId);
  if (!entry) {
    // A registry that cannot be read says so, rather than that nothing is in it.
    const std::filesystem::path registry = ClassRegistryFile();
    std::error_code ec;
    if (std::filesystem::exists(registry, ec) && !std::filesystem::is_regular_file(registry, ec))
      return {nullptr, "The control class '" + name + "' cannot be looked up: the class registry " +
                           registry.string() + " is not a file"};
    return {nullptr, "The control class '" + name + "' is not registered in " + registry.string()};
  }
  const Library lib = Open(entry->library);
  if (!lib.handle) return {nullptr, "The control class '" + name + "': " + lib.error};
  auto get = Export<DllGetClassObjectFn>(lib.handle, "DllGetClassObject");
  if (!get)
    return {nullptr, "The control class '" + name + "': the file " + entry->library.string() +
                         " has no export DllGetClassObject"};
  void* object = nullptr;
  const HRESULT hr = get(&entry->clsid, &IID_IClassFactory, &object);
  if (hr != S_OK || !object)
    return {nullptr, "The control class '" + name + "' " + ToString(entry->clsid) +
                         " is not provided by the file " + entry->library.string()};
  return {static_cast<IClassFactory*>(object), {}};
}

std::string UseRegisteredClass(std::string_view progId) {
  LoadedClass loaded = LoadClass(progId);
  if (!loaded) {
    forms::RegisterControlType<UnavailableControl>(progId);
    return loaded.error;
  }
  IClassFactory* factory = loaded.factory;
  forms::RegisterControlType(
      progId, [factory](const forms::ControlSite& site) { return factory->CreateControl(site); });
  return {};
}

std::string RegisterLibrary(const fs::path& library) {
  return CallSelfRegistration(library, "DllRegisterServer");
}

std::string UnregisterLibrary(const fs::path& library) {
  return CallSelfRegistration(library, "DllUnregisterServer");
}

}  // namespace com
