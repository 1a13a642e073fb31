// The word window's right-click menu: its items, and what each command does.

#include <sys/wait.h>
#include <QCoreApplication>
#include <QTimer>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

#include "com/build_identity.h"
#include "com/class_registry.h"
#include "form4.h"
#include "ornatek/menu_control_host.h"
#include "shell_test_files.h"
#include "suite/addedit.h"
#include "word_fixture.h"

using namespace vocabra;
using vocabra::testing::MenuDriver;
using vocabra::testing::WordFixture;
using Kind = agent::RequestRecord::Kind;
namespace fs = std::filesystem;

namespace {

using testsupport::MenuItemText;

class MenuCommands : public WordFixture {
 protected:
  // Runs `command`, which ends the program; true when it did.
  template <class F>
  bool Ends(F&& command) {
    try {
      command();
    } catch (const forms::testing::ProgramEnded&) {
      return true;
    }
    return false;
  }
  // Runs `step` once the form F shows and `ready` holds (from within its
  // modal event loop); after a generous wait it runs all the same, so that a
  // fault fails the test instead of hanging it.
  template <class F>
  void WhenShown(
      std::function<void(F&)> step, std::function<bool()> ready = [] { return true; }) {
    poll_ = std::make_unique<QTimer>();
    QObject::connect(poll_.get(), &QTimer::timeout,
                     [this, step = std::move(step), ready = std::move(ready), polls = 0]() mutable {
                       F* f = forms::Forms::Find<F>();
                       if (!f || !f->Visible() || (!ready() && ++polls < 2000)) return;
                       poll_->stop();
                       step(*f);
                     });
    poll_->start(5);
  }

 private:
  std::unique_ptr<QTimer> poll_;
};

}  // namespace

TEST_F(MenuCommands, TheRightButtonOpensTheMenuWithItsItemsInOrderAndItsKeysWork) {
  FrmShow& w = LoadWindow();
  EXPECT_EQ(win::GetMenu(w.hWnd()), win::HMENU()) << "the menu is no menu bar";
  const win::HMENU menu = w.mnumain.SubMenu();
  std::vector<std::string> texts;
  bool isPopup = false;
  {
    MenuDriver driver({[&](win::HWND popup) {
      isPopup = win::GetClassName(popup) == win::POPUPMENU_CLASS;
      for (int i = 0; i < win::GetMenuItemCount(menu); ++i)
        texts.push_back(win::GetMenuState(menu, static_cast<win::UINT>(i), win::MF_BYPOSITION) &
                                win::MF_SEPARATOR
                            ? "-"
                            : MenuItemText(menu, i));
      MenuDriver::Key(popup, Qt::Key_P, "p");
    }});
    w.LB_MouseDown(forms::vbRightButton);
    EXPECT_TRUE(driver.Done());
  }
  EXPECT_TRUE(isPopup);
  // The menu control draws every item itself, the separators too: they
  // are owner-drawn items without text.
  EXPECT_EQ(texts, (std::vector<std::string>{"&Pause", "&Option", "&Hide MSAgent",
                                             "&Add && Manage Existing Words",
                                             "&Add && Manage New Words", "&Help", "", "&Website",
                                             "E_mail", "A&bout us", "", "&Exit"}));
  // "p" chose "&Pause".
  EXPECT_EQ(w.mnustop.Caption(), "&Continue");
  EXPECT_FALSE(w.Timer6.Enabled());

  // "b" is the about picture's key.
  bool aboutShown = false;
  MenuDriver again({[](win::HWND popup) { MenuDriver::Key(popup, Qt::Key_B, "b"); }});
  WhenShown<Form4>([&](Form4& about) {
    aboutShown = true;
    about.Image1.Click();
  });
  w.LB_MouseDown(forms::vbRightButton);
  EXPECT_TRUE(aboutShown);
}

