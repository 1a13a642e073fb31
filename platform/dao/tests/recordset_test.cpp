// The recordset operations as the programs use them: the editors' load
// loop and list positioning, saving and deleting, the trainers' data
// sources and the dictionary's prefix search.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "books.h"
#include "dao/dao.h"
#include "testsupport/temp_dir.h"

namespace {

using daotest::Pairs;

int ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const dao::Error& e) {
    return e.number();
  }
  return 0;
}

std::vector<std::string> Column(dao::Recordset& rs, const std::string& name) {
  std::vector<std::string> out;
  if (rs.Eof() && rs.Bof()) return out;
  for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) out.push_back(rs.Fields(name).Value());
  return out;
}

class RecordsetTest : public ::testing::Test {
 protected:
  dao::Database OpenBook(const Pairs& rows, bool exclusive = true) {
    daotest::MakeWordBook(dir_ / "dialog.ocx", rows);
    return dao::OpenDatabase((dir_ / "dialog.ocx").string(), exclusive, false);
  }
  testsupport::TempDir dir_;
};

TEST_F(RecordsetTest, AnEmptyBookOpensAtBothEnds) {
  dao::Database db = OpenBook({});
  dao::Recordset rs = db.OpenRecordset("select * from word ORDER BY English");
  EXPECT_TRUE(rs.Eof());
  EXPECT_TRUE(rs.Bof());
  EXPECT_EQ(rs.RecordCount(), 0);
  EXPECT_EQ(rs.AbsolutePosition(), -1);
  EXPECT_EQ(ErrorOf([&] { rs.MoveFirst(); }), dao::err::kNoCurrentRecord);
  EXPECT_EQ(ErrorOf([&] { rs.MoveLast(); }), dao::err::kNoCurrentRecord);
  EXPECT_EQ(ErrorOf([&] { rs.MoveNext(); }), dao::err::kNoCurrentRecord);
  EXPECT_EQ(ErrorOf([&] { rs.Fields("English").Value(); }), dao::err::kNoCurrentRecord);
  EXPECT_EQ(ErrorOf([&] { rs.Bookmark(); }), dao::err::kNoCurrentRecord);
  EXPECT_TRUE(rs.Eof() && rs.Bof());

  dao::Recordset table = db.OpenRecordset("Word");
  EXPECT_EQ(table.Type(), dao::RecordsetType::kTable);
  EXPECT_EQ(table.RecordCount(), 0);
  EXPECT_TRUE(table.Eof() && table.Bof());
}

TEST_F(RecordsetTest, TheEditorsLoadLoopAndListPositioning) {
  dao::Database db = OpenBook({{"water", "l'acqua"}, {"Apple", "la mela"}, {"bread", "il pane"}});
  dao::Recordset rs = db.OpenRecordset("select * from word ORDER BY English");
  ASSERT_FALSE(rs.Eof() || rs.Bof());
  // A dynaset counts the records reached so far.
  EXPECT_EQ(rs.RecordCount(), 1);
  EXPECT_EQ(rs.Fields("English").Value(), "Apple");
  EXPECT_EQ(rs.AbsolutePosition(), 0);

  std::vector<std::string> list;
  while (!rs.Eof()) {
    list.push_back(rs.Fields("English").Value());
    rs.MoveNext();
  }
  EXPECT_EQ(list, (std::vector<std::string>{"Apple", "bread", "water"}));
  EXPECT_EQ(rs.RecordCount(), 3);
  EXPECT_EQ(rs.AbsolutePosition(), -1);
  EXPECT_EQ(ErrorOf([&] { rs.MoveNext(); }), dao::err::kNoCurrentRecord);

  rs.MoveFirst();
  const dao::Bookmark first = rs.Bookmark();
  rs.Move(2, first);
  EXPECT_EQ(rs.Fields("english").Value(), "water");
  EXPECT_EQ(rs.AbsolutePosition(), 2);
  rs.Move(1, first);
  EXPECT_EQ(rs.Fields("ITALIAN").Value(), "il pane");
  rs.Move(0, first);
  EXPECT_EQ(rs.Fields("English").Value(), "Apple");
  // Past either end stands at EOF or BOF.
  rs.Move(3, first);
  EXPECT_TRUE(rs.Eof());
  rs.Move(-1, first);
  EXPECT_TRUE(rs.Bof());
  EXPECT_EQ(ErrorOf([&] { rs.MovePrevious(); }), dao::err::kNoCurrentRecord);
  EXPECT_TRUE(rs.Bof());
}

