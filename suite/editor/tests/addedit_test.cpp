// The word-book editor over the trainers' own books: browsing, adding,
// changing and deleting records, and what it refuses.

#include <gtest/gtest.h>

#include <QTest>

#include "dao/sql_text.h"

#include "editor_fixture.h"

namespace dialogra::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class Editor : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    CopyBook("dialog.ocx", "dialog.ocx");
  }
  const WordBook book = DialograBook();
};

TEST_F(Editor, EmptyBookOpensInAddModeAndTakesItsFirstRecord) {
  addedit& f = Open(book);
  EXPECT_EQ(f.English.Text(), "");
  EXPECT_EQ(f.Italian.Text(), "");
  EXPECT_EQ(f.List1.ListCount(), 0);
  EXPECT_EQ(f.txtGCurent.Text(), "");
  EXPECT_TRUE(f.addingNew);
  EXPECT_TRUE(NavigationDisabled(f));
  EXPECT_EQ(f.Caption(), "Adding && Manage New Dialogs");
  EXPECT_EQ(f.xp_canvas2.Caption(), "Adding && Manage New Dialogs");

  Type(f, "the dog", "il cane");
  EXPECT_TRUE(f.cmdSave.Enabled());
  f.cmdSave.Click();
  EXPECT_THAT(ListOf(f), ElementsAre("the dog"));
  EXPECT_EQ(f.txtGCurent.Text(), "Record 1 of about 1");
  EXPECT_FALSE(f.addingNew);
  EXPECT_TRUE(NavigationEnabled(f));
  EXPECT_TRUE(f.cmdDelete.Enabled());
  EXPECT_THAT(Rows(book), ElementsAre("the dog=il cane"));
  EXPECT_THAT(messages, IsEmpty());
}

TEST_F(Editor, FilledBookListsInOrderAndAddsAtTheEnd) {
  AddWords(book, {{"cat", "gatto"}, {"apple", "mela"}, {"moon", "luna"}});
  addedit& f = Open(book);
  EXPECT_THAT(ListOf(f), ElementsAre("apple", "cat", "moon"));
  EXPECT_EQ(f.English.Text(), "apple");
  EXPECT_EQ(f.Italian.Text(), "mela");
  EXPECT_EQ(f.List1.ListIndex(), 0);
  EXPECT_EQ(f.txtGCurent.Text(), "Record 1 of about 3");
  EXPECT_TRUE(NavigationEnabled(f));

  f.List1.ListIndex(2);
  EXPECT_EQ(f.Italian.Text(), "luna");
  EXPECT_EQ(f.txtGCurent.Text(), "Record 3 of about 3");

  // A new record goes to the end, not to its place in the order, and the
  // editor then shows the first record.
  f.CmdAdd.Click();
  EXPECT_TRUE(f.addingNew);
  EXPECT_TRUE(NavigationDisabled(f));
  EXPECT_EQ(f.English.Text(), "");
  Type(f, "bread", "pane");
  f.cmdSave.Click();
  EXPECT_THAT(ListOf(f), ElementsAre("apple", "cat", "moon", "bread"));
  EXPECT_EQ(f.English.Text(), "apple");
  EXPECT_EQ(f.List1.ListIndex(), 0);
  EXPECT_EQ(f.txtGCurent.Text(), "Record 1 of about 4");
  f.List1.ListIndex(3);
  EXPECT_EQ(f.Italian.Text(), "pane");
  EXPECT_EQ(f.txtGCurent.Text(), "Record 4 of about 4");
}

TEST_F(Editor, BlankTextsAreNotSaved) {
  addedit& f = Open(book);
  for (const auto& [en, it] : std::vector<std::pair<std::string, std::string>>{
           {"   ", "cane"}, {"dog", ""}, {"", ""}, {"dog", " \t "}}) {
    Type(f, en, it);
    f.cmdSave.Click();
    EXPECT_EQ(f.English.Text(), en);
    EXPECT_EQ(f.Italian.Text(), it);
  }
  EXPECT_THAT(Rows(book), IsEmpty());
  EXPECT_THAT(messages, IsEmpty());
  EXPECT_TRUE(f.addingNew);
  // Texts are stored as typed, blanks and all.
  Type(f, " dog ", "cane  ");
  f.cmdSave.Click();
  EXPECT_THAT(Rows(book), ElementsAre(" dog =cane  "));
}