TEST_F(MenuCommands, TheMenuControlDrawsEveryCommandButTheHideItemWithItsIcon) {
  FrmShow& w = LoadWindow();
  EXPECT_TRUE(messages.empty()) << "the menu control's library loaded";
  ASSERT_NE(dynamic_cast<ornatek::IVIroDazu*>(w.FindControl("VIroDazu1")), nullptr);
  // Item heights: ten items of 23 pixels and two separators of 4.
  const int heights[] = {23, 23, 23, 23, 23, 23, 4, 23, 23, 23, 4, 23};
  std::vector<int> inked;
  {
    MenuDriver driver({[&](win::HWND popup) {
      const win::HDC dc = win::GetDC(popup);
      int top = 0;
      for (int h : heights) {
        // The picture's place (l + 4, t + 2) of the item moved by 2; a
        // separator's image column is its rows 2 to 4.
        const int from = h == 4 ? top + 2 : top + 4, to = h == 4 ? top + 5 : top + 22;
        int n = 0;
        for (int y = from; y < to; ++y)
          for (int x = 6; x < 24; ++x) n += win::GetPixel(dc, x, y) != 0xD1D8DB;
        inked.push_back(n);
        top += h;
      }
      win::ReleaseDC(popup, dc);
      MenuDriver::Key(popup, Qt::Key_Escape);
    }});
    w.LB_MouseDown(forms::vbRightButton);
  }
  ASSERT_EQ(inked.size(), 12u);
  for (int i : {0, 1, 3, 4, 5, 7, 8, 9, 11}) EXPECT_GT(inked[i], 40) << "item " << i;
  EXPECT_EQ(inked[2], 0) << "the hide/show item has no picture";
  EXPECT_EQ(inked[6], 0) << "separator";
  EXPECT_EQ(inked[10], 0) << "separator";
}

TEST_F(MenuCommands, WithoutTheMenuControlsLibraryTheWindowSaysSoOnceAndTheMenuIsPlain) {
  // This test's process never had the class: its registration is taken away.
  com::UnregisterLibrary(testsupport::BinDir() / "Ornatek.ocx");
  FrmShow& w = LoadWindow();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("Ornatek.VIroDazu"), std::string::npos) << messages[0];
  EXPECT_NE(messages[0].find("classes.conf"), std::string::npos) << "names the file";
  EXPECT_EQ(dynamic_cast<ornatek::IVIroDazu*>(w.FindControl("VIroDazu1")), nullptr);
  win::UINT type = 0;
  {
    MenuDriver driver({[&](win::HWND popup) {
      win::MENUITEMINFOA info;
      info.fMask = win::MIIM_FTYPE;
      win::GetMenuItemInfoA(w.mnumain.SubMenu(), 0, win::TRUE, &info);
      type = info.fType;
      MenuDriver::Key(popup, Qt::Key_Escape);
    }});
    w.LB_MouseDown(forms::vbRightButton);
  }
  EXPECT_EQ(type, win::MFT_STRING) << "a plain item";
  EXPECT_EQ(messages.size(), 1u) << "said once";
}

TEST_F(MenuCommands, AMenuControlNotRegisteredIsRegisteredFromTheProgramFolderWithoutAWord) {
  // A data home where the build did not run: no class registry at all.
  fs::remove(com::ClassRegistryFile());
  fs::create_symlink(testsupport::BinDir() / "Ornatek.ocx", folder / "Ornatek.ocx");
  FrmShow& w = LoadWindow();
  EXPECT_TRUE(messages.empty()) << messages[0];
  EXPECT_TRUE(com::FindClass("Ornatek.VIroDazu")) << "registered, as installing it would";
  EXPECT_NE(dynamic_cast<ornatek::IVIroDazu*>(w.FindControl("VIroDazu1")), nullptr);
}

namespace {

std::string Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

TEST_F(MenuCommands, ACutShortMenuControlLibraryIsToldWithItsFileAndTheFixAndTheMenuIsPlain) {
  // An interrupted copy into a program folder of a data home without the
  // class; the registration tool refuses the same file in words, too.
  fs::remove(com::ClassRegistryFile());
  const fs::path library = folder / "Ornatek.ocx";
  std::ofstream(library, std::ios::binary)
      << Bytes(testsupport::BinDir() / "Ornatek.ocx").substr(0, 150000);
  const std::string tool =
      (testsupport::BinDir() / "regcontrol").string() + " '" + library.string() + "' 2>/dev/null";
  const int status = std::system(tool.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  FrmShow& w = LoadWindow();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find(library.string()), std::string::npos) << messages[0];
  EXPECT_NE(messages[0].find("cut short"), std::string::npos) << messages[0];
  EXPECT_NE(messages[0].find("regcontrol Ornatek.ocx"), std::string::npos) << messages[0];
  EXPECT_EQ(dynamic_cast<ornatek::IVIroDazu*>(w.FindControl("VIroDazu1")), nullptr);
}

TEST_F(MenuCommands, AMenuControlLibraryOfAnotherBuildIsRefusedInWordsAndTheMenuIsPlain) {
  // The program folder holds the library of another build of the suite
  // (the registry still names this build's).
  std::string bytes = Bytes(testsupport::BinDir() / "Ornatek.ocx");
  const std::string identity = TAVRINEL_BUILD_IDENTITY;
  const auto at = bytes.find(identity);
  ASSERT_NE(at, std::string::npos);
  bytes.replace(at, identity.size(), std::string(identity.size(), 'f'));
  std::ofstream(folder / "Ornatek.ocx", std::ios::binary) << bytes;
  FrmShow& w = LoadWindow();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find((folder / "Ornatek.ocx").string()), std::string::npos) << messages[0];
  EXPECT_NE(messages[0].find("another build"), std::string::npos) << messages[0];
  EXPECT_EQ(dynamic_cast<ornatek::IVIroDazu*>(w.FindControl("VIroDazu1")), nullptr);
}

