// Measuring and painting the owner-drawn menu items in the flat style.

#include <array>
#include <cmath>

#include "forms/form.h"
#include "menu_colours.h"
#include "menu_infos.h"
#include "module_state.h"
#include "viro_dazu_control.h"

namespace ornatek {

using namespace win;

namespace {

constexpr std::int32_t kTypeSeparator = 0x800;

// The window commands that have a built-in icon.
struct CommandIcon {
  WORD command;
  const char* tag;
};
constexpr std::array<CommandIcon, 6> kCommandIcons{{{0xF060, "close"},
                                                    {0xF030, "maximize"},
                                                    {0xF020, "minimize"},
                                                    {0xF040, "next"},
                                                    {0xF050, "previous"},
                                                    {0xF120, "restore"}}};

std::vector<std::string> SplitAtTabs(const std::string& text) {
  std::vector<std::string> parts;
  if (text.empty()) return parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = text.find('\t', start);
    parts.push_back(text.substr(start, tab - start));
    if (tab == std::string::npos) return parts;
    start = tab + 1;
  }
}

// The record behind an item, when the item is one this control made.
std::optional<cMenuInfo> OwnRecord(UINT itemId, ULONG_PTR itemData) {
  auto info = LoadMenuInfo(static_cast<std::int64_t>(itemData));
  if (!info || info->lID != static_cast<std::int32_t>(itemId) || info->hMenu == 0)
    return std::nullopt;
  return info;
}

void Text(cMemDC& dc, const std::string& text, int l, int t, int r, int b, UINT flags) {
  dc.DrawText(text, l, t, r, b, flags);
}

}  // namespace

bool VIroDazu::OnMeasureItem(LPARAM lParam) {
  auto* target = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
  MEASUREITEMSTRUCT m = *target;
  if (m.CtlType != ODT_MENU) return false;
  const auto info = OwnRecord(m.itemID, m.itemData);
  if (!info) {
    m.itemWidth = 50;
    *target = m;
    return false;
  }
  cMemDC dc;
  dc.Init();
  MeasureFont(dc);
  const int ih = Module().ImageColumnWidth;
  m.itemHeight = static_cast<UINT>(info->lType == kTypeSeparator ? 4 : ih);
  m.itemWidth = static_cast<UINT>(dc.TextWidth(info->sText) + (info->bMainMenu ? 2 : 2 * ih + 8));
  *target = m;
  return true;
}

std::optional<BitmapEntry> VIroDazu::FindBitmapByCaption(const std::string& caption) const {
  try {
    for (forms::Control* c : Parent().Controls()) {
      const auto* menu = dynamic_cast<const forms::Menu*>(c);
      if (!menu) continue;
      const std::string& own = menu->Caption();
      if (own.substr(0, own.find('\t')) != caption) continue;
      const long at = bitmaps_.Find("#" + MenuKey(*menu));
      if (!at) return std::nullopt;
      return bitmaps_.Item(at);
    }
  } catch (const std::exception&) {
    // A control not yet on a form has no menus: the item draws without an icon.
  }
  return std::nullopt;
}

