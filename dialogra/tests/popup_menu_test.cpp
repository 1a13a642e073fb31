// The bar's popup menu: its items, where it opens, and each command.

#include <unistd.h>
#include <QApplication>
#include <QKeyEvent>

#include <algorithm>
#include <chrono>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <thread>

#include "bar_fixture.h"
#include "form2.h"
#include "form3.h"
#include "forms/settings.h"
#include "ornatek/menu_control_host.h"
#include "shell/shell_execute.h"
#include "suite/addedit.h"
#include "suite/maker.h"
#include "testsupport/menu_driver.h"
#include "win/qt_window.h"
#include "win/win.h"

using namespace dialogra;
using dialogra::testing::BarFixture;
namespace fs = std::filesystem;

namespace {

using testsupport::MenuDriver;
using testsupport::MenuItemText;

std::map<std::string, std::string> StoreValues() {
  std::map<std::string, std::string> values;
  std::ifstream in(forms::SettingsStore::DefaultPath());
  for (std::string line; std::getline(in, line);)
    if (auto eq = line.find('='); eq != std::string::npos && line[0] != '#')
      values[line.substr(0, eq)] = line.substr(eq + 1);
  return values;
}

std::string FileText(const fs::path& p) {
  std::ifstream in(p);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The shell starts programs on their own: wait, boundedly, for their trace,
// a line that is whole once it ends in a newline.
std::string WaitForFile(const fs::path& p) {
  std::string text = FileText(p);
  for (int i = 0; i < 500 && !text.ends_with('\n'); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    text = FileText(p);
  }
  return text;
}

void Script(const fs::path& p, const std::string& body) {
  std::ofstream(p) << "#!/bin/sh\n" << body << "\n";
  fs::permissions(p, fs::perms::owner_all);
}

class PopupMenu : public BarFixture {
 protected:
  void SetUp() override {
    BarFixture::SetUp();
    // The desktop's handler and the reader are stand-ins that leave a trace.
    fs::create_directories(folder / "path");
    Script(folder / "path" / "xdg-open", "echo \"$1\" > '" + (folder / "opened").string() + "'");
    Script(folder / "Reader", "pwd > '" + (folder / "reader-started").string() + "'");
    std::ofstream(folder / "help.html") << "<html></html>";
    oldPath_ = getenv("PATH");
    setenv("PATH", ((folder / "path").string() + ":" + oldPath_).c_str(), 1);
  }
  void TearDown() override {
    setenv("PATH", oldPath_.c_str(), 1);
    BarFixture::TearDown();
  }

  // The bar after its intro.
  Form1& Bar() {
    Form1& bar = LoadBar();
    Ticks(70, 60);
    return bar;
  }

  // Moves the pointer over the menu button; `steps` run while the menu is
  // open. Returns whether a menu opened.
  bool Hover(Form1& bar, std::deque<MenuDriver::Step> steps) {
    MenuDriver driver(std::move(steps));
    int button = 0, shift = 0;
    float x = 100, y = 100;
    bar.Image1.MouseMove(button, shift, x, y);
    return driver.MenuOpened();
  }

  void Command(forms::Menu& item) {
    Form2& holder = forms::Forms::Get<Form2>();
    win::SendMessageA(holder.hWnd(), win::WM_COMMAND, item.CommandId(), 0);
  }

  std::string oldPath_;
};

}  // namespace

TEST_F(PopupMenu, HoldsItsItemsInTheirOrderWithTheirAccessKeys) {
  Form2& holder = forms::Forms::Get<Form2>();
  EXPECT_FALSE(holder.Visible());
  EXPECT_EQ(holder.mnu_file.Caption(), "file");
  const win::HMENU menu = holder.mnu_file.SubMenu();
  const std::vector<std::string> expected = {"&Settings...",
                                             "&Hide MSAgent",
                                             "&Add && Manage New Dialogs",
                                             "Le&ctoria",
                                             "H&elp",
                                             "",
                                             "&Website",
                                             "E_&mail",
                                             "A&bout us",
                                             "",
                                             "&Exit"};
  ASSERT_EQ(win::GetMenuItemCount(menu), static_cast<int>(expected.size()));
  for (int i = 0; i < static_cast<int>(expected.size()); ++i) {
    if (expected[i].empty())
      EXPECT_EQ(win::GetMenuState(menu, i, win::MF_BYPOSITION), win::MF_SEPARATOR) << i;
    else
      EXPECT_EQ(MenuItemText(menu, i), expected[i]) << i;
  }
}

TEST_F(PopupMenu, ThePointerOverTheButtonOpensItUnderTheBarsRightEnd) {
  Form1& bar = Bar();
  win::RECT at{};
  bool seen = false;
  ASSERT_TRUE(Hover(bar, {[&](win::HWND popup) {
                      seen = win::GetClassName(popup) == "#32768";
                      win::GetWindowRect(popup, &at);
                      win::EndMenu();
                    }}));
  EXPECT_TRUE(seen);
  win::RECT barRect{};
  win::GetWindowRect(bar.hWnd(), &barRect);
  // The menu control's flat frame grows the popup by a pixel at its right.
  EXPECT_EQ(at.right, barRect.left + 7110 / 15 + 1);
  EXPECT_EQ(at.top, barRect.top + (340 + 10) / 15);
}

TEST_F(PopupMenu, TheMenuControlDrawsEachCommandWithItsIconAndTheSeparatorsWithout) {
  Form1& bar = Bar();
  EXPECT_TRUE(messages.empty()) << "the menu control's library loaded";
  EXPECT_NE(dynamic_cast<ornatek::IVIroDazu*>(forms::Forms::Get<Form2>().FindControl("VIroDazu1")),
            nullptr);
  // Item tops in the popup: nine items of 23 pixels and two separators of 4.
  const int heights[] = {23, 23, 23, 23, 23, 4, 23, 23, 23, 4, 23};
  std::vector<int> inked;
  ASSERT_TRUE(Hover(bar, {[&](win::HWND popup) {
                      const win::HDC dc = win::GetDC(popup);
                      int top = 0;
                      for (int h : heights) {
                        // The picture's 18 x 18 place, (l + 4, t + 2) of the item moved
                        // by 2; a separator's image column is its rows 2 to 4.
                        int n = 0;
                        const int from = h == 4 ? top + 2 : top + 4,
                                  to = h == 4 ? top + 5 : top + 22;
                        for (int y = from; y < to; ++y)
                          for (int x = 6; x < 24; ++x) n += win::GetPixel(dc, x, y) != 0xD1D8DB;
                        inked.push_back(n);
                        top += h;
                      }
                      win::ReleaseDC(popup, dc);
                      win::EndMenu();
                    }}));
  ASSERT_EQ(inked.size(), 11u);
  for (int i : {0, 1, 2, 3, 4, 6, 7, 8, 10}) EXPECT_GT(inked[i], 40) << "item " << i;
  EXPECT_EQ(inked[5], 0) << "separator";
  EXPECT_EQ(inked[9], 0) << "separator";
}

TEST_F(PopupMenu, TheIconsLieOnTheImageColumnWithoutADarkSquare) {
  Form1& bar = Bar();
  // The nine command items' pictures have transparent grounds: in each
  // 18 x 18 picture place the column shows through them, and no pixel is
  // near black (a picture drawn as an opaque bitmap sits on a dark square).
  const int heights[] = {23, 23, 23, 23, 23, 4, 23, 23, 23, 4, 23};
  std::vector<int> dark, ground;
  ASSERT_TRUE(Hover(bar, {[&](win::HWND popup) {
                      const win::HDC dc = win::GetDC(popup);
                      int top = 0;
                      for (int h : heights) {
                        if (h != 4) {
                          int d = 0, g = 0;
                          for (int y = top + 4; y < top + 22; ++y)
                            for (int x = 6; x < 24; ++x) {
                              const win::COLORREF c = win::GetPixel(dc, x, y);
                              const int r = c & 0xFF, gr = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
                              d += std::max({r, gr, b}) < 0x50;
                              g += c == 0xD1D8DB;
                            }
                          dark.push_back(d);
                          ground.push_back(g);
                        }
                        top += h;
                      }
                      win::ReleaseDC(popup, dc);
                      win::EndMenu();
                    }}));
  ASSERT_EQ(dark.size(), 9u);
  for (std::size_t i = 0; i < dark.size(); ++i) {
    EXPECT_EQ(dark[i], 0) << "item " << i;
    // More than the ring around the 16 x 16 picture shows the column.
    EXPECT_GT(ground[i], 18 * 18 - 16 * 16 + 20) << "item " << i;
  }
}

TEST_F(PopupMenu, WithoutTheMenuControlsLibraryTheBarSaysSoOnceAndTheMenuIsPlain) {
  // This test's process never had the class: its registration is taken away.
  com::UnregisterLibrary(testsupport::BinDir() / "Ornatek.ocx");
  Form1& bar = Bar();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("Ornatek.VIroDazu"), std::string::npos) << messages[0];
  EXPECT_NE(messages[0].find("classes.conf"), std::string::npos) << "names the file";
  Form2& holder = forms::Forms::Get<Form2>();
  EXPECT_EQ(dynamic_cast<ornatek::IVIroDazu*>(holder.FindControl("VIroDazu1")), nullptr);
  win::UINT type = 0;
  ASSERT_TRUE(Hover(bar, {[&](win::HWND) {
                      win::MENUITEMINFOA info;
                      info.fMask = win::MIIM_FTYPE;
                      win::GetMenuItemInfoA(holder.mnu_file.SubMenu(), 0, win::TRUE, &info);
                      type = info.fType;
                      win::EndMenu();
                    }}));
  EXPECT_EQ(type, win::MFT_STRING) << "a plain item";
  EXPECT_EQ(messages.size(), 1u) << "said once";
}

