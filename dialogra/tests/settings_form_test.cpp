// The settings form: what it shows, what its closing changes and writes,
// and the character list.

#include <filesystem>
#include <fstream>

#include "bar_fixture.h"
#include "form3.h"
#include "forms/settings.h"
#include "suite/addedit.h"

using namespace dialogra;
using dialogra::testing::BarFixture;

namespace {

class SettingsForm : public BarFixture {
 protected:
  // The bar after its intro, with the settings form open over it.
  Form3& Open() {
    if (!forms::Forms::Find<Form1>()) {
      LoadBar();
      Ticks(70, 60);
    }
    Form3& f = forms::Forms::Get<Form3>();
    f.Load();
    return f;
  }
  // A click on the close button, after which the event loop goes on and
  // the closed form ends.
  void Close(Form3& f) {
    f.xptopbuttons1_Click();
    forms::DoEvents();
  }
  Form1& Bar() { return forms::Forms::Get<Form1>(); }
  bool AutoStartEntry() const {
    return std::filesystem::exists(folder / "config" / "autostart" / "Italian.desktop");
  }
};

}  // namespace

TEST_F(SettingsForm, ShowsTheRunningOptionsAndHoldsTheBarStill) {
  Form3& f = Open();
  EXPECT_EQ(f.xp_canvas1.Caption(), "Setting...");
  EXPECT_EQ(f.Caption(), "Setting...");
  EXPECT_FALSE(Bar().Image1.Enabled());
  EXPECT_FALSE(Bar().Timer5.Enabled());

  // The first run's options.
  EXPECT_EQ(f.Check1.Value(), 1);
  EXPECT_EQ(f.Check3.Value(), 1);
  EXPECT_EQ(f.Check4.Value(), 0);
  EXPECT_EQ(f.Check5.Value(), 1);
  EXPECT_TRUE(f.Check3.Enabled());
  EXPECT_EQ(f.VScroll1.Value(), 1);
  EXPECT_EQ(f.VScroll2.Value(), 5);
  EXPECT_EQ(f.VScroll3.Value(), 3);
  EXPECT_EQ(f.Text1[0].Text(), "1");
  EXPECT_EQ(f.Text1[1].Text(), "5");
  EXPECT_EQ(f.Text1[2].Text(), "3");
  EXPECT_TRUE(f.Option2[1].Value());
  EXPECT_FALSE(f.Option2[0].Value());
  EXPECT_TRUE(f.Option3[1].Value());
  EXPECT_FALSE(f.Option3[0].Value());
  EXPECT_TRUE(f.Option1[1].Value());

  // The ranges of the three scroll bars.
  EXPECT_EQ(f.VScroll1.Min(), 1);
  EXPECT_EQ(f.VScroll1.Max(), 12);
  EXPECT_EQ(f.VScroll2.Min(), 5);
  EXPECT_EQ(f.VScroll2.Max(), 15);
  EXPECT_EQ(f.VScroll3.Min(), 3);
  EXPECT_EQ(f.VScroll3.Max(), 15);

  // All 21 lessons, each one choosable.
  ASSERT_EQ(f.Option1.Count(), 21);
  EXPECT_EQ(f.Option1[0].Caption(), "Entire");
  EXPECT_EQ(f.Option1[15].Caption(), "Leisure and Entertainment");
  EXPECT_EQ(f.Option1[20].Caption(), "New Dialogs Book");
  for (const auto& [i, option] : f.Option1) EXPECT_TRUE(option->Enabled()) << i;

  // The characters of the system folder, and the one in use.
  EXPECT_EQ(f.Label7.Caption(), "Merlin.acs");
  std::vector<std::string> files;
  for (int i = 0; i < f.File1.ListCount(); ++i) files.push_back(f.File1.List(i));
  EXPECT_EQ(files, (std::vector<std::string>{"Gufo.acs", "Merlin.acs", "Volpina.acs"}));
  EXPECT_EQ(Form3::GetWindowsDirectorys(), (testsupport::BinDir() / "system").string() + "\\");
  EXPECT_TRUE(messages.empty());
}

