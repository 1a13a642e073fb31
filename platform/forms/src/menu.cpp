#include "forms/menu.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

#include <algorithm>
#include <cmath>

#include "base/ascii_case.h"
#include "forms/form.h"

namespace forms {

// What the menu controls of one form share: the form and its menu bar.
struct MenuTree {
  Form* form = nullptr;
  win::HMENU bar;
  std::vector<Menu*> tops;
  ~MenuTree() {
    if (win::GetMenu(form->hWnd()) == bar) win::SetMenu(form->hWnd(), win::HMENU());
    win::DestroyMenu(bar);
  }
};

namespace {

// "^S" -> "Ctrl+S", "+{F1}" -> "Shift+F1", "%{BKSP}" -> "Alt+Bksp".
std::string ShortcutText(const std::string& s) {
  std::string out, key;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '^')
      out += "Ctrl+";
    else if (c == '+')
      out += "Shift+";
    else if (c == '%')
      out += "Alt+";
    else if (c == '{') {
      const auto end = s.find('}', i);
      key = s.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
      i = end == std::string::npos ? s.size() : end;
    } else {
      key += c;
    }
  }
  if (key.empty()) return {};
  if (key.size() > 1 && !(key[0] == 'F' && key.size() <= 3)) {
    for (std::size_t i = 1; i < key.size(); ++i) key[i] = base::AsciiLower(key[i]);
  }
  return out + key;
}

void Fill(win::HMENU menu, const std::vector<Menu*>& items) {
  while (win::GetMenuItemCount(menu) > 0) win::RemoveMenu(menu, 0, win::MF_BYPOSITION);
  for (Menu* m : items) {
    if (!m->Visible()) continue;
    std::string text = m->Caption();
    win::MENUITEMINFOA mii;
    mii.fMask = win::MIIM_ID | win::MIIM_STATE | win::MIIM_FTYPE | win::MIIM_STRING;
    const bool separator = text == "-";
    mii.fType = separator ? win::MFT_SEPARATOR : win::MFT_STRING;
    mii.fState = (m->Enabled() ? 0 : win::MFS_GRAYED) | (m->Checked() ? win::MFS_CHECKED : 0);
    mii.wID = m->CommandId();
    if (!m->Shortcut().empty()) {
      const std::string keys = ShortcutText(m->Shortcut());
      if (!keys.empty()) text += "\t" + keys;
    }
    mii.dwTypeData = separator ? nullptr : text.data();
    if (m->SubMenu()) {
      mii.fMask |= win::MIIM_SUBMENU;
      mii.hSubMenu = m->SubMenu();
    }
    win::InsertMenuItemA(menu, static_cast<win::UINT>(win::GetMenuItemCount(menu)), win::TRUE,
                         &mii);
  }
}

void ShowBar(MenuTree& tree) {
  const bool any =
      std::any_of(tree.tops.begin(), tree.tops.end(), [](const Menu* m) { return m->Visible(); });
  win::SetMenu(tree.form->hWnd(), any ? tree.bar : win::HMENU());
}

}  // namespace

Menu::Menu(const ControlSite& site) : Control(site) {}

Menu::~Menu() {
  delete shortcutKey_;
  if (sub_) win::DestroyMenu(sub_);
}

win::HMENU Menu::ParentMenu() const {
  if (parent_) return parent_->sub_;
  return tree_ ? tree_->bar : win::HMENU();
}

std::string Menu::ItemText() const {
  return caption_;
}

void Menu::Refill() {
  if (!tree_) return;
  Fill(ParentMenu(), parent_ ? parent_->items_ : tree_->tops);
  if (!parent_) ShowBar(*tree_);
  win::DrawMenuBar(tree_->form->hWnd());
}

void Menu::Caption(std::string_view text) {
  caption_ = text;
  if (!tree_) return;
  // A separator and an item are different kinds: the level is made anew.
  Refill();
}

void Menu::Checked(bool on) {
  checked_ = on;
  if (tree_)
    win::CheckMenuItem(ParentMenu(), id_,
                       win::MF_BYCOMMAND | (on ? win::MF_CHECKED : win::MF_UNCHECKED));
}

void Menu::Enabled(bool on) {
  Control::Enabled(on);
  if (tree_)
    win::EnableMenuItem(ParentMenu(), id_,
                        win::MF_BYCOMMAND | (on ? win::MF_ENABLED : win::MF_GRAYED));
}