TEST_F(PopupMenu, TheButtonDoesNotReactWhileTheAboutPictureOrTheSettingsAreOpen) {
  Form1& bar = Bar();
  Form2& holder = forms::Forms::Get<Form2>();
  Command(holder.mnu_veri);
  EXPECT_TRUE(forms::Forms::Get<Form7>().Visible());
  EXPECT_FALSE(bar.Image1.Enabled());
  EXPECT_FALSE(Hover(bar, {}));
  forms::Forms::Get<Form7>().Image1.Click();
  forms::DoEvents();
  EXPECT_TRUE(bar.Image1.Enabled());

  holder.mnu_sysset_Click();
  EXPECT_FALSE(Hover(bar, {}));
}

TEST_F(PopupMenu, AnAccessKeyInTheOpenMenuRunsItsCommand) {
  Form1& bar = Bar();
  ASSERT_TRUE(Hover(bar, {[](win::HWND popup) { MenuDriver::Key(popup, Qt::Key_S, "s"); }}));
  Form3* settings = forms::Forms::Find<Form3>();
  ASSERT_NE(settings, nullptr);
  EXPECT_TRUE(settings->Visible());
}

TEST_F(PopupMenu, SettingsOpenModelessAtTheirPlace) {
  Bar();
  Command(forms::Forms::Get<Form2>().mnu_sysset);
  Form3* settings = forms::Forms::Find<Form3>();
  ASSERT_NE(settings, nullptr);
  EXPECT_TRUE(settings->Visible());
  EXPECT_EQ(settings->Top(), forms::Screen::Height() / 2 - 3000);
  EXPECT_EQ(settings->Left(), forms::Screen::Width() / 2 - 4000);
}

