// The data control and the labels bound to it.

#include <gtest/gtest.h>

#include "forms/forms.h"
#include "forms/testing.h"
#include "testsupport/temp_dir.h"

using namespace forms;

namespace {

class Bound : public Form {
 public:
  Bound() : Form(":/test/forms/Bound.json") {}
  std::string databaseAtLoad;
  std::string seenAtLoad = "unset";

 protected:
  void Form_Load() override {
    Get<DataControl>("Data1").DatabaseName(databaseAtLoad);
    // Set during the load, the control has not opened yet.
    seenAtLoad = Get<Label>("lblItalian").Caption();
  }
};

class DataControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = (dir / "book.ocx").string();
    dao::Database db = dao::CreateDatabase(path);
    db.Execute("create table word (English text, Italian text)");
    db.Execute("insert into word values ('the pear', 'la pera')");
    db.Execute("insert into word values ('the apple', 'la mela')");
    db.Execute("insert into word values ('the fig', 'il fico')");
  }
  void TearDown() override { forms::testing::ReleaseAllForms(); }
  testsupport::TempDir dir;
  std::string path;
};

}  // namespace

TEST_F(DataControlTest, SetDuringLoadItOpensWhenTheLoadIsDoneOnTheFirstRecord) {
  Bound f;
  f.databaseAtLoad = path;
  f.Load();
  EXPECT_EQ(f.seenAtLoad, "");
  auto& data = f.Get<DataControl>("Data1");
  ASSERT_TRUE(data.Recordset().IsOpen());
  EXPECT_EQ(f.Get<Label>("lblItalian").Caption(),
            "la mela");  // column names without regard to case
  EXPECT_EQ(f.Get<Label>("lblEnglish").Caption(), "the apple");
  // Bound labels follow every move, however it is made.
  dao::Recordset rs = data.Recordset();
  rs.MoveNext();
  EXPECT_EQ(f.Get<Label>("lblItalian").Caption(), "il fico");
  rs.MoveNext();
  rs.MoveNext();
  EXPECT_TRUE(rs.Eof());
  EXPECT_EQ(f.Get<Label>("lblItalian").Caption(), "");
  rs.MoveFirst();
  EXPECT_EQ(f.Get<Label>("lblEnglish").Caption(), "the apple");
}

TEST_F(DataControlTest, BoundLaterItOpensAtOnceAndTheSameBindingKeepsItsPlace) {
  Bound f;
  f.databaseAtLoad = "";
  f.Load();
  auto& data = f.Get<DataControl>("Data1");
  EXPECT_FALSE(data.Recordset().IsOpen());
  data.DatabaseName(path);
  ASSERT_TRUE(data.Recordset().IsOpen());
  data.Recordset().MoveLast();
  EXPECT_EQ(f.Get<Label>("lblItalian").Caption(), "la pera");
  data.DatabaseName(path);
  data.RecordSource("select * from word order by english");
  EXPECT_EQ(f.Get<Label>("lblItalian").Caption(), "la pera");
  data.Refresh();
  EXPECT_EQ(f.Get<Label>("lblItalian").Caption(), "la mela");
}

TEST_F(DataControlTest, AFileThatCannotBeOpenedRaisesErrorAndLeavesNoRecordset) {
  Bound f;
  f.databaseAtLoad = (dir / "missing.ocx").string();
  int error = 0;
  f.Get<DataControl>("Data1").Error = [&](int& number, int&) { error = number; };
  f.Load();
  EXPECT_EQ(error, 3024);
  EXPECT_FALSE(f.Get<DataControl>("Data1").Recordset().IsOpen());
  EXPECT_THROW(f.Get<DataControl>("Data1").Refresh(), dao::Error);
}
