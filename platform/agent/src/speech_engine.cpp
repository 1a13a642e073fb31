#include "speech_engine.h"

#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "engine_wire.h"

extern char** environ;

namespace agent {

namespace {

// An engine that says nothing for this long has hung: it is ended like one
// that crashed. Far longer than the library takes for a sentence.
constexpr int kAnswerTimeoutMs = 10000;

// The start of a text for a message, cut at a character boundary.
std::string Excerpt(std::string_view text) {
  constexpr std::size_t kMax = 40;
  if (text.size() <= kMax) return std::string(text);
  std::size_t end = kMax;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return std::string(text.substr(0, end)) + "...";
}

std::string HowItEnded(int status) {
  if (WIFSIGNALED(status)) {
    const char* name = sigabbrev_np(WTERMSIG(status));
    return "was killed by SIG" + std::string(name ? name : std::to_string(WTERMSIG(status)));
  }
  if (WIFEXITED(status)) return "ended with exit status " + std::to_string(WEXITSTATUS(status));
  return "ended";
}

}  // namespace

SpeechEngine::~SpeechEngine() {
  End();
}

std::filesystem::path SpeechEngine::ProgramPath() {
  if (const char* p = std::getenv("TAVRINEL_SPEECH_ENGINE"); p && *p) return p;
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return (ec ? std::filesystem::current_path(ec) : self.parent_path()) / "speech_engine";
}

std::string SpeechEngine::Start() {
  std::lock_guard lock(mutex_);
  return StartLocked();
}

int SpeechEngine::SampleRate() {
  std::lock_guard lock(mutex_);
  return sampleRate_;
}

std::string SpeechEngine::TellOnce(std::string message) {
  if (told_.insert(message).second) std::fprintf(stderr, "Tavrinel speech: %s\n", message.c_str());
  return message;
}

std::optional<int> SpeechEngine::End() {
  if (socket_ >= 0) ::close(socket_);
  socket_ = -1;
  sampleRate_ = 0;
  std::optional<int> status;
  if (pid_ > 0) {
    // One that has already died keeps the status it died with.
    ::kill(pid_, SIGKILL);
    int s = 0;
    pid_t got = -1;
    while ((got = ::waitpid(pid_, &s, 0)) < 0 && errno == EINTR) {
    }
    if (got == pid_) status = s;
  }
  pid_ = -1;
  return status;
}

std::string SpeechEngine::Lost(std::string_view what) {
  const auto status = End();
  const bool killedHere = status && WIFSIGNALED(*status) && WTERMSIG(*status) == SIGKILL;
  const std::string message = "the speech engine " + ProgramPath().string() + " " +
                              (status && !killedHere ? HowItEnded(*status) : "stopped answering") +
                              " " + std::string(what) + "; the next text starts a new one";
  std::fprintf(stderr, "Tavrinel speech: %s\n", message.c_str());
  return message;
}

std::string SpeechEngine::StartLocked() {
  if (socket_ >= 0) return {};
  const auto path = ProgramPath();
  if (::access(path.c_str(), X_OK) != 0) {
    const bool missing = errno == ENOENT || errno == ENOTDIR;
    return TellOnce(
        "the speech engine " + path.string() +
        (missing ? " is missing" : " cannot be run: " + std::string(strerrordesc_np(errno))) +
        "; the characters go on without sound");
  }
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
    return TellOnce("cannot make a socket for the speech engine: " +
                    std::string(strerrordesc_np(errno)));
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  // The engine's end becomes its standard input; every other descriptor of
  // ours is closed on exec.
  posix_spawn_file_actions_adddup2(&files, ends[1], 0);
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK);
  std::string program = path.string();
  char* argv[] = {program.data(), nullptr};
  pid_t pid = -1;
  const int rc = ::posix_spawn(&pid, program.c_str(), &files, &attr, argv, environ);
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&files);
  ::close(ends[1]);
  if (rc != 0) {
    ::close(ends[0]);
    return TellOnce("the speech engine " + program + " cannot be run: " +
                    std::string(strerrordesc_np(rc)) + "; the characters go on without sound");
  }
  socket_ = ends[0];
  pid_ = pid;
  const auto ready = wire::Receive(socket_, kAnswerTimeoutMs);
  const auto hello =
      ready && ready->type == wire::kReady ? wire::DecodeReady(ready->payload) : std::nullopt;
  if (!hello) return Lost("at its start");
  if (hello->first <= 0) {
    End();
    return TellOnce(hello->second);
  }
  sampleRate_ = hello->first;
  return {};
}

std::string SpeechEngine::Synthesize(std::string_view utf8, const VoiceSpec& voice,
                                     const SpeechSink& sink) {
  std::lock_guard lock(mutex_);
  if (auto problem = StartLocked(); !problem.empty()) return problem;
  const auto lost = [&] {
    return Lost("while speaking \"" + Excerpt(utf8) + "\" (" + std::to_string(utf8.size()) +
                " bytes); that text is lost");
  };
  if (!wire::Send(socket_, wire::kSpeak, wire::EncodeRequest(utf8, voice))) return lost();
  bool stopping = false;
  std::vector<WordMark> words;
  for (;;) {
    auto frame = wire::Receive(socket_, kAnswerTimeoutMs);
    if (!frame) return lost();
    if (frame->type == wire::kWord) {
      const auto word = wire::DecodeWord(frame->payload);
      if (!word) return lost();
      words.push_back(*word);
    } else if (frame->type == wire::kSamples) {
      // Copied out: the samples must be aligned for their type.
      block_.resize(frame->payload.size() / sizeof(std::int16_t));
      std::memcpy(block_.data(), frame->payload.data(), block_.size() * sizeof(std::int16_t));
      if (!stopping && !sink(block_, words)) {
        stopping = true;
        if (!wire::Send(socket_, wire::kCancel, {})) return lost();
      }
      words.clear();
    } else if (frame->type == wire::kEnd) {
      if (!stopping && !words.empty()) sink({}, words);
      return frame->payload;
    } else {
      return lost();
    }
  }
}

std::string SpeechEngine::Phonemes(std::string_view utf8, const VoiceSpec& voice) {
  std::lock_guard lock(mutex_);
  if (!StartLocked().empty()) return {};
  if (!wire::Send(socket_, wire::kPhonemes, wire::EncodeRequest(utf8, voice))) {
    Lost("while reading a text as phonemes");
    return {};
  }
  auto frame = wire::Receive(socket_, kAnswerTimeoutMs);
  if (!frame || frame->type != wire::kText) {
    Lost("while reading a text as phonemes");
    return {};
  }
  return std::move(frame->payload);
}

}  // namespace agent
