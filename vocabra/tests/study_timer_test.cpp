// The study timer: its pace, the voices, the lap, and sources that give no
// words.

#include "word_fixture.h"

using namespace vocabra;
using vocabra::testing::WordFixture;
using Kind = agent::RequestRecord::Kind;

using StudyTimer = WordFixture;

namespace {

const std::vector<vocabra::testing::Pair> kThree{
    {"the kite", "l'aquilone"}, {"the swing", "l'altalena"}, {"the slide", "lo scivolo"}};

}  // namespace

TEST_F(StudyTimer, TicksComeEveryCtimewordSecondsAtBothEnds) {
  for (int seconds : {3, 15}) {
    Settings({{"guageword", "35"}, {"ctimeword", std::to_string(seconds)}, {"voice", "0"}});
    AddOwnWords(kThree);
    FrmShow& w = LoadWindow();
    EXPECT_EQ(w.Timer6.Interval(), seconds * 1000);
    EXPECT_EQ(w.LB.Caption(), "the kite  |  l'aquilone");
    clock.Advance(seconds * 1000 - 1);
    EXPECT_EQ(w.LB.Caption(), "the kite  |  l'aquilone");
    clock.Advance(1);
    EXPECT_EQ(w.LB.Caption(), "the swing  |  l'altalena");
    clock.Advance(seconds * 1000);
    EXPECT_EQ(w.LB.Caption(), "the slide  |  lo scivolo");
    forms::testing::ReleaseAllForms();
    dao::OpenDatabase((folder / "word.ocx").string()).Execute("delete from word");
  }
}

TEST_F(StudyTimer, TwoVoicesSpeakEnglishIn2057ThenItalianIn1040EachWithAWave) {
  Settings({{"guageword", "35"}, {"ctimeword", "3"}});
  AddOwnWords(kThree);
  FrmShow& w = LoadWindow();
  requests.clear();
  Ticks(1, 3000);
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[0].kind, Kind::Speak);
  EXPECT_EQ(requests[0].text, "the swing");
  EXPECT_EQ(requests[0].languageId, 2057);
  EXPECT_EQ(requests[1].kind, Kind::Play);
  EXPECT_EQ(requests[1].text, "Wave");
  EXPECT_EQ(requests[2].kind, Kind::Speak);
  EXPECT_EQ(requests[2].text, "l'altalena");
  EXPECT_EQ(requests[2].languageId, 1040);
  EXPECT_EQ(requests[3].kind, Kind::Play);
  EXPECT_EQ(requests[3].text, "Wave");
  EXPECT_EQ(w.mobjAgent->LanguageID(), 1040);

  // A change of "twovoice" counts from the next word.
  module().twovoice = 0;
  requests.clear();
  Ticks(1, 3000);
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].kind, Kind::Speak);
  EXPECT_EQ(requests[0].text, "lo scivolo");
  EXPECT_EQ(requests[0].languageId, 1040);
  EXPECT_EQ(requests[1].text, "Wave");
}

TEST_F(StudyTimer, VoiceZeroChangesTheWordsSilently) {
  Settings({{"guageword", "35"}, {"ctimeword", "3"}, {"voice", "0"}});
  AddOwnWords(kThree);
  FrmShow& w = LoadWindow();
  requests.clear();
  Ticks(2, 3000);
  EXPECT_EQ(w.LB.Caption(), "the slide  |  lo scivolo");
  EXPECT_TRUE(requests.empty());
}

TEST_F(StudyTimer, TheTickPastTheLastWordKeepsItAndSaysNothingThenTheLapStartsAgain) {
  Settings({{"guageword", "35"}, {"ctimeword", "3"}});
  AddOwnWords(kThree);
  FrmShow& w = LoadWindow();
  Ticks(2, 3000);
  ASSERT_EQ(w.LB.Caption(), "the slide  |  lo scivolo");
  requests.clear();
  Ticks(1, 3000);
  EXPECT_EQ(w.LB.Caption(), "the slide  |  lo scivolo");
  EXPECT_TRUE(requests.empty());
  Ticks(1, 3000);
  EXPECT_EQ(w.LB.Caption(), "the kite  |  l'aquilone");
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests[0].text, "the kite");
}

TEST_F(StudyTimer, ACategorisedBookThatIsMissingAtStartIsSaidOnceAndSkippedUntilItComes) {
  Settings({{"ctimeword", "3"}});
  std::filesystem::rename(folder / "reg.ocx", folder / "reg.away");
  FrmShow& w = LoadWindow();
  requests.clear();
  Ticks(3, 3000);
  EXPECT_EQ(w.LB.Caption(), "");
  EXPECT_TRUE(requests.empty());
  // Which file, and why, once for all the ticks that try it again.
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("\"" + (folder / "reg.ocx").string() + "\""), std::string::npos)
      << messages[0];
  EXPECT_NE(messages[0].find("does not exist"), std::string::npos) << messages[0];
  // The word-book manager gives the book back: the next tick goes on.
  std::filesystem::rename(folder / "reg.away", folder / "reg.ocx");
  Ticks(1, 3000);
  const auto phrases = CategorisedPairs(CategoryRecordSource(1));
  EXPECT_EQ(w.LB.Caption(), FrmShow::PairText(phrases[0].first, phrases[0].second));
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests[0].text, phrases[0].first);
}

TEST_F(StudyTimer, ACategoryWithoutWordsIsSkippedQuietly) {
  Settings({{"guageword", "10"}, {"ctimeword", "3"}});
  {
    dao::Database db = dao::OpenDatabase((folder / "reg.ocx").string(), false, false,
                                         std::string(kCategorisedConnect));
    db.Execute("delete from word where category='Color'");
  }
  FrmShow& w = LoadWindow();
  requests.clear();
  Ticks(4, 3000);
  EXPECT_EQ(w.LB.Caption(), "");
  EXPECT_TRUE(requests.empty());
  EXPECT_TRUE(messages.empty());
  // Words added to the category in the word-book manager come at the next
  // tick.
  {
    dao::Database db = dao::OpenDatabase((folder / "reg.ocx").string(), false, false,
                                         std::string(kCategorisedConnect));
    db.Execute("insert into word (English, Italian, category) values ('blue', 'blu', 'Color')");
  }
  Ticks(1, 3000);
  EXPECT_EQ(w.LB.Caption(), "blue  |  blu");
}

TEST_F(StudyTimer, ABookHeldExclusivelyElsewhereIsSkippedUntilItIsLetGo) {
  Settings({{"ctimeword", "3"}, {"voice", "0"}});
  auto held = std::make_optional(dao::OpenDatabase((folder / "reg.ocx").string(), true, false,
                                                   std::string(kCategorisedConnect)));
  FrmShow& w = LoadWindow();
  Ticks(2, 3000);
  EXPECT_EQ(w.LB.Caption(), "");
  held.reset();
  Ticks(1, 3000);
  const auto phrases = CategorisedPairs(CategoryRecordSource(1));
  EXPECT_EQ(w.LB.Caption(), FrmShow::PairText(phrases[0].first, phrases[0].second));
}
