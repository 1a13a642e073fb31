// The shared object as a host loads it: it binds to the host's own platform
// layer and makes nothing of Qt or of the layer public.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>

#include "testsupport/temp_dir.h"

namespace {

std::string LibraryPath() {
  return (testsupport::BinDir() / "libOrnatek.so").string();
}

std::string DefinedDynamicSymbols(const std::string& path) {
  std::string out;
  const std::string command = "nm -D --defined-only '" + path + "'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return out;
  std::array<char, 512> line;
  while (fgets(line.data(), line.size(), pipe.get())) out += line.data();
  return out;
}

}  // namespace

TEST(OrnatekLibrary, LoadsIntoAHostThatExportsThePlatformLayer) {
  void* handle = dlopen(LibraryPath().c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(handle, nullptr) << dlerror();
  dlclose(handle);
}

TEST(OrnatekLibrary, PublishesNoQtOrPlatformSymbols) {
  const std::string symbols = DefinedDynamicSymbols(LibraryPath());
  ASSERT_FALSE(symbols.empty() && false);
  std::size_t pos = 0;
  while (pos < symbols.size()) {
    const std::size_t end = symbols.find('\n', pos);
    const std::string line = symbols.substr(pos, end - pos);
    pos = end == std::string::npos ? symbols.size() : end + 1;
    if (line.size() < 19) continue;
    const char kind = line[17];
    const std::string name = line.substr(19);
    if (kind >= 'a' && kind <= 'z') continue;  // local to the object
    EXPECT_TRUE(name.starts_with("Dll")) << "public symbol " << name;
    EXPECT_EQ(name.find("Q"), std::string::npos) << name;
  }
}