TEST_F(MenuCommands, PauseHoldsThePairAndContinueResumesOneIntervalLater) {
  Settings({{"ctimeword", "3"}, {"voice", "0"}});
  FrmShow& w = LoadWindow();
  const auto pairs = CategorisedPairs(w.Data1.RecordSource());
  ASSERT_GE(pairs.size(), 3u);
  clock.Advance(1000);
  w.mnustop_Click();
  EXPECT_EQ(w.mnustop.Caption(), "&Continue");
  clock.Advance(30000);
  EXPECT_EQ(w.LB.Caption(), FrmShow::PairText(pairs[0].first, pairs[0].second));
  w.mnustop_Click();
  EXPECT_EQ(w.mnustop.Caption(), "&Pause");
  EXPECT_TRUE(w.Timer6.Enabled());
  clock.Advance(2999);
  EXPECT_EQ(w.LB.Caption(), FrmShow::PairText(pairs[0].first, pairs[0].second));
  clock.Advance(1);
  EXPECT_EQ(w.LB.Caption(), FrmShow::PairText(pairs[1].first, pairs[1].second));
}

TEST_F(MenuCommands, HidingAndShowingTheCharacterTogglesTheCaptionWhileTheWordsGoOn) {
  Settings({{"ctimeword", "3"}, {"voice", "0"}});
  FrmShow& w = LoadWindow();
  ASSERT_TRUE(w.mobjAgent);
  requests.clear();
  w.mnu_hlp_Click();
  EXPECT_EQ(w.mnu_hlp.Caption(), "&Show MSAgent");
  EXPECT_FALSE(w.mobjAgent->Visible());
  const std::string before = w.LB.Caption();
  clock.Advance(3000);
  EXPECT_NE(w.LB.Caption(), before) << "the words go on while the character is away";
  w.mnu_hlp_Click();
  EXPECT_EQ(w.mnu_hlp.Caption(), "&Hide MSAgent");
  EXPECT_TRUE(w.mobjAgent->Visible());
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].kind, Kind::Hide);
  EXPECT_EQ(requests[1].kind, Kind::Show);

  // Without a character the caption still follows the choice.
  forms::testing::ReleaseAllForms();
  Store("agent", "Nobody");
  FrmShow& silent = LoadWindow();
  ASSERT_FALSE(silent.mobjAgent);
  silent.mnu_hlp_Click();
  EXPECT_EQ(silent.mnu_hlp.Caption(), "&Show MSAgent");
}

TEST_F(MenuCommands, ManagingExistingWordsLetsGoOfTheBookStartsLexipenAndEnds) {
  const fs::path out = folder / "started.txt";
  shelltest::WriteScript(folder / "Lexipen", "{ pwd; echo end; } > '" + out.string() + "'");
  FrmShow& w = LoadWindow();
  ASSERT_TRUE(w.Data1.Recordset().IsOpen());
  // When the program ends, no one holds the categorised book: the manager
  // can have it for itself.
  bool free = false;
  forms::testing::SetEndHandler([&] {
    ended = true;
    try {
      dao::OpenDatabase((folder / "reg.ocx").string(), true, false,
                        std::string(kCategorisedConnect))
          .Close();
      free = true;
    } catch (const dao::Error&) {
      // Still held: `free` stays false, which the case checks.
    }
  });
  EXPECT_TRUE(Ends([&] { w.amewords_Click(); }));
  EXPECT_TRUE(free) << "reg.ocx is still held";
  EXPECT_EQ(w.Data1.DatabaseName(), "");
  EXPECT_EQ(shelltest::WaitForFile(out), folder.path().string() + "\nend\n");
  EXPECT_TRUE(messages.empty());
}

