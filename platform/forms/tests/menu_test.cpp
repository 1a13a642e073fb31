// Menu controls: the real menus a description makes, run-time changes, Click
// routing and PopupMenu.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <deque>
#include <functional>

#include "forms/forms.h"
#include "testsupport/menu_driver.h"
#include "win/qt_window.h"
#include "win/win.h"

using namespace forms;

namespace {

std::vector<std::string> g_log;

class Menus : public Form {
 public:
  Menus() : Form(":/test/forms/Menus.json") {
    Get<Menu>("mnu_open").Click = [] { g_log.push_back("open"); };
    for (auto& [i, m] : Array<Menu>("mnu_lesson"))
      m->Click = [i = i] { g_log.push_back("lesson " + std::to_string(i)); };
    Get<Menu>("mnu_off").Click = [] { g_log.push_back("off"); };
    Get<Menu>("mnu_fast").Click = [] { g_log.push_back("fast"); };
    Get<Menu>("mnu_speed").Click = [] { g_log.push_back("speed opens"); };
  }
};

class Caller : public Form {
 public:
  Caller() : Form(":/test/forms/Basic.json") {}
};

using testsupport::MenuDriver;
using testsupport::MenuItemText;

// Pops the menu up with the steps driving it; whether every step ran.
bool RunPopup(Form& caller, Menu& menu, int flags, float x, float y,
              std::deque<MenuDriver::Step> steps) {
  MenuDriver driver(std::move(steps));
  caller.PopupMenu(menu, flags, x, y);
  return driver.Done();
}

}  // namespace

TEST(MenuControls, TheDescriptionMakesRealMenus) {
  Menus f;
  auto& file = f.Get<Menu>("mnu_file");
  const win::HMENU bar = win::GetMenu(f.hWnd());
  ASSERT_TRUE(bar) << "a visible top-level menu gives the form a bar";
  EXPECT_EQ(win::GetMenuItemCount(bar), 1) << "the hidden top-level menu is not on it";
  EXPECT_EQ(MenuItemText(bar, 0), "&Help");

  const win::HMENU sub = file.SubMenu();
  ASSERT_TRUE(win::IsMenu(sub));
  ASSERT_EQ(win::GetMenuItemCount(sub), 6) << "hidden items are left out";
  EXPECT_EQ(MenuItemText(sub, 0), "&Open\tCtrl+O");
  EXPECT_EQ(win::GetMenuState(sub, 1, win::MF_BYPOSITION), win::MF_SEPARATOR);
  EXPECT_EQ(MenuItemText(sub, 3), "Lesson &2");
  EXPECT_EQ(win::GetMenuState(sub, 3, win::MF_BYPOSITION) & win::MF_CHECKED, win::MF_CHECKED);
  EXPECT_EQ(win::GetMenuState(sub, 4, win::MF_BYPOSITION) & win::MF_GRAYED, win::MF_GRAYED);
  EXPECT_EQ(win::GetSubMenu(sub, 5), f.Get<Menu>("mnu_speed").SubMenu());
  EXPECT_EQ(MenuItemText(win::GetSubMenu(sub, 5), 1), "F&ast && loud");

  // Items found by position map back to their controls through the command id.
  auto& lesson1 = f.Array<Menu>("mnu_lesson")[1];
  EXPECT_EQ(win::GetMenuItemID(sub, 3), lesson1.CommandId());
  EXPECT_EQ(lesson1.ParentMenu(), sub);
  EXPECT_EQ(f.Get<Menu>("mnu_help").ParentMenu(), bar);
  EXPECT_EQ(lesson1.ParentItem(), &file);
  EXPECT_EQ(file.Items().size(), 7u);

  // A form whose top-level menus are all hidden has no bar.
  f.Get<Menu>("mnu_help").Visible(false);
  EXPECT_EQ(win::GetMenu(f.hWnd()), win::HMENU());
  f.Get<Menu>("mnu_help").Visible(true);
  EXPECT_EQ(win::GetMenu(f.hWnd()), bar);
}

TEST(MenuControls, RunTimeChangesReachTheRealMenu) {
  Menus f;
  const win::HMENU sub = f.Get<Menu>("mnu_file").SubMenu();
  auto& open = f.Get<Menu>("mnu_open");
  open.Caption("&Apri");
  EXPECT_EQ(MenuItemText(sub, 0), "&Apri\tCtrl+O");
  open.Checked(true);
  EXPECT_EQ(win::GetMenuState(sub, open.CommandId(), win::MF_BYCOMMAND) & win::MF_CHECKED,
            win::MF_CHECKED);
  open.Enabled(false);
  EXPECT_EQ(win::GetMenuState(sub, open.CommandId(), win::MF_BYCOMMAND) & win::MF_GRAYED,
            win::MF_GRAYED);
  f.Get<Menu>("mnu_hidden").Visible(true);
  EXPECT_EQ(win::GetMenuItemCount(sub), 7);
  EXPECT_EQ(MenuItemText(sub, 4), "Hidden");
  open.Visible(false);
  EXPECT_EQ(win::GetMenuItemCount(sub), 6);
  EXPECT_EQ(win::GetMenuState(sub, 0, win::MF_BYPOSITION), win::MF_SEPARATOR);
}

