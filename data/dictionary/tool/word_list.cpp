#include "word_list.h"

#include <algorithm>
#include <stdexcept>

#include "base/ascii_case.h"

namespace dictionary {

namespace {

bool IsLetter(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> out;
  std::size_t start = 0;
  while (true) {
    const auto tab = line.find('\t', start);
    out.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
  return out;
}

template <typename F>
void ForEachLine(std::string_view text, F&& f) {
  std::size_t pos = 0;
  int number = 0;
  while (pos < text.size()) {
    auto end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    f(line, number);
  }
}

std::string Where(const std::string& fileName, int line) {
  return fileName + " line " + std::to_string(line) + ": ";
}

// Non-letters in a spelling: the better punctuated of two twins has more.
std::size_t Punctuation(std::string_view s) {
  std::size_t n = 0;
  for (char c : s) n += !IsLetter(c);
  return n;
}

// Each spelling that has a better twin becomes that twin: the reviewed
// spelling (word book, core words) where there is one, else the better
// punctuated.
std::map<std::string, std::string> TwinSpellings(const std::vector<std::string>& spellings,
                                                 const std::set<std::string>& reviewed) {
  std::map<std::string, std::string> best;  // key -> spelling
  for (const auto& s : spellings) {
    const std::string key = PunctuationKey(s);
    if (key.empty()) continue;
    auto [it, added] = best.emplace(key, s);
    if (added || reviewed.contains(it->second)) continue;
    if (reviewed.contains(s) || Punctuation(s) > Punctuation(it->second)) it->second = s;
  }
  std::map<std::string, std::string> out;
  for (const auto& s : spellings) {
    const auto it = best.find(PunctuationKey(s));
    if (it == best.end() || base::AsciiLowerCopy(it->second) == base::AsciiLowerCopy(s)) continue;
    // Case stays the spelling's own where the twin is only differently
    // punctuated ("Ticketwindow" and "ticket-window" both become the latter).
    out[s] = it->second;
  }
  return out;
}

}  // namespace

std::vector<Pair> WithoutCutHeadwords(
    const std::vector<Pair>& pairs,
    const std::set<std::pair<std::string, std::string>>& confirmed) {
  std::map<std::string, std::set<std::size_t>> entries;
  for (const Pair& p : pairs) entries[base::AsciiLowerCopy(p.from)].insert(p.entry);
  std::vector<Pair> out;
  for (const Pair& p : pairs)
    if (entries[base::AsciiLowerCopy(p.from)].size() == 1 ||
        confirmed.contains({base::AsciiLowerCopy(p.from), base::AsciiLowerCopy(p.to)}))
      out.push_back(p);
  return out;
}

Corrections ParseCorrections(std::string_view text, const std::string& fileName) {
  Corrections c;
  ForEachLine(text, [&](std::string_view line, int number) {
    const auto f = Fields(line);
    if (f.size() != 3 || f[1].empty() || f[2].empty())
      throw std::runtime_error(Where(fileName, number) + "a rule has three fields split by TABs");
    if (f[0] == "italian")
      c.italian.emplace(f[1], f[2]);
    else if (f[0] == "english")
      c.english.emplace(f[1], f[2]);
    else if (f[0] == "drop")
      c.drops.emplace(f[1], f[2]);
    else
      throw std::runtime_error(Where(fileName, number) + "\"" + std::string(f[0]) +
                               "\" is no rule (italian, english or drop)");
  });
  return c;
}

std::vector<Row> ParsePairs(std::string_view text, const std::string& fileName) {
  std::vector<Row> rows;
  ForEachLine(text, [&](std::string_view line, int number) {
    const auto f = Fields(line);
    if (f.size() != 2 || f[0].empty() || f[1].empty())
      throw std::runtime_error(Where(fileName, number) +
                               "an entry is English, one TAB and Italian");
    rows.push_back({std::string(f[0]), std::string(f[1])});
  });
  return rows;
}

Row WordBookRow(const Row& row) {
  Row out = row;
  for (std::string* side : {&out.english, &out.italian})
    while (!side->empty() && (side->back() == '?' || side->back() == '!')) side->pop_back();
  // A verb is looked up without its "to"; "to the station" is a way to go,
  // no verb, and keeps it with its article.
  if (out.english.starts_with("to ")) {
    if (out.english.starts_with("to the ")) return out;
    out.english.erase(0, 3);
  }
  if (!out.english.starts_with("the ")) return out;
  // "the water is cold" is a sentence: without its article it would be broken
  // English and Italian alike.
  for (std::string_view verb : {" is ", " are "})
    if (out.english.find(verb) != std::string::npos) return out;
  out.english.erase(0, 4);
  for (std::string_view article : {"il ", "lo ", "la ", "i ", "gli ", "le ", "l'"}) {
    if (out.italian.starts_with(article)) {
      out.italian.erase(0, article.size());
      break;
    }
  }
  return out;
}

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < text.size()) {
    if (!IsLetter(text[i])) {
      ++i;
      continue;
    }
    std::size_t j = i;
    while (j < text.size() && IsLetter(text[j])) ++j;
    if (j < text.size() && text[j] == '\'') ++j;
    out.emplace_back(text.substr(i, j - i));
    i = j;
  }
  return out;
}

