// The intrinsic controls: events the way programs expect them.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QListWidget>
#include <QTest>
#include <fstream>

#include "forms/forms.h"
#include "testsupport/temp_dir.h"

using namespace forms;

namespace {
class Basic : public Form {
 public:
  Basic() : Form(":/test/forms/Basic.json") {}
};

std::string WritePng(const testsupport::TempDir& dir, const char* name, QSize size, QColor c) {
  QImage img(size, QImage::Format_ARGB32);
  img.fill(c);
  const std::string path = (dir / name).string();
  img.save(QString::fromStdString(path), "PNG");
  return path;
}
}  // namespace

TEST(Controls, LabelClickFollowsPressAndReleaseOfTheLeftButton) {
  Basic f;
  f.Show();
  auto& label = f.Get<Label>("Label1");
  std::vector<std::string> log;
  label.MouseDown = [&](int& b, int&, float& x, float&) {
    log.push_back("down " + std::to_string(b) + " " + std::to_string(static_cast<int>(x)));
  };
  label.MouseUp = [&](int& b, int&, float&, float&) { log.push_back("up " + std::to_string(b)); };
  label.Click = [&] { log.push_back("click"); };
  label.DblClick = [&] { log.push_back("dbl"); };
  QWidget* w = label.Widget();
  QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(2, 3));
  EXPECT_EQ(log, (std::vector<std::string>{"down 1 30", "up 1", "click"}));  // 2 pixels = 30 twips
  log.clear();
  QTest::mouseClick(w, Qt::RightButton, {}, QPoint(2, 3));
  EXPECT_EQ(log, (std::vector<std::string>{"down 2 30", "up 2"}));
  // A double click as the display delivers it: press, release, double
  // click, release. Only the first press and release make a click.
  log.clear();
  auto send = [&](QEvent::Type t, Qt::MouseButtons held) {
    QMouseEvent e(t, QPointF(2, 3), w->mapToGlobal(QPointF(2, 3)), Qt::LeftButton, held,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
  };
  send(QEvent::MouseButtonPress, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, Qt::NoButton);
  send(QEvent::MouseButtonDblClick, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, Qt::NoButton);
  EXPECT_EQ(log, (std::vector<std::string>{"down 1 30", "up 1", "click", "dbl", "up 1"}));
}

TEST(Controls, LabelCaptionRaisesChangeAndAutoSizeFits) {
  Basic f;
  auto& label = f.Get<Label>("Label2");
  int changes = 0;
  label.Change = [&] { ++changes; };
  label.Caption("Add && Manage");
  EXPECT_EQ(changes, 1);
  label.Caption("Add && Manage");
  EXPECT_EQ(changes, 1);  // no change, no event
  EXPECT_EQ(label.DisplayText(), "Add & Manage");
  label.Caption("&File");
  EXPECT_EQ(label.DisplayText(), "File");
  const float before = label.Width();
  label.AutoSize(true);
  label.Caption("A rather longer caption than before");
  EXPECT_GT(label.Width(), before);
}

TEST(Controls, AWrappingLabelThatSizesItselfFollowsItsWidth) {
  Basic f;
  auto& line = f.Get<Label>("Label1");
  auto& wrapped = f.Get<Label>("Label2");
  for (Label* l : {&line, &wrapped}) {
    l->AutoSize(true);
    l->Caption("Mi scusi, dov'è la stazione ferroviaria più vicina?");
  }
  wrapped.Font(line.Font());
  wrapped.WordWrap(true);
  // Given the width its line takes on one line, the line stays whole.
  wrapped.Width(line.Width());
  EXPECT_EQ(wrapped.Height(), line.Height());
  // Narrower, it wraps and grows; wider again, it shrinks back.
  wrapped.Width(line.Width() / 3);
  EXPECT_GE(wrapped.Height(), 3 * line.Height());
  wrapped.Width(line.Width() + 300);
  EXPECT_EQ(wrapped.Height(), line.Height());
}

TEST(Controls, ImageTakesItsPicturesSizeUnlessStretched) {
  testsupport::TempDir dir;
  Basic f;
  auto& img = f.Array<Image>("Image2")[0];
  img.Picture(LoadPicture(WritePng(dir, "p.png", QSize(16, 12), Qt::red)));
  EXPECT_EQ(img.Width(), 240);
  EXPECT_EQ(img.Height(), 180);
  img.Stretch(true);
  img.Width(600);
  EXPECT_EQ(img.Widget()->width(), 40);
}