TEST_F(RecordsetTest, NextAndPreviousAtTheEnds) {
  dao::Database db = OpenBook({{"a", "1"}, {"b", "2"}});
  dao::Recordset rs = db.OpenRecordset("select * from word ORDER BY English");
  rs.MoveLast();
  EXPECT_EQ(rs.RecordCount(), 2);
  rs.MoveNext();
  EXPECT_TRUE(rs.Eof());
  EXPECT_FALSE(rs.Bof());
  EXPECT_EQ(rs.AbsolutePosition(), -1);
  rs.MovePrevious();
  EXPECT_EQ(rs.Fields("English").Value(), "b");
  rs.MovePrevious();
  rs.MovePrevious();
  EXPECT_TRUE(rs.Bof());
  EXPECT_EQ(ErrorOf([&] { rs.MovePrevious(); }), dao::err::kNoCurrentRecord);
  rs.MoveNext();
  EXPECT_EQ(rs.Fields("English").Value(), "a");
}

TEST_F(RecordsetTest, ADuplicateKeyFailsAndLeavesTheChangePending) {
  dao::Database db = OpenBook({{"apple", "la mela"}});
  dao::Recordset rs = db.OpenRecordset("select * from word ORDER BY English");
  rs.AddNew();
  rs.Fields("English") = "APPLE";  // the same key without regard to case
  rs.Fields("Italian") = "la seconda mela";
  const int number = ErrorOf([&] { rs.Update(); });
  EXPECT_EQ(number, dao::err::kDuplicateKey);
  EXPECT_EQ(rs.GetEditMode(), dao::EditMode::kAdd);
  EXPECT_EQ(rs.Fields("Italian").Value(), "la seconda mela");
  // The first row is unchanged, and the book still holds one row.
  dao::Recordset check = db.OpenRecordset("Word");
  EXPECT_EQ(check.RecordCount(), 1);
  EXPECT_EQ(check.Fields("Italian").Value(), "la mela");
  // The pending change can be mended and written.
  rs.Fields("English") = "pear";
  rs.Fields("Italian") = "la pera";
  rs.Update();
  EXPECT_EQ(rs.GetEditMode(), dao::EditMode::kNone);
  EXPECT_EQ(db.OpenRecordset("Word").RecordCount(), 2);

  // Edit into an existing key: refused the same way.
  rs.MoveFirst();
  rs.Edit();
  rs.Fields("English") = "Pear";
  EXPECT_EQ(ErrorOf([&] { rs.Update(); }), dao::err::kDuplicateKey);
  EXPECT_EQ(rs.GetEditMode(), dao::EditMode::kEdit);
  // A move drops the pending change without writing it.
  rs.MoveNext();
  EXPECT_EQ(rs.GetEditMode(), dao::EditMode::kNone);
  EXPECT_EQ(ErrorOf([&] { rs.Update(); }), dao::err::kUpdateWithoutEdit);
  rs.MoveFirst();
  EXPECT_EQ(rs.Fields("English").Value(), "apple");
}

TEST_F(RecordsetTest, RowsAddedThroughADynasetGoToItsEnd) {
  dao::Database db = OpenBook({{"banana", "la banana"}, {"cherry", "la ciliegia"}});
  dao::Recordset rs = db.OpenRecordset("select * from word ORDER BY English");
  while (!rs.Eof()) rs.MoveNext();
  rs.MoveFirst();
  const dao::Bookmark first = rs.Bookmark();
  rs.AddNew();
  rs.Fields("English") = "apple";
  rs.Fields("Italian") = "la mela";
  rs.Update();
  // The current record stays; the new row is the last one, and counted.
  EXPECT_EQ(rs.Fields("English").Value(), "banana");
  EXPECT_EQ(rs.RecordCount(), 3);
  rs.SetBookmark(rs.LastModified());
  EXPECT_EQ(rs.Fields("English").Value(), "apple");
  EXPECT_EQ(rs.AbsolutePosition(), 2);
  rs.Move(2, first);
  EXPECT_EQ(rs.Fields("English").Value(), "apple");
  EXPECT_EQ(Column(rs, "English"), (std::vector<std::string>{"banana", "cherry", "apple"}));
  // Opened again, the query sorts it in.
  dao::Recordset again = db.OpenRecordset("select * from word ORDER BY English");
  EXPECT_EQ(Column(again, "English"), (std::vector<std::string>{"apple", "banana", "cherry"}));
}

