// The bar's start-up: settings, character, splash, intro; and its end.

#include <QImage>
#include <fstream>

#include "bar_fixture.h"
#include "suite/trainer_settings.h"

using namespace dialogra;
using dialogra::testing::BarFixture;
using Kind = agent::RequestRecord::Kind;

using Startup = BarFixture;

TEST_F(Startup, LoadsHiddenBehindTheSplashWithTheCharacterShown) {
  Form1& bar = LoadBar();
  EXPECT_FALSE(bar.Visible());
  EXPECT_EQ(bar.Top(), 0);
  EXPECT_EQ(bar.Height(), 340);
  EXPECT_EQ(bar.Left(), forms::Screen::Width() / 2 - 3000);  // the first run's "left"
  EXPECT_TRUE(win::GetWindowLongPtrA(bar.hWnd(), win::GWL_EXSTYLE) & win::WS_EX_TOPMOST);
  Form4* splash = forms::Forms::Find<Form4>();
  ASSERT_NE(splash, nullptr);
  EXPECT_TRUE(splash->Visible());
  EXPECT_EQ(splash->Top(), forms::Screen::Height() / 2 - 1800);
  EXPECT_EQ(splash->Left(), forms::Screen::Width() / 2 - 1000);

  ASSERT_TRUE(bar.mobjAgent);
  EXPECT_EQ(bar.mobjAgent->Name(), "Merlin");
  EXPECT_EQ(bar.mobjAgent->LanguageID(), 1040);
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.front().kind, Kind::Show);
  EXPECT_TRUE(messages.empty());

  // The first pair is picked at load: lesson 1 from its start.
  EXPECT_EQ(bar.ItalianText, forms::LoadResString(10101));
  EXPECT_EQ(bar.EnglishText, forms::LoadResString(20101));
  EXPECT_EQ(module().guagen, 10102);
  EXPECT_EQ(module().IntroCountdown, 70);
  EXPECT_TRUE(bar.Timer1.Enabled());
  EXPECT_FALSE(bar.Timer5.Enabled());
}

TEST_F(Startup, TheBarsPixelPlaceRoundsHalvesToEven) {
  FirstRunBlock();
  WriteSetting("left", "7237.5");  // 482.5 pixels
  Form1& bar = LoadBar();
  win::RECT r{};
  win::GetWindowRect(bar.hWnd(), &r);
  EXPECT_EQ(r.left, 482);
  WriteSetting("left", "7252.5");  // 483.5 pixels
  forms::testing::ReleaseAllForms();
  Form1& again = LoadBar();
  win::GetWindowRect(again.hWnd(), &r);
  EXPECT_EQ(r.left, 484);
}

TEST_F(Startup, TheIntroShowsTheBarAfter20TicksAndStartsStudyingAt2) {
  Form1& bar = LoadBar();
  Ticks(19, 60);
  EXPECT_FALSE(bar.Visible());  // the welcome line scrolls in unseen
  EXPECT_EQ(bar.Label1.Caption(), std::string(31, ' ') + Form1::kWelcome);
  Ticks(1, 60);  // c = 50
  EXPECT_TRUE(bar.Visible());
  EXPECT_EQ(forms::Forms::Find<Form4>(), nullptr);
  EXPECT_EQ(bar.Label1.Caption(), std::string(30, ' ') + Form1::kWelcome);
  Ticks(29, 60);  // c = 21
  EXPECT_EQ(bar.Label1.Caption(), std::string(1, ' ') + Form1::kWelcome);
  Ticks(1, 60);  // c = 20: the line stands
  EXPECT_EQ(bar.Label1.Caption(), Form1::kWelcome);
  Ticks(17, 60);  // c = 3
  EXPECT_EQ(bar.Label1.Caption(), Form1::kWelcome);
  EXPECT_FALSE(bar.Timer5.Enabled());
  Ticks(1, 60);  // c = 2, tick 68, about 4.1 s after start
  EXPECT_EQ(bar.Label1.Caption(), " ");
  EXPECT_TRUE(bar.Timer5.Enabled());
  EXPECT_EQ(clock.NowMs(), 68 * 60);
}

