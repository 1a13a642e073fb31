// The skinned frame: defaults and stored properties, the layout pass, the
// caption picture for each window state, cursors, and activation tracking.

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QWidget>

#include "forms/clock.h"
#include "forms/property_bag.h"
#include "forms/scale.h"
#include "test_hosts.h"
#include "win/window.h"

using namespace controls_test;
using forms::FormTimer;
using forms::Image;
using forms::PictureBox;

namespace {

bool ShowsSkin(const controls::xp_canvas& frame, char set) {
  for (const char* part : {"imgleft", "imgright", "imgtop", "imgtopmax", "imgbottom"})
    if (frame.Get<Image>(part).Picture() != frame.Get<Image>(std::string(part) + set).Picture())
      return false;
  return true;
}
bool Active(const controls::xp_canvas& frame) {
  return ShowsSkin(frame, '1');
}
bool Inactive(const controls::xp_canvas& frame) {
  return ShowsSkin(frame, '2');
}

// The colour the caption bar shows at (x, y).
win::COLORREF CaptionPixel(const controls::xp_canvas& frame, int x, int y) {
  return frame.Get<PictureBox>("pictop").Point(static_cast<float>(x), static_cast<float>(y));
}
win::COLORREF PicturePixel(const controls::xp_canvas& frame, const char* image, int x, int y) {
  return PixelOf(frame.Get<Image>(image).Picture().Image(), x, y);
}

}  // namespace

TEST(Frame, ANewInstanceTakesItsNameTheDefaultIconAndASizableFrame) {
  forms::ManualClock clock;  // the polls tick only when a test says so
  FrameHost host;
  host.Load();
  auto& frame = host.Frame();
  EXPECT_EQ(frame.Caption(), "xp_canvas1");
  EXPECT_EQ(host.Caption(), "xp_canvas1");
  EXPECT_EQ(frame.Get<forms::Label>("lblshadow").Caption(), "xp_canvas1");
  EXPECT_FALSE(frame.Fixed_Single());
  EXPECT_EQ(frame.Icon(), frame.Get<Image>("Image1").Picture());
  EXPECT_EQ(frame.Get<Image>("imgicon").Picture(), frame.Icon());
  EXPECT_EQ(frame.Icon().PixelWidth(), 16);
  // Fixed_Single sends no change notification.
  EXPECT_EQ(frame.ChangedProperties(), (std::vector<std::string>{"Caption", "Icon"}));
  EXPECT_TRUE(Active(frame));
  // Nothing differs from the defaults, so nothing is stored.
  EXPECT_TRUE(frame.SaveProperties().Names().empty());
}

TEST(Frame, StoredPropertiesComeBackThroughTheHostsDescription) {
  forms::ManualClock clock;  // the polls tick only when a test says so
  FrameHost first;
  first.Load();
  auto& frame = first.Frame();
  QImage dot(16, 16, QImage::Format_ARGB32);
  dot.fill(QColor(200, 30, 40));
  frame.Caption("Adding && Manage New Dialogs");
  frame.Icon(forms::Picture::FromImage(dot, forms::Picture::Kind::Icon));
  frame.Fixed_Single(true);
  const forms::PropertyBag bag = frame.SaveProperties();
  EXPECT_EQ(bag.Names(), (std::vector<std::string>{"Caption", "Icon", "Fixed_Single"}));

  const QJsonObject json = QJsonDocument::fromJson(QJsonDocument(bag.ToJson()).toJson()).object();
  FrameHost second(DescriptionWithBag(":/test/FrameHost.json", "xp_canvas1", json));
  second.Load();
  auto& back = second.Frame();
  EXPECT_EQ(back.Caption(), "Adding && Manage New Dialogs");
  EXPECT_EQ(second.Caption(), "Adding && Manage New Dialogs");
  EXPECT_EQ(back.Get<forms::Label>("lblcaption").DisplayText(), "Adding & Manage New Dialogs");
  EXPECT_TRUE(back.Fixed_Single());
  EXPECT_EQ(back.Icon().Image().pixelColor(8, 8), QColor(200, 30, 40));
  EXPECT_EQ(back.ChangedProperties(), (std::vector<std::string>{"Caption", "Icon"}));
  EXPECT_EQ(back.SaveProperties().Names(), bag.Names());

  // An empty bag reads every default.
  FrameHost third(DescriptionWithBag(":/test/FrameHost.json", "xp_canvas1", QJsonObject()));
  third.Load();
  EXPECT_EQ(third.Frame().Caption(), "xp_canvas1");
  EXPECT_FALSE(third.Frame().Fixed_Single());
  EXPECT_EQ(third.Frame().Icon(), third.Frame().Get<Image>("Image1").Picture());
}