std::string FixWords(std::string_view text,
                     const std::map<std::string, std::string, std::less<>>& fixes) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    if (!IsLetter(text[i])) {
      out += text[i++];
      continue;
    }
    std::size_t j = i;
    while (j < text.size() && IsLetter(text[j])) ++j;
    const std::string_view word = text.substr(i, j - i);
    const auto fix = fixes.find(word);
    out += fix == fixes.end() ? std::string(word) : fix->second;
    i = j;
  }
  return out;
}

std::string PunctuationKey(std::string_view text) {
  std::string key;
  for (char c : text)
    if (IsLetter(c)) key += c;
  return base::AsciiLowerCopy(key);
}

std::vector<Row> BuildRows(const std::vector<Row>& source, const std::vector<Row>& extra,
                           const Corrections& corrections) {
  std::vector<Row> rows;
  const auto dropped = [&](const Row& r) {
    return corrections.drops.contains(std::pair(r.english, std::string("*"))) ||
           corrections.drops.contains(std::pair(r.english, r.italian));
  };
  for (const Row& s : source) {
    Row r = s;
    if (const auto it = corrections.english.find(r.english); it != corrections.english.end())
      r.english = it->second;
    r.italian = FixWords(r.italian, corrections.italian);
    if (r.english.empty() || r.italian.empty() || dropped(r)) continue;
    rows.push_back(std::move(r));
  }
  std::set<std::string> reviewedEnglish, reviewedItalian;
  for (const Row& e : extra) {
    if (e.english.empty() || e.italian.empty()) continue;
    rows.push_back(e);
    reviewedEnglish.insert(e.english);
    reviewedItalian.insert(e.italian);
  }

  // Twins in either column become the better punctuated spelling.
  std::vector<std::string> english, italian;
  for (const Row& r : rows) {
    english.push_back(r.english);
    italian.push_back(r.italian);
  }
  const auto englishTwins = TwinSpellings(english, reviewedEnglish);
  const auto italianTwins = TwinSpellings(italian, reviewedItalian);
  for (Row& r : rows) {
    if (const auto it = englishTwins.find(r.english); it != englishTwins.end())
      r.english = it->second;
    if (const auto it = italianTwins.find(r.italian); it != italianTwins.end())
      r.italian = it->second;
  }

  // Each pair once, as the engine compares text: without regard to case.
  std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
    return std::pair(base::AsciiLowerCopy(a.english), base::AsciiLowerCopy(a.italian)) <
           std::pair(base::AsciiLowerCopy(b.english), base::AsciiLowerCopy(b.italian));
  });
  rows.erase(
      std::unique(rows.begin(), rows.end(),
                  [](const Row& a, const Row& b) {
                    return base::AsciiLowerCopy(a.english) == base::AsciiLowerCopy(b.english) &&
                           base::AsciiLowerCopy(a.italian) == base::AsciiLowerCopy(b.italian);
                  }),
      rows.end());
  return rows;
}