TEST_F(RecordsetTest, SavingAnEditKeepsTheRowInPlace) {
  dao::Database db = OpenBook({{"a", "1"}, {"b", "2"}, {"c", "3"}});
  dao::Recordset rs = db.OpenRecordset("select * from word ORDER BY English");
  rs.MoveNext();
  rs.Edit();
  rs.Fields("English") = "zz";
  rs.Update();
  EXPECT_EQ(rs.Fields("English").Value(), "zz");
  EXPECT_EQ(rs.AbsolutePosition(), 1);
  rs.SetBookmark(rs.LastModified());
  EXPECT_EQ(rs.AbsolutePosition(), 1);
  EXPECT_EQ(Column(rs, "English"), (std::vector<std::string>{"a", "zz", "c"}));
  // Only the changed column was written.
  EXPECT_EQ(Column(rs, "Italian"), (std::vector<std::string>{"1", "2", "3"}));
  // CancelUpdate drops a change; Update without one is an error.
  rs.MoveFirst();
  rs.Edit();
  rs.Fields("Italian") = "uno";
  EXPECT_EQ(rs.Fields("Italian").Value(), "uno");  // reads the change
  rs.CancelUpdate();
  EXPECT_EQ(rs.Fields("Italian").Value(), "1");
  EXPECT_EQ(ErrorOf([&] { rs.CancelUpdate(); }), dao::err::kUpdateWithoutEdit);
  EXPECT_EQ(ErrorOf([&] { rs.Fields("Italian") = "x"; }), dao::err::kUpdateWithoutEdit);
  // AddNew again drops the change begun before.
  rs.AddNew();
  rs.Fields("English") = "first try";
  rs.AddNew();
  EXPECT_TRUE(rs.Fields("English").IsNull());
}

TEST_F(RecordsetTest, DeleteLeavesNoCurrentRecordUntilTheNextMove) {
  dao::Database db = OpenBook({{"a", "1"}, {"b", "2"}, {"c", "3"}});
  dao::Recordset rs = db.OpenRecordset("select * from word ORDER BY English");
  while (!rs.Eof()) rs.MoveNext();
  EXPECT_EQ(rs.RecordCount(), 3);
  rs.MoveFirst();
  rs.MoveNext();  // "b"
  rs.Delete();
  EXPECT_EQ(rs.RecordCount(), 2);
  EXPECT_FALSE(rs.Eof() || rs.Bof());
  EXPECT_EQ(rs.AbsolutePosition(), -1);
  EXPECT_EQ(ErrorOf([&] { rs.Fields("English").Value(); }), dao::err::kRecordDeleted);
  EXPECT_EQ(ErrorOf([&] { rs.Delete(); }), dao::err::kRecordDeleted);
  EXPECT_EQ(ErrorOf([&] { rs.Edit(); }), dao::err::kRecordDeleted);
  rs.MoveNext();
  EXPECT_EQ(rs.Fields("English").Value(), "c");
  EXPECT_EQ(rs.AbsolutePosition(), 1);
  rs.MoveFirst();
  const dao::Bookmark first = rs.Bookmark();
  rs.Move(1, first);
  EXPECT_EQ(rs.Fields("English").Value(), "c");
  EXPECT_EQ(db.OpenRecordset("word").RecordCount(), 2);

  // The editor deletes down to nothing: after the last Delete the next move
  // fails and leaves both ends, place 0 of 0.
  rs.MoveFirst();
  rs.Delete();
  rs.MoveFirst();
  EXPECT_EQ(rs.RecordCount(), 1);
  rs.Delete();
  EXPECT_EQ(rs.RecordCount(), 0);
  EXPECT_EQ(ErrorOf([&] { rs.MoveFirst(); }), dao::err::kNoCurrentRecord);
  EXPECT_TRUE(rs.Eof() && rs.Bof());
  EXPECT_EQ(rs.AbsolutePosition(), -1);
  EXPECT_EQ(db.OpenRecordset("word").RecordCount(), 0);
  // A bookmark of a deleted row is refused.
  EXPECT_EQ(ErrorOf([&] { rs.Move(0, first); }), dao::err::kRecordDeleted);
}

