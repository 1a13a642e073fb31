// The pictures as the programs see them: embedded under :/pictures, with the
// sizes the controls paint from, the key colour only where a window region
// needs it, and stretchable pieces that stay seamless when stretched.
#include <gtest/gtest.h>

#include <QColor>
#include <QDirIterator>
#include <QImage>
#include <QSet>
#include <QString>
#include <array>
#include <cstdlib>
#include <map>
#include <utility>

namespace {

constexpr QRgb kKey = 0xffff00ff;

const std::map<QString, QSize>& expectedPictures() {
  static const std::map<QString, QSize> pictures = [] {
    std::map<QString, QSize> m;
    for (const char* name : {"top_active", "top_inactive", "topmax_active", "topmax_inactive"})
      m[QStringLiteral("skin/%1").arg(name)] = {66, 29};
    for (const char* name : {"left_active", "left_inactive", "right_active", "right_inactive"})
      m[QStringLiteral("skin/%1").arg(name)] = {5, 31};
    m["skin/bottom_active"] = m["skin/bottom_inactive"] = {49, 5};
    m["skin/icon"] = {16, 16};
    m["skin/button"] = {90, 21};
    for (const char* name : {"caption_close", "caption_max", "caption_min", "caption_restore"})
      m[QStringLiteral("skin/%1").arg(name)] = {84, 21};
    m["dialogra/splash"] = {133, 240};
    m["dialogra/about"] = {320, 200};
    for (const char* name : {"menu", "play", "pause", "mnu_hlp", "mnu_sysset", "managewords",
                             "recite", "mnuhelp", "mnu_page", "mnu_email", "mnu_exit", "mnu_veri"})
      m[QStringLiteral("dialogra/%1").arg(name)] = {16, 16};
    for (const char* name : {"mnustop", "mnusetup", "managewords", "amewords", "mnuhelp",
                             "mnuwebsite", "mnuemail", "aboutus", "mnuquit"})
      m[QStringLiteral("vocabra/%1").arg(name)] = {16, 16};
    for (const char* name : {"first", "prev", "next", "last", "add"})
      m[QStringLiteral("editor/%1").arg(name)] = {16, 16};
    // The reader's column beside its text box: 1215 x 2415 twips.
    m["reader/reading"] = {81, 161};
    return m;
  }();
  return pictures;
}

QImage load(const QString& name) {
  QImage image(QStringLiteral(":/pictures/%1.png").arg(name));
  return image.convertToFormat(QImage::Format_ARGB32);
}

bool isKey(QRgb pixel) {
  return qAlpha(pixel) > 0 && (pixel | 0xff000000) == kKey;
}

// Whether the pixels of a rectangle are all the same.
bool plain(const QImage& image, const QRect& area) {
  const QRgb first = image.pixel(area.topLeft());
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (image.pixel(x, y) != first) return false;
  return true;
}

bool columnsAlike(const QImage& image, const QRect& area) {
  for (int y = area.top(); y <= area.bottom(); ++y)
    if (!plain(image, QRect(area.left(), y, area.width(), 1))) return false;
  return true;
}

bool rowsAlike(const QImage& image, const QRect& area) {
  for (int x = area.left(); x <= area.right(); ++x)
    if (!plain(image, QRect(x, area.top(), 1, area.height()))) return false;
  return true;
}

// Mean lightness and saturation of the visible pixels of a rectangle.
std::pair<double, double> lightnessAndSaturation(const QImage& image, const QRect& area) {
  double lightness = 0;
  double saturation = 0;
  double weight = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor c = QColor::fromRgba(image.pixel(x, y));
      const double a = c.alphaF();
      lightness += c.lightnessF() * a;
      saturation += c.hslSaturationF() * a;
      weight += a;
    }
  return {lightness / weight, saturation / weight};
}

TEST(Pictures, EveryPictureIsEmbeddedWithItsSizeAndNoOthers) {
  QSet<QString> found;
  QDirIterator it(QStringLiteral(":/pictures"), QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) found.insert(it.next().mid(QStringLiteral(":/pictures/").size()));

  for (const auto& [name, size] : expectedPictures()) {
    SCOPED_TRACE(name.toStdString());
    EXPECT_TRUE(found.remove(name + ".png"));
    const QImage image = load(name);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), size);
  }
  EXPECT_TRUE(found.isEmpty()) << "unexpected: " << found.values().join(", ").toStdString();
}

TEST(Pictures, RoundedCaptionBarsKeyExactlyTheirCornerOutsides) {
  constexpr std::array<int, 5> kRun{5, 3, 2, 1, 1};
  for (const char* name : {"skin/top_active", "skin/top_inactive"}) {
    SCOPED_TRACE(name);
    const QImage image = load(name);
    int keys = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const int fromEdge = std::min(x, image.width() - 1 - x);
        const bool corner = y < 5 && fromEdge < kRun[y];
        keys += isKey(image.pixel(x, y));
        EXPECT_EQ(isKey(image.pixel(x, y)), corner) << "at " << x << "," << y;
      }
    EXPECT_EQ(keys, 24);
  }
}

