#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "agent/agent.h"
#include "agent/character_file.h"
#include "testsupport/temp_dir.h"

namespace agenttest {

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

// A small character with 8x8 pictures and quick animations: "Wave" (two
// frames of 20 ms), "read", "Greet", "Explain", "Idle". No voices of its own.
agent::CharacterFile TinyCharacter(const std::string& name = "Tiny");
std::string SolidPng(int width, int height, unsigned rgba);

// Runs the event loop until `done` holds or the time is up; returns `done()`.
bool WaitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));
// Runs the event loop for a while.
void Pump(std::chrono::milliseconds time);

// Collects what the observers report while it lives.
class Recorder {
 public:
  Recorder();
  ~Recorder();
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;

  std::vector<agent::RequestRecord> requests;
  std::vector<agent::PlaybackRecord> playback;

  std::vector<agent::PlaybackRecord> Of(agent::PlaybackRecord::Kind kind) const;
  std::size_t Count(agent::PlaybackRecord::Kind kind) const { return Of(kind).size(); }
};

// A system folder in a temporary directory, with TAVRINEL_SYSTEM_DIR
// pointing at it for the life of the object.
class SystemFolder {
 public:
  SystemFolder();
  std::filesystem::path Chars() const { return dir_.path() / "msagent" / "chars"; }
  // Writes a character file into msagent/chars.
  std::filesystem::path Put(const std::string& fileName, const agent::CharacterFile& file) const;
  std::filesystem::path PutBytes(const std::string& fileName, const std::string& bytes) const;
  // Copies one of the characters the build draws.
  std::filesystem::path PutBuilt(const std::string& name) const;

 private:
  testsupport::TempDir dir_;
  ScopedEnv env_;
};

struct WavInfo {
  int sampleRate = 0;
  double seconds = 0;
  double rms = 0;  // of the samples scaled to -1..1
};
std::optional<WavInfo> ReadWav(const std::filesystem::path& path);

}  // namespace agenttest
