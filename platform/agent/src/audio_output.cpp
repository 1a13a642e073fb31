#include "audio_output.h"

#include <alsa/asoundlib.h>
#include <pulse/error.h>
#include <pulse/simple.h>

#include <chrono>
#include <cstdlib>
#include <string_view>
#include <thread>

#include "shell/shared_library.h"

namespace agent {

namespace {

// The sound libraries are opened by the speech thread when it first speaks,
// not by the loader before the first window: with the sound server's client
// come a dozen codec libraries that a program does not need to start.
// clang-format off
#define AGENT_PULSE_FUNCTIONS(X) \
  X(pa_simple_new) X(pa_simple_free) X(pa_simple_write) X(pa_simple_drain) X(pa_simple_flush)
#define AGENT_ALSA_FUNCTIONS(X) \
  X(snd_lib_error_set_handler) X(snd_pcm_open) X(snd_pcm_set_params) X(snd_pcm_close) \
  X(snd_pcm_writei) X(snd_pcm_recover) X(snd_pcm_drain) X(snd_pcm_prepare) X(snd_pcm_drop)
#define AGENT_SOUND_MEMBER(name) decltype(&::name) name = nullptr;
#define AGENT_SOUND_BIND(name) library.Bind(name, #name);

struct PulseLibrary {
  PulseLibrary() : library(TAVRINEL_PULSE_SIMPLE) { AGENT_PULSE_FUNCTIONS(AGENT_SOUND_BIND) }
  shell::SharedLibrary library;
  AGENT_PULSE_FUNCTIONS(AGENT_SOUND_MEMBER)
};

struct AlsaLibrary {
  AlsaLibrary() : library(TAVRINEL_ALSA) { AGENT_ALSA_FUNCTIONS(AGENT_SOUND_BIND) }
  shell::SharedLibrary library;
  AGENT_ALSA_FUNCTIONS(AGENT_SOUND_MEMBER)
};

#undef AGENT_SOUND_MEMBER
#undef AGENT_SOUND_BIND
// clang-format on

// Null when the library cannot be opened: the next output is tried.
const PulseLibrary* Pulse() {
  static const PulseLibrary pulse;
  return pulse.library.Loaded() ? &pulse : nullptr;
}

const AlsaLibrary* Alsa() {
  static const AlsaLibrary alsa;
  return alsa.library.Loaded() ? &alsa : nullptr;
}

using Clock = std::chrono::steady_clock;

// Keeps the sound no more than this far ahead of the listener, so that a
// stop is heard at once.
constexpr int kLatencyMs = 80;

// Nothing is heard, so the silent output lets the speech run up to this far
// ahead of its time and then waits until it is in time again: one wait for
// this much sound, where a sound card takes each piece in its own time.
// The words still follow the speech's pace, a few of them early at most.
constexpr auto kSilentAhead = std::chrono::milliseconds(150);

class SilentOutput final : public AudioOutput {
 public:
  explicit SilentOutput(int rate) : rate_(rate) {}
  void Begin() override {
    start_ = Clock::now();
    written_ = 0;
  }
  bool Write(std::span<const std::int16_t> samples) override {
    if (written_ == 0) start_ = Clock::now();
    written_ += static_cast<std::int64_t>(samples.size());
    const auto due = PlayedAt(written_);
    if (due - Clock::now() > kSilentAhead) std::this_thread::sleep_until(due);
    return true;
  }
  void Drain(const std::function<bool()>& cancelled) override {
    const auto end = PlayedAt(written_);
    while (Clock::now() < end && !cancelled())
      std::this_thread::sleep_for(std::min<Clock::duration>(kSilentAhead, end - Clock::now()));
  }
  void Discard() override { written_ = 0; }
  std::string Kind() const override { return "none"; }

