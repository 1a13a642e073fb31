#include <gtest/gtest.h>

#include "pictures/pictures.h"

namespace {

using namespace tavrinel::pictures;

TEST(PicturesApi, LoadsByGroupAndNameAndRefusesUnknownOnes) {
  EXPECT_EQ(path(u"skin", u"button"), QStringLiteral(":/pictures/skin/button.png"));
  const auto button = load(u"skin", u"button");
  ASSERT_TRUE(button.has_value());
  EXPECT_EQ(button->size(), QSize(90, 21));
  EXPECT_FALSE(load(u"skin", u"no_such_picture").has_value());
  EXPECT_FALSE(load(u"nowhere", u"button").has_value());
  EXPECT_FALSE(load(u"", u"").has_value());
}

TEST(PicturesApi, CutsStripsIntoCellsAndRejectsWhatDoesNotFit) {
  const QImage strip = *load(u"skin", u"button");
  const QSize size(18, 21);
  for (int index = 0; index < 5; ++index) {
    const auto piece = cell(strip, size, index);
    ASSERT_TRUE(piece.has_value()) << index;
    EXPECT_EQ(piece->size(), size);
    EXPECT_EQ(*piece, strip.copy(index * 18, 0, 18, 21));
  }
  EXPECT_FALSE(cell(strip, size, 5).has_value());
  EXPECT_FALSE(cell(strip, size, -1).has_value());
  EXPECT_FALSE(cell(strip, QSize(0, 21), 0).has_value());
  EXPECT_FALSE(cell(strip, QSize(18, 22), 0).has_value());
  EXPECT_FALSE(cell(QImage(), size, 0).has_value());
  // A partial cell at the end of a strip is not a cell.
  EXPECT_FALSE(cell(strip, QSize(20, 21), 4).has_value());
  EXPECT_TRUE(cell(strip, QSize(20, 21), 3).has_value());
}

}  // namespace