TEST_F(MenuCommands, AManagerThatCannotStartIsToldAndTheTrainerEndsAllTheSame) {
  FrmShow& w = LoadWindow();
  EXPECT_TRUE(Ends([&] { w.amewords_Click(); }));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("\"" + forms::App::Path() + "/Lexipen\""), std::string::npos)
      << messages[0];
  EXPECT_NE(messages[0].find("not there"), std::string::npos) << messages[0];
}

TEST_F(MenuCommands, ManagingNewWordsOpensTheEditorOverTheOwnBook) {
  AddOwnWords({{"the kite", "l'aquilone"}});
  FrmShow& w = LoadWindow();
  w.managewords_Click();
  auto* editor = forms::Forms::Find<dialogra::addedit>();
  ASSERT_TRUE(editor);
  EXPECT_TRUE(editor->Visible()) << "modeless: the window goes on meanwhile";
  EXPECT_EQ(editor->Book().file, "word.ocx");
  EXPECT_EQ(editor->Caption(), "Adding && Manage New Words");
  EXPECT_EQ(editor->English.Text(), "the kite");
  EXPECT_TRUE(messages.empty());
  EXPECT_TRUE(w.Timer6.Enabled());
}

TEST_F(MenuCommands, AnEmptyOwnBookReportedAtStartCanBeFilledInTheEditor) {
  Settings({{"guageword", "35"}});
  FrmShow& w = LoadWindow();
  ASSERT_EQ(messages, std::vector<std::string>{"Error:New Words book is empty."});
  w.managewords_Click();
  EXPECT_EQ(messages.size(), 1u) << messages.back();
  auto* editor = forms::Forms::Find<dialogra::addedit>();
  ASSERT_TRUE(editor);
  EXPECT_TRUE(editor->wordDatabase.IsOpen());
}

TEST_F(MenuCommands, TheOwnBookInUseAsTheSourceKeepsTheEditorOutWithAClearMessage) {
  Settings({{"guageword", "35"}});
  AddOwnWords({{"the kite", "l'aquilone"}, {"the swing", "l'altalena"}});
  FrmShow& w = LoadWindow();
  w.managewords_Click();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("word.ocx"), std::string::npos) << messages[0];
  // It says what holds the book and how to free it.
  EXPECT_NE(messages[0].find("studying it (\"New Words Book\" in its settings)"), std::string::npos)
      << messages[0];
  EXPECT_NE(
      messages[0].find("choose a category in the settings, exit the trainer and start it again"),
      std::string::npos)
      << messages[0];
  // Nothing is lost, and the words go on.
  forms::testing::ReleaseAllForms();
  EXPECT_EQ(dao::OpenDatabase((folder / "word.ocx").string()).OpenRecordset("word").RecordCount(),
            2);
}