 private:
  Clock::time_point PlayedAt(std::int64_t samples) const {
    return start_ + std::chrono::microseconds(samples * 1000000 / rate_);
  }
  int rate_;
  Clock::time_point start_ = Clock::now();
  std::int64_t written_ = 0;
};

class PulseOutput final : public AudioOutput {
 public:
  static std::unique_ptr<AudioOutput> Open(int rate) {
    const PulseLibrary* pa = Pulse();
    if (!pa) return nullptr;
    pa_sample_spec spec{PA_SAMPLE_S16LE, static_cast<std::uint32_t>(rate), 1};
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.tlength = static_cast<std::uint32_t>(rate * 2 * kLatencyMs / 1000);
    attr.prebuf = static_cast<std::uint32_t>(-1);
    attr.minreq = static_cast<std::uint32_t>(-1);
    attr.fragsize = static_cast<std::uint32_t>(-1);
    int err = 0;
    pa_simple* s = pa->pa_simple_new(nullptr, "Tavrinel", PA_STREAM_PLAYBACK, nullptr, "speech",
                                     &spec, nullptr, &attr, &err);
    if (!s) return nullptr;
    return std::make_unique<PulseOutput>(*pa, s);
  }
  ~PulseOutput() override { pa_.pa_simple_free(stream_); }
  bool Write(std::span<const std::int16_t> samples) override {
    int err = 0;
    return pa_.pa_simple_write(stream_, samples.data(), samples.size_bytes(), &err) == 0;
  }
  void Drain(const std::function<bool()>&) override {
    // The server holds at most the latency's worth of sound.
    int err = 0;
    pa_.pa_simple_drain(stream_, &err);
  }
  void Discard() override {
    int err = 0;
    pa_.pa_simple_flush(stream_, &err);
  }
  std::string Kind() const override { return "pulse"; }

  PulseOutput(const PulseLibrary& pa, pa_simple* s) : pa_(pa), stream_(s) {}
  PulseOutput(const PulseOutput&) = delete;
  PulseOutput& operator=(const PulseOutput&) = delete;

 private:
  const PulseLibrary& pa_;
  pa_simple* stream_;
};

void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

class AlsaOutput final : public AudioOutput {
 public:
  static std::unique_ptr<AudioOutput> Open(int rate) {
    const AlsaLibrary* snd = Alsa();
    if (!snd) return nullptr;
    // The library would print every failed probe on a machine without sound.
    snd->snd_lib_error_set_handler(QuietAlsa);
    snd_pcm_t* pcm = nullptr;
    if (snd->snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, 0) < 0) return nullptr;
    if (snd->snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 1,
                                static_cast<unsigned>(rate), 1, kLatencyMs * 1000) < 0) {
      snd->snd_pcm_close(pcm);
      return nullptr;
    }
    return std::make_unique<AlsaOutput>(*snd, pcm);
  }
  ~AlsaOutput() override { snd_.snd_pcm_close(pcm_); }
  bool Write(std::span<const std::int16_t> samples) override {
    while (!samples.empty()) {
      auto n = snd_.snd_pcm_writei(pcm_, samples.data(), samples.size());
      if (n < 0) n = snd_.snd_pcm_recover(pcm_, static_cast<int>(n), 1);
      if (n < 0) return false;
      samples = samples.subspan(static_cast<std::size_t>(n));
    }
    return true;
  }
  void Drain(const std::function<bool()>&) override {
    snd_.snd_pcm_drain(pcm_);
    snd_.snd_pcm_prepare(pcm_);
  }
  void Discard() override {
    snd_.snd_pcm_drop(pcm_);
    snd_.snd_pcm_prepare(pcm_);
  }
  std::string Kind() const override { return "alsa"; }

  AlsaOutput(const AlsaLibrary& snd, snd_pcm_t* pcm) : snd_(snd), pcm_(pcm) {}
  AlsaOutput(const AlsaOutput&) = delete;
  AlsaOutput& operator=(const AlsaOutput&) = delete;

 private:
  const AlsaLibrary& snd_;
  snd_pcm_t* pcm_;
};

}  // namespace

std::unique_ptr<AudioOutput> OpenSilentOutput(int sampleRate) {
  return std::make_unique<SilentOutput>(sampleRate);
}

std::unique_ptr<AudioOutput> OpenAudioOutput(int sampleRate) {
  const char* want = std::getenv("TAVRINEL_AUDIO");
  const std::string_view choice = want ? want : "";
  if (choice != "none") {
    if (choice != "alsa")
      if (auto out = PulseOutput::Open(sampleRate)) return out;
    if (choice != "pulse")
      if (auto out = AlsaOutput::Open(sampleRate)) return out;
  }
  return OpenSilentOutput(sampleRate);
}

}  // namespace agent