TEST(Frame, TheLayoutPassPlacesStripsLabelsAndGrips) {
  forms::ManualClock clock;  // the polls tick only when a test says so
  FrameHost host;
  host.Show();
  Settle();
  auto& frame = host.Frame();
  EXPECT_EQ(host.ScaleMode(), forms::vbPixels);
  EXPECT_EQ(frame.ScaleMode(), forms::vbPixels);
  EXPECT_EQ(frame.ScaleWidth(), 400);
  EXPECT_EQ(frame.ScaleHeight(), 300);
  auto& top = frame.Get<PictureBox>("pictop");
  auto& bottom = frame.Get<PictureBox>("picbottom");
  auto& left = frame.Get<PictureBox>("picleft");
  auto& right = frame.Get<PictureBox>("picright");
  EXPECT_EQ(top.Left(), 0);
  EXPECT_EQ(top.Top(), 0);
  EXPECT_EQ(top.Width(), 400);
  EXPECT_EQ(top.Height(), 29);
  EXPECT_EQ(bottom.Top(), 295);
  EXPECT_EQ(bottom.Width(), 400);
  EXPECT_EQ(bottom.Height(), 5);
  EXPECT_EQ(left.Left(), 0);
  EXPECT_EQ(left.Width(), 5);
  EXPECT_EQ(left.Height(), 300);
  EXPECT_EQ(right.Left(), 395);
  EXPECT_EQ(right.Width(), 5);

  auto& caption = frame.Get<forms::Label>("lblcaption");
  auto& shadow = frame.Get<forms::Label>("lblshadow");
  EXPECT_EQ(caption.Left(), 26);
  EXPECT_EQ(caption.Top(), 6);
  EXPECT_EQ(shadow.Left(), 28);
  EXPECT_EQ(shadow.Top(), 8);
  EXPECT_EQ(caption.ForeColor(), win::RGB(255, 255, 255));

  auto grips = frame.Array<Image>("imgresize");
  EXPECT_EQ(grips.Count(), 5);
  EXPECT_EQ(grips[6].Left(), 391);
  EXPECT_EQ(grips[6].Top(), 0);
  EXPECT_EQ(grips[4].Left(), 391);
  EXPECT_EQ(grips[4].Top(), -4);
  EXPECT_EQ(grips[2].Left(), 9);
  EXPECT_EQ(grips[2].Width(), 382);
  EXPECT_EQ(grips[2].Height(), 9);
  EXPECT_EQ(grips[5].Left(), 0);
  EXPECT_EQ(grips[7].Left(), 0);

  // The strips show the active pictures; the frame's own surface its colour.
  EXPECT_EQ(CaptionPixel(frame, 0, 0), win::RGB(255, 0, 255));
  EXPECT_EQ(CaptionPixel(frame, 399, 0), win::RGB(255, 0, 255));
  EXPECT_EQ(CaptionPixel(frame, 200, 15), PicturePixel(frame, "imgtop1", 33, 15));
  EXPECT_EQ(left.Point(2, 150), PicturePixel(frame, "imgleft1", 2, 15));
  EXPECT_EQ(bottom.Point(200, 4), PicturePixel(frame, "imgbottom1", 24, 4));
  EXPECT_EQ(frame.Point(200, 150), win::RGB(236, 233, 216));
}

