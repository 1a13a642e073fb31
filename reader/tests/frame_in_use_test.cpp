// The skinned frame in real use: the reader and the dictionary started as
// the program starts them (the form loads, its clock ticks while it does, then
// it shows), driven with mouse events on the frame's own widgets.

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include "form1.h"
#include "frm_main.h"
#include "program_fixture.h"
#include "win/gdi.h"
#include "win/qt_window.h"
#include "win/window.h"

namespace {

using forms::Image;
using forms::PictureBox;

void Settle() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// The hand-moved clock goes on by one poll period whenever the program lets
// events run, as the real one does while a form loads: the frame's layout
// passes yield, so its polls tick inside the load, before the form is shown.
class ClockTicksWithEvents {
 public:
  explicit ClockTicksWithEvents(forms::ManualClock& clock) {
    QObject::connect(&timer_, &QTimer::timeout, [&clock] { clock.Advance(10); });
    timer_.start(0);
  }

 private:
  QTimer timer_;
};

// A press at `from` and a release at `to`, in the widget's own pixels.
void Drag(QWidget* w, QPoint from, QPoint to) {
  QTest::mousePress(w, Qt::LeftButton, {}, from);
  QTest::mouseMove(w, to);
  QTest::mouseRelease(w, Qt::LeftButton, {}, to);
}

bool ShowsSkin(const controls::xp_canvas& frame, char set) {
  for (const char* part : {"imgleft", "imgright", "imgtop", "imgtopmax", "imgbottom"})
    if (frame.Get<Image>(part).Picture() != frame.Get<Image>(std::string(part) + set).Picture())
      return false;
  return true;
}

win::COLORREF Rgb(QColor c) {
  return win::RGB(c.red(), c.green(), c.blue());
}

// What the window shows, its children included.
QImage Shown(win::HWND hwnd, const std::filesystem::path& file) {
  win::SaveWindowPng(hwnd, file.string());
  return QImage(QString::fromStdString(file.string())).convertToFormat(QImage::Format_RGB32);
}

template <class F>
class FrameInUse : public readdict::testing::ProgramFixture {
 protected:
  // Loads and shows the form as the program does, the clock ticking meanwhile.
  F& Start() {
    ClockTicksWithEvents ticking(clock);
    F& f = forms::Forms::Get<F>();
    f.Load();
    f.Show();
    Settle();
    closeGap_ =
        f.xp_canvas1.WidthTwips() - (f.xptopbuttons1.LeftTwips() + f.xptopbuttons1.WidthTwips());
    return f;
  }

  static bool Activate(QWidget* window) {
    window->activateWindow();
    for (int i = 0; i < 200 && QApplication::activeWindow() != window; ++i) {
      QApplication::processEvents();
      QTest::qWait(1);
    }
    Settle();
    return QApplication::activeWindow() == window;
  }

  static QWidget* WidgetOf(win::HWND hwnd) { return win::WindowWidget(hwnd); }

  // The frame covers the host's client area, its strips laid out for it, and
  // the close button keeps its distance from the frame's right edge.
  void ExpectFrameFills(F& f) const {
    const auto& frame = f.xp_canvas1;
    const int W = f.ClientPixelWidth(), H = f.ClientPixelHeight();
    EXPECT_EQ(frame.WidthTwips(), W * 15.0);
    EXPECT_EQ(frame.HeightTwips(), H * 15.0);
    EXPECT_EQ(frame.template Get<PictureBox>("pictop").Width(), W);
    EXPECT_EQ(frame.template Get<PictureBox>("picright").Left(), W - 5);
    EXPECT_EQ(frame.template Get<PictureBox>("picbottom").Top(), H - 5);
    const auto& close = f.xptopbuttons1;
    EXPECT_EQ(close.LeftTwips() + close.WidthTwips(), frame.WidthTwips() - closeGap_);
    // Where it is shown, too.
    EXPECT_EQ(close.Widget()->geometry().right() + 1, W - closeGap_ / 15);
  }

  // The close button's distance from the frame's right edge as the program
  // starts (twips).
  double closeGap_ = 0;
};

using Hosts = ::testing::Types<dictionary::Form1, reader::frmMain>;
TYPED_TEST_SUITE(FrameInUse, Hosts);

TYPED_TEST(FrameInUse, TheFrameGreysWhenAnotherWindowIsActiveAndComesBack) {
  auto& f = this->Start();
  const auto& frame = f.xp_canvas1;
  this->clock.Advance(10);
  ASSERT_TRUE(ShowsSkin(frame, '1'));
  QWidget other;
  other.setGeometry(900, 600, 80, 40);
  other.show();
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(this->Activate(&other));
    this->clock.Advance(10);
    EXPECT_TRUE(ShowsSkin(frame, '2')) << "round " << round;
    ASSERT_TRUE(this->Activate(this->WidgetOf(f.hWnd())));
    this->clock.Advance(10);
    EXPECT_TRUE(ShowsSkin(frame, '1')) << "round " << round;
  }
}

