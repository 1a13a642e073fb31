#pragma once

// A library the program opens when it first needs it, instead of having the
// loader map and relocate it before the first window: the database engine
// and the sound libraries are not needed to show one.

#include <string>

namespace shell {

class SharedLibrary {
 public:
  // Opens the library by its file name (its "soname"); Problem() says why
  // when it cannot be opened.
  explicit SharedLibrary(const std::string& soname);
  ~SharedLibrary();
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  bool Loaded() const { return handle_ != nullptr && problem_.empty(); }
  // Empty while every step went well.
  const std::string& Problem() const { return problem_; }

  // The function of that name, or null with Problem() naming it.
  template <typename Fn>
  void Bind(Fn& function, const char* name) {
    function = reinterpret_cast<Fn>(Address(name));
  }

 private:
  void* Address(const char* name);
  std::string soname_;
  void* handle_ = nullptr;
  std::string problem_;
};

}  // namespace shell