TEST(Frame, TheCaptionPictureFollowsTheWindowState) {
  forms::ManualClock clock;  // the polls tick only when a test says so
  FrameHost host;
  host.Show();
  Settle();
  auto& frame = host.Frame();
  // Normal: the rounded picture, whose corners hold the key colour.
  EXPECT_EQ(CaptionPixel(frame, 0, 0), win::RGB(255, 0, 255));
  EXPECT_EQ(CaptionPixel(frame, 2, 3), PicturePixel(frame, "imgtop1", 2, 3));

  host.WindowState(forms::vbMaximized);
  Settle();
  ASSERT_EQ(host.WindowState(), forms::vbMaximized);
  const int W = static_cast<int>(frame.Get<PictureBox>("pictop").Width());
  EXPECT_GT(W, 400);  // the frame follows its host
  EXPECT_EQ(CaptionPixel(frame, 0, 0), PicturePixel(frame, "imgtopmax1", 0, 0));
  EXPECT_EQ(CaptionPixel(frame, W - 1, 0), PicturePixel(frame, "imgtopmax1", 65, 0));
  EXPECT_NE(CaptionPixel(frame, 0, 0), win::RGB(255, 0, 255));

  // Minimised: whatever the bar shows stays, through any layout pass.
  host.WindowState(forms::vbMinimized);
  Settle();
  ASSERT_EQ(host.WindowState(), forms::vbMinimized);
  auto& top = frame.Get<PictureBox>("pictop");
  top.PSet(40, 12, win::RGB(1, 2, 3));
  const int before = host.resizes;
  frame.Fixed_Single(false);
  EXPECT_EQ(host.resizes, before + 1);
  EXPECT_EQ(top.Point(40, 12), win::RGB(1, 2, 3));

  host.WindowState(forms::vbNormal);
  Settle();
  frame.Fixed_Single(false);
  EXPECT_EQ(CaptionPixel(frame, 0, 0), win::RGB(255, 0, 255));
  EXPECT_EQ(CaptionPixel(frame, 40, 12), PicturePixel(frame, "imgtop1", 33, 12));
}

TEST(Frame, APassThatFindsNothingChangedLeavesTheStripsAsTheyAre) {
  forms::ManualClock clock;  // the polls tick only when a test says so
  FrameHost host;
  host.Show();
  Settle();
  auto& frame = host.Frame();
  auto& top = frame.Get<PictureBox>("pictop");
  auto& left = frame.Get<PictureBox>("picleft");
  // Marks the strips can only lose by being painted again.
  top.PSet(200, 15, win::RGB(1, 2, 3));
  left.PSet(2, 150, win::RGB(1, 2, 3));
  const int before = host.resizes;
  frame.Fixed_Single(false);
  EXPECT_EQ(host.resizes, before + 1);  // the pass ran, and told the host
  EXPECT_EQ(top.Point(200, 15), win::RGB(1, 2, 3));
  EXPECT_EQ(left.Point(2, 150), win::RGB(1, 2, 3));

  // A new size paints them anew.
  host.Move(host.Left(), host.Top(), host.Width() + 30 * 15, host.Height());
  Settle();
  EXPECT_EQ(CaptionPixel(frame, 200, 15), PicturePixel(frame, "imgtop1", 33, 15));
  EXPECT_EQ(left.Point(2, 150), PicturePixel(frame, "imgleft1", 2, 15));

  // So does the other skin.
  top.PSet(200, 15, win::RGB(1, 2, 3));
  frame.Fixed_Single(false);
  EXPECT_EQ(top.Point(200, 15), win::RGB(1, 2, 3));
  frame.Get<Image>("imgtop").Picture(frame.Get<Image>("imgtop2").Picture());
  frame.Fixed_Single(false);
  EXPECT_EQ(CaptionPixel(frame, 200, 15), PicturePixel(frame, "imgtop2", 33, 15));
}

TEST(Frame, CursorsOfferResizingOnlyOnASizableNormalHost) {
  forms::ManualClock clock;  // the polls tick only when a test says so
  FrameHost host;
  host.Show();
  Settle();
  auto& frame = host.Frame();
  auto grips = frame.Array<Image>("imgresize");
  auto cursors = [&] {
    return std::vector<int>{frame.Get<PictureBox>("picleft").MousePointer(),
                            frame.Get<PictureBox>("picright").MousePointer(),
                            frame.Get<PictureBox>("picbottom").MousePointer(),
                            grips[2].MousePointer(),
                            grips[4].MousePointer(),
                            grips[5].MousePointer(),
                            grips[6].MousePointer(),
                            grips[7].MousePointer()};
  };
  const std::vector<int> sizing{9, 9, 7, 7, 8, 6, 6, 8};
  const std::vector<int> none(8, forms::vbDefault);
  EXPECT_EQ(cursors(), sizing);

  frame.Fixed_Single(true);
  EXPECT_EQ(cursors(), none);
  frame.Fixed_Single(false);
  EXPECT_EQ(cursors(), sizing);

  host.WindowState(forms::vbMaximized);
  Settle();
  EXPECT_EQ(cursors(), none);
  host.WindowState(forms::vbNormal);
  Settle();
  frame.Fixed_Single(false);
  EXPECT_EQ(cursors(), sizing);

  // Minimised: a sizable frame leaves its cursors alone; a fixed one has none.
  host.WindowState(forms::vbMinimized);
  Settle();
  frame.Fixed_Single(false);
  EXPECT_EQ(cursors(), sizing);
  frame.Fixed_Single(true);
  EXPECT_EQ(cursors(), none);
}

