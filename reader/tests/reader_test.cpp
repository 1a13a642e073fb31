// The reader: start-up, greeting, reading, the clipboard poll, the character
// choice and closing.

#include <array>
#include <chrono>
#include <fstream>
#include <initializer_list>
#include <thread>

#include "forms/settings.h"

#include "frm_main.h"
#include "program_fixture.h"

using namespace reader;
using Kind = agent::RequestRecord::Kind;

namespace {

class Reader : public readdict::testing::ProgramFixture {
 protected:
  frmMain& Start(int hour = 9) {
    frmMain& f = forms::Forms::Get<frmMain>();
    f.CurrentHour = [hour] { return hour; };
    f.Load();
    return f;
  }
};

TEST(Greeting, FollowsTheHour) {
  EXPECT_EQ(GreetingFor(0), "Good morning");
  EXPECT_EQ(GreetingFor(11), "Good morning");  // 11:59
  EXPECT_EQ(GreetingFor(12), "Good afternoon");
  EXPECT_EQ(GreetingFor(16), "Good afternoon");  // 16:59
  EXPECT_EQ(GreetingFor(17), "Good evening");
  EXPECT_EQ(GreetingFor(23), "Good evening");
}

TEST_F(Reader, FirstStartLoadsMerlinShowsItAndGreets) {
  frmMain& f = Start(17);
  ASSERT_TRUE(f.agentCharacter);
  EXPECT_EQ(f.characterName, "Merlin");
  EXPECT_EQ(f.agentCharacter->LanguageID(), 1040);
  EXPECT_EQ(f.Label3.Caption(), "Merlin.acs");
  EXPECT_EQ(f.chkAutoReadClip.Value(), 0);
  EXPECT_FALSE(f.Timer1.Enabled());
  EXPECT_EQ(f.Caption(), "Lectoria");
  EXPECT_EQ(Count(Kind::Show), 1);
  ASSERT_EQ(Count(Kind::MoveTo), 1);
  for (const auto& r : requests)
    if (r.kind == Kind::MoveTo) {
      EXPECT_EQ(std::pair(r.x, r.y), std::pair(166, 180));
    }
  EXPECT_EQ(Spoken(), std::vector<std::string>{"Good evening"});
  EXPECT_TRUE(messages.empty());
  // The character list shows the system folder's character files.
  EXPECT_EQ(f.GetWindowsDirectorys().back(), '\\');
  EXPECT_EQ(f.File1.ListCount(), 3);
  EXPECT_EQ(f.File1.List(0), "Gufo.acs");

  // Without auto-read, copied text stays where it is.
  forms::Clipboard::SetText("ciao");
  clock.Advance(3000);
  EXPECT_EQ(forms::Clipboard::GetText(), "ciao");
}

TEST_F(Reader, ThePictureFillsItsColumnWithoutCoveringTheOtherControls) {
  frmMain& f = Start();
  ASSERT_TRUE(f.Image1.Picture());
  EXPECT_EQ(f.Image1.Picture().PixelWidth(), 81);
  EXPECT_EQ(f.Image1.Picture().PixelHeight(), 161);
  // The image takes its picture's size, which is the place the form gives it.
  auto area = [](const forms::Control& c) {
    return std::array{c.LeftTwips(), c.TopTwips(), c.LeftTwips() + c.WidthTwips(),
                      c.TopTwips() + c.HeightTwips()};
  };
  EXPECT_EQ(area(f.Image1), (std::array{240.0, 960.0, 1455.0, 3375.0}));
  const auto image = area(f.Image1);
  for (const forms::Control* other : std::initializer_list<const forms::Control*>{
           &f.Label3, &f.chkAutoReadClip, &f.Frame1, &f.Exit, &f.xptopbuttons1}) {
    SCOPED_TRACE(other->Name());
    const auto o = area(*other);
    const bool apart = o[0] >= image[2] || o[2] <= image[0] || o[1] >= image[3] || o[3] <= image[1];
    EXPECT_TRUE(apart);
  }
}

TEST_F(Reader, AutoReadReadsCopiedTextAndEmptiesTheClipboard) {
  frmMain& f = Start();
  f.chkAutoReadClip.Value(1);
  EXPECT_EQ(characters::ReadSetting("AutoRead", ""), "1");
  EXPECT_TRUE(f.Timer1.Enabled());
  requests.clear();

  clock.Advance(1000);  // an empty clipboard does nothing
  EXPECT_TRUE(requests.empty());
  forms::Clipboard::SetText("Buongiorno a tutti");
  clock.Advance(1000);
  EXPECT_EQ(f.txtTextToRead.Text(), "Buongiorno a tutti");
  EXPECT_EQ(Played(), std::vector<std::string>{"read"});
  EXPECT_EQ(Spoken(), std::vector<std::string>{"Buongiorno a tutti"});
  EXPECT_EQ(forms::Clipboard::GetText(), "");
  clock.Advance(5000);  // the emptied clipboard gives nothing more
  EXPECT_EQ(Spoken().size(), 1u);

  // Texts copied one after another are read in turn.
  forms::Clipboard::SetText("uno");
  clock.Advance(1000);
  forms::Clipboard::SetText("due");
  clock.Advance(1000);
  EXPECT_EQ(Spoken(), (std::vector<std::string>{"Buongiorno a tutti", "uno", "due"}));

  f.chkAutoReadClip.Value(0);
  EXPECT_EQ(characters::ReadSetting("AutoRead", ""), "0");
  EXPECT_FALSE(f.Timer1.Enabled());
  forms::Clipboard::SetText("tre");
  clock.Advance(3000);
  EXPECT_EQ(forms::Clipboard::GetText(), "tre");
}

TEST_F(Reader, AutoReadIsRestoredFromTheSetting) {
  characters::WriteSetting("AutoRead", "1");
  frmMain& f = Start();
  EXPECT_EQ(f.chkAutoReadClip.Value(), 1);
  EXPECT_TRUE(f.Timer1.Enabled());
  forms::Clipboard::SetText("pronto");
  clock.Advance(1000);
  EXPECT_EQ(Spoken().back(), "pronto");
}

TEST_F(Reader, ADamagedSettingsFileKeepsItsReadableLinesAndIsToldOnceOnScreen) {
  // Written by hand: no first line of the store's own, one line unreadable.
  const auto store = forms::SettingsStore::DefaultPath();
  std::filesystem::create_directories(store.parent_path());
  std::ofstream(store, std::ios::binary) << "[Tesk\\Orvanta7]\nAutoRead=1\n<html>\n";
  frmMain& f = Start();
  EXPECT_EQ(f.chkAutoReadClip.Value(), 1);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find(store.string() + " was damaged"), std::string::npos) << messages[0];
  // Changing a setting later tells nothing more.
  f.chkAutoReadClip.Value(0);
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(Reader, ADamagedAutoReadSettingLeavesItOff) {
  characters::WriteSetting("AutoRead", "yes please");
  frmMain& f = Start();
  EXPECT_EQ(f.chkAutoReadClip.Value(), 0);
  EXPECT_FALSE(f.Timer1.Enabled());
}

TEST_F(Reader, ReadSpeaksTheBoxEvenEmptyAndStopStops) {
  frmMain& f = Start();
  requests.clear();
  f.txtTextToRead.Text("Come stai?");
  f.lblRead_Click();
  f.txtTextToRead.Text("");
  f.lblRead_Click();
  EXPECT_EQ(Spoken(), (std::vector<std::string>{"Come stai?", ""}));
  EXPECT_EQ(Played(), (std::vector<std::string>{"read", "read"}));
  f.lblStop_Click();
  EXPECT_EQ(Count(Kind::Stop), 1);
}

TEST_F(Reader, PlayAnimationPlaysOneOfTheCharactersAnimations) {
  frmMain& f = Start();
  const auto names = f.agentCharacter->AnimationNames();
  ASSERT_FALSE(names.empty());
  requests.clear();
  for (int i = 0; i < 20; ++i) f.Label1_Click();
  const auto played = Played();
  ASSERT_EQ(played.size(), 20u);
  for (const auto& p : played) EXPECT_NE(std::find(names.begin(), names.end(), p), names.end());
}

TEST_F(Reader, WithoutACharacterTheButtonsDoNothing) {
  std::filesystem::remove_all(Chars());
  frmMain& f = Start();
  EXPECT_FALSE(f.agentCharacter);
  ASSERT_EQ(messages.size(), 1u);  // one message, naming the file
  EXPECT_NE(messages[0].find("Merlin.acs"), std::string::npos);
  EXPECT_EQ(f.Label3.Caption(), "");
  f.lblRead_Click();
  f.Label1_Click();
  f.lblStop_Click();
  EXPECT_TRUE(requests.empty());
}

TEST_F(Reader, ABadStoredCharacterFallsBackToMerlinWithOneMessage) {
  AddBrokenCharacter("Broken");
  characters::WriteSetting("Agent", "Broken");
  frmMain& f = Start();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("Broken.acs"), std::string::npos);
  ASSERT_TRUE(f.agentCharacter);
  EXPECT_EQ(f.characterName, "Merlin");
  EXPECT_EQ(f.Label3.Caption(), "Merlin.acs");
}

