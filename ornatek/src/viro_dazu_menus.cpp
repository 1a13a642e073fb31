// Binding the menu control to its host window, turning menus owner-drawn
// and back, and the host window's messages.

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "forms/ole.h"
#include "mdi_forward.h"
#include "menu_colours.h"
#include "menu_infos.h"
#include "module_state.h"
#include "system_hook.h"
#include "viro_dazu_control.h"

namespace ornatek {

using namespace win;

namespace {

constexpr UINT kWmMdiSetMenu = 0x0230;
constexpr UINT kTypeOwnerDraw = 0x100;
constexpr UINT kTypeSeparator = 0x800;
constexpr int kTextBuffer = 1024;

// The item record of the running version: the long form from 4.10 on.
UINT ItemRecordSize() {
  return GetWindowsVersion() < 0x40A ? MENUITEMINFO_PLATFORM_SHORT : MENUITEMINFO_PLATFORM_FULL;
}
bool LongRecords() {
  return GetWindowsVersion() >= 0x40A;
}

std::int32_t Handle32(HMENU menu) {
  return static_cast<std::int32_t>(menu.value);
}

}  // namespace

std::optional<LRESULT> AnswerMenuChar(HMENU menu, WPARAM wParam) {
  // The keys come from the items' own texts, kept when they were made
  // owner-drawn; a key two items share moves between them, as in the
  // platform's own menus, and runs an item only when it is the only one.
  const int count = GetMenuItemCount(menu);
  std::vector<std::string> texts(static_cast<std::size_t>(std::max(count, 0)));
  int selected = -1;
  for (int p = 0; p < count; ++p) {
    if (GetMenuState(menu, static_cast<UINT>(p), MF_BYPOSITION) & MF_HILITE) selected = p;
    MENUITEMINFOA info;
    info.fMask = MIIM_ID | MIIM_DATA | MIIM_FTYPE;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(p), TRUE, &info)) continue;
    if (info.fType != kTypeOwnerDraw) continue;
    const auto record = LoadMenuInfo(static_cast<std::int64_t>(info.dwItemData));
    if (!record || record->lID != static_cast<std::int32_t>(info.wID) || !record->hMenu) continue;
    texts[static_cast<std::size_t>(p)] = record->sText;
  }
  const LRESULT answer = MenuAccessKeyAnswer(texts, selected, LOWORD(wParam));
  if (answer == MNC_IGNORE) return std::nullopt;
  return answer;
}

int GetWindowsVersion() {
  OSVERSIONINFOA info;
  if (!GetVersionExA(&info)) return 0;
  return static_cast<int>(info.dwMajorVersion * 256 + info.dwMinorVersion);
}

std::int32_t StoreMenuInfo(HMENU menu, const std::string& text, std::int32_t type, bool mainMenu,
                           std::int32_t id) {
  cMenuInfos& store = MenuInfoStore();
  const std::int32_t handle = Handle32(menu);
  cMenuInfos::Record record;
  if (store.MenuInfoExists(handle, id)) {
    record = store.Item(cMenuInfos::MakeKey(handle, id));
    record->hMenu = handle;
    record->sText = text;
    record->lType = type;
    record->bMainMenu = mainMenu;
    record->lID = id;
  } else {
    record = store.Add(handle, text, type, mainMenu, id);
  }
  return store.GetMenuInfoIndex(record);
}

std::optional<cMenuInfo> LoadMenuInfo(std::int64_t position) {
  cMenuInfos& store = MenuInfoStore();
  if (position < 1 || position > store.Count()) return std::nullopt;
  const auto record = store.Item(static_cast<std::int32_t>(position));
  if (!record) return std::nullopt;
  return *record;
}

