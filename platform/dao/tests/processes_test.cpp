// Two processes on one file: exclusivity, a holder that dies, and a writer
// killed in the middle of its Update.

#define SQLITE_HAS_CODEC 1
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sqlcipher/sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "books.h"
#include "dao/dao.h"
#include "jet_sql.h"
#include "jet_text.h"
#include "testsupport/seed.h"
#include "testsupport/temp_dir.h"

extern char** environ;

namespace {

int ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const dao::Error& e) {
    return e.number();
  }
  return 0;
}

// The helper program, with a pipe to its input and one from its output.
class Child {
 public:
  explicit Child(const std::vector<std::string>& args) {
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    std::vector<std::string> all = {DAO_CHILD};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, DAO_CHILD, &actions, nullptr, argv.data(), environ) != 0)
      throw std::runtime_error("spawn");
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    input_ = in[1];
    output_ = out[0];
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child() {
    if (input_ >= 0) close(input_);
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    close(output_);
  }

  // The child's next line, or "" when none comes within 20 s.
  std::string ReadLine() {
    std::string line;
    char c;
    while (true) {
      pollfd p{output_, POLLIN, 0};
      if (poll(&p, 1, 20000) <= 0) return line;
      if (read(output_, &c, 1) != 1 || c == '\n') return line;
      line += c;
    }
  }

  // Lets a holder go, and waits for it to end; returns its exit code.
  int Finish() {
    close(input_);
    input_ = -1;
    return Wait();
  }

  int Kill() {
    kill(pid_, SIGKILL);
    return Wait();
  }

 private:
  int Wait() {
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
  }

  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
};

TEST(Processes, AnExclusiveHolderKeepsOtherProcessesOut) {
  testsupport::TempDir dir;
  const std::string name = (dir / "word.ocx").string();
  daotest::MakeWordBook(dir / "word.ocx", {{"a", "1"}});
  {
    Child editor({"hold-exclusive", name});
    ASSERT_EQ(editor.ReadLine(), "ready");
    EXPECT_EQ(ErrorOf([&] { dao::OpenDatabase(name); }), dao::err::kHeldExclusively);
    EXPECT_EQ(ErrorOf([&] { dao::OpenDatabase(name, true); }), dao::err::kFileInUse);
    // A second process is refused the same way.
    Child other({"hold-shared", name});
    EXPECT_EQ(other.ReadLine(), "error " + std::to_string(dao::err::kHeldExclusively));
    EXPECT_EQ(editor.Finish(), 0);
  }
  // Released when it ends.
  dao::Database mine = dao::OpenDatabase(name, true);
  Child later({"hold-shared", name});
  EXPECT_EQ(later.ReadLine(), "error " + std::to_string(dao::err::kHeldExclusively));
}

TEST(Processes, HoldersTellWhoHoldsAFile) {
  testsupport::TempDir dir;
  const std::string name = (dir / "word.ocx").string();
  daotest::MakeWordBook(dir / "word.ocx", {{"a", "1"}});
  EXPECT_TRUE(dao::Holders(name).empty());
  EXPECT_TRUE(dao::Holders((dir / "missing.ocx").string()).empty());
  {
    Child editor({"hold-exclusive", name});
    ASSERT_EQ(editor.ReadLine(), "ready");
    const std::vector<dao::Holder> holders = dao::Holders(name);
    ASSERT_EQ(holders.size(), 1u);
    EXPECT_EQ(holders[0].program, "dao_child");
    EXPECT_FALSE(holders[0].thisProcess);
    EXPECT_GT(holders[0].process, 0);
    EXPECT_EQ(editor.Finish(), 0);
  }
  dao::Database mine = dao::OpenDatabase(name);
  const std::vector<dao::Holder> holders = dao::Holders(name);
  ASSERT_EQ(holders.size(), 1u);
  EXPECT_TRUE(holders[0].thisProcess);
  mine.Close();
  EXPECT_TRUE(dao::Holders(name).empty());
}

TEST(Processes, ASharedHolderKeepsAnExclusiveOpenOut) {
  testsupport::TempDir dir;
  const std::string name = (dir / "reg.ocx").string();
  daotest::MakeCategorisedBook(dir / "reg.ocx", {{"Numbers", "one", "uno"}});
  Child trainer({"hold-shared", name, daotest::kPassword});
  ASSERT_EQ(trainer.ReadLine(), "ready");
  EXPECT_EQ(ErrorOf([&] { dao::OpenDatabase(name, true, false, daotest::kPassword); }),
            dao::err::kFileInUse);
  // Sharing is fine.
  dao::Database shared = dao::OpenDatabase(name, false, false, daotest::kPassword);
  EXPECT_EQ(shared.OpenRecordset("word").RecordCount(), 1);
  shared.Close();
  EXPECT_EQ(trainer.Finish(), 0);
  EXPECT_TRUE(dao::OpenDatabase(name, true, false, daotest::kPassword).IsOpen());
}

TEST(Processes, AHolderThatDiesLetsGo) {
  testsupport::TempDir dir;
  const std::string name = (dir / "dialog.ocx").string();
  daotest::MakeWordBook(dir / "dialog.ocx");
  Child editor({"hold-exclusive", name});
  ASSERT_EQ(editor.ReadLine(), "ready");
  EXPECT_EQ(ErrorOf([&] { dao::OpenDatabase(name); }), dao::err::kHeldExclusively);
  editor.Kill();
  // Its stale lock file does not hold anyone out.
  EXPECT_TRUE(dao::OpenDatabase(name, true).IsOpen());
}

