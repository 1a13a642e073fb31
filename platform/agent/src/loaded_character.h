#pragma once

#include <QImage>
#include <filesystem>
#include <vector>

#include "agent/character_file.h"

namespace agent {

// A character file read, checked and with its pictures decoded.
struct LoadedCharacter {
  CharacterFile file;  // without the encoded images
  std::vector<QImage> images;
};

// Throws Error naming the path for a missing, unreadable, truncated or damaged
// file.
LoadedCharacter LoadCharacter(const std::filesystem::path& path);

}  // namespace agent
