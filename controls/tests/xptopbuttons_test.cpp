// The caption button: glyph sets and looks, fixed size, the poll that runs
// from creation, events and stored properties.

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QTest>

#include "forms/clock.h"
#include "forms/property_bag.h"
#include "forms/scale.h"
#include "test_hosts.h"
#include "win/window.h"

using namespace controls_test;
using controls::xptopbuttons;

namespace {

// Whether the button shows cell `cell` of glyph set `glyph`.
bool Shows(const xptopbuttons& b, int glyph, int cell) {
  return b.CanvasPicture() == b.Get<forms::PictureClip>("pc", glyph).GraphicCell(cell);
}

void Send(xptopbuttons& b, win::UINT msg, win::WPARAM keys, int x, int y) {
  win::SendMessageA(b.hWnd(), msg, keys, win::MAKELPARAM(x, y));
}

}  // namespace

TEST(CaptionButton, ValueChoosesTheGlyphAndOtherValuesKeepIt) {
  ButtonHost host;
  host.Show();
  Settle();
  auto& b = host.Top(1);
  EXPECT_EQ(b.Value(), 0);
  EXPECT_TRUE(Shows(b, 0, xptopbuttons::kNormalCell));
  EXPECT_EQ(b.CanvasPicture().PixelWidth(), 21);
  b.Value(2);
  EXPECT_TRUE(Shows(b, 2, xptopbuttons::kNormalCell));
  b.Value(7);
  EXPECT_EQ(b.Value(), 7);
  EXPECT_TRUE(Shows(b, 2, xptopbuttons::kNormalCell));
  b.Value(-1);
  EXPECT_TRUE(Shows(b, 2, xptopbuttons::kNormalCell));
  b.Value(3);
  EXPECT_TRUE(Shows(b, 3, xptopbuttons::kNormalCell));
  EXPECT_EQ(b.ChangedProperties().back(), "Value");
}