TEST_F(SettingsForm, StoredValuesOutsideTheRangesAreBroughtIntoThem) {
  LoadBar();
  Ticks(70, 60);
  module().PlayTimes = 40;
  module().etime = 2;
  module().ctime = 99;
  module().LessonIndex = 25;
  module().visi = 7;
  Form3& f = Open();
  EXPECT_EQ(f.Check4.Value(), 1);
  EXPECT_EQ(module().visi, 1);
  EXPECT_EQ(f.VScroll1.Value(), 12);
  EXPECT_EQ(f.VScroll2.Value(), 5);
  EXPECT_EQ(f.VScroll3.Value(), 15);
  EXPECT_EQ(f.Text1[0].Text(), "12");
  EXPECT_TRUE(f.Option1[20].Value());
  Close(f);
  EXPECT_EQ(module().PlayTimes, 12);
  EXPECT_EQ(module().etime, 5);
  EXPECT_EQ(module().ctime, 15);
  EXPECT_EQ(module().LessonIndex, 20);
  EXPECT_EQ(ReadSetting("n"), "12");

  // A negative lesson from an edited store opens on "Entire".
  module().LessonIndex = -3;
  Form3& again = Open();
  EXPECT_TRUE(again.Option1[0].Value());
}

TEST_F(SettingsForm, ScrollBarsKeepTheirBoxesInStepAndTypedTextIsNeverRead) {
  Form3& f = Open();
  f.VScroll1.Value(7);
  f.VScroll2.Value(15);
  f.VScroll3.Value(9);
  EXPECT_EQ(f.Text1[0].Text(), "7");
  EXPECT_EQ(f.Text1[1].Text(), "15");
  EXPECT_EQ(f.Text1[2].Text(), "9");
  f.Text1[0].Text("11");
  // Nothing moves until the form closes.
  EXPECT_EQ(module().PlayTimes, 1);
  Close(f);
  EXPECT_EQ(module().PlayTimes, 7);
  EXPECT_EQ(module().etime, 15);
  EXPECT_EQ(module().ctime, 9);
}

TEST_F(SettingsForm, ClosingWithSavingOnWritesTheOptionsAndTheFirstRunMark) {
  Form3& f = Open();
  WriteSetting("xxx", "");  // so that the closing's mark shows
  f.Check4.Value(1);
  EXPECT_EQ(module().visi, 1);  // a box takes effect at once
  f.Option2[0].Value(true);
  f.Option3[0].Value(true);
  f.Option1[7].Value(true);
  f.VScroll1.Value(3);
  Close(f);
  const Module& m = module();
  EXPECT_EQ(m.rd, 0);
  EXPECT_EQ(m.ce, 1);
  EXPECT_EQ(m.LessonIndex, 7);
  EXPECT_EQ(m.PlayTimes, 3);
  EXPECT_EQ(ReadSetting("ce"), "1");
  EXPECT_EQ(ReadSetting("n"), "3");
  EXPECT_EQ(ReadSetting("ctime"), "3");
  EXPECT_EQ(ReadSetting("etime"), "5");
  EXPECT_EQ(ReadSetting("rd"), "0");
  EXPECT_EQ(ReadSetting("psave"), "1");
  EXPECT_EQ(ReadSetting("ssave"), "1");
  EXPECT_EQ(ReadSetting("visi"), "1");
  EXPECT_EQ(ReadSetting("guage"), "7");
  EXPECT_EQ(ReadSetting("red"), "0");
  EXPECT_EQ(ReadSetting("mark"), "1");
  EXPECT_EQ(ReadSetting("xxx"), "1");
  EXPECT_TRUE(AutoStartEntry());
  // The closed form is gone; the next opening makes a new one.
  EXPECT_EQ(forms::Forms::Find<Form3>(), nullptr);
  EXPECT_TRUE(Bar().Image1.Enabled());
  EXPECT_TRUE(Bar().Timer5.Enabled());
}

