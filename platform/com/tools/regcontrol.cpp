// Registers a control library for the current user, or with -u removes its
// registration: what the build runs after making a library.

#include <QCoreApplication>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "com/class_loader.h"

int main(int argc, char** argv) {
  const bool undo = argc == 3 && std::strcmp(argv[1], "-u") == 0;
  if (argc != 2 && !undo) {
    std::fprintf(stderr, "usage: regcontrol [-u] LIBRARY\n");
    return 2;
  }
  QCoreApplication app(argc, argv);
  std::error_code ec;
  const std::filesystem::path library = std::filesystem::absolute(argv[argc - 1], ec);
  const std::string error = undo ? com::UnregisterLibrary(library) : com::RegisterLibrary(library);
  if (!error.empty()) {
    std::fprintf(stderr, "regcontrol: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
