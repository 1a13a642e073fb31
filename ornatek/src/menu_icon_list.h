#pragma once

// The menu control's icon list, in the shape its property page edits it,
// and what the page asks of the control it edits.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/ascii_case.h"
#include "forms/menu.h"
#include "forms/picture.h"

namespace ornatek {

// One icon: the picture (may be empty), its mask colour (0x00BBGGRR) and its
// key, "#" followed by the menu key of the item it belongs to.
struct BitmapEntry {
  forms::Picture Picture;
  std::uint32_t MaskColor = 0xFF00FF;
  std::string Key;
};

// A keyed collection of entries: positions count from 1, keys are unique
// and compared without regard to case.
class BitmapList {
 public:
  long Count() const { return static_cast<long>(entries_.size()); }
  // Position 1..Count; anything else is a programming error.
  const BitmapEntry& Item(long index) const {
    return entries_.at(static_cast<std::size_t>(index - 1));
  }
  BitmapEntry& Item(long index) { return entries_.at(static_cast<std::size_t>(index - 1)); }
  // The position of the entry with this key, 0 when there is none.
  long Find(std::string_view key) const {
    for (std::size_t i = 0; i < entries_.size(); ++i)
      if (base::EqualsIgnoreAsciiCase(entries_[i].Key, key)) return static_cast<long>(i + 1);
    return 0;
  }
  // False (and nothing added) when the key is already taken.
  bool Add(BitmapEntry entry) {
    if (Find(entry.Key)) return false;
    entries_.push_back(std::move(entry));
    return true;
  }
  void Remove(long index) {
    if (index >= 1 && index <= Count()) entries_.erase(entries_.begin() + (index - 1));
  }
  void Clear() { entries_.clear(); }
  const std::vector<BitmapEntry>& Entries() const { return entries_; }

 private:
  std::vector<BitmapEntry> entries_;
};

// The menu key of a menu item: its control name, or name ":" index for an
// element of a control array.
inline std::string MenuKey(const forms::Menu& menu) {
  return menu.Index() >= 0 ? menu.Name() + ":" + std::to_string(menu.Index()) : menu.Name();
}

// What the icon property page asks of the menu control it edits.
class MenuIconHost {
 public:
  virtual ~MenuIconHost() = default;
  // The menu items of the host form, in form order.
  virtual std::vector<forms::Menu*> GetMenuControls() const = 0;
  // A copy of the icon list with the same entries and keys.
  virtual BitmapList GetBitmapList() const = 0;
  virtual void SetBitmapList(const BitmapList& list) = 0;
  virtual bool SelectDisabled() const = 0;
  virtual void SelectDisabled(bool on) = 0;
  virtual int BitmapSize() const = 0;
  virtual void BitmapSize(int pixels) = 0;
  virtual bool UseSystemFont() const = 0;
  virtual void UseSystemFont(bool on) = 0;
};

}  // namespace ornatek