TEST_F(PopupMenu, HidingTwiceShowsTheCharacterAgainAndTheCaptionFollows) {
  Form1& bar = Bar();
  Form2& holder = forms::Forms::Get<Form2>();
  EXPECT_EQ(holder.mnu_hlp.Caption(), "&Hide MSAgent");
  requests.clear();
  Command(holder.mnu_hlp);
  EXPECT_EQ(holder.mnu_hlp.Caption(), "&Show MSAgent");
  EXPECT_FALSE(bar.mobjAgent->Visible());
  Command(holder.mnu_hlp);
  EXPECT_EQ(holder.mnu_hlp.Caption(), "&Hide MSAgent");
  EXPECT_TRUE(bar.mobjAgent->Visible());
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].kind, agent::RequestRecord::Kind::Hide);
  EXPECT_EQ(requests[1].kind, agent::RequestRecord::Kind::Show);
}

TEST_F(PopupMenu, HidingWithoutACharacterOnlyTurnsTheCaption) {
  setenv("TAVRINEL_SYSTEM_DIR", (folder / "nowhere").c_str(), 1);
  Bar();
  Form2& holder = forms::Forms::Get<Form2>();
  Command(holder.mnu_hlp);
  EXPECT_EQ(holder.mnu_hlp.Caption(), "&Show MSAgent");
}