TEST(CaptionButton, DisabledShowsTheFadedLookAndTakesNoPointerInput) {
  ButtonHost host;
  host.Show();
  Settle();
  auto& b = host.Top(2);  // stored: minimise, disabled
  EXPECT_FALSE(b.Enabled());
  EXPECT_TRUE(Shows(b, 2, xptopbuttons::kDisabledCell));
  int downs = 0;
  b.MouseDown = [&](int&, int&, float&, float&) { ++downs; };
  QTest::mousePress(b.Widget(), Qt::LeftButton, {}, QPoint(10, 10));
  QTest::mouseRelease(b.Widget(), Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(downs, 0);
  EXPECT_TRUE(Shows(b, 2, xptopbuttons::kDisabledCell));
  const std::size_t changes = b.ChangedProperties().size();
  b.Enabled(true);
  EXPECT_TRUE(Shows(b, 2, xptopbuttons::kNormalCell));
  EXPECT_EQ(b.ChangedProperties().size(), changes);  // Enabled sends no notification
  QTest::mousePress(b.Widget(), Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(downs, 1);
}

TEST(CaptionButton, TheSizeIsAlways315Twips) {
  ButtonHost host;
  host.Load();
  auto& b = host.Top(2);  // described 600 x 600
  EXPECT_EQ(b.WidthTwips(), 315);
  EXPECT_EQ(b.HeightTwips(), 315);
  b.Width(1000);
  EXPECT_EQ(b.WidthTwips(), 315);
  b.Move(0, 0, 50, 40);
  EXPECT_EQ(b.WidthTwips(), 315);
  EXPECT_EQ(b.HeightTwips(), 315);
  host.Show();
  Settle();
  EXPECT_EQ(b.Widget()->width(), 21);
  EXPECT_EQ(b.Widget()->height(), 21);
}

TEST(CaptionButton, LooksAndEventsFollowThePointer) {
  forms::ManualClock clock;
  ButtonHost host;
  host.Show();
  Settle();
  auto& b = host.Top(1);
  std::vector<std::string> events;
  b.MouseDown = [&](int& button, int&, float&, float&) {
    // The pressed look is up before the event.
    events.push_back(std::string("down ") + std::to_string(button) +
                     (Shows(b, 0, xptopbuttons::kPressedCell) ? " pressed" : ""));
  };
  b.MouseMove = [&](int& button, int&, float&, float&) {
    events.push_back("move " + std::to_string(button));
  };
  b.MouseUp = [&](int& button, int&, float&, float&) {
    events.push_back(std::string("up ") + std::to_string(button) +
                     (Shows(b, 0, xptopbuttons::kNormalCell) ? " normal" : ""));
  };
  int clicks = 0;
  b.Click = [&] { ++clicks; };

  Send(b, win::WM_MOUSEMOVE, 0, 10, 10);
  EXPECT_TRUE(Shows(b, 0, xptopbuttons::kHotCell));
  Send(b, win::WM_RBUTTONDOWN, win::MK_RBUTTON, 10, 10);
  EXPECT_TRUE(Shows(b, 0, xptopbuttons::kPressedCell));
  Send(b, win::WM_MOUSEMOVE, win::MK_RBUTTON, 10, 10);
  EXPECT_TRUE(Shows(b, 0, xptopbuttons::kHotCell));
  Send(b, win::WM_RBUTTONUP, 0, 10, 10);
  Send(b, win::WM_LBUTTONDOWN, win::MK_LBUTTON, 10, 10);
  Send(b, win::WM_MOUSEMOVE, win::MK_LBUTTON, 12, 10);
  EXPECT_TRUE(Shows(b, 0, xptopbuttons::kPressedCell));
  Send(b, win::WM_MOUSEMOVE, win::MK_LBUTTON, 30, 10);  // outside: nothing
  EXPECT_TRUE(Shows(b, 0, xptopbuttons::kPressedCell));
  Send(b, win::WM_LBUTTONUP, 0, 12, 10);
  // Released over the button: the normal look, then hot at the next move.
  EXPECT_TRUE(Shows(b, 0, xptopbuttons::kNormalCell));
  EXPECT_EQ(clicks, 1);
  Send(b, win::WM_MOUSEMOVE, 0, 12, 11);
  EXPECT_TRUE(Shows(b, 0, xptopbuttons::kHotCell));
  EXPECT_EQ(events,
            (std::vector<std::string>{"move 0", "down 2 pressed", "move 2", "up 2 normal",
                                      "down 1 pressed", "move 1", "up 1 normal", "move 0"}));

  // A double click: one press, one Click.
  events.clear();
  Send(b, win::WM_LBUTTONDOWN, win::MK_LBUTTON, 10, 10);
  Send(b, win::WM_LBUTTONUP, 0, 10, 10);
  Send(b, win::WM_LBUTTONDBLCLK, win::MK_LBUTTON, 10, 10);
  Send(b, win::WM_LBUTTONUP, 0, 10, 10);
  EXPECT_EQ(events, (std::vector<std::string>{"down 1 pressed", "up 1 normal", "up 1 normal"}));
  EXPECT_EQ(clicks, 2);
}

TEST(CaptionButton, ThePollRunsFromCreationAndAfterEveryMove) {
  forms::ManualClock clock;
  win::SetCursorPos(0, 0);
  ButtonHost host;
  host.Show();
  Settle();
  auto& b = host.Top(1);
  auto& poll = b.Get<forms::FormTimer>("Timer1");
  int outs = 0;
  b.MouseOut = [&] { ++outs; };
  EXPECT_TRUE(poll.Enabled());
  clock.Advance(10);  // the first tick finds the pointer elsewhere
  EXPECT_EQ(outs, 1);
  EXPECT_FALSE(poll.Enabled());
  clock.Advance(50);
  EXPECT_EQ(outs, 1);

  PointAt(b.hWnd(), 5, 5);
  Send(b, win::WM_MOUSEMOVE, 0, 5, 5);
  EXPECT_TRUE(poll.Enabled());
  PointAt(b.hWnd(), 21, 21);  // the far corner is inside
  clock.Advance(10);
  EXPECT_EQ(outs, 1);
  EXPECT_TRUE(Shows(b, 0, xptopbuttons::kHotCell));
  PointAt(b.hWnd(), 22, 5);
  clock.Advance(10);
  EXPECT_EQ(outs, 2);
  EXPECT_TRUE(Shows(b, 0, xptopbuttons::kNormalCell));

  // Disabled when the pointer leaves: the picture stays as it was.
  PointAt(b.hWnd(), 5, 5);
  Send(b, win::WM_MOUSEMOVE, 0, 5, 5);
  b.Enabled(false);
  PointAt(b.hWnd(), 40, 40);
  clock.Advance(10);
  EXPECT_EQ(outs, 3);
  EXPECT_TRUE(Shows(b, 0, xptopbuttons::kDisabledCell));
}

TEST(CaptionButton, ValueAndEnabledAreStoredInThatOrder) {
  ButtonHost host;
  host.Load();
  auto& fresh = host.Top(1);
  EXPECT_EQ(fresh.ChangedProperties(), (std::vector<std::string>{"Value"}));
  EXPECT_TRUE(fresh.SaveProperties().Names().empty());
  auto& stored = host.Top(2);
  EXPECT_EQ(stored.Value(), 2);
  EXPECT_TRUE(stored.ChangedProperties().empty());  // read straight into the control
  const forms::PropertyBag bag = stored.SaveProperties();
  EXPECT_EQ(bag.Names(), (std::vector<std::string>{"Value", "Enabled"}));
  const QJsonObject json = QJsonDocument::fromJson(QJsonDocument(bag.ToJson()).toJson()).object();
  ButtonHost again(DescriptionWithBag(":/test/ButtonHost.json", "xptopbuttons1", json));
  again.Load();
  EXPECT_EQ(again.Top(1).Value(), 2);
  EXPECT_FALSE(again.Top(1).Enabled());
  // The stored value takes effect on the glyph once the button is shown.
  EXPECT_TRUE(Shows(again.Top(1), 0, xptopbuttons::kDisabledCell));
  again.Show();
  Settle();
  EXPECT_TRUE(Shows(again.Top(1), 2, xptopbuttons::kDisabledCell));
}

TEST(CaptionButton, TheStripsRoundedCornersBlendIntoTheActiveCaptionBar) {
  ButtonHost host;
  host.Load();
  const QImage bar(":/pictures/skin/top_active.png");
  for (int glyph = 0; glyph < 4; ++glyph) {
    const QImage strip = host.Top(1).Get<forms::PictureClip>("pc", glyph).Picture().Image();
    ASSERT_EQ(strip.size(), QSize(84, 21));
    for (int y = 0; y < strip.height(); ++y)
      for (int x = 0; x < strip.width(); ++x) ASSERT_EQ(qAlpha(strip.pixel(x, y)), 255);
    // The button sits 5 pixels down the bar.
    EXPECT_EQ(PixelOf(strip, 0, 0), PixelOf(bar, 33, 5));
    EXPECT_EQ(PixelOf(strip, 83, 20), PixelOf(bar, 33, 25));
  }
}
