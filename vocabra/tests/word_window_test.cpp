// The word window's start-up, its word source, its size and place, its end.

#include <chrono>
#include <clocale>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <thread>

#include "word_fixture.h"

using namespace vocabra;
using vocabra::testing::Pair;
using vocabra::testing::WordFixture;
using Kind = agent::RequestRecord::Kind;

using WordWindow = WordFixture;

namespace {

std::string PairOf(const Pair& p) {
  return FrmShow::PairText(p.first, p.second);
}

}  // namespace

TEST_F(WordWindow, AFirstStartWritesBothTrainersDefaultsAndShowsTheFirstPhraseUnspoken) {
  FrmShow& w = LoadWindow();
  EXPECT_EQ(Stored("guageword"), "1");
  EXPECT_EQ(Stored("ce"), "0");  // the conversation trainer's keys come too
  EXPECT_EQ(Stored("guagen"), "11000");
  EXPECT_EQ(module().ctimeword, 7);
  EXPECT_EQ(w.Timer6.Interval(), 7000);
  EXPECT_TRUE(w.Timer6.Enabled());
  EXPECT_TRUE(win::GetWindowLongPtrA(w.hWnd(), win::GWL_EXSTYLE) & win::WS_EX_TOPMOST);
  EXPECT_EQ(w.Data1.DatabaseName(), forms::App::Path() + "\\reg.ocx");
  EXPECT_EQ(w.Data1.Connect(), ";pwd=Mirt40697315Lp");
  EXPECT_EQ(w.Data1.RecordSource(), "select * from word where category= 'Some Basic Phrases'");
  EXPECT_EQ(w.LB.Left(), 60);
  EXPECT_EQ(w.LB.Top(), 80);

  const auto phrases = CategorisedPairs(w.Data1.RecordSource());
  ASSERT_GE(phrases.size(), 2u);
  EXPECT_EQ(w.LB.Caption(), PairOf(phrases[0]));
  ASSERT_TRUE(w.mobjAgent);
  EXPECT_EQ(w.mobjAgent->Name(), "Merlin");
  EXPECT_EQ(w.mobjAgent->LanguageID(), 1040);
  EXPECT_TRUE(Requests(Kind::Speak).empty());
  EXPECT_TRUE(messages.empty());
}

TEST_F(WordWindow, ASettingsFileWrittenByHandKeepsItsLinesAndTheDamageIsToldOnceOnScreen) {
  Settings({});
  // The user's own file, without the store's first line, one line unreadable.
  const auto store = forms::SettingsStore::DefaultPath();
  std::ofstream(store, std::ios::binary) << "[Tesk\\Orvanta7]\nxxx=1\nctimeword=9\n"
                                            "guageword=1\nontopword=0\nnot a setting\n";
  FrmShow& w = LoadWindow();
  EXPECT_EQ(module().ctimeword, 9);
  EXPECT_EQ(w.Timer6.Interval(), 9000);
  EXPECT_FALSE(win::GetWindowLongPtrA(w.hWnd(), win::GWL_EXSTYLE) & win::WS_EX_TOPMOST);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find(store.string() + " was damaged"), std::string::npos) << messages[0];
  EXPECT_NE(messages[0].find("settings.conf.damaged-"), std::string::npos) << messages[0];
  Store("ctimeword", "8");
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(WordWindow, OntopwordZeroLeavesTheWindowAmongTheOthers) {
  Settings({{"ontopword", "0"}});
  FrmShow& w = LoadWindow();
  EXPECT_FALSE(win::GetWindowLongPtrA(w.hWnd(), win::GWL_EXSTYLE) & win::WS_EX_TOPMOST);
}

TEST_F(WordWindow, AnEmptyOwnBookIsReportedAndThisRunUsesSomeBasicPhrases) {
  Settings({{"guageword", "35"}});
  FrmShow& w = LoadWindow();
  EXPECT_EQ(messages, std::vector<std::string>{"Error:New Words book is empty."});
  EXPECT_EQ(w.Data1.RecordSource(), "select * from word where category= 'Some Basic Phrases'");
  EXPECT_EQ(w.Data1.Connect(), ";pwd=Mirt40697315Lp");
  EXPECT_EQ(w.LB.Caption(), PairOf(CategorisedPairs(w.Data1.RecordSource())[0]));
  // The choice stays, so the next start tells it again.
  EXPECT_EQ(module().guageword, 35);
  EXPECT_EQ(Stored("guageword"), "35");
}