TEST_F(Reader, ChoosingACharacterStoresItOnlyOnceItHasLoaded) {
  AddBrokenCharacter("Broken");
  frmMain& f = Start(12);
  f.File1.Refresh();
  const auto indexOf = [&f](const std::string& file) {
    for (int i = 0; i < f.File1.ListCount(); ++i)
      if (f.File1.List(i) == file) return i;
    return -1;
  };

  requests.clear();
  f.File1.ListIndex(indexOf("Broken.acs"));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("Broken.acs"), std::string::npos);
  EXPECT_EQ(characters::ReadSetting("Agent", ""), "");
  EXPECT_EQ(f.characterName, "Merlin");
  ASSERT_TRUE(f.agentCharacter);
  EXPECT_NO_THROW(f.agentCharacter->AnimationNames());  // still loaded
  EXPECT_EQ(Count(Kind::Hide), 0);

  f.File1.ListIndex(indexOf("Volpina.acs"));
  EXPECT_EQ(characters::ReadSetting("Agent", ""), "Volpina");
  EXPECT_EQ(f.characterName, "Volpina");
  EXPECT_EQ(f.Label3.Caption(), "Volpina.acs");
  EXPECT_EQ(Count(Kind::Hide), 1);
  EXPECT_EQ(Spoken(), std::vector<std::string>{"Good afternoon"});
  EXPECT_EQ(f.Agent.Characters().Names(), std::vector<std::string>{"Volpina"});

  // No selection: the message and nothing else.
  f.File1.ListIndex(-1);
  f.File1_Click();
  EXPECT_EQ(messages.back(), "Please select an Agent");
  EXPECT_EQ(characters::ReadSetting("Agent", ""), "Volpina");
}

