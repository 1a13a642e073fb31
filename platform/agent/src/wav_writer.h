#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <span>

namespace agent {

// A mono 16-bit WAV file written as the samples come; the sizes in its header
// are filled in when it is finished or destroyed.
class WavWriter {
 public:
  WavWriter(const std::filesystem::path& path, int sampleRate);
  ~WavWriter();
  WavWriter(const WavWriter&) = delete;
  WavWriter& operator=(const WavWriter&) = delete;

  bool ok() const { return static_cast<bool>(out_); }
  const std::filesystem::path& path() const { return path_; }
  void Write(std::span<const std::int16_t> samples);
  void Finish();

 private:
  std::filesystem::path path_;
  std::ofstream out_;
  std::uint32_t dataBytes_ = 0;
  bool finished_ = false;
};

// The next free DIR/NNNN.wav, counting on after the highest number there
// (from 0001 in an empty folder). Creates the folder.
std::optional<std::filesystem::path> NextWavPath(const std::filesystem::path& dir);

}  // namespace agent