TEST_F(WordWindow, AnOwnBookWithWordsIsTheSource) {
  Settings({{"guageword", "35"}});
  AddOwnWords({{"the kite", "l'aquilone"}, {"salt & pepper", "sale & pepe"}});
  FrmShow& w = LoadWindow();
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(w.Data1.DatabaseName(), forms::App::Path() + "\\word.ocx");
  EXPECT_EQ(w.Data1.RecordSource(), "select * from word ");
  EXPECT_EQ(w.LB.Caption(), "the kite  |  l'aquilone");
  // Typed words show as typed: an ampersand is no access key.
  Ticks(1, 7000);
  EXPECT_EQ(w.LB.DisplayText(), "salt & pepper  |  sale & pepe");
}

TEST_F(WordWindow, AMissingOwnBookIsToldOnceAndTheWordsComeFromSomeBasicPhrases) {
  Settings({{"guageword", "35"}});
  std::filesystem::remove(folder / "word.ocx");
  FrmShow& w = LoadWindow();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("word.ocx"), std::string::npos) << messages[0];
  EXPECT_EQ(w.Data1.RecordSource(), "select * from word where category= 'Some Basic Phrases'");
  const auto phrases = CategorisedPairs(w.Data1.RecordSource());
  Ticks(1, 7000);
  EXPECT_EQ(w.LB.Caption(), PairOf(phrases[1]));
  EXPECT_EQ(messages.size(), 1u);
}

// The categorised book starts opening as the window is made, on another
// thread; what the user meets still follows the book as it is once the
// window has loaded, as if it were opened only then.
TEST_F(WordWindow, ABookLetGoWhileTheWindowIsMadeShowsItsFirstPhraseUntold) {
  Settings({});
  auto held = std::make_optional(dao::OpenDatabase((folder / "reg.ocx").string(), true, false,
                                                   std::string(kCategorisedConnect)));
  FrmShow& w = forms::Forms::Get<FrmShow>();
  // Long enough for the early opening to meet the book held.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  held.reset();
  w.Load();
  const auto phrases = CategorisedPairs(w.Data1.RecordSource());
  ASSERT_FALSE(phrases.empty());
  EXPECT_EQ(w.LB.Caption(), PairOf(phrases[0]));
  EXPECT_TRUE(messages.empty());
}

TEST_F(WordWindow, ADamagedBookIsToldOnceByNameWhenTheWindowHasLoaded) {
  Settings({});
  std::string bytes;
  {
    std::ifstream in(folder / "reg.ocx", std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  for (std::size_t i = 0; i < bytes.size(); i += 3) bytes[i] = static_cast<char>(~bytes[i]);
  std::ofstream(folder / "reg.ocx", std::ios::binary | std::ios::trunc) << bytes;
  FrmShow& w = forms::Forms::Get<FrmShow>();
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_TRUE(messages.empty());
  w.Load();
  // What the book itself says when it is opened there and then.
  std::string expected;
  try {
    dao::OpenDatabase(w.Data1.DatabaseName(), false, false, std::string(kCategorisedConnect))
        .OpenRecordset(w.Data1.RecordSource());
  } catch (const dao::Error& e) {
    expected = dialogra::OpenFailureText((folder / "reg.ocx").string(), e);
  }
  ASSERT_NE(expected.find("\"" + (folder / "reg.ocx").string() + "\""), std::string::npos)
      << expected;
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].substr(0, expected.size()), expected) << messages[0];
  EXPECT_EQ(w.LB.Caption(), "");
  Ticks(2, 7000);
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_EQ(w.LB.Caption(), "");
}

TEST_F(WordWindow, EntireGivesEveryCategoryInTheEnginesOrderWithoutTheOwnBook) {
  Settings({{"guageword", "0"}, {"voice", "0"}, {"ctimeword", "3"}});
  AddOwnWords({{"zz own word", "zz parola mia"}});
  FrmShow& w = LoadWindow();
  EXPECT_EQ(w.Data1.RecordSource(), "select * from word ");
  const auto all = CategorisedPairs("select * from word ");
  const auto phrases = CategorisedPairs(CategoryRecordSource(1));
  const auto farm = CategorisedPairs(CategoryRecordSource(34));
  EXPECT_GT(all.size(), phrases.size() + farm.size());
  // One lap over N records takes N + 1 ticks.
  std::vector<std::string> shown{w.LB.Caption()};
  for (std::size_t i = 0; i < all.size(); ++i) {
    Ticks(1, 3000);
    shown.push_back(w.LB.Caption());
  }
  EXPECT_EQ(shown.front(), PairOf(all.front()));
  EXPECT_EQ(shown[all.size() - 1], PairOf(all.back()));
  EXPECT_EQ(shown.back(), PairOf(all.back()));  // past the last: the last stays
  for (const auto& s : shown) EXPECT_EQ(s.find("zz own"), std::string::npos);
  Ticks(1, 3000);
  EXPECT_EQ(w.LB.Caption(), PairOf(all.front()));
}

