// The prefix search must read an index range, not the whole word list.

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

#include <gtest/gtest.h>

#include <string>

#include "jet_sql.h"
#include "jet_text.h"

namespace {

int CompareText(void*, int lenA, const void* a, int lenB, const void* b) {
  return dao::jet::Compare({static_cast<const char*>(a), static_cast<std::size_t>(lenA)},
                           {static_cast<const char*>(b), static_cast<std::size_t>(lenB)});
}

void Like(sqlite3_context* ctx, int, sqlite3_value**) {
  sqlite3_result_int(ctx, 1);
}

std::string Plan(sqlite3* db, const std::string& jetSql) {
  const std::string sql = "EXPLAIN QUERY PLAN " + dao::jet::Translate(jetSql).sql;
  sqlite3_stmt* st = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  std::string plan;
  while (sqlite3_step(st) == SQLITE_ROW)
    plan += std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, 3))) + "\n";
  sqlite3_finalize(st);
  return plan;
}

TEST(QueryPlan, PrefixSearchesUseTheIndexes) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
  sqlite3_create_collation(db, dao::jet::kCollation, SQLITE_UTF8, nullptr, CompareText);
  sqlite3_create_function(db, "like", 2, SQLITE_UTF8, nullptr, Like, nullptr, nullptr);
  for (const char* jet :
       {"CREATE TABLE word (English TEXT(255), Italian TEXT(255))",
        "CREATE UNIQUE INDEX EnglishItalian ON word (English, Italian)",
        "CREATE INDEX English ON word (English)", "CREATE INDEX Italian ON word (Italian)"})
    ASSERT_EQ(sqlite3_exec(db, dao::jet::Translate(jet).sql.c_str(), nullptr, nullptr, nullptr),
              SQLITE_OK);

  const std::string english =
      Plan(db, "select * from word where English like 'ab*' order by english");
  EXPECT_NE(english.find("INDEX English (English>? AND English<?)"), std::string::npos) << english;
  EXPECT_EQ(english.find("TEMP B-TREE"), std::string::npos) << english;  // no sorting

  const std::string italian =
      Plan(db, "select * from word where Italian like 'ab*' order by english");
  EXPECT_NE(italian.find("SEARCH TABLE word USING INDEX Italian (Italian>? AND Italian<?)"),
            std::string::npos)
      << italian;

  // The word books: a category and its words in order, from one index.
  ASSERT_EQ(sqlite3_exec(db,
                         dao::jet::Translate("CREATE TABLE reg (English TEXT, Italian TEXT, "
                                             "category TEXT)")
                             .sql.c_str(),
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "CREATE UNIQUE INDEX CategoryEnglish ON reg (category, English)",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  const std::string category =
      Plan(db, "select * from reg where category='Numbers' ORDER BY English");
  EXPECT_NE(category.find("USING INDEX CategoryEnglish (category=?)"), std::string::npos)
      << category;
  EXPECT_EQ(category.find("TEMP B-TREE"), std::string::npos) << category;
  sqlite3_close(db);
}

}  // namespace
