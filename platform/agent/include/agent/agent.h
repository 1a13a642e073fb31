#pragma once

// The speaking character service: characters loaded from character files,
// each with its own window, speech balloon and request queue.
//
// Every call is made on the GUI thread, where a QApplication runs its event
// loop; every observable effect (animations, balloons, observer calls) also
// happens there. Speech is synthesised and played on a worker thread.

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace agent {

// Language ids the service speaks.
inline constexpr int kItalian = 1040;
inline constexpr int kBritishEnglish = 2057;

class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class CharacterImpl;

class Character {
 public:
  explicit Character(std::unique_ptr<CharacterImpl> impl);
  ~Character();
  Character(const Character&) = delete;
  Character& operator=(const Character&) = delete;

  // The name the character was loaded under. It stays readable after the
  // character is unloaded; every other call then throws Error.
  const std::string& Name() const;

  // Animate the window in or out briefly; at once, not queued.
  void Show();
  void Hide();
  bool Visible() const;

  // Queued requests: they return at once and play one after the other.
  // A blank text is a request that ends at once, without sound.
  void Speak(std::string_view utf8Text);
  // Names compare without regard to case; an unknown name throws Error.
  void Play(std::string_view animation);
  // Ends the current request and drops the queued ones.
  void Stop();

  // Screen pixels, top-left corner of the character window; at once.
  void MoveTo(int x, int y);

  // The language of the requests made from now on: kItalian (the default)
  // or kBritishEnglish. Any other id throws Error.
  int LanguageID() const;
  void SetLanguageID(int id);

  // The character's animation names as its file lists them.
  std::vector<std::string> AnimationNames() const;

  // True while a request plays or waits.
  bool Busy() const;

  CharacterImpl& Impl() const;

 private:
  std::unique_ptr<CharacterImpl> impl_;
};

// What a speaking control's `Characters` is.
class CharacterCollection {
 public:
  CharacterCollection();
  ~CharacterCollection();
  CharacterCollection(const CharacterCollection&) = delete;
  CharacterCollection& operator=(const CharacterCollection&) = delete;

  // `file` is the name followed by ".acs", without a folder: it is looked up
  // in <system folder>/msagent/chars. Throws Error naming the full path when
  // the file is missing, truncated or damaged, and when `name` is already
  // loaded; a failed load leaves nothing behind.
  void Load(std::string_view name, std::string_view file);
  // Throws Error when no character of that name is loaded.
  std::shared_ptr<Character> operator()(std::string_view name) const;
  // Stops and hides the character, even in the middle of a speech; every
  // later call on it throws Error. Nothing happens when it is not loaded.
  void Unload(std::string_view name);

  std::vector<std::string> Names() const;

  // Where the characters loaded from now on first stand: the place-th spot
  // along the foot of the screen, counted from the right. Programs that run
  // together each take a spot of their own; the spots lie so far apart that
  // the balloon of one never covers the character on another.
  void StartPlace(int place) { startPlace_ = place; }

 private:
  struct NameLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  std::map<std::string, std::shared_ptr<Character>, NameLess> loaded_;
  int startPlace_ = 0;
};

// The folder the character files are looked up in.
std::filesystem::path CharacterFolder();

// One per form that speaks.
class AgentControl {
 public:
  CharacterCollection& Characters() { return characters_; }

 private:
  CharacterCollection characters_;
};

// Test seam: every request as it is made, with the language id that applies
// to it.
struct RequestRecord {
  std::string character;
  enum class Kind { Show, Hide, Speak, Play, Stop, MoveTo } kind;
  std::string text;  // the spoken text or the animation name
  int languageId = kItalian;
  int x = 0, y = 0;
};
// An empty function removes the observer.
void SetRequestObserver(std::function<void(const RequestRecord&)> observer);

// Test and measuring seam: what the queue actually plays, as it plays it.
struct PlaybackRecord {
  std::string character;
  enum class Kind { Started, Word, Finished } kind;
  enum class Request { Speak, Play } request;
  std::string text;  // the spoken text or the animation name
  int languageId = kItalian;
  std::string voice;  // the speech voice used (Speak)
  // Speak, Started: when the first audio sample went to the output (taken on
  // the synthesis thread). Otherwise when the event happened.
  std::chrono::steady_clock::time_point at;
  bool stopped = false;       // Finished: ended early by Stop or Unload
  double audioSeconds = 0;    // Speak, Finished: length of the audio produced
  std::string audioOutput;    // Speak, Finished: "pulse", "alsa" or "none"
  std::filesystem::path wav;  // Speak, Finished: the file written, if any
  std::size_t wordStart = 0;  // Word: byte range of the word in the text
  std::size_t wordLength = 0;
};
void SetPlaybackObserver(std::function<void(const PlaybackRecord&)> observer);

}  // namespace agent
