// Opening database files: passwords, missing and bad files, and who may
// hold a file at the same time within one process.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "books.h"
#include "dao/dao.h"
#include "testsupport/temp_dir.h"

namespace {

namespace fs = std::filesystem;

int ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const dao::Error& e) {
    return e.number();
  }
  return 0;
}

void Write(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(Database, AnEncryptedBookOpensOnlyWithItsPassword) {
  testsupport::TempDir dir;
  const std::string name = (dir / "reg.ocx").string();
  daotest::MakeCategorisedBook(dir / "reg.ocx", {{"Numbers", "one", "uno"}});
  // The file is no plain SQLite file: its words cannot be read without the key.
  const std::string bytes = Read(dir / "reg.ocx");
  EXPECT_NE(bytes.substr(0, 6), "SQLite");
  EXPECT_EQ(bytes.find("uno"), std::string::npos);

  dao::Database db = dao::OpenDatabase(name, true, false, ";pwd=Mirt40697315Lp");
  EXPECT_EQ(db.OpenRecordset("word").Fields("Italian").Value(), "uno");
  db.Close();

  EXPECT_EQ(ErrorOf([&] { dao::OpenDatabase(name, false, false, ";pwd=wrong"); }),
            dao::err::kInvalidPassword);
  EXPECT_EQ(ErrorOf([&] { dao::OpenDatabase(name); }), dao::err::kInvalidPassword);
  EXPECT_EQ(ErrorOf([&] { dao::OpenDatabase(name, false, false, "Access 2000;"); }),
            dao::err::kInvalidPassword);
  // The connect string's type and other settings are passed over.
  dao::Database typed = dao::OpenDatabase(name, false, false, "Access 2000;PWD=Mirt40697315Lp");
  EXPECT_TRUE(typed.IsOpen());
}

TEST(Database, APasswordOnAPlainFileIsPassedOver) {
  testsupport::TempDir dir;
  daotest::MakeWordBook(dir / "word.ocx", {{"a", "1"}});
  dao::Database db = dao::OpenDatabase((dir / "word.ocx").string(), false, false, ";pwd=x");
  EXPECT_EQ(db.OpenRecordset("word").RecordCount(), 1);
}

TEST(Database, MissingAndForeignFiles) {
  testsupport::TempDir dir;
  EXPECT_EQ(ErrorOf([&] { dao::OpenDatabase((dir / "none.ocx").string()); }),
            dao::err::kFileNotFound);
  EXPECT_EQ(ErrorOf([&] { dao::OpenDatabase((dir / "no folder" / "x.ocx").string()); }),
            dao::err::kInvalidPath);
  EXPECT_EQ(ErrorOf([&] { dao::OpenDatabase(""); }), dao::err::kFileNotFound);
  EXPECT_EQ(ErrorOf([&] { dao::OpenDatabase(dir.path().string()); }), dao::err::kNotADatabase);
  // A failed open makes no file.
  EXPECT_FALSE(fs::exists(dir / "none.ocx"));

  Write(dir / "empty.ocx", "");
  EXPECT_EQ(ErrorOf([&] { dao::OpenDatabase((dir / "empty.ocx").string()); }),
            dao::err::kNotADatabase);
  Write(dir / "notes.ocx", "These are my notes, not a database.\n");
  EXPECT_EQ(ErrorOf([&] { dao::OpenDatabase((dir / "notes.ocx").string()); }),
            dao::err::kNotADatabase);
  EXPECT_EQ(
      ErrorOf([&] { dao::OpenDatabase((dir / "notes.ocx").string(), false, false, ";pwd=x"); }),
      dao::err::kNotADatabase);
  // Paths in the programs' own form work too.
  daotest::MakeWordBook(dir / "dialog.ocx");
  std::string backslashed = dir.path().string() + "\\dialog.ocx";
  EXPECT_TRUE(dao::OpenDatabase(backslashed).IsOpen());
}

TEST(Database, ADamagedFileFailsCleanly) {
  testsupport::TempDir dir;
  daotest::Pairs rows;
  for (int i = 0; i < 400; ++i)
    rows.push_back({"word " + std::to_string(i), "parola " + std::to_string(i)});
  daotest::MakeWordBook(dir / "good.ocx", rows);
  const std::string good = Read(dir / "good.ocx");
  ASSERT_GT(good.size(), 8192u);

  // Pages of the table overwritten with noise.
  std::string damaged = good;
  for (std::size_t i = 2048; i < damaged.size(); i += 7) damaged[i] = static_cast<char>(i * 31);
  Write(dir / "damaged.ocx", damaged);
  const int number = ErrorOf([&] {
    dao::Database db = dao::OpenDatabase((dir / "damaged.ocx").string());
    dao::Recordset rs = db.OpenRecordset("select * from word ORDER BY English");
    while (!rs.Eof()) rs.MoveNext();
  });
  EXPECT_EQ(number, dao::err::kCorrupt);

  // Cut short in the middle.
  Write(dir / "short.ocx", good.substr(0, good.size() / 2 + 100));
  const int shortNumber = ErrorOf([&] {
    dao::Database db = dao::OpenDatabase((dir / "short.ocx").string());
    db.OpenRecordset("select * from word ORDER BY English").MoveLast();
  });
  EXPECT_TRUE(shortNumber == dao::err::kCorrupt || shortNumber == dao::err::kNotADatabase)
      << shortNumber;

  // An encrypted file with damaged pages reads as a wrong password or a damaged file.
  daotest::MakeCategorisedBook(dir / "reg.ocx", {{"Numbers", "one", "uno"}});
  std::string reg = Read(dir / "reg.ocx");
  for (std::size_t i = 0; i < reg.size(); i += 3) reg[i] = static_cast<char>(~reg[i]);
  Write(dir / "reg.ocx", reg);
  const int regNumber = ErrorOf([&] {
    dao::OpenDatabase((dir / "reg.ocx").string(), false, false, daotest::kPassword)
        .OpenRecordset("word");
  });
  EXPECT_TRUE(regNumber == dao::err::kInvalidPassword || regNumber == dao::err::kCorrupt)
      << regNumber;
}

TEST(Database, AnExclusiveOpenKeepsEveryoneElseOut) {
  testsupport::TempDir dir;
  const std::string name = (dir / "dialog.ocx").string();
  daotest::MakeWordBook(dir / "dialog.ocx", {{"a", "1"}});
  {
    dao::Database editor = dao::OpenDatabase(name, true, false);
    EXPECT_EQ(ErrorOf([&] { dao::OpenDatabase(name); }), dao::err::kHeldExclusively);
    EXPECT_EQ(ErrorOf([&] { dao::OpenDatabase(name, true); }), dao::err::kFileInUse);
    EXPECT_EQ(ErrorOf([&] { dao::OpenDatabase(name, false, true); }), dao::err::kHeldExclusively);
    // Its recordset keeps the file held after the database handle is gone.
    dao::Recordset rs = editor.OpenRecordset("word");
    editor = dao::Database();
    EXPECT_EQ(ErrorOf([&] { dao::OpenDatabase(name); }), dao::err::kHeldExclusively);
  }
  // Released: shared opens may share, and then keep an exclusive one out.
  dao::Database bar = dao::OpenDatabase(name);
  dao::Database dataControl = dao::OpenDatabase(name);
  EXPECT_EQ(ErrorOf([&] { dao::OpenDatabase(name, true); }), dao::err::kFileInUse);
  bar.Close();
  EXPECT_EQ(ErrorOf([&] { dao::OpenDatabase(name, true); }), dao::err::kFileInUse);
  dataControl.Close();
  EXPECT_TRUE(dao::OpenDatabase(name, true).IsOpen());
  // The lock file goes with the last holder.
  EXPECT_FALSE(fs::exists(dir / "dialog.ocx.ldb"));
}

// A book opened on another thread is handed over only to an open with the
// same file, mode and password; any other open and an opening nobody takes
// let go of the file, or the word-book manager could not have it alone.
TEST(Database, AnOpeningOnAnotherThreadIsHandedOnlyToTheSameOpen) {
  testsupport::TempDir dir;
  const std::string name = (dir / "reg.ocx").string();
  daotest::MakeCategorisedBook(dir / "reg.ocx", {{"Numbers", "one", "uno"}});

  dao::DatabaseOpening opening(name, false, false, daotest::kPassword);
  dao::Database db = opening.Take(name, false, false, daotest::kPassword);
  ASSERT_TRUE(db.IsOpen());
  EXPECT_EQ(db.OpenRecordset("word").Fields("Italian").Value(), "uno");
  db.Execute("insert into word (English, Italian, category) values ('two', 'due', 'Numbers')");
  EXPECT_FALSE(opening.Take(name, false, false, daotest::kPassword).IsOpen());
  db.Close();

  const auto lets_go = [&](const std::function<dao::Database(dao::DatabaseOpening&)>& take) {
    dao::DatabaseOpening other(name, false, false, daotest::kPassword);
    EXPECT_FALSE(take(other).IsOpen());
    return dao::OpenDatabase(name, true, false, daotest::kPassword).IsOpen();
  };
  EXPECT_TRUE(lets_go([&](auto& o) { return o.Take(name, true, false, daotest::kPassword); }));
  EXPECT_TRUE(lets_go([&](auto& o) { return o.Take(name, false, true, daotest::kPassword); }));
  EXPECT_TRUE(lets_go([&](auto& o) { return o.Take(name, false, false, ";pwd=other"); }));
  EXPECT_TRUE(lets_go([&](auto& o) {
    return o.Take((dir / "word.ocx").string(), false, false, daotest::kPassword);
  }));
  EXPECT_TRUE(lets_go([&](auto& o) {
    o = dao::DatabaseOpening();
    return o.Take(name, false, false, daotest::kPassword);
  }));

  // An opening that failed hands over nothing; the caller's own open then
  // meets the file as it is by then.
  dao::DatabaseOpening wrong(name, false, false, ";pwd=wrong");
  EXPECT_FALSE(wrong.Take(name, false, false, ";pwd=wrong").IsOpen());
  EXPECT_FALSE(fs::exists(dir / "reg.ocx.ldb"));
}

TEST(Database, EveryNameOfAFileIsTheSameFile) {
  testsupport::TempDir dir;
  daotest::MakeWordBook(dir / "dialog.ocx");
  fs::create_symlink(dir / "dialog.ocx", dir / "link.ocx");
  dao::Database editor = dao::OpenDatabase((dir / "link.ocx").string(), true);
  EXPECT_EQ(ErrorOf([&] { dao::OpenDatabase((dir / "dialog.ocx").string()); }),
            dao::err::kHeldExclusively);
  EXPECT_EQ(ErrorOf([&] { dao::OpenDatabase((dir / "." / "dialog.ocx").string()); }),
            dao::err::kHeldExclusively);
}

TEST(Database, CreateDatabaseRefusesAnExistingFile) {
  testsupport::TempDir dir;
  daotest::MakeWordBook(dir / "word.ocx", {{"keep", "me"}});
  EXPECT_EQ(ErrorOf([&] { dao::CreateDatabase((dir / "word.ocx").string()); }),
            dao::err::kDatabaseExists);
  EXPECT_EQ(dao::OpenDatabase((dir / "word.ocx").string()).OpenRecordset("word").RecordCount(), 1);
  EXPECT_EQ(ErrorOf([&] { dao::CreateDatabase((dir / "none" / "x.ocx").string()); }),
            dao::err::kInvalidPath);
}

TEST(Database, ErrorsCarryTheEnginesText) {
  try {
    dao::OpenDatabase("/nonexistent-folder-of-tavrinel/x.ocx");
    FAIL();
  } catch (const dao::Error& e) {
    EXPECT_EQ(e.number(), dao::err::kInvalidPath);
    EXPECT_NE(std::string(e.what()).find("is not a valid path"), std::string::npos);
  }
  EXPECT_EQ(dao::ErrorText(dao::err::kFileNotFound, "x.ocx"), "Could not find file 'x.ocx'.");
  EXPECT_EQ(dao::ErrorText(dao::err::kNoCurrentRecord), "No current record.");
  EXPECT_NE(dao::ErrorText(dao::err::kDuplicateKey).find("duplicate values"), std::string::npos);
}

}  // namespace
