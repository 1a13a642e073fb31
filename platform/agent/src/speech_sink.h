#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace agent {

// A word as the synthesiser reports it: its byte range in the text and where
// its sound starts in the utterance.
struct WordMark {
  std::size_t start = 0;
  std::size_t length = 0;
  std::int64_t sample = 0;
};

// Receives each block of samples as it is made, with the words that start
// in it; returns false to end the synthesis early.
using SpeechSink = std::function<bool(std::span<const std::int16_t>, std::span<const WordMark>)>;

}  // namespace agent
