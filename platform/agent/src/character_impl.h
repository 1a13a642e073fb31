#pragma once

#include <QObject>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "agent/agent.h"
#include "loaded_character.h"

namespace agent {

class CharacterWindow;
class GuiMailbox;
struct Utterance;

// One loaded character: its data, its window and its request queue. Lives
// on the GUI thread; the speech thread reaches it only through its mailbox.
class CharacterImpl : public QObject {
 public:
  CharacterImpl(std::string name, LoadedCharacter data, int startPlace = 0);
  ~CharacterImpl() override;

  const std::string& Name() const { return name_; }
  bool Loaded() const { return loaded_; }
  // Throws Error unless the character is loaded.
  void CheckLoaded() const;

  void Show();
  void Hide();
  bool Visible() const;
  void Speak(std::string_view text);
  void Play(std::string_view animation);
  void Stop();
  void MoveTo(int x, int y);
  int LanguageID() const { return languageId_; }
  void SetLanguageID(int id);
  std::vector<std::string> AnimationNames() const;
  bool Busy() const { return current_.has_value() || !queue_.empty(); }

  // Stops, hides and lets go of the window; every later call throws.
  void Unload();

  // For tests that look at the window.
  CharacterWindow* Window() const { return window_.get(); }
  const LoadedCharacter& Data() const { return data_; }

 private:
  struct Request {
    PlaybackRecord::Request kind;
    std::string text;  // what to say, or the animation's name as the file has it
    int languageId = kItalian;
    VoiceSpec voice;
    const AnimationSpec* animation = nullptr;
    std::uint64_t id = 0;
  };

  void Record(RequestRecord::Kind kind, std::string text = {}, int x = 0, int y = 0) const;
  PlaybackRecord Playback(const Request& r, PlaybackRecord::Kind kind) const;
  void Pump();
  void Begin(Request& r);
  void Finish(std::uint64_t id, PlaybackRecord record);
  bool IsCurrent(std::uint64_t id) const { return current_ && current_->id == id; }
  void CancelCurrent();
  VoiceSpec VoiceFor(int languageId) const;

  std::string name_;
  LoadedCharacter data_;  // before the window, which refers to it
  std::unique_ptr<CharacterWindow> window_;
  std::shared_ptr<GuiMailbox> mailbox_;
  std::deque<Request> queue_;
  std::optional<Request> current_;
  std::shared_ptr<Utterance> utterance_;
  std::uint64_t nextId_ = 1;
  int languageId_ = kItalian;
  bool loaded_ = true;
};

// The voice a language speaks with when the character's file names none.
std::optional<VoiceSpec> DefaultVoice(int languageId);

// Observers, called on the GUI thread.
void NotifyRequest(const RequestRecord& record);
void NotifyPlayback(const PlaybackRecord& record);

}  // namespace agent
