// Picture objects over drawing handles, colour translation, font objects
// and what property bags carry: byte arrays and nested bags.

#include <gtest/gtest.h>

#include <QJsonObject>
#include <optional>

#include "forms/forms.h"
#include "forms/ole.h"
#include "forms/std_font.h"
#include "win/gdi.h"
#include "win/qt_bridge.h"

using namespace forms;

namespace {

win::HBITMAP RedBitmap(int w, int h) {
  const win::HDC screen = win::GetDC(win::HWND());
  const win::HBITMAP bmp = win::CreateCompatibleBitmap(screen, w, h);
  const win::HDC mem = win::CreateCompatibleDC(screen);
  const win::HGDIOBJ old = win::SelectObject(mem, bmp);
  const win::HBRUSH red = win::CreateSolidBrush(win::RGB(255, 0, 0));
  const win::RECT r{0, 0, w, h};
  win::FillRect(mem, &r, red);
  win::DeleteObject(red);
  win::SelectObject(mem, old);
  win::DeleteDC(mem);
  win::ReleaseDC(win::HWND(), screen);
  return bmp;
}

win::HICON SmallIcon() {
  QImage img(16, 16, QImage::Format_ARGB32);
  img.fill(QColor(0, 0, 255));
  return win::IconFromQImage(img);
}

}  // namespace

TEST(OlePicture, OwnedHandlesAreTakenOverAndFreedWithTheLastCopy) {
  const win::HBITMAP bmp = RedBitmap(32, 16);
  PICTDESC desc;
  desc.picType = PICTYPE_BITMAP;
  desc.hbitmap = bmp;
  {
    Picture pic;
    ASSERT_EQ(OleCreatePictureIndirect(&desc, win::TRUE, &pic), S_OK);
    EXPECT_EQ(pic.Type(), Picture::Kind::Bitmap);
    EXPECT_EQ(pic.Handle(), bmp.value) << "the picture holds the handle itself, not a copy";
    // 32 x 16 pixels at 96 dots per inch, in hundredths of a millimetre.
    EXPECT_EQ(pic.Width(), 847);
    EXPECT_EQ(pic.Height(), 423);
    EXPECT_EQ(pic.Image().pixelColor(5, 5), QColor(255, 0, 0));
    Picture copy = pic;
    pic = Picture();
    EXPECT_EQ(win::GetObjectType(bmp), win::OBJ_BITMAP) << "a copy still holds it";
  }
  EXPECT_EQ(win::GetObjectType(bmp), 0u) << "the last copy frees an owned bitmap";

  const win::HICON icon = SmallIcon();
  PICTDESC idesc;
  idesc.cbSizeofstruct = 12;
  idesc.picType = PICTYPE_ICON;
  idesc.hicon = icon;
  {
    Picture pic;
    ASSERT_EQ(OleCreatePictureIndirect(&idesc, win::TRUE, &pic), S_OK);
    EXPECT_EQ(pic.Type(), Picture::Kind::Icon);
    EXPECT_EQ(pic.Icon(), icon);
    EXPECT_EQ(pic.Width(), 423);
  }
  win::ICONINFO info;
  EXPECT_FALSE(win::GetIconInfo(icon, &info)) << "an owned icon is destroyed";
}

TEST(OlePicture, AnIconsColourAndMaskBitmapsBecomePicturesAndAnIconAgain) {
  // What a control does to store an icon: its two bitmaps as pictures.
  const win::HICON icon = SmallIcon();
  win::ICONINFO info;
  ASSERT_TRUE(win::GetIconInfo(icon, &info));
  Picture colour, mask;
  PICTDESC desc;
  desc.picType = PICTYPE_BITMAP;
  desc.hbitmap = info.hbmColor;
  ASSERT_EQ(OleCreatePictureIndirect(&desc, win::TRUE, &colour), S_OK);
  desc.hbitmap = info.hbmMask;
  ASSERT_EQ(OleCreatePictureIndirect(&desc, win::TRUE, &mask), S_OK) << "a monochrome mask";
  EXPECT_EQ(mask.PixelWidth(), 16);
  win::ICONINFO again{};
  again.fIcon = win::TRUE;
  again.hbmColor = colour.Bitmap();
  again.hbmMask = mask.Bitmap();
  const win::HICON rebuilt = win::CreateIconIndirect(&again);
  ASSERT_TRUE(rebuilt);
  PICTDESC idesc;
  idesc.picType = PICTYPE_ICON;
  idesc.hicon = rebuilt;
  Picture pic;
  ASSERT_EQ(OleCreatePictureIndirect(&idesc, win::TRUE, &pic), S_OK);
  EXPECT_EQ(pic.Type(), Picture::Kind::Icon);
  EXPECT_EQ(pic.Image().pixelColor(8, 8), QColor(0, 0, 255));
  win::DestroyIcon(icon);
}

