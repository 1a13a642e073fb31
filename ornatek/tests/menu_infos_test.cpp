// The menu item store: keys, positions that never move, lookups that never raise.

#include <gtest/gtest.h>

#include <stdexcept>

#include "menu_infos.h"

using ornatek::cMenuInfos;

TEST(MenuInfos, KeysCarrySignedDecimalParts) {
  EXPECT_EQ(cMenuInfos::MakeKey(1234, 5), "#1234%5");
  EXPECT_EQ(cMenuInfos::MakeKey(-7, -61536), "#-7%-61536");
}

TEST(MenuInfos, RecordsAreFoundByPositionAndKeyAndShared) {
  cMenuInfos store;
  EXPECT_FALSE(store.Item(std::string("#1%1")));
  EXPECT_FALSE(store.Item(1));
  const auto a = store.Add(100, "&Open\tCtrl+O", 0, false, 1);
  const auto b = store.Add(100, "", 0x800, false, 0);
  const auto c = store.Add(200, "&Open", 0, true, 1);  // same id, other menu: its own record
  EXPECT_EQ(store.Count(), 3);
  EXPECT_EQ(store.Item(2), b);
  EXPECT_EQ(store.Item(cMenuInfos::MakeKey(200, 1)), c);
  EXPECT_EQ(store.GetMenuInfoIndex(c), 3);
  EXPECT_TRUE(store.MenuInfoExists(100, 0));
  EXPECT_FALSE(store.MenuInfoExists(100, 2));
  // A field changed through the reference changes the stored record.
  store.Item(1)->sText = "&Apri";
  EXPECT_EQ(a->sText, "&Apri");
  // Lookups outside the store never raise.
  EXPECT_FALSE(store.Item(0));
  EXPECT_FALSE(store.Item(4));
  EXPECT_FALSE(store.Item(-1));
  EXPECT_FALSE(store.Item(std::string("#9%9")));
  EXPECT_EQ(store.GetMenuInfoIndex(std::make_shared<ornatek::cMenuInfo>(*a)), 0)
      << "identity, not equal fields";
  EXPECT_EQ(store.GetMenuInfoIndex(nullptr), 0);
  int n = 0;
  for (const auto& r : store) EXPECT_EQ(store.GetMenuInfoIndex(r), ++n);
}

TEST(MenuInfos, DuplicateKeysAreRefusedAndBadRemovalsRaise) {
  cMenuInfos store;
  store.Add(5, "one", 0, false, 0);
  EXPECT_THROW(store.Add(5, "two", 0, false, 0), std::invalid_argument);
  EXPECT_EQ(store.Item(1)->sText, "one") << "nothing is replaced";
  EXPECT_THROW(store.Remove(2), std::out_of_range);
  EXPECT_THROW(store.Remove(std::string("#6%0")), std::out_of_range);
  store.Add(6, "three", 0, false, 0);
  store.Remove(1);
  EXPECT_EQ(store.Count(), 1);
  EXPECT_EQ(store.Item(1)->sText, "three") << "later positions move down";
  EXPECT_FALSE(store.MenuInfoExists(5, 0));
}

TEST(MenuInfos, StoringAgainKeepsCountAndPositions) {
  // The owner-draw conversion's calling order: exists? update in place : add.
  cMenuInfos store;
  const auto storeItem = [&](int menu, const std::string& text, int type, int id) {
    if (store.MenuInfoExists(menu, id)) {
      auto r = store.Item(cMenuInfos::MakeKey(menu, id));
      r->sText = text;
      r->lType = type;
      return store.GetMenuInfoIndex(r);
    }
    return store.GetMenuInfoIndex(store.Add(menu, text, type, false, id));
  };
  EXPECT_EQ(storeItem(9, "A", 0, 1), 1);
  EXPECT_EQ(storeItem(9, "", 0x800, 0), 2);
  EXPECT_EQ(storeItem(9, "", 0x800, 0), 2) << "two separators with id 0 share one record";
  EXPECT_EQ(storeItem(9, "A2", 0, 1), 1);
  EXPECT_EQ(store.Count(), 2);
  EXPECT_EQ(store.Item(1)->sText, "A2");
}
