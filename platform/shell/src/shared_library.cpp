#include "shell/shared_library.h"

#include <dlfcn.h>

namespace shell {

SharedLibrary::SharedLibrary(const std::string& soname) : soname_(soname) {
  // Kept in memory to the end: its functions may still be called while the
  // program ends, after this object is gone.
  handle_ = ::dlopen(soname.c_str(), RTLD_LAZY | RTLD_LOCAL | RTLD_NODELETE);
  if (!handle_) {
    const char* why = ::dlerror();
    problem_ = "cannot load " + soname + ": " + (why ? why : "unknown reason");
  }
}

SharedLibrary::~SharedLibrary() {
  if (handle_) ::dlclose(handle_);
}

void* SharedLibrary::Address(const char* name) {
  if (!handle_) return nullptr;
  void* address = ::dlsym(handle_, name);
  if (!address && problem_.empty())
    problem_ = soname_ + " lacks the function " + std::string(name) + " (another version?)";
  return address;
}

}  // namespace shell
