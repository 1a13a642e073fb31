// The push button: nine-slice painting, looks, the pointer-left poll, events
// and stored properties.

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QTest>
#include <algorithm>
#include <set>

#include "forms/clock.h"
#include "forms/property_bag.h"
#include "forms/scale.h"
#include "test_hosts.h"
#include "win/window.h"

using namespace controls_test;
using controls::xpcmdbutton;

namespace {

// A strip whose every pixel tells where it came from: red the cell, green the
// column in the cell, blue the row.
forms::Picture CodedStrip() {
  QImage strip(90, 21, QImage::Format_RGB32);
  for (int x = 0; x < 90; ++x)
    for (int y = 0; y < 21; ++y)
      strip.setPixelColor(x, y, QColor(20 + 40 * (x / 18), 5 + 13 * (x % 18), 5 + 12 * y));
  return forms::Picture::FromImage(strip);
}

struct Source {
  int cell, x, y;
  friend bool operator==(const Source&, const Source&) = default;
};

std::ostream& operator<<(std::ostream& os, const Source& s) {
  return os << "cell " << s.cell << " (" << s.x << ", " << s.y << ")";
}

// Where in the coded strip the button's pixel (x, y) was painted from.
Source SourceOf(xpcmdbutton& b, int x, int y) {
  const win::COLORREF c = b.Point(static_cast<float>(x), static_cast<float>(y));
  return {(win::GetRValue(c) - 20) / 40, (win::GetGValue(c) - 5) / 13,
          (win::GetBValue(c) - 5) / 12};
}

int CellShown(xpcmdbutton& b) {
  return SourceOf(b, 10, 10).cell;
}

void Code(xpcmdbutton& b) {
  b.Get<forms::PictureClip>("pc").Picture(CodedStrip());
  b.State(b.State());  // repaint the rest look from the coded strip
}

void Send(xpcmdbutton& b, win::UINT msg, win::WPARAM keys, int x, int y) {
  win::SendMessageA(b.hWnd(), msg, keys, win::MAKELPARAM(x, y));
}

}  // namespace

TEST(PushButton, NineSlicePaintingOfA75By25Button) {
  ButtonHost host;
  host.Show();
  Settle();
  auto& b = host.Push(1);
  ASSERT_EQ(b.ScaleWidth(), 75);
  ASSERT_EQ(b.ScaleHeight(), 25);
  Code(b);

  // Corners: 3 x 3 pixels, unstretched.
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      EXPECT_EQ(SourceOf(b, i, j), (Source{0, i, j}));
      EXPECT_EQ(SourceOf(b, 72 + i, j), (Source{0, 15 + i, j}));
      EXPECT_EQ(SourceOf(b, i, 22 + j), (Source{0, i, 18 + j}));
      EXPECT_EQ(SourceOf(b, 72 + i, 22 + j), (Source{0, 15 + i, 18 + j}));
    }
  // Top and bottom edges: 69 pixels from the 12 middle columns, rows kept.
  for (int row = 0; row < 3; ++row) {
    std::set<int> columns;
    int last = 3;
    for (int x = 3; x < 72; ++x) {
      const Source top = SourceOf(b, x, row), bottom = SourceOf(b, x, 22 + row);
      EXPECT_EQ(top.y, row);
      EXPECT_EQ(bottom.y, 18 + row);
      EXPECT_EQ(top.x, bottom.x);
      EXPECT_GE(top.x, last);  // stretched in order, never mirrored
      last = top.x;
      columns.insert(top.x);
    }
    EXPECT_EQ(columns, (std::set<int>{3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}));
  }
  // Left and right edges: 19 pixels from the 15 middle rows, columns kept.
  std::set<int> rows;
  for (int y = 3; y < 22; ++y)
    for (int col = 0; col < 3; ++col) {
      const Source left = SourceOf(b, col, y), right = SourceOf(b, 72 + col, y);
      EXPECT_EQ(left.x, col);
      EXPECT_EQ(right.x, 15 + col);
      EXPECT_EQ(left.y, right.y);
      rows.insert(left.y);
    }
  EXPECT_EQ(*rows.begin(), 3);
  EXPECT_EQ(*rows.rbegin(), 17);
  EXPECT_EQ(rows.size(), 15u);
  // Centre: 69 x 19 pixels, all from the cell's middle.
  for (int x = 3; x < 72; ++x)
    for (int y = 3; y < 22; ++y) {
      const Source s = SourceOf(b, x, y);
      EXPECT_TRUE(s.cell == 0 && s.x >= 3 && s.x <= 14 && s.y >= 3 && s.y <= 17)
          << x << "," << y << ": " << s;
    }
  EXPECT_EQ(SourceOf(b, 3, 3), (Source{0, 3, 3}));
  EXPECT_EQ(SourceOf(b, 71, 21), (Source{0, 14, 17}));
}

