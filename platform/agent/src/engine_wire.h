#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "agent/character_file.h"
#include "speech_sink.h"

// What the speech engine process and the speech thread say to each other
// over their socket. A frame is a type byte, a 32-bit payload length and the
// payload, in the machine's own byte order: both ends are the same build.
namespace agent::wire {

// Engine to player, once at start: the sample rate (0 when the synthesiser
// cannot work), then why not.
inline constexpr char kReady = 'R';
// Player to engine: a VoiceSpec and a text. Speak answers with Word and
// Samples frames and one End frame; Phonemes with one Text frame.
inline constexpr char kSpeak = 'S';
inline constexpr char kPhonemes = 'P';
// Player to engine while it speaks: end the synthesis early. The End frame
// follows as usual.
inline constexpr char kCancel = 'C';
inline constexpr char kSamples = 'A';
inline constexpr char kWord = 'W';
// The synthesis is over; the payload is what went wrong, empty when nothing.
inline constexpr char kEnd = 'E';
inline constexpr char kText = 'T';

// Far more than any block of samples or any text the suite speaks: a longer
// length means the stream is out of step.
inline constexpr std::uint32_t kMaxPayload = 64u << 20;

struct Frame {
  char type = 0;
  std::string payload;
};

// Writes the whole frame; false when the peer has gone.
bool Send(int fd, char type, std::string_view payload);
// Waits at most `timeoutMs` (forever when negative) for the frame to begin
// and for each later piece of it. Nothing when the peer closed, failed, fell
// silent or sent a frame out of step.
std::optional<Frame> Receive(int fd, int timeoutMs);
// True when a byte waits to be read, or the peer has closed.
bool Readable(int fd);

std::string EncodeRequest(std::string_view text, const VoiceSpec& voice);
// Nothing when the payload is too short for what it says it holds.
std::optional<std::pair<std::string, VoiceSpec>> DecodeRequest(std::string_view payload);

std::string EncodeWord(const WordMark& word);
std::optional<WordMark> DecodeWord(std::string_view payload);

std::string EncodeReady(int sampleRate, std::string_view problem);
std::optional<std::pair<int, std::string>> DecodeReady(std::string_view payload);

}  // namespace agent::wire
