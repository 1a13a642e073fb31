#pragma once

// Loading the character named by the settings, for the programs that share
// one character choice. A character file that cannot be used must never stop
// a program: the user is told once, naming the file, and the program goes on
// with another character or without one.

#include <memory>
#include <string>
#include <string_view>

#include "agent/agent.h"
#include "suite/settings.h"

namespace characters {

inline constexpr std::string_view kDefaultCharacter = "Merlin";

// The character's file name as the collection looks it up.
std::string CharacterFile(std::string_view name);

// Loads `name` into `control` and sets it to speak Italian. On failure the
// collection is left as it was and the reason (naming the file) is returned
// in `failure`; the result is then null.
std::shared_ptr<agent::Character> TryLoad(agent::AgentControl& control, std::string_view name,
                                          std::string& failure);

// The character of a program's start: the one named by "Agent", else the
// default one, else none. Each failure is shown in one message box that
// names the file; the name actually loaded is returned in `loadedName`.
std::shared_ptr<agent::Character> LoadAtStart(agent::AgentControl& control,
                                              std::string& loadedName);

// The settings the programs share, under the suite's application and section.
using suite::ReadSetting;
using suite::WriteSetting;

}  // namespace characters
