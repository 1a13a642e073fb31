// Drawing methods of forms, with and without persistent drawing.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QWidget>

#include "forms/forms.h"
#include "testsupport/temp_dir.h"
#include "win/qt_window.h"

using namespace forms;

namespace {
class CanvasForm : public Form {
 public:
  CanvasForm() : Form(":/test/forms/Canvas.json") {}
  int paints = 0;

 protected:
  void Form_Paint() override { ++paints; }
};

QImage Shot(Form& f) {
  testsupport::TempDir dir;
  const std::string png = (dir / "f.png").string();
  EXPECT_TRUE(win::SaveWindowPng(f.hWnd(), png));
  return QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32);
}
}  // namespace

TEST(Canvas, PersistentDrawingShowsAndSurvivesRepaints) {
  CanvasForm f;
  f.Show();
  f.Line(10, 5, 19, 9, QBColor(12), true, true);
  EXPECT_EQ(f.Point(10, 5), win::RGB(255, 0, 0));
  EXPECT_EQ(f.Point(19, 9), win::RGB(255, 0, 0));  // a filled box covers both corners
  EXPECT_EQ(f.Point(20, 9), win::RGB(255, 255, 255));
  QImage img = Shot(f);
  EXPECT_EQ(img.pixelColor(15, 7), QColor(255, 0, 0));
  win::InvalidateRect(f.hWnd(), nullptr, win::TRUE);
  img = Shot(f);
  EXPECT_EQ(img.pixelColor(15, 7), QColor(255, 0, 0));
  EXPECT_EQ(f.paints, 0);  // persistent drawing needs no Paint event

  f.Cls();
  EXPECT_EQ(f.Point(15, 7), win::RGB(255, 255, 255));
  EXPECT_EQ(Shot(f).pixelColor(15, 7), QColor(255, 255, 255));
}

TEST(Canvas, WithoutPersistentDrawingThePaintEventRedraws) {
  CanvasForm f;
  f.AutoRedraw(false);
  f.Show();
  QImage img = Shot(f);
  EXPECT_GE(f.paints, 1);
  f.Line(0, 0, 5, 0, win::RGB(0, 0, 255));
  EXPECT_EQ(f.Point(4, 0), win::RGB(0, 0, 255));
  EXPECT_EQ(f.Point(5, 0), win::RGB(255, 255, 255));  // a line leaves out its end point
}

TEST(Canvas, PaintPictureStretchesFromSourceToDestination) {
  CanvasForm f;
  f.Show();
  QImage src(4, 2, QImage::Format_RGB32);
  src.fill(Qt::blue);
  src.setPixelColor(3, 0, Qt::green);
  src.setPixelColor(3, 1, Qt::green);
  Picture p = Picture::FromImage(src);
  // The right column only, stretched to 10 x 4 pixels at (20, 10).
  f.PaintPicture(p, 20, 10, 10.0f, 4.0f, 3.0f, 0.0f, 1.0f, 2.0f);
  EXPECT_EQ(f.Point(20, 10), win::RGB(0, 255, 0));
  EXPECT_EQ(f.Point(29, 13), win::RGB(0, 255, 0));
  EXPECT_EQ(f.Point(30, 13), win::RGB(255, 255, 255));
  f.PaintPicture(p, 0, 0);
  EXPECT_EQ(f.Point(0, 0), win::RGB(0, 0, 255));
  EXPECT_EQ(f.Point(3, 1), win::RGB(0, 255, 0));
  EXPECT_THROW(f.PaintPicture(Picture(), 0, 0), RuntimeError);
  // The surface's handle reads what was drawn.
  EXPECT_EQ(win::GetPixel(f.hDC(), 3, 1), win::RGB(0, 255, 0));
}

TEST(Canvas, TextMeasuresInTheSurfacesScale) {
  CanvasForm f;
  const float w = f.TextWidth("Benvenuto");
  EXPECT_GT(w, 20);
  EXPECT_GT(f.TextWidth("Benvenuto a tutti"), w);
  f.ScaleMode(vbTwips);
  EXPECT_NEAR(f.TextWidth("Benvenuto"), w * 15, 0.01);
  EXPECT_GT(f.TextHeight("X"), 100);
}

namespace {
// Counts the paint events Qt delivers to a widget.
struct PaintCounter : QObject {
  int paints = 0;
  bool eventFilter(QObject*, QEvent* e) override {
    paints += e->type() == QEvent::Paint;
    return false;
  }
};
}  // namespace

TEST(Canvas, ClearingWhatIsClearRepaintsNothing) {
  for (const bool persistent : {false, true}) {
    CanvasForm f;
    f.AutoRedraw(persistent);
    f.Show();
    f.Line(10, 5, 19, 9, QBColor(12), true, true);
    f.Cls();
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    PaintCounter counter;
    win::WindowWidget(f.hWnd())->installEventFilter(&counter);
    for (int i = 0; i < 3; ++i) {
      f.Cls();
      for (int k = 0; k < 3; ++k) QCoreApplication::processEvents();
    }
    EXPECT_EQ(counter.paints, 0) << persistent;
    EXPECT_EQ(f.CurrentX(), 0);
    // Something drawn since: the next clear shows again.
    f.PSet(12, 7, QBColor(12));
    f.Cls();
    EXPECT_EQ(f.Point(12, 7), win::RGB(255, 255, 255)) << persistent;
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    EXPECT_GE(counter.paints, 1) << persistent;
    // A new background colour is a change too.
    f.BackColor(win::RGB(0, 0, 255));
    f.Cls();
    EXPECT_EQ(f.Point(12, 7), win::RGB(0, 0, 255)) << persistent;
    win::WindowWidget(f.hWnd())->removeEventFilter(&counter);
  }
}