TEST(Frame, CaptionAndIconSettersNotifyAndOnlyTheCaptionLaysOut) {
  forms::ManualClock clock;  // the polls tick only when a test says so
  FrameHost host;
  host.Show();
  Settle();
  auto& frame = host.Frame();
  const int before = host.resizes;
  frame.Caption("Dictionary");
  EXPECT_EQ(frame.Get<forms::Label>("lblcaption").Caption(), "Dictionary");
  EXPECT_EQ(frame.Get<forms::Label>("lblshadow").Caption(), "Dictionary");
  EXPECT_EQ(host.Caption(), "Dictionary");
  EXPECT_EQ(win::GetWindowText(host.hWnd()), "Dictionary");
  EXPECT_EQ(host.resizes, before + 1);
  EXPECT_EQ(frame.ChangedProperties().back(), "Caption");

  frame.Icon(frame.Get<Image>("imgtop1").Picture());
  EXPECT_EQ(host.resizes, before + 1);
  EXPECT_EQ(frame.ChangedProperties().back(), "Icon");
  EXPECT_EQ(frame.Get<Image>("imgicon").Picture(), frame.Icon());
  // The icon image keeps its 16 x 16 place and stretches the picture into it.
  EXPECT_EQ(frame.Get<Image>("imgicon").Width(), 16);

  const std::size_t changes = frame.ChangedProperties().size();
  frame.Fixed_Single(true);
  EXPECT_EQ(frame.ChangedProperties().size(), changes);
  EXPECT_EQ(host.resizes, before + 2);
}

// --- activation ---------------------------------------------------------------------

class FrameActivation : public ::testing::Test {
 protected:
  void SetUp() override {
    host.Show();
    other.Show();
    ASSERT_TRUE(Activate(host.hWnd()));
  }
  FormTimer& Timer1() { return host.Frame().Get<FormTimer>("Timer1"); }
  FormTimer& Timer2() { return host.Frame().Get<FormTimer>("Timer2"); }

  forms::ManualClock clock;
  FrameHost host;
  Plain other;
};

TEST_F(FrameActivation, ThePollsSwitchTheSkinOnceAndStop) {
  auto& frame = host.Frame();
  // Both polls run from creation.
  EXPECT_TRUE(Timer1().Enabled());
  EXPECT_TRUE(Timer2().Enabled());
  EXPECT_TRUE(Active(frame));

  // The activation poll finds the host active: it applies the active skin
  // once and stops; the deactivation poll finds nothing to do and stops too,
  // so a window that waits runs no timer.
  int passes = host.resizes;
  clock.Advance(10);
  EXPECT_FALSE(Timer2().Enabled());
  EXPECT_FALSE(Timer1().Enabled());
  EXPECT_TRUE(Active(frame));
  EXPECT_EQ(host.resizes, passes + 1);
  clock.Advance(100);
  EXPECT_EQ(host.resizes, passes + 1);

  // Another form of the program becomes active: inactive at the next tick.
  ASSERT_TRUE(Activate(other.hWnd()));
  EXPECT_TRUE(Active(frame));
  clock.Advance(10);
  EXPECT_TRUE(Inactive(frame));
  EXPECT_FALSE(Timer1().Enabled());
  EXPECT_EQ(host.resizes, passes + 2);
  EXPECT_EQ(CaptionPixel(frame, 200, 15), PicturePixel(frame, "imgtop2", 33, 15));
  clock.Advance(100);
  EXPECT_EQ(host.resizes, passes + 2);

  // Nothing polls at rest; activating the host starts the polls again, and
  // it turns active at the next tick.
  EXPECT_FALSE(Timer2().Enabled());
  ASSERT_TRUE(Activate(host.hWnd()));
  clock.Advance(10);
  EXPECT_TRUE(Active(frame));
  EXPECT_EQ(host.resizes, passes + 3);
  EXPECT_FALSE(Timer2().Enabled());
  EXPECT_FALSE(Timer1().Enabled());
  // And so on, every time.
  ASSERT_TRUE(Activate(other.hWnd()));
  clock.Advance(10);
  EXPECT_TRUE(Inactive(frame));
  EXPECT_EQ(host.resizes, passes + 4);

  // The focus moving into the frame shows the active skin at once.
  ASSERT_TRUE(Activate(host.hWnd()));
  win::SetFocus(frame.Get<PictureBox>("pictop").hWnd());
  Settle();
  EXPECT_TRUE(Active(frame));
  EXPECT_FALSE(Timer1().Enabled());
}

