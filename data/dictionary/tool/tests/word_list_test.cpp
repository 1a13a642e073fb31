// The word list that the build put in the program folder, searched the way
// the dictionary searches it.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <cctype>
#include <filesystem>
#include <fstream>

#include "dao/dao.h"
#include "testsupport/temp_dir.h"
#include "word_list.h"

namespace {

struct Match {
  std::string english, italian;
};

std::vector<Match> Search(const std::string& column, const std::string& prefix) {
  dao::Database db = dao::OpenDatabase((testsupport::BinDir() / "dictionary.dll").string());
  dao::Recordset rs = db.OpenRecordset("select * from word where " + column + " like '" +
                                       dao::LikePattern(prefix) + "*' order by english");
  std::vector<Match> out;
  for (; !rs.Eof(); rs.MoveNext())
    out.push_back({rs.Fields("english").Value(), rs.Fields("Italian").Value()});
  return out;
}

bool Has(const std::vector<Match>& list, const std::string& english, const std::string& italian) {
  return std::any_of(list.begin(), list.end(),
                     [&](const Match& m) { return m.english == english && m.italian == italian; });
}

TEST(WordList, HoldsBothDirectionsMergedAndSorted) {
  const auto ab = Search("English", "ab");
  ASSERT_GT(ab.size(), 10u);
  EXPECT_TRUE(Has(ab, "abandon", "abbandonare"));
  for (const Match& m : ab) {
    EXPECT_TRUE(m.english.size() >= 2 && (m.english[0] == 'a' || m.english[0] == 'A') &&
                (m.english[1] == 'b' || m.english[1] == 'B'))
        << m.english;
  }
  // In English order, without regard to case.
  for (std::size_t i = 1; i < ab.size(); ++i) {
    std::string a = ab[i - 1].english, b = ab[i].english;
    for (auto* s : {&a, &b})
      std::transform(s->begin(), s->end(), s->begin(),
                     [](unsigned char c) { return std::tolower(c); });
    EXPECT_LE(a, b);
  }
  // From the Italian-English side, turned round; accented headwords found.
  const auto citta = Search("Italian", "città");
  EXPECT_TRUE(Has(citta, "city", "città")) << citta.size();
  EXPECT_FALSE(Search("Italian", "CITTÀ").empty());
  // Synonyms stand on their own.
  const auto nuovo = Search("Italian", "di nuovo");
  EXPECT_FALSE(nuovo.empty());
  // Each pair once.
  for (std::size_t i = 1; i < ab.size(); ++i)
    EXPECT_FALSE(ab[i - 1].english == ab[i].english && ab[i - 1].italian == ab[i].italian)
        << ab[i].english;
}

TEST(WordList, IsReadOnly) {
  struct stat st {};
  ASSERT_EQ(stat((testsupport::BinDir() / "dictionary.dll").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0222, 0u);
}

}  // namespace

namespace {

TEST(WordList, IsLargeEnough) {
  EXPECT_GE(Search("English", "").size(), 7000u);
}

TEST(WordList, ALearnersFirstSearchesGiveTheEverydayWordFirst) {
  // A beginner takes the first answer: it is the everyday word, not a rare,
  // loose or coarse sense, and a verb is found the way schools write it.
  const std::pair<const char*, const char*> searches[] = {
      {"house", "casa"},      {"dog", "cane"},           {"eat", "mangiare"},
      {"beautiful", "bello"}, {"train", "treno"},        {"ticket", "biglietto"},
      {"water", "acqua"},     {"friend", "amico"},       {"city", "città"},
      {"book", "libro"},      {"bill", "conto"},         {"goodbye", "arrivederci"},
      {"thanks", "grazie"},   {"sorry", "mi dispiace"},  {"fine", "bene"},
      {"you", "tu"},          {"your", "tuo"},           {"I", "io"},
      {"this", "questo"},     {"these", "questi"},       {"excuse me", "scusi"},
      {"car", "macchina"},    {"money", "soldi"},        {"child", "bambino"},
      {"job", "lavoro"},      {"room", "camera"},        {"change", "cambiare"},
      {"die", "morire"},      {"draw", "disegnare"},     {"story", "storia"},
      {"lift", "ascensore"},  {"cream", "panna"},        {"right", "destra"},
      {"time", "tempo"},      {"way", "modo"},           {"help", "aiuto"},
      {"toilet", "bagno"},    {"cock", "gallo"},         {"prick", "puntura"},
      {"to eat", "mangiare"}, {"to go", "andare"},       {"to buy", "comprare"},
      {"the", "il"},          {"fly", "volare"},         {"seat", "posto"},
      {"pants", "mutande"},   {"trousers", "pantaloni"}, {"holiday", "vacanza"},
      {"ask", "chiedere"},    {"hello", "ciao"},         {"please", "per favore"},
      {"yes", "sì"},          {"good", "buono"},         {"sleep", "dormire"},
  };
  for (const auto& [english, italian] : searches) {
    const auto found = Search("English", english);
    ASSERT_FALSE(found.empty()) << english;
    EXPECT_EQ(found.front().english, english);
    EXPECT_EQ(found.front().italian, italian) << english;
  }
  for (const std::string coarse : {"cazzo", "cesso", "pisciare"})
    EXPECT_TRUE(Search("Italian", coarse).empty()) << coarse;
  // Searching Italian lists in English order: the word itself is among the
  // first matches.
  for (const std::string word : {"casa", "cane", "mangiare", "bello", "treno", "biglietto", "acqua",
                                 "amico", "città", "libro"}) {
    const auto found = Search("Italian", word);
    const auto n = std::min<std::size_t>(found.size(), 5);
    EXPECT_TRUE(std::any_of(found.begin(), found.begin() + static_cast<long>(n),
                            [&](const Match& m) { return m.italian == word; }))
        << word;
  }
}

TEST(WordList, HeadwordsKeepTheirCaseAndPunctuation) {
  EXPECT_TRUE(Has(Search("English", "brother-in-law"), "brother-in-law", "cognato"));
  EXPECT_TRUE(Search("English", "brotherinlaw").empty());
  EXPECT_TRUE(Has(Search("English", "January"), "January", "gennaio"));
  EXPECT_TRUE(Has(Search("English", "Italy"), "Italy", "Italia"));
  EXPECT_TRUE(Search("English", "ticketwindow").empty());
  EXPECT_FALSE(Search("English", "ticket-window").empty());
}

TEST(WordList, HoldsNoMisspeltOrArchaicItalianAndNoCutHeadwords) {
  for (const std::string wrong :
       {"caffé", "cioé", "quà", "giú", "rassomiglare", "controlore", "diciasette", "giuoco"})
    EXPECT_TRUE(Search("Italian", wrong).empty()) << wrong;
  EXPECT_FALSE(Has(Search("English", "the"), "the", "posdomani"));
  EXPECT_FALSE(Has(Search("English", "all"), "all", "il giorno dei Morti"));
  EXPECT_FALSE(Has(Search("English", "All"), "All", "il giorno dei Morti"));
  EXPECT_TRUE(Has(Search("Italian", "caffè"), "coffee", "caffè"));
}

}  // namespace

namespace {

// Every single-word entry of the word book, without its article, has its
// pair in the dictionary.
TEST(WordList, HoldsTheWordBooksSingleWords) {
  namespace fs = std::filesystem;
  dao::Database db = dao::OpenDatabase((testsupport::BinDir() / "dictionary.dll").string());
  int checked = 0;
  for (const auto& e : fs::directory_iterator(testsupport::SourceDir() / "data/wordbook")) {
    const std::string name = e.path().filename().string();
    if (e.path().extension() != ".txt" || !std::isdigit(static_cast<unsigned char>(name[0])))
      continue;
    std::ifstream in(e.path());
    for (std::string line; std::getline(in, line);) {
      const auto tab = line.find('\t');
      if (line.empty() || line[0] == '#' || tab == std::string::npos) continue;
      const dictionary::Row row =
          dictionary::WordBookRow({line.substr(0, tab), line.substr(tab + 1)});
      if (row.english.find(' ') != std::string::npos) continue;
      dao::Recordset rs =
          db.OpenRecordset("select * from word where English = '" + dao::EscapeQuotes(row.english) +
                           "' and Italian = '" + dao::EscapeQuotes(row.italian) + "'");
      EXPECT_FALSE(rs.Eof()) << name << ": " << row.english << " / " << row.italian;
      ++checked;
    }
  }
  EXPECT_GT(checked, 300);
}

}  // namespace