std::vector<std::string> CheckPunctuationTwins(const std::vector<Row>& rows) {
  std::vector<std::string> problems;
  for (const bool englishColumn : {true, false}) {
    std::map<std::string, std::set<std::string>> spellings;
    for (const Row& r : rows) {
      const std::string& s = englishColumn ? r.english : r.italian;
      spellings[PunctuationKey(s)].insert(base::AsciiLowerCopy(s));
    }
    for (const auto& [key, set] : spellings) {
      if (set.size() < 2) continue;
      std::string line = englishColumn ? "English" : "Italian";
      line += " headwords differ only by punctuation:";
      for (const auto& s : set) line += " \"" + s + "\"";
      problems.push_back(line);
    }
  }
  return problems;
}

std::vector<std::string> CheckEmptySides(const std::vector<Row>& rows) {
  std::vector<std::string> problems;
  for (const Row& r : rows)
    if (r.english.empty() || r.italian.empty())
      problems.push_back("a row with an empty side: \"" + r.english + "\" / \"" + r.italian + "\"");
  return problems;
}

std::vector<std::string> CheckRequired(const std::vector<Row>& rows,
                                       const std::vector<Row>& required) {
  std::vector<std::string> problems;
  for (const Row& q : required) {
    const bool english = q.english == "English";
    const std::string word = base::AsciiLowerCopy(q.italian);
    const bool found = std::any_of(rows.begin(), rows.end(), [&](const Row& r) {
      return base::AsciiLowerCopy(english ? r.english : r.italian) == word;
    });
    if (!found) problems.push_back(q.english + " word missing: \"" + q.italian + "\"");
  }
  return problems;
}

AnswerOrder ParseAnswerOrder(std::string_view text, const std::string& fileName) {
  AnswerOrder order;
  ForEachLine(text, [&](std::string_view line, int number) {
    const auto f = Fields(line);
    if (f.size() < 3 || std::any_of(f.begin(), f.end(), [](auto x) { return x.empty(); }))
      throw std::runtime_error(
          Where(fileName, number) +
          "an order is English and two or more Italian answers, split by TABs");
    std::vector<std::string> answers(f.begin() + 1, f.end());
    if (!order.emplace(base::AsciiLowerCopy(f[0]), std::move(answers)).second)
      throw std::runtime_error(Where(fileName, number) + "\"" + std::string(f[0]) +
                               "\" has an order already");
  });
  return order;
}

void RankAnswers(std::vector<Row>& rows, const AnswerOrder& order) {
  for (auto first = rows.begin(); first != rows.end();) {
    const std::string key = base::AsciiLowerCopy(first->english);
    const auto last = std::find_if(
        first, rows.end(), [&](const Row& r) { return base::AsciiLowerCopy(r.english) != key; });
    if (const auto it = order.find(key); it != order.end()) {
      const auto rank = [&](const Row& r) {
        const auto& answers = it->second;
        const auto at = std::find_if(answers.begin(), answers.end(), [&](const std::string& a) {
          return base::AsciiLowerCopy(a) == base::AsciiLowerCopy(r.italian);
        });
        return at - answers.begin();
      };
      std::stable_sort(first, last, [&](const Row& a, const Row& b) { return rank(a) < rank(b); });
    }
    first = last;
  }
}

std::vector<Row> WithVerbForms(const std::vector<Row>& rows,
                               const std::function<bool(const Row&)>& isVerb) {
  std::set<std::pair<std::string, std::string>> present;
  for (const Row& r : rows)
    present.emplace(base::AsciiLowerCopy(r.english), base::AsciiLowerCopy(r.italian));
  std::vector<Row> out = rows;
  for (const Row& r : rows) {
    if (r.english.starts_with("to ") || !isVerb(r)) continue;
    Row verb{"to " + r.english, r.italian};
    if (present.emplace(base::AsciiLowerCopy(verb.english), base::AsciiLowerCopy(verb.italian))
            .second)
      out.push_back(std::move(verb));
  }
  // Stable: each headword's answers keep their rank.
  std::stable_sort(out.begin(), out.end(), [](const Row& a, const Row& b) {
    return base::AsciiLowerCopy(a.english) < base::AsciiLowerCopy(b.english);
  });
  return out;
}

