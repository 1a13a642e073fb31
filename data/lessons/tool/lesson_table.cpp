// Turns the lesson sources into the conversation trainer's string table:
// a C++ source with every sentence under its id. It refuses sources that
// would give the trainer a broken lesson: a missing or misnumbered pair, an
// empty or repeated sentence, text that is not UTF-8.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/atomic_file.h"

namespace {

struct Entry {
  int id;
  std::string text;
};

bool ValidUtf8(const std::string& s) {
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    int n = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    if (n < 0 || i + static_cast<std::size_t>(n) >= s.size() + (n == 0 ? 1 : 0)) return false;
    for (int k = 1; k <= n; ++k)
      if ((static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]) >> 6) != 2) return false;
    i += static_cast<std::size_t>(n) + 1;
  }
  return true;
}

std::string CppString(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x80) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\%03o", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

int Fail(const std::string& where, const std::string& what) {
  std::cerr << where << ": " << what << "\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: lesson_table OUTPUT.cpp lesson-01.txt ...\n";
    return 2;
  }
  std::vector<Entry> entries;
  std::map<std::string, std::string> seen;  // text -> where it first stood
  for (int a = 2; a < argc; ++a) {
    const std::filesystem::path path = argv[a];
    const std::string stem = path.stem().string();
    if (stem.size() != 9 || stem.rfind("lesson-", 0) != 0)
      return Fail(path.string(), "not named lesson-NN.txt");
    const int lesson = std::stoi(stem.substr(7));
    if (lesson < 1 || lesson > 19) return Fail(path.string(), "lessons are numbered 1 to 19");
    std::ifstream in(path);
    if (!in) return Fail(path.string(), "cannot be read");
    std::vector<std::pair<int, std::string>> lines;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
      ++number;
      const std::string where = path.string() + ":" + std::to_string(number);
      if (!line.empty() && line.back() == '\r') return Fail(where, "has a carriage return");
      if (line.empty() || line[0] == '#') continue;
      const auto tab = line.find('\t');
      if (tab == std::string::npos) return Fail(where, "needs an id, a TAB and the text");
      const std::string text = line.substr(tab + 1);
      if (text.empty() || text.find('\t') != std::string::npos)
        return Fail(where, "has no text or a second TAB");
      if (!ValidUtf8(text)) return Fail(where, "is not UTF-8");
      if (text.front() == ' ' || text.back() == ' ')
        return Fail(where, "has a blank at either end");
      int id = 0;
      try {
        id = std::stoi(line.substr(0, tab));
      } catch (...) {
        return Fail(where, "does not start with a number");
      }
      auto [it, fresh] = seen.emplace(text, where);
      if (!fresh) return Fail(where, "repeats \"" + text + "\" of " + it->second);
      lines.emplace_back(id, text);
    }
    if (lines.size() != 100)
      return Fail(path.string(), "holds " + std::to_string(lines.size() / 2) + " pairs, not 50");
    for (int n = 1; n <= 50; ++n) {
      const int italian = 10000 + 100 * lesson + n;
      const auto& it = lines[static_cast<std::size_t>(2 * (n - 1))];
      const auto& en = lines[static_cast<std::size_t>(2 * (n - 1) + 1)];
      if (it.first != italian || en.first != italian + 10000)
        return Fail(path.string(), "pair " + std::to_string(n) + " should be " +
                                       std::to_string(italian) + "/" +
                                       std::to_string(italian + 10000));
      entries.push_back({it.first, it.second});
      entries.push_back({en.first, en.second});
    }
  }
  std::sort(entries.begin(), entries.end(),
            [](const Entry& x, const Entry& y) { return x.id < y.id; });
  std::ostringstream out;
  out << "// Made by lesson_table from data/lessons; edit the sources, not this file.\n"
      << "#include \"lessons/lessons.h\"\n\nnamespace lessons {\nnamespace {\n"
      << "const forms::StringEntry kStrings[] = {\n";
  for (const auto& e : entries) out << "    {" << e.id << ", " << CppString(e.text) << "},\n";
  out << "};\n}  // namespace\n\nstd::span<const forms::StringEntry> Strings() { return kStrings; "
         "}\n\n"
      << "}  // namespace lessons\n";
  const std::string text = out.str();
  // Unchanged output keeps its time, so nothing rebuilds for nothing.
  std::ifstream old(argv[1]);
  std::stringstream before;
  before << old.rdbuf();
  if (before.str() == text) return 0;
  // Whole or not at all: a table cut short must not pass for a made one.
  const std::filesystem::path table = argv[1];
  if (std::string failed = base::WriteFileAtomically(table, table.string() + ".part", text);
      !failed.empty())
    return Fail(table.string(), "cannot be written (" + failed + ")");
  return 0;
}
