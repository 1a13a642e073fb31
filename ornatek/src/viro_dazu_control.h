#pragma once

// The menu control VIroDazu: it turns its host form's menu bar and every
// popup the form opens into owner-drawn menus in a flat style, with the
// pictures its hosts assign to the items.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "com/property_page.h"
#include "forms/user_control.h"
#include "mem_dc.h"
#include "menu_icon_list.h"
#include "ornatek/viro_dazu.h"
#include "sub_class.h"
#include "win/win.h"

namespace ornatek {

struct cMenuInfo;

// The font the control starts with and stores as its default.
forms::Font DefaultFont();

class VIroDazu : public forms::UserControl,
                 public IVIroDazu,
                 public MenuIconHost,
                 public com::IFontHolder {
 public:
  explicit VIroDazu(const forms::ControlSite& site);
  ~VIroDazu() override;

  // ---- the published interface ------------------------------------------------
  void About() override;
  bool SelectDisabled() const override { return selectDisabled_; }
  void SelectDisabled(bool on) override;
  int BitmapSize() const override;
  void BitmapSize(int pixels) override;
  bool UseSystemFont() const override { return useSystemFont_; }
  void UseSystemFont(bool on) override;
  std::shared_ptr<forms::StdFont> Font() const override { return font_; }
  void Font(const forms::StdFont& font) override;
  void Init(win::HWND& hwnd) override;
  void SetBitmap(const forms::Menu& menu, const forms::Picture& picture,
                 std::uint32_t maskColor = kDefaultMaskColor) override;
  void SetBitmapByCaption(std::string menuKey, const forms::Picture& picture,
                          std::uint32_t maskColor = kDefaultMaskColor) override;

  // ---- what the icon page asks --------------------------------------------------
  std::vector<forms::Menu*> GetMenuControls() const override;
  BitmapList GetBitmapList() const override { return bitmaps_; }
  void SetBitmapList(const BitmapList& list) override;
  std::shared_ptr<forms::StdFont> FontObject() override { return font_; }

  // ---- the library's own members -----------------------------------------------------
  const BitmapList& Bitmaps() const { return bitmaps_; }
  forms::Picture GetBuiltinIcon(std::string_view tag) const;
  void RefreshMetrics();
  void pvInitMenu(win::HMENU menu, bool mainMenu);
  // Gives every item of the thread's store its own type and text back.
  static void RestoreMenus();
  void HandleSubclassMessage(bool& handled, win::LRESULT& result, win::HWND hwnd, win::UINT msg,
                             win::WPARAM wParam, win::LPARAM lParam);
  bool OnMeasureItem(win::LPARAM lParam);
  bool OnDrawItem(win::LPARAM lParam);
  std::optional<BitmapEntry> FindBitmapByCaption(const std::string& caption) const;

  win::HWND HostWindow() const { return hostWindow_; }
  win::HMENU MainMenu() const { return mainMenu_; }
  win::COLORREF HighlightColor() const { return highlightColor_; }
  win::COLORREF BarColor() const { return barColor_; }
  int EdgeWidth() const { return edgeWidth_; }

  // The four images of an item's picture, each a new (BS + 2)-square surface.
  std::unique_ptr<cMemDC> MakeFadedImage(const forms::Picture& picture, Colour mask) const;
  std::unique_ptr<cMemDC> MakeRaisedImage(const forms::Picture& picture, Colour mask) const;
  std::unique_ptr<cMemDC> MakePlainImage(const forms::Picture& picture, Colour mask) const;
  std::unique_ptr<cMemDC> MakeDisabledImage(const forms::Picture& picture, Colour mask,
                                            int threshold) const;

 protected:
  void UserControl_Initialize() override;
  void UserControl_InitProperties() override;
  void UserControl_ReadProperties(forms::PropertyBag& bag) override;
  void UserControl_WriteProperties(forms::PropertyBag& bag) override;
  void UserControl_Resize() override;
  void UserControl_Terminate() override;

 private:
  void ApplyFont(const forms::Font& font);
  void InitContainer();
  void Subclass(win::HWND hwnd);
  win::HWND GetActiveMdiChild() const;
  win::UINT InitMenuMessage();
  // The active MDI child's answer to a message of `from`, nothing when no
  // other window is there to ask.
  std::optional<win::LRESULT> AskActiveMdiChild(win::HWND from, win::UINT msg, win::WPARAM wParam,
                                                win::LPARAM lParam) const;
  void MeasureFont(cMemDC& dc) const;
  std::unique_ptr<cMemDC> PlacePicture(const forms::Picture& picture, Colour mask, int shift) const;
  void DrawBarShadow() const;

  BitmapList bitmaps_;
  bool selectDisabled_ = true;
  bool useSystemFont_ = true;
  std::shared_ptr<forms::StdFont> font_;
  forms::StdFont::Subscription fontWatch_;
  std::shared_ptr<cSubClass> subClass_;
  cSubClass::SubClassEvent::Connection subClassConnection_;
  std::vector<win::HWND> boundWindows_;  // every window Init registered with the hook for
  win::HWND hostWindow_;
  win::HMENU mainMenu_;
  win::HWND mdiClientWindow_;
  int edgeWidth_ = 2;
  win::COLORREF highlightColor_ = 0;
  win::COLORREF barColor_ = 0;
  win::UINT initMenuMsgId_ = 0;
};

// The menu record behind an item's data: position 1 to the store's count,
// nothing outside.
std::optional<cMenuInfo> LoadMenuInfo(std::int64_t position);
std::int32_t StoreMenuInfo(win::HMENU menu, const std::string& text, std::int32_t type,
                           bool mainMenu, std::int32_t id);
// The answer to WM_MENUCHAR for a menu of owner-drawn items made by the
// control, from the items' own texts: run the only item with that access
// key, or select the next of several; nothing when no item has it.
std::optional<win::LRESULT> AnswerMenuChar(win::HMENU menu, win::WPARAM wParam);
// major * 256 + minor, 0 when the system refuses.
int GetWindowsVersion();

// The control's property pages: the icon page (when the library has it) and
// the standard font page.
std::vector<std::unique_ptr<com::PropertyPage>> PropertyPages();

}  // namespace ornatek