void VIroDazu::Init(HWND& hwnd) {
  hostWindow_ = hwnd;
  mainMenu_ = GetMenu(hwnd);
  RefreshMetrics();
  auto& m = Module();
  if (!m.SharedSubClass) m.SharedSubClass = std::make_shared<cSubClass>();
  if (subClass_ != m.SharedSubClass) {
    subClass_ = m.SharedSubClass;
    subClassConnection_ = subClass_->SubClass.Connect(
        [this](bool& handled, LRESULT& result, HWND h, UINT msg, WPARAM w, LPARAM l) {
          HandleSubclassMessage(handled, result, h, msg, w, l);
        });
  }
  Subclass(hostWindow_);
  mdiClientWindow_ = FindWindowExA(hostWindow_, HWND(), "MDIClient", nullptr);
  if (mdiClientWindow_) Subclass(mdiClientWindow_);
  // A window already bound keeps its one registration, so that every
  // registration has its withdrawal when the control ends.
  if (std::find(boundWindows_.begin(), boundWindows_.end(), hwnd) == boundWindows_.end()) {
    boundWindows_.push_back(hwnd);
    MenuHookInstaller().InstallHook();
  }
}

void VIroDazu::Subclass(HWND hwnd) {
  if (hwnd && !subClass_->IsWindowSubClassedByMe(hwnd)) subClass_->SubClassHwnd(hwnd, true);
}

void VIroDazu::RefreshMetrics() {
  edgeWidth_ = GetSystemMetrics(SM_CXEDGE);
  highlightColor_ = BlendColor(kColorHighlight, kColorWindow, 70);
  barColor_ = BlendColor(kColorBtnFace, kColorWindow, 214);
  cMemDC dc;
  dc.Init();
  MeasureFont(dc);
  int height = dc.TextHeight("ABCH") + 7;
  if (height < BitmapSize() + 7) height = BitmapSize() + 7;
  Module().ImageColumnWidth = height;
  pvInitMenu(mainMenu_, true);
}

void VIroDazu::MeasureFont(cMemDC& dc) const {
  dc.Font(useSystemFont_ ? cMemDC::SystemMenuFont() : font_->Value());
}

HWND VIroDazu::GetActiveMdiChild() const {
  if (!mdiClientWindow_ || !subClass_) return HWND();
  const auto answer = subClass_->CallOrigWndProc(mdiClientWindow_, WM_MDIGETACTIVE, 0, 0);
  if (!answer) return HWND();
  return HWND(static_cast<std::uint32_t>(*answer));
}

UINT VIroDazu::InitMenuMessage() {
  if (!initMenuMsgId_) initMenuMsgId_ = RegisterWindowMessageA("InitMenuMsg");
  return initMenuMsgId_;
}

std::optional<LRESULT> VIroDazu::AskActiveMdiChild(HWND from, UINT msg, WPARAM wParam,
                                                   LPARAM lParam) const {
  // A message that would come back to the window it is answered for (the
  // child is handled here on its frame's behalf) is answered here.
  return ForwardToActiveMdiChild(from, GetActiveMdiChild(), msg, wParam, lParam);
}

void VIroDazu::pvInitMenu(HMENU menu, bool mainMenu) {
  if (!menu) return;
  if (const auto answer =
          AskActiveMdiChild(hostWindow_, InitMenuMessage(), menu.value, menu == mainMenu_ ? 1 : 0);
      answer && *answer == 1)
    return;
  const bool longRecords = LongRecords();
  const int count = GetMenuItemCount(menu);
  for (int p = 0; p < count; ++p) {
    try {
      char text[kTextBuffer + 1] = {};
      MENUITEMINFOA info;
      info.cbSize = ItemRecordSize();
      info.fMask = longRecords ? (MIIM_ID | MIIM_DATA | MIIM_STRING | MIIM_FTYPE)
                               : (MIIM_ID | MIIM_TYPE | MIIM_DATA);
      info.dwTypeData = text;
      info.cch = kTextBuffer;
      if (!GetMenuItemInfoA(menu, static_cast<UINT>(p), TRUE, &info)) continue;
      const std::string itemText(text, std::min<UINT>(info.cch, kTextBuffer));
      const auto id = static_cast<std::int32_t>(info.wID);
      ULONG_PTR data = info.dwItemData;
      if (info.fType == 0 || info.fType == kTypeSeparator) {
        data = static_cast<ULONG_PTR>(
            StoreMenuInfo(menu, itemText, static_cast<std::int32_t>(info.fType), mainMenu, id));
      } else if (info.fType == kTypeOwnerDraw) {
        const auto kept = MenuInfoStore().Item(cMenuInfos::MakeKey(Handle32(menu), id));
        if (kept)
          data = static_cast<ULONG_PTR>(StoreMenuInfo(menu, itemText, kept->lType, mainMenu, id));
      }
      MENUITEMINFOA convert;
      convert.cbSize = ItemRecordSize();
      convert.fMask =
          longRecords ? (MIIM_DATA | MIIM_BITMAP | MIIM_FTYPE) : (MIIM_TYPE | MIIM_DATA);
      convert.fType = kTypeOwnerDraw;
      convert.dwItemData = data;
      SetMenuItemInfoA(menu, static_cast<UINT>(p), TRUE, &convert);
    } catch (const std::exception&) {
      // A step that fails leaves this item as it is.
    }
  }
}