TYPED_TEST(FrameInUse, CaptionButtonCornersTakeTheColourOfTheBarBehindThem) {
  auto& f = this->Start();
  this->clock.Advance(10);
  QWidget other;
  other.setGeometry(900, 600, 80, 40);
  other.show();
  const int x = static_cast<int>(f.xptopbuttons1.LeftTwips() / 15);
  const int y = static_cast<int>(f.xptopbuttons1.TopTwips() / 15);
  auto& bar = f.xp_canvas1.template Get<PictureBox>("pictop");
  for (bool active : {false, true}) {
    ASSERT_TRUE(this->Activate(active ? this->WidgetOf(f.hWnd()) : &other));
    this->clock.Advance(10);
    ASSERT_TRUE(ShowsSkin(f.xp_canvas1, active ? '1' : '2'));
    const QImage shown = Shown(f.hWnd(), this->folder / "shown.png");
    // The outermost corner pixel of the button is the bar's own colour.
    EXPECT_EQ(Rgb(shown.pixelColor(x, y)), bar.Point(static_cast<float>(x), static_cast<float>(y)))
        << (active ? "active" : "inactive");
    EXPECT_EQ(Rgb(shown.pixelColor(x + 20, y + 20)),
              bar.Point(static_cast<float>(x + 20), static_cast<float>(y + 20)))
        << (active ? "active" : "inactive");
  }
}

TYPED_TEST(FrameInUse, AfterEveryResizeTheFrameFillsItsHostAndTheRegionFollows) {
  auto& f = this->Start();
  auto& frame = f.xp_canvas1;
  const int W = f.ClientPixelWidth();
  QWidget* right = frame.template Get<PictureBox>("picright").Widget();
  QWidget* bar = frame.template Get<PictureBox>("pictop").Widget();
  auto hasPixel = [&](int px, int py) {
    win::HRGN r = win::CreateRectRgn(0, 0, 0, 0);
    win::GetWindowRgn(f.hWnd(), r);
    const bool in = win::PtInRegion(r, px, py);
    win::DeleteObject(r);
    return in;
  };

  Drag(right, {2, 100}, {42, 100});  // widened
  Settle();
  EXPECT_EQ(f.ClientPixelWidth(), W + 40);
  this->ExpectFrameFills(f);
  // The new top-right corner is cut out of the window, the old one is not.
  EXPECT_FALSE(hasPixel(W + 39, 0));
  EXPECT_TRUE(hasPixel(W - 1, 0));

  Drag(right, {2, 100}, {-20, 100});  // narrowed
  Settle();
  EXPECT_EQ(f.ClientPixelWidth(), W + 18);
  this->ExpectFrameFills(f);
  EXPECT_FALSE(hasPixel(W + 17, 0));

  QTest::mouseDClick(bar, Qt::LeftButton, {}, {150, 12});  // maximised
  Settle();
  ASSERT_EQ(f.WindowState(), forms::vbMaximized);
  this->ExpectFrameFills(f);
  EXPECT_GT(f.ClientPixelWidth(), W + 18);
  const QImage maximised = Shown(f.hWnd(), this->folder / "max.png");
  const int MW = f.ClientPixelWidth();
  EXPECT_TRUE(hasPixel(0, 0));
  EXPECT_TRUE(hasPixel(MW - 1, 0));
  for (const QPoint p : {QPoint(0, 0), QPoint(MW - 1, 0), QPoint(2, 1), QPoint(MW - 3, 1)})
    EXPECT_NE(Rgb(maximised.pixelColor(p)), win::RGB(255, 0, 255)) << p.x() << "," << p.y();

  QTest::mouseDClick(bar, Qt::LeftButton, {}, {150, 12});  // restored
  Settle();
  ASSERT_EQ(f.WindowState(), forms::vbNormal);
  EXPECT_EQ(f.ClientPixelWidth(), W + 18);
  this->ExpectFrameFills(f);
  EXPECT_FALSE(hasPixel(0, 0));
  EXPECT_FALSE(hasPixel(W + 17, 0));
}

TYPED_TEST(FrameInUse, DraggingAnEdgePastTheOppositeOneKeepsTheCaptionBarAndItsButtonsWhole) {
  auto& f = this->Start();
  auto& frame = f.xp_canvas1;
  const float right = f.Left() + f.Width(), bottom = f.Top() + f.Height();
  Drag(frame.template Get<PictureBox>("picleft").Widget(), {2, 100}, {2000, 100});
  Drag(frame.template Get<Image>("imgresize", 2).Widget(), {50, 2}, {50, 2000});
  Settle();
  // The button, kept at its distance from the right edge, still lies whole
  // beside the icon.
  const auto& icon = frame.template Get<Image>("imgicon");
  EXPECT_EQ(f.xptopbuttons1.LeftTwips(), icon.LeftTwips() + icon.WidthTwips());
  EXPECT_EQ(f.Height(), (29 + 5) * 15);
  // The edges opposite the dragged ones stayed.
  EXPECT_EQ(f.Left() + f.Width(), right);
  EXPECT_EQ(f.Top() + f.Height(), bottom);
  this->ExpectFrameFills(f);
}

}  // namespace