TEST(OlePicture, LentHandlesStayTheCallers) {
  const win::HBITMAP bmp = RedBitmap(4, 4);
  const win::HICON icon = SmallIcon();
  {
    PICTDESC desc;
    desc.picType = PICTYPE_BITMAP;
    desc.hbitmap = bmp;
    Picture pic;
    ASSERT_EQ(OleCreatePictureIndirect(&desc, win::FALSE, &pic), S_OK);
    EXPECT_EQ(pic.Bitmap(), bmp);
    desc.picType = PICTYPE_ICON;
    desc.hicon = icon;
    ASSERT_EQ(OleCreatePictureIndirect(&desc, win::FALSE, &pic), S_OK);
  }
  EXPECT_EQ(win::GetObjectType(bmp), win::OBJ_BITMAP);
  win::ICONINFO info;
  ASSERT_TRUE(win::GetIconInfo(icon, &info));
  win::DeleteObject(info.hbmMask);
  win::DeleteObject(info.hbmColor);
  win::DestroyIcon(icon);
  win::DeleteObject(bmp);
}

TEST(OlePicture, EmptyAndBadDescriptions) {
  Picture pic = LoadPicture();
  EXPECT_EQ(OleCreatePictureIndirect(nullptr, win::TRUE, &pic), S_OK);
  EXPECT_FALSE(pic);
  EXPECT_EQ(pic.Type(), Picture::Kind::None);
  EXPECT_EQ(pic.Width(), 0);
  PICTDESC desc;
  EXPECT_EQ(OleCreatePictureIndirect(&desc, win::TRUE, &pic), S_OK);
  EXPECT_FALSE(pic);
  EXPECT_EQ(OleCreatePictureIndirect(&desc, win::TRUE, nullptr), E_POINTER);
  desc.picType = PICTYPE_BITMAP;
  desc.hbitmap = win::HBITMAP(0xDEAD);
  EXPECT_EQ(OleCreatePictureIndirect(&desc, win::TRUE, &pic), E_INVALIDARG);
  EXPECT_FALSE(pic);
  desc.picType = PICTYPE_METAFILE;
  EXPECT_EQ(OleCreatePictureIndirect(&desc, win::TRUE, &pic), E_INVALIDARG);
  desc.picType = 9;
  EXPECT_EQ(OleCreatePictureIndirect(&desc, win::TRUE, &pic), E_INVALIDARG);
  desc.picType = PICTYPE_BITMAP;
  desc.hbitmap = RedBitmap(2, 2);
  desc.cbSizeofstruct = 4;
  EXPECT_EQ(OleCreatePictureIndirect(&desc, win::TRUE, &pic), E_INVALIDARG);
  EXPECT_EQ(win::GetObjectType(desc.hbitmap), win::OBJ_BITMAP) << "a refused handle is not taken";
  win::DeleteObject(desc.hbitmap);
}

TEST(OlePicture, MetafilesKeepTheirType) {
  const win::HDC rec = win::CreateEnhMetaFileA(win::HDC(), nullptr, nullptr, nullptr);
  win::Rectangle(rec, 0, 0, 10, 10);
  const win::HENHMETAFILE emf = win::CloseEnhMetaFile(rec);
  PICTDESC desc;
  desc.cbSizeofstruct = 12;
  desc.picType = PICTYPE_ENHMETAFILE;
  desc.hemf = emf;
  {
    Picture pic;
    ASSERT_EQ(OleCreatePictureIndirect(&desc, win::TRUE, &pic), S_OK);
    EXPECT_EQ(pic.Type(), Picture::Kind::EnhMetafile);
    EXPECT_EQ(pic.Handle(), emf.value);
    // Recorded without a frame: the drawn 10 x 10 pixels.
    EXPECT_EQ(pic.Width(), 265);
    EXPECT_EQ(pic.Height(), 265);
  }
  EXPECT_EQ(win::GetObjectType(emf), 0u);
}

