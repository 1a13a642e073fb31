#pragma once

#include <map>
#include <string>
#include <string_view>

#include "agent/character_file.h"
#include "speech_sink.h"

namespace agent {

// espeak-ng, which keeps one state per process. It lives in the speech
// engine process only: a text can crash the library, and that must not take
// a program down with it.
class Synthesizer {
 public:
  Synthesizer();
  Synthesizer(const Synthesizer&) = delete;
  Synthesizer& operator=(const Synthesizer&) = delete;

  bool Ready() const { return sampleRate_ > 0; }
  int SampleRate() const { return sampleRate_; }

  // Synthesises on the calling thread. Returns an empty string on success,
  // else what went wrong.
  std::string Synthesize(std::string_view utf8, const VoiceSpec& voice, const SpeechSink& sink);

  // The voice's phonemes for the text, for checking how a text is read.
  std::string Phonemes(std::string_view utf8, const VoiceSpec& voice);

 private:
  std::string SelectVoice(const VoiceSpec& voice);
  // The name espeak-ng takes for a voice or language; empty when none.
  static std::string Resolve(const std::string& voice);

  int sampleRate_ = 0;
  std::string selected_;                         // the voice espeak-ng has now
  std::map<std::string, std::string> resolved_;  // asked for -> espeak-ng's name
};

}  // namespace agent