TEST_F(Startup, TheSplashPictureFillsItsWholeForm) {
  LoadBar();
  Form4* splash = forms::Forms::Find<Form4>();
  ASSERT_NE(splash, nullptr);
  // Placed where its edges fall on thirds of a pixel.
  splash->Left(5000);
  const std::string png = (folder / "splash.png").string();
  ASSERT_TRUE(win::SaveWindowPng(splash->hWnd(), png));
  const QImage shot(QString::fromStdString(png));
  ASSERT_FALSE(shot.isNull());
  const win::COLORREF c = forms::TranslateColor(splash->BackColor());
  const QColor back(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
  int backPixels = 0;
  for (int y = 0; y < shot.height(); ++y)
    backPixels += shot.pixelColor(shot.width() - 1, y) == back;
  EXPECT_LT(backPixels, shot.height() / 2) << "the right column shows the form, not the picture";
}

TEST_F(Startup, AClickOnTheSplashShowsTheBarAtOnce) {
  Form1& bar = LoadBar();
  Ticks(3, 60);
  forms::Forms::Find<Form4>()->Image1.Click();
  EXPECT_TRUE(bar.Visible());
  EXPECT_EQ(module().IntroCountdown, 50);
  QCoreApplication::processEvents();
  EXPECT_EQ(forms::Forms::Find<Form4>(), nullptr);
  Ticks(1, 60);
  EXPECT_EQ(bar.Label1.Caption(), std::string(29, ' ') + Form1::kWelcome);
}

TEST_F(Startup, WhileAPictureFormIsOpenTheIntroDoesNotStartStudying) {
  Form1& bar = LoadBar();
  Form7& about = forms::Forms::Get<Form7>();
  about.Show();
  EXPECT_FALSE(bar.Image1.Enabled());
  Ticks(68, 60);
  EXPECT_FALSE(bar.Timer5.Enabled());
  about.Image1.Click();
  EXPECT_TRUE(bar.Image1.Enabled());
}

TEST_F(Startup, AMissingCharacterFileIsToldOnceAndTheBarGoesOnSilently) {
  forms::SaveSetting("Tesk", "Orvanta7", "xxx", "1");
  forms::SaveSetting("Tesk", "Orvanta7", "agent", "Nobody");
  Form1& bar = LoadBar();
  EXPECT_FALSE(bar.mobjAgent);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("Nobody.acs"), std::string::npos);
  // The lessons go on: the cycle runs and nothing is spoken.
  Ticks(68, 60);
  bool italianShown = false;
  for (int i = 0; i < 100; ++i) {
    Ticks(1, 100);
    italianShown = italianShown || bar.Label1.Caption() == " " + bar.ItalianText;
  }
  EXPECT_TRUE(italianShown);
  EXPECT_TRUE(Spoken().empty());
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(Startup, ADamagedSettingsFileKeepsWhatStillReadsAndIsToldOnce) {
  const auto store = forms::SettingsStore::DefaultPath();
  std::filesystem::create_directories(store.parent_path());
  const std::string text =
      "# Tavrinel settings, format 1\n\n[Tesk\\Orvanta7]\nxxx=1\nce=1\nn=5\nguage=7\n"
      "agent=Gufo\nleft=4200\n";
  std::ofstream(store, std::ios::binary) << text.substr(0, text.size() - 3);
  Form1& bar = LoadBar();
  // The user's options stand; only the cut line falls back to its default.
  EXPECT_EQ(module().ce, 1);
  EXPECT_EQ(module().PlayTimes, 5);
  EXPECT_EQ(module().LessonIndex, 7);
  EXPECT_EQ(module().AgentName, "Gufo");
  EXPECT_EQ(bar.Left(), forms::Screen::Width() / 2 - 3000);
  // The first-run block did not run over them.
  EXPECT_EQ(forms::GetSetting("Tesk", "Orvanta7", "ctime", "absent"), "absent");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find(store.string() + " was damaged"), std::string::npos) << messages[0];
  EXPECT_NE(messages[0].find("The 5 settings that could still be read were kept"),
            std::string::npos)
      << messages[0];
  EXPECT_NE(messages[0].find("settings.conf.damaged-"), std::string::npos) << messages[0];
  // Later reads and writes tell nothing more.
  bar.hideagent();
  bar.showagent();
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(Startup, SettingsThatCannotBeSavedAreToldOnceAndTheBarStarts) {
  // A file where the settings folder should be.
  std::filesystem::create_directories(folder / "config");
  std::ofstream(folder / "config" / "Tavrinel") << "in the way";
  Form1& bar = LoadBar();
  // The defaults hold for this run.
  EXPECT_EQ(module().AgentName, "Merlin");
  EXPECT_EQ(module().PlayTimes, 1);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("cannot be saved"), std::string::npos) << messages[0];
  EXPECT_NE(messages[0].find((folder / "config" / "Tavrinel").string()), std::string::npos);
  WriteSetting("voice", "0");
  WriteSetting("left", "100");
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_TRUE(bar.Timer1.Enabled());
}

TEST_F(Startup, UnloadingTheBarHidesAndUnloadsTheCharacterAndEnds) {
  Form1& bar = LoadBar();
  auto character = bar.mobjAgent;
  ASSERT_TRUE(character);
  requests.clear();
  try {
    forms::Unload(bar);
  } catch (const forms::testing::ProgramEnded&) {
    // Ending is what this case expects; `ended` checks it below.
  }
  EXPECT_TRUE(ended);
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.front().kind, Kind::Hide);
  EXPECT_THROW(bar.Agent1.Characters()("Merlin"), agent::Error);
  EXPECT_THROW(character->Speak("ciao"), agent::Error);
}

TEST_F(Startup, ShowagentLoadsTheStoredCharacterAfterHideagent) {
  Form1& bar = LoadBar();
  bar.hideagent();
  EXPECT_FALSE(bar.mobjAgent);
  forms::SaveSetting("Tesk", "Orvanta7", "Agent", "Gufo");
  bar.showagent();
  ASSERT_TRUE(bar.mobjAgent);
  EXPECT_EQ(bar.mobjAgent->Name(), "Gufo");
  EXPECT_EQ(module().AgentName, "Gufo");
  EXPECT_EQ(bar.mobjAgent->LanguageID(), 1040);
}
