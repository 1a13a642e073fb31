#pragma once

// The settings file in memory: sections in the order they were first
// written, each with its keys in the order they were first written.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace forms::settings_detail {

// The first line of every store; it tells our files from anything else.
inline constexpr std::string_view kFormatLine = "# Tavrinel settings, format 1";

struct SettingsEntry {
  std::string key;
  std::string value;
};

struct SettingsSection {
  std::string app;
  std::string section;
  std::vector<SettingsEntry> entries;
  // Folded key -> position in entries, so that a store of many keys still
  // loads in linear time.
  std::unordered_map<std::string, std::size_t> index;
};

class SettingsDocument {
 public:
  const std::string* Find(std::string_view app, std::string_view section,
                          std::string_view key) const;
  // Replaces the value of an existing key (keeping its first spelling) or
  // appends the key. Returns whether the document changed.
  bool Set(std::string_view app, std::string_view section, std::string_view key,
           std::string_view value);

  const std::vector<SettingsSection>& sections() const { return sections_; }
  std::size_t KeyCount() const;

  std::string Serialize() const;

 private:
  SettingsSection* FindSection(std::string_view app, std::string_view section);
  const SettingsSection* FindSection(std::string_view app, std::string_view section) const;

  std::vector<SettingsSection> sections_;
  // Folded (application, section) -> position in sections_, so that a file
  // of many sections still loads in linear time.
  std::unordered_map<std::string, std::size_t> sectionIndex_;
};

struct ParsedSettings {
  SettingsDocument document;
  // Empty for a well-formed file. Otherwise what is wrong with it; the
  // document then holds every line that could be read safely, whatever the
  // first line.
  std::string problem;

  bool damaged() const { return !problem.empty(); }
};

// An empty text is a valid, empty store.
ParsedSettings ParseSettings(std::string_view text);

}  // namespace forms::settings_detail