TEST_F(Reader, TheFarewellIsHeardToItsEndBeforeTheProgramEnds) {
  frmMain& f = Start();
  ASSERT_TRUE(f.agentCharacter);
  // The greeting first plays out, as when a user closes the reader later.
  for (int i = 0; i < 1000 && f.agentCharacter->Busy(); ++i) {
    forms::DoEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::vector<agent::PlaybackRecord> finished;
  agent::SetPlaybackObserver([&finished](const agent::PlaybackRecord& r) {
    if (r.kind == agent::PlaybackRecord::Kind::Finished) finished.push_back(r);
  });
  EXPECT_THROW(f.Exit.Click(), forms::testing::ProgramEnded);
  agent::SetPlaybackObserver({});
  EXPECT_FALSE(f.Visible());
  ASSERT_FALSE(finished.empty());
  EXPECT_EQ(finished.back().text, "bye bye!");
  EXPECT_FALSE(finished.back().stopped);
}

TEST_F(Reader, ClosingWavesSaysByeAndEnds) {
  frmMain& f = Start();
  requests.clear();
  EXPECT_THROW(f.Exit.Click(), forms::testing::ProgramEnded);
  EXPECT_TRUE(ended);
  EXPECT_EQ(Played(), std::vector<std::string>{"wave"});
  EXPECT_EQ(Spoken(), std::vector<std::string>{"bye bye!"});
}

}  // namespace
