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

// Loads the library and calls its DllRegisterServer (DllUnregisterServer).
// An empty text means success; an error names the file.
std::string RegisterLibrary(const std::filesystem::path& library);
std::string UnregisterLibrary(const std::filesystem::path& library);

}  // namespace com
