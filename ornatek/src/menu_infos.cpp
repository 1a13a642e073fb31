#include "menu_infos.h"

#include <algorithm>
#include <stdexcept>

namespace ornatek {

std::string cMenuInfos::MakeKey(std::int32_t hMenu, std::int32_t lID) {
  return "#" + std::to_string(hMenu) + "%" + std::to_string(lID);
}

cMenuInfos::Record cMenuInfos::Add(std::int32_t hMenu, const std::string& sText, std::int32_t lType,
                                   bool bMainMenu, std::int32_t lID) {
  const std::string key = MakeKey(hMenu, lID);
  if (byKey_.contains(key)) throw std::invalid_argument("duplicate menu item key " + key);
  auto record = std::make_shared<cMenuInfo>(cMenuInfo{hMenu, lID, lType, sText, bMainMenu});
  records_.push_back(record);
  byKey_.emplace(key, record);
  return record;
}

cMenuInfos::Record cMenuInfos::Item(const Index& index) const {
  if (const auto* position = std::get_if<std::int32_t>(&index)) {
    if (*position < 1 || *position > Count()) return nullptr;
    return records_[static_cast<std::size_t>(*position - 1)];
  }
  const auto it = byKey_.find(std::get<std::string>(index));
  return it == byKey_.end() ? nullptr : it->second;
}

void cMenuInfos::Remove(const Index& index) {
  const Record record = Item(index);
  if (!record) throw std::out_of_range("no such menu item record");
  // The key is the one the record was added under, whatever its fields say now.
  std::erase_if(byKey_, [&](const auto& entry) { return entry.second == record; });
  records_.erase(records_.begin() + (GetMenuInfoIndex(record) - 1));
}

bool cMenuInfos::MenuInfoExists(std::int32_t hMenu, std::int32_t lID) const {
  return byKey_.contains(MakeKey(hMenu, lID));
}

std::int32_t cMenuInfos::GetMenuInfoIndex(const Record& record) const {
  if (!record) return 0;
  const auto it = std::find(records_.begin(), records_.end(), record);
  return it == records_.end() ? 0 : static_cast<std::int32_t>(it - records_.begin()) + 1;
}

}  // namespace ornatek