TEST_F(Editor, DeletingTheOnlyRecordLeavesAnEmptyBookInAddMode) {
  AddWords(book, {{"dog", "cane"}});
  addedit& f = Open(book);
  f.cmdDelete.Click();
  EXPECT_THAT(Rows(book), IsEmpty());
  EXPECT_EQ(f.List1.ListCount(), 0);
  EXPECT_EQ(f.txtGCurent.Text(), "Record 0 of about 0");
  EXPECT_EQ(f.English.Text(), "");
  EXPECT_TRUE(f.addingNew);
  EXPECT_TRUE(NavigationDisabled(f));
  EXPECT_FALSE(f.cmdDelete.Enabled());
  EXPECT_TRUE(f.cmdSave.Enabled());

  // Nothing left to delete.
  f.cmdDelete_Click();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].prompt, "No current record !");
  EXPECT_EQ(messages[0].buttons, forms::vbCritical);

  Type(f, "cat", "gatto");
  f.cmdSave.Click();
  EXPECT_THAT(Rows(book), ElementsAre("cat=gatto"));
  EXPECT_EQ(f.txtGCurent.Text(), "Record 1 of about 1");
}

TEST_F(Editor, ChangingARecordReplacesItsListEntryInPlace) {
  AddWords(book, {{"apple", "mela"}, {"cat", "gatto"}, {"moon", "luna"}});
  addedit& f = Open(book);
  f.List1.ListIndex(1);
  f.English.Text("a cat");
  f.cmdSave.Click();
  EXPECT_THAT(ListOf(f), ElementsAre("apple", "a cat", "moon"));
  EXPECT_THAT(Rows(book), ElementsAre("a cat=gatto", "apple=mela", "moon=luna"));
  EXPECT_EQ(f.English.Text(), "apple");
  f.List1.ListIndex(1);
  EXPECT_EQ(f.Italian.Text(), "gatto");
}

TEST_F(Editor, StepsAtBothEndsKeepTheShownRecordForSaveAndDelete) {
  AddWords(book, {{"apple", "mela"}, {"cat", "gatto"}, {"moon", "luna"}});
  addedit& f = Open(book);
  f.cmdGLast_Click();
  EXPECT_EQ(f.English.Text(), "moon");
  EXPECT_EQ(f.txtGCurent.Text(), "Record 3 of about 3");
  f.cmdNext_Click();
  EXPECT_EQ(f.English.Text(), "moon");
  EXPECT_EQ(f.List1.ListIndex(), 2);
  EXPECT_EQ(f.txtGCurent.Text(), "Record 3 of about 3");
  f.cmdPrev_Click();
  EXPECT_EQ(f.English.Text(), "moon");

  // Past the end: the save changes the record on screen.
  f.cmdNext_Click();
  f.Italian.Text("la luna");
  f.cmdSave.Click();
  EXPECT_THAT(Rows(book), ElementsAre("apple=mela", "cat=gatto", "moon=la luna"));
  EXPECT_THAT(ListOf(f), ElementsAre("apple", "cat", "moon"));

  // Before the start: the delete takes the record on screen and its entry.
  f.cmdGFirst_Click();
  f.cmdPrev_Click();
  EXPECT_EQ(f.English.Text(), "apple");
  f.cmdDelete.Click();
  EXPECT_THAT(Rows(book), ElementsAre("cat=gatto", "moon=la luna"));
  EXPECT_THAT(ListOf(f), ElementsAre("cat", "moon"));
  EXPECT_EQ(f.English.Text(), "cat");
  EXPECT_EQ(f.txtGCurent.Text(), "Record 1 of about 2");

  // And past the end again.
  f.cmdGLast_Click();
  f.cmdNext_Click();
  f.cmdDelete.Click();
  EXPECT_THAT(Rows(book), ElementsAre("cat=gatto"));
  EXPECT_THAT(ListOf(f), ElementsAre("cat"));
  EXPECT_THAT(messages, IsEmpty());
}

TEST_F(Editor, DuplicateInAnotherCaseIsRefusedAndTheTypingStays) {
  AddWords(book, {{"dog", "cane"}});
  addedit& f = Open(book);
  f.cmdGAdd_Click();
  Type(f, "Dog", "il cane");
  f.cmdSave.Click();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].prompt, "Duplicate record !");
  EXPECT_EQ(messages[0].buttons, forms::vbCritical);
  EXPECT_THAT(Rows(book), ElementsAre("dog=cane"));
  EXPECT_EQ(f.English.Text(), "Dog");
  EXPECT_EQ(f.Italian.Text(), "il cane");
  EXPECT_TRUE(f.addingNew);
  EXPECT_THAT(ListOf(f), ElementsAre("dog"));

  // A second try with another text goes through.
  f.English.Text("Dogs");
  f.cmdSave.Click();
  EXPECT_THAT(Rows(book), ElementsAre("dog=cane", "Dogs=il cane"));
  EXPECT_THAT(ListOf(f), ElementsAre("dog", "Dogs"));
}

