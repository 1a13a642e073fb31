#include "character_impl.h"

#include <QString>
#include <chrono>

#include "base/ascii_case.h"
#include "character_window.h"
#include "gui_mailbox.h"
#include "speech_player.h"

namespace agent {

namespace {

bool IsBlank(std::string_view text) {
  return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// UTF-16 index of a byte offset, for the balloon.
int Utf16Index(const std::string& text, std::size_t byteOffset) {
  return static_cast<int>(
      QString::fromUtf8(text.data(), static_cast<qsizetype>(std::min(byteOffset, text.size())))
          .size());
}

}  // namespace

std::optional<VoiceSpec> DefaultVoice(int languageId) {
  switch (languageId) {
    case kItalian:
      return VoiceSpec{kItalian, "it", 50, 165};
    case kBritishEnglish:
      return VoiceSpec{kBritishEnglish, "en-gb", 50, 165};
    default:
      return std::nullopt;
  }
}

CharacterImpl::CharacterImpl(std::string name, LoadedCharacter data, int startPlace)
    : name_(std::move(name)),
      data_(std::move(data)),
      window_(std::make_unique<CharacterWindow>(data_, startPlace)),
      mailbox_(std::make_shared<GuiMailbox>(this)) {
  // A character that is loaded is soon asked to speak.
  SpeechPlayer::Instance().Prepare();
}

CharacterImpl::~CharacterImpl() {
  mailbox_->Close();
  if (utterance_) utterance_->cancelled = true;
}

void CharacterImpl::CheckLoaded() const {
  if (!loaded_) throw Error("character " + name_ + " is not loaded");
}

void CharacterImpl::Record(RequestRecord::Kind kind, std::string text, int x, int y) const {
  NotifyRequest(RequestRecord{name_, kind, std::move(text), languageId_, x, y});
}

void CharacterImpl::Show() {
  CheckLoaded();
  Record(RequestRecord::Kind::Show);
  window_->AnimateIn();
}

void CharacterImpl::Hide() {
  CheckLoaded();
  Record(RequestRecord::Kind::Hide);
  window_->AnimateOut();
}

bool CharacterImpl::Visible() const {
  CheckLoaded();
  return window_->Shown();
}

void CharacterImpl::MoveTo(int x, int y) {
  CheckLoaded();
  Record(RequestRecord::Kind::MoveTo, {}, x, y);
  window_->MoveTo(x, y);
}

void CharacterImpl::SetLanguageID(int id) {
  CheckLoaded();
  if (!DefaultVoice(id))
    throw Error("character " + name_ + ": language id " + std::to_string(id) +
                " is not spoken (1040 Italian, 2057 British English)");
  languageId_ = id;
}

VoiceSpec CharacterImpl::VoiceFor(int languageId) const {
  for (const auto& v : data_.File().voices)
    if (v.languageId == languageId) return v;
  return *DefaultVoice(languageId);
}

std::vector<std::string> CharacterImpl::AnimationNames() const {
  CheckLoaded();
  std::vector<std::string> names;
  for (const auto& a : data_.File().animations) names.push_back(a.name);
  return names;
}

void CharacterImpl::Speak(std::string_view text) {
  CheckLoaded();
  Record(RequestRecord::Kind::Speak, std::string(text));
  Request r{PlaybackRecord::Request::Speak, std::string(text), languageId_,
            VoiceFor(languageId_),          nullptr,           nextId_++};
  queue_.push_back(std::move(r));
  Pump();
}

void CharacterImpl::Play(std::string_view animation) {
  CheckLoaded();
  const AnimationSpec* found = nullptr;
  for (const auto& a : data_.File().animations)
    if (base::EqualsIgnoreAsciiCase(a.name, animation)) found = &a;
  if (!found)
    throw Error("character " + name_ + " has no animation \"" + std::string(animation) + "\"");
  Record(RequestRecord::Kind::Play, std::string(animation));
  queue_.push_back(
      Request{PlaybackRecord::Request::Play, found->name, languageId_, {}, found, nextId_++});
  Pump();
}

void CharacterImpl::Stop() {
  CheckLoaded();
  Record(RequestRecord::Kind::Stop);
  queue_.clear();
  CancelCurrent();
}

void CharacterImpl::CancelCurrent() {
  if (utterance_) {
    utterance_->cancelled = true;
    utterance_.reset();
  }
  window_->StopAll();
  if (current_) {
    auto record = Playback(*current_, PlaybackRecord::Kind::Finished);
    record.stopped = true;
    current_.reset();
    NotifyPlayback(record);
  }
}

void CharacterImpl::Unload() {
  if (!loaded_) return;
  queue_.clear();
  CancelCurrent();
  mailbox_->Close();
  window_->HideNow();
  loaded_ = false;
}

PlaybackRecord CharacterImpl::Playback(const Request& r, PlaybackRecord::Kind kind) const {
  PlaybackRecord p;
  p.character = name_;
  p.kind = kind;
  p.request = r.kind;
  p.text = r.text;
  p.languageId = r.languageId;
  p.voice = r.voice.voice;
  p.at = std::chrono::steady_clock::now();
  return p;
}

void CharacterImpl::Pump() {
  // Requests made from inside an observer wait for the current one to end.
  while (!current_ && !queue_.empty() && loaded_) {
    current_ = std::move(queue_.front());
    queue_.pop_front();
    Begin(*current_);
  }
}

void CharacterImpl::Begin(Request& r) {
  const auto id = r.id;
  if (r.kind == PlaybackRecord::Request::Play) {
    NotifyPlayback(Playback(r, PlaybackRecord::Kind::Started));
    window_->PlayFrames(r.animation->frames, [this, id] {
      if (IsCurrent(id)) Finish(id, Playback(*current_, PlaybackRecord::Kind::Finished));
    });
    return;
  }

  if (IsBlank(r.text)) {
    // Nothing to say: the request ends on the next pass of the event loop.
    NotifyPlayback(Playback(r, PlaybackRecord::Kind::Started));
    QMetaObject::invokeMethod(
        this,
        [this, id] {
          if (IsCurrent(id)) Finish(id, Playback(*current_, PlaybackRecord::Kind::Finished));
        },
        Qt::QueuedConnection);
    return;
  }

  window_->BeginSpeaking(QString::fromStdString(r.text));
  auto u = std::make_shared<Utterance>();
  u->text = r.text;
  u->voice = r.voice;
  std::weak_ptr<GuiMailbox> box = mailbox_;
  u->onStarted = [this, box, id](std::chrono::steady_clock::time_point at) {
    if (auto b = box.lock())
      b->Post([this, id, at] {
        if (!IsCurrent(id)) return;
        auto record = Playback(*current_, PlaybackRecord::Kind::Started);
        record.at = at;
        NotifyPlayback(record);
      });
  };
  u->onWord = [this, box, id](std::size_t start, std::size_t length) {
    if (auto b = box.lock())
      b->Post([this, id, start, length] {
        if (!IsCurrent(id)) return;
        window_->SpokenUpTo(Utf16Index(current_->text, start + length));
        auto record = Playback(*current_, PlaybackRecord::Kind::Word);
        record.wordStart = start;
        record.wordLength = length;
        NotifyPlayback(record);
      });
  };
  u->onFinished = [this, box, id](const UtteranceResult& result) {
    if (auto b = box.lock())
      b->Post([this, id, result] {
        if (!IsCurrent(id)) return;
        auto record = Playback(*current_, PlaybackRecord::Kind::Finished);
        record.audioSeconds = result.audioSeconds;
        record.audioOutput = result.output;
        record.wav = result.wav;
        utterance_.reset();
        window_->EndSpeaking();
        Finish(id, record);
      });
  };
  utterance_ = u;
  SpeechPlayer::Instance().Enqueue(std::move(u));
}

void CharacterImpl::Finish(std::uint64_t id, PlaybackRecord record) {
  if (!IsCurrent(id)) return;
  current_.reset();
  NotifyPlayback(record);
  Pump();
}

}  // namespace agent