TEST_F(WordWindow, TheTwoAmpersandSourcesSelectTheirCategories) {
  for (const auto& [index, category] : {std::pair{16, "Countries and Nationalities"},
                                        std::pair{18, "Fruits, Vegetables and Meats"}}) {
    Settings({{"guageword", std::to_string(index)}});
    FrmShow& w = LoadWindow();
    EXPECT_EQ(w.Data1.RecordSource(),
              std::string("select * from word where category= '") + category + "'");
    const auto pairs = CategorisedPairs(w.Data1.RecordSource());
    ASSERT_FALSE(pairs.empty()) << category;
    EXPECT_EQ(w.LB.Caption(), PairOf(pairs[0]));
    forms::testing::ReleaseAllForms();
  }
}

TEST_F(WordWindow, HandEditedValuesOutOfRangeAreBroughtIntoRange) {
  const std::vector<std::tuple<std::string, std::string, int, int>> cases{
      // guageword, ctimeword, expected guageword, expected seconds
      {"99", "40", 35, 15}, {"-4", "1", 0, 3},    {"36", "33", 35, 15},
      {"abc", "", 1, 7},    {"34", "15", 34, 15}, {"0", "3", 0, 3},
  };
  for (const auto& [source, seconds, wantSource, wantSeconds] : cases) {
    Settings({{"guageword", source}, {"ctimeword", seconds}});
    module() = Module{};
    FrmShow& w = LoadWindow();
    EXPECT_EQ(module().guageword, wantSource) << source;
    EXPECT_EQ(module().ctimeword, wantSeconds) << seconds;
    EXPECT_EQ(w.Timer6.Interval(), wantSeconds * 1000) << seconds;
    // What the store holds is left as it is.
    EXPECT_EQ(Stored("guageword"), source);
    forms::testing::ReleaseAllForms();
  }
}

TEST_F(WordWindow, NumbersInTheStoreReadTheSameInALocaleWithADecimalComma) {
  // A German locale made for the test, as a user's may be.
  const auto locales = folder / "locale";
  std::filesystem::create_directories(locales);
  const std::string make =
      "localedef -i de_DE -f UTF-8 '" + (locales / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
  [[maybe_unused]] const int made = std::system(make.c_str());
  setenv("LOCPATH", locales.c_str(), 1);
  const std::string before = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) {
    unsetenv("LOCPATH");
    GTEST_SKIP() << "no locale with a decimal comma could be made";
  }
  ASSERT_EQ(*std::localeconv()->decimal_point, ',');
  Settings({{"winleftword", "10237.5"}, {"ctimeword", "11"}});
  FrmShow& w = LoadWindow();
  EXPECT_FLOAT_EQ(module().winleftword, 10237.5f);
  EXPECT_EQ(w.Timer6.Interval(), 11000);
  std::setlocale(LC_ALL, before.c_str());
  unsetenv("LOCPATH");
}

TEST_F(WordWindow, AShortPairKeepsItsWidthAndALongOneWrapsAt2100) {
  Settings({{"guageword", "35"}});
  AddOwnWords({{"yes", "si"},
               {"Excuse me, could you tell me the way to the railway station please",
                "Mi scusi, potrebbe indicarmi la strada per la stazione ferroviaria per favore"}});
  FrmShow& w = LoadWindow();
  ASSERT_EQ(w.LB.Caption(), "yes  |  si");
  EXPECT_LT(w.LB.Width(), 2100);
  EXPECT_NEAR(w.LB.Width(), w.lb0.Width(), 15);
  EXPECT_EQ(w.LB.Height(), w.lb0.Height());  // one line
  EXPECT_EQ(w.Width(), w.LB.Width() + 200);
  EXPECT_EQ(w.Height(), w.LB.Height() + 200);

  Ticks(1, 7000);
  ASSERT_EQ(w.LB.Caption().substr(0, 10), "Excuse me,");
  EXPECT_EQ(w.LB.Width(), 2100);
  EXPECT_EQ(w.Width(), 2300);
  EXPECT_GE(w.LB.Height(), 3 * w.lb0.Height());
  EXPECT_EQ(w.Height(), w.LB.Height() + 200);
}

