#pragma once

#include <sys/types.h>

#include <filesystem>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "agent/character_file.h"
#include "speech_sink.h"

namespace agent {

// The speech engine process as a program sees it. The engine is started on
// first need and again after it died; a crash inside it costs the text being
// spoken, never the program. Calls are serialised; they wait for the engine,
// so they belong on the speech thread, never on the GUI thread.
class SpeechEngine {
 public:
  SpeechEngine() = default;
  ~SpeechEngine();
  SpeechEngine(const SpeechEngine&) = delete;
  SpeechEngine& operator=(const SpeechEngine&) = delete;

  // The engine's program: "speech_engine" beside the running program, or
  // what TAVRINEL_SPEECH_ENGINE names.
  static std::filesystem::path ProgramPath();

  // Starts the engine unless it runs. Returns an empty string when it runs,
  // else why it does not; each such reason is also written once to stderr.
  std::string Start();
  // The engine's sample rate; 0 until it has started.
  int SampleRate();

  // Speaks the text into the sink. Returns an empty string on success, else
  // what went wrong; when the engine died on the way, the sink has had the
  // sound made until then and the next call starts a new engine.
  std::string Synthesize(std::string_view utf8, const VoiceSpec& voice, const SpeechSink& sink);

  // The voice's phonemes for the text; empty when the engine cannot say.
  std::string Phonemes(std::string_view utf8, const VoiceSpec& voice);

 private:
  std::string StartLocked();
  // Ends the engine and reports why it failed, with how it ended.
  std::string Lost(std::string_view what);
  std::string TellOnce(std::string message);
  // Ends the engine; how it ended, when that is known.
  std::optional<int> End();

  std::mutex mutex_;
  int socket_ = -1;
  pid_t pid_ = -1;
  int sampleRate_ = 0;
  std::vector<std::int16_t> block_;
  std::set<std::string> told_;
};

}  // namespace agent
