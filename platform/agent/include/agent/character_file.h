#pragma once

// Reading and writing character files (".acs"). The format is described in
// data/characters/README.md.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace agent {

struct VoiceSpec {
  int languageId = 0;
  std::string voice;  // an espeak-ng voice name, optionally with "+variant"
  int pitch = 50;     // 0..100
  int rate = 165;     // words per minute, 80..450
};

struct FrameRef {
  int image = 0;  // index into CharacterFile::images
  int durationMs = 100;
};

struct AnimationSpec {
  std::string name;
  std::vector<FrameRef> frames;
};

struct CharacterFile {
  std::string name;
  int width = 0;
  int height = 0;
  std::vector<VoiceSpec> voices;
  std::vector<std::string> images;  // PNG files, each width x height
  int restImage = 0;
  std::vector<FrameRef> talking;  // looped while the character speaks
  std::vector<AnimationSpec> animations;
};

inline constexpr std::uint16_t kCharacterFileVersion = 1;

// The file's bytes. Does not check the images.
std::string EncodeCharacterFile(const CharacterFile& file);

// Parses and checks everything but the image data itself. Throws Error with a
// message that starts with `where` (usually the path).
CharacterFile DecodeCharacterFile(std::string_view bytes, const std::string& where);

void WriteCharacterFile(const std::filesystem::path& path, const CharacterFile& file);

std::uint32_t Crc32(std::string_view bytes);

}  // namespace agent