TEST_F(SettingsForm, WithSavingOffClosingChangesTheRunButWritesNothing) {
  Form3& f = Open();
  const std::string before = ReadSetting("n");
  // Unticking takes effect for this very closing.
  f.Check1.Value(0);
  EXPECT_EQ(module().ssave, 0);
  f.VScroll1.Value(5);
  f.Option1[3].Value(true);
  f.Check5.Value(0);
  Close(f);
  EXPECT_EQ(module().PlayTimes, 5);
  EXPECT_EQ(module().LessonIndex, 3);
  EXPECT_EQ(module().mark, 0);
  EXPECT_EQ(ReadSetting("n"), before);
  EXPECT_EQ(ReadSetting("guage"), "1");
  EXPECT_EQ(ReadSetting("ssave"), "1");
  EXPECT_EQ(ReadSetting("mark"), "1");
  EXPECT_FALSE(AutoStartEntry());

  // Nor does it delete an entry that is there.
  Form3& g = Open();
  g.Check5.Value(1);
  g.Check1.Value(1);
  Close(g);
  ASSERT_TRUE(AutoStartEntry());
  Form3& h = Open();
  h.Check1.Value(0);
  h.Check5.Value(0);
  Close(h);
  EXPECT_TRUE(AutoStartEntry());

  // Saved, the unticked box deletes it.
  Form3& i = Open();
  i.Check1.Value(1);
  Close(i);
  EXPECT_FALSE(AutoStartEntry());
  EXPECT_EQ(ReadSetting("mark"), "0");
}

TEST_F(SettingsForm, MovingToAllLessonsWithTheScheduleKeptStartsThemFromTheBeginning) {
  // A single lesson to "Entire" with the schedule kept.
  Form3& f = Open();
  module().guagen = 10507;
  f.Option1[0].Value(true);
  Close(f);
  EXPECT_EQ(module().guagen, 10101);
  EXPECT_EQ(module().LessonIndex, 0);

  // "Entire" to "Entire" keeps the place.
  module().guagen = 10507;
  Close(Open());
  EXPECT_EQ(module().guagen, 10507);

  // Without the schedule kept the place is not touched either.
  module().LessonIndex = 4;
  Form3& g = Open();
  g.Check3.Value(0);
  g.Option1[0].Value(true);
  Close(g);
  EXPECT_EQ(module().guagen, 10507);
}

TEST_F(SettingsForm, RandomOrderDisablesKeepingTheScheduleAtOnce) {
  Form3& f = Open();
  f.Option2[0].Value(true);
  EXPECT_FALSE(f.Check3.Enabled());
  EXPECT_EQ(f.Check3.Value(), 1);
  EXPECT_EQ(module().psave, 1);
  f.Option2[1].Value(true);
  EXPECT_TRUE(f.Check3.Enabled());
  f.Option2[0].Value(true);
  Close(f);
  EXPECT_EQ(module().rd, 0);
  EXPECT_EQ(module().psave, 1);

  // Opened in random order, the box starts disabled.
  Form3& g = Open();
  EXPECT_TRUE(g.Option2[0].Value());
  EXPECT_FALSE(g.Check3.Enabled());
}

TEST_F(SettingsForm, ClosingDuringTheIntroLeavesTheStudyTimerToTheIntro) {
  Form1& bar = LoadBar();
  Ticks(30, 60);  // c = 40: the welcome line scrolls
  Form3& f = Open();
  Close(f);
  EXPECT_TRUE(bar.Image1.Enabled());
  EXPECT_FALSE(bar.Timer5.Enabled());
  // The intro then starts it as usual.
  Ticks(38, 60);
  EXPECT_TRUE(bar.Timer5.Enabled());
}

