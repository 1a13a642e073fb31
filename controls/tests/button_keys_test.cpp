// The push button under the keyboard: a tab stop of its form, a focus mark,
// Space and Enter, access keys.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <string>
#include <vector>

#include "test_hosts.h"

using namespace controls_test;
using controls::xpcmdbutton;

namespace {

class KeysHost : public forms::Form {
 public:
  KeysHost() : Form(":/test/KeysHost.json") {}
  xpcmdbutton& Button(const char* name) const { return Get<xpcmdbutton>(name); }
  forms::TextBox& Box(const char* name) const { return Get<forms::TextBox>(name); }
};

// A key pressed and let go where the keyboard focus is, as the display
// delivers it.
void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QTest::keyClick(static_cast<QWidget*>(nullptr), key, mods);
  Settle();
}

QWidget* Focused() {
  return QApplication::focusWidget();
}

// The pixels of the button's surface that differ between two of its pictures.
std::vector<QPoint> Differences(const QImage& a, const QImage& b) {
  std::vector<QPoint> out;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) out.emplace_back(x, y);
  return out;
}

}  // namespace

TEST(PushButtonKeys, TabStopsOnEnabledButtonsInTheFormsOrder) {
  KeysHost host;
  host.Show();
  ASSERT_TRUE(Activate(host.hWnd()));
  host.Box("English").SetFocus();
  Settle();
  Key(Qt::Key_Tab);
  EXPECT_EQ(Focused(), host.Button("cmdSave").Widget());
  // The disabled button is passed over.
  Key(Qt::Key_Tab);
  EXPECT_EQ(Focused(), host.Button("cmdGo").Widget());
  Key(Qt::Key_Tab);
  EXPECT_EQ(Focused(), host.Box("Italian").Widget());
  Key(Qt::Key_Backtab, Qt::ShiftModifier);
  Key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(Focused(), host.Button("cmdSave").Widget());
}

TEST(PushButtonKeys, SpaceAndEnterPressTheFocusedButtonWhichHearsItsKeys) {
  KeysHost host;
  host.Show();
  ASSERT_TRUE(Activate(host.hWnd()));
  auto& save = host.Button("cmdSave");
  std::vector<std::string> log;
  save.Click = [&] { log.push_back("click"); };
  save.KeyDown = [&](int& code, int&) { log.push_back("down " + std::to_string(code)); };
  save.KeyPress = [&](int& ascii) { log.push_back("press " + std::to_string(ascii)); };
  save.KeyUp = [&](int& code, int&) { log.push_back("up " + std::to_string(code)); };
  host.Box("English").SetFocus();
  Settle();
  Key(Qt::Key_Tab);
  ASSERT_EQ(Focused(), save.Widget());
  log.clear();

  // Space: the click comes as the key goes up, not before.
  QTest::keyPress(static_cast<QWidget*>(nullptr), Qt::Key_Space);
  Settle();
  EXPECT_EQ(log, (std::vector<std::string>{"down 32", "press 32"}));
  QTest::keyRelease(static_cast<QWidget*>(nullptr), Qt::Key_Space);
  Settle();
  EXPECT_EQ(log, (std::vector<std::string>{"down 32", "press 32", "up 32", "click"}));

  log.clear();
  Key(Qt::Key_Return);
  EXPECT_EQ(log, (std::vector<std::string>{"down 13", "click", "press 13", "up 13"}));

  // A handler that takes the key away keeps the button from pressing.
  save.KeyDown = [&](int& code, int&) { code = 0; };
  log.clear();
  Key(Qt::Key_Return);
  Key(Qt::Key_Space);
  EXPECT_EQ(log, (std::vector<std::string>{"press 13", "up 13", "press 32", "up 32"}));
}

TEST(PushButtonKeys, TheFocusedButtonShowsADottedMarkInsideItsBorder) {
  KeysHost host;
  host.Show();
  ASSERT_TRUE(Activate(host.hWnd()));
  auto& save = host.Button("cmdSave");
  host.Box("English").SetFocus();
  Settle();
  const QImage before = save.Image().Image();
  Key(Qt::Key_Tab);
  ASSERT_EQ(Focused(), save.Widget());
  const QImage focused = save.Image().Image();
  const std::vector<QPoint> mark = Differences(before, focused);
  ASSERT_FALSE(mark.empty());
  // Every changed pixel lies on a rectangle 3 pixels inside the edge.
  const int w = before.width(), h = before.height();
  for (const QPoint& p : mark) {
    const bool onFrame = ((p.x() == 3 || p.x() == w - 4) && p.y() >= 3 && p.y() <= h - 4) ||
                         ((p.y() == 3 || p.y() == h - 4) && p.x() >= 3 && p.x() <= w - 4);
    EXPECT_TRUE(onFrame) << p.x() << ", " << p.y();
  }
  Key(Qt::Key_Tab);
  EXPECT_TRUE(Differences(before, save.Image().Image()).empty());
}

TEST(PushButtonKeys, AnAccessKeyWorksWithAltAndAloneWhileAButtonHasTheFocus) {
  KeysHost host;
  host.Show();
  ASSERT_TRUE(Activate(host.hWnd()));
  int goes = 0, saves = 0;
  host.Button("cmdGo").Click = [&] { ++goes; };
  host.Button("cmdSave").Click = [&] { ++saves; };
  auto& english = host.Box("English");
  english.SetFocus();
  Settle();
  // In a text box the letter is typed; with Alt it clicks.
  Key(Qt::Key_G);
  EXPECT_EQ(english.Text(), "g");
  EXPECT_EQ(goes, 0);
  Key(Qt::Key_G, Qt::AltModifier);
  EXPECT_EQ(goes, 1);
  Key(Qt::Key_Tab);
  ASSERT_EQ(Focused(), host.Button("cmdSave").Widget());
  Key(Qt::Key_G);
  EXPECT_EQ(goes, 2);
  Key(Qt::Key_X);  // no button's key
  EXPECT_EQ(goes, 2);
  EXPECT_EQ(saves, 0);
  EXPECT_EQ(english.Text(), "g");
}
