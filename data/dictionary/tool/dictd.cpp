#include "dictd.h"

#include <zlib.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace dictionary {

namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(path.string() + ": cannot read the file");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Blanks at both ends off, runs of blanks as one, typographic hyphens as "-".
std::string Tidy(std::string_view s) {
  std::string out;
  bool blank = false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    // U+2010 HYPHEN and U+2011 NON-BREAKING HYPHEN are E2 80 90 / E2 80 91.
    if (s.substr(i, 2) == "\xE2\x80" && i + 2 < s.size() &&
        (s[i + 2] == '\x90' || s[i + 2] == '\x91')) {
      if (blank && !out.empty()) out += ' ';
      blank = false;
      out += '-';
      i += 2;
      continue;
    }
    const char c = s[i];
    if (c == ' ' || c == '\t') {
      blank = true;
      continue;
    }
    if (blank && !out.empty()) out += ' ';
    blank = false;
    out += c;
  }
  return out;
}

}  // namespace

std::uint64_t DecodeNumber(std::string_view digits) {
  static constexpr std::string_view kAlphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  if (digits.empty()) throw std::runtime_error("an empty number");
  std::uint64_t value = 0;
  for (char c : digits) {
    const auto digit = kAlphabet.find(c);
    if (digit == std::string_view::npos)
      throw std::runtime_error("'" + std::string(digits) + "' is no base 64 number");
    value = value * 64 + digit;
  }
  return value;
}

std::vector<IndexEntry> ParseIndex(std::string_view text) {
  std::vector<IndexEntry> entries;
  int lineNo = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNo;
    if (line.empty()) continue;
    const auto tab1 = line.find('\t');
    const auto tab2 = tab1 == std::string_view::npos ? tab1 : line.find('\t', tab1 + 1);
    if (tab2 == std::string_view::npos)
      throw std::runtime_error("index line " + std::to_string(lineNo) + ": not three fields");
    IndexEntry e;
    e.headword = Tidy(line.substr(0, tab1));
    try {
      e.offset = DecodeNumber(line.substr(tab1 + 1, tab2 - tab1 - 1));
      e.length = DecodeNumber(line.substr(tab2 + 1));
    } catch (const std::runtime_error& error) {
      throw std::runtime_error("index line " + std::to_string(lineNo) + ": " + error.what());
    }
    // The header entries describe the dictionary itself.
    if (e.headword.empty() || e.headword.rfind("00database", 0) == 0 ||
        e.headword.rfind("00-database", 0) == 0)
      continue;
    entries.push_back(std::move(e));
  }
  return entries;
}

std::string Gunzip(const std::filesystem::path& file) {
  gzFile in = gzopen(file.c_str(), "rb");
  if (!in) throw std::runtime_error(file.string() + ": cannot read the file");
  std::string text;
  char buffer[1 << 16];
  int n;
  while ((n = gzread(in, buffer, sizeof buffer)) > 0)
    text.append(buffer, static_cast<std::size_t>(n));
  int error = Z_OK;
  const char* message = gzerror(in, &error);
  const std::string what = message ? message : "";
  gzclose(in);
  if (n < 0 || (error != Z_OK && error != Z_STREAM_END))
    throw std::runtime_error(file.string() + ": damaged compressed file (" + what + ")");
  return text;
}

std::vector<std::string> Translations(std::string_view entryText) {
  std::vector<std::string> out;
  std::size_t pos = entryText.find('\n');  // past the headword line
  while (pos != std::string_view::npos && pos < entryText.size()) {
    ++pos;
    std::size_t end = entryText.find('\n', pos);
    if (end == std::string_view::npos) end = entryText.size();
    std::string_view line = entryText.substr(pos, end - pos);
    pos = end;
    // "2. " numbering
    std::size_t digits = 0;
    while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') ++digits;
    if (digits > 0 && line.substr(digits, 2) == ". ") line.remove_prefix(digits + 2);
    std::size_t start = 0;
    while (start <= line.size()) {
      std::size_t comma = line.find_first_of(",;", start);
      if (comma == std::string_view::npos) comma = line.size();
      std::string item = Tidy(line.substr(start, comma - start));
      if (!item.empty()) out.push_back(std::move(item));
      start = comma + 1;
    }
  }
  return out;
}

std::string Headword(std::string_view entryText) {
  std::string_view line = entryText.substr(0, entryText.find('\n'));
  // "brother-in-law /bɹˈʌðəɹ ɪn lˈɔː/": the pronunciation goes.
  const auto slash = line.find(" /");
  if (slash != std::string_view::npos) line = line.substr(0, slash);
  return Tidy(line);
}

std::vector<Pair> ReadDictionary(const std::filesystem::path& index,
                                 const std::filesystem::path& dict) {
  const std::vector<IndexEntry> entries = ParseIndex(ReadFile(index));
  const std::string text = Gunzip(dict);
  std::vector<Pair> pairs;
  std::size_t number = 0;
  for (const IndexEntry& e : entries) {
    ++number;
    if (e.offset > text.size() || e.length > text.size() - e.offset)
      throw std::runtime_error(index.string() + ": the entry \"" + e.headword + "\" lies outside " +
                               dict.string());
    const std::string_view entry = std::string_view(text).substr(e.offset, e.length);
    // The index key has lost its case, hyphens and blanks; the entry's own
    // headword line keeps them.
    std::string headword = Headword(entry);
    if (headword.empty()) headword = e.headword;
    for (std::string& t : Translations(entry)) pairs.push_back({headword, std::move(t), number});
  }
  return pairs;
}

}  // namespace dictionary