TEST_F(SettingsForm, TheIntroDoesNotStartStudyingWhileTheFormIsOpen) {
  Form1& bar = LoadBar();
  Ticks(30, 60);
  Form3& f = Open();
  Ticks(40, 60);
  EXPECT_FALSE(bar.Timer5.Enabled());
  Close(f);
  EXPECT_TRUE(bar.Timer5.Enabled());
}

TEST_F(SettingsForm, ClickingTheCharacterListWithNothingSelectedAsksForOne) {
  Form3& f = Open();
  requests.clear();
  f.File1_Click();
  EXPECT_EQ(messages, std::vector<std::string>{"Please select an Agent"});
  EXPECT_TRUE(requests.empty());
  EXPECT_EQ(ReadSetting("Agent", "none"), "Merlin");
  ASSERT_TRUE(Bar().mobjAgent);
  EXPECT_EQ(Bar().mobjAgent->Name(), "Merlin");
}

TEST_F(SettingsForm, ChoosingACharacterStoresItAndSwapsItOnTheBar) {
  Form3& f = Open();
  f.File1.ListIndex(0);  // "Gufo.acs", clicked
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(ReadSetting("Agent"), "Gufo");
  ASSERT_TRUE(Bar().mobjAgent);
  EXPECT_EQ(Bar().mobjAgent->Name(), "Gufo");
  EXPECT_EQ(Bar().mobjAgent->LanguageID(), 1040);
  EXPECT_EQ(module().AgentName, "Gufo");
  EXPECT_EQ(f.Label7.Caption(), "Merlin.acs");  // not updated until the next opening
}

TEST_F(SettingsForm, ACharacterThatFailsToLoadIsNamedAndTheBarKeepsThePreviousOne) {
  namespace fs = std::filesystem;
  const fs::path system = folder / "system";
  fs::create_directories(system / "msagent" / "chars");
  for (const char* name : {"Merlin.acs", "Gufo.acs"})
    fs::copy_file(testsupport::BinDir() / "system" / "msagent" / "chars" / name,
                  system / "msagent" / "chars" / name);
  std::ofstream(system / "msagent" / "chars" / "Broken.acs") << "not a character";
  setenv("TAVRINEL_SYSTEM_DIR", system.c_str(), 1);

  Form3& f = Open();
  ASSERT_EQ(f.File1.List(0), "Broken.acs");
  f.File1.ListIndex(0);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("Broken.acs"), std::string::npos) << messages[0];
  EXPECT_NE(messages[0].find("Merlin stays"), std::string::npos) << messages[0];
  EXPECT_EQ(ReadSetting("Agent"), "Merlin");
  ASSERT_TRUE(Bar().mobjAgent);
  EXPECT_EQ(Bar().mobjAgent->Name(), "Merlin");
  EXPECT_EQ(module().AgentName, "Merlin");

  // A later good choice still works.
  f.File1.ListIndex(1);
  EXPECT_EQ(ReadSetting("Agent"), "Gufo");
  EXPECT_EQ(Bar().mobjAgent->Name(), "Gufo");
}

TEST_F(SettingsForm, AMissingCharacterFolderLeavesTheListEmpty) {
  setenv("TAVRINEL_SYSTEM_DIR", (folder / "nowhere").c_str(), 1);
  LoadBar();  // without its character the bar goes on silently
  Ticks(70, 60);
  messages.clear();
  Form3& f = Open();
  EXPECT_EQ(f.File1.ListCount(), 0);
  EXPECT_TRUE(messages.empty());
}

TEST_F(SettingsForm, TheButtonOpensTheWordBookEditor) {
  Form3& f = Open();
  f.xpcmdbutton1_Click();
  addedit* editor = forms::Forms::Find<addedit>();
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(editor->Visible());
  EXPECT_EQ(editor->Book().file, "dialog.ocx");
}