TEST(Processes, TheLockFileGoesWithItsLastUserEvenAtAnAbruptEnd) {
  testsupport::TempDir dir;
  const std::string name = (dir / "reg.ocx").string();
  daotest::MakeWordBook(dir / "reg.ocx");
  const std::filesystem::path lockFile = dir / "reg.ocx.ldb";
  {
    // Alone: its end takes the lock file with it.
    Child program({"end-holding", name});
    ASSERT_EQ(program.ReadLine(), "ready");
    EXPECT_TRUE(std::filesystem::exists(lockFile));
    EXPECT_EQ(program.Finish(), 0);
    EXPECT_FALSE(std::filesystem::exists(lockFile));
  }
  {
    // Beside another user the lock file stays for that user, who is not
    // held out, and goes when that user lets go.
    dao::Database other = dao::OpenDatabase(name);
    Child program({"end-holding", name});
    ASSERT_EQ(program.ReadLine(), "ready");
    EXPECT_EQ(program.Finish(), 0);
    EXPECT_TRUE(std::filesystem::exists(lockFile));
    EXPECT_EQ(dao::Holders(name).size(), 1u);
    other.Close();
    EXPECT_FALSE(std::filesystem::exists(lockFile));
  }
}

int CompareText(void*, int lenA, const void* a, int lenB, const void* b) {
  return dao::jet::Compare({static_cast<const char*>(a), static_cast<std::size_t>(lenA)},
                           {static_cast<const char*>(b), static_cast<std::size_t>(lenB)});
}

// Checks the file's inner consistency with SQLCipher itself (after it has
// rolled back what the killed writer left half done).
std::string IntegrityCheck(const std::string& path, const std::string& password) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  if (!password.empty()) sqlite3_key(db, password.data(), static_cast<int>(password.size()));
  sqlite3_create_collation(db, dao::jet::kCollation, SQLITE_UTF8, nullptr, CompareText);
  sqlite3_stmt* st = nullptr;
  std::string result = "no answer";
  if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK &&
      sqlite3_step(st) == SQLITE_ROW)
    result = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
  sqlite3_finalize(st);
  sqlite3_close(db);
  return result;
}

TEST(Processes, AWriterKilledDuringUpdateLeavesAValidFile) {
  testsupport::TempDir dir;
  // The kill comes at a random moment; the seed is shown so that a failing
  // moment can be tried again.
  const unsigned seed = testsupport::RandomSeed();
  SCOPED_TRACE(testing::Message() << "seed " << seed);
  std::mt19937 rng(seed);
  for (const bool encrypted : {false, true}) {
    for (int round = 0; round < 3; ++round) {
      const std::string name =
          (dir / ("book" + std::to_string(encrypted) + std::to_string(round) + ".ocx")).string();
      const std::string connect = encrypted ? daotest::kPassword : "";
      daotest::MakeWordBook(name, {}, connect);
      {
        Child writer({"add-rows", name, connect});
        ASSERT_EQ(writer.ReadLine(), "ready");
        std::this_thread::sleep_for(
            std::chrono::milliseconds(std::uniform_int_distribution<int>(5, 60)(rng)));
        writer.Kill();
      }
      EXPECT_EQ(IntegrityCheck(name, encrypted ? "Mirt40697315Lp" : ""), "ok");
      // Rows 0..n-1, each whole, none half-written.
      dao::Database db = dao::OpenDatabase(name, true, false, connect);
      dao::Recordset rs = db.OpenRecordset("word");
      const long count = rs.RecordCount();
      EXPECT_GE(count, 1);
      std::set<std::string> seen;
      for (; !rs.Eof(); rs.MoveNext()) {
        const std::string english = rs.Fields("English").Value();
        ASSERT_EQ(english.rfind("row ", 0), 0u);
        EXPECT_EQ(rs.Fields("Italian").Value(), "riga " + english.substr(4));
        seen.insert(english);
      }
      for (long n = 0; n < count; ++n) EXPECT_TRUE(seen.count("row " + std::to_string(n)));
      // And the file takes further writes.
      rs.AddNew();
      rs.Fields("English") = "after";
      rs.Update();
    }
  }
}

TEST(Processes, AnEditKilledHalfwayIsWrittenWholeOrNotAtAll) {
  testsupport::TempDir dir;
  // The kill comes at a random moment; the seed is shown so that a failing
  // moment can be tried again.
  const unsigned seed = testsupport::RandomSeed();
  SCOPED_TRACE(testing::Message() << "seed " << seed);
  std::mt19937 rng(seed);
  const std::string name = (dir / "word.ocx").string();
  daotest::MakeWordBook(name, {{"edit start", "modifica start"}, {"other", "altro"}});
  for (int round = 0; round < 3; ++round) {
    {
      Child writer({"edit-row", name});
      ASSERT_EQ(writer.ReadLine(), "ready");
      std::this_thread::sleep_for(
          std::chrono::milliseconds(std::uniform_int_distribution<int>(5, 60)(rng)));
      writer.Kill();
    }
    EXPECT_EQ(IntegrityCheck(name, ""), "ok");
    dao::Database db = dao::OpenDatabase(name);
    dao::Recordset rs = db.OpenRecordset("word");
    EXPECT_EQ(rs.RecordCount(), 2);
    const std::string english = rs.Fields("English").Value();
    ASSERT_EQ(english.rfind("edit ", 0), 0u);
    EXPECT_EQ(rs.Fields("Italian").Value(), "modifica " + english.substr(5));
  }
}

}  // namespace
