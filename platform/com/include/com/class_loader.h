#pragma once

// Loading control classes by program id from the libraries that registered
// them, and registering libraries.

#include <filesystem>
#include <string>
#include <string_view>

#include "com/control_library.h"

namespace com {

// A class object, or the reason there is none: a text that names the class
// and the file and says what is wrong.
struct LoadedClass {
  IClassFactory* factory = nullptr;
  std::string error;
  explicit operator bool() const { return factory != nullptr; }
};

// Looks the class up in the class registry, loads its library and asks it
// for the class object.
LoadedClass LoadClass(std::string_view progId);

// Makes forms create controls of the type `progId` from its library. When
// the class cannot be loaded, forms make an inert, invisible stand-in in
// its place (the host form still loads and can go on without the control)
// and the error text is returned; an empty text means success.
std::string UseRegisteredClass(std::string_view progId);

// As UseRegisteredClass, for a host that carries its own copy of the
// library (`ownLibrary`, in its program folder): that copy is the one
// loaded, wherever the registry points, and when the class is not registered
// at all, the copy is registered first, as installing it would. Without the
// copy, the registered library is used.
std::string UseClass(std::string_view progId, const std::filesystem::path& ownLibrary);

// Loads the library and calls its DllRegisterServer (DllUnregisterServer).
// An empty text means success; an error names the file.
//
// Before any library is loaded, its file is read by its own headers: a file
// cut short, one that is no shared object of this machine, and one made by
// another build of the platform (whose code the library would call into)
// are refused with the reason, never loaded.
std::string RegisterLibrary(const std::filesystem::path& library);
std::string UnregisterLibrary(const std::filesystem::path& library);

}  // namespace com
