// List boxes line tab-separated entries up in columns at their tab stops.

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPixmap>

#include "forms/forms.h"
#include "forms/list_messages.h"
#include "win/window.h"

using namespace forms;

namespace {

class Basic : public Form {
 public:
  Basic() : Form(":/test/forms/Basic.json") {}
};

// The left edge of the first text pixel at or right of `from` in the band of
// list row `row`, -1 when there is none.
int TextStart(const QImage& img, int rowTop, int rowHeight, int from) {
  for (int x = from; x < img.width(); ++x)
    for (int y = rowTop; y < rowTop + rowHeight; ++y)
      if (qGray(img.pixel(x, y)) < 128) return x;
  return -1;
}

}  // namespace

TEST(ListBoxTabStops, ColumnsLineUpAtTheStopsSet) {
  Basic f;
  f.Show();
  auto& list = f.Get<ListBox>("List1");
  list.Widget()->resize(400, 120);
  list.AddItem("*\tFile\t#a");
  list.AddItem("\tA much longer caption\t#b");
  const int stops[] = {10, 120};
  EXPECT_EQ(win::SendMessageA(list.hWnd(), LB_SETTABSTOPS, 2, reinterpret_cast<win::LPARAM>(stops)),
            win::TRUE);
  auto* widget = static_cast<QListWidget*>(list.Widget());
  const QRect r0 = widget->visualItemRect(widget->item(0));
  const QRect r1 = widget->visualItemRect(widget->item(1));
  const QImage img = widget->viewport()->grab().toImage();
  if (const char* shot = std::getenv("TAVRINEL_SHOT_DIR"))
    img.save(QString(shot) + "/tabstops.png");
  // Second and third columns start at the same place in both rows.
  const int cap0 = TextStart(img, r0.top(), r0.height(), 12);
  const int cap1 = TextStart(img, r1.top(), r1.height(), 0);
  EXPECT_GT(cap0, 10);
  EXPECT_NEAR(cap0, cap1, 1);
  const int key0 = TextStart(img, r0.top(), r0.height(), cap0 + 100);
  const int key1 = TextStart(img, r1.top(), r1.height(), cap1 + 160);
  EXPECT_GT(key0, cap0 + 100);
  EXPECT_NEAR(key0, key1, 1);
  // The marker stands left of the first stop.
  EXPECT_GE(TextStart(img, r0.top(), r0.height(), 0), 0);
  EXPECT_LT(TextStart(img, r0.top(), r0.height(), 0), cap0);

  // A bad pointer is refused; no stops go back to every 32 units.
  EXPECT_EQ(win::SendMessageA(list.hWnd(), LB_SETTABSTOPS, 2, 0), win::FALSE);
  EXPECT_EQ(win::SendMessageA(list.hWnd(), LB_SETTABSTOPS, 0, 0), win::TRUE);
  EXPECT_EQ(list.List(1), "\tA much longer caption\t#b") << "the entry's text keeps its tabs";
}
