#include "wav_writer.h"

#include <cstdio>
#include <string>

namespace agent {

namespace {

void Put32(std::ofstream& out, std::uint32_t v) {
  const char b[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                     static_cast<char>(v >> 24)};
  out.write(b, 4);
}

void Put16(std::ofstream& out, std::uint16_t v) {
  const char b[2] = {static_cast<char>(v), static_cast<char>(v >> 8)};
  out.write(b, 2);
}

}  // namespace

WavWriter::WavWriter(const std::filesystem::path& path, int sampleRate)
    : path_(path), out_(path, std::ios::binary | std::ios::trunc) {
  out_.write("RIFF", 4);
  Put32(out_, 36);
  out_.write("WAVEfmt ", 8);
  Put32(out_, 16);
  Put16(out_, 1);  // PCM
  Put16(out_, 1);  // mono
  Put32(out_, static_cast<std::uint32_t>(sampleRate));
  Put32(out_, static_cast<std::uint32_t>(sampleRate) * 2);
  Put16(out_, 2);
  Put16(out_, 16);
  out_.write("data", 4);
  Put32(out_, 0);
}

WavWriter::~WavWriter() {
  Finish();
}

void WavWriter::Write(std::span<const std::int16_t> samples) {
  if (!out_ || finished_) return;
  for (auto s : samples) Put16(out_, static_cast<std::uint16_t>(s));
  dataBytes_ += static_cast<std::uint32_t>(samples.size_bytes());
}

void WavWriter::Finish() {
  if (finished_ || !out_) return;
  finished_ = true;
  out_.seekp(4);
  Put32(out_, 36 + dataBytes_);
  out_.seekp(40);
  Put32(out_, dataBytes_);
  out_.close();
}

std::optional<std::filesystem::path> NextWavPath(const std::filesystem::path& dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  int highest = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir, ec)) {
    const auto name = e.path().filename().string();
    if (name.size() == 8 && name.ends_with(".wav") && name.find_first_not_of("0123456789") == 4)
      highest = std::max(highest, std::stoi(name.substr(0, 4)));
  }
  if (ec || highest >= 9999) return std::nullopt;
  char name[16];
  std::snprintf(name, sizeof name, "%04d.wav", highest + 1);
  return dir / name;
}

}  // namespace agent