void Menu::Visible(bool on) {
  const bool changed = on != Control::Visible();
  Control::Visible(on);
  if (changed) Refill();
}

void Menu::Shortcut(std::string_view keys) {
  shortcut_ = keys;
  delete shortcutKey_;
  const std::string text = ShortcutText(shortcut_);
  if (text.empty() || !Parent().ClientWidget()) return;
  // The keys work wherever the focus is in the form's window.
  shortcutKey_ = new QShortcut(QKeySequence(QString::fromStdString(text)), Parent().ClientWidget());
  shortcutKey_->setContext(Qt::WindowShortcut);
  QObject::connect(shortcutKey_, &QShortcut::activated, [this] {
    if (Enabled() && Visible()) Click();
  });
}

void Menu::SetProperty(std::string_view name, const Value& v) {
  if (name == "Caption")
    Caption(v.ToString());
  else if (name == "Checked")
    Checked(v.ToBool());
  else if (name == "Shortcut")
    Shortcut(v.ToString());
  else if (name == "NegotiatePosition" || name == "WindowList" || name == "HelpContextID")
    return;  // accepted; they change nothing here
  else
    Control::SetProperty(name, v);
}

void BuildMenus(Form& form) {
  std::vector<Menu*> all;
  for (Control* c : form.Controls())
    if (auto* m = dynamic_cast<Menu*>(c)) all.push_back(m);
  if (all.empty()) return;
  auto tree = std::make_shared<MenuTree>();
  tree->form = &form;
  tree->bar = win::CreateMenu();
  win::UINT nextId = 1;
  for (Menu* m : all) {
    m->tree_ = tree;
    m->id_ = nextId++;
    m->parent_ = dynamic_cast<Menu*>(&m->GetContainer());
    (m->parent_ ? m->parent_->items_ : tree->tops).push_back(m);
  }
  for (Menu* m : all)
    if (!m->items_.empty()) m->sub_ = win::CreatePopupMenu();
  for (Menu* m : all)
    if (m->sub_) Fill(m->sub_, m->items_);
  Fill(tree->bar, tree->tops);
  ShowBar(*tree);
}

bool RouteMenuMessage(Form& form, win::UINT msg, win::WPARAM wParam, win::LPARAM lParam) {
  if (msg == win::WM_COMMAND && lParam == 0 && win::HIWORD(wParam) == 0) {
    for (Control* c : form.Controls())
      if (auto* m = dynamic_cast<Menu*>(c); m && m->CommandId() == win::LOWORD(wParam)) {
        if (m->Enabled()) m->Click();
        return true;
      }
    return false;
  }
  if (msg == win::WM_INITMENUPOPUP) {
    // A menu's Click comes as its items open, so that it can prepare them.
    for (Control* c : form.Controls())
      if (auto* m = dynamic_cast<Menu*>(c); m && m->SubMenu().value == wParam) {
        m->Click();
        break;
      }
  }
  return false;
}

void Form::PopupMenu(Menu& menu, int flags, std::optional<float> x, std::optional<float> y) {
  if (!menu.SubMenu() || !hWnd()) return;
  win::POINT at;
  if (x && y) {
    at.x = static_cast<win::LONG>(std::lround(ToTwipsX(*x) / 15.0));
    at.y = static_cast<win::LONG>(std::lround(ToTwipsY(*y) / 15.0));
    win::ClientToScreen(hWnd(), &at);
  } else {
    win::GetCursorPos(&at);
    if (x || y) {
      win::POINT origin{0, 0};
      win::ClientToScreen(hWnd(), &origin);
      if (x) at.x = origin.x + static_cast<win::LONG>(std::lround(ToTwipsX(*x) / 15.0));
      if (y) at.y = origin.y + static_cast<win::LONG>(std::lround(ToTwipsY(*y) / 15.0));
    }
  }
  win::UINT tpm = 0;
  if (flags & vbPopupMenuRightButton) tpm |= win::TPM_RIGHTBUTTON;
  if (flags & vbPopupMenuRightAlign)
    tpm |= win::TPM_RIGHTALIGN;
  else if (flags & vbPopupMenuCenterAlign)
    tpm |= win::TPM_CENTERALIGN;
  // The form that owns the menu hears its commands, even when it is hidden.
  win::TrackPopupMenu(menu.SubMenu(), tpm, at.x, at.y, 0, menu.Parent().hWnd(), nullptr);
}

}  // namespace forms