TEST_F(Editor, ChangingARecordIntoADuplicateChangesNothing) {
  AddWords(book, {{"apple", "mela"}, {"cat", "gatto"}});
  addedit& f = Open(book);
  f.List1.ListIndex(1);
  f.English.Text("APPLE");
  f.cmdSave.Click();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].prompt, "Duplicate record !");
  EXPECT_THAT(Rows(book), ElementsAre("apple=mela", "cat=gatto"));
  EXPECT_THAT(ListOf(f), ElementsAre("apple", "cat"));
  EXPECT_EQ(f.English.Text(), "APPLE");
}

TEST_F(Editor, QuotesAndApostrophesAreKeptAsTyped) {
  addedit& f = Open(book);
  Type(f, "the water", "l'acqua");
  f.cmdSave.Click();
  f.cmdGAdd_Click();
  Type(f, "O'Brien's \"house\"", "la casa di O'Brien");
  f.cmdSave.Click();
  EXPECT_THAT(Rows(book),
              ElementsAre("O'Brien's \"house\"=la casa di O'Brien", "the water=l'acqua"));
  EXPECT_THAT(ListOf(f), ElementsAre("the water", "O'Brien's \"house\""));
  EXPECT_THAT(messages, IsEmpty());
}

TEST_F(Editor, NullTextsShowEmptyAndAreNotWrittenBack) {
  {
    dao::Database db = dao::OpenDatabase((folder / book.file).string());
    db.Execute("INSERT INTO word (English, Italian) VALUES ('sun', NULL)");
  }
  addedit& f = Open(book);
  EXPECT_EQ(f.English.Text(), "sun");
  EXPECT_EQ(f.Italian.Text(), "");
  f.cmdSave.Click();
  {
    dao::Recordset rs = f.wordDatabase.OpenRecordset("select * from word");
    EXPECT_TRUE(rs.Fields("Italian").IsNull());
  }
  f.Italian.Text("sole");
  f.cmdSave.Click();
  EXPECT_THAT(Rows(book), ElementsAre("sun=sole"));
}

TEST_F(Editor, AKeyThatIsNotUtf8KeepsItsBytesWhenItsRecordIsSaved) {
  const std::string latin1 = "caf\xe9";  // written by an old program in Latin-1
  {
    dao::Database db = dao::OpenDatabase((folder / book.file).string());
    db.Execute("INSERT INTO word (English, Italian) VALUES (" + dao::Quote(latin1) + ", 'caff')");
  }
  addedit& f = Open(book);
  ASSERT_EQ(f.Italian.Text(), "caff");
  QTest::keyClick(f.Italian.Widget(), Qt::Key_End);
  QTest::keyClicks(f.Italian.Widget(), " nero");  // the user mends the Italian only
  QTest::mouseClick(f.cmdSave.Widget(), Qt::LeftButton);
  EXPECT_THAT(Rows(book), ElementsAre(latin1 + "=caff nero"));
  EXPECT_THAT(messages, IsEmpty());
}

TEST_F(Editor, HoldsItsBookExclusivelyUntilClosed) {
  addedit& f = Open(book);
  const std::string path = (folder / book.file).string();
  try {
    dao::OpenDatabase(path);
    ADD_FAILURE() << "a shared open went through while the editor held the book";
  } catch (const dao::Error& e) {
    EXPECT_EQ(e.number(), dao::err::kHeldExclusively);
  }
  f.xptopbuttons1.Click();
  EXPECT_NO_THROW(dao::OpenDatabase(path));
}

TEST_F(Editor, WordTrainerOpensItsOwnBookWithItsCaption) {
  CopyBook("word.ocx", "word.ocx");
  const WordBook words = VocabraBook();
  AddWords(words, {{"bread", "pane"}});
  addedit& f = ShowWordBookEditor(words, forms::vbModeless);
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(f.Caption(), "Adding && Manage New Words");
  EXPECT_THAT(ListOf(f), ElementsAre("bread"));
  EXPECT_FALSE(f.Combo1.Visible());
  EXPECT_FALSE(f.Command1.Visible());
  // A second call brings the same editor forward.
  EXPECT_EQ(&ShowWordBookEditor(words), &f);
}

}  // namespace
}  // namespace dialogra::testing
