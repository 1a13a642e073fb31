#include "settings_document.h"

#include <optional>
#include <utility>

#include "base/ascii_case.h"
#include "settings_text.h"

namespace forms::settings_detail {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool HasControlCharacter(std::string_view line) {
  for (const char ch : line) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c < 0x20 && c != '\t') || c == 0x7F) return true;
  }
  return false;
}

// Position of the first "=" that is not part of an escape, or npos.
std::size_t FindSeparator(std::string_view line) {
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\\') {
      ++i;
    } else if (line[i] == '=') {
      return i;
    }
  }
  return std::string_view::npos;
}

struct SectionName {
  std::string app;
  std::string section;
};

std::optional<SectionName> ParseSectionLine(std::string_view line) {
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') return std::nullopt;
  const std::string_view inner = line.substr(1, line.size() - 2);
  const auto slash = inner.find('\\');
  if (slash == std::string_view::npos) return std::nullopt;
  auto app = UnescapeName(inner.substr(0, slash));
  auto section = UnescapeName(inner.substr(slash + 1));
  if (!app || !section) return std::nullopt;
  return SectionName{std::move(*app), std::move(*section)};
}

struct KeyLine {
  std::string key;
  std::string value;
};

std::optional<KeyLine> ParseKeyLine(std::string_view line) {
  const auto eq = FindSeparator(line);
  if (eq == std::string_view::npos) return std::nullopt;
  auto key = Unescape(TrimBlanks(line.substr(0, eq)));
  auto value = Unescape(TrimBlanks(line.substr(eq + 1)));
  if (!key || !value) return std::nullopt;
  return KeyLine{std::move(*key), std::move(*value)};
}

}  // namespace

namespace {

// The application's length first, so that no text of either name can make
// two different pairs into one key.
std::string SectionKey(std::string_view app, std::string_view section) {
  return std::to_string(app.size()) + ":" + base::AsciiLowerCopy(app) +
         base::AsciiLowerCopy(section);
}

}  // namespace

const SettingsSection* SettingsDocument::FindSection(std::string_view app,
                                                     std::string_view section) const {
  const auto it = sectionIndex_.find(SectionKey(app, section));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

SettingsSection* SettingsDocument::FindSection(std::string_view app, std::string_view section) {
  const auto* found = std::as_const(*this).FindSection(app, section);
  return const_cast<SettingsSection*>(found);
}

const std::string* SettingsDocument::Find(std::string_view app, std::string_view section,
                                          std::string_view key) const {
  const auto* s = FindSection(app, section);
  if (!s) return nullptr;
  const auto it = s->index.find(base::AsciiLowerCopy(key));
  return it == s->index.end() ? nullptr : &s->entries[it->second].value;
}

bool SettingsDocument::Set(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view value) {
  auto* s = FindSection(app, section);
  if (!s) {
    sectionIndex_.emplace(SectionKey(app, section), sections_.size());
    s = &sections_.emplace_back();
    s->app = app;
    s->section = section;
  }
  auto [it, added] = s->index.try_emplace(base::AsciiLowerCopy(key), s->entries.size());
  if (added) {
    s->entries.push_back({std::string(key), std::string(value)});
    return true;
  }
  auto& stored = s->entries[it->second].value;
  if (stored == value) return false;
  stored = value;
  return true;
}

std::size_t SettingsDocument::KeyCount() const {
  std::size_t n = 0;
  for (const auto& s : sections_) n += s.entries.size();
  return n;
}

std::string SettingsDocument::Serialize() const {
  std::string out;
  out.append(kFormatLine).append("\n");
  for (const auto& s : sections_) {
    out.append("\n[").append(EscapeName(s.app)).append("\\");
    out.append(EscapeName(s.section)).append("]\n");
    for (const auto& e : s.entries) {
      out.append(EscapeKey(e.key)).append("=").append(EscapeValue(e.value)).append("\n");
    }
  }
  return out;
}

ParsedSettings ParseSettings(std::string_view text) {
  ParsedSettings result;
  if (text.empty()) return result;
  if (text.starts_with(kBom)) text.remove_prefix(kBom.size());

  const auto noteProblem = [&](std::string problem) {
    if (result.problem.empty()) result.problem = std::move(problem);
  };

  // Every line we write ends with a newline, so a file that does not was
  // cut short: its last line cannot be trusted.
  if (!text.ends_with('\n')) {
    noteProblem("the file ends in the middle of a line");
    const auto lastNewline = text.rfind('\n');
    text = lastNewline == std::string_view::npos ? std::string_view{}
                                                 : text.substr(0, lastNewline + 1);
  }

  std::optional<SectionName> current;
  bool inUnreadableSection = false;
  std::size_t lineNumber = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto end = text.find('\n', pos);
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNumber;
    if (line.ends_with('\r')) line.remove_suffix(1);

    const auto bad = [&](std::string_view why) {
      noteProblem("line " + std::to_string(lineNumber) + ": " + std::string(why));
    };
    if (!IsValidUtf8(line)) {
      bad("not UTF-8 text");
      continue;
    }
    if (HasControlCharacter(line)) {
      bad("control characters");
      continue;
    }
    if (lineNumber == 1) {
      if (TrimBlanks(line) == kFormatLine) continue;
      // A file written by hand often lacks the mark: every line of it that
      // reads is still the user's.
      bad("the first line does not mark a Tavrinel settings file");
    }

    line = TrimBlanks(line);
    if (line.empty() || line.front() == '#' || line.front() == ';') continue;
    if (line.front() == '[') {
      current = ParseSectionLine(line);
      inUnreadableSection = !current;
      if (inUnreadableSection) bad("a section line that cannot be read");
      continue;
    }
    auto entry = ParseKeyLine(line);
    if (!entry) {
      bad("neither a section, a key, a comment nor blank");
      continue;
    }
    // Keys under a section line that could not be read belong to an
    // unknown place: they are skipped rather than filed under another.
    if (!current) {
      if (!inUnreadableSection) bad("a key outside any section");
      continue;
    }
    result.document.Set(current->app, current->section, entry->key, entry->value);
  }
  return result;
}

}  // namespace forms::settings_detail
