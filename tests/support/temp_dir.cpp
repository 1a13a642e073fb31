#include "testsupport/temp_dir.h"

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <system_error>

namespace testsupport {

TempDir::TempDir() {
  std::string templ = (std::filesystem::temp_directory_path() / "tavrinel-test-XXXXXX").string();
  if (!mkdtemp(templ.data())) throw std::runtime_error("cannot make a temporary folder");
  path_ = templ;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

static std::filesystem::path FromEnv(const char* name) {
  const char* v = std::getenv(name);
  if (!v || !*v)
    throw std::runtime_error(std::string(name) + " is not set; run the tests with ctest");
  return v;
}

std::filesystem::path BinDir() {
  return FromEnv("TAVRINEL_BIN_DIR");
}
std::filesystem::path SourceDir() {
  return FromEnv("TAVRINEL_SOURCE_DIR");
}

void UseProgramFolder(const std::filesystem::path& folder) {
  setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
  setenv("TAVRINEL_PROGRAM_DIR", folder.c_str(), 1);
  setenv("TAVRINEL_SYSTEM_DIR", (BinDir() / "system").c_str(), 1);
  setenv("TAVRINEL_AUDIO", "none", 1);
}

}  // namespace testsupport
