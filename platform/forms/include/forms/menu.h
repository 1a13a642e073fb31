#pragma once

// Menu controls: the items of a form's menu bar and of the menus it pops up.
// Each control is an item of a real window-system menu, so that code that
// works with the window's menus finds the items the form describes.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "forms/control.h"
#include "forms/tracked.h"
#include "win/menu.h"

class QShortcut;

namespace forms {

struct MenuTree;

class Menu : public Control, public Container {
 public:
  explicit Menu(const ControlSite& site);
  ~Menu() override;

  QWidget* Widget() const override { return nullptr; }
  QWidget* ClientWidget() const override { return nullptr; }

  // "&" marks the access key, "&&" is a plain "&", "-" makes a separator.
  const std::string& Caption() const { return caption_; }
  void Caption(std::string_view text);
  bool Checked() const { return checked_; }
  void Checked(bool on);
  bool Visible() const override { return Control::Visible(); }
  void Visible(bool on) override;
  bool Enabled() const override { return Control::Enabled(); }
  void Enabled(bool on) override;
  // As written in the description ("^S", "{F1}", "+{DEL}"); shown after the caption.
  const std::string& Shortcut() const { return shortcut_; }
  // Its keys run the Click while the item is enabled and visible.
  void Shortcut(std::string_view keys);

  // The real menu that holds this control's item, the item's command id, and
  // the popup menu of the items under this one (0 when it has none).
  win::HMENU ParentMenu() const;
  win::UINT CommandId() const { return id_; }
  win::HMENU SubMenu() const { return sub_; }
  Menu* ParentItem() const { return parent_; }
  const std::vector<Menu*>& Items() const { return items_; }

  Event<> Click;

  void SetProperty(std::string_view name, const Value& v) override;

 private:
  friend void BuildMenus(Form& form);
  // The item's text in the real menu: caption, then a tab and the shortcut.
  std::string ItemText() const;
  void Refill();  // the real menu of this item's level again, visible items in order

  std::string caption_;
  std::string shortcut_;
  bool checked_ = false;
  win::UINT id_ = 0;
  win::HMENU sub_;
  Menu* parent_ = nullptr;
  std::vector<Menu*> items_;
  std::shared_ptr<MenuTree> tree_;
  Tracked<QShortcut> shortcutKey_;
};

// Makes the real menus for a form's menu controls; the form's visible
// top-level menus become its menu bar.
void BuildMenus(Form& form);
// Runs the Click of the menu control a WM_COMMAND or WM_INITMENUPOPUP names.
// True when the message was a menu command of this form.
bool RouteMenuMessage(Form& form, win::UINT msg, win::WPARAM wParam, win::LPARAM lParam);

// Flags of Form::PopupMenu.
inline constexpr int vbPopupMenuLeftButton = 0;
inline constexpr int vbPopupMenuRightButton = 2;
inline constexpr int vbPopupMenuLeftAlign = 0;
inline constexpr int vbPopupMenuCenterAlign = 4;
inline constexpr int vbPopupMenuRightAlign = 8;

}  // namespace forms
