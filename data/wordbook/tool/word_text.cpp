#include "word_text.h"

#include <cctype>
#include <map>
#include <stdexcept>

#include "base/ascii_case.h"
#include "suite/word_books.h"

namespace wordbook {

namespace {

[[noreturn]] void Fail(const std::string& file, int line, const std::string& message) {
  throw std::runtime_error(file + ":" + std::to_string(line) + ": " + message);
}

// Whether the text is well-formed UTF-8 without control characters.
bool CleanText(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x20 || b == 0x7F) return false;
    int extra = b < 0x80                   ? 0
                : (b >= 0xC2 && b <= 0xDF) ? 1
                : (b >= 0xE0 && b <= 0xEF) ? 2
                : (b >= 0xF0 && b <= 0xF4) ? 3
                                           : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= s.size()) return false;
    for (int k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += extra + 1;
  }
  return true;
}

bool Blank(std::string_view s) {
  return s.find_first_not_of(" \t") == std::string_view::npos;
}

bool Trimmed(std::string_view s) {
  return !s.empty() && s.front() != ' ' && s.back() != ' ';
}

// American spellings and words that slip in most easily, with the British
// form the entries use (the lessons are British too). Single words only, and
// only those whose American sense is the one a British learner would misread
// ("pants" are underwear, "the trunk" of a tree stays).
struct Spelling {
  std::string_view american, british;
};
constexpr Spelling kAmerican[] = {
    {"color", "colour"},
    {"colors", "colours"},
    {"colored", "coloured"},
    {"colorful", "colourful"},
    {"center", "centre"},
    {"centers", "centres"},
    {"theater", "theatre"},
    {"favorite", "favourite"},
    {"favor", "favour"},
    {"honor", "honour"},
    {"behavior", "behaviour"},
    {"humor", "humour"},
    {"labor", "labour"},
    {"rumor", "rumour"},
    {"odor", "odour"},
    {"parlor", "parlour"},
    {"gray", "grey"},
    {"pajamas", "pyjamas"},
    {"tire", "tyre"},
    {"tires", "tyres"},
    {"jewelry", "jewellery"},
    {"traveling", "travelling"},
    {"traveler", "traveller"},
    {"neighbor", "neighbour"},
    {"flavor", "flavour"},
    {"harbor", "harbour"},
    {"mustache", "moustache"},
    {"liter", "litre"},
    {"kilometer", "kilometre"},
    {"aluminum", "aluminium"},
    {"defense", "defence"},
    {"catalog", "catalogue"},
    {"pants", "trousers"},
    {"gearshift", "gear lever"},
    {"sneakers", "trainers"},
    {"faucet", "tap"},
    {"eggplant", "aubergine"},
    {"zucchini", "courgette"},
    {"cookie", "biscuit"},
    {"cookies", "biscuits"},
    {"gasoline", "petrol"},
    {"elevator", "lift"},
    {"windshield", "windscreen"},
    {"eraser", "rubber"},
    {"mailbox", "postbox"},
    {"apartment", "flat"},
    {"mom", "mum"},
    {"soccer", "football"},
    {"highway", "motorway"},
    {"truck", "lorry"},
    {"subway", "underground"},
};

// The first American spelling among the words of an English text.
const Spelling* AmericanWord(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && !std::isalpha(static_cast<unsigned char>(text[i]))) ++i;
    std::size_t end = i;
    while (end < text.size() && std::isalpha(static_cast<unsigned char>(text[end]))) ++end;
    const std::string word = base::AsciiLowerCopy(text.substr(i, end - i));
    for (const Spelling& s : kAmerican)
      if (word == s.american) return &s;
    i = end;
  }
  return nullptr;
}

}  // namespace

Source ParseSource(std::string_view text, const std::string& file) {
  Source source;
  source.file = file;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  int lineNo = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNo;
    if (line.find('\r') != std::string_view::npos)
      Fail(file, lineNo, "carriage return in the line (line ends must be LF alone)");

    if (lineNo == 1) {
      constexpr std::string_view kHead = "# category: ";
      if (line.substr(0, kHead.size()) != kHead)
        Fail(file, lineNo, "the first line must be \"# category: <value>\"");
      source.category = std::string(line.substr(kHead.size()));
      if (!Trimmed(source.category) || !CleanText(source.category))
        Fail(file, lineNo, "the category value is empty or has blanks around it");
      continue;
    }
    if (Blank(line) || line.front() == '#') continue;

    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos)
      Fail(file, lineNo, "no TAB between the English and the Italian text");
    if (line.find('\t', tab + 1) != std::string_view::npos)
      Fail(file, lineNo, "more than one TAB in the line");
    Entry e{std::string(line.substr(0, tab)), std::string(line.substr(tab + 1)), lineNo};
    if (!CleanText(e.english) || !CleanText(e.italian))
      Fail(file, lineNo, "not UTF-8 text, or a control character in it");
    if (!Trimmed(e.english))
      Fail(file, lineNo, "the English text is empty or has blanks around it");
    if (!Trimmed(e.italian))
      Fail(file, lineNo, "the Italian text is empty or has blanks around it");
    if (const Spelling* s = AmericanWord(e.english))
      Fail(file, lineNo,
           "\"" + std::string(s->american) + "\" is American spelling; the English is British: \"" +
               std::string(s->british) + "\"");
    source.entries.push_back(std::move(e));
  }
  if (lineNo == 0) Fail(file, 1, "the file is empty; the first line must name the category");
  return source;
}

void CheckSources(const std::vector<Source>& sources) {
  std::map<std::string, std::string> fileOf;
  for (const Source& s : sources) {
    bool known = false;
    for (const std::string_view c : suite::kCategories) known = known || c == s.category;
    if (!known)
      throw std::runtime_error(s.file + ":1: \"" + s.category +
                               "\" is not one of the word book's 34 categories");
    const auto [it, fresh] = fileOf.emplace(s.category, s.file);
    if (!fresh)
      throw std::runtime_error(s.file + ":1: category \"" + s.category + "\" is also in " +
                               it->second);
  }
}

}  // namespace wordbook