void VIroDazu::RestoreMenus() {
  const bool longRecords = LongRecords();
  for (const auto& record : MenuInfoStore()) {
    std::string text = record->sText;
    MENUITEMINFOA info;
    info.cbSize = ItemRecordSize();
    info.fMask = longRecords ? (MIIM_DATA | MIIM_STRING | MIIM_FTYPE) : (MIIM_TYPE | MIIM_DATA);
    info.fType = static_cast<UINT>(record->lType);
    info.dwTypeData = text.data();
    info.cch = static_cast<UINT>(text.size());
    info.dwItemData = 0;
    SetMenuItemInfoA(HMENU(static_cast<std::uintptr_t>(static_cast<std::uint32_t>(record->hMenu))),
                     static_cast<UINT>(record->lID), FALSE, &info);
  }
}

void VIroDazu::HandleSubclassMessage(bool& handled, LRESULT& result, HWND hwnd, UINT msg,
                                     WPARAM wParam, LPARAM lParam) {
  const bool ours = hwnd == hostWindow_ || (mdiClientWindow_ && hwnd == mdiClientWindow_) ||
                    (mdiClientWindow_ && IsChild(mdiClientWindow_, hwnd) &&
                     GetPropA(hwnd, kByMdiParentProperty) != 0);
  if (!hwnd || !ours) return;
  switch (msg) {
    case WM_SYSCOLORCHANGE:
      RefreshMetrics();
      break;
    case WM_DRAWITEM:
    case WM_MEASUREITEM: {
      if (wParam != 0) break;
      bool done = false;
      if (const auto answer = AskActiveMdiChild(hwnd, msg, 0, lParam); answer && *answer != 0)
        done = true;
      else
        done = msg == WM_DRAWITEM ? OnDrawItem(lParam) : OnMeasureItem(lParam);
      if (done) {
        handled = true;
        result = 1;
      }
      break;
    }
    case WM_MENUCHAR:
      // The system reads no access keys of owner-drawn items: the control
      // answers for the items it made, from their own texts.
      if (const auto answer = AnswerMenuChar(HMENU(static_cast<std::uintptr_t>(lParam)), wParam)) {
        handled = true;
        result = *answer;
      }
      break;
    case WM_NCCALCSIZE:
      if (!mainMenu_) {
        mainMenu_ = GetMenu(hostWindow_);
        if (mainMenu_) pvInitMenu(mainMenu_, true);
      }
      break;
    case WM_INITMENUPOPUP:
      Module().OwnPopupActive = true;
      pvInitMenu(HMENU(wParam), false);
      break;
    case kWmMdiSetMenu:
      if (HMENU(wParam) != mainMenu_) {
        RestoreMenus();
        mainMenu_ = HMENU(wParam);
        pvInitMenu(mainMenu_, true);
      }
      break;
    default:
      if (msg == InitMenuMessage()) {
        pvInitMenu(HMENU(wParam), lParam != 0);
        handled = true;
        result = 1;
      }
      break;
  }
}

}  // namespace ornatek