TEST_F(RecordsetTest, ARowDeletedElsewhereIsReportedDeleted) {
  dao::Database db = OpenBook({{"a", "1"}, {"b", "2"}});
  dao::Recordset mine = db.OpenRecordset("select * from word ORDER BY English");
  dao::Recordset other = db.OpenRecordset("select * from word ORDER BY English");
  other.Delete();
  mine.Edit();
  mine.Fields("Italian") = "uno";
  EXPECT_EQ(ErrorOf([&] { mine.Update(); }), dao::err::kRecordDeleted);
  EXPECT_EQ(mine.GetEditMode(), dao::EditMode::kNone);
  EXPECT_EQ(ErrorOf([&] { mine.Fields("English").Value(); }), dao::err::kRecordDeleted);
  mine.MoveNext();
  EXPECT_EQ(mine.Fields("English").Value(), "b");
  other.MoveNext();
  mine.Delete();
  EXPECT_EQ(ErrorOf([&] { other.Delete(); }), dao::err::kRecordDeleted);
  EXPECT_EQ(db.OpenRecordset("word").RecordCount(), 0);
}

TEST_F(RecordsetTest, AddingToAnEmptyBook) {
  dao::Database db = OpenBook({});
  dao::Recordset rs = db.OpenRecordset("select * from word ORDER BY English");
  rs.AddNew();
  rs.Fields("English") = "hello";
  rs.Fields("Italian") = "ciao";
  rs.Update();
  EXPECT_EQ(rs.RecordCount(), 1);
  rs.SetBookmark(rs.LastModified());
  EXPECT_FALSE(rs.Eof() || rs.Bof());
  rs.MoveFirst();
  EXPECT_EQ(rs.AbsolutePosition(), 0);
  EXPECT_EQ(rs.Fields("Italian").Value(), "ciao");
}

TEST_F(RecordsetTest, TextIsStoredAsTypedAndNullReadsEmpty) {
  dao::Database db = OpenBook({});
  dao::Recordset rs = db.OpenRecordset("word");
  rs.AddNew();
  rs.Fields("English") = "  it's 100% _odd_ * [x] \"quoted\"  ";
  rs.Update();
  rs.MoveFirst();
  EXPECT_EQ(rs.Fields("English").Value(), "  it's 100% _odd_ * [x] \"quoted\"  ");
  EXPECT_TRUE(rs.Fields("Italian").IsNull());
  EXPECT_EQ(rs.Fields("Italian").Value(), "");
  EXPECT_EQ(rs.Fields(0).Name(), "English");
  EXPECT_EQ(rs.FieldCount(), 2u);
  EXPECT_EQ(ErrorOf([&] { rs.Fields("Spanish"); }), dao::err::kItemNotFound);
  EXPECT_EQ(ErrorOf([&] { rs.Fields(2); }), dao::err::kItemNotFound);
}

TEST_F(RecordsetTest, CategoriesWithCommasAndSlashesSelectTheirRows) {
  daotest::MakeCategorisedBook(dir_ / "reg.ocx",
                               {{"Fruits, Vegetables and Meats", "the apple", "la mela"},
                                {"Fruits, Vegetables and Meats", "the beef", "il manzo"},
                                {"Office / School Supplies", "the pen", "la penna"},
                                {"Numbers", "one", "uno"},
                                {"Fruits", "the fig", "il fico"}});
  dao::Database db =
      dao::OpenDatabase((dir_ / "reg.ocx").string(), false, false, daotest::kPassword);
  dao::Recordset fruit = db.OpenRecordset(
      "select * from word where category='Fruits, Vegetables and Meats' ORDER BY English");
  EXPECT_EQ(Column(fruit, "English"), (std::vector<std::string>{"the apple", "the beef"}));
  dao::Recordset office =
      db.OpenRecordset("select * from word where category= 'Office / School Supplies'");
  EXPECT_EQ(Column(office, "Italian"), (std::vector<std::string>{"la penna"}));
  dao::Recordset all = db.OpenRecordset("select * from word ");
  all.MoveLast();
  EXPECT_EQ(all.RecordCount(), 5);
  // The same English may stand in two categories, not twice in one.
  dao::Recordset rs =
      db.OpenRecordset("select * from word where category='Numbers' ORDER BY English");
  rs.AddNew();
  rs.Fields("English") = "the apple";
  rs.Fields("Italian") = "la mela";
  rs.Fields("category") = "Numbers";
  rs.Update();
  rs.AddNew();
  rs.Fields("English") = "ONE";
  rs.Fields("Italian") = "uno";
  rs.Fields("category") = "numbers";
  EXPECT_EQ(ErrorOf([&] { rs.Update(); }), dao::err::kDuplicateKey);
}

