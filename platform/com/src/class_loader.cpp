#include "com/class_loader.h"

#include <dlfcn.h>

#include <QWidget>
#include <filesystem>
#include <system_error>

#include "com/build_identity.h"
#include "com/class_registry.h"
#include "forms/user_control.h"
#include "library_file.h"

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
  if (const std::string problem = detail::LibraryFileProblem(file, TAVRINEL_BUILD_IDENTITY);
      !problem.empty())
    return {nullptr, "the file " + file.string() + " cannot be loaded: " + problem};
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
  if (!lib.handle) return lib.error;
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

// Loads the class of `entry` from its library and asks for its class object.
LoadedClass LoadEntry(const ClassEntry& entry) {
  const std::string& name = entry.progId;
  const Library lib = Open(entry.library);
  if (!lib.handle) return {nullptr, "The control class '" + name + "': " + lib.error};
  auto get = Export<DllGetClassObjectFn>(lib.handle, "DllGetClassObject");
  if (!get)
    return {nullptr, "The control class '" + name + "': the file " + entry.library.string() +
                         " has no export DllGetClassObject"};
  void* object = nullptr;
  const HRESULT hr = get(&entry.clsid, &IID_IClassFactory, &object);
  if (hr != S_OK || !object)
    return {nullptr, "The control class '" + name + "' " + ToString(entry.clsid) +
                         " is not provided by the file " + entry.library.string()};
  return {static_cast<IClassFactory*>(object), {}};
}

LoadedClass NotRegistered(std::string_view progId) {
  const std::string name(progId);
  // A registry that cannot be read says so, rather than that nothing is in it.
  const std::filesystem::path registry = ClassRegistryFile();
  std::error_code ec;
  if (std::filesystem::exists(registry, ec) && !std::filesystem::is_regular_file(registry, ec))
    return {nullptr, "The control class '" + name + "' cannot be looked up: the class registry " +
                         registry.string() + " is not a file"};
  return {nullptr, "The control class '" + name + "' is not registered in " + registry.string()};
}

// Makes forms create `progId` through the loaded class, or through an inert
// stand-in when it could not be loaded.
std::string Use(std::string_view progId, const LoadedClass& loaded) {
  if (!loaded) {
    forms::RegisterControlType<UnavailableControl>(progId);
    return loaded.error;
  }
  IClassFactory* factory = loaded.factory;
  forms::RegisterControlType(
      progId, [factory](const forms::ControlSite& site) { return factory->CreateControl(site); });
  return {};
}

}  // namespace

LoadedClass LoadClass(std::string_view progId) {
  const auto entry = FindClass(progId);
  return entry ? LoadEntry(*entry) : NotRegistered(progId);
}

std::string UseRegisteredClass(std::string_view progId) {
  return Use(progId, LoadClass(progId));
}

std::string UseClass(std::string_view progId, const fs::path& ownLibrary) {
  std::error_code ec;
  if (!fs::exists(ownLibrary, ec)) return UseRegisteredClass(progId);
  auto entry = FindClass(progId);
  if (!entry) {
    // As an installer would: the class is registered from the host's own
    // copy of the library; only when that fails does the host hear of it.
    if (std::string error = RegisterLibrary(ownLibrary); !error.empty())
      return Use(progId, {nullptr, "The control class '" + std::string(progId) +
                                       "' is not registered, and registering the "
                                       "library of the program folder failed: " +
                                       error});
    entry = FindClass(progId);
    if (!entry)
      return Use(progId, {nullptr, "The control class '" + std::string(progId) +
                                       "' is not provided by the file " + ownLibrary.string()});
  }
  entry->library = ownLibrary;
  return Use(progId, LoadEntry(*entry));
}

std::string RegisterLibrary(const fs::path& library) {
  return CallSelfRegistration(library, "DllRegisterServer");
}

std::string UnregisterLibrary(const fs::path& library) {
  return CallSelfRegistration(library, "DllUnregisterServer");
}

}  // namespace com
