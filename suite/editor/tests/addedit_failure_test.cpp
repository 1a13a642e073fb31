// The editor over a book it cannot open: a message that names the file and
// says why, and an empty editor that can do nothing but close.

#include <gtest/gtest.h>

#include <fstream>

#include "editor_fixture.h"

namespace dialogra::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

class EditorFailure : public EditorFixture {
 protected:
  void ExpectLockedEditor(const addedit& f) {
    EXPECT_FALSE(f.English.Enabled());
    EXPECT_FALSE(f.Italian.Enabled());
    EXPECT_FALSE(f.List1.Enabled());
    EXPECT_FALSE(f.cmdSave.Enabled());
    EXPECT_FALSE(f.cmdDelete.Enabled());
    EXPECT_TRUE(NavigationDisabled(f));
    EXPECT_EQ(f.List1.ListCount(), 0);
    EXPECT_EQ(f.txtGCurent.Text(), "");
    EXPECT_TRUE(f.xptopbuttons1.Enabled());
  }
  // The one message, which names the book's file.
  std::string OnlyMessage() {
    EXPECT_EQ(messages.size(), 1u);
    if (messages.empty()) return {};
    EXPECT_EQ(messages[0].buttons, forms::vbCritical);
    EXPECT_THAT(messages[0].prompt, HasSubstr((folder / "dialog.ocx").string()));
    return messages[0].prompt;
  }
  const WordBook book = DialograBook();
};

TEST_F(EditorFailure, MissingBook) {
  addedit& f = Open(book);
  EXPECT_THAT(OnlyMessage(), HasSubstr("does not exist"));
  ExpectLockedEditor(f);
  EXPECT_FALSE(std::filesystem::exists(folder / "dialog.ocx"));
  // Whatever reaches the handlers finds nothing to work on.
  f.SaveRecord();
  f.cmdDelete_Click();
  f.cmdNext_Click();
  f.cmdGLast_Click();
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(EditorFailure, DamagedBookIsLeftAsItWas) {
  const std::string junk = "this is no word book\n";
  std::ofstream(folder / "dialog.ocx") << junk;
  addedit& f = Open(book);
  EXPECT_THAT(OnlyMessage(), HasSubstr("damaged"));
  ExpectLockedEditor(f);
  EXPECT_EQ(std::filesystem::file_size(folder / "dialog.ocx"), junk.size());
}

TEST_F(EditorFailure, BookWithoutItsWordList) {
  dao::CreateDatabase((folder / "dialog.ocx").string())
      .Execute("CREATE TABLE other (English TEXT(255))");
  addedit& f = Open(book);
  EXPECT_THAT(OnlyMessage(), HasSubstr("no word list"));
  ExpectLockedEditor(f);
}

TEST_F(EditorFailure, BookHeldElsewhere) {
  CopyBook("dialog.ocx", "dialog.ocx");
  dao::Database other = dao::OpenDatabase((folder / "dialog.ocx").string());
  addedit& f = Open(book);
  // Held by this very process: the trainer's study is what holds it there.
  EXPECT_THAT(OnlyMessage(), HasSubstr("the trainer is studying it"));
  ExpectLockedEditor(f);
}

}  // namespace
}  // namespace dialogra::testing