TEST_F(RecordsetTest, TheDictionarysPrefixSearch) {
  dao::Database db = OpenBook({{"abbey", "l'abbazia"},
                               {"Abandon", "abbandonare"},
                               {"about", "circa"},
                               {"city", "la città"},
                               {"town", "la Città"},
                               {"because", "perché"},
                               {"ab", "ab"},
                               {"b", "abate"}},
                              false);
  const auto search = [&](const std::string& column, const std::string& prefix) {
    dao::Recordset rs = db.OpenRecordset("select * from word where " + column + " like '" + prefix +
                                         "*' order by english");
    if (!(rs.Eof() && rs.Bof())) {
      rs.MoveLast();
      rs.MoveFirst();
    }
    const long count = rs.RecordCount();
    std::vector<std::string> list = Column(rs, "english");
    EXPECT_EQ(static_cast<long>(list.size()), count);
    return list;
  };
  EXPECT_EQ(search("English", "ab"), (std::vector<std::string>{"ab", "Abandon", "abbey", "about"}));
  EXPECT_EQ(search("English", "AB"), (std::vector<std::string>{"ab", "Abandon", "abbey", "about"}));
  EXPECT_EQ(search("English", "abb"), (std::vector<std::string>{"abbey"}));
  EXPECT_EQ(search("English", "zz"), (std::vector<std::string>{}));
  // The Italian column, still in English order; accents either case.
  EXPECT_EQ(search("Italian", "ab"), (std::vector<std::string>{"ab", "Abandon", "b"}));
  EXPECT_EQ(search("Italian", "l''ab"), (std::vector<std::string>{"abbey"}));
  EXPECT_EQ(search("Italian", "la CITTÀ"), (std::vector<std::string>{"city", "town"}));
  EXPECT_EQ(search("Italian", "perch"), (std::vector<std::string>{"because"}));
  EXPECT_EQ(search("Italian", "perché"), (std::vector<std::string>{"because"}));
  EXPECT_EQ(search("Italian", "perche"), (std::vector<std::string>{}));
  // An empty prefix lists the whole word list; typed wildcards act as patterns.
  EXPECT_EQ(search("English", "").size(), 8u);
  EXPECT_EQ(search("English", "*o"), (std::vector<std::string>{"Abandon", "about", "town"}));
  EXPECT_EQ(search("english", "a?o"), (std::vector<std::string>{"about"}));

  // Clicking the n-th list item moves n from the first record.
  dao::Recordset rs =
      db.OpenRecordset("select * from word where English like 'a*' order by english");
  rs.MoveLast();
  rs.MoveFirst();
  const dao::Bookmark first = rs.Bookmark();
  rs.Move(3, first);
  EXPECT_EQ(rs.Fields("English").Value(), "about");
  EXPECT_EQ(rs.Fields("Italian").Value(), "circa");
  EXPECT_EQ(rs.RecordCount(), 4);
}

// A word list ranks the answers of one headword by writing the commonest first: the
// sort keeps that order among equal keys, whichever index the search reads.
TEST_F(RecordsetTest, EqualSortKeysKeepTheOrderTheRowsWereWrittenIn) {
  {
    dao::Database db = dao::CreateDatabase((dir_ / "list.dll").string());
    db.Execute("CREATE TABLE word (English TEXT(255), Italian TEXT(255))");
    db.Execute("CREATE UNIQUE INDEX EnglishItalian ON word (English, Italian)");
    db.Execute("CREATE INDEX English ON word (English)");
    db.Execute("CREATE INDEX Italian ON word (Italian)");
    dao::Recordset rs = db.OpenRecordset("word");
    for (const auto& [english, italian] : Pairs{{"bill", "il conto"},
                                                {"Bill", "il becco"},
                                                {"bill", "la banconota"},
                                                {"bite", "il morso"}}) {
      rs.AddNew();
      rs.Fields("English") = english;
      rs.Fields("Italian") = italian;
      rs.Update();
    }
  }
  dao::Database db = dao::OpenDatabase((dir_ / "list.dll").string(), false, true);
  for (const std::string where : {"English like 'bi*'", "Italian like 'il*'", "English = 'bill'"}) {
    dao::Recordset rs = db.OpenRecordset("select * from word where " + where + " order by english");
    std::vector<std::string> italian = Column(rs, "Italian");
    italian.erase(std::remove(italian.begin(), italian.end(), "il morso"), italian.end());
    const std::vector<std::string> written =
        where.starts_with("Italian")
            ? std::vector<std::string>{"il conto", "il becco"}
            : std::vector<std::string>{"il conto", "il becco", "la banconota"};
    EXPECT_EQ(italian, written) << where;
  }
}

