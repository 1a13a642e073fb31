#pragma once

// The word-book editor in a test: a private program folder with a copy of
// the book, message boxes caught, and the end of the program caught.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "dao/dao.h"
#include "forms/forms.h"
#include "forms/testing.h"
#include "suite/addedit.h"
#include "testsupport/temp_dir.h"

namespace dialogra::testing {

struct Message {
  std::string prompt;
  int buttons;
};

class EditorFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TAVRINEL_PROGRAM_DIR", folder.path().c_str(), 1);
    forms::SetMessageBoxPresenter([this](std::string_view prompt, int buttons, std::string_view) {
      messages.push_back({std::string(prompt), buttons});
      return forms::vbOK;
    });
    forms::testing::SetEndHandler([this] { ended = true; });
  }

  void TearDown() override {
    forms::testing::ReleaseAllForms();
    forms::SetMessageBoxPresenter({});
    forms::testing::SetEndHandler({});
  }

  // Puts the build's copy of a book into the test's program folder.
  void CopyBook(const std::string& from, const std::string& to) {
    std::filesystem::copy_file(testsupport::BinDir() / from, folder / to);
  }

  void AddWords(const WordBook& book, const std::vector<std::pair<std::string, std::string>>& words,
                const std::string& category = {}) {
    dao::Database db = dao::OpenDatabase((folder / book.file).string(), false, false, book.connect);
    dao::Recordset rs = db.OpenRecordset("word");
    for (const auto& [en, it] : words) {
      rs.AddNew();
      rs.Fields("English") = en;
      rs.Fields("Italian") = it;
      if (!category.empty()) rs.Fields("category") = category;
      rs.Update();
    }
  }

  // The form under test: the editor, or a form built on it.
  virtual addedit& MakeEditor() { return forms::Forms::Get<addedit>(); }
  virtual const addedit* OpenEditor() const { return forms::Forms::Find<addedit>(); }

  // Every row of the book, "English=Italian" (with "|category" in a book
  // that has categories), as the file holds them: through the editor's
  // connection while it holds the book, else through one of its own.
  std::vector<std::string> Rows(const WordBook& book, const std::string& where = {}) {
    const addedit* editor = OpenEditor();
    dao::Database db =
        editor && editor->wordDatabase.IsOpen()
            ? editor->wordDatabase
            : dao::OpenDatabase((folder / book.file).string(), false, true, book.connect);
    dao::Recordset rs = db.OpenRecordset("select * from word " + where + " ORDER BY English");
    bool categorised = true;
    try {
      rs.Fields("category");
    } catch (const dao::Error&) {
      categorised = false;  // a trainer's own book
    }
    std::vector<std::string> out;
    for (; !rs.Eof(); rs.MoveNext())
      out.push_back(rs.Fields("English").Value() + "=" + rs.Fields("Italian").Value() +
                    (categorised ? "|" + rs.Fields("category").Value() : ""));
    return out;
  }

  addedit& Open(const WordBook& book) {
    addedit& form = MakeEditor();
    form.Book(book);
    form.Load();
    return form;
  }

  static std::vector<std::string> ListOf(const addedit& form) {
    std::vector<std::string> out;
    for (int i = 0; i < form.List1.ListCount(); ++i) out.push_back(form.List1.List(i));
    return out;
  }

  static bool NavigationEnabled(const addedit& f) {
    return f.cmdGFirst.Enabled() && f.cmdPrev.Enabled() && f.cmdNext.Enabled() &&
           f.cmdGLast.Enabled() && f.cmdGAdd.Enabled() && f.CmdAdd.Enabled();
  }
  static bool NavigationDisabled(const addedit& f) {
    return !f.cmdGFirst.Enabled() && !f.cmdPrev.Enabled() && !f.cmdNext.Enabled() &&
           !f.cmdGLast.Enabled() && !f.cmdGAdd.Enabled() && !f.CmdAdd.Enabled();
  }

  static void Type(addedit& f, const std::string& english, const std::string& italian) {
    f.English.Text(english);
    f.Italian.Text(italian);
  }

  testsupport::TempDir folder;
  std::vector<Message> messages;
  bool ended = false;
};

}  // namespace dialogra::testing