std::set<std::string, std::less<>> ParseWordNetIndex(std::string_view text) {
  std::set<std::string, std::less<>> words;
  std::size_t pos = 0;
  while (pos < text.size()) {
    auto end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    // The licence at its top is indented; a lemma line starts with the lemma.
    if (line.empty() || line.front() == ' ') continue;
    words.emplace(line.substr(0, line.find(' ')));
  }
  return words;
}

bool IsInfinitive(std::string_view italian, const std::function<bool(std::string_view)>& known) {
  std::string word(italian.substr(0, italian.find(' ')));
  if (word.ends_with("rsi")) word.replace(word.size() - 3, 3, "re");  // alzarsi: alzare
  struct Ending {
    std::string_view infinitive, gerund;
  };
  for (const Ending& e :
       {Ending{"urre", "ucendo"}, Ending{"orre", "onendo"}, Ending{"arre", "aendo"},
        Ending{"are", "ando"}, Ending{"ere", "endo"}, Ending{"ire", "endo"}}) {
    if (!word.ends_with(e.infinitive) || word.size() <= e.infinitive.size()) continue;
    const std::string stem = word.substr(0, word.size() - e.infinitive.size());
    return known(stem + std::string(e.gerund));
  }
  return false;
}

std::vector<std::string> CheckAnswerOrder(const std::vector<Row>& rows, const AnswerOrder& order) {
  std::map<std::string, std::set<std::string>> answers;
  for (const Row& r : rows)
    answers[base::AsciiLowerCopy(r.english)].insert(base::AsciiLowerCopy(r.italian));
  std::vector<std::string> problems;
  for (const auto& [english, set] : answers) {
    if (set.size() < 2) continue;
    const auto it = order.find(english);
    if (it == order.end()) {
      problems.push_back("\"" + english + "\" has " + std::to_string(set.size()) +
                         " answers but no order in answer-order.txt");
      continue;
    }
    std::set<std::string> named;
    for (const auto& a : it->second) named.insert(base::AsciiLowerCopy(a));
    if (named != set) {
      std::string line = "the order of \"" + english + "\" does not name its answers:";
      for (const auto& a : set) line += " \"" + a + "\"";
      problems.push_back(line);
    }
  }
  for (const auto& [english, list] : order) {
    const auto it = answers.find(english);
    if (it == answers.end() || it->second.size() < 2)
      problems.push_back("answer-order.txt orders \"" + english +
                         "\", which has no longer several answers");
  }
  return problems;
}

std::vector<std::string> CheckCoarse(const std::vector<Row>& rows,
                                     const std::set<std::string, std::less<>>& coarse) {
  std::vector<std::string> problems;
  for (const Row& r : rows)
    for (const std::string& w : Words(r.italian))
      if (coarse.contains(base::AsciiLowerCopy(w)))
        problems.push_back("a coarse word as a plain answer: \"" + r.english + "\" / \"" +
                           r.italian + "\"");
  return problems;
}

std::vector<std::string> CheckWordBookFound(const std::vector<Row>& rows,
                                            const std::vector<Row>& book) {
  std::set<std::string> italian;
  for (const Row& r : rows) italian.insert(base::AsciiLowerCopy(r.italian));
  std::vector<std::string> problems;
  for (const Row& b : book)
    if (Words(b.italian).size() == 1 && b.italian.find(' ') == std::string::npos &&
        !italian.contains(base::AsciiLowerCopy(b.italian)))
      problems.push_back("the word book's \"" + b.italian +
                         "\" cannot be found in the Italian column");
  return problems;
}

}  // namespace dictionary
