#include <QCoreApplication>
#include <algorithm>

#include "agent/agent.h"
#include "base/ascii_case.h"
#include "character_impl.h"
#include "loaded_character.h"
#include "shell/folders.h"
#include "speech_player.h"

namespace agent {

namespace {

// The file as named, else a file in the same folder whose name differs only
// in case: the suite's files were named on a system that ignores case.
std::filesystem::path FindFile(const std::filesystem::path& wanted) {
  std::error_code ec;
  if (std::filesystem::exists(wanted, ec)) return wanted;
  const std::string name = wanted.filename().string();
  for (const auto& e : std::filesystem::directory_iterator(wanted.parent_path(), ec))
    if (base::EqualsIgnoreAsciiCase(e.path().filename().string(), name)) return e.path();
  return wanted;
}

}  // namespace

std::filesystem::path CharacterFolder() {
  return shell::SystemFolder() / "msagent" / "chars";
}

bool CharacterCollection::NameLess::operator()(std::string_view a, std::string_view b) const {
  return base::LessIgnoreAsciiCase{}(a, b);
}

CharacterCollection::CharacterCollection() = default;

CharacterCollection::~CharacterCollection() {
  for (auto& [name, character] : loaded_) character->Impl().Unload();
}

void CharacterCollection::Load(std::string_view name, std::string_view file) {
  if (name.empty()) throw Error("a character needs a name to be loaded under");
  if (loaded_.count(name)) throw Error("character " + std::string(name) + " is already loaded");
  if (!QCoreApplication::instance())
    throw Error("characters need a running QApplication on the GUI thread");
  const auto relative = shell::NativePath(file);
  const auto path = FindFile(relative.is_absolute() ? relative : CharacterFolder() / relative);
  auto data = LoadCharacter(path);
  // Starting the synthesiser now keeps the first speech quick.
  SpeechPlayer::Instance();
  auto impl = std::make_unique<CharacterImpl>(std::string(name), std::move(data), startPlace_);
  loaded_.emplace(std::string(name), std::make_shared<Character>(std::move(impl)));
}

std::shared_ptr<Character> CharacterCollection::operator()(std::string_view name) const {
  const auto it = loaded_.find(name);
  if (it == loaded_.end()) throw Error("character " + std::string(name) + " is not loaded");
  return it->second;
}

void CharacterCollection::Unload(std::string_view name) {
  const auto it = loaded_.find(name);
  if (it == loaded_.end()) return;
  const auto character = it->second;
  loaded_.erase(it);
  character->Impl().Unload();
}

std::vector<std::string> CharacterCollection::Names() const {
  std::vector<std::string> names;
  for (const auto& [name, character] : loaded_) names.push_back(name);
  return names;
}

}  // namespace agent
