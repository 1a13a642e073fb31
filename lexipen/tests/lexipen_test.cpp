// Lexipen: the editor over the categorised word book, one category at a
// time, and the word trainer's view of what it saves.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <thread>

#include "editor_fixture.h"
#include "lexipen/category_editor.h"
#include "suite/word_books.h"

namespace dialogra::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class Lexipen : public EditorFixture {
 protected:
  addedit& MakeEditor() override { return forms::Forms::Get<lexipen::CategoryEditor>(); }
  const addedit* OpenEditor() const override {
    return forms::Forms::Find<lexipen::CategoryEditor>();
  }

  // A categorised book of the test's own, made as the build makes reg.ocx.
  void MakeBook(const std::string& connect = ";pwd=Mirt40697315Lp") {
    dao::Database db = dao::CreateDatabase((folder / "reg.ocx").string(), connect);
    db.Execute("CREATE TABLE word (English TEXT(255), Italian TEXT(255), category TEXT(64))");
    db.Execute("CREATE UNIQUE INDEX CategoryEnglish ON word (category, English)");
  }

  addedit& Pick(addedit& f, const std::string& category) {
    for (int i = 0; i < f.Combo1.ListCount(); ++i)
      if (f.Combo1.List(i) == category) {
        f.Combo1.ListIndex(i);
        return f;
      }
    ADD_FAILURE() << "no category " << category;
    return f;
  }

  // The probe's command line: every argument in single quotes for the shell.
  static std::string Command(const std::vector<std::string>& args) {
    std::string cmd = "'" BOOK_PROBE "'";
    for (const std::string& a : args) {
      cmd += " '";
      for (char c : a) cmd += c == '\'' ? std::string("'\\''") : std::string(1, c);
      cmd += "'";
    }
    return cmd;
  }

  // Runs the probe to its end; its output lines.
  std::vector<std::string> Probe(const std::vector<std::string>& args) {
    std::vector<std::string> out;
    FILE* p = popen(Command(args).c_str(), "r");
    if (!p) return out;
    char line[1024];
    while (std::fgets(line, sizeof line, p)) {
      std::string s(line);
      if (!s.empty() && s.back() == '\n') s.pop_back();
      out.push_back(s);
    }
    pclose(p);
    return out;
  }

  const WordBook book = LexipenBook();
};

TEST_F(Lexipen, StartsWaitingForACategory) {
  CopyBook("reg.ocx", "reg.ocx");
  addedit& f = Open(book);
  EXPECT_EQ(f.Caption(), "Lexipen");
  EXPECT_EQ(f.xp_canvas2.Caption(), "Lexipen");
  EXPECT_TRUE(f.Label2.Visible());
  EXPECT_EQ(f.Label2.Caption(), "Choose Category :");
  EXPECT_TRUE(f.Command1.Visible());
  EXPECT_EQ(f.Command1.Caption(), "Exit");
  EXPECT_EQ(f.Combo1.Style(), 2);  // a list to choose from, no typing
  EXPECT_EQ(f.Combo1.ListIndex(), -1);
  EXPECT_EQ(f.Combo1.Text(), "");
  std::vector<std::string> listed;
  for (int i = 0; i < f.Combo1.ListCount(); ++i) listed.push_back(f.Combo1.List(i));
  EXPECT_THAT(listed, ElementsAreArray(suite::CategoriesByName()));
  EXPECT_EQ(listed.size(), 34u);
  EXPECT_TRUE(std::is_sorted(listed.begin(), listed.end()));
  EXPECT_TRUE(NavigationDisabled(f));
  EXPECT_FALSE(f.cmdDelete.Enabled());
  EXPECT_FALSE(f.cmdSave.Enabled());
  EXPECT_EQ(f.List1.ListCount(), 0);
  EXPECT_FALSE(f.wordDatabase.IsOpen());
  // Nothing is open yet, so another program may still read the book.
  EXPECT_NO_THROW(dao::OpenDatabase((folder / "reg.ocx").string(), true, false, book.connect));
  EXPECT_THAT(messages, IsEmpty());
}

