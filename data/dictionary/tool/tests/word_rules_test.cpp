// The rules that mend the source pairs, and the checks that fail the build.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "testsupport/temp_dir.h"
#include "word_list.h"

using namespace dictionary;
namespace fs = std::filesystem;

namespace {

TEST(WordRules, CorrectionsAreReadAndBadLinesNamed) {
  const Corrections c = ParseCorrections(
      "# comment\n\nitalian\tcaffé\tcaffè\nenglish\tgenuinly\tgenuinely\ndrop\tthe\t*\n",
      "corrections.txt");
  EXPECT_EQ(c.italian.at("caffé"), "caffè");
  EXPECT_EQ(c.english.at("genuinly"), "genuinely");
  EXPECT_TRUE(c.drops.contains(std::pair<std::string, std::string>("the", "*")));
  try {
    ParseCorrections("italian\tcaffé\n", "corrections.txt");
    FAIL();
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "corrections.txt line 1: a rule has three fields split by TABs");
  }
  EXPECT_THROW(ParseCorrections("replace\ta\tb\n", "c.txt"), std::runtime_error);
  EXPECT_THROW(ParsePairs("dog cane\n", "core.txt"), std::runtime_error);
  EXPECT_EQ(ParsePairs("dog\tcane\r\n", "core.txt"), (std::vector<Row>{{"dog", "cane"}}));
}

TEST(WordRules, WordsAreFixedWholeAndArticlesTakenOff) {
  const std::map<std::string, std::string, std::less<>> fixes{{"giuoco", "gioco"},
                                                              {"caffé", "caffè"}};
  EXPECT_EQ(FixWords("giuoco del calcio", fixes), "gioco del calcio");
  EXPECT_EQ(FixWords("un caffé, per favore", fixes), "un caffè, per favore");
  EXPECT_EQ(FixWords("giuocoso", fixes), "giuocoso");  // whole words only
  EXPECT_EQ(Words("dell'acqua è buona"),
            (std::vector<std::string>{"dell'", "acqua", "è", "buona"}));

  EXPECT_EQ(WordBookRow({"the apple", "la mela"}), (Row{"apple", "mela"}));
  EXPECT_EQ(WordBookRow({"the tree", "l'albero"}), (Row{"tree", "albero"}));
  EXPECT_EQ(WordBookRow({"the friends", "gli amici"}), (Row{"friends", "amici"}));
  EXPECT_EQ(WordBookRow({"a little", "un po'"}), (Row{"a little", "un po'"}));
  EXPECT_EQ(WordBookRow({"the", "il"}), (Row{"the", "il"}));
  EXPECT_EQ(WordBookRow({"why?", "perché?"}), (Row{"why", "perché"}));
  EXPECT_EQ(WordBookRow({"to get off", "scendere"}), (Row{"get off", "scendere"}));
  EXPECT_EQ(WordBookRow({"the water is cold", "l'acqua è fredda"}),
            (Row{"the water is cold", "l'acqua è fredda"}));
  EXPECT_EQ(WordBookRow({"to the station", "alla stazione"}),
            (Row{"to the station", "alla stazione"}));
  EXPECT_EQ(WordBookRow({"today", "oggi"}), (Row{"today", "oggi"}));
  EXPECT_EQ(WordBookRow({"help!", "aiuto!"}), (Row{"help", "aiuto"}));
}

TEST(WordRules, CutHeadwordsKeepOnlyConfirmedPairs) {
  const std::vector<Pair> pairs{
      {"the", "il", 1},   {"the", "Olanda", 2},    {"The", "L'Aia", 3},
      {"dog", "cane", 4}, {"dog", "cagnolino", 4},
  };
  const auto kept = WithoutCutHeadwords(pairs, {{"the", "il"}});
  ASSERT_EQ(kept.size(), 3u);
  EXPECT_EQ(kept[0].to, "il");
  EXPECT_EQ(kept[1].to, "cane");  // one entry with two senses is no cut headword
  EXPECT_EQ(kept[2].to, "cagnolino");
}

TEST(WordRules, BuildingMendsDropsAndMergesTwins) {
  const Corrections c = ParseCorrections(
      "italian\tcaffé\tcaffè\ndrop\tthe\t*\ndrop\tfemale\tsarta\n", "corrections.txt");
  const std::vector<Row> source{
      {"coffee", "caffé"},           {"the", "posdomani"},
      {"female", "sarta"},           {"female", "femmina"},
      {"ticketwindow", "sportello"}, {"ticket-window", "sportello"},
      {"Coffee", "Caffè"},           {"empty", ""},
  };
  const auto rows = BuildRows(source, {{"eat", "mangiare"}, {"", "vuoto"}}, c);
  EXPECT_EQ(rows, (std::vector<Row>{{"coffee", "caffè"},
                                    {"eat", "mangiare"},
                                    {"female", "femmina"},
                                    {"ticket-window", "sportello"}}));
  EXPECT_TRUE(CheckPunctuationTwins(rows).empty());
  EXPECT_TRUE(CheckEmptySides(rows).empty());
}

