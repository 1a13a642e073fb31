// Registers a control library for the current user, or with -u removes its
// registration: what the build runs after making a library.

#include <QCoreApplication>
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "com/class_loader.h"
#include "shell/usage.h"

namespace {

constexpr const char* kUsage =
    "usage: regcontrol [-u] LIBRARY\n"
    "Registers the control library LIBRARY (for example Ornatek.ocx) for the\n"
    "current user, so that the programs find its controls.\n"
    "  -u          remove the library's registration instead\n"
    "  -h, --help  show this help\n";

}  // namespace

int main(int argc, char** argv) {
  bool undo = false;
  const char* library = nullptr;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (shell::AsksForHelp(arg)) return shell::ShowUsage(kUsage);
    if (arg == "-u" && !undo && !library) {
      undo = true;
    } else if (arg.starts_with('-')) {
      return shell::RefuseCommandLine("regcontrol", "unknown option '" + std::string(arg) + "'",
                                      kUsage);
    } else if (library) {
      return shell::RefuseCommandLine("regcontrol", "one library at a time", kUsage);
    } else {
      library = argv[i];
    }
  }
  if (!library) return shell::RefuseCommandLine("regcontrol", {}, kUsage);
  QCoreApplication app(argc, argv);
  std::error_code ec;
  const std::filesystem::path file = std::filesystem::absolute(library, ec);
  const std::string error = undo ? com::UnregisterLibrary(file) : com::RegisterLibrary(file);
  if (!error.empty()) {
    std::fprintf(stderr, "regcontrol: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
