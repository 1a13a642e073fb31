#include "shell/folders.h"

#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>

namespace shell {

namespace {

std::filesystem::path FromEnv(const char* name) {
  const char* v = std::getenv(name);
  return (v && *v) ? std::filesystem::path(v) : std::filesystem::path();
}

}  // namespace

std::filesystem::path ProgramFolder() {
  if (auto p = FromEnv("TAVRINEL_PROGRAM_DIR"); !p.empty()) return p;
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec);
  return exe.parent_path();
}

std::filesystem::path SystemFolder() {
  if (auto p = FromEnv("TAVRINEL_SYSTEM_DIR"); !p.empty()) return p;
  return ProgramFolder() / "system";
}

unsigned GetWindowsDirectoryA(char* buffer, unsigned size) {
  const std::string s = SystemFolder().string();
  if (s.empty()) return 0;
  if (!buffer || size < s.size() + 1) return static_cast<unsigned>(s.size() + 1);
  std::memcpy(buffer, s.c_str(), s.size() + 1);
  return static_cast<unsigned>(s.size());
}

std::filesystem::path NativePath(std::string_view path) {
  std::string s(path);
  if (s.size() >= 2 && s[1] == ':' && std::isalpha(static_cast<unsigned char>(s[0]))) s.erase(0, 2);
  // A "\" may belong to a folder's own name (the program folder's, say): the
  // longest beginning that names a folder as written keeps its "\"s, and only
  // the separators added after it turn.
  std::string out;
  for (std::size_t at = s.rfind('\\'); at != std::string::npos && at > 0;
       at = s.rfind('\\', at - 1)) {
    std::error_code ec;
    if (std::filesystem::is_directory(s.substr(0, at), ec)) {
      out = s.substr(0, at);
      s.erase(0, at);
      break;
    }
  }
  // Collapse the doubled separators that "folder & "\" & name" makes when
  // the folder already ends in one.
  for (char c : s) {
    if (c == '\\') c = '/';
    if (!(c == '/' && !out.empty() && out.back() == '/')) out += c;
  }
  return out;
}

}  // namespace shell