TEST_F(Lexipen, ACategoryIsListedInOrder) {
  CopyBook("reg.ocx", "reg.ocx");
  const std::vector<std::string> rows = Rows(book, "where category='Some Basic Phrases'");
  ASSERT_GT(rows.size(), 1u);
  addedit& f = Pick(Open(book), "Some Basic Phrases");
  std::vector<std::string> expected;
  for (const std::string& r : rows) expected.push_back(r.substr(0, r.find('=')));
  EXPECT_THAT(ListOf(f), ElementsAreArray(expected));
  EXPECT_EQ(f.English.Text(), expected[0]);
  EXPECT_EQ(f.List1.ListIndex(), 0);
  EXPECT_EQ(f.txtGCurent.Text(), "Record 1 of about " + std::to_string(rows.size()));
  EXPECT_TRUE(NavigationEnabled(f));
  EXPECT_TRUE(f.cmdDelete.Enabled());
  // Categories with a comma or a slash select their words like any other.
  for (const char* c : {"Fruits, Vegetables and Meats", "Office / School Supplies"}) {
    Pick(f, c);
    EXPECT_EQ(static_cast<std::size_t>(f.List1.ListCount()),
              Rows(book, "where category=" + dao::Quote(c)).size())
        << c;
  }
  EXPECT_THAT(messages, IsEmpty());
}

TEST_F(Lexipen, ANewWordGetsTheCategoryAndGoesToTheEnd) {
  MakeBook();
  AddWords(book, {{"one", "uno"}, {"two", "due"}}, "Numbers");
  AddWords(book, {{"apple", "la mela"}}, "Food and Meals");
  addedit& f = Pick(Open(book), "Numbers");
  EXPECT_THAT(ListOf(f), ElementsAre("one", "two"));
  f.CmdAdd.Click();
  Type(f, "four", "quattro");
  f.cmdSave.Click();
  EXPECT_THAT(ListOf(f), ElementsAre("one", "two", "four"));
  EXPECT_EQ(f.txtGCurent.Text(), "Record 1 of about 3");
  // The same English in another category is no duplicate.
  f.cmdGAdd_Click();
  Type(f, "apple", "mela");
  f.cmdSave.Click();
  EXPECT_THAT(messages, IsEmpty());
  f.Combo1.ListIndex(f.Combo1.ListIndex());  // picking it again reloads it, in order
  EXPECT_THAT(ListOf(f), ElementsAre("apple", "four", "one", "two"));

  // Picking the same category drops unsaved typing.
  f.English.Text("typed");
  Pick(f, "Numbers");
  EXPECT_EQ(f.English.Text(), "apple");

  f.xptopbuttons1.Click();
  EXPECT_THAT(Rows(book),
              ElementsAre("apple=la mela|Food and Meals", "apple=mela|Numbers",
                          "four=quattro|Numbers", "one=uno|Numbers", "two=due|Numbers"));
}

TEST_F(Lexipen, DeletingOneOfTwoKeepsDeleteDisabled) {
  MakeBook();
  AddWords(book, {{"north", "nord"}, {"south", "sud"}}, "Directions");
  addedit& f = Pick(Open(book), "Directions");
  f.cmdDelete.Click();
  EXPECT_THAT(ListOf(f), ElementsAre("south"));
  EXPECT_EQ(f.English.Text(), "south");
  EXPECT_EQ(f.List1.ListIndex(), 0);
  EXPECT_TRUE(NavigationEnabled(f));
  EXPECT_FALSE(f.cmdDelete.Enabled());
  EXPECT_FALSE(f.addingNew);
  EXPECT_EQ(f.txtGCurent.Text(), "Record 1 of about 1");
  // A save enables it again.
  f.Italian.Text("il sud");
  f.cmdSave.Click();
  EXPECT_TRUE(f.cmdDelete.Enabled());
  EXPECT_THAT(Rows(book), ElementsAre("south=il sud|Directions"));
}