TEST(Pictures, NoOtherPictureUsesTheKeyColour) {
  for (const auto& [name, size] : expectedPictures()) {
    if (name == "skin/top_active" || name == "skin/top_inactive") continue;
    SCOPED_TRACE(name.toStdString());
    const QImage image = load(name);
    int keys = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) keys += isKey(image.pixel(x, y));
    EXPECT_EQ(keys, 0);
  }
}

TEST(Pictures, FramePiecesAreOpaqueAndUniformWhereTheyStretch) {
  for (const char* state : {"active", "inactive"}) {
    SCOPED_TRACE(state);
    const QString suffix = QStringLiteral("_%1").arg(state);
    for (const QString& name : {"skin/top" + suffix, "skin/topmax" + suffix, "skin/left" + suffix,
                                "skin/right" + suffix, "skin/bottom" + suffix}) {
      SCOPED_TRACE(name.toStdString());
      const QImage image = load(name);
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) ASSERT_EQ(qAlpha(image.pixel(x, y)), 255);
    }
    EXPECT_TRUE(columnsAlike(load("skin/top" + suffix), QRect(5, 0, 56, 29)));
    EXPECT_TRUE(columnsAlike(load("skin/topmax" + suffix), QRect(5, 0, 56, 29)));
    EXPECT_TRUE(rowsAlike(load("skin/left" + suffix), QRect(0, 0, 5, 31)));
    EXPECT_TRUE(rowsAlike(load("skin/right" + suffix), QRect(0, 0, 5, 31)));
    EXPECT_TRUE(columnsAlike(load("skin/bottom" + suffix), QRect(0, 0, 49, 5)));
  }
}

TEST(Pictures, CaptionBarsRunOnIntoTheSideEdges) {
  for (const char* state : {"active", "inactive"}) {
    SCOPED_TRACE(state);
    const QString suffix = QStringLiteral("_%1").arg(state);
    const QImage left = load("skin/left" + suffix);
    const QImage right = load("skin/right" + suffix);
    const QImage bottom = load("skin/bottom" + suffix);
    for (const QString& bar : {"skin/top" + suffix, "skin/topmax" + suffix}) {
      SCOPED_TRACE(bar.toStdString());
      const QImage top = load(bar);
      for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(top.pixel(x, 28), left.pixel(x, 0));
        EXPECT_EQ(top.pixel(61 + x, 28), right.pixel(x, 0));
      }
    }
    // The side edges' inner columns meet the bottom edge in the same colour.
    EXPECT_EQ(left.pixel(4, 0), bottom.pixel(0, 0));
    EXPECT_EQ(right.pixel(0, 0), bottom.pixel(0, 0));
    // Square corners: no rounding left in the maximised bars.
    const QImage max = load("skin/topmax" + suffix);
    EXPECT_EQ(max.pixel(0, 0), max.pixel(0, 5));
    EXPECT_EQ(max.pixel(65, 0), max.pixel(65, 5));
  }
}

TEST(Pictures, InactiveSkinIsPalerAndGreyerThanActive) {
  const QRect middle(10, 2, 46, 26);
  for (const char* piece : {"skin/top", "skin/topmax"}) {
    SCOPED_TRACE(piece);
    const QImage active = load(QStringLiteral("%1_active").arg(piece));
    const QImage inactive = load(QStringLiteral("%1_inactive").arg(piece));
    const auto [activeLight, activeSat] = lightnessAndSaturation(active, middle);
    const auto [inactiveLight, inactiveSat] = lightnessAndSaturation(inactive, middle);
    EXPECT_GT(inactiveLight, activeLight);
    EXPECT_LT(inactiveSat, activeSat);
    const QColor blue = active.pixelColor(30, 14);
    EXPECT_GT(blue.blue(), blue.red() + 80);
    // White caption text must stand out on the active bar.
    EXPECT_LT(activeLight, 0.6);
  }
}

