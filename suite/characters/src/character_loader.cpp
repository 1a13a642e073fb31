#include "suite/character_loader.h"

#include "forms/app.h"

namespace characters {

std::string CharacterFile(std::string_view name) {
  return std::string(name) + ".acs";
}

std::shared_ptr<agent::Character> TryLoad(agent::AgentControl& control, std::string_view name,
                                          std::string& failure) {
  try {
    control.Characters().Load(name, CharacterFile(name));
  } catch (const agent::Error& e) {
    failure = e.what();
    return nullptr;
  }
  try {
    auto character = control.Characters()(name);
    character->SetLanguageID(agent::kItalian);
    return character;
  } catch (const agent::Error& e) {
    control.Characters().Unload(name);
    failure = e.what();
    return nullptr;
  }
}

std::shared_ptr<agent::Character> LoadAtStart(agent::AgentControl& control,
                                              std::string& loadedName) {
  const std::string wanted = ReadSetting("Agent", kDefaultCharacter);
  std::string failure;
  auto character = wanted.empty() ? nullptr : TryLoad(control, wanted, failure);
  if (character) {
    loadedName = wanted;
    return character;
  }
  std::string message = "The character \"" + wanted + "\" could not be loaded";
  if (!failure.empty()) message += ":\n" + failure;
  if (wanted != kDefaultCharacter) {
    std::string fallbackFailure;
    character = TryLoad(control, kDefaultCharacter, fallbackFailure);
    if (character) {
      loadedName = kDefaultCharacter;
      forms::MsgBox(message + "\n\n" + std::string(kDefaultCharacter) + " speaks instead.",
                    forms::vbExclamation);
      return character;
    }
  }
  loadedName.clear();
  forms::MsgBox(message + "\n\nThe program goes on without a character.", forms::vbExclamation);
  return nullptr;
}

}  // namespace characters