TEST(PushButton, StateChoosesTheRestLookAndOtherValuesKeepIt) {
  ButtonHost host;
  host.Show();
  Settle();
  auto& b = host.Push(1);
  Code(b);
  EXPECT_EQ(CellShown(b), xpcmdbutton::kNormalCell);
  b.State(1);
  EXPECT_EQ(CellShown(b), xpcmdbutton::kHighlightedCell);
  b.State(0);
  EXPECT_EQ(CellShown(b), xpcmdbutton::kNormalCell);
  b.State(2);
  EXPECT_EQ(b.State(), 2);
  EXPECT_EQ(CellShown(b), xpcmdbutton::kNormalCell);
  b.State(1);
  b.State(-5);
  EXPECT_EQ(CellShown(b), xpcmdbutton::kHighlightedCell);
  EXPECT_EQ(b.ChangedProperties().back(), "State");
}

TEST(PushButton, DisabledLooksPaleWithGreyTextUntilEnabled) {
  ButtonHost host;
  host.Show();
  Settle();
  // Stored disabled with State 1.
  auto& b = host.Push(2);
  Code(b);
  EXPECT_FALSE(b.Enabled());
  EXPECT_EQ(CellShown(b), xpcmdbutton::kDisabledCell);
  auto& lbl = b.Get<forms::Label>("lbl");
  EXPECT_EQ(lbl.ForeColor(), win::RGB(161, 161, 146));
  b.Enabled(true);
  EXPECT_EQ(CellShown(b), xpcmdbutton::kHighlightedCell);
  EXPECT_EQ(lbl.ForeColor(), win::RGB(0, 0, 0));
  EXPECT_EQ(b.ChangedProperties().back(), "Enabled");
  b.Enabled(false);
  EXPECT_EQ(CellShown(b), xpcmdbutton::kDisabledCell);
  // A disabled button takes no pointer input.
  int downs = 0;
  b.MouseDown = [&](int&, int&, float&, float&) { ++downs; };
  QTest::mousePress(b.Widget(), Qt::LeftButton, {}, QPoint(10, 10));
  QTest::mouseRelease(b.Widget(), Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(downs, 0);
}

TEST(PushButton, PressesAndMovesShowThePressedAndHotLooks) {
  forms::ManualClock clock;
  ButtonHost host;
  host.Show();
  Settle();
  auto& b = host.Push(1);
  Code(b);
  std::vector<std::string> events;
  int cellAtDown = -1;
  b.MouseDown = [&](int& button, int&, float&, float&) {
    events.push_back("down " + std::to_string(button));
    cellAtDown = CellShown(b);
  };
  b.MouseMove = [&](int& button, int&, float& x, float& y) {
    events.push_back("move " + std::to_string(button) + " " + std::to_string(int(x)) + "," +
                     std::to_string(int(y)));
  };
  b.MouseUp = [&](int& button, int&, float&, float&) {
    events.push_back("up " + std::to_string(button));
  };
  int clicks = 0;
  b.Click = [&] { ++clicks; };

  // The right button: pressed on the press, hot while moving with it held.
  Send(b, win::WM_RBUTTONDOWN, win::MK_RBUTTON, 10, 10);
  EXPECT_EQ(cellAtDown, xpcmdbutton::kNormalCell);  // the event comes before the repaint
  EXPECT_EQ(CellShown(b), xpcmdbutton::kPressedCell);
  Send(b, win::WM_MOUSEMOVE, win::MK_RBUTTON, 11, 10);
  EXPECT_EQ(CellShown(b), xpcmdbutton::kHotCell);
  Send(b, win::WM_RBUTTONUP, 0, 11, 10);
  EXPECT_EQ(CellShown(b), xpcmdbutton::kNormalCell);  // though the pointer is still there
  EXPECT_EQ(clicks, 0);

  // The left button: pressed while moving with it held, even over the label.
  auto& lbl = b.Get<forms::Label>("lbl");
  int button = 1, shift = 0;
  float x = 300, y = 300;  // wherever on the label
  lbl.MouseMove(button, shift, x, y);
  EXPECT_EQ(CellShown(b), xpcmdbutton::kPressedCell);
  EXPECT_EQ(events.back(),
            "move 1 " + std::to_string(int(lbl.Left())) + "," + std::to_string(int(lbl.Top())));
  // Moves outside the button raise nothing and leave the look.
  Send(b, win::WM_MOUSEMOVE, 0, 80, 10);
  EXPECT_EQ(CellShown(b), xpcmdbutton::kPressedCell);
  Send(b, win::WM_MOUSEMOVE, 0, 75, 25);  // the far edges are inside
  EXPECT_EQ(CellShown(b), xpcmdbutton::kHotCell);
  EXPECT_EQ(events, (std::vector<std::string>{"down 2", "move 2 11,10", "up 2",
                                              "move 1 " + std::to_string(int(lbl.Left())) + "," +
                                                  std::to_string(int(lbl.Top())),
                                              "move 0 75,25"}));

  // A double click: one press event, one Click.
  events.clear();
  Send(b, win::WM_LBUTTONDOWN, win::MK_LBUTTON, 10, 10);
  Send(b, win::WM_LBUTTONUP, 0, 10, 10);
  Send(b, win::WM_LBUTTONDBLCLK, win::MK_LBUTTON, 10, 10);
  Send(b, win::WM_LBUTTONUP, 0, 10, 10);
  EXPECT_EQ(events, (std::vector<std::string>{"down 1", "up 1", "up 1"}));
  EXPECT_EQ(clicks, 1);
  // A click on the caption label clicks the button.
  lbl.Click();
  EXPECT_EQ(clicks, 2);
}

TEST(PushButton, LeavingRaisesOneMouseOutAndRestoresTheRestLook) {
  forms::ManualClock clock;
  ButtonHost host;
  host.Show();
  Settle();
  auto& b = host.Push(1);
  Code(b);
  auto& poll = b.Get<forms::FormTimer>("Timer1");
  EXPECT_FALSE(poll.Enabled());  // stopped until the first move
  int outs = 0;
  b.MouseOut = [&] { ++outs; };

  PointAt(b.hWnd(), 10, 10);
  Send(b, win::WM_MOUSEMOVE, 0, 10, 10);
  EXPECT_TRUE(poll.Enabled());
  EXPECT_EQ(CellShown(b), xpcmdbutton::kHotCell);
  clock.Advance(30);
  EXPECT_EQ(outs, 0);
  EXPECT_EQ(CellShown(b), xpcmdbutton::kHotCell);

  // Exactly on the right and bottom edges counts as inside.
  PointAt(b.hWnd(), 75, 25);
  clock.Advance(10);
  EXPECT_EQ(outs, 0);
  PointAt(b.hWnd(), 76, 25);
  clock.Advance(10);
  EXPECT_EQ(outs, 1);
  EXPECT_FALSE(poll.Enabled());
  EXPECT_EQ(CellShown(b), xpcmdbutton::kNormalCell);
  clock.Advance(100);
  EXPECT_EQ(outs, 1);

  // Back in: the poll starts again; out above the button.
  PointAt(b.hWnd(), 5, 5);
  Send(b, win::WM_MOUSEMOVE, 0, 5, 5);
  EXPECT_TRUE(poll.Enabled());
  PointAt(b.hWnd(), 5, -1);
  clock.Advance(10);
  EXPECT_EQ(outs, 2);
  b.State(1);
  PointAt(b.hWnd(), 5, 5);
  Send(b, win::WM_MOUSEMOVE, 0, 5, 5);
  PointAt(b.hWnd(), -1, 5);
  clock.Advance(10);
  EXPECT_EQ(outs, 3);
  EXPECT_EQ(CellShown(b), xpcmdbutton::kHighlightedCell);
}

TEST(PushButton, CaptionAndFontChangesCentreTheLabel) {
  ButtonHost host;
  host.Show();
  Settle();
  auto& b = host.Push(1);
  auto& lbl = b.Get<forms::Label>("lbl");
  auto centred = [&] {
    EXPECT_FLOAT_EQ(lbl.Left(), (75 - lbl.Width()) / 2);
    EXPECT_FLOAT_EQ(lbl.Top(), (25 - lbl.Height()) / 2);
  };
  EXPECT_EQ(b.Caption(), "xpcmdbutton1");
  centred();
  const float narrow = lbl.Width();
  b.Caption("A longer caption");
  EXPECT_GT(lbl.Width(), narrow);
  centred();
  forms::Font big = b.Font();
  big.Size = 14;
  big.Bold = true;
  const float low = lbl.Height();
  b.Font(big);
  EXPECT_GT(lbl.Height(), low);
  EXPECT_EQ(lbl.Font(), big);
  EXPECT_EQ(b.CanvasFont(), big);
  centred();
  EXPECT_EQ(b.ChangedProperties().back(), "Font");
}

TEST(PushButton, PropertiesAreStoredOnlyWhenTheyDifferAndComeBack) {
  ButtonHost host;
  host.Load();
  auto& fresh = host.Push(1);
  // A new instance: enabled, named after itself, in the form's font.
  EXPECT_TRUE(fresh.Enabled());
  EXPECT_EQ(fresh.Caption(), "xpcmdbutton1");
  EXPECT_EQ(fresh.Font().Name, "Tahoma");
  EXPECT_EQ(fresh.Font().Size, 9.0f);
  EXPECT_EQ(fresh.ChangedProperties(), (std::vector<std::string>{"Enabled", "Caption", "Font"}));
  EXPECT_TRUE(fresh.SaveProperties().Names().empty());

  // Read from the bag: State directly, the rest through their setters.
  auto& stored = host.Push(2);
  EXPECT_EQ(stored.State(), 1);
  EXPECT_FALSE(stored.Enabled());
  EXPECT_EQ(stored.Caption(), "Add && Manage");
  EXPECT_EQ(stored.Get<forms::Label>("lbl").DisplayText(), "Add & Manage");
  EXPECT_EQ(stored.ChangedProperties(), (std::vector<std::string>{"Enabled", "Caption", "Font"}));

  forms::Font font = stored.Font();
  font.Italic = true;
  stored.Font(font);
  const forms::PropertyBag bag = stored.SaveProperties();
  EXPECT_EQ(bag.Names(), (std::vector<std::string>{"State", "Enabled", "Caption", "Font"}));
  const QJsonObject json = QJsonDocument::fromJson(QJsonDocument(bag.ToJson()).toJson()).object();
  ButtonHost again(DescriptionWithBag(":/test/ButtonHost.json", "xpcmdbutton1", json));
  again.Load();
  auto& back = again.Push(1);
  EXPECT_EQ(back.State(), 1);
  EXPECT_FALSE(back.Enabled());
  EXPECT_EQ(back.Caption(), "Add && Manage");
  EXPECT_TRUE(back.Font().Italic);
  EXPECT_EQ(back.SaveProperties().Names(), bag.Names());
}

TEST(PushButton, TheAccessKeyClicksTheButton) {
  ButtonHost host;
  host.Show();
  ASSERT_TRUE(Activate(host.hWnd()));
  auto& b = host.Push(1);
  b.Caption("&Speak");
  int clicks = 0;
  b.Click = [&] { ++clicks; };
  QTest::keyClick(host.ClientWidget(), Qt::Key_S, Qt::AltModifier);
  Settle();
  EXPECT_EQ(clicks, 1);
  b.Enabled(false);
  QTest::keyClick(host.ClientWidget(), Qt::Key_S, Qt::AltModifier);
  Settle();
  EXPECT_EQ(clicks, 1);
}

TEST(PushButton, TheStripsRoundedCornersBlendIntoTheFramesFace) {
  ButtonHost host;
  host.Load();
  const QImage strip = host.Push(1).Get<forms::PictureClip>("pc").Picture().Image();
  ASSERT_EQ(strip.size(), QSize(90, 21));
  for (int y = 0; y < strip.height(); ++y)
    for (int x = 0; x < strip.width(); ++x) ASSERT_EQ(qAlpha(strip.pixel(x, y)), 255);
  // The very corners of every cell show the frame's face colour.
  for (int cell = 0; cell < 5; ++cell) {
    EXPECT_EQ(PixelOf(strip, cell * 18, 0), win::RGB(236, 233, 216));
    EXPECT_EQ(PixelOf(strip, cell * 18 + 17, 20), win::RGB(236, 233, 216));
  }
  // And so do the painted corners of the button.
  host.Show();
  Settle();
  EXPECT_EQ(host.Push(1).Point(0, 0), win::RGB(236, 233, 216));
  EXPECT_EQ(host.Push(1).Point(74, 24), win::RGB(236, 233, 216));
}
