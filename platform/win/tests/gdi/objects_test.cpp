// Handles, selection, deletion rules, object descriptions and DC state.

#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "canvas_fixture.h"
#include "gdi/surface.h"
#include "testsupport/temp_dir.h"
#include "win/qt_bridge.h"

using namespace win;
using gditest::kBlack;
using gditest::kBlue;
using gditest::kRed;
using gditest::kWhite;
using gditest::Owned;
using gditest::Surface;

TEST(Handles, StaleZeroAndWrongKindHandlesFailWithoutHarm) {
  Surface s(4, 4);
  const HBRUSH brush = CreateSolidBrush(kRed);
  ASSERT_TRUE(brush);
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_FALSE(DeleteObject(brush));
  EXPECT_FALSE(SelectObject(s.dc(), brush));
  const RECT r{0, 0, 4, 4};
  EXPECT_EQ(FillRect(s.dc(), &r, brush), 0);
  EXPECT_EQ(GetObjectA(brush, sizeof(LOGBRUSH), nullptr), 0);
  EXPECT_EQ(GetObjectType(brush), 0u);
  // Numbers are never handed out twice.
  const HBRUSH again = CreateSolidBrush(kRed);
  EXPECT_NE(again.value, brush.value);
  DeleteObject(again);
  // Zero handles and handles of another kind.
  EXPECT_FALSE(SelectObject(s.dc(), HGDIOBJ()));
  EXPECT_FALSE(SelectObject(HDC(), GetStockObject(BLACK_PEN)));
  Owned<HPEN> pen(CreatePen(PS_SOLID, 1, kRed));
  EXPECT_EQ(FillRect(s.dc(), &r, HBRUSH(HGDIOBJ(pen))), 0);
  EXPECT_FALSE(SelectObject(s.dc(), HGDIOBJ(s.dc().value)));
  EXPECT_FALSE(DeleteDC(HDC(pen.get().value)));
  EXPECT_EQ(GetBkColor(HDC(12345)), CLR_INVALID);
  EXPECT_FALSE(BitBlt(s.dc(), 0, 0, 1, 1, HDC(), 0, 0, SRCCOPY));
  EXPECT_EQ(CombineRgn(HRGN(), HRGN(), HRGN(), RGN_OR), ERROR);
  EXPECT_EQ(GetPixel(s.dc(), 0, 0), kWhite);
}

TEST(Handles, SelectedObjectsCannotBeDeleted) {
  Surface s(4, 4);
  const HPEN pen = CreatePen(PS_SOLID, 1, kRed);
  const HGDIOBJ old = SelectObject(s.dc(), pen);
  EXPECT_EQ(old, GetStockObject(BLACK_PEN));
  EXPECT_FALSE(DeleteObject(pen));
  // Still alive and drawing.
  MoveToEx(s.dc(), 0, 0, nullptr);
  LineTo(s.dc(), 3, 0);
  EXPECT_EQ(s.at(1, 0), kRed);
  EXPECT_EQ(GetCurrentObject(s.dc(), OBJ_PEN), HGDIOBJ(pen));
  SelectObject(s.dc(), old);
  EXPECT_TRUE(DeleteObject(pen));
  // Stock objects survive deletion.
  EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(GetObjectType(GetStockObject(WHITE_BRUSH)), OBJ_BRUSH);
  // A bitmap goes into one DC at a time.
  const HDC other = CreateCompatibleDC(HDC());
  EXPECT_FALSE(SelectObject(other, s.bitmap()));
  EXPECT_FALSE(DeleteObject(s.bitmap()));
  DeleteDC(other);
}

TEST(Handles, StockObjectsAndDescriptions) {
  LOGBRUSH lb;
  ASSERT_EQ(GetObjectA(GetStockObject(LTGRAY_BRUSH), sizeof lb, &lb), static_cast<int>(sizeof lb));
  EXPECT_EQ(lb.lbColor, RGB(192, 192, 192));
  ASSERT_EQ(GetObjectA(GetStockObject(NULL_BRUSH), sizeof lb, &lb), static_cast<int>(sizeof lb));
  EXPECT_EQ(lb.lbStyle, BS_NULL);
  EXPECT_EQ(GetStockObject(HOLLOW_BRUSH), GetStockObject(NULL_BRUSH));
  LOGPEN lp;
  Owned<HPEN> pen(CreatePen(PS_DASH, 1, kBlue));
  ASSERT_GT(GetObjectA(pen, sizeof lp, &lp), 0);
  EXPECT_EQ(lp.lopnStyle, PS_DASH);
  EXPECT_EQ(lp.lopnColor, kBlue);
  LOGFONTA lf;
  ASSERT_EQ(GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf),
            static_cast<int>(sizeof lf));
  EXPECT_STREQ(lf.lfFaceName, "MS Shell Dlg");
  EXPECT_EQ(GetObjectType(GetStockObject(SYSTEM_FONT)), OBJ_FONT);
  EXPECT_EQ(GetObjectType(GetStockObject(ANSI_VAR_FONT)), OBJ_FONT);
  EXPECT_FALSE(GetStockObject(99));
  BITMAP bm;
  Owned<HBITMAP> bmp(CreateBitmap(5, 3, 1, 32, nullptr));
  ASSERT_EQ(GetObjectA(bmp, sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmWidth, 5);
  EXPECT_EQ(bm.bmHeight, 3);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), GetSysColorBrush(COLOR_BTNFACE));
  EXPECT_TRUE(DeleteObject(GetSysColorBrush(COLOR_BTNFACE)));
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
  EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), RGB(128, 128, 128));
}

