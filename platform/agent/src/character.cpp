#include "agent/agent.h"
#include "character_impl.h"

namespace agent {

Character::Character(std::unique_ptr<CharacterImpl> impl) : impl_(std::move(impl)) {}
Character::~Character() = default;

const std::string& Character::Name() const {
  return impl_->Name();
}
void Character::Show() {
  impl_->Show();
}
void Character::Hide() {
  impl_->Hide();
}
bool Character::Visible() const {
  return impl_->Visible();
}
void Character::Speak(std::string_view utf8Text) {
  impl_->Speak(utf8Text);
}
void Character::Play(std::string_view animation) {
  impl_->Play(animation);
}
void Character::Stop() {
  impl_->Stop();
}
void Character::MoveTo(int x, int y) {
  impl_->MoveTo(x, y);
}

int Character::LanguageID() const {
  impl_->CheckLoaded();
  return impl_->LanguageID();
}

void Character::SetLanguageID(int id) {
  impl_->SetLanguageID(id);
}
std::vector<std::string> Character::AnimationNames() const {
  return impl_->AnimationNames();
}

bool Character::Busy() const {
  impl_->CheckLoaded();
  return impl_->Busy();
}

CharacterImpl& Character::Impl() const {
  return *impl_;
}

}  // namespace agent
