#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

namespace agent {

// Where the speech's samples go: a sound server, a sound card, or nowhere at
// the pace a sound card would take them. Every write blocks about as long as
// the sound takes to play, so the speech keeps its own time either way.
class AudioOutput {
 public:
  virtual ~AudioOutput() = default;
  // Called before the first samples of an utterance.
  virtual void Begin() {}
  // Mono 16-bit samples. False when the device failed.
  virtual bool Write(std::span<const std::int16_t> samples) = 0;
  // Waits until the written sound has played, or until `cancelled` says so.
  virtual void Drain(const std::function<bool()>& cancelled) = 0;
  // Drops the sound not yet played.
  virtual void Discard() = 0;
  virtual std::string Kind() const = 0;
};

// PulseAudio when a server answers, else the ALSA default device, else the
// silent output. TAVRINEL_AUDIO=none asks for the silent output.
std::unique_ptr<AudioOutput> OpenAudioOutput(int sampleRate);
std::unique_ptr<AudioOutput> OpenSilentOutput(int sampleRate);

}  // namespace agent