TEST_F(Lexipen, EmptyingACategory) {
  MakeBook();
  AddWords(book, {{"summer", "l'estate"}}, "Seasons");
  addedit& f = Pick(Open(book), "Seasons");
  f.cmdDelete.Click();
  EXPECT_THAT(Rows(book), IsEmpty());
  EXPECT_EQ(f.List1.ListCount(), 0);
  EXPECT_EQ(f.txtGCurent.Text(), "Record 0 of about 0");
  f.cmdDelete.Click();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].prompt, "No current record !");
  EXPECT_EQ(messages[0].buttons, forms::vbCritical);
  // Stepping finds nothing; a save adds the word to the emptied category.
  f.cmdGFirst_Click();
  f.cmdNext_Click();
  Type(f, "winter", "l'inverno");
  f.cmdSave.Click();
  EXPECT_THAT(Rows(book), ElementsAre("winter=l'inverno|Seasons"));
  EXPECT_THAT(ListOf(f), ElementsAre("winter"));
}

TEST_F(Lexipen, AnEmptyCategoryOpensInAddMode) {
  MakeBook();
  addedit& f = Pick(Open(book), "The Farm");
  EXPECT_TRUE(f.addingNew);
  EXPECT_EQ(f.List1.ListCount(), 0);
  EXPECT_THAT(messages, IsEmpty());
  Type(f, "the cow", "la mucca");
  f.cmdSave.Click();
  EXPECT_THAT(Rows(book), ElementsAre("the cow=la mucca|The Farm"));
}

TEST_F(Lexipen, BookHeldByASecondProcess) {
  CopyBook("reg.ocx", "reg.ocx");
  // The probe holds the book until its input ends.
  const auto mark = folder / "held";
  FILE* holder = popen(
      Command({"hold", (folder / "reg.ocx").string(), book.connect, mark.string()}).c_str(), "w");
  ASSERT_NE(holder, nullptr);
  for (int i = 0; i < 3000 && !std::filesystem::exists(mark); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_TRUE(std::filesystem::exists(mark));

  addedit& f = Pick(Open(book), "Numbers");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_THAT(messages[0].prompt, HasSubstr((folder / "reg.ocx").string()));
  EXPECT_THAT(messages[0].prompt, HasSubstr("it is in use by book_probe. Close it and try again."));
  EXPECT_EQ(f.List1.ListCount(), 0);
  EXPECT_FALSE(f.English.Enabled());
  EXPECT_TRUE(NavigationDisabled(f));
  EXPECT_FALSE(f.cmdSave.Enabled());
  EXPECT_FALSE(f.cmdDelete.Enabled());
  EXPECT_TRUE(f.Combo1.Enabled());

  pclose(holder);  // ends its input and waits for it
  Pick(f, "Numbers");
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_GT(f.List1.ListCount(), 0);
  EXPECT_TRUE(f.English.Enabled());
}

TEST_F(Lexipen, MissingBookAndWrongPassword) {
  {
    addedit& f = Pick(Open(book), "Numbers");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_THAT(messages[0].prompt,
                HasSubstr("reg.ocx\" could not be opened: the file does not exist"));
    EXPECT_EQ(f.List1.ListCount(), 0);
    EXPECT_FALSE(std::filesystem::exists(folder / "reg.ocx"));
    forms::testing::ReleaseAllForms();
  }
  MakeBook(";pwd=another");
  messages.clear();
  Pick(Open(book), "Numbers");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_THAT(messages[0].prompt, HasSubstr("the file is damaged, or it is not a word book"));
}

TEST_F(Lexipen, AWordSavedIsReadByASecondProcessAfterwards) {
  CopyBook("reg.ocx", "reg.ocx");
  const std::string path = (folder / "reg.ocx").string();
  addedit& f = Pick(Open(book), "Numbers");
  f.cmdGAdd_Click();
  Type(f, "one thousand and one", "mille e uno");
  f.cmdSave.Click();
  ASSERT_THAT(messages, IsEmpty());
  // While the manager holds the book, the trainer cannot read it.
  EXPECT_THAT(Probe({"list", path, book.connect, "Numbers"}), ElementsAre(HasSubstr("error")));
  f.Command1.Click();
  const std::vector<std::string> read = Probe({"list", path, book.connect, "Numbers"});
  EXPECT_THAT(read, ::testing::Contains("one thousand and one=mille e uno"));
}

}  // namespace
}  // namespace dialogra::testing
