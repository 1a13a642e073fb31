#include "agent_test_support.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace agenttest {

namespace {

// Tests never make a sound; they listen through the WAV files instead.
const bool kSilent = [] {
  setenv("TAVRINEL_AUDIO", "none", 0);
  return true;
}();

std::filesystem::path BuiltCharacters() {
  const char* bin = std::getenv("TAVRINEL_BIN_DIR");
  const std::filesystem::path dir = (bin && *bin) ? bin : AGENT_TEST_BIN_DIR;
  return dir / "system" / "msagent" / "chars";
}

}  // namespace

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
  if (const char* old = std::getenv(name)) old_ = old;
  setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
  if (old_)
    setenv(name_.c_str(), old_->c_str(), 1);
  else
    unsetenv(name_.c_str());
}

std::string SolidPng(int width, int height, unsigned rgba) {
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(QColor::fromRgba(rgba));
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return std::string(png.constData(), static_cast<std::size_t>(png.size()));
}

agent::CharacterFile TinyCharacter(const std::string& name) {
  agent::CharacterFile f;
  f.name = name;
  f.width = f.height = 8;
  f.images = {SolidPng(8, 8, 0xff0000ff), SolidPng(8, 8, 0xff00ff00), SolidPng(8, 8, 0xffff0000)};
  f.restImage = 0;
  f.talking = {{1, 40}, {0, 40}};
  f.animations = {{"Wave", {{1, 20}, {2, 20}}},
                  {"read", {{2, 30}}},
                  {"Greet", {{1, 20}}},
                  {"Explain", {{2, 20}}},
                  {"Idle", {{0, 20}, {1, 20}}}};
  return f;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

void Pump(std::chrono::milliseconds time) {
  WaitUntil([] { return false; }, time);
}

Recorder::Recorder() {
  agent::SetRequestObserver([this](const agent::RequestRecord& r) { requests.push_back(r); });
  agent::SetPlaybackObserver([this](const agent::PlaybackRecord& r) { playback.push_back(r); });
}

Recorder::~Recorder() {
  agent::SetRequestObserver({});
  agent::SetPlaybackObserver({});
}

std::vector<agent::PlaybackRecord> Recorder::Of(agent::PlaybackRecord::Kind kind) const {
  std::vector<agent::PlaybackRecord> out;
  for (const auto& r : playback)
    if (r.kind == kind) out.push_back(r);
  return out;
}

SystemFolder::SystemFolder() : env_("TAVRINEL_SYSTEM_DIR", dir_.path().string()) {
  std::filesystem::create_directories(Chars());
}

std::filesystem::path SystemFolder::Put(const std::string& fileName,
                                        const agent::CharacterFile& file) const {
  const auto path = Chars() / fileName;
  agent::WriteCharacterFile(path, file);
  return path;
}

std::filesystem::path SystemFolder::PutBytes(const std::string& fileName,
                                             const std::string& bytes) const {
  const auto path = Chars() / fileName;
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

std::filesystem::path SystemFolder::PutBuilt(const std::string& name) const {
  const auto from = BuiltCharacters() / (name + ".acs");
  const auto to = Chars() / (name + ".acs");
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
  return to;
}

std::optional<WavInfo> ReadWav(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0)
    return std::nullopt;
  auto u32 = [&](std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    return v;
  };
  WavInfo info;
  info.sampleRate = static_cast<int>(u32(24));
  const auto dataBytes = u32(40);
  if (bytes.size() != 44 + dataBytes || info.sampleRate <= 0) return std::nullopt;
  const std::size_t count = dataBytes / 2;
  double sum = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const auto lo = static_cast<unsigned char>(bytes[44 + 2 * i]);
    const auto hi = static_cast<unsigned char>(bytes[45 + 2 * i]);
    const auto s = static_cast<std::int16_t>(lo | (hi << 8));
    sum += (s / 32768.0) * (s / 32768.0);
  }
  info.seconds = static_cast<double>(count) / info.sampleRate;
  info.rms = count ? std::sqrt(sum / static_cast<double>(count)) : 0;
  return info;
}

}  // namespace agenttest