TEST(OlePicture, MetafilesMeasureTheirFrame) {
  const win::RECT frame{500, 1000, 5580, 3540};
  const win::HDC rec = win::CreateEnhMetaFileA(win::HDC(), nullptr, &frame, nullptr);
  win::Rectangle(rec, 0, 0, 3, 3);
  const win::HENHMETAFILE emf = win::CloseEnhMetaFile(rec);
  PICTDESC desc;
  desc.picType = PICTYPE_ENHMETAFILE;
  desc.hemf = emf;
  Picture pic;
  ASSERT_EQ(OleCreatePictureIndirect(&desc, win::FALSE, &pic), S_OK);
  EXPECT_EQ(pic.Width(), 5080);
  EXPECT_EQ(pic.Height(), 2540);
  EXPECT_EQ(pic.PixelWidth(), 0) << "a metafile holds no pixels of its own";
  // A picture that only borrows the handle leaves it alive.
  pic = Picture();
  EXPECT_EQ(win::GetObjectType(emf), win::OBJ_ENHMETAFILE);
  win::DeleteEnhMetaFile(emf);
}

TEST(OleColour, TranslationRules) {
  win::COLORREF rgb = 0x12345678;
  EXPECT_EQ(OleTranslateColor(0x00FF00FF, win::HPALETTE(), &rgb), S_OK);
  EXPECT_EQ(rgb, 0x00FF00FFu);
  // System colours by index follow the system's current values.
  EXPECT_EQ(OleTranslateColor(0x8000000F, win::HPALETTE(), &rgb), S_OK);
  EXPECT_EQ(rgb, win::GetSysColor(15));
  EXPECT_EQ(OleTranslateColor(0x80000005, win::HPALETTE(), &rgb), S_OK);
  EXPECT_EQ(rgb, win::GetSysColor(5));
  // A plain colour passes through a palette unchanged.
  const win::HDC screen = win::GetDC(win::HWND());
  const win::HPALETTE halftone = win::CreateHalftonePalette(screen);
  win::ReleaseDC(win::HWND(), screen);
  EXPECT_EQ(OleTranslateColor(0x00123456, halftone, &rgb), S_OK);
  EXPECT_EQ(rgb, 0x00123456u);
  // Palette-relative: its RGB part; a palette index: that entry.
  EXPECT_EQ(OleTranslateColor(0x02102030, win::HPALETTE(), &rgb), S_OK);
  EXPECT_EQ(rgb, 0x00102030u);
  win::PALETTEENTRY entry;
  ASSERT_EQ(win::GetPaletteEntries(halftone, 3, 1, &entry), 1u);
  EXPECT_EQ(OleTranslateColor(0x01000003, halftone, &rgb), S_OK);
  EXPECT_EQ(rgb, win::RGB(entry.peRed, entry.peGreen, entry.peBlue));

  // Failures leave the result alone.
  rgb = 0xABCDEF;
  EXPECT_EQ(OleTranslateColor(0x01000003, win::HPALETTE(), &rgb), E_INVALIDARG);
  EXPECT_EQ(OleTranslateColor(0x0100FFFF, halftone, &rgb), E_INVALIDARG);
  EXPECT_EQ(OleTranslateColor(0x80000100, win::HPALETTE(), &rgb), E_INVALIDARG);
  EXPECT_EQ(OleTranslateColor(0x800000FF, win::HPALETTE(), &rgb), E_INVALIDARG);
  EXPECT_EQ(OleTranslateColor(0xFFFFFFFF, win::HPALETTE(), &rgb), E_INVALIDARG);
  EXPECT_EQ(OleTranslateColor(0x40000000, win::HPALETTE(), &rgb), E_INVALIDARG);
  EXPECT_EQ(rgb, 0xABCDEFu);
  EXPECT_EQ(OleTranslateColor(0x8000000F, win::HPALETTE(), nullptr), S_OK);
  win::DeleteObject(halftone);
}

