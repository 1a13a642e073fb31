// The menu control as hosts see it: menu keys and the picture list, the
// stored properties, the font, the shared state, binding to a window and
// giving the menus back.

#include <gtest/gtest.h>

#include <thread>

#include "menu_colours.h"
#include "menu_infos.h"
#include "module_state.h"
#include "page_bitmaps.h"
#include "viro_dazu_host.h"

using namespace ornatek;
using ornatektest::MenuHost;
using ornatektest::SolidIcon;
using ornatektest::SolidPicture;

namespace {

struct Control : testing::Test {
  void SetUp() override { ornatektest::UseLinkedControl(); }
};

win::UINT ItemType(win::HMENU menu, int position) {
  win::MENUITEMINFOA info;
  info.fMask = win::MIIM_FTYPE | win::MIIM_DATA;
  win::GetMenuItemInfoA(menu, static_cast<win::UINT>(position), win::TRUE, &info);
  return info.fType;
}

std::string ItemText(win::HMENU menu, int position) {
  char text[256] = {};
  win::GetMenuStringA(menu, static_cast<win::UINT>(position), text, 255, win::MF_BYPOSITION);
  return text;
}

}  // namespace

TEST_F(Control, SetBitmapKeepsOneEntryPerItemUnderItsMenuKey) {
  MenuHost host;
  host.Load();
  VIroDazu& c = host.Control();
  const auto red = SolidPicture(16, 0x0000FF), blue = SolidPicture(16, 0xFF0000);
  c.SetBitmap(host.Item("mnuOpen"), red);
  c.SetBitmap(host.Item("mnuRecent", 3), blue, 0x00FF00);
  ASSERT_EQ(c.Bitmaps().Count(), 2);
  EXPECT_EQ(c.Bitmaps().Item(1).Key, "#mnuOpen");
  EXPECT_EQ(c.Bitmaps().Item(1).MaskColor, 0xFF00FFu);
  EXPECT_EQ(c.Bitmaps().Item(2).Key, "#mnuRecent:3");
  EXPECT_EQ(c.Bitmaps().Item(2).MaskColor, 0x00FF00u);

  // A newer assignment moves the entry to the end; keys ignore case.
  c.SetBitmapByCaption("MNUOPEN", blue);
  ASSERT_EQ(c.Bitmaps().Count(), 2);
  EXPECT_EQ(c.Bitmaps().Item(2).Key, "#MNUOPEN");
  EXPECT_TRUE(c.Bitmaps().Item(2).Picture == blue);
  // No picture removes the entry and adds nothing.
  c.SetBitmap(host.Item("mnuOpen"), forms::Picture());
  ASSERT_EQ(c.Bitmaps().Count(), 1);
  EXPECT_EQ(c.Bitmaps().Item(1).Key, "#mnuRecent:3");
  c.SetBitmap(host.Item("mnuOpen"), forms::Picture());
  EXPECT_EQ(c.Bitmaps().Count(), 1);

  // What the icon page sees: menu items in form order, a copy of the list.
  const auto menus = c.GetMenuControls();
  ASSERT_EQ(menus.size(), 3u);
  EXPECT_EQ(menus[0]->Name(), "mnuFile");
  BitmapList copy = c.GetBitmapList();
  copy.Clear();
  EXPECT_EQ(c.Bitmaps().Count(), 1);
  c.SetBitmapList(copy);
  EXPECT_EQ(c.Bitmaps().Count(), 0);
  forms::Unload(host);
}

