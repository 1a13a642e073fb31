#pragma once

// The menu item store: for each item the menu control made owner-drawn, the
// type and text the item had before, kept under "#hMenu%lID". The store only
// grows, so that the 1-based position handed to an item as its data stays valid.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace ornatek {

struct cMenuInfo {
  std::int32_t hMenu = 0;
  std::int32_t lID = 0;
  std::int32_t lType = 0;
  std::string sText;
  bool bMainMenu = false;
};

class cMenuInfos {
 public:
  using Record = std::shared_ptr<cMenuInfo>;
  using Index = std::variant<std::int32_t, std::string>;  // 1-based position or key

  // Appends a record; a key already present throws std::invalid_argument and
  // replaces nothing.
  Record Add(std::int32_t hMenu, const std::string& sText, std::int32_t lType, bool bMainMenu,
             std::int32_t lID);
  // The record at a position or under a key; null for anything not found.
  Record Item(const Index& index) const;
  std::int32_t Count() const { return static_cast<std::int32_t>(records_.size()); }
  // Throws std::out_of_range for a position or key that is not present.
  void Remove(const Index& index);
  bool MenuInfoExists(std::int32_t hMenu, std::int32_t lID) const;
  // First position holding this very record, 0 when none.
  std::int32_t GetMenuInfoIndex(const Record& record) const;
  static std::string MakeKey(std::int32_t hMenu, std::int32_t lID);

  // Position order, as the class's enumeration gives them.
  auto begin() const { return records_.begin(); }
  auto end() const { return records_.end(); }

 private:
  std::vector<Record> records_;
  std::map<std::string, Record> byKey_;  // keys compare as given: they hold only digits
};

}  // namespace ornatek
