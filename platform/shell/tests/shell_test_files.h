#pragma once

// Helpers of the shell tests: scripts that stand in for programs and for the
// desktop's handler, and waiting for what a detached process writes.

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace shelltest {

inline void WriteScript(const std::filesystem::path& file, const std::string& body) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file) << "#!/bin/sh\n" << body << "\n";
  std::filesystem::permissions(file, std::filesystem::perms::owner_all);
}

// The text a detached process writes, once it has written its last line
// (ending in "end"); empty when nothing came within a generous time.
inline std::string WaitForFile(const std::filesystem::path& file) {
  for (int i = 0; i < 1200; ++i) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    if (text.str().find("end\n") != std::string::npos) return text.str();
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return {};
}

// Puts `folder` first on PATH for the life of the object.
class PathPrefix {
 public:
  explicit PathPrefix(const std::filesystem::path& folder, bool only = false) {
    const char* p = std::getenv("PATH");
    old_ = p ? p : "";
    const std::string now = only ? folder.string() : folder.string() + ":" + old_;
    setenv("PATH", now.c_str(), 1);
  }
  ~PathPrefix() { setenv("PATH", old_.c_str(), 1); }
  PathPrefix(const PathPrefix&) = delete;
  PathPrefix& operator=(const PathPrefix&) = delete;

 private:
  std::string old_;
};

}  // namespace shelltest
