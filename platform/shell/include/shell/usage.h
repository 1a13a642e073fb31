#pragma once

// How the suite's command-line tools answer on the terminal, before any
// window: --help with the usage on standard output (exit 0), a wrong command
// line with what is wrong and the usage on standard error (exit 2).

#include <cstdio>
#include <string>
#include <string_view>

namespace shell {

inline bool AsksForHelp(std::string_view arg) {
  return arg == "-h" || arg == "--help";
}

inline int ShowUsage(const char* usage) {
  std::fputs(usage, stdout);
  return 0;
}

// An empty complaint prints the usage alone.
inline int RefuseCommandLine(const char* tool, const std::string& complaint, const char* usage) {
  if (!complaint.empty()) std::fprintf(stderr, "%s: %s\n", tool, complaint.c_str());
  std::fputs(usage, stderr);
  return 2;
}

}  // namespace shell
