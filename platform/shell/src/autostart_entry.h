#pragma once

// Freedesktop autostart entries: writing a program's path into the Exec line
// of a desktop entry and reading it back, with the quoting and escaping the
// Desktop Entry format asks for.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace shell::autostart {

// $XDG_CONFIG_HOME/autostart (default ~/.config/autostart).
std::filesystem::path Folder();

// The Exec value (before the file's own string escaping) that starts the
// program at `path` with no arguments: the path quoted, with '"', '`', '$'
// and '\' escaped and '%' doubled.
std::string QuoteExecArgument(std::string_view path);

// The whole text of an entry named `name` that starts `path`.
std::string EntryText(std::string_view name, std::string_view path);

// The program path of an entry's text, nullopt when it has no Exec line
// whose first argument can be read.
std::optional<std::string> ProgramOfEntry(std::string_view text);

}  // namespace shell::autostart
