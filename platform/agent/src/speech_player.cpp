#include "speech_player.h"

#include <cstdlib>
#include <deque>
#include <limits>
#include <optional>
#include <utility>

#include "audio_output.h"
#include "wav_writer.h"

namespace agent {

namespace {

using Clock = std::chrono::steady_clock;

// How long to go on silently before asking for a sound device again.
constexpr auto kOutputRetry = std::chrono::seconds(10);

std::optional<std::filesystem::path> WavFolder() {
  const char* dir = std::getenv("TAVRINEL_SPEECH_WAV");
  if (!dir || !*dir) return std::nullopt;
  return std::filesystem::path(dir);
}

}  // namespace

SpeechPlayer& SpeechPlayer::Instance() {
  static SpeechPlayer instance;
  return instance;
}

SpeechPlayer::SpeechPlayer() : thread_([this] { Run(); }) {}

SpeechPlayer::~SpeechPlayer() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
    for (auto& u : pending_) u->cancelled = true;
    if (current_) current_->cancelled = true;
  }
  wake_.notify_all();
  thread_.join();
}

void SpeechPlayer::Enqueue(std::shared_ptr<Utterance> utterance) {
  {
    std::lock_guard lock(mutex_);
    pending_.push_back(std::move(utterance));
  }
  wake_.notify_one();
}

void SpeechPlayer::Prepare() {
  {
    std::lock_guard lock(mutex_);
    prepare_ = true;
  }
  wake_.notify_one();
}

void SpeechPlayer::Run() {
  for (;;) {
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return quit_ || prepare_ || !pending_.empty(); });
      if (quit_) return;
      if (std::exchange(prepare_, false) && pending_.empty()) {
        lock.unlock();
        engine_.Start();
        continue;
      }
      current_ = std::move(pending_.front());
      pending_.pop_front();
    }
    if (!current_->cancelled) Speak(*current_);
    std::lock_guard lock(mutex_);
    current_.reset();
  }
}

void SpeechPlayer::Speak(Utterance& u) {
  UtteranceResult result;
  if (auto problem = engine_.Start(); !problem.empty()) {
    result.error = std::move(problem);
    result.output = "none";
    if (u.onFinished) u.onFinished(result);
    return;
  }
  const int rate = engine_.SampleRate();
  const auto now = Clock::now();
  if (!output_ || (output_->Kind() == "none" && now >= retryOutputAt_)) {
    output_ = OpenAudioOutput(rate);
    if (output_->Kind() == "none") retryOutputAt_ = now + kOutputRetry;
  }
  AudioOutput* out = output_.get();
  std::unique_ptr<AudioOutput> fallback;
  out->Begin();

  std::optional<WavWriter> wav;
  if (auto dir = WavFolder())
    if (auto path = NextWavPath(*dir)) wav.emplace(*path, rate);

  std::int64_t written = 0;
  bool started = false;
  std::deque<WordMark> words;
  // On a sound card, a stop waits for the piece being written: a twentieth
  // of a second.
  const auto longestPiece = static_cast<std::size_t>(std::max(1, rate / 20));
  auto announceWords = [&](std::int64_t upTo) {
    while (!words.empty() && words.front().sample <= upTo) {
      if (u.onWord) u.onWord(words.front().start, words.front().length);
      words.pop_front();
    }
  };
  const auto sink = [&](std::span<const std::int16_t> samples,
                        std::span<const WordMark> marks) -> bool {
    words.insert(words.end(), marks.begin(), marks.end());
    if (wav) wav->Write(samples);
    // A piece ends where the next word begins, so that each word is
    // announced as its sound begins, and is short, so that a stop is heard
    // at once. Every piece is a wait for the output: no more of them than
    // that asks for.
    for (std::size_t i = 0; i < samples.size();) {
      if (u.cancelled) return false;
      announceWords(written);
      std::size_t n = std::min(longestPiece, samples.size() - i);
      if (!words.empty() && words.front().sample > written)
        n = std::min(n, static_cast<std::size_t>(words.front().sample - written));
      const auto part = samples.subspan(i, n);
      i += n;
      if (!started) {
        started = true;
        if (u.onStarted) u.onStarted(Clock::now());
      }
      if (!out->Write(part)) {
        // The device went away: finish this speech silently in its own time
        // and look for a device again next time.
        fallback = OpenSilentOutput(rate);
        fallback->Begin();
        out = fallback.get();
        output_.reset();
        out->Write(part);
      }
      written += static_cast<std::int64_t>(part.size());
    }
    return !u.cancelled;
  };
  result.error = engine_.Synthesize(u.text, u.voice, sink);
  if (!u.cancelled) {
    announceWords(std::numeric_limits<std::int64_t>::max());
    out->Drain([&u] { return u.cancelled.load(); });
  }
  if (u.cancelled) out->Discard();
  if (wav) {
    wav->Finish();
    result.wav = wav->path();
  }
  result.audioSeconds = static_cast<double>(written) / rate;
  result.output = out->Kind();
  if (u.onFinished) u.onFinished(result);
}

}  // namespace agent