TEST_F(PopupMenu, TheEditorOpensOverTheTrainersBook) {
  Bar();
  Command(forms::Forms::Get<Form2>().managewords);
  addedit* editor = forms::Forms::Find<addedit>();
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(editor->Visible());
  EXPECT_EQ(editor->Book().file, "dialog.ocx");
}

TEST_F(PopupMenu, TheEditorOverTheBookBeingStudiedSaysWhatHoldsItAndWhatToDo) {
  AddWords({{"Good morning", "Buongiorno"}});
  forms::SaveSetting("Tesk", "Orvanta7", "xxx", "1");
  forms::SaveSetting("Tesk", "Orvanta7", "guage", "20");
  Bar();
  Command(forms::Forms::Get<Form2>().managewords);
  ASSERT_EQ(messages.size(), 1u);
  const std::string& text = messages[0];
  EXPECT_NE(text.find((folder / "dialog.ocx").string()), std::string::npos) << text;
  EXPECT_NE(text.find("studying it (\"New Dialogs Book\" in its settings)"), std::string::npos)
      << text;
  EXPECT_NE(text.find("choose a lesson in the settings, exit the trainer and start it again"),
            std::string::npos)
      << text;
}

TEST_F(PopupMenu, TheReaderStartsFromTheProgramFolder) {
  Bar();
  Command(forms::Forms::Get<Form2>().recite);
  EXPECT_EQ(WaitForFile(folder / "reader-started"), folder.path().string() + "\n");
}

TEST_F(PopupMenu, HelpTheWebPageAndTheMailGoToTheDesktop) {
  Bar();
  Form2& holder = forms::Forms::Get<Form2>();
  Command(holder.mnuhelp);
  EXPECT_EQ(WaitForFile(folder / "opened"), (folder / "help.html").string() + "\n");
  fs::remove(folder / "opened");
  Command(holder.mnu_page);
  EXPECT_EQ(WaitForFile(folder / "opened"), std::string(suite::maker::kWebPage) + "\n");
  fs::remove(folder / "opened");
  Command(holder.mnu_email);
  EXPECT_EQ(WaitForFile(folder / "opened"), "mailto:" + std::string(suite::maker::kMail) + "\n");
}

TEST_F(PopupMenu, MissingHelpOrReaderIsToldOnceEachWithTheFile) {
  fs::remove(folder / "Reader");
  fs::remove(folder / "help.html");
  Bar();
  Form2& holder = forms::Forms::Get<Form2>();
  Command(holder.recite);
  Command(holder.mnuhelp);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0],
            "Could not open " + (folder / "Reader").string() + ": the file does not exist.");
  EXPECT_EQ(messages[1],
            "Could not open " + (folder / "help.html").string() + ": the file does not exist.");
}

TEST_F(PopupMenu, ExitWritesTheVoiceThePlaceAndTheScheduleThenEnds) {
  Form1& bar = Bar();
  bar.Left(2340);  // dragged elsewhere in this run
  module().SpeechOn = 0;
  module().guagen = 10314;
  module().PlayTimes = 9;  // a running option that Exit does not keep
  const auto before = StoreValues();
  EXPECT_THROW(forms::Forms::Get<Form2>().mnu_exit_Click(), forms::testing::ProgramEnded);
  EXPECT_TRUE(ended);
  auto after = StoreValues();
  EXPECT_EQ(after["voice"], "0");
  EXPECT_EQ(after["left"], "2340");
  EXPECT_EQ(after["guagen"], "10314");
  // Nothing else changes.
  auto rest = before;
  for (const char* key : {"voice", "left", "guagen"}) {
    after.erase(key);
    rest.erase(key);
  }
  EXPECT_EQ(after, rest);
}

TEST_F(PopupMenu, ExitInRandomOrderKeepsNoPlace) {
  Bar();
  module().rd = 0;
  module().guagen = 10314;
  EXPECT_THROW(forms::Forms::Get<Form2>().mnu_exit_Click(), forms::testing::ProgramEnded);
  EXPECT_EQ(ReadSetting("guagen"), "11000");
  EXPECT_EQ(ReadSetting("voice"), "1");
}
