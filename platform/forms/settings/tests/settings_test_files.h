#pragma once

// File helpers shared by the store tests.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace settings_test {

inline std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteAll(const std::filesystem::path& file, const std::string& bytes) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// The kept copies of damaged stores beside file, oldest name first.
inline std::vector<std::filesystem::path> Backups(const std::filesystem::path& file) {
  std::vector<std::filesystem::path> found;
  const std::string prefix = file.filename().string() + ".damaged-";
  if (!std::filesystem::exists(file.parent_path())) return found;
  for (const auto& entry : std::filesystem::directory_iterator(file.parent_path())) {
    if (entry.path().filename().string().starts_with(prefix)) found.push_back(entry.path());
  }
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace settings_test
