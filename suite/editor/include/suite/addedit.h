#pragma once

// The word-book editor: one record of a word book at a time in two text
// boxes, the list of every English text, and stepping, adding, changing and
// deleting records. The conversation trainer and the word trainer open this
// form over their own book; the word-book manager builds its form on it.

#include <string>
#include <string_view>

#include "controls/controls.h"
#include "dao/dao.h"
#include "forms/forms.h"

namespace dialogra {

// Which book the editor edits and how it names itself.
struct WordBook {
  std::string file;     // the file name in the program folder
  std::string caption;  // caption of the form and of its frame ("&&" shows as "&")
  std::string connect;  // the engine's connect string; empty for none
  // Why this program itself holds the book and how to free it, for the
  // trainers that study their own book; empty for a book it never studies.
  std::string heldWhileStudied = {};
};

// The conversation trainer's book, the word trainer's book, and the
// categorised book of the word-book manager.
WordBook DialograBook();
WordBook VocabraBook();
WordBook LexipenBook();

class addedit : public forms::Form {
 public:
  addedit();

  // Chooses the book; takes effect at the next load of the form.
  void Book(WordBook book) { book_ = std::move(book); }
  const WordBook& Book() const { return book_; }

  // Controls.
  controls::xp_canvas& xp_canvas2;
  controls::xptopbuttons& xptopbuttons1;
  controls::xptopbuttons& xptopbuttons2;
  controls::xptopbuttons& xptopbuttons3;
  forms::TextBox& English;
  forms::TextBox& Italian;
  controls::xpcmdbutton& cmdSave;
  controls::xpcmdbutton& CmdAdd;
  controls::xpcmdbutton& cmdDelete;
  forms::ListBox& List1;
  forms::CommandButton& cmdGFirst;
  forms::CommandButton& cmdPrev;
  forms::TextBox& txtGCurent;
  forms::CommandButton& cmdNext;
  forms::CommandButton& cmdGLast;
  forms::CommandButton& cmdGAdd;
  // The manager's additions, hidden unless a form built on this one shows
  // them.
  forms::Label& Label2;
  forms::ComboBox& Combo1;
  controls::xpcmdbutton& Command1;

  // Form state.
  dao::Database wordDatabase;
  dao::Recordset wordRecordset;
  dao::Bookmark firstBookmark;
  bool addingNew = false;

  // Event procedures, public so that tests drive them as clicks would.
  void cmdGFirst_Click();
  void cmdPrev_Click();
  void cmdNext_Click();
  void cmdGLast_Click();
  void cmdGAdd_Click();
  void List1_Click();
  void SaveRecord();
  void cmdDelete_Click();

 protected:
  void Form_Load() override;
  void Form_Resize() override;
  void Form_Unload(int& Cancel) override;

  // Hooks for a form built on this one. The columns a record must have: a
  // book without them fails at the open rather than half-way through.
  virtual void RequireColumns();
  // Fills the columns beyond the two texts of a record being saved.
  virtual void WriteOtherColumns() {}
  // The count at which Delete takes the editor into add mode first.
  virtual long LastRecordCount() const { return 1; }

  void DisableNavigation();
  void EnableNavigation();
  void ClearFields();
  // Opens the book and the recordset of `source`; on failure tells the user
  // which file failed and why, and leaves the editor empty and disabled.
  bool OpenBook(const std::string& source);
  // Shows the first record of the open recordset and lists them all.
  void FillFromRecordset();
  void WriteCounter(long place);

 private:
  void SetNavigation(bool on);
  void ShowCurrent();
  void LockEditor();
  // After a step past either end, the record on screen becomes current again.
  void RestoreCurrent();
  void ShowEngineFailure(std::string_view what, const dao::Error& e) const;
  std::string BookPath() const;

  WordBook book_;
};

// Opens the editor over `book` with its caption: creates the form on first
// use, or brings forward the one already open (over the book it was opened
// with; a program edits one book). `modal` is forms::vbModal or
// forms::vbModeless.
addedit& ShowWordBookEditor(const WordBook& book, int modal = forms::vbModeless,
                            forms::Form* owner = nullptr);

}  // namespace dialogra