TEST_F(RecordsetTest, BookmarksBelongToTheirRecordset) {
  dao::Database db = OpenBook({{"a", "1"}, {"b", "2"}});
  dao::Recordset one = db.OpenRecordset("select * from word ORDER BY English");
  dao::Recordset two = db.OpenRecordset("select * from word ORDER BY English");
  EXPECT_EQ(ErrorOf([&] { two.SetBookmark(one.Bookmark()); }), dao::err::kInvalidBookmark);
  EXPECT_EQ(ErrorOf([&] { two.SetBookmark(dao::Bookmark()); }), dao::err::kInvalidBookmark);
  EXPECT_EQ(ErrorOf([&] { one.LastModified(); }), dao::err::kNoCurrentRecord);
  const dao::Bookmark b = one.Bookmark();
  one.Requery();
  EXPECT_EQ(ErrorOf([&] { one.SetBookmark(b); }), dao::err::kInvalidBookmark);
  EXPECT_EQ(one.Fields("English").Value(), "a");
}

TEST_F(RecordsetTest, TheTableTypeCountsEverythingAtOnce) {
  dao::Database db = OpenBook({{"a", "1"}, {"b", "2"}, {"c", "3"}}, false);
  dao::Recordset rs = db.OpenRecordset("Word");
  EXPECT_EQ(rs.Type(), dao::RecordsetType::kTable);
  EXPECT_EQ(rs.RecordCount(), 3);
  EXPECT_EQ(ErrorOf([&] { db.OpenRecordset("Words"); }), dao::err::kNoSuchTable);
  EXPECT_EQ(ErrorOf([&] { db.OpenRecordset("select * from words"); }), dao::err::kNoSuchTable);
  EXPECT_EQ(ErrorOf([&] { db.OpenRecordset("select * from word where Spanish = 'x'"); }),
            dao::err::kTooFewParameters);
  EXPECT_EQ(ErrorOf([&] { db.OpenRecordset("select * frm word"); }), dao::err::kSyntax);
  EXPECT_EQ(ErrorOf([&] { db.OpenRecordset("delete from word"); }), dao::err::kInvalidOperation);
  EXPECT_EQ(ErrorOf([&] { db.OpenRecordset("select * from word", dao::RecordsetType::kTable); }),
            dao::err::kInvalidOperation);
}

TEST_F(RecordsetTest, SnapshotsAndReadOnlyDatabasesRefuseChanges) {
  dao::Database db = OpenBook({{"a", "1"}}, false);
  dao::Recordset counted =
      db.OpenRecordset("select English, count(*) as n from word group by English");
  EXPECT_EQ(counted.Type(), dao::RecordsetType::kSnapshot);
  EXPECT_FALSE(counted.Updatable());
  EXPECT_EQ(counted.Fields("n").Value(), "1");
  EXPECT_EQ(ErrorOf([&] { counted.AddNew(); }), dao::err::kReadOnly);
  EXPECT_EQ(ErrorOf([&] { counted.Delete(); }), dao::err::kReadOnly);
  dao::Recordset expr = db.OpenRecordset("select English, Italian & '!' as loud from word");
  ASSERT_TRUE(expr.Updatable());
  expr.Edit();
  EXPECT_EQ(ErrorOf([&] { expr.Fields("loud") = "x"; }), dao::err::kFieldNotUpdatable);
  db.Close();

  dao::Database ro = dao::OpenDatabase((dir_ / "dialog.ocx").string(), false, true);
  dao::Recordset rs = ro.OpenRecordset("select * from word");
  EXPECT_FALSE(rs.Updatable());
  EXPECT_EQ(ErrorOf([&] { rs.Edit(); }), dao::err::kReadOnly);
  EXPECT_EQ(ErrorOf([&] { ro.Execute("delete from word"); }), dao::err::kReadOnly);
  EXPECT_EQ(rs.Fields("Italian").Value(), "1");
}

