// The intrinsic controls under a user's hands: real presses and keys on the
// widgets that carry them, and what the user then sees.

#include <gtest/gtest.h>

#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "forms/forms.h"
#include "testsupport/temp_dir.h"
#include "win/gdi.h"
#include "win/window.h"

using namespace forms;

namespace {

// A form of its own description, written for the test.
std::unique_ptr<Form> FormOf(const testsupport::TempDir& dir, const std::string& controls) {
  const auto file = dir / "Hands.json";
  std::ofstream(file) << R"({ "Form": "Hands",
    "Properties": { "BorderStyle": 0, "Width": 6000, "Height": 4500, "BackColor": "&H00D8E9EC&" },
    "Controls": [ )" << controls
                      << " ] }";
  auto form = std::make_unique<Form>(file.string());
  form->Show();
  return form;
}

const char* kList = R"({ "Type": "ListBox", "Name": "List1",
    "Properties": { "Left": 150, "Top": 150, "Width": 2700, "Height": 1800,
                    "Font": { "Name": "Tahoma", "Size": 9 } } })";

QListWidget& ListWidget(ListControl& list) {
  return *qobject_cast<QListWidget*>(list.Widget());
}

void ClickRow(ListControl& list, int row) {
  QListWidget& w = ListWidget(list);
  QTest::mouseClick(w.viewport(), Qt::LeftButton, {}, w.visualItemRect(w.item(row)).center());
}

// Pixels of `w` darker than the platform's grey text.
int DarkPixels(QWidget* w) {
  const QImage img = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += qGray(img.pixel(x, y)) < 90;
  return n;
}

}  // namespace

TEST(ControlsByHand, AClickOnARowChoosesItAndThenRaisesClickOnce) {
  testsupport::TempDir dir;
  auto f = FormOf(dir, kList);
  auto& list = f->Get<ListBox>("List1");
  for (const char* name : {"Merlin.acs", "Gufo.acs", "Genie.acs", "Robby.acs"}) list.AddItem(name);
  std::vector<std::string> seen;
  list.Click = [&] { seen.push_back(std::to_string(list.ListIndex()) + " " + list.Text()); };
  ClickRow(list, 2);
  EXPECT_EQ(seen, (std::vector<std::string>{"2 Genie.acs"}));
  // A click on the row already chosen is a click too; another row follows.
  ClickRow(list, 2);
  ClickRow(list, 0);
  EXPECT_EQ(seen, (std::vector<std::string>{"2 Genie.acs", "2 Genie.acs", "0 Merlin.acs"}));
}

TEST(ControlsByHand, ArrowKeysChooseEveryFileWhileTheHandlerReadsTheFolderAgain) {
  testsupport::TempDir dir;
  for (const char* name : {"Genie.acs", "Gufo.acs", "Merlin.acs"}) std::ofstream(dir / name) << "x";
  auto f = FormOf(dir, R"({ "Type": "FileListBox", "Name": "File1",
      "Properties": { "Left": 150, "Top": 150, "Width": 2700, "Height": 1800, "Pattern": "*.acs" } })");
  auto& files = f->Get<FileListBox>("File1");
  files.Path(dir.path().string());
  std::vector<std::string> chosen;
  // As the reader does: each choice loads the form again, which sets the
  // list's folder again.
  files.Click = [&] {
    chosen.push_back(files.FileName());
    files.Path(dir.path().string());
  };
  QWidget* w = files.Widget();
  for (int i = 0; i < 3; ++i) QTest::keyClick(w, Qt::Key_Down);
  EXPECT_EQ(chosen, (std::vector<std::string>{"Genie.acs", "Gufo.acs", "Merlin.acs"}));
  EXPECT_EQ(files.ListIndex(), 2);
  QTest::keyClick(w, Qt::Key_Up);
  EXPECT_EQ(files.FileName(), "Gufo.acs");
  EXPECT_EQ(chosen.size(), 4u);
}

TEST(ControlsByHand, AListRefilledByItsOwnClickDuringThePressSurvives) {
  testsupport::TempDir dir;
  auto f = FormOf(dir, kList);
  auto& list = f->Get<ListBox>("List1");
  const auto fill = [&](const char* mark) {
    for (const char* name : {"mnu_hlp", "mnu_sysset", "managewords", "recite"})
      list.AddItem(std::string(mark) + "\t" + name);
  };
  fill("");
  bool refreshing = false;
  int clicks = 0;
  // As the menu icon page does: every choice commits and lists all again.
  list.Click = [&] {
    if (refreshing) return;
    ++clicks;
    refreshing = true;
    const int index = list.ListIndex();
    list.Clear();
    fill("*");
    list.ListIndex(index);
    refreshing = false;
  };
  ClickRow(list, 1);
  ClickRow(list, 3);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(list.ListCount(), 4);
  EXPECT_EQ(list.ListIndex(), 3);
  EXPECT_EQ(list.Text(), "*\trecite");
}

