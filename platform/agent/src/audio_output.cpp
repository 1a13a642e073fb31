#include "audio_output.h"

#include <alsa/asoundlib.h>
#include <pulse/error.h>
#include <pulse/simple.h>

#include <chrono>
#include <cstdlib>
#include <string_view>
#include <thread>

namespace agent {

namespace {

using Clock = std::chrono::steady_clock;

// Keeps the sound no more than this far ahead of the listener, so that a
// stop is heard at once.
constexpr int kLatencyMs = 80;

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
    std::this_thread::sleep_until(PlayedAt(written_) - std::chrono::milliseconds(kLatencyMs));
    return true;
  }
  void Drain(const std::function<bool()>& cancelled) override {
    const auto end = PlayedAt(written_);
    while (Clock::now() < end && !cancelled())
      std::this_thread::sleep_for(
          std::min<Clock::duration>(std::chrono::milliseconds(10), end - Clock::now()));
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
    pa_sample_spec spec{PA_SAMPLE_S16LE, static_cast<std::uint32_t>(rate), 1};
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.tlength = static_cast<std::uint32_t>(rate * 2 * kLatencyMs / 1000);
    attr.prebuf = static_cast<std::uint32_t>(-1);
    attr.minreq = static_cast<std::uint32_t>(-1);
    attr.fragsize = static_cast<std::uint32_t>(-1);
    int err = 0;
    pa_simple* s = pa_simple_new(nullptr, "Tavrinel", PA_STREAM_PLAYBACK, nullptr, "speech", &spec,
                                 nullptr, &attr, &err);
    if (!s) return nullptr;
    return std::make_unique<PulseOutput>(s);
  }
  ~PulseOutput() override { pa_simple_free(stream_); }
  bool Write(std::span<const std::int16_t> samples) override {
    int err = 0;
    return pa_simple_write(stream_, samples.data(), samples.size_bytes(), &err) == 0;
  }
  void Drain(const std::function<bool()>&) override {
    // The server holds at most the latency's worth of sound.
    int err = 0;
    pa_simple_drain(stream_, &err);
  }
  void Discard() override {
    int err = 0;
    pa_simple_flush(stream_, &err);
  }
  std::string Kind() const override { return "pulse"; }

  explicit PulseOutput(pa_simple* s) : stream_(s) {}
  PulseOutput(const PulseOutput&) = delete;
  PulseOutput& operator=(const PulseOutput&) = delete;

 private:
  pa_simple* stream_;
};

void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

class AlsaOutput final : public AudioOutput {
 public:
  static std::unique_ptr<AudioOutput> Open(int rate) {
    // The library would print every failed probe on a machine without sound.
    snd_lib_error_set_handler(QuietAlsa);
    snd_pcm_t* pcm = nullptr;
    if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, 0) < 0) return nullptr;
    if (snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 1,
                           static_cast<unsigned>(rate), 1, kLatencyMs * 1000) < 0) {
      snd_pcm_close(pcm);
      return nullptr;
    }
    return std::make_unique<AlsaOutput>(pcm);
  }
  ~AlsaOutput() override { snd_pcm_close(pcm_); }
  bool Write(std::span<const std::int16_t> samples) override {
    while (!samples.empty()) {
      auto n = snd_pcm_writei(pcm_, samples.data(), samples.size());
      if (n < 0) n = snd_pcm_recover(pcm_, static_cast<int>(n), 1);
      if (n < 0) return false;
      samples = samples.subspan(static_cast<std::size_t>(n));
    }
    return true;
  }
  void Drain(const std::function<bool()>&) override {
    snd_pcm_drain(pcm_);
    snd_pcm_prepare(pcm_);
  }
  void Discard() override {
    snd_pcm_drop(pcm_);
    snd_pcm_prepare(pcm_);
  }
  std::string Kind() const override { return "alsa"; }

  explicit AlsaOutput(snd_pcm_t* pcm) : pcm_(pcm) {}
  AlsaOutput(const AlsaOutput&) = delete;
  AlsaOutput& operator=(const AlsaOutput&) = delete;

 private:
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