TEST(FrameActivationAtStart, TheFirstTicksComeBeforeTheDisplayHasActivatedTheHost) {
  forms::ManualClock clock;
  Plain other;
  other.Show();
  ASSERT_TRUE(Activate(other.hWnd()));
  FrameHost host;
  host.Show();
  auto& frame = host.Frame();
  // The polls tick before the display has had a chance to activate the host:
  // showing it activated it all the same.
  clock.Advance(10);
  EXPECT_TRUE(Active(frame));
  Settle();
  clock.Advance(10);
  EXPECT_TRUE(Active(frame));

  // And the deactivation still greys it at the next tick.
  ASSERT_TRUE(Activate(other.hWnd()));
  clock.Advance(10);
  EXPECT_TRUE(Inactive(frame));
}

TEST_F(FrameActivation, FocusLeavingTheFrameStartsBothPolls) {
  auto& frame = host.Frame();
  win::SetFocus(frame.Get<PictureBox>("picleft").hWnd());
  Settle();
  EXPECT_FALSE(Timer1().Enabled());  // focus entering stops the deactivation poll
  EXPECT_TRUE(Active(frame));

  const int passes = host.resizes;
  win::SetFocus(host.hWnd());
  Settle();
  EXPECT_TRUE(Timer1().Enabled());
  EXPECT_TRUE(Timer2().Enabled());
  EXPECT_EQ(host.resizes, passes);  // no skin change, no layout pass

  // The control's own window taking the focus stops both.
  win::SetFocus(frame.hWnd());
  Settle();
  EXPECT_FALSE(Timer1().Enabled());
  EXPECT_FALSE(Timer2().Enabled());
  EXPECT_TRUE(Active(frame));
}

TEST_F(FrameActivation, SetFocusStopsBothPollsAndShowsTheActiveSkin) {
  auto& frame = host.Frame();
  ASSERT_TRUE(Activate(other.hWnd()));
  clock.Advance(10);
  ASSERT_TRUE(Inactive(frame));
  const int passes = host.resizes;
  frame.SetFocus();
  EXPECT_TRUE(Active(frame));
  EXPECT_FALSE(Timer1().Enabled());
  EXPECT_FALSE(Timer2().Enabled());
  EXPECT_EQ(host.resizes, passes + 1);
}

TEST_F(FrameActivation, WithNoActiveWindowOfTheProgramTheFrameLooksInactive) {
  auto& frame = host.Frame();
  // A window that is not one of the program's forms.
  QWidget stranger;
  stranger.setGeometry(700, 500, 60, 40);
  stranger.show();
  ASSERT_TRUE(ActivateWidget(&stranger));
  ASSERT_FALSE(win::GetActiveWindow());
  const int passes = host.resizes;
  clock.Advance(10);
  EXPECT_TRUE(Inactive(frame));
  EXPECT_FALSE(Timer1().Enabled());
  EXPECT_FALSE(Timer2().Enabled());  // the host's activation wakes it
  EXPECT_EQ(host.resizes, passes + 1);
  clock.Advance(50);
  EXPECT_TRUE(Inactive(frame));
  EXPECT_EQ(host.resizes, passes + 1);

  ASSERT_TRUE(Activate(host.hWnd()));
  clock.Advance(10);
  EXPECT_TRUE(Active(frame));
  EXPECT_FALSE(Timer2().Enabled());
  EXPECT_EQ(host.resizes, passes + 2);
}
