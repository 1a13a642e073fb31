#include "word_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>

#include "suite/word_books.h"
#include "testsupport/temp_dir.h"

namespace {

std::string ErrorOf(const std::string& text) {
  try {
    wordbook::ParseSource(text, "04-numbers.txt");
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

TEST(WordText, ReadsEntriesCommentsAndBlankLines) {
  const wordbook::Source s = wordbook::ParseSource(
      "# category: Fruits, Vegetables and Meats\n"
      "# fruit first\n"
      "\n"
      "the apple\tla mela\n"
      "   \n"
      "the grapes\tl'uva\n"
      "the peach\tla pèsca",
      "18-fruits.txt");
  EXPECT_EQ(s.category, "Fruits, Vegetables and Meats");
  ASSERT_EQ(s.entries.size(), 3u);
  EXPECT_EQ(s.entries[1].english, "the grapes");
  EXPECT_EQ(s.entries[1].italian, "l'uva");
  EXPECT_EQ(s.entries[1].line, 6);
  EXPECT_EQ(s.entries[2].italian, "la pèsca");
}

TEST(WordText, MalformedLinesNameTheirPlace) {
  EXPECT_EQ(ErrorOf(""),
            "04-numbers.txt:1: the file is empty; the first line must name the category");
  EXPECT_EQ(ErrorOf("one\tuno\n"),
            "04-numbers.txt:1: the first line must be \"# category: <value>\"");
  EXPECT_NE(ErrorOf("# category: \n").find(":1: the category value"), std::string::npos);
  EXPECT_EQ(ErrorOf("# category: Numbers\none uno\n"),
            "04-numbers.txt:2: no TAB between the English and the Italian text");
  EXPECT_EQ(ErrorOf("# category: Numbers\n\none\tuno\tein\n"),
            "04-numbers.txt:3: more than one TAB in the line");
  EXPECT_EQ(ErrorOf("# category: Numbers\n one\tuno\n"),
            "04-numbers.txt:2: the English text is empty or has blanks around it");
  EXPECT_EQ(ErrorOf("# category: Numbers\none\tuno \n"),
            "04-numbers.txt:2: the Italian text is empty or has blanks around it");
  EXPECT_EQ(ErrorOf("# category: Numbers\none\t\n"),
            "04-numbers.txt:2: the Italian text is empty or has blanks around it");
  EXPECT_EQ(ErrorOf("# category: Numbers\none\tuno\r\n"),
            "04-numbers.txt:2: carriage return in the line (line ends must be LF alone)");
  EXPECT_EQ(ErrorOf("# category: Numbers\none\tun\xe0\n"),
            "04-numbers.txt:2: not UTF-8 text, or a control character in it");
  EXPECT_EQ(ErrorOf("# category: Numbers\none\tun\xc3\n"),
            "04-numbers.txt:2: not UTF-8 text, or a control character in it");
}

TEST(WordText, EnglishInAmericanSpellingIsRefused) {
  EXPECT_EQ(
      ErrorOf("# category: Color\nthe colour\til colore\nwhat Color is it?\tdi che colore è?\n"),
      "04-numbers.txt:3: \"color\" is American spelling; the English is British: \"colour\"");
  EXPECT_NE(ErrorOf("# category: Places\nthe city center\til centro\n").find(":2: \"center\""),
            std::string::npos);
  EXPECT_NE(ErrorOf("# category: Cars\nthe flat tire\tla gomma a terra\n").find("\"tyre\""),
            std::string::npos);
  // American words a British learner misreads, and the spellings of the word book's own slips.
  for (const auto& [entry, british] : {std::pair{"the pants\ti pantaloni", "trousers"},
                                       {"the gearshift\tla leva", "gear lever"},
                                       {"the ice-cream parlor\tla gelateria", "parlour"},
                                       {"colorful\tcolorato", "colourful"}})
    EXPECT_NE(ErrorOf(std::string("# category: Places\n") + entry + "\n").find(british),
              std::string::npos)
        << entry;
  // Whole words only, and the category name is not an entry.
  EXPECT_EQ(ErrorOf("# category: Color\nthe retired man\til pensionato\n"), "");
  EXPECT_EQ(ErrorOf("# category: Color\nthe check-in desk\til banco\n"), "");
}

TEST(WordText, SourcesMustNameKnownCategoriesOnce) {
  const auto parse = [](const std::string& category, const std::string& file) {
    return wordbook::ParseSource("# category: " + category + "\na\tb\n", file);
  };
  EXPECT_NO_THROW(wordbook::CheckSources({parse("Numbers", "a.txt"), parse("Color", "b.txt")}));
  try {
    wordbook::CheckSources({parse("Colour", "b.txt")});
    FAIL();
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "b.txt:1: \"Colour\" is not one of the word book's 34 categories");
  }
  try {
    wordbook::CheckSources({parse("Numbers", "a.txt"), parse("Numbers", "c.txt")});
    FAIL();
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "c.txt:1: category \"Numbers\" is also in a.txt");
  }
}

// The word texts of the checkout: every category in its own file, in the
// trainer's order, each with at least 25 words or phrases.
TEST(WordText, TheWordBookTextsFillEveryCategory) {
  const auto folder = testsupport::SourceDir() / "data" / "wordbook";
  std::vector<wordbook::Source> sources;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".txt" || name.size() < 4 || !std::isdigit(name[0]) ||
        !std::isdigit(name[1]) || name[2] != '-')
      continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    sources.push_back(wordbook::ParseSource(text.str(), entry.path().filename().string()));
  }
  ASSERT_NO_THROW(wordbook::CheckSources(sources));
  ASSERT_EQ(sources.size(), suite::kCategories.size());
  for (const wordbook::Source& s : sources) {
    const auto& all = suite::kCategories;
    const auto index = std::find(all.begin(), all.end(), s.category) - all.begin() + 1;
    EXPECT_EQ(s.file.substr(0, 3), (index < 10 ? "0" : "") + std::to_string(index) + "-")
        << s.file << " holds category " << index;
    EXPECT_GE(s.entries.size(), 25u) << s.file;
  }
}

}  // namespace
