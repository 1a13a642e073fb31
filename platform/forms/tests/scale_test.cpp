// Twips, pixels and the other scales of containers.

#include <gtest/gtest.h>
#include <QRect>
#include <QWidget>

#include "forms/forms.h"

using namespace forms;

namespace {
class Basic : public Form {
 public:
  Basic() : Form(":/test/forms/Basic.json") {}
};
}  // namespace

TEST(Scale, FormsArePlacedInTwipsAt15APixel) {
  Basic f;
  EXPECT_EQ(f.Width(), 7110);
  EXPECT_EQ(f.Height(), 1500);
  win::RECT r;
  ASSERT_TRUE(win::GetWindowRect(f.hWnd(), &r));
  EXPECT_EQ(r.right - r.left, 474);
  EXPECT_EQ(r.bottom - r.top, 100);
  EXPECT_EQ(r.left, 100);
  f.Left(0);
  f.Height(340);
  win::GetWindowRect(f.hWnd(), &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.bottom - r.top, 23);  // 340 twips round to 23 pixels
  EXPECT_EQ(f.Height(), 340);       // and read back as set
  EXPECT_FLOAT_EQ(f.ScaleWidth(), 7110);
}

TEST(Scale, ControlsReadAndSetInTheirContainersScale) {
  Basic f;
  auto& label = f.Get<Label>("Label1");
  EXPECT_EQ(label.Left(), 150);
  EXPECT_EQ(label.Widget()->geometry(), QRect(10, 10, 100, 20));
  f.ScaleMode(vbPixels);
  EXPECT_EQ(label.Left(), 10);  // the same place in other units
  EXPECT_EQ(label.Widget()->x(), 10);
  label.Left(20);
  EXPECT_EQ(label.Widget()->x(), 20);
  f.ScaleMode(vbTwips);
  EXPECT_EQ(label.Left(), 300);

  auto& inner = f.Get<Label>("Inner");  // inside a picture box that measures in pixels
  EXPECT_EQ(inner.Left(), 10);
  EXPECT_EQ(inner.Widget()->x(), 10);
  EXPECT_EQ(&inner.GetContainer(), static_cast<Container*>(&f.Get<PictureBox>("Picture1")));

  EXPECT_FLOAT_EQ(f.ScaleX(2540, vbHimetric, vbPixels), 96.0f);
  EXPECT_FLOAT_EQ(f.ScaleY(1, vbInches, vbTwips), 1440.0f);
  EXPECT_FLOAT_EQ(f.ScaleX(15, vbTwips, vbPixels), 1.0f);
}

TEST(Scale, AUserScaleMapsTheClientArea) {
  Basic f;
  f.ScaleWidth(100);
  f.ScaleHeight(10);
  EXPECT_EQ(f.ScaleMode(), vbUser);
  auto& label = f.Get<Label>("Label1");
  label.Left(50);
  EXPECT_EQ(label.Widget()->x(), 237);  // half of 474 pixels
  EXPECT_THROW(f.ScaleMode(42), RuntimeError);
}
