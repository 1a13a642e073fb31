#include "engine_wire.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

namespace agent::wire {

namespace {

bool WaitReadable(int fd, int timeoutMs) {
  pollfd p{fd, POLLIN, 0};
  for (;;) {
    const int n = ::poll(&p, 1, timeoutMs);
    if (n > 0) return true;
    if (n == 0 || errno != EINTR) return false;
  }
}

bool ReadAll(int fd, char* to, std::size_t size, int timeoutMs) {
  while (size > 0) {
    // What has arrived is taken at once (the engine is mostly ahead of the
    // speech); only an empty socket is waited for.
    const auto n = ::recv(fd, to, size, MSG_DONTWAIT);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!WaitReadable(fd, timeoutMs)) return false;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    to += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

template <typename T>
void Put(std::string& out, T value) {
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// Reads a T at `at` and moves past it; false when the payload is too short.
template <typename T>
bool Take(std::string_view payload, std::size_t& at, T& value) {
  if (at > payload.size() || payload.size() - at < sizeof value) return false;
  std::memcpy(&value, payload.data() + at, sizeof value);
  at += sizeof value;
  return true;
}

}  // namespace

bool Send(int fd, char type, std::string_view payload) {
  std::string frame(1, type);
  Put(frame, static_cast<std::uint32_t>(payload.size()));
  frame += payload;
  std::string_view rest = frame;
  while (!rest.empty()) {
    // MSG_NOSIGNAL: a peer that died is an answer, not a reason to die too.
    const auto n = ::send(fd, rest.data(), rest.size(), MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    rest.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::optional<Frame> Receive(int fd, int timeoutMs) {
  char header[1 + sizeof(std::uint32_t)];
  if (!ReadAll(fd, header, sizeof header, timeoutMs)) return std::nullopt;
  std::uint32_t length = 0;
  std::memcpy(&length, header + 1, sizeof length);
  if (length > kMaxPayload) return std::nullopt;
  Frame frame{header[0], std::string(length, '\0')};
  if (!ReadAll(fd, frame.payload.data(), length, timeoutMs)) return std::nullopt;
  return frame;
}

bool Readable(int fd) {
  return WaitReadable(fd, 0);
}

std::string EncodeRequest(std::string_view text, const VoiceSpec& voice) {
  std::string out;
  Put(out, static_cast<std::int32_t>(voice.languageId));
  Put(out, static_cast<std::int32_t>(voice.pitch));
  Put(out, static_cast<std::int32_t>(voice.rate));
  Put(out, static_cast<std::uint32_t>(voice.voice.size()));
  out += voice.voice;
  out += text;
  return out;
}

std::optional<std::pair<std::string, VoiceSpec>> DecodeRequest(std::string_view payload) {
  std::size_t at = 0;
  std::int32_t language = 0, pitch = 0, rate = 0;
  std::uint32_t nameSize = 0;
  if (!Take(payload, at, language) || !Take(payload, at, pitch) || !Take(payload, at, rate) ||
      !Take(payload, at, nameSize) || payload.size() - at < nameSize)
    return std::nullopt;
  VoiceSpec voice{language, std::string(payload.substr(at, nameSize)), pitch, rate};
  return std::pair{std::string(payload.substr(at + nameSize)), std::move(voice)};
}

std::string EncodeWord(const WordMark& word) {
  std::string out;
  Put(out, static_cast<std::uint64_t>(word.start));
  Put(out, static_cast<std::uint64_t>(word.length));
  Put(out, word.sample);
  return out;
}

std::optional<WordMark> DecodeWord(std::string_view payload) {
  std::size_t at = 0;
  std::uint64_t start = 0, length = 0;
  std::int64_t sample = 0;
  if (!Take(payload, at, start) || !Take(payload, at, length) || !Take(payload, at, sample))
    return std::nullopt;
  return WordMark{static_cast<std::size_t>(start), static_cast<std::size_t>(length), sample};
}

std::string EncodeReady(int sampleRate, std::string_view problem) {
  std::string out;
  Put(out, static_cast<std::int32_t>(sampleRate));
  out += problem;
  return out;
}

std::optional<std::pair<int, std::string>> DecodeReady(std::string_view payload) {
  std::size_t at = 0;
  std::int32_t rate = 0;
  if (!Take(payload, at, rate)) return std::nullopt;
  return std::pair{static_cast<int>(rate), std::string(payload.substr(at))};
}

}  // namespace agent::wire
