#pragma once

#include <filesystem>

namespace testsupport {

// A fresh directory that is removed with everything in it when the object ends.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& p) const { return path_ / p; }

 private:
  std::filesystem::path path_;
};

// The folder the build puts programs and data files in (build/bin).
std::filesystem::path BinDir();
// The checkout's top folder.
std::filesystem::path SourceDir();

// Runs the programs of this test process in `folder`: their settings store
// under it, it as their program folder, the build's character files, and no
// sound.
void UseProgramFolder(const std::filesystem::path& folder);

}  // namespace testsupport