TEST(DeviceContexts, MemoryDCsStartMonochromeAndCompatibleBitmapsFollow) {
  const HDC mem = CreateCompatibleDC(HDC());
  BITMAP bm;
  ASSERT_GT(GetObjectA(GetCurrentObject(mem, OBJ_BITMAP), sizeof bm, &bm), 0);
  EXPECT_EQ(bm.bmWidth, 1);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  const HBITMAP fromFresh = CreateCompatibleBitmap(mem, 8, 8);
  GetObjectA(fromFresh, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  Surface colour(4, 4);
  const HBITMAP fromColour = CreateCompatibleBitmap(colour.dc(), 8, 8);
  GetObjectA(fromColour, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  // A surface DC (window or screen) is colour as well.
  auto buffer = detail::MakeColourBuffer(20, 20, RGB(0, 128, 128));
  const HDC screen = detail::CreateSurfaceDC(buffer, POINT{0, 0}, QRegion(0, 0, 20, 20));
  const HBITMAP fromScreen = CreateCompatibleBitmap(screen, 8, 8);
  GetObjectA(fromScreen, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
  EXPECT_EQ(GetDeviceCaps(mem, BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(mem, RASTERCAPS) & RC_PALETTE, 0);
  EXPECT_FALSE(DeleteDC(screen));  // surface DCs are released, not deleted
  EXPECT_TRUE(detail::ReleaseSurfaceDC(screen));
  EXPECT_FALSE(detail::ReleaseSurfaceDC(screen));
  DeleteObject(fromFresh);
  DeleteObject(fromColour);
  DeleteObject(fromScreen);
  EXPECT_TRUE(DeleteDC(mem));
  EXPECT_FALSE(DeleteDC(mem));
}

TEST(DeviceContexts, SurfaceDCsDrawAtTheirOriginWithinTheirClip) {
  auto buffer = detail::MakeColourBuffer(40, 40, kWhite);
  const HDC dc = detail::CreateSurfaceDC(buffer, POINT{10, 10}, QRegion(10, 10, 20, 20));
  Owned<HBRUSH> red(CreateSolidBrush(kRed));
  const RECT all{-50, -50, 100, 100};
  FillRect(dc, &all, red);
  const HBITMAP view = detail::AdoptBuffer(buffer);
  const QImage image = ToQImage(view);
  EXPECT_EQ(image.pixel(9, 9), 0xFFFFFFFFu);
  EXPECT_EQ(image.pixel(10, 10), 0xFFFF0000u);
  EXPECT_EQ(image.pixel(29, 29), 0xFFFF0000u);
  EXPECT_EQ(image.pixel(30, 30), 0xFFFFFFFFu);
  EXPECT_EQ(GetPixel(dc, 0, 0), kRed);
  EXPECT_EQ(GetPixel(dc, 25, 25), CLR_INVALID);
  EXPECT_TRUE(detail::ReleaseSurfaceDC(dc));
  DeleteObject(view);
}

TEST(DeviceContexts, InvalidModesAreRefusedAndLeaveTheStateAlone) {
  Surface s(10, 10);
  SetBkMode(s.dc(), TRANSPARENT);
  EXPECT_EQ(SetBkMode(s.dc(), 7), 0);
  EXPECT_EQ(SetROP2(s.dc(), 0), 0);
  EXPECT_EQ(GetBkMode(s.dc()), TRANSPARENT);
}

TEST(DeviceContexts, PalettesAreStandIns) {
  Surface s(2, 2);
  const HPALETTE halftone = CreateHalftonePalette(s.dc());
  ASSERT_TRUE(halftone);
  EXPECT_EQ(GetPaletteEntries(halftone, 0, 0, nullptr), 256u);
  const HPALETTE old = SelectPalette(s.dc(), halftone, FALSE);
  EXPECT_EQ(old, HPALETTE(GetStockObject(DEFAULT_PALETTE)));
  EXPECT_EQ(RealizePalette(s.dc()), 0u);
  EXPECT_FALSE(DeleteObject(halftone));
  SelectPalette(s.dc(), old, FALSE);
  EXPECT_TRUE(DeleteObject(halftone));
  PALETTEENTRY entries[4];
  EXPECT_EQ(GetSystemPaletteEntries(s.dc(), 0, 4, entries), 0u);
}

TEST(Bridge, BitmapsConvertToAndFromImagesAndPng) {
  QImage image(3, 2, QImage::Format_RGB32);
  image.fill(QColor(10, 20, 30));
  image.setPixel(2, 1, qRgb(255, 0, 0));
  Owned<HBITMAP> bmp(BitmapFromQImage(image));
  const HDC dc = CreateCompatibleDC(HDC());
  const HGDIOBJ old = SelectObject(dc, bmp);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(10, 20, 30));
  EXPECT_EQ(GetPixel(dc, 2, 1), kRed);
  SelectObject(dc, old);
  DeleteDC(dc);
  EXPECT_EQ(ToQImage(bmp.get()).pixel(2, 1), qRgb(255, 0, 0));
  EXPECT_TRUE(ToQImage(HBITMAP()).isNull());
  testsupport::TempDir dir;
  const std::string path = (dir.path() / "picture.png").string();
  ASSERT_TRUE(SaveBitmapPng(bmp, path));
  QImage back(QString::fromStdString(path));
  ASSERT_EQ(back.size(), QSize(3, 2));
  EXPECT_EQ(back.pixel(2, 1), qRgb(255, 0, 0));
  EXPECT_FALSE(SaveBitmapPng(HBITMAP(), path));
  EXPECT_FALSE(SaveBitmapPng(bmp, (dir.path() / "missing" / "x.png").string()));
}

TEST(Bridge, MetafilesReplayWhatWasDrawn) {
  const HDC rec = CreateEnhMetaFileA(HDC(), nullptr, nullptr, nullptr);
  ASSERT_TRUE(rec);
  Owned<HBRUSH> red(CreateSolidBrush(kRed));
  const RECT r{0, 0, 4, 2};
  FillRect(rec, &r, red);
  const HENHMETAFILE emf = CloseEnhMetaFile(rec);
  ASSERT_TRUE(emf);
  Surface s(10, 10);
  const RECT target{2, 2, 10, 6};
  EXPECT_TRUE(PlayEnhMetaFile(s.dc(), emf, &target));
  EXPECT_EQ(s.at(2, 2), kRed);
  EXPECT_EQ(s.at(9, 5), kRed);
  EXPECT_EQ(s.at(1, 1), kWhite);
  EXPECT_TRUE(DeleteEnhMetaFile(emf));
  EXPECT_FALSE(PlayEnhMetaFile(s.dc(), emf, &target));
}

TEST(Bridge, MetafileHeadersTellTheFrame) {
  ENHMETAHEADER header;
  // A frame given when recording comes back as given, in 0.01 mm.
  const RECT frame{0, 0, 2540, 1270};
  HDC rec = CreateEnhMetaFileA(HDC(), nullptr, &frame, nullptr);
  ASSERT_TRUE(rec);
  Rectangle(rec, 0, 0, 5, 5);
  HENHMETAFILE emf = CloseEnhMetaFile(rec);
  EXPECT_EQ(GetEnhMetaFileHeader(emf, 0, nullptr), sizeof(ENHMETAHEADER));
  EXPECT_EQ(GetEnhMetaFileHeader(emf, sizeof header - 1, &header), 0u) << "too small a buffer";
  ASSERT_EQ(GetEnhMetaFileHeader(emf, sizeof header, &header), sizeof(ENHMETAHEADER));
  EXPECT_EQ(header.iType, EMR_HEADER);
  EXPECT_EQ(header.dSignature, ENHMETA_SIGNATURE);
  EXPECT_EQ(header.rclFrame, frame);
  DeleteEnhMetaFile(emf);
  EXPECT_EQ(GetEnhMetaFileHeader(emf, sizeof header, &header), 0u) << "a deleted metafile";
  EXPECT_EQ(GetEnhMetaFileHeader(HENHMETAFILE(), sizeof header, &header), 0u);

  // Without a frame, or with one that cannot be used, the frame is what was
  // drawn: pixels 2 to 5 across and 3 to 4 down.
  const RECT inverted{2540, 0, 0, 1270};
  for (const RECT* given : {static_cast<const RECT*>(nullptr), &inverted}) {
    rec = CreateEnhMetaFileA(HDC(), nullptr, given, nullptr);
    Owned<HBRUSH> red(CreateSolidBrush(kRed));
    const RECT drawn{2, 3, 6, 5};
    FillRect(rec, &drawn, red);
    emf = CloseEnhMetaFile(rec);
    ASSERT_EQ(GetEnhMetaFileHeader(emf, sizeof header, &header), sizeof(ENHMETAHEADER));
    EXPECT_EQ(header.rclFrame, (RECT{53, 79, 159, 132})) << (given ? "inverted" : "none");
    DeleteEnhMetaFile(emf);
  }

  // Nothing drawn and no frame: an empty frame.
  emf = CloseEnhMetaFile(CreateEnhMetaFileA(HDC(), nullptr, nullptr, nullptr));
  ASSERT_EQ(GetEnhMetaFileHeader(emf, sizeof header, &header), sizeof(ENHMETAHEADER));
  EXPECT_EQ(header.rclFrame, RECT());
  DeleteEnhMetaFile(emf);
}
