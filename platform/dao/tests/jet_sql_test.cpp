#include "jet_sql.h"

#include <gtest/gtest.h>

#include "dao/error.h"

namespace dao::jet {
namespace {

int ErrorOf(std::string_view sql) {
  try {
    Translate(sql);
  } catch (const Error& e) {
    return e.number();
  }
  return 0;
}

TEST(JetSql, TheProgramsQueriesTranslate) {
  EXPECT_EQ(Translate("select * from word ORDER BY English").sql,
            "select * from word ORDER BY English COLLATE JETTEXT , `word`.rowid");
  EXPECT_EQ(Translate("select * from word ").sql, "select * from word");
  EXPECT_EQ(Translate("select * from word where category= 'Some Basic Phrases'").sql,
            "select * from word where category = 'Some Basic Phrases' COLLATE JETTEXT");
  EXPECT_EQ(
      Translate("select * from word where category='Fruits, Vegetables and Meats' ORDER BY English")
          .sql,
      "select * from word where category = 'Fruits, Vegetables and Meats' COLLATE JETTEXT ORDER "
      "BY English COLLATE JETTEXT , `word`.rowid");
  // The prefix search gets an index range in front of the engine's LIKE.
  EXPECT_EQ(Translate("select * from word where English like 'Ab*' order by english").sql,
            "select * from word where ( English >= 'ab' COLLATE JETTEXT AND English < 'ac' "
            "COLLATE JETTEXT AND English like 'Ab*' ) order by english COLLATE JETTEXT , "
            "`word`.rowid");
  // An empty prefix reads everything, with no range.
  EXPECT_EQ(Translate("select * from word where Italian like '*' order by english").sql,
            "select * from word where Italian like '*' order by english COLLATE JETTEXT , "
            "`word`.rowid");
}

TEST(JetSql, StringsNamesAndOperators) {
  EXPECT_EQ(Translate("SELECT [English] FROM [word] WHERE Italian = \"l'uva\"").sql,
            "SELECT `English` FROM `word` WHERE Italian = 'l''uva' COLLATE JETTEXT");
  EXPECT_EQ(Translate("select * from word where English = 'it''s'").sql,
            "select * from word where English = 'it''s' COLLATE JETTEXT");
  EXPECT_EQ(Translate("SELECT English & ' - ' & Italian FROM word WHERE x = True").sql,
            "SELECT English || ' - ' COLLATE JETTEXT || Italian FROM word WHERE x = -1");
  EXPECT_EQ(Translate("SELECT TOP 5 * FROM word ORDER BY English DESC, Italian;").sql,
            "SELECT * FROM word ORDER BY English COLLATE JETTEXT DESC , Italian COLLATE JETTEXT "
            "LIMIT 5");
  EXPECT_EQ(Translate("CREATE TABLE word (English TEXT(255), n INTEGER, Italian MEMO)").sql,
            "CREATE TABLE word ( English TEXT ( 255 ) COLLATE JETTEXT , n INTEGER , Italian MEMO "
            "COLLATE JETTEXT )");
  // A comparison that is not a plain column keeps its plain LIKE.
  EXPECT_EQ(Translate("select * from word where English & 'x' like 'a*'").sql,
            "select * from word where English || 'x' COLLATE JETTEXT like 'a*'");
  EXPECT_EQ(Translate("select * from word where English not like 'a*'").sql,
            "select * from word where English not like 'a*'");
  EXPECT_EQ(Translate("select * from word w where w.English like 'a*'").sql,
            "select * from word w where ( w . English >= 'a' COLLATE JETTEXT AND w . English < "
            "'b' COLLATE JETTEXT AND w . English like 'a*' )");
}

TEST(JetSql, PastedTextCannotAddSqliteSyntax) {
  // What would be a comment or a parameter in SQLite is none here.
  EXPECT_EQ(Translate("select * from word where English = 1 -- 1").sql,
            "select * from word where English = 1 - - 1");
  EXPECT_EQ(Translate("select * from word /* x */").sql, "select * from word / * x * /");
  EXPECT_EQ(ErrorOf("select * from word where English = ?"), err::kSyntax);
  EXPECT_EQ(ErrorOf("select * from word where English = :a"), err::kSyntax);
  EXPECT_EQ(ErrorOf("select * from word where English = @a"), err::kSyntax);
  EXPECT_EQ(ErrorOf("select * from word where English = $a"), err::kSyntax);
  // A second statement is refused; an unclosed string or bracket is a syntax error.
  EXPECT_EQ(ErrorOf("select * from word; delete from word"), err::kTrailingCharacters);
  EXPECT_EQ(ErrorOf("select * from word where English like 'd'accordo*' order by english"),
            err::kSyntax);
  EXPECT_EQ(ErrorOf("select * from [word"), err::kSyntax);
  EXPECT_EQ(ErrorOf("select * from word where (a = 1"), err::kSyntax);
  EXPECT_EQ(ErrorOf("   "), err::kSyntax);
}

TEST(JetSql, FindsTheTableAQueryCanWriteTo) {
  const Statement plain = Translate("select * from word where category='Numbers' ORDER BY English");
  ASSERT_TRUE(plain.source);
  EXPECT_EQ(plain.source->table, "word");
  EXPECT_EQ(plain.source->rowidSql,
            "SELECT `word`.rowid , * FROM word where category = 'Numbers' COLLATE JETTEXT ORDER "
            "BY English COLLATE JETTEXT , `word`.rowid");
  EXPECT_EQ(plain.source->refetchSql, "SELECT * FROM word WHERE `word`.rowid = ?");

  const Statement aliased = Translate("SELECT w.English FROM [word] AS w");
  ASSERT_TRUE(aliased.source);
  EXPECT_EQ(aliased.source->refetchSql, "SELECT w . English FROM `word` AS w WHERE `w`.rowid = ?");

  EXPECT_FALSE(Translate("select distinct English from word").source);
  EXPECT_FALSE(Translate("select English, count(*) from word group by English").source);
  EXPECT_FALSE(Translate("select * from word, other").source);
  EXPECT_FALSE(Translate("select * from word inner join other on 1").source);
  EXPECT_FALSE(Translate("delete from word").source);
  EXPECT_TRUE(Translate("select English from word where English in (select x from y)").source);
}

TEST(JetSql, BareNamesAreTables) {
  EXPECT_EQ(BareName("Word"), "Word");
  EXPECT_EQ(BareName(" [my table] "), "my table");
  EXPECT_FALSE(BareName("select * from word"));
  EXPECT_FALSE(BareName("'word'"));
  EXPECT_FALSE(BareName("word'"));
}

}  // namespace
}  // namespace dao::jet
