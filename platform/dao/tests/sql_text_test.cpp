// Typed text pasted into the programs' queries: quotes, "%", "_", "*".

#include "dao/sql_text.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "books.h"
#include "dao/dao.h"
#include "testsupport/temp_dir.h"

namespace {

TEST(SqlText, Helpers) {
  EXPECT_EQ(dao::EscapeQuotes("d'accordo"), "d''accordo");
  EXPECT_EQ(dao::Quote("it's"), "'it''s'");
  EXPECT_EQ(dao::Quote(""), "''");
  EXPECT_EQ(dao::LikeLiteral("a*b?c#d[e]'f%_"), "a[*]b[?]c[#]d[[]e]''f%_");
  EXPECT_EQ(dao::LikePattern("a*b?c#d[e]'f%_"), "a*b?c#d[[]e]''f%_");
  EXPECT_EQ(dao::Identifier("English"), "[English]");
  EXPECT_EQ(dao::Identifier("Eng]lish] or 1=1 --"), "[English or 1=1 --]");
}

class TypedText : public ::testing::Test {
 protected:
  void SetUp() override {
    daotest::MakeWordBook(dir_ / "dictionary.dll", {{"d'accordo", "agreed"},
                                                    {"dacca", "x"},
                                                    {"100% sure", "sicuro al 100%"},
                                                    {"1000 times", "mille volte"},
                                                    {"a_b", "con trattino"},
                                                    {"axb", "senza"},
                                                    {"*star", "stella"},
                                                    {"start", "inizio"},
                                                    {"[note]", "nota"}});
    db_ = dao::OpenDatabase((dir_ / "dictionary.dll").string());
  }

  // The dictionary's search with the typed text made safe the way it does.
  std::vector<std::string> Search(const std::string& column, const std::string& typed) {
    dao::Recordset rs =
        db_.OpenRecordset("select * from word where " + dao::Identifier(column) + " like '" +
                          dao::LikePattern(typed) + "*' order by english");
    std::vector<std::string> out;
    for (; !rs.Eof(); rs.MoveNext()) out.push_back(rs.Fields("english").Value());
    return out;
  }

  testsupport::TempDir dir_;
  dao::Database db_;
};

TEST_F(TypedText, QuotesNeitherBreakNorChangeAQuery) {
  EXPECT_EQ(Search("English", "d'acc"), (std::vector<std::string>{"d'accordo"}));
  EXPECT_EQ(Search("English", "d'"), (std::vector<std::string>{"d'accordo"}));
  // An attempt to widen the query stays a search for that text.
  EXPECT_EQ(Search("English", "x' or '1'='1"), (std::vector<std::string>{}));
  EXPECT_EQ(Search("English", "'; delete from word; --"), (std::vector<std::string>{}));
  EXPECT_EQ(db_.OpenRecordset("word").RecordCount(), 9);
  // As a value in an equality.
  dao::Recordset rs =
      db_.OpenRecordset("select * from word where English=" + dao::Quote("d'accordo"));
  EXPECT_EQ(rs.Fields("Italian").Value(), "agreed");
  // Unmended, the quote breaks the query with a syntax error and nothing else.
  try {
    db_.OpenRecordset("select * from word where English like 'd'acc*' order by english");
    FAIL();
  } catch (const dao::Error& e) {
    EXPECT_EQ(e.number(), dao::err::kSyntax);
  }
}

TEST_F(TypedText, ANulEndsTheTypedTextInsteadOfBreakingTheQuery) {
  using namespace std::string_literals;
  EXPECT_EQ(Search("English", "d'acc\0' or 1=1"s), (std::vector<std::string>{"d'accordo"}));
  EXPECT_EQ(Search("English", "sta\0r"s), (std::vector<std::string>{"start"}));
  dao::Recordset rs =
      db_.OpenRecordset("select * from word where English=" + dao::Quote("dacca\0x"s));
  EXPECT_EQ(rs.Fields("Italian").Value(), "x");
  EXPECT_EQ(dao::Identifier("English\0]"s), "[English]");
}

TEST_F(TypedText, PercentAndUnderscoreAreLetters) {
  // Even pasted unmended: the engine's LIKE does not know SQL's wildcards.
  const auto raw = [&](const std::string& typed) {
    dao::Recordset rs = db_.OpenRecordset("select * from word where English like '" + typed +
                                          "*' order by english");
    std::vector<std::string> out;
    for (; !rs.Eof(); rs.MoveNext()) out.push_back(rs.Fields("English").Value());
    return out;
  };
  EXPECT_EQ(raw("100%"), (std::vector<std::string>{"100% sure"}));
  EXPECT_EQ(raw("a_"), (std::vector<std::string>{"a_b"}));
  EXPECT_EQ(Search("English", "100%"), (std::vector<std::string>{"100% sure"}));
  EXPECT_EQ(Search("Italian", "sicuro al 100%"), (std::vector<std::string>{"100% sure"}));
  EXPECT_EQ(Search("English", "a_"), (std::vector<std::string>{"a_b"}));
}

TEST_F(TypedText, AStarStaysTheDictionarysPatternAndBracketsStayLetters) {
  EXPECT_EQ(Search("English", "*tar"), (std::vector<std::string>{"*star", "start"}));
  EXPECT_EQ(Search("English", "[n"), (std::vector<std::string>{"[note]"}));
  EXPECT_EQ(Search("English", "[note]"), (std::vector<std::string>{"[note]"}));
  // LikeLiteral: the star is a letter.
  dao::Recordset rs =
      db_.OpenRecordset("select * from word where English like '" + dao::LikeLiteral("*st") + "*'");
  EXPECT_EQ(rs.Fields("English").Value(), "*star");
  rs.MoveNext();
  EXPECT_TRUE(rs.Eof());
}

TEST_F(TypedText, AnEditedColumnNameCannotWidenTheQuery) {
  // Bracketed, any text is one name: an unknown column, not more SQL.
  for (const std::string column : {"English like '*' or English", "Spanish"}) {
    try {
      Search(column, "zzz");
      FAIL() << column;
    } catch (const dao::Error& e) {
      EXPECT_EQ(e.number(), dao::err::kTooFewParameters);
    }
  }
}

}  // namespace