TEST_F(WordWindow, APairKeepsTheWindowInsideTheScreenSidewaysButNotUpAndDown) {
  Settings({{"guageword", "35"}, {"ctimeword", "3"}});
  AddOwnWords({{"yes", "si"}, {"no", "no"}, {"please", "per favore"}, {"thanks", "grazie"}});
  FrmShow& w = LoadWindow();
  const float screen = forms::Screen::Width();
  // Past the right edge: moved left to end at the edge.
  w.Left(screen - 300);
  Ticks(1, 3000);
  EXPECT_EQ(w.Left(), screen - w.Width());
  // Off the left edge: back at 0.
  w.Left(-900);
  Ticks(1, 3000);
  EXPECT_EQ(w.Left(), 0);
  // Off the top or the bottom: it stays there.
  w.Move(1500, -600);
  Ticks(1, 3000);
  EXPECT_EQ(w.Top(), -600);
  w.Move(1500, forms::Screen::Height() + 300);
  Ticks(1, 3000);
  EXPECT_EQ(w.Top(), forms::Screen::Height() + 300);
  EXPECT_EQ(w.Left(), 1500);
}

TEST_F(WordWindow, AMissingCharacterIsToldOnceAndTheWordsGoOnSilently) {
  Settings({{"agent", "Nobody"}, {"ctimeword", "3"}});
  FrmShow& w = LoadWindow();
  EXPECT_FALSE(w.mobjAgent);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("Nobody.acs"), std::string::npos) << messages[0];
  const std::string first = w.LB.Caption();
  Ticks(1, 3000);
  EXPECT_NE(w.LB.Caption(), first);
  EXPECT_TRUE(requests.empty());
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(WordWindow, ClosingHidesTheCharacterAndEnds) {
  FrmShow& w = LoadWindow();
  ASSERT_TRUE(w.mobjAgent);
  requests.clear();
  try {
    forms::Unload(w);
  } catch (const forms::testing::ProgramEnded&) {
    // Ending is what this case expects; `ended` checks it below.
  }
  EXPECT_TRUE(ended);
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.front().kind, Kind::Hide);
}

namespace {

// The messages sent to windows while a test's hook is in place.
std::vector<win::CWPSTRUCT>& Sent() {
  static std::vector<win::CWPSTRUCT> sent;
  return sent;
}

win::LRESULT RecordSent(int code, win::WPARAM wParam, win::LPARAM lParam) {
  Sent().push_back(*reinterpret_cast<const win::CWPSTRUCT*>(lParam));
  return win::CallNextHookEx(win::HHOOK{}, code, wParam, lParam);
}

}  // namespace

TEST_F(WordWindow, TheLeftButtonMovesTheWindowByItsCaptionAndNoOtherButtonDoes) {
  FrmShow& w = LoadWindow();
  const win::HHOOK hook =
      win::SetWindowsHookExA(win::WH_CALLWNDPROC, &RecordSent, win::HINSTANCE{}, 0);
  auto captionPresses = [&w] {
    int n = 0;
    for (const auto& m : Sent())
      n += m.hwnd == w.hWnd() && m.message == win::WM_NCLBUTTONDOWN &&
           m.wParam == static_cast<win::WPARAM>(win::HTCAPTION);
    return n;
  };
  Sent().clear();
  w.LB_MouseDown(forms::vbLeftButton);
  EXPECT_EQ(captionPresses(), 1);
  {
    // The right button opens the menu instead (closed here unused).
    bool opened = false;
    vocabra::testing::MenuDriver menu({[&](win::HWND popup) {
      opened = true;
      vocabra::testing::MenuDriver::Key(popup, Qt::Key_Escape);
    }});
    w.LB_MouseDown(forms::vbRightButton);
    EXPECT_TRUE(opened);
  }
  w.LB_MouseDown(4);
  EXPECT_EQ(captionPresses(), 1);
  win::UnhookWindowsHookEx(hook);
}