TEST_F(RecordsetTest, ARecordsetKeepsItsDatabaseOrFailsCleanlyOnceClosed) {
  dao::Recordset rs;
  EXPECT_EQ(ErrorOf([&] { rs.MoveFirst(); }), dao::err::kObjectClosed);
  EXPECT_FALSE(rs.IsOpen());
  {
    dao::Database db = OpenBook({{"a", "1"}});
    rs = db.OpenRecordset("select * from word");
  }
  // The database handle is gone; the recordset holds the connection.
  EXPECT_TRUE(rs.IsOpen());
  EXPECT_EQ(rs.Fields("English").Value(), "a");
  rs.Edit();
  rs.Fields("Italian") = "uno";
  rs.Update();
  EXPECT_EQ(rs.Fields("Italian").Value(), "uno");
}

TEST_F(RecordsetTest, ClosingTheDatabaseClosesItsRecordsets) {
  dao::Database db = OpenBook({{"a", "1"}});
  dao::Recordset rs = db.OpenRecordset("select * from word");
  dao::Field f = rs.Fields("English");
  db.Close();
  EXPECT_FALSE(db.IsOpen());
  EXPECT_FALSE(rs.IsOpen());
  EXPECT_EQ(ErrorOf([&] { rs.MoveNext(); }), dao::err::kObjectClosed);
  EXPECT_EQ(ErrorOf([&] { f.Value(); }), dao::err::kObjectClosed);
  EXPECT_EQ(ErrorOf([&] { db.OpenRecordset("word"); }), dao::err::kObjectClosed);
  // The file is free again at once.
  dao::Database again = dao::OpenDatabase((dir_ / "dialog.ocx").string(), true);
  EXPECT_TRUE(again.IsOpen());
  dao::Recordset closed = again.OpenRecordset("word");
  closed.Close();
  EXPECT_EQ(ErrorOf([&] { closed.RecordCount(); }), dao::err::kObjectClosed);
}

TEST_F(RecordsetTest, ListenersHearEveryMove) {
  dao::Database db = OpenBook({{"a", "1"}, {"b", "2"}});
  dao::Recordset rs = db.OpenRecordset("select * from word ORDER BY English");
  std::vector<std::string> seen;
  dao::Subscription sub = rs.OnCurrentChanged([&] {
    seen.push_back(rs.Eof() ? "EOF" : rs.Bof() ? "BOF" : rs.Fields("english").Value());
  });
  rs.MoveNext();
  rs.MoveNext();
  rs.MoveFirst();
  rs.Move(1);
  rs.MovePrevious();
  rs.MovePrevious();
  rs.MoveLast();
  const dao::Bookmark last = rs.Bookmark();
  rs.MoveFirst();
  rs.SetBookmark(last);
  rs.Edit();
  rs.Fields("Italian") = "due";
  rs.Update();
  EXPECT_EQ(seen, (std::vector<std::string>{"b", "EOF", "a", "b", "a", "BOF", "b", "a", "b", "b"}));
  sub.Cancel();
  rs.MoveFirst();
  EXPECT_EQ(seen.size(), 10u);
  {
    dao::Subscription scoped = rs.OnCurrentChanged([&] { seen.push_back("x"); });
    rs.MoveNext();
  }
  rs.MoveFirst();
  EXPECT_EQ(seen.size(), 11u);
}

TEST_F(RecordsetTest, TransactionsAndActionQueries) {
  dao::Database db = OpenBook({{"a", "1"}, {"b", "2"}});
  db.BeginTrans();
  EXPECT_EQ(db.Execute("delete from word where English = 'A'"), 1);
  db.Rollback();
  EXPECT_EQ(db.OpenRecordset("word").RecordCount(), 2);
  db.BeginTrans();
  db.Execute("insert into word (English, Italian) values ('c', '3')");
  db.CommitTrans();
  EXPECT_EQ(db.OpenRecordset("word").RecordCount(), 3);
  EXPECT_EQ(ErrorOf([&] { db.CommitTrans(); }), dao::err::kNoTransaction);
  EXPECT_EQ(ErrorOf([&] { db.Execute("select * from word"); }), dao::err::kExecuteSelect);
  EXPECT_EQ(ErrorOf([&] { db.Execute("insert into word (English) values ('C')"); }),
            dao::err::kDuplicateKey);
  EXPECT_EQ(db.TableNames(), (std::vector<std::string>{"word"}));
}

}  // namespace
