#pragma once

// The files kept beside a store "X": the writers' lock "X.lock", the
// temporary "X.tmp" that a write renames over X, and the copies of damaged
// stores "X.damaged-<UTC time>". Temporary and copies are only made under
// the lock, so fixed names cannot clash between processes.

#include <filesystem>
#include <string_view>

#include "settings_result.h"

namespace forms::settings_detail {

std::filesystem::path LockPathFor(const std::filesystem::path& store);
std::filesystem::path TempPathFor(const std::filesystem::path& store);

// A name "X.damaged-YYYYMMDDTHHMMSSZ" (with "-2", "-3"... when taken).
std::filesystem::path NewBackupPath(const std::filesystem::path& store);

// Whether a copy with exactly these bytes is already kept, so that reading
// the same damaged store again and again leaves one copy.
bool HasIdenticalBackup(const std::filesystem::path& store, std::string_view bytes);

// Keeps bytes (the damaged content) as a new copy; returns its path.
Expected<std::filesystem::path> KeepDamagedCopy(const std::filesystem::path& store,
                                                std::string_view bytes);

// Renames a store that cannot be read (a folder, no permission) to a
// backup name; returns that name.
Expected<std::filesystem::path> MoveDamagedAside(const std::filesystem::path& store);

}  // namespace forms::settings_detail
