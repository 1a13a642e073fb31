#include "suite/addedit.h"

#include <QString>
#include <string>

#include "suite/addedit_failure.h"

namespace dialogra {
namespace {

using forms::ComboBox;
using forms::CommandButton;
using forms::Label;
using forms::ListBox;
using forms::TextBox;

constexpr const char* kAllWords = "select * from word ORDER BY English";

// The skin controls must be known before the form's description is read.
const char* Description() {
  controls::Register();
  return ":/forms/suite/addedit.json";
}

bool Blank(const std::string& text) {
  return text.find_first_not_of(" \t") == std::string::npos;
}

// The stored text when the box still shows it as it was shown, else the box's.
std::string Unchanged(const std::string& stored, const std::string& shown) {
  return QString::fromStdString(stored).toStdString() == shown ? stored : shown;
}

}  // namespace

addedit::addedit()
    : Form(Description()),
      xp_canvas2(Get<controls::xp_canvas>("xp_canvas2")),
      xptopbuttons1(Get<controls::xptopbuttons>("xptopbuttons1")),
      xptopbuttons2(Get<controls::xptopbuttons>("xptopbuttons2")),
      xptopbuttons3(Get<controls::xptopbuttons>("xptopbuttons3")),
      English(Get<TextBox>("English")),
      Italian(Get<TextBox>("Italian")),
      cmdSave(Get<controls::xpcmdbutton>("cmdSave")),
      CmdAdd(Get<controls::xpcmdbutton>("CmdAdd")),
      cmdDelete(Get<controls::xpcmdbutton>("cmdDelete")),
      List1(Get<ListBox>("List1")),
      cmdGFirst(Get<CommandButton>("cmdGFirst")),
      cmdPrev(Get<CommandButton>("cmdPrev")),
      txtGCurent(Get<TextBox>("txtGCurent")),
      cmdNext(Get<CommandButton>("cmdNext")),
      cmdGLast(Get<CommandButton>("cmdGLast")),
      cmdGAdd(Get<CommandButton>("cmdGAdd")),
      Label2(Get<Label>("Label2")),
      Combo1(Get<ComboBox>("Combo1")),
      Command1(Get<controls::xpcmdbutton>("Command1")) {
  xptopbuttons1.Click = [this] { forms::Unload(*this); };
  xptopbuttons3.Click = [this] { WindowState(forms::vbMinimized); };
  cmdSave.Click = [this] { SaveRecord(); };
  CmdAdd.Click = [this] { cmdGAdd_Click(); };
  cmdDelete.Click = [this] { cmdDelete_Click(); };
  cmdGFirst.Click = [this] { cmdGFirst_Click(); };
  cmdPrev.Click = [this] { cmdPrev_Click(); };
  cmdNext.Click = [this] { cmdNext_Click(); };
  cmdGLast.Click = [this] { cmdGLast_Click(); };
  cmdGAdd.Click = [this] { cmdGAdd_Click(); };
  List1.Click = [this] { List1_Click(); };
  English.Change = [this] { cmdSave.Enabled(true); };
  Italian.Change = [this] { cmdSave.Enabled(true); };
}

std::string addedit::BookPath() const {
  return forms::App::Path() + "/" + book_.file;
}

void addedit::Form_Load() {
  xp_canvas2.Caption(book_.caption);
  if (!OpenBook(kAllWords)) return;
  if (wordRecordset.Eof() && wordRecordset.Bof()) {
    ClearFields();
    List1.Clear();
    addingNew = true;
    DisableNavigation();
    return;
  }
  FillFromRecordset();
}

void addedit::Form_Resize() {
  if (WindowState() == forms::vbMinimized) return;
  xp_canvas2.make_trans(*this);
}

void addedit::Form_Unload(int& /*Cancel*/) {
  // Let go of the book at once: the trainer that opened the editor may want
  // it back before this form object is gone.
  wordRecordset = {};
  wordDatabase.Close();
}

void addedit::RequireColumns() {
  wordRecordset.Fields("English");
  wordRecordset.Fields("Italian");
}

bool addedit::OpenBook(const std::string& source) {
  const std::string path = BookPath();
  try {
    if (!wordDatabase.IsOpen()) wordDatabase = dao::OpenDatabase(path, true, false, book_.connect);
    wordRecordset = wordDatabase.OpenRecordset(source);
    RequireColumns();
  } catch (const dao::Error& e) {
    wordRecordset = {};
    wordDatabase.Close();
    LockEditor();
    const bool inUse = e.number() == dao::err::kFileInUse ||
                       e.number() == dao::err::kHeldExclusively || e.number() == dao::err::kLocked;
    forms::MsgBox(OpenFailureText(path, e, inUse ? dao::Holders(path) : std::vector<dao::Holder>{},
                                  book_.heldWhileStudied),
                  forms::vbCritical);
    return false;
  }
  English.Enabled(true);
  Italian.Enabled(true);
  List1.Enabled(true);
  return true;
}

void addedit::LockEditor() {
  addingNew = false;
  ClearFields();
  List1.Clear();
  txtGCurent.Text("");
  DisableNavigation();
  cmdDelete.Enabled(false);
  cmdSave.Enabled(false);
  English.Enabled(false);
  Italian.Enabled(false);
  List1.Enabled(false);
}

void addedit::FillFromRecordset() {
  try {
    English.Text(wordRecordset.Fields("English").Value());
    Italian.Text(wordRecordset.Fields("Italian").Value());
    List1.Clear();
    while (!wordRecordset.Eof()) {
      List1.AddItem(wordRecordset.Fields("English").Value());
      wordRecordset.MoveNext();
    }
    wordRecordset.MoveFirst();
    firstBookmark = wordRecordset.Bookmark();
    List1.ListIndex(static_cast<int>(wordRecordset.AbsolutePosition()));
    WriteCounter(wordRecordset.AbsolutePosition() + 1);
  } catch (const dao::Error& e) {
    wordRecordset = {};
    wordDatabase.Close();
    LockEditor();
    forms::MsgBox(OpenFailureText(BookPath(), e), forms::vbCritical);
    return;
  }
  cmdDelete.Enabled(true);
  EnableNavigation();
}

void addedit::WriteCounter(long place) {
  long count = 0;
  try {
    count = wordRecordset.RecordCount();
  } catch (const dao::Error&) {
    // A count the engine cannot give shows as 0: the counter only says 'about'.
  }
  txtGCurent.Text("Record " + std::to_string(place) + " of about " + std::to_string(count));
}

void addedit::ShowCurrent() {
  English.Text(wordRecordset.Fields("English").Value());
  Italian.Text(wordRecordset.Fields("Italian").Value());
  List1.ListIndex(static_cast<int>(wordRecordset.AbsolutePosition()));
  WriteCounter(wordRecordset.AbsolutePosition() + 1);
}

// Each step fails only when there is no record to stand on (an emptied
// book or category); then nothing on screen changes.
void addedit::cmdGFirst_Click() {
  try {
    wordRecordset.MoveFirst();
    ShowCurrent();
  } catch (const dao::Error&) {
  }
}

void addedit::cmdGLast_Click() {
  try {
    wordRecordset.MoveLast();
    ShowCurrent();
  } catch (const dao::Error&) {
  }
}

void addedit::cmdNext_Click() {
  try {
    if (!wordRecordset.Eof()) wordRecordset.MoveNext();
    if (!wordRecordset.Eof()) ShowCurrent();
  } catch (const dao::Error&) {
  }
}

void addedit::cmdPrev_Click() {
  try {
    if (!wordRecordset.Bof()) wordRecordset.MovePrevious();
    if (!wordRecordset.Bof()) ShowCurrent();
  } catch (const dao::Error&) {
  }
}

void addedit::RestoreCurrent() {
  try {
    if (wordRecordset.Eof() && !wordRecordset.Bof())
      wordRecordset.MoveLast();
    else if (wordRecordset.Bof() && !wordRecordset.Eof())
      wordRecordset.MoveFirst();
  } catch (const dao::Error&) {
    // No record to return to (an emptied book or category): the fields stay.
  }
}

void addedit::List1_Click() {
  const int index = List1.ListIndex();
  if (index < 0 || !wordRecordset.IsOpen()) return;
  if (addingNew) {
    addingNew = false;
    EnableNavigation();
  }
  try {
    wordRecordset.Move(index, firstBookmark);
    English.Text(wordRecordset.Fields("English").Value());
    Italian.Text(wordRecordset.Fields("Italian").Value());
  } catch (const dao::Error&) {
    // The entry's record is gone: the fields keep what they show.
    return;
  }
  WriteCounter(index + 1);
}

void addedit::cmdGAdd_Click() {
  ClearFields();
  DisableNavigation();
  English.SetFocus();
  addingNew = true;
}

void addedit::SaveRecord() {
  if (!wordRecordset.IsOpen()) return;
  const std::string english = English.Text();
  const std::string italian = Italian.Text();
  if (Blank(italian) || Blank(english)) return;
  // An emptied category has no record to change: the save adds one.
  const bool adding = addingNew || (wordRecordset.Eof() && wordRecordset.Bof());
  long place = -1;
  try {
    std::string storedEnglish = english, storedItalian = italian;
    if (adding) {
      wordRecordset.AddNew();
    } else {
      RestoreCurrent();
      place = wordRecordset.AbsolutePosition();
      // A box shows a stored text that is not valid UTF-8 with its bad bytes
      // replaced; unless the user changed it, the record keeps its own bytes.
      storedEnglish = Unchanged(wordRecordset.Fields("English").Value(), english);
      storedItalian = Unchanged(wordRecordset.Fields("Italian").Value(), italian);
      wordRecordset.Edit();
    }
    wordRecordset.Fields("English") = storedEnglish;
    wordRecordset.Fields("Italian") = storedItalian;
    WriteOtherColumns();
    wordRecordset.Update();
  } catch (const dao::Error& e) {
    // The engine wrote nothing; what the user typed stays on screen.
    try {
      if (wordRecordset.GetEditMode() != dao::EditMode::kNone) wordRecordset.CancelUpdate();
    } catch (const dao::Error&) {
      // Nothing was written; a cancel that fails too leaves nothing to undo.
    }
    if (e.number() == dao::err::kDuplicateKey)
      forms::MsgBox("Duplicate record !", forms::vbCritical);
    else
      ShowEngineFailure("The word could not be saved", e);
    return;
  }
  try {
    wordRecordset.SetBookmark(wordRecordset.LastModified());
    if (adding)
      List1.AddItem(english);
    else
      List1.List(static_cast<int>(place), english);
    wordRecordset.MoveFirst();
    firstBookmark = wordRecordset.Bookmark();
    List1.ListIndex(static_cast<int>(wordRecordset.AbsolutePosition()));
    WriteCounter(wordRecordset.AbsolutePosition() + 1);
  } catch (const dao::Error&) {
    // The word is saved; the list catches up when the book is opened again.
  }
  EnableNavigation();
  addingNew = false;
  cmdDelete.Enabled(true);
}

void addedit::cmdDelete_Click() {
  if (!wordRecordset.IsOpen()) return;
  if (wordRecordset.RecordCount() == LastRecordCount()) {
    DisableNavigation();
    addingNew = true;
    cmdDelete.Enabled(false);
  }
  if (wordRecordset.Eof() && wordRecordset.Bof()) {
    addingNew = true;
    forms::MsgBox("No current record !", forms::vbCritical);
    return;
  }
  RestoreCurrent();
  long entry = -1;
  try {
    entry = wordRecordset.AbsolutePosition();
    wordRecordset.Delete();
  } catch (const dao::Error& e) {
    // The record stays, and so does its list entry.
    ShowEngineFailure("The word could not be deleted", e);
    return;
  }
  ClearFields();
  try {
    wordRecordset.MoveFirst();
    firstBookmark = wordRecordset.Bookmark();
  } catch (const dao::Error&) {
    // The book or category is empty now: there is no first record to stand on.
  }
  if (entry >= 0 && entry < List1.ListCount()) List1.RemoveItem(static_cast<int>(entry));
  List1.ListIndex(static_cast<int>(wordRecordset.AbsolutePosition()));
  WriteCounter(wordRecordset.AbsolutePosition() + 1);
}

void addedit::ShowEngineFailure(std::string_view what, const dao::Error& e) const {
  forms::MsgBox(ChangeFailureText(what, BookPath(), e), forms::vbCritical);
}

void addedit::SetNavigation(bool on) {
  cmdGFirst.Enabled(on);
  cmdPrev.Enabled(on);
  cmdNext.Enabled(on);
  cmdGLast.Enabled(on);
  cmdGAdd.Enabled(on);
  CmdAdd.Enabled(on);
}

void addedit::DisableNavigation() {
  SetNavigation(false);
}

void addedit::EnableNavigation() {
  SetNavigation(true);
}

void addedit::ClearFields() {
  English.Text("");
  Italian.Text("");
}

addedit& ShowWordBookEditor(const WordBook& book, int modal, forms::Form* owner) {
  addedit* open = forms::Forms::Find<addedit>();
  if (!open || !open->Loaded()) {
    open = &forms::Forms::Get<addedit>();
    open->Book(book);
  }
  if (open->WindowState() == forms::vbMinimized) open->WindowState(forms::vbNormal);
  open->Show(modal, owner);
  return *open;
}

}  // namespace dialogra
