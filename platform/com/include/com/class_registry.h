#pragma once

// The per-user registry of control classes: which library file provides
// the class of a program id. One small text file,
// $XDG_DATA_HOME/Tavrinel/classes.conf (default ~/.local/share), a line per
// class: program id, class id and the library's full path, separated by tabs.
// Every change is made under a file lock and written atomically, so
// programs that register at the same time lose nothing.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "com/guid.h"

namespace com {

struct ClassEntry {
  std::string progId;
  CLSID clsid;
  std::filesystem::path library;
  friend bool operator==(const ClassEntry&, const ClassEntry&) = default;
};

std::filesystem::path ClassRegistryFile();

// The registered classes; lines that cannot be read are left out.
std::vector<ClassEntry> RegisteredClasses();
// The class of a program id (compared without regard to case).
std::optional<ClassEntry> FindClass(std::string_view progId);

// Adds the entry, replacing any of the same program id or class id. An
// empty error text means success; otherwise it names the file and what went
// wrong.
std::string RegisterClassEntry(const ClassEntry& entry);
// Removes the entries of this program id or class id whose library is
// `library`, and nothing else.
std::string UnregisterClassEntry(const ClassEntry& entry);

}  // namespace com