TEST(ControlsByHand, AListBoxShowsWholeRowsOnly) {
  testsupport::TempDir dir;
  // The reader's character list: 19 pixels high.
  auto f = FormOf(dir, R"({ "Type": "FileListBox", "Name": "File1",
      "Properties": { "Left": 150, "Top": 150, "Width": 1455, "Height": 285,
                      "Font": { "Name": "Tahoma", "Size": 8.25 } } },
    { "Type": "ListBox", "Name": "List1",
      "Properties": { "Left": 1800, "Top": 150, "Width": 1500, "Height": 1000 } })");
  for (const char* name : {"File1", "List1"}) {
    auto& list = f->Get<ListControl>(name);
    for (int i = 0; i < 8; ++i) list.AddItem("Gufo" + std::to_string(i) + ".acs");
    QListWidget& w = ListWidget(list);
    const int row = w.visualItemRect(w.item(0)).height();
    ASSERT_GT(row, 0);
    EXPECT_EQ(w.viewport()->height() % row, 0) << name << ": " << w.viewport()->height();
    EXPECT_GE(w.viewport()->height(), row) << name;
  }
}

TEST(ControlsByHand, DisabledControlsLookDisabledWhateverTheirColours) {
  testsupport::TempDir dir;
  auto f = FormOf(dir, R"({ "Type": "CheckBox", "Name": "Check3",
      "Properties": { "Left": 120, "Top": 270, "Width": 2460, "Height": 255,
                      "Caption": "Save schedule while exit", "BackColor": "&H00D8E9EC&",
                      "ForeColor": "&H00000000&", "Font": { "Name": "Tahoma", "Size": 9 } } },
    { "Type": "TextBox", "Name": "Text1",
      "Properties": { "Left": 120, "Top": 700, "Width": 2460, "Height": 285,
                      "Text": "Buongiorno", "Font": { "Name": "Tahoma", "Size": 9 } } })");
  auto& box = f->Get<CheckBox>("Check3");
  auto& text = f->Get<TextBox>("Text1");
  int clicks = 0;
  box.Click = [&] { ++clicks; };
  ASSERT_GT(DarkPixels(box.Widget()), 20) << "enabled text is dark";
  ASSERT_GT(DarkPixels(text.Widget()), 20);
  box.Enabled(false);
  text.Enabled(false);
  EXPECT_EQ(DarkPixels(box.Widget()), 0) << "disabled text is grey";
  EXPECT_EQ(DarkPixels(text.Widget()), 0);
  QTest::mouseClick(box.Widget(), Qt::LeftButton, {}, QPoint(8, box.Widget()->height() / 2));
  EXPECT_EQ(box.Value(), 0);
  EXPECT_EQ(clicks, 0);
  // Enabled again, it looks and acts as before.
  box.Enabled(true);
  EXPECT_GT(DarkPixels(box.Widget()), 20);
  QTest::mouseClick(box.Widget(), Qt::LeftButton, {}, QPoint(8, box.Widget()->height() / 2));
  EXPECT_EQ(box.Value(), 1);
  EXPECT_EQ(clicks, 1);
}

TEST(ControlsByHand, ANumberBoxRisesWithItsUpperArrowAndTakesNoTyping) {
  testsupport::TempDir dir;
  // The trainers' number boxes: a text box with a short scroll bar at its right.
  auto f = FormOf(dir, R"({ "Type": "TextBox", "Name": "Text1",
      "Properties": { "Left": 540, "Top": 300, "Width": 390, "Height": 285, "Alignment": 2 } },
    { "Type": "VScrollBar", "Name": "VScroll1",
      "Properties": { "Left": 930, "Top": 300, "Width": 195, "Height": 285, "Min": 1, "Max": 12,
                      "Value": 1, "SmallChange": 1, "LargeChange": 1 } })");
  auto& text = f->Get<TextBox>("Text1");
  auto& spin = f->Get<VScrollBar>("VScroll1");
  spin.Change = [&] { text.Text(std::to_string(spin.Value())); };
  spin.Value(5);
  EXPECT_EQ(text.Text(), "5");
  QWidget* bar = spin.Widget();
  QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, 2));
  EXPECT_EQ(spin.Value(), 6) << "the upper arrow raises";
  QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 3));
  QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 3));
  EXPECT_EQ(spin.Value(), 4) << "the lower arrow lowers";
  EXPECT_EQ(text.Text(), "4");
  // What is typed would never be read, so the box takes none of it.
  QTest::keyClicks(text.Widget(), "9");
  EXPECT_EQ(text.Text(), "4");
  // The arrow keys in the box step the number, within its range.
  QTest::keyClick(text.Widget(), Qt::Key_Up);
  EXPECT_EQ(spin.Value(), 5);
  QTest::keyClick(text.Widget(), Qt::Key_Down);
  QTest::keyClick(text.Widget(), Qt::Key_Down);
  EXPECT_EQ(text.Text(), "3");
  for (int i = 0; i < 15; ++i) QTest::keyClick(text.Widget(), Qt::Key_Up);
  EXPECT_EQ(spin.Value(), 12);
  // The Up key on the spin itself raises too.
  spin.Value(7);
  QTest::keyClick(bar, Qt::Key_Up);
  EXPECT_EQ(spin.Value(), 8);
}

