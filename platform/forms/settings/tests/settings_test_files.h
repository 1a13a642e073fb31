#pragma once

// File helpers shared by the store tests.

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
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

// Runs body where file permissions bind: in this process for an ordinary
// user; for the superuser (as on CI) in a child that hands `folder` to the
// user "nobody" and becomes that user. Fails when the body failed there.
inline testing::AssertionResult RunUnprivileged(const std::filesystem::path& folder,
                                                const std::function<void()>& body) {
  if (::geteuid() != 0) {
    body();
    return testing::AssertionSuccess();
  }
  constexpr uid_t kNobody = 65534;
  std::error_code ec;
  if (::lchown(folder.c_str(), kNobody, kNobody) != 0)
    return testing::AssertionFailure() << "chown";
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ec))
    if (::lchown(entry.path().c_str(), kNobody, kNobody) != 0)
      return testing::AssertionFailure() << "chown " << entry.path();
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child < 0) return testing::AssertionFailure() << "fork";
  if (child == 0) {
    if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
      ::_exit(3);
    body();
    std::fflush(nullptr);
    ::_exit(testing::Test::HasFailure() ? 1 : 0);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return testing::AssertionSuccess();
  return testing::AssertionFailure()
         << "the part run as an ordinary user failed (status " << status << ")";
}

}  // namespace settings_test
