#pragma once

#include <QImage>
#include <filesystem>
#include <string>
#include <vector>

#include "agent/character_file.h"

namespace agent {

// A character file read and checked. Its pictures are decoded as they are
// first shown: a character shows a few of its poses at start, and decoding
// all of them would keep its first window waiting.
class LoadedCharacter {
 public:
  LoadedCharacter() = default;
  LoadedCharacter(CharacterFile file, std::string where);

  const CharacterFile& File() const { return file_; }
  std::size_t ImageCount() const { return encoded_.size(); }
  // The picture, premultiplied ARGB. A picture whose data turns out to be
  // damaged behind a readable header is shown blank, and said once.
  const QImage& Image(std::size_t index) const;

 private:
  CharacterFile file_;  // without the encoded images
  std::string where_;
  std::vector<std::string> encoded_;
  mutable std::vector<QImage> images_;  // decoded on first use
};

// Throws Error naming the path for a missing, unreadable, truncated or damaged
// file, including a picture that is no PNG or not of the character's size.
LoadedCharacter LoadCharacter(const std::filesystem::path& path);

}  // namespace agent
