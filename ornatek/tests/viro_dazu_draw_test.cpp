// Measuring and painting menu items, pixel by pixel, on a surface standing
// in for the menu's device context.

#include <gtest/gtest.h>

#include "menu_colours.h"
#include "module_state.h"
#include "testsupport/menu_driver.h"
#include "viro_dazu_host.h"

using namespace ornatek;
using namespace win;
using ornatektest::MenuHost;
using ornatektest::SolidPicture;
using testsupport::MenuDriver;

namespace {

constexpr COLORREF kGround = 0x123456;  // what the surface held before
constexpr COLORREF kBlue = 0xFF0000;

COLORREF Sys(int index) {
  return GetSysColor(index);
}

struct Draw : testing::Test {
  // Before the host form, which makes the control.
  struct Registered {
    Registered() { ornatektest::UseLinkedControl(); }
  } registered;
  MenuHost host;
  HMENU popup;
  cMemDC canvas;

  void SetUp() override {
    host.Load();
    popup = host.Item("mnuFile").SubMenu();
    AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(popup, MF_STRING, 901, "&Save\tCtrl+S");
    Control().pvInitMenu(popup, false);
    canvas.Init(200, 40);
    canvas.Cls(kGround);
  }
  void TearDown() override { forms::Unload(host); }
  VIroDazu& Control() { return host.Control(); }

  DRAWITEMSTRUCT Record(int position, UINT itemState, RECT rect = {0, 0, 150, 23}) {
    MENUITEMINFOA info;
    info.fMask = MIIM_ID | MIIM_DATA;
    GetMenuItemInfoA(popup, static_cast<UINT>(position), TRUE, &info);
    DRAWITEMSTRUCT d;
    d.CtlType = ODT_MENU;
    d.itemID = info.wID;
    d.itemAction = ODA_DRAWENTIRE;
    d.itemState = itemState;
    d.hwndItem = HWND(popup.value);
    d.hDC = canvas.hDC();
    d.rcItem = rect;
    d.itemData = info.dwItemData;
    return d;
  }
  bool Paint(DRAWITEMSTRUCT d) {
    canvas.Cls(kGround);
    return Control().OnDrawItem(reinterpret_cast<LPARAM>(&d));
  }
  COLORREF At(int x, int y) const { return canvas.GetPixel(x, y); }
  UINT Id(int position) const { return GetMenuItemID(popup, position); }
};

}  // namespace

TEST_F(Draw, MeasureGivesTheItemHeightAndTextWidths) {
  ASSERT_EQ(Module().ImageColumnWidth, 23) << "the 16-pixel pictures decide the height";
  MENUITEMINFOA info;
  info.fMask = MIIM_ID | MIIM_DATA;
  GetMenuItemInfoA(popup, 3, TRUE, &info);
  MEASUREITEMSTRUCT m{ODT_MENU, 0, info.wID, 0, 0, info.dwItemData};
  ASSERT_TRUE(Control().OnMeasureItem(reinterpret_cast<LPARAM>(&m)));
  cMemDC font;
  font.Init();
  font.Font(cMemDC::SystemMenuFont());
  EXPECT_EQ(m.itemHeight, 23u);
  EXPECT_EQ(m.itemWidth, static_cast<UINT>(font.TextWidth("&Save\tCtrl+S") + 2 * 23 + 8));

  GetMenuItemInfoA(popup, 2, TRUE, &info);
  MEASUREITEMSTRUCT sep{ODT_MENU, 0, info.wID, 0, 0, info.dwItemData};
  ASSERT_TRUE(Control().OnMeasureItem(reinterpret_cast<LPARAM>(&sep)));
  EXPECT_EQ(sep.itemHeight, 4u);

  // A bar item: the text and 2.
  const HMENU bar = GetMenu(host.hWnd());
  GetMenuItemInfoA(bar, 0, TRUE, &info);
  MEASUREITEMSTRUCT top{ODT_MENU, 0, info.wID, 0, 0, info.dwItemData};
  ASSERT_TRUE(Control().OnMeasureItem(reinterpret_cast<LPARAM>(&top)));
  EXPECT_EQ(top.itemWidth, static_cast<UINT>(font.TextWidth("&File") + 2));

  // Not this control's: width 50, left to the system; another control type untouched.
  MEASUREITEMSTRUCT other{ODT_MENU, 0, 4242, 0, 0, info.dwItemData};
  EXPECT_FALSE(Control().OnMeasureItem(reinterpret_cast<LPARAM>(&other)));
  EXPECT_EQ(other.itemWidth, 50u);
  MEASUREITEMSTRUCT button{4, 0, info.wID, 7, 0, info.dwItemData};
  EXPECT_FALSE(Control().OnMeasureItem(reinterpret_cast<LPARAM>(&button)));
  EXPECT_EQ(button.itemWidth, 7u);
}