TEST(StdFont, ChangesAreReportedToEachListenerUntilItGoes) {
  auto font = StdFont::Create(Font{.Name = "Tahoma", .Size = 8});
  std::vector<std::string> heard;
  auto sub = font->FontChanged([&](std::string_view p) { heard.emplace_back(p); });
  font->Bold(true);
  font->Bold(true);  // no change
  font->Size(9.123456);
  font->Name("Arial");
  font->Weight(300);
  font->Italic(true);
  font->Underline(true);
  font->Strikethrough(true);
  font->Charset(136);
  EXPECT_EQ(heard, (std::vector<std::string>{"Bold", "Size", "Name", "Weight", "Italic",
                                             "Underline", "Strikethrough", "Charset"}));
  // Weight is kept apart from Bold.
  EXPECT_TRUE(font->Bold());
  EXPECT_EQ(font->Weight(), 300);
  EXPECT_DOUBLE_EQ(font->Size(), static_cast<float>(9.1235));
  const Font v = font->Value();
  EXPECT_EQ(v.StoredWeight, 300);
  EXPECT_TRUE(v.Bold);
  EXPECT_EQ(v.Weight(), 700) << "a bold face draws at least bold";
  EXPECT_EQ(StdFont(v).Weight(), 300);

  {
    StdFont::Subscription moved = std::move(sub);
    font->Italic(false);
  }
  font->Italic(true);  // the listener is gone
  EXPECT_EQ(heard.size(), 9u);
}

TEST(StdFont, AListenerMayLeaveWhileItIsTold) {
  StdFont font;
  std::optional<StdFont::Subscription> sub;
  int calls = 0;
  sub = font.FontChanged([&](std::string_view) {
    ++calls;
    sub.reset();
  });
  font.Bold(true);
  font.Bold(false);
  EXPECT_EQ(calls, 1);
}

TEST(PropertyBag, ByteArraysAndNestedBagsAreValues) {
  PropertyBag inner;
  QImage img(3, 2, QImage::Format_ARGB32);
  img.fill(QColor(1, 2, 3));
  inner.WriteProperty("c", Picture::FromImage(img));
  inner.WriteProperty("m", Picture());
  inner.WriteProperty("n", 7);
  const ByteArray bytes{0, 1, 2, 255, 0, 'x'};
  inner.WriteProperty("raw", bytes);

  PropertyBag outer;
  outer.WriteProperty("Bmp:1", inner.Contents());
  outer.WriteProperty("Key:1", "#mnu_file");
  // The outer bag goes through the form's stored form and back.
  PropertyBag again = PropertyBag::FromJson(outer.ToJson());
  const Value stored = again.ReadProperty("Bmp:1");
  ASSERT_TRUE(stored.IsByteArray());
  PropertyBag back = PropertyBag::FromContents(stored.ToByteArray());
  EXPECT_EQ(back.Names(), (std::vector<std::string>{"c", "m", "n", "raw"}));
  EXPECT_EQ(back.ReadProperty("c").ToPicture().Image().pixelColor(2, 1), QColor(1, 2, 3));
  EXPECT_FALSE(back.ReadProperty("m", Picture()).ToPicture());
  EXPECT_EQ(back.ReadProperty("n").ToLong(), 7);
  EXPECT_EQ(back.ReadProperty("raw").ToByteArray(), bytes);
  EXPECT_EQ(again.ReadProperty("Key:1").ToString(), "#mnu_file");

  // Text is not a byte array of a bag; a damaged one is reported.
  EXPECT_THROW(PropertyBag::FromContents(Value("not a bag").ToByteArray()), RuntimeError);
  try {
    PropertyBag::FromContents(ByteArray{'[', '1', ']'});
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::InvalidPropertyValue);
  }
  EXPECT_THROW(Value(bytes).ToLong(), RuntimeError);
  EXPECT_TRUE(PropertyBag::FromContents(PropertyBag().Contents()).Names().empty());
}

TEST(PropertyBag, AFontObjectsValueAtItsDefaultIsNotStored) {
  const Font tahoma{.Name = "Tahoma", .Size = 8};
  auto font = StdFont::Create(tahoma);
  PropertyBag bag;
  bag.WriteProperty("Font", font->Value(), tahoma);
  EXPECT_FALSE(bag.Contains("Font"));
  font->Weight(300);
  bag.WriteProperty("Font", font->Value(), tahoma);
  EXPECT_TRUE(bag.Contains("Font"));
}

TEST(PropertyBag, FontsKeepTheirWeight) {
  Font f{.Name = "Tahoma", .Size = 8, .Bold = true, .StoredWeight = 400};
  PropertyBag bag;
  bag.WriteProperty("Font", f);
  const Font back = PropertyBag::FromContents(bag.Contents()).ReadProperty("Font").ToFont();
  EXPECT_EQ(back, f);
}