TEST_F(MenuCommands, HelpWebsiteAndMailGoToTheDesktop) {
  const fs::path log = folder / "opened.txt";
  shelltest::PathPrefix path{folder / "bin"};
  shelltest::WriteScript(folder / "bin" / "xdg-open", "printf '%s\\n' \"$1\" >> '" + log.string() +
                                                          "'\necho end >> '" + log.string() + "'");
  std::ofstream(folder / "help.html") << "<html></html>\n";
  FrmShow& w = LoadWindow();
  const std::vector<std::pair<std::function<void()>, std::string>> commands{
      {[&] { w.mnuhelp_Click(); }, (folder / "help.html").string()},
      {[&] { w.mnuwebsite_Click(); }, "http://tavrinel.example.org/"},
      {[&] { w.mnuemail_Click(); }, "mailto:tavrinel@example.org"},
  };
  for (const auto& [command, opened] : commands) {
    fs::remove(log);
    command();
    EXPECT_EQ(shelltest::WaitForFile(log), opened + "\nend\n");
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(MenuCommands, HelpWebsiteAndMailThatCannotOpenSayOnceWhatAndWhy) {
  // A desktop without a browser or mail program: its opener says so and fails.
  shelltest::PathPrefix path{folder / "bin"};
  shelltest::WriteScript(folder / "bin" / "xdg-open",
                         "echo \"xdg-open: no method available for opening '$1'\" >&2; exit 3");
  std::ofstream(folder / "help.html") << "<html></html>\n";
  FrmShow& w = LoadWindow();
  // The items as the user reaches them: down the menu, then Enter.
  const auto choose = [&](int downs) {
    std::deque<MenuDriver::Step> steps(static_cast<std::size_t>(downs), [](win::HWND popup) {
      MenuDriver::Key(popup, Qt::Key_Down);
    });
    steps.push_back([](win::HWND popup) { MenuDriver::Key(popup, Qt::Key_Return); });
    MenuDriver driver(std::move(steps));
    w.LB_MouseDown(forms::vbRightButton);
    EXPECT_TRUE(driver.Done());
  };
  const auto toldAfter = [&](std::size_t before) {
    for (int i = 0; i < 400 && messages.size() == before; ++i) {
      QCoreApplication::processEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
    return messages.size() - before;
  };
  // The menu control draws the separators as items of their own, which the
  // arrows step over too.
  const std::vector<std::pair<int, std::string>> items{
      {6, (folder / "help.html").string()},  // Help
      {8, "http://tavrinel.example.org/"},   // Website
      {9, "mailto:tavrinel@example.org"},    // E-mail
  };
  for (const auto& [downs, target] : items) {
    SCOPED_TRACE(target);
    const std::size_t before = messages.size();
    choose(downs);
    ASSERT_EQ(toldAfter(before), 1u);
    EXPECT_NE(messages.back().find("Could not open " + target + ": "), std::string::npos)
        << messages.back();
    EXPECT_NE(messages.back().find("no program that opens it"), std::string::npos)
        << messages.back();
  }
  // A missing help file is told as missing.
  fs::remove(folder / "help.html");
  choose(6);
  ASSERT_EQ(toldAfter(3), 1u);
  EXPECT_EQ(messages.back(),
            "Could not open " + (folder / "help.html").string() + ": the file does not exist.");
}

TEST_F(MenuCommands, TheSettingsFormBlocksTheWindowWhileTheWordsGoOn) {
  Settings({{"ctimeword", "3"}, {"voice", "0"}});
  FrmShow& w = LoadWindow();
  w.Show();
  const std::string first = w.LB.Caption();
  bool blocked = false, open = false;
  std::string during;
  WhenShown<Form3>(
      [&](Form3& f) {
        open = true;
        blocked = !w.ClientWidget()->isEnabled();
        clock.Advance(3000);
        during = w.LB.Caption();
        forms::Unload(f);
      },
      [&] { return !w.ClientWidget()->isEnabled(); });
  w.mnusetup_Click();
  EXPECT_TRUE(open);
  EXPECT_TRUE(blocked);
  EXPECT_NE(during, first);
  EXPECT_TRUE(w.ClientWidget()->isEnabled());
  EXPECT_EQ(forms::Forms::Find<Form3>(), nullptr) << "released when closed";
}

TEST_F(MenuCommands, TheAboutPictureIsCentredModalAndAClickClosesIt) {
  FrmShow& w = LoadWindow();
  bool shown = false;
  float left = 0, top = 0, width = 0, height = 0;
  std::string caption;
  WhenShown<Form4>([&](Form4& f) {
    shown = static_cast<bool>(f.Image1.Picture());
    caption = f.Caption();
    left = f.Left(), top = f.Top(), width = f.Width(), height = f.Height();
    f.Image1.Click();
  });
  w.aboutus_Click();
  EXPECT_TRUE(shown);
  EXPECT_EQ(caption, "Version");
  EXPECT_NEAR(left, (forms::Screen::Width() - width) / 2, 15);
  EXPECT_NEAR(top, (forms::Screen::Height() - height) / 2, 15);
  EXPECT_EQ(forms::Forms::Find<Form4>(), nullptr);
}

TEST_F(MenuCommands, ExitEndsAtOnceStoringNothingAndLeavingTheCharacter) {
  FrmShow& w = LoadWindow();
  module().ctimeword = 12;
  requests.clear();
  const std::string stored = Stored("ctimeword");
  EXPECT_TRUE(Ends([&] { w.mnuquit_Click(); }));
  EXPECT_TRUE(ended);
  EXPECT_EQ(Stored("ctimeword"), stored);
  EXPECT_TRUE(requests.empty()) << "the character is not hidden first";
}