TEST(Pictures, PushButtonCellsStretchByNineSlices) {
  const QImage strip = load("skin/button");
  for (int cell = 0; cell < 5; ++cell) {
    SCOPED_TRACE(cell);
    const int x0 = cell * 18;
    EXPECT_TRUE(rowsAlike(strip, QRect(x0, 3, 3, 15)));          // left edge
    EXPECT_TRUE(rowsAlike(strip, QRect(x0 + 15, 3, 3, 15)));     // right edge
    EXPECT_TRUE(columnsAlike(strip, QRect(x0 + 3, 0, 12, 3)));   // top edge
    EXPECT_TRUE(columnsAlike(strip, QRect(x0 + 3, 18, 12, 3)));  // bottom edge
    EXPECT_TRUE(plain(strip, QRect(x0 + 3, 3, 12, 15)));         // centre
    EXPECT_EQ(qAlpha(strip.pixel(x0 + 9, 10)), 255);
    for (int other = 0; other < cell; ++other)
      EXPECT_NE(strip.copy(x0, 0, 18, 21), strip.copy(other * 18, 0, 18, 21)) << other;
  }
  auto face = [&](int cell) { return strip.pixelColor(cell * 18 + 9, 10); };
  auto border = [&](int cell) { return strip.pixelColor(cell * 18 + 9, 0); };
  auto ring = [&](int cell) { return strip.pixelColor(cell * 18 + 9, 1); };
  // Normal: light face, dark blue border.
  EXPECT_GT(face(0).lightnessF(), 0.9);
  EXPECT_LT(border(0).lightnessF(), 0.45);
  EXPECT_GT(border(0).blue(), border(0).red() + 60);
  // Pressed: greyer than normal.
  EXPECT_LT(face(1).lightnessF(), face(0).lightnessF());
  // Disabled: grey border, pale face.
  EXPECT_LT(border(2).hslSaturationF(), border(0).hslSaturationF());
  EXPECT_GT(border(2).lightnessF(), border(0).lightnessF());
  EXPECT_GT(face(2).lightnessF(), 0.9);
  // Hot: an orange frame; highlighted: a blue one.
  EXPECT_GT(ring(3).red(), ring(3).blue() + 100);
  EXPECT_GT(ring(4).blue(), ring(4).red() + 100);
}

TEST(Pictures, CaptionButtonLooksKeepTheirOrder) {
  for (const char* name :
       {"skin/caption_close", "skin/caption_max", "skin/caption_min", "skin/caption_restore"}) {
    SCOPED_TRACE(name);
    const QImage strip = load(name);
    std::array<std::pair<double, double>, 4> looks{};
    for (int cell = 0; cell < 4; ++cell)
      looks[cell] = lightnessAndSaturation(strip, QRect(cell * 21, 0, 21, 21));
    EXPECT_GT(looks[1].first, looks[0].first);    // hot is lighter
    EXPECT_LT(looks[2].first, looks[0].first);    // pressed is darker
    EXPECT_LT(looks[3].second, looks[0].second);  // disabled is faded
    const QColor base = strip.pixelColor(2, 10);
    if (QString(name) == "skin/caption_close")
      EXPECT_GT(base.red(), base.blue() + 80);
    else
      EXPECT_GT(base.blue(), base.red() + 80);
    // Rounded: the cell corners let the caption bar show through.
    EXPECT_LT(qAlpha(strip.pixel(0, 0)), 128);
    EXPECT_LT(qAlpha(strip.pixel(20, 20)), 128);
  }
}

TEST(Pictures, SmallIconsDrawOnTransparentGround) {
  for (const auto& [name, size] : expectedPictures()) {
    if (size != QSize(16, 16)) continue;
    SCOPED_TRACE(name.toStdString());
    const QImage image = load(name);
    int clear = 0;
    int solid = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        clear += qAlpha(image.pixel(x, y)) == 0;
        solid += qAlpha(image.pixel(x, y)) == 255;
      }
    EXPECT_GT(clear, 0);
    // Enough ink to read as a picture at 16 x 16.
    EXPECT_GT(solid, 32);
  }
}

// The reader's picture sits on the form's own colour: a transparent ground
// that shows a drawing in both halves, the bubble above and the book below,
// with the tricolore of the bookmark in it.
TEST(Pictures, ReaderPictureIsABubbleOverABookOnTransparentGround) {
  const QImage image = load("reader/reading");
  for (const QPoint corner : {QPoint(0, 0), QPoint(80, 0), QPoint(0, 160), QPoint(80, 160)})
    EXPECT_EQ(qAlpha(image.pixel(corner)), 0);
  auto solid = [&image](int top, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = 0; x < image.width(); ++x) n += qAlpha(image.pixel(x, y)) == 255;
    return n;
  };
  const int half = image.height() / 2;
  EXPECT_GT(solid(0, half), 81 * half / 4);
  EXPECT_GT(solid(half, image.height()), 81 * half / 4);
  auto near = [](QRgb pixel, QRgb colour) {
    return qAlpha(pixel) == 255 && std::abs(qRed(pixel) - qRed(colour)) < 12 &&
           std::abs(qGreen(pixel) - qGreen(colour)) < 12 &&
           std::abs(qBlue(pixel) - qBlue(colour)) < 12;
  };
  bool green = false;
  bool red = false;
  for (int y = half; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      green |= near(image.pixel(x, y), qRgb(0x00, 0x92, 0x46));
      red |= near(image.pixel(x, y), qRgb(0xce, 0x2b, 0x37));
    }
  EXPECT_TRUE(green && red);
}

TEST(Pictures, PanelsAreOpaqueAndDrawn) {
  for (const char* name : {"dialogra/splash", "dialogra/about"}) {
    SCOPED_TRACE(name);
    const QImage image = load(name);
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        ASSERT_EQ(qAlpha(image.pixel(x, y)), 255);
        colours.insert(image.pixel(x, y));
      }
    // Text and drawing, not an empty fill.
    EXPECT_GT(colours.size(), 200);
  }
}

}  // namespace
