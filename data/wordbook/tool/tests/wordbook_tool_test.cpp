// The build tool of the word books, run as the build runs it.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dao/dao.h"
#include "testsupport/temp_dir.h"

namespace {

namespace fs = std::filesystem;

struct ToolRun {
  int status;
  std::string output;
};

ToolRun Tool(const std::string& args) {
  const std::string command = std::string(WORDBOOK_TOOL) + " " + args + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ToolRun run{-1, ""};
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe)) run.output += buffer;
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

void Write(const fs::path& path, const std::string& text) {
  std::ofstream(path) << text;
}

std::string Quoted(const fs::path& p) {
  return "'" + p.string() + "'";
}

TEST(WordbookTool, MakesTheCategorisedBookEncrypted) {
  testsupport::TempDir dir;
  Write(dir / "04-numbers.txt", "# category: Numbers\none\tuno\ntwo\tdue\n");
  Write(dir / "18-fruits.txt",
        "# category: Fruits, Vegetables and Meats\nthe apple\tla mela\none\tuna mela\n");
  const ToolRun run = Tool("categorised " + Quoted(dir / "reg.ocx") + " Mirt40697315Lp " +
                           Quoted(dir / "04-numbers.txt") + " " + Quoted(dir / "18-fruits.txt"));
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output, "categorised word book: 4 words in 2 categories\n");

  EXPECT_THROW(dao::OpenDatabase((dir / "reg.ocx").string()), dao::Error);
  dao::Database db =
      dao::OpenDatabase((dir / "reg.ocx").string(), true, false, ";pwd=Mirt40697315Lp");
  dao::Recordset rs = db.OpenRecordset(
      "select * from word where category='Fruits, Vegetables and Meats' ORDER BY English");
  EXPECT_EQ(rs.Fields("English").Value(), "one");
  EXPECT_EQ(rs.Fields("Italian").Value(), "una mela");
  // The unique index covers category and English.
  rs.AddNew();
  rs.Fields("English") = "The Apple";
  rs.Fields("category") = "Fruits, Vegetables and Meats";
  EXPECT_THROW(rs.Update(), dao::Error);
  EXPECT_FALSE(fs::exists(dir / "reg.ocx.part"));
}

TEST(WordbookTool, FailsOnADuplicateOrMalformedLine) {
  testsupport::TempDir dir;
  Write(dir / "04-numbers.txt", "# category: Numbers\none\tuno\ntwo\tdue\nOne\tun altro\n");
  ToolRun run =
      Tool("categorised " + Quoted(dir / "reg.ocx") + " pw " + Quoted(dir / "04-numbers.txt"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("04-numbers.txt:4: \"One\" is in this category already"),
            std::string::npos)
      << run.output;
  EXPECT_FALSE(fs::exists(dir / "reg.ocx"));
  EXPECT_FALSE(fs::exists(dir / "reg.ocx.part"));

  Write(dir / "04-numbers.txt", "# category: Numbers\none uno\n");
  run = Tool("categorised " + Quoted(dir / "reg.ocx") + " pw " + Quoted(dir / "04-numbers.txt"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("04-numbers.txt:2: no TAB"), std::string::npos) << run.output;
}

TEST(WordbookTool, NoWordTextsStillMakeABook) {
  testsupport::TempDir dir;
  const ToolRun run = Tool("categorised " + Quoted(dir / "reg.ocx") + " pw");
  ASSERT_EQ(run.status, 0) << run.output;
  dao::Database db = dao::OpenDatabase((dir / "reg.ocx").string(), false, false, ";pwd=pw");
  dao::Recordset rs = db.OpenRecordset("select * from word ");
  EXPECT_TRUE(rs.Eof() && rs.Bof());
}

TEST(WordbookTool, InstallNeverOverwritesTheUsersBook) {
  testsupport::TempDir dir;
  fs::create_directory(dir / "bin");
  ASSERT_EQ(Tool("empty " + Quoted(dir / "empty.ocx")).status, 0);
  ToolRun run =
      Tool("install " + Quoted(dir / "empty.ocx") + " " + Quoted(dir / "bin" / "word.ocx"));
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output, "made " + (dir / "bin" / "word.ocx").string() + "\n");
  {
    dao::Database db = dao::OpenDatabase((dir / "bin" / "word.ocx").string(), true);
    dao::Recordset rs = db.OpenRecordset("select * from word ORDER BY English");
    EXPECT_TRUE(rs.Eof() && rs.Bof());
    rs.AddNew();
    rs.Fields("English") = "my word";
    rs.Fields("Italian") = "la mia parola";
    rs.Update();
    rs.AddNew();
    rs.Fields("English") = "MY WORD";
    EXPECT_THROW(rs.Update(), dao::Error);  // unique on English
  }
  run = Tool("install " + Quoted(dir / "empty.ocx") + " " + Quoted(dir / "bin" / "word.ocx"));
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output, "");
  dao::Database db = dao::OpenDatabase((dir / "bin" / "word.ocx").string());
  EXPECT_EQ(db.OpenRecordset("word").Fields("Italian").Value(), "la mia parola");
  EXPECT_FALSE(fs::exists(dir / "bin" / "word.ocx.part"));
}

}  // namespace