TEST_F(Draw, SeparatorIsAOnePixelLineAfterTheImageColumn) {
  ASSERT_TRUE(Paint(Record(2, 0, {0, 0, 150, 4})));
  // Moved by 2: l 2, t 2, r 152, b 6; the line in row (2 + 6) / 2 - 1 = 3.
  EXPECT_EQ(At(2, 2), Module().ImageColumnColor);
  EXPECT_EQ(At(2, 5), kGround) << "the image column stops a row short";
  EXPECT_EQ(At(34, 3), Module().MenuBackColor);
  EXPECT_EQ(At(35, 3), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(At(151, 3), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(At(35, 2), Module().MenuBackColor);
  EXPECT_EQ(At(35, 4), Module().MenuBackColor);
  EXPECT_EQ(At(1, 3), kGround);
}

TEST_F(Draw, PlainItemWithAFadedPictureAndTheTextAfterTheColumn) {
  Control().SetBitmap(host.Item("mnuOpen"), SolidPicture(16, kBlue));
  ASSERT_TRUE(Paint(Record(0, 0)));
  EXPECT_EQ(At(2, 2), Module().ImageColumnColor);
  EXPECT_EQ(At(27, 23), Module().ImageColumnColor);
  EXPECT_EQ(At(28, 2), Module().MenuBackColor);
  EXPECT_EQ(At(149, 24), Module().MenuBackColor);
  EXPECT_EQ(At(150, 24), kGround) << "the text band ends 2 before the moved right edge";
  // The 18 x 18 image at (l + 4, t + 2) = (6, 4), the picture centred in it.
  EXPECT_EQ(At(6, 4), Module().ImageColumnColor);
  EXPECT_EQ(At(7, 5), BlendColor(Control().BarColor(), kBlue, 70));
  EXPECT_EQ(At(22, 20), BlendColor(Control().BarColor(), kBlue, 70));
  EXPECT_EQ(At(23, 21), Module().ImageColumnColor);
  // Text from l + IH + 10 = 35 on: nothing else drawn between the column and it.
  for (int x = 28; x < 35; ++x)
    for (int y = 2; y < 25; ++y) ASSERT_EQ(At(x, y), Module().MenuBackColor) << x << "," << y;
  bool ink = false;
  for (int x = 35; x < 60; ++x)
    for (int y = 2; y < 25; ++y) ink = ink || At(x, y) != Module().MenuBackColor;
  EXPECT_TRUE(ink) << "the caption is drawn";
}

TEST_F(Draw, SelectedItemHasTheFrameAndARaisedPictureWithShadow) {
  Control().SetBitmap(host.Item("mnuOpen"), SolidPicture(16, kBlue));
  ASSERT_TRUE(Paint(Record(0, ODS_SELECTED)));
  EXPECT_EQ(At(3, 2), Sys(COLOR_HIGHLIGHT)) << "frame from (l + 1, t)";
  EXPECT_EQ(At(149, 23), Sys(COLOR_HIGHLIGHT)) << "to (r - 2, b - 1), exclusive";
  EXPECT_EQ(At(100, 10), Control().HighlightColor());
  EXPECT_EQ(At(6, 4), kBlue) << "raised: one pixel up and left";
  EXPECT_EQ(At(21, 19), kBlue);
  const COLORREF shadow = BlendColor(Control().HighlightColor(), kColorBtnShadow, 70);
  EXPECT_EQ(At(23, 21), shadow);
  EXPECT_EQ(At(8, 21), shadow);
  EXPECT_EQ(At(7, 21), Control().HighlightColor()) << "the shadow starts two pixels in";
}

TEST_F(Draw, CheckedItemWithoutPictureShowsTheBoxAndTheTick) {
  CheckMenuItem(popup, Id(0), MF_BYCOMMAND | MF_CHECKED);
  ASSERT_TRUE(Paint(Record(0, 0)));
  // Box: (l + 3, t + 1) to 20 x 20.
  EXPECT_EQ(At(5, 3), Sys(COLOR_HIGHLIGHT));
  EXPECT_EQ(At(24, 22), Sys(COLOR_HIGHLIGHT));
  EXPECT_EQ(At(25, 23), Module().ImageColumnColor);
  const COLORREF fill = BlendColor(kColorWindow, Control().HighlightColor(), 128);
  EXPECT_EQ(At(6, 4), fill);
  // The tick: c = 11; the first stroke in column l + c - 2 = 11, rows 12 and 13.
  EXPECT_NE(At(11, 12), fill);
  EXPECT_NE(At(11, 13), fill);
  EXPECT_EQ(At(11, 14), fill) << "the end point is not drawn";
  EXPECT_NE(At(17, 10), fill) << "the long stroke rises to the right";
}

TEST_F(Draw, CheckedItemWithPictureShowsTheBoxAroundThePlainPicture) {
  Control().SetBitmap(host.Item("mnuOpen"), SolidPicture(16, kBlue));
  CheckMenuItem(popup, Id(0), MF_BYCOMMAND | MF_CHECKED);
  ASSERT_TRUE(Paint(Record(0, 0)));
  EXPECT_EQ(At(5, 3), Sys(COLOR_HIGHLIGHT));
  EXPECT_EQ(At(7, 5), kBlue) << "plain: not faded";
  EXPECT_EQ(At(6, 4), BlendColor(kColorWindow, Control().HighlightColor(), 128));
  EXPECT_EQ(At(11, 12), kBlue) << "no tick over a picture";
}

TEST_F(Draw, DisabledItemWithAndWithoutSelectDisabled) {
  Control().SetBitmap(host.Item("mnuOpen"), SolidPicture(16, kBlue));
  EnableMenuItem(popup, Id(0), MF_BYCOMMAND | MF_GRAYED | MF_DISABLED);
  ASSERT_TRUE(Paint(Record(0, ODS_SELECTED)));
  EXPECT_EQ(At(100, 2), Sys(COLOR_BTNSHADOW)) << "the frame, grey";
  EXPECT_EQ(At(100, 10), BlendColor(Control().BarColor(), kColorWindow, 128));
  // The dark picture becomes the shadow colour, drawn one pixel up and left.
  EXPECT_EQ(At(6, 4), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(At(22, 20), BlendColor(Control().BarColor(), kColorWindow, 128))
      << "the frame shows around the picture";
  // The text is grey.
  bool grey = false;
  for (int x = 35; x < 60; ++x)
    for (int y = 2; y < 25; ++y) grey = grey || At(x, y) == Sys(COLOR_BTNSHADOW);
  EXPECT_TRUE(grey);

  Control().SelectDisabled(false);
  ASSERT_TRUE(Paint(Record(0, ODS_SELECTED)));
  EXPECT_EQ(At(100, 2), Module().MenuBackColor) << "no frame";
  EXPECT_EQ(At(100, 10), Module().MenuBackColor);
}

TEST_F(Draw, BarItemsOnTheBarColourWithHotAndOpenFrames) {
  const HMENU bar = GetMenu(host.hWnd());
  MENUITEMINFOA info;
  info.fMask = MIIM_ID | MIIM_DATA;
  GetMenuItemInfoA(bar, 0, TRUE, &info);
  DRAWITEMSTRUCT d;
  d.CtlType = ODT_MENU;
  d.itemID = info.wID;
  d.itemAction = ODA_DRAWENTIRE;
  d.hwndItem = HWND(bar.value);
  d.hDC = canvas.hDC();
  d.rcItem = {0, 0, 40, 20};
  d.itemData = info.dwItemData;
  ASSERT_TRUE(Paint(d));
  EXPECT_EQ(At(0, 0), Control().BarColor());
  EXPECT_EQ(At(42, 20), Control().BarColor()) << "three more columns and one more row";
  EXPECT_EQ(At(43, 20), kGround);
  d.itemState = ODS_HOTLIGHT;
  ASSERT_TRUE(Paint(d));
  EXPECT_EQ(At(0, 0), Sys(COLOR_HIGHLIGHT));
  EXPECT_EQ(At(39, 20), Sys(COLOR_HIGHLIGHT));
  EXPECT_EQ(At(1, 1), Control().HighlightColor());
  d.itemState = ODS_SELECTED;
  ASSERT_TRUE(Paint(d));
  EXPECT_EQ(At(0, 0), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(At(1, 1), Control().BarColor());
}

TEST_F(Draw, ItemsOfOthersAreLeftToTheSystem) {
  DRAWITEMSTRUCT d = Record(0, 0);
  d.itemID = 4242;
  EXPECT_FALSE(Paint(d));
  EXPECT_EQ(At(10, 10), kGround);
  d = Record(0, 0);
  d.itemData = 0;
  EXPECT_FALSE(Paint(d));
  d = Record(0, 0);
  d.CtlType = 4;
  EXPECT_FALSE(Paint(d));
  EXPECT_EQ(At(10, 10), kGround);
}

TEST_F(Draw, WindowCommandsGetTheBuiltInIconsUnlessAnItemOfTheSameCaptionHasOne) {
  AppendMenuA(popup, MF_STRING, SC_CLOSE, "Close");
  AppendMenuA(popup, MF_STRING, SC_MOVE, "Move");
  Control().pvInitMenu(popup, false);
  ASSERT_TRUE(Paint(Record(4, 0)));
  bool icon = false;
  for (int x = 6; x < 24; ++x)
    for (int y = 4; y < 22; ++y) icon = icon || At(x, y) != Module().ImageColumnColor;
  EXPECT_TRUE(icon) << "Close has the built-in icon";
  ASSERT_TRUE(Paint(Record(5, 0)));
  for (int x = 6; x < 24; ++x)
    for (int y = 4; y < 22; ++y) ASSERT_EQ(At(x, y), Module().ImageColumnColor) << "Move has none";
}

TEST_F(Draw, AColourSchemeChangeRepaintsInTheNewColours) {
  const int index = COLOR_HIGHLIGHT;
  const COLORREF old = GetSysColor(index);
  const COLORREF green = 0x00A000;
  SetSysColors(1, &index, &green);
  SendMessageA(host.hWnd(), WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_EQ(Control().HighlightColor(), BlendColor(green, kColorWindow, 70));
  ASSERT_TRUE(Paint(Record(0, ODS_SELECTED)));
  EXPECT_EQ(At(3, 2), green);
  EXPECT_EQ(At(100, 10), BlendColor(green, kColorWindow, 70));
  SetSysColors(1, &index, &old);
  SendMessageA(host.hWnd(), WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_EQ(Control().HighlightColor(), BlendColor(old, kColorWindow, 70));
}

TEST_F(Draw, TheHostWindowsMessagesReachTheControl) {
  MENUITEMINFOA info;
  info.fMask = MIIM_ID | MIIM_DATA;
  GetMenuItemInfoA(popup, 0, TRUE, &info);
  MEASUREITEMSTRUCT m{ODT_MENU, 0, info.wID, 0, 0, info.dwItemData};
  EXPECT_EQ(SendMessageA(host.hWnd(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&m)), 1);
  EXPECT_EQ(m.itemHeight, 23u);
  // A popup about to open is converted.
  const HMENU fresh = CreatePopupMenu();
  AppendMenuA(fresh, MF_STRING, 777, "Fresh");
  Module().OwnPopupActive = false;
  SendMessageA(host.hWnd(), WM_INITMENUPOPUP, fresh.value, 0);
  EXPECT_TRUE(Module().OwnPopupActive);
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoA(fresh, 0, TRUE, &info);
  EXPECT_EQ(info.fType, MFT_OWNERDRAW);
  // The registered message converts a menu and answers 1.
  const HMENU asked = CreatePopupMenu();
  AppendMenuA(asked, MF_STRING, 778, "Asked");
  EXPECT_EQ(SendMessageA(host.hWnd(), RegisterWindowMessageA("InitMenuMsg"), asked.value, 0), 1);
  GetMenuItemInfoA(asked, 0, TRUE, &info);
  EXPECT_EQ(info.fType, MFT_OWNERDRAW);
  DestroyMenu(fresh);
  DestroyMenu(asked);
  // Access keys of the owner-drawn items come from their own texts.
  EXPECT_EQ(SendMessageA(host.hWnd(), WM_MENUCHAR, 'S', static_cast<LPARAM>(popup.value)),
            MAKELPARAM(3, static_cast<int>(MNC_EXECUTE)));
  EXPECT_EQ(SendMessageA(host.hWnd(), WM_MENUCHAR, 'o', static_cast<LPARAM>(popup.value)),
            MAKELPARAM(0, static_cast<int>(MNC_EXECUTE)));
  EXPECT_EQ(SendMessageA(host.hWnd(), WM_MENUCHAR, 'q', static_cast<LPARAM>(popup.value)), 0)
      << "no item has it: the system's answer";
}

TEST_F(Draw, AnAccessKeyTwoItemsShareMovesBetweenThemAndRunsNeither) {
  // As in the word trainer's menu: two items share "a", one item has "o".
  AppendMenuA(popup, MF_STRING, 951, "&Add && Manage Existing Words");
  AppendMenuA(popup, MF_STRING, 952, "&Add && Manage New Words");
  const int existing = 4, fresh = 5;
  const auto hilited = [&](int position) {
    return (GetMenuState(popup, static_cast<UINT>(position), MF_BYPOSITION) & MF_HILITE) != 0;
  };
  const auto press = [](int key, const char* text) {
    return [key, text](HWND menu) { MenuDriver::Key(menu, key, text); };
  };
  std::vector<std::pair<bool, bool>> seen;  // (existing, fresh) selected after each press
  const auto look = [&](int key, const char* text) {
    return [&, key, text](HWND menu) {
      seen.emplace_back(hilited(existing), hilited(fresh));
      MenuDriver::Key(menu, key, text);
    };
  };
  {
    MenuDriver driver({press(Qt::Key_A, "a"), look(Qt::Key_A, "a"), look(Qt::Key_A, "a"),
                       look(Qt::Key_A, "a"), look(Qt::Key_Return, "\r")});
    const BOOL chosen = TrackPopupMenu(popup, TPM_RETURNCMD, 60, 60, 0, host.hWnd(), nullptr);
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(chosen, 952) << "Return runs the item the key moved to";
  }
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0], std::make_pair(true, false)) << "the first press selects the first";
  EXPECT_EQ(seen[1], std::make_pair(false, true)) << "the next press moves to the second";
  EXPECT_EQ(seen[2], std::make_pair(true, false)) << "and round the end";
  EXPECT_EQ(seen[3], std::make_pair(false, true));
  EXPECT_FALSE(hilited(fresh)) << "a closed menu has no selection";

  // A key only one item has runs it at once.
  MenuDriver driver({press(Qt::Key_O, "o")});
  EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD, 60, 60, 0, host.hWnd(), nullptr),
            static_cast<BOOL>(host.Item("mnuOpen").CommandId()));
  EXPECT_TRUE(driver.Done());
}

TEST_F(Draw, APictureWithATransparentGroundShowsTheColumnThroughIt) {
  // An icon made by the platform from a colour bitmap and its mask: a blue
  // square in the middle, the ground around it transparent (mask bits set)
  // over a black colour ground.
  cMemDC colour;
  colour.Init(16, 16);
  colour.Cls(0x000000);
  colour.FillRect(4, 4, 12, 12, kBlue);
  std::uint8_t maskBits[16 * 2] = {};
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      if (x < 4 || x >= 12 || y < 4 || y >= 12)
        maskBits[y * 2 + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
  const HBITMAP mask = CreateBitmap(16, 16, 1, 1, maskBits);
  const HBITMAP image = colour.DetachBitmap();
  ICONINFO info;
  info.fIcon = TRUE;
  info.hbmMask = mask;
  info.hbmColor = image;
  const forms::Picture icon = cMemDC::IconToPicture(CreateIconIndirect(&info));
  DeleteObject(mask);
  DeleteObject(image);
  ASSERT_EQ(icon.Type(), forms::Picture::Kind::Icon);
  Control().SetBitmap(host.Item("mnuOpen"), icon);

  // The 16-pixel picture lies at (7, 5) to (22, 20); its middle at (11, 9) to (18, 16).
  ASSERT_TRUE(Paint(Record(0, 0)));
  for (const POINT p : {POINT{7, 5}, POINT{22, 20}, POINT{8, 15}, POINT{20, 6}})
    EXPECT_EQ(At(p.x, p.y), Module().ImageColumnColor)
        << "the transparent ground at " << p.x << "," << p.y;
  EXPECT_EQ(At(14, 12), BlendColor(Control().BarColor(), kBlue, 70)) << "the faded middle";
}