TEST(ControlsByHand, KeysThatTypeNothingRaiseKeyDownFirstAndTheControlStillActsOnThem) {
  testsupport::TempDir dir;
  auto f = FormOf(dir, std::string(kList) + R"(,
    { "Type": "TextBox", "Name": "Text1",
      "Properties": { "Left": 3000, "Top": 150, "Width": 2460, "Height": 285,
                      "Text": "ciao", "Font": { "Name": "Tahoma", "Size": 9 } } })");
  auto& text = f->Get<TextBox>("Text1");
  auto& list = f->Get<ListBox>("List1");
  for (int i = 0; i < 40; ++i) list.AddItem("parola " + std::to_string(i));
  list.ListIndex(0);
  text.SelStart(4);
  // What each key looked like to its handler: the caret or the row it found.
  std::vector<std::string> seen;
  text.KeyDown = [&](int& code, int& shift) {
    seen.push_back("down " + std::to_string(code) + "/" + std::to_string(shift) + " at " +
                   std::to_string(text.SelStart()));
  };
  text.KeyUp = [&](int& code, int&) { seen.push_back("up " + std::to_string(code)); };
  list.KeyDown = [&](int& code, int&) {
    seen.push_back("down " + std::to_string(code) + " at " + std::to_string(list.ListIndex()));
  };
  list.KeyUp = [&](int& code, int&) { seen.push_back("up " + std::to_string(code)); };

  QTest::keyClick(text.Widget(), Qt::Key_Home);
  EXPECT_EQ(text.SelStart(), 0) << "the caret still goes home";
  QTest::keyClick(text.Widget(), Qt::Key_End);
  EXPECT_EQ(text.SelStart(), 4);
  EXPECT_EQ(seen, (std::vector<std::string>{"down 36/0 at 4", "up 36", "down 35/0 at 0", "up 35"}));
  seen.clear();
  QTest::keyClick(text.Widget(), Qt::Key_Backtab, Qt::ShiftModifier);
  // Shift+Tab is Tab with Shift held, and Shift goes down and up around it.
  EXPECT_EQ(seen, (std::vector<std::string>{"down 16/1 at 4", "down 9/1 at 4", "up 9", "up 16"}));

  seen.clear();
  QTest::keyClick(list.Widget(), Qt::Key_F1);
  QTest::keyClick(list.Widget(), Qt::Key_PageDown);
  EXPECT_EQ(seen, (std::vector<std::string>{"down 112 at 0", "up 112", "down 34 at 0", "up 34"}));
  EXPECT_GT(list.ListIndex(), 1) << "the list still pages";
}

TEST(ControlsByHand, APictureWithATransparentGroundLoadsAsAnIconWithAMask) {
  testsupport::TempDir dir;
  QImage img(16, 16, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  for (int y = 4; y < 12; ++y)
    for (int x = 4; x < 12; ++x) img.setPixelColor(x, y, QColor(0, 0, 200));
  img.setPixelColor(3, 8, QColor(0, 0, 200, 60));    // a faint rim pixel stays clear
  img.setPixelColor(12, 8, QColor(0, 0, 200, 200));  // a strong one is drawn whole
  const std::string path = (dir / "menu.png").string();
  img.save(QString::fromStdString(path), "PNG");
  const Picture picture = LoadPicture(path);
  ASSERT_EQ(picture.Type(), Picture::Kind::Icon);
  ASSERT_TRUE(picture.Icon());
  // Drawn by the platform on a magenta key ground, as the menus draw
  // pictures, its ground stays the key colour and nothing is tinted by it.
  const win::HDC dc = win::CreateCompatibleDC(win::HDC());
  const win::HDC screen = win::GetDC(win::HWND());
  const win::HBITMAP bmp = win::CreateCompatibleBitmap(screen, 16, 16);
  win::ReleaseDC(win::HWND(), screen);
  const win::HGDIOBJ old = win::SelectObject(dc, bmp);
  const win::HBRUSH magenta = win::CreateSolidBrush(0xFF00FF);
  const win::RECT all{0, 0, 16, 16};
  win::FillRect(dc, &all, magenta);
  win::DrawIconEx(dc, 0, 0, picture.Icon(), 0, 0, 0, win::HBRUSH(), win::DI_NORMAL);
  EXPECT_EQ(win::GetPixel(dc, 0, 0), 0xFF00FFu);
  EXPECT_EQ(win::GetPixel(dc, 3, 8), 0xFF00FFu);
  EXPECT_EQ(win::GetPixel(dc, 8, 8), 0xC80000u);
  EXPECT_EQ(win::GetPixel(dc, 12, 8), 0xC80000u);
  win::SelectObject(dc, old);
  win::DeleteObject(bmp);
  win::DeleteObject(magenta);
  win::DeleteDC(dc);
  // Qt draws the picture with its own soft edges.
  EXPECT_EQ(qAlpha(picture.Image().pixel(12, 8)), 200);
}