TEST_F(Control, PropertyBagRoundTripKeepsEntriesIconsAndFont) {
  MenuHost host;
  host.Load();
  VIroDazu& c = host.Control();
  {
    const forms::PropertyBag fresh = c.SaveProperties();
    EXPECT_EQ(fresh.ReadProperty("BmpCount", -1).ToLong(), 0);
    EXPECT_FALSE(fresh.Contains("Bmp:1"));
    EXPECT_FALSE(fresh.Contains("Font")) << "the default font is not stored";
    EXPECT_FALSE(fresh.Contains("SelectDisabled"));
  }
  c.SetBitmap(host.Item("mnuOpen"), SolidPicture(16, 0x0000FF));
  c.SetBitmap(host.Item("mnuRecent", 3), SolidIcon(16, 0xFF0000), 0);
  c.SelectDisabled(false);
  forms::StdFont bold;
  bold.Name("Verdana");
  bold.Size(10);
  bold.Bold(true);
  c.Font(bold);
  const forms::PropertyBag bag = c.SaveProperties();
  EXPECT_EQ(bag.ReadProperty("BmpCount").ToLong(), 2);
  EXPECT_EQ(bag.ReadProperty("Key:2").ToString(), "#mnuRecent:3");
  EXPECT_EQ(bag.ReadProperty("Mask:1").ToLong(), 0xFF00FF);
  EXPECT_FALSE(bag.Contains("Mask:2")) << "a mask of 0 is the default";
  EXPECT_FALSE(bag.ReadProperty("SelectDisabled", true).ToBool());
  EXPECT_FALSE(bag.ReadProperty("Bmp:1").IsByteArray()) << "a bitmap is stored as itself";
  ASSERT_TRUE(bag.ReadProperty("Bmp:2").IsByteArray()) << "an icon is a nested bag";
  const auto nested = forms::PropertyBag::FromContents(bag.ReadProperty("Bmp:2").ToByteArray());
  EXPECT_EQ(nested.Names(), (std::vector<std::string>{"c", "m"}));
  EXPECT_EQ(bag.ReadProperty("Font").ToFont().Name, "Verdana");
  // Keys in the order they are written, the three of an entry together.
  const auto names = bag.Names();
  const std::vector<std::string> expected{"SelectDisabled", "BmpCount", "Bmp:1", "Mask:1",
                                          "Key:1",          "Bmp:2",    "Key:2", "Font"};
  EXPECT_EQ(names, expected);

  // A second control reads the bag back.
  forms::ControlSite site;
  site.type = kVIroDazuProgId;
  site.name = "Reader";
  site.container = &host;
  site.form = &host;
  site.bag = std::make_shared<forms::PropertyBag>(bag);
  {
    VIroDazu reader(site);
    reader.InitOrReadProperties();
    EXPECT_FALSE(reader.SelectDisabled());
    ASSERT_EQ(reader.Bitmaps().Count(), 2);
    EXPECT_EQ(reader.Bitmaps().Item(1).Key, "#mnuOpen");
    EXPECT_EQ(reader.Bitmaps().Item(1).Picture.Type(), forms::Picture::Kind::Bitmap);
    EXPECT_EQ(reader.Bitmaps().Item(1).MaskColor, 0xFF00FFu);
    const forms::Picture icon = reader.Bitmaps().Item(2).Picture;
    ASSERT_EQ(icon.Type(), forms::Picture::Kind::Icon);
    cMemDC paint;
    paint.Init(16, 16);
    paint.PaintPicture(icon);
    EXPECT_EQ(paint.GetPixel(8, 8), 0xFF0000u) << "the icon's colour survived";
    EXPECT_EQ(reader.Bitmaps().Item(2).MaskColor, 0u);
    EXPECT_EQ(reader.Font()->Name(), "Verdana");
    EXPECT_TRUE(reader.Font()->Bold());
    reader.Terminate();
  }
  // A bag without a count gives an empty list; a bad entry is skipped.
  forms::PropertyBag sparse;
  sparse.WriteProperty("BmpCount", 2);
  sparse.WriteProperty("Key:1", "#same");
  sparse.WriteProperty("Key:2", "#SAME");
  site.bag = std::make_shared<forms::PropertyBag>(sparse);
  {
    VIroDazu reader(site);
    reader.InitOrReadProperties();
    ASSERT_EQ(reader.Bitmaps().Count(), 1) << "a key already present is not added again";
    EXPECT_FALSE(reader.Bitmaps().Item(1).Picture) << "an entry without a picture is kept";
    reader.Terminate();
  }
  forms::Unload(host);
}

TEST_F(Control, FontSetCopiesIntoTheSameObjectAndMeasuresAgain) {
  MenuHost host;
  host.Load();
  VIroDazu& c = host.Control();
  const auto before = c.Font();
  EXPECT_EQ(before->Name(), "Tahoma");
  EXPECT_EQ(before->Size(), 8);
  c.UseSystemFont(false);
  const int small = Module().ImageColumnWidth;
  forms::StdFont large;
  large.Name("Tahoma");
  large.Size(28);
  large.Bold(true);
  large.Italic(true);
  large.Weight(800);
  c.Font(large);
  EXPECT_EQ(c.Font(), before) << "the font object is never replaced";
  EXPECT_TRUE(before->Bold());
  EXPECT_TRUE(before->Italic());
  EXPECT_EQ(before->Weight(), 800);
  EXPECT_GT(Module().ImageColumnWidth, small);
  // A change made straight on the font object (the font page) measures again.
  before->Size(8);
  EXPECT_EQ(Module().ImageColumnWidth, small);
  forms::Unload(host);
}

