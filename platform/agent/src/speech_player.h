#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "agent/character_file.h"
#include "speech_engine.h"

namespace agent {

class AudioOutput;

struct UtteranceResult {
  double audioSeconds = 0;
  std::string output;  // the kind of audio output that played it
  std::filesystem::path wav;
  std::string error;  // empty when the speech went as it should
};

// One text to speak. The callbacks run on the speech thread.
struct Utterance {
  std::string text;
  VoiceSpec voice;
  std::atomic<bool> cancelled{false};
  std::function<void(std::chrono::steady_clock::time_point)> onStarted;
  std::function<void(std::size_t start, std::size_t length)> onWord;
  std::function<void(const UtteranceResult&)> onFinished;
};

// The one speech thread of the process: it has each utterance synthesised
// by the speech engine and plays it in its own time, one after the other.
class SpeechPlayer {
 public:
  static SpeechPlayer& Instance();
  ~SpeechPlayer();

  void Enqueue(std::shared_ptr<Utterance> utterance);
  // Starts the speech engine on the speech thread unless it runs, so that
  // the first utterance does not wait for it.
  void Prepare();

 private:
  SpeechPlayer();
  void Run();
  void Speak(Utterance& u);

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::shared_ptr<Utterance>> pending_;
  std::shared_ptr<Utterance> current_;
  bool quit_ = false;
  bool prepare_ = false;
  SpeechEngine engine_;                  // speech thread only
  std::unique_ptr<AudioOutput> output_;  // speech thread only
  std::chrono::steady_clock::time_point retryOutputAt_{};
  std::thread thread_;
};

}  // namespace agent