TEST(Controls, LoadPictureReadsFilesAndNamesBadOnes) {
  testsupport::TempDir dir;
  const std::string png = WritePng(dir, "ok.png", QSize(4, 3), Qt::blue);
  Picture p = LoadPicture(png);
  EXPECT_EQ(p.Type(), Picture::Kind::Bitmap);
  EXPECT_EQ(p.PixelWidth(), 4);
  EXPECT_EQ(p.Width(), 106);  // HIMETRIC
  EXPECT_TRUE(p.Bitmap());
  EXPECT_FALSE(LoadPicture(""));
  try {
    LoadPicture((dir / "none.bmp").string());
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::FileNotFound);
    EXPECT_NE(std::string(e.what()).find("none.bmp"), std::string::npos);
  }
  std::ofstream((dir / "bad.png").string()) << "not a picture";
  try {
    LoadPicture((dir / "bad.png").string());
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::InvalidPicture);
  }
  // Bitmaps and icons are read as the platform's picture kinds.
  QImage small(8, 8, QImage::Format_ARGB32);
  small.fill(QColor(200, 10, 10, 255));
  small.setPixelColor(0, 0, Qt::transparent);
  small.save(QString::fromStdString((dir / "p.bmp").string()), "BMP");
  small.save(QString::fromStdString((dir / "p.ico").string()), "ICO");
  EXPECT_EQ(LoadPicture((dir / "p.bmp").string()).Type(), Picture::Kind::Bitmap);
  const Picture icon = LoadPicture((dir / "p.ico").string());
  EXPECT_EQ(icon.Type(), Picture::Kind::Icon);
  EXPECT_TRUE(icon.Icon());
  EXPECT_EQ(qAlpha(icon.Image().pixel(0, 0)), 0);
  EXPECT_EQ(icon.Image().pixelColor(3, 3), QColor(200, 10, 10));
  // Paths written with backslashes work too.
  std::string windowsStyle = png;
  std::replace(windowsStyle.begin(), windowsStyle.end(), '/', '\\');
  EXPECT_TRUE(LoadPicture(windowsStyle));
}

TEST(Controls, ListBoxClickComesFromTheUserAndFromSettingListIndex) {
  Basic f;
  f.Show();
  auto& list = f.Get<ListBox>("List1");
  int clicks = 0;
  list.Click = [&] { ++clicks; };
  list.AddItem("apple");
  list.AddItem("pear");
  list.AddItem("fig", 0);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(list.ListCount(), 3);
  EXPECT_EQ(list.List(0), "fig");
  EXPECT_EQ(list.ListIndex(), -1);
  list.ListIndex(2);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(list.Text(), "pear");
  list.RemoveItem(0);
  EXPECT_EQ(list.List(0), "apple");
  EXPECT_THROW(list.ListIndex(5), RuntimeError);
  list.Clear();
  EXPECT_EQ(list.ListCount(), 0);
}

TEST(Controls, TextBoxChangeAndPictureClipCells) {
  Basic f;
  auto& text = f.Get<TextBox>("Text1");
  int changes = 0;
  text.Change = [&] { ++changes; };
  text.Text("Perché");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(text.Text(), "Perché");

  testsupport::TempDir dir;
  QImage strip(90, 21, QImage::Format_ARGB32);
  for (int c = 0; c < 5; ++c)
    for (int y = 0; y < 21; ++y)
      for (int x = 0; x < 18; ++x) strip.setPixelColor(c * 18 + x, y, QColor(c * 50, 0, 0));
  const std::string path = (dir / "strip.png").string();
  strip.save(QString::fromStdString(path));
  ControlSite site;
  site.type = "PictureClip";
  site.name = "pc";
  site.container = &f;
  site.form = &f;
  PictureClip clip(site);
  clip.Picture(LoadPicture(path));
  clip.Cols(5);
  EXPECT_EQ(clip.CellWidth(), 18);
  EXPECT_EQ(clip.CellHeight(), 21);
  EXPECT_EQ(clip.GraphicCell(3).Image().pixelColor(0, 0), QColor(150, 0, 0));
  EXPECT_EQ(clip.GraphicCell(3).PixelWidth(), 18);
  EXPECT_THROW(clip.GraphicCell(5), RuntimeError);
  EXPECT_THROW(clip.Cols(0), RuntimeError);
}

TEST(Controls, ACheckBoxCaptionTooLongForOneLineWrapsAndAllOfItTakesClicks) {
  testsupport::TempDir dir;
  const auto file = dir / "Check.json";
  std::ofstream(file) << R"({ "Form": "Check",
    "Properties": { "BorderStyle": 0, "Width": 3000, "Height": 1500, "BackColor": "&H00FFFFFF&" },
    "Controls": [ { "Type": "CheckBox", "Name": "Check1",
      "Properties": { "Left": 0, "Top": 0, "Width": 1215, "Height": 495, "BackColor": "&H00FFFFFF&",
                      "Font": { "Name": "Tahoma", "Size": 8.25 },
                      "Caption": "Auto Read Clipboard" } } ] })";
  Form f(file.string());
  f.Show();
  auto& box = f.Get<CheckBox>("Check1");
  int clicks = 0;
  box.Click = [&] { ++clicks; };
  QWidget* w = box.Widget();
  const QImage img = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
  // Dark text pixels right of the indicator, above and below the middle.
  const auto darkRows = [&](int top, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = 20; x < img.width(); ++x) n += qGray(img.pixel(x, y)) < 100;
    return n;
  };
  EXPECT_GT(darkRows(0, img.height() / 2), 10);
  EXPECT_GT(darkRows(img.height() / 2, img.height()), 10);
  // A click on the second line ticks the box.
  QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() - 30, w->height() - 6));
  EXPECT_EQ(box.Value(), 1);
  EXPECT_EQ(clicks, 1);
}

TEST(Controls, AControlAtAHalfPixelKeepsThePixelsItWasSizedFor) {
  // Centring a control inside another often puts its left edge on a half
  // pixel; rounding its two edges to the even pixel would cost it one.
  Basic f;
  f.Show();
  auto& text = f.Get<TextBox>("Text1");
  for (const double left : {112.5, 127.5, 142.5}) {
    text.MoveTwips(left, 150, 151 * 15, 285);
    EXPECT_EQ(text.Widget()->width(), 151) << left;
    EXPECT_EQ(text.Widget()->height(), 19) << left;
  }
}