TEST_F(Control, BitmapSizeIsSharedByTheThreadAndStateIsPerThread) {
  MenuHost a, b;
  a.Load();
  b.Load();
  a.Control().BitmapSize(24);
  EXPECT_EQ(b.Control().BitmapSize(), 24);
  EXPECT_EQ(Module().ImageColumnWidth, 31) << "the item height follows the picture size";
  int other = 0;
  std::thread([&] { other = Module().SharedBitmapSize; }).join();
  EXPECT_EQ(other, 16) << "another thread has its own state";
  a.Control().BitmapSize(16);
  forms::Unload(a);
  forms::Unload(b);
}

TEST_F(Control, InitTwiceKeepsTheHookCountBalanced) {
  const int before = Module().HookInstallCount;
  {
    MenuHost host;
    host.Load();
    EXPECT_EQ(Module().HookInstallCount, before + 1);
    win::HWND w = host.hWnd();
    host.Control().Init(w);
    EXPECT_EQ(Module().HookInstallCount, before + 1) << "a window already bound registers once";
    MenuHost other;
    other.Load();
    win::HWND second = other.hWnd();
    host.Control().Init(second);
    EXPECT_EQ(Module().HookInstallCount, before + 3);
    EXPECT_TRUE(Module().SharedSubClass->IsWindowSubClassedByMe(w)) << "the first stays subclassed";
    forms::Unload(host);
    EXPECT_EQ(Module().HookInstallCount, before + 1);
    forms::Unload(other);
  }
  EXPECT_EQ(Module().HookInstallCount, before);
}

TEST_F(Control, ConversionRecordsItemsAndTerminateRestoresThem) {
  MenuHost host;
  host.Load();
  const win::HMENU bar = win::GetMenu(host.hWnd());
  const win::HMENU popup = host.Item("mnuFile").SubMenu();
  ASSERT_TRUE(bar && popup);
  win::AppendMenuA(popup, win::MF_SEPARATOR, 0, nullptr);
  win::AppendMenuA(popup, win::MF_STRING, 901, "&Save\tCtrl+S");
  win::MENUITEMINFOA radio;
  radio.fMask = win::MIIM_FTYPE | win::MIIM_ID | win::MIIM_STRING;
  radio.fType = win::MFT_RADIOCHECK;
  radio.wID = 902;
  char radioText[] = "Radio";
  radio.dwTypeData = radioText;
  win::InsertMenuItemA(popup, 99, win::TRUE, &radio);
  EXPECT_EQ(ItemType(bar, 0), win::MFT_OWNERDRAW) << "Init converted the bar";

  VIroDazu& c = host.Control();
  const int stored = MenuInfoStore().Count();
  c.pvInitMenu(popup, false);
  EXPECT_EQ(MenuInfoStore().Count(), stored + 4) << "the radio item gets no record";
  for (int p = 0; p < 5; ++p) EXPECT_EQ(ItemType(popup, p), win::MFT_OWNERDRAW) << p;
  win::MENUITEMINFOA sep;
  sep.fMask = win::MIIM_DATA;
  win::GetMenuItemInfoA(popup, 2, win::TRUE, &sep);
  const auto record = LoadMenuInfo(static_cast<std::int64_t>(sep.dwItemData));
  ASSERT_TRUE(record);
  EXPECT_EQ(record->lType, 0x800);
  EXPECT_EQ(record->sText, "");
  // Again: same records, the type kept from the first pass.
  c.pvInitMenu(popup, false);
  EXPECT_EQ(MenuInfoStore().Count(), stored + 4);
  win::MENUITEMINFOA again;
  again.fMask = win::MIIM_DATA;
  win::GetMenuItemInfoA(popup, 2, win::TRUE, &again);
  EXPECT_EQ(again.dwItemData, sep.dwItemData);
  EXPECT_EQ(LoadMenuInfo(static_cast<std::int64_t>(again.dwItemData))->lType, 0x800);
  EXPECT_FALSE(LoadMenuInfo(0));
  EXPECT_FALSE(LoadMenuInfo(MenuInfoStore().Count() + 1));

  forms::Unload(host);
  EXPECT_EQ(ItemType(popup, 0), win::MFT_STRING);
  EXPECT_EQ(ItemText(popup, 0), "&Open");
  EXPECT_EQ(ItemType(popup, 2), win::MFT_SEPARATOR);
  EXPECT_EQ(ItemText(popup, 3), "&Save\tCtrl+S");
  EXPECT_EQ(ItemType(bar, 0), win::MFT_STRING);
}

