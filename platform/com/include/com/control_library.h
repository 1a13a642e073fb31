#pragma once

// What a control library exports, and how it describes its control classes
// to the loader. See platform/com/README.md for how a library plugs in.
//
// A control library is an ELF shared object built with
// tavrinel_control_library() (cmake/ControlLibrary.cmake). It links none of
// the platform's libraries: their code is the host's, which every control
// host exports (tavrinel_control_host()), so the library's controls live in
// the host's window system and forms runtime.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "com/guid.h"
#include "forms/control.h"

namespace com {

using HRESULT = std::int32_t;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111u);
inline constexpr HRESULT SELFREG_E_CLASS = static_cast<HRESULT>(0x80040201u);

// The class object interface a library hands out for one of its classes.
inline constexpr IID IID_IClassFactory{
    0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// One control class of a library. The library keeps its class objects for
// as long as it is loaded (the loader never unloads a library that gave out
// a control), so the host does not delete them.
class IClassFactory {
 public:
  virtual ~IClassFactory() = default;
  virtual const std::string& ProgId() const = 0;
  virtual const CLSID& ClassId() const = 0;
  // A new instance of the control at `site`, usually a forms::UserControl;
  // its stored properties are site.bag (null for a new instance). The host
  // form runs its lifecycle: Initialize, InitProperties or ReadProperties,
  // Resize, ..., Terminate.
  virtual std::unique_ptr<forms::Control> CreateControl(const forms::ControlSite& site) = 0;
};

// A class factory for a control type T constructible from a ControlSite.
template <class T>
class ControlClass final : public IClassFactory {
 public:
  ControlClass(std::string progId, const CLSID& clsid)
      : progId_(std::move(progId)), clsid_(clsid) {}
  const std::string& ProgId() const override { return progId_; }
  const CLSID& ClassId() const override { return clsid_; }
  std::unique_ptr<forms::Control> CreateControl(const forms::ControlSite& site) override {
    return std::make_unique<T>(site);
  }

 private:
  std::string progId_;
  CLSID clsid_;
};

// The exports, by these names, with C linkage:
//   HRESULT DllRegisterServer();    writes its classes into the class registry
//   HRESULT DllUnregisterServer();  removes exactly those entries
//   HRESULT DllGetClassObject(const CLSID* clsid, const IID* iid, void** object);
//       *object = the IClassFactory* of that class (iid IID_IClassFactory),
//       CLASS_E_CLASSNOTAVAILABLE for a class it does not have
//   HRESULT DllCanUnloadNow();      S_OK when none of its controls lives
using DllRegisterServerFn = HRESULT (*)();
using DllUnregisterServerFn = HRESULT (*)();
using DllGetClassObjectFn = HRESULT (*)(const CLSID*, const IID*, void**);
using DllCanUnloadNowFn = HRESULT (*)();

// Helpers for a library's exports: the library file that holds `address`
// (any function of the library), and the four exports' work for a list of
// class objects.
std::filesystem::path LibraryFileOf(const void* address);
HRESULT RegisterClasses(IClassFactory* const* classes, std::size_t count, const void* address);
HRESULT UnregisterClasses(IClassFactory* const* classes, std::size_t count, const void* address);
HRESULT GetClassObject(IClassFactory* const* classes, std::size_t count, const CLSID* clsid,
                       const IID* iid, void** object);

}  // namespace com