TEST(MenuControls, TheBarTakesRoomAboveTheClientAreaOnlyWhileATopMenuIsVisible) {
  Menus f;
  QWidget* form = win::WindowWidget(f.hWnd());
  QWidget* text = f.Get<TextBox>("Text1").Widget();
  ASSERT_TRUE(form && text);
  win::RECT client;
  win::GetClientRect(f.hWnd(), &client);
  const int bar = form->height() - client.bottom;
  EXPECT_GT(bar, 15);
  EXPECT_EQ(text->y(), 20 + bar) << "controls count from the client area, below the bar";
  const float withBar = f.ScaleHeight();

  // Hidden top menus: no bar, the whole window is client area again.
  f.Get<Menu>("mnu_help").Visible(false);
  win::GetClientRect(f.hWnd(), &client);
  EXPECT_EQ(client.bottom, form->height());
  EXPECT_EQ(text->y(), 20);
  EXPECT_FLOAT_EQ(f.ScaleHeight(), withBar + static_cast<float>(bar) * 15.0f);
  f.Get<TextBox>("Text1").Top(450);
  EXPECT_EQ(text->y(), 30);
  f.Get<Menu>("mnu_help").Visible(true);
  EXPECT_EQ(text->y(), 30 + bar);
}

TEST(MenuControls, CommandsReachTheirClickHandlers) {
  g_log.clear();
  Menus f;
  // A WM_COMMAND of an item runs its Click; array elements know their index.
  win::SendMessageA(f.hWnd(), win::WM_COMMAND, f.Array<Menu>("mnu_lesson")[1].CommandId(), 0);
  win::SendMessageA(f.hWnd(), win::WM_COMMAND, f.Get<Menu>("mnu_off").CommandId(), 0);
  ASSERT_EQ(g_log, std::vector<std::string>{"lesson 1"}) << "a disabled item runs nothing";
}

TEST(MenuControls, PopupMenuOfAHiddenHolderFormRunsTheClickBeforeReturning) {
  g_log.clear();
  Menus holder;  // never shown
  Caller caller;
  caller.Show();
  const bool done1 = RunPopup(
      caller, holder.Get<Menu>("mnu_file"), vbPopupMenuRightAlign, 7110, 300,
      {
          [&](win::HWND p) {
            EXPECT_EQ(win::GetClassName(p), "#32768");
            // Right-aligned: its right edge at x = 7110 twips of the calling form.
            win::POINT at{7110 / 15, 300 / 15};
            win::ClientToScreen(caller.hWnd(), &at);
            win::RECT r;
            win::GetWindowRect(p, &r);
            EXPECT_EQ(r.right, at.x);
            EXPECT_EQ(r.top, at.y);
            MenuDriver::Key(p, Qt::Key_Z, "z");  // no item has it: nothing happens
          },
          [](win::HWND p) { MenuDriver::Key(p, Qt::Key_2, "2"); },  // "Lesson &2", element 1
      });
  EXPECT_TRUE(done1);
  EXPECT_EQ(g_log, std::vector<std::string>{"lesson 1"});

  // The cascade's menu runs its Click as it opens; "&&" is no access key.
  g_log.clear();
  const bool done2 = RunPopup(caller, holder.Get<Menu>("mnu_file"), 0, 100, 100,
                              {
                                  [](win::HWND p) { MenuDriver::Key(p, Qt::Key_S, "s"); },
                                  [](win::HWND p) { MenuDriver::Key(p, Qt::Key_A, "a"); },
                              });
  EXPECT_TRUE(done2);
  EXPECT_EQ(g_log, (std::vector<std::string>{"speed opens", "fast"}));

  // A disabled item takes no command; Esc closes without one.
  g_log.clear();
  const bool done3 = RunPopup(caller, holder.Get<Menu>("mnu_file"), 0, 100, 100,
                              {
                                  [](win::HWND p) { MenuDriver::Key(p, Qt::Key_F, "f"); },
                                  [](win::HWND p) { MenuDriver::Key(p, Qt::Key_Escape); },
                              });
  EXPECT_TRUE(done3);
  EXPECT_TRUE(g_log.empty());
}

TEST(MenuControls, ShortcutKeysRunTheClickWhileTheItemIsEnabled) {
  g_log.clear();
  Menus f;
  f.Show();
  QApplication::setActiveWindow(f.ClientWidget());
  QTest::keyClick(f.ClientWidget(), Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(g_log, std::vector<std::string>{"open"});
  f.Get<Menu>("mnu_open").Enabled(false);
  QTest::keyClick(f.ClientWidget(), Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(g_log.size(), 1u);
}