bool VIroDazu::OnDrawItem(LPARAM lParam) {
  const DRAWITEMSTRUCT d = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  if (d.CtlType != ODT_MENU) return false;
  const auto info = OwnRecord(d.itemID, d.itemData);
  if (!info) return false;
  const HMENU menu(d.hwndItem.value);
  const UINT state = GetMenuState(menu, d.itemID, MF_BYCOMMAND);

  cMemDC dc;
  dc.Init(0, 0, HDC(), d.hDC);
  dc.BackStyle(TRANSPARENT);
  if (!useSystemFont_)
    if (auto f = dc.Font()) {
      // Drawing takes only the name and size of the control's font.
      f->Name = font_->Name();
      f->Size = static_cast<float>(font_->Size());
      dc.Font(*f);
    }
  int l = d.rcItem.left, t = d.rcItem.top, r = d.rcItem.right, b = d.rcItem.bottom;
  const bool selected = (d.itemState & ODS_SELECTED) != 0;

  if (info->bMainMenu) {
    dc.FillRect(l, t, r + 3, b + 1, barColor_);
    dc.ForeColor(kSysColour + COLOR_MENUTEXT);
    if (state & MF_GRAYED)
      dc.ForeColor(kColorBtnShadow);
    else if (selected)
      dc.Rectangle(l, t, r, b + 1, barColor_, {}, kColorBtnShadow);
    else if (d.itemState & ODS_HOTLIGHT)
      dc.Rectangle(l, t, r, b + 1, highlightColor_, {}, kColorHighlight);
    Text(dc, info->sText, l, t, r, b, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (d.itemAction == ODA_SELECT) DrawBarShadow();
    return true;
  }

  l += 2, t += 2, r += 2, b += 2;
  const int ih = Module().ImageColumnWidth;
  const int bs = BitmapSize();
  const bool separator = info->lType == kTypeSeparator;
  std::vector<std::string> parts;
  std::unique_ptr<cMemDC> image;
  if (!separator) {
    parts = SplitAtTabs(info->sText);
    std::optional<BitmapEntry> entry;
    if (!parts.empty()) {
      entry = FindBitmapByCaption(parts[0]);
      if (!entry)
        for (const auto& command : kCommandIcons)
          if (LOWORD(d.itemID) == command.command)
            entry = BitmapEntry{GetBuiltinIcon(command.tag), 0, {}};
    }
    // An entry added on the icon page before a picture was loaded draws as no picture.
    if (entry && entry->Picture) {
      const Colour mask = entry->MaskColor;
      if (state & MF_DISABLED)
        image = MakeDisabledImage(entry->Picture, mask, ColorLuminance(barColor_));
      else if (state & MF_CHECKED)
        image = MakePlainImage(entry->Picture, mask);
      else if (selected)
        image = MakeRaisedImage(entry->Picture, mask);
      else
        image = MakeFadedImage(entry->Picture, mask);
    }
  }
  dc.FillRect(l, t, l + ih + 3, b - 1, Module().ImageColumnColor);
  dc.FillRect(l + ih + 3, t, r - 2, b, Module().MenuBackColor);
  if (separator) {
    const int m = (t + b) / 2;
    dc.FillRect(l + ih + 10, m - 1, r, m, kColorBtnShadow);
    return true;
  }
  // The context's text colour is the system's choice for the item's state;
  // on the light highlight only the menu text colour reads well.
  dc.ForeColor(kSysColour + COLOR_MENUTEXT);
  if (state & MF_GRAYED) {
    if (selected && selectDisabled_)
      dc.Rectangle(l + 1, t, r - 2, b - 1, BlendColor(barColor_, kColorWindow, 128), {},
                   kColorBtnShadow);
    dc.ForeColor(kColorBtnShadow);
  } else if (selected) {
    dc.Rectangle(l + 1, t, r - 2, b - 1, highlightColor_, {}, kColorHighlight);
  }
  if (state & MF_CHECKED) {
    const int o1 = (ih - bs - 1) / 2, o2 = (ih - bs - 5) / 2;
    Colour fill = BlendColor(kColorWindow, highlightColor_, 128), outline = kColorHighlight;
    if (state & MF_DISABLED) {
      fill = BlendColor(kColorWindow, barColor_, 128);
      outline = kColorBtnShadow;
    } else if (selected) {
      fill = BlendColor(BlendColor(kColorHighlight, highlightColor_, 128), highlightColor_, 128);
    }
    dc.Rectangle(l + o1, t + o2, l + o1 + bs + 4, t + o2 + bs + 4, fill, {}, outline);
  }
  if (image) {
    const int o = (ih - bs - 1) / 2 - 1;
    image->TransBlt(d.hDC, l + o + 2, t + o, bs + 2, bs + 2, 0, 0, kMagenta);
  } else if (state & MF_CHECKED) {
    const int c = ih / 2;
    for (int i = 0; i <= 2; ++i)
      dc.DrawLine(l + c + i - 2, t + c + i - 1, l + c + i - 2, t + c + i + 1, kNoColour, HPEN());
    for (int j = 1; j <= 4; ++j)
      dc.DrawLine(l + c + j, t + c - j + 1, l + c + j, t + c - j + 3, kNoColour, HPEN());
  }
  if (!parts.empty()) Text(dc, parts[0], l + ih + 10, t, r, b - 1, DT_VCENTER | DT_SINGLELINE);
  if (parts.size() >= 2)
    Text(dc, parts[1], l + ih + 10, t, r - ih, b - 1, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  return true;
}

void VIroDazu::DrawBarShadow() const {
  const int count = GetMenuItemCount(mainMenu_);
  for (int p = 0; p < count; ++p) {
    if (!(GetMenuState(mainMenu_, static_cast<UINT>(p), MF_BYPOSITION) & MF_HILITE)) continue;
    RECT r;
    if (!GetMenuItemRect(hostWindow_, mainMenu_, static_cast<UINT>(p), &r)) continue;
    const HWND desktop = GetDesktopWindow();
    const HDC screen = GetWindowDC(desktop);
    {
      cMemDC dc;
      dc.Init(0, 0, HDC(), screen);
      for (int c = 0; c <= 2; ++c) {
        const int alpha = static_cast<int>(std::lround(64.0 - 64.0 / 3.0 * c));
        for (int k = 3; k <= r.bottom - r.top - 1; ++k)
          dc.SetPixel(r.right + c, r.top + k,
                      BlendColor(0, dc.GetPixel(r.right + c, r.top + k), alpha));
      }
    }
    ReleaseDC(desktop, screen);
  }
}

// ---- the four images -------------------------------------------------------------------

std::unique_ptr<cMemDC> VIroDazu::PlacePicture(const forms::Picture& picture, Colour mask,
                                               int shift) const {
  const int size = BitmapSize() + 2;
  auto dc = std::make_unique<cMemDC>();
  dc->Init(size, size);
  dc->Cls(kMagenta);
  const int w =
      static_cast<int>(std::nearbyint(HimetricToPixels(static_cast<double>(picture.Width()))));
  const int h =
      static_cast<int>(std::nearbyint(HimetricToPixels(static_cast<double>(picture.Height()))));
  dc->PaintPicture(picture, (size - w) / 2 + shift, (size - h) / 2 + shift, 0, 0, 0, 0, SRCCOPY,
                   mask);
  return dc;
}

std::unique_ptr<cMemDC> VIroDazu::MakeFadedImage(const forms::Picture& picture, Colour mask) const {
  auto dc = PlacePicture(picture, mask, 0);
  const int bs = BitmapSize();
  for (int y = 0; y <= bs; ++y)
    for (int x = 0; x <= bs; ++x)
      if (const COLORREF p = dc->GetPixel(x, y); p != kMagenta)
        dc->SetPixel(x, y, BlendColor(barColor_, p, 70));
  return dc;
}

std::unique_ptr<cMemDC> VIroDazu::MakeRaisedImage(const forms::Picture& picture,
                                                  Colour mask) const {
  auto dc = PlacePicture(picture, mask, -1);
  const int bs = BitmapSize();
  const COLORREF shadow = BlendColor(highlightColor_, kColorBtnShadow, 70);
  // From the bottom right, so that shadow pixels never cast shadow.
  for (int y = bs + 2; y >= 2; --y)
    for (int x = bs + 2; x >= 2; --x)
      if (dc->GetPixel(x, y) == kMagenta && dc->GetPixel(x - 2, y - 2) != kMagenta)
        dc->SetPixel(x, y, shadow);
  return dc;
}

std::unique_ptr<cMemDC> VIroDazu::MakePlainImage(const forms::Picture& picture, Colour mask) const {
  return PlacePicture(picture, mask, 0);
}

std::unique_ptr<cMemDC> VIroDazu::MakeDisabledImage(const forms::Picture& picture, Colour mask,
                                                    int threshold) const {
  auto dc = PlacePicture(picture, mask, -1);
  const int size = BitmapSize() + 2;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      if (const COLORREF p = dc->GetPixel(x, y); p != kMagenta)
        dc->SetPixel(x, y, ColorLuminance(p) < threshold ? kColorBtnShadow : kMagenta);
  return dc;
}

}  // namespace ornatek