TEST(WordRules, ChecksNameWhatIsWrong) {
  const std::vector<Row> rows{{"ticketwindow", "sportello"},
                              {"ticket-window", "sportello"},
                              {"", "vuoto"},
                              {"Dog", "cane"}};
  EXPECT_EQ(
      CheckPunctuationTwins(rows),
      std::vector<std::string>{"English headwords differ only by punctuation: \"ticket-window\" "
                               "\"ticketwindow\""});
  EXPECT_EQ(CheckEmptySides(rows),
            std::vector<std::string>{"a row with an empty side: \"\" / \"vuoto\""});
  EXPECT_EQ(CheckRequired(rows, {{"English", "dog"}, {"Italian", "cane"}, {"English", "eat"}}),
            std::vector<std::string>{"English word missing: \"eat\""});
  EXPECT_EQ(PunctuationKey("Brother-in-law"), "brotherinlaw");
}

// The tool with the checked-in review folder, with one file changed.
int RunTool(const fs::path& folder, const std::string& file, const std::string& extraLine) {
  const fs::path review = folder / "review";
  fs::create_directories(review);
  const fs::path source = testsupport::SourceDir() / "data/dictionary/review";
  for (const auto& e : fs::directory_iterator(source))
    fs::copy_file(e.path(), review / e.path().filename());
  std::ofstream(review / file, std::ios::app) << extraLine << "\n";
  const std::string d = "/usr/share/dictd/";
  const std::string command = std::string(DICTIONARY_TOOL) + " " + (folder / "out.dll").string() +
                              " " + d + "freedict-eng-ita.index " + d +
                              "freedict-eng-ita.dict.dz " + d + "freedict-ita-eng.index " + d +
                              "freedict-ita-eng.dict.dz " + review.string() + " " +
                              (testsupport::SourceDir() / "data/wordbook").string() +
                              " /usr/share/hunspell /usr/share/wordnet 2>/dev/null";
  return std::system(command.c_str());
}

TEST(WordRules, TheBuildFailsOnAMisspeltOrMissingWord) {
  for (const auto& [file, line] : std::vector<std::pair<std::string, std::string>>{
           {"core-words.txt", "coffee\tcaffé"},
           {"required-words.txt", "English\tzzyzzq"},
           {"core-words.txt", "very big\tgrandissimmo"},
           {"core-words.txt", "loo\tcesso"},              // a coarse word as an answer
           {"core-words.txt", "house\tdimora"},           // a second answer, and no order for it
           {"answer-order.txt", "dog\tcane\tcagnolino"},  // an order naming a wrong answer
       }) {
    testsupport::TempDir folder;
    EXPECT_NE(RunTool(folder.path(), file, line), 0) << line;
    EXPECT_FALSE(fs::exists(folder / "out.dll")) << line;
  }
  testsupport::TempDir folder;
  EXPECT_EQ(RunTool(folder.path(), "core-words.txt", "# the checked-in lists pass"), 0);
  EXPECT_TRUE(fs::exists(folder / "out.dll"));
}

TEST(WordRules, AnswersTakeTheirReviewedOrderAndVerbsTheirToForm) {
  const AnswerOrder order = ParseAnswerOrder("# comment\nBill\tconto\tbecco\n", "answer-order.txt");
  std::vector<Row> rows{{"bill", "becco"},   {"Bill", "fattura"},    {"bill", "conto"},
                        {"eat", "mangiare"}, {"glass", "bicchiere"}, {"glass", "vetro"}};
  RankAnswers(rows, order);
  EXPECT_EQ(rows[0].italian, "conto");
  EXPECT_EQ(rows[1].italian, "becco");
  EXPECT_EQ(rows[2].italian, "fattura");  // not named: after the named ones
  EXPECT_EQ(CheckAnswerOrder(rows, order),
            (std::vector<std::string>{
                "the order of \"bill\" does not name its answers: \"becco\" \"conto\" \"fattura\"",
                "\"glass\" has 2 answers but no order in answer-order.txt"}));
  EXPECT_THROW(ParseAnswerOrder("bill\tconto\n", "answer-order.txt"), std::runtime_error);

  // A verb is an English verb with an Italian infinitive that forms a gerund.
  const auto known = [](std::string_view w) {
    return w == "mangiando" || w == "alzando" || w == "conducendo";
  };
  EXPECT_TRUE(IsInfinitive("mangiare", known));
  EXPECT_TRUE(IsInfinitive("alzarsi", known));
  EXPECT_TRUE(IsInfinitive("condurre una vita", known));
  EXPECT_FALSE(IsInfinitive("bicchiere", known));
  EXPECT_FALSE(IsInfinitive("vetro", known));
  const auto withVerbs = WithVerbForms(
      rows, [&](const Row& r) { return r.english != "glass" && IsInfinitive(r.italian, known); });
  ASSERT_EQ(withVerbs.size(), rows.size() + 1);
  EXPECT_EQ(withVerbs.back().english, "to eat");
  EXPECT_EQ(withVerbs.back().italian, "mangiare");

  EXPECT_EQ(CheckCoarse({{"toilet", "il cesso"}, {"toilet", "bagno"}}, {"cesso"}),
            std::vector<std::string>{"a coarse word as a plain answer: \"toilet\" / \"il cesso\""});
  EXPECT_EQ(
      CheckWordBookFound({{"excuse me", "scusi"}},
                         {{"sorry", "scusi"}, {"a bit", "un po'"}, {"I", "io"}}),
      std::vector<std::string>{"the word book's \"io\" cannot be found in the Italian column"});
}

}  // namespace
