#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

#include "agent/character_file.h"

namespace agent {

// A word as the synthesiser reports it: its byte range in the text and where
// its sound starts in the utterance.
struct WordMark {
  std::size_t start = 0;
  std::size_t length = 0;
  std::int64_t sample = 0;
};

// espeak-ng, which keeps one state per process: every call is serialised.
class Synthesizer {
 public:
  static Synthesizer& Instance();

  bool Ready() const { return sampleRate_ > 0; }
  int SampleRate() const { return sampleRate_; }

  // Receives each block of samples as it is made, with the words that start
  // in it; returns false to end the synthesis early.
  using Sink = std::function<bool(std::span<const std::int16_t>, std::span<const WordMark>)>;

  // Synthesises on the calling thread. Returns an empty string on success,
  // else what went wrong.
  std::string Synthesize(std::string_view utf8, const VoiceSpec& voice, const Sink& sink);

  // The voice's phonemes for the text, for checking how a text is read.
  std::string Phonemes(std::string_view utf8, const VoiceSpec& voice);

 private:
  Synthesizer();
  std::string SelectVoice(const VoiceSpec& voice);

  std::mutex mutex_;
  int sampleRate_ = 0;
};

}  // namespace agent