TEST(MenuColours, BlendAndLuminance) {
  EXPECT_EQ(BlendColor(0xFFFFFF, 0x000000, 128), 0x808080u);
  EXPECT_EQ(BlendColor(0xFFFFFF, 0x000000, 255), 0xFFFFFFu);
  EXPECT_EQ(BlendColor(0xFFFFFF, 0x000000, 0), 0x000000u);
  // 127.5 rounds to the even neighbour 128; 0.5 to 0.
  EXPECT_EQ(BlendColor(0x0000FF, 0x000000, 255 / 2), 0x00007Fu);
  EXPECT_EQ(BlendColor(kColorWindow, 0, 255), win::GetSysColor(win::COLOR_WINDOW));
  EXPECT_EQ(ColorLuminance(0x0000FF), 76);
  EXPECT_EQ(ColorLuminance(0xFFFFFF), 255);
  EXPECT_EQ(ColorLuminance(0), 0);
}

TEST_F(Control, BuiltinIconsByTag) {
  MenuHost host;
  host.Load();
  VIroDazu& c = host.Control();
  for (const char* tag : {"arrow", "checkmark", "close", "maximize", "minimize", "Next1", "next",
                          "Previous1", "previous", "question", "restore"}) {
    const forms::Picture icon = c.GetBuiltinIcon(tag);
    ASSERT_TRUE(icon) << tag;
    EXPECT_EQ(icon.Type(), forms::Picture::Kind::Icon);
    EXPECT_EQ(icon.PixelWidth(), 16);
  }
  EXPECT_TRUE(c.GetBuiltinIcon("CLOSE") == c.GetBuiltinIcon("close"));
  // "next" points right and "previous" left: the tip, the narrowest column
  // of ink, is on the side the arrow points to.
  const auto inkColumns = [&](const char* tag) {
    cMemDC dc;
    dc.Init(16, 16);
    dc.Cls(kWhite);
    dc.PaintPicture(c.GetBuiltinIcon(tag));
    std::vector<int> columns;
    for (int x = 0; x < 16; ++x) {
      int ink = 0;
      for (int y = 0; y < 16; ++y) ink += dc.GetPixel(x, y) == 0 ? 1 : 0;
      if (ink) columns.push_back(ink);
    }
    return columns;
  };
  const auto next = inkColumns("next"), previous = inkColumns("previous");
  ASSERT_GE(next.size(), 3u);
  ASSERT_GE(previous.size(), 3u);
  EXPECT_LT(next.back(), next.front()) << "next: the tip on the right";
  EXPECT_LT(previous.front(), previous.back()) << "previous: the tip on the left";
  // Its height is fixed at the edge width and 32 pixels; at run time only the menus show.
  EXPECT_FLOAT_EQ(c.Height(), static_cast<float>((c.EdgeWidth() + 32) * 15));
  EXPECT_FALSE(c.Visible());
  EXPECT_FALSE(c.GetBuiltinIcon("nothing"));
  forms::Unload(host);
}

TEST_F(Control, KeepsItsSizeHiddenOrShown) {
  MenuHost host;
  host.Load();
  VIroDazu& c = host.Control();
  const float side = static_cast<float>((c.EdgeWidth() + 32) * 15);
  EXPECT_FLOAT_EQ(c.Width(), side) << "the form's design width gives way";
  EXPECT_FLOAT_EQ(c.Height(), side);
  // At run time only the menus show; a resize is set back all the same.
  ASSERT_FALSE(c.Visible());
  c.Move(c.Left(), c.Top(), 3000, 900);
  EXPECT_FLOAT_EQ(c.Width(), side);
  EXPECT_FLOAT_EQ(c.Height(), side);
  // Shown, as a designer shows it on its form.
  host.Show();
  c.Visible(true);
  c.Width(2000);
  EXPECT_FLOAT_EQ(c.Width(), side);
  c.Height(100);
  EXPECT_FLOAT_EQ(c.Height(), side);
  forms::Unload(host);
}

TEST(ControlPages, TheIconPageAndTheStandardFontPage) {
  const auto pages = PropertyPages();
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_NE(dynamic_cast<pagBitmaps*>(pages[0].get()), nullptr);
  EXPECT_EQ(dynamic_cast<pagBitmaps*>(pages[1].get()), nullptr);
}
