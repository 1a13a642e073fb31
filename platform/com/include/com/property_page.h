#pragma once

// Property pages: forms that edit the controls a designer selected, and the
// dialog that shows a control's pages with OK, Cancel and Apply.

#include <memory>
#include <string_view>
#include <vector>

#include "forms/form.h"
#include "forms/std_font.h"

class QDialog;
class QPushButton;
class QTabWidget;

namespace com {

// A page: its own controls come from a form description; the page's
// caption is the tab's text. The class derived from it handles
// SelectionChanged (show the selected controls' values) and ApplyChanges
// (write the edited values into them), and sets Changed(true) on an edit.
class PropertyPage : public forms::Form {
 public:
  explicit PropertyPage(std::string_view description);
  ~PropertyPage() override;

  const std::vector<forms::Control*>& SelectedControls() const { return selected_; }
  // Hands the page a new selection and raises SelectionChanged.
  void SelectedControls(std::vector<forms::Control*> controls);

  // Edits pending on the page; the dialog's Apply button follows it.
  bool Changed() const { return changed_; }
  void Changed(bool changed);

  // Raises ApplyChanges and clears Changed.
  void Apply();

 protected:
  virtual void PropertyPage_SelectionChanged() {}
  virtual void PropertyPage_ApplyChanges() {}

 private:
  friend class PropertyPageDialog;
  std::vector<forms::Control*> selected_;
  bool changed_ = false;
  std::function<void()> changedHook_;
};

// A control whose font the standard font page edits: it hands out its font
// object itself, so that changes reach it through the font's notifications.
class IFontHolder {
 public:
  virtual ~IFontHolder() = default;
  virtual std::shared_ptr<forms::StdFont> FontObject() = 0;
};

// The standard font page: face, size and the four style flags of the first
// selected control that holds a font (IFontHolder).
std::unique_ptr<PropertyPage> MakeStandardFontPage();

// The dialog that shows pages for one selection. OK applies every changed
// page and closes; Apply applies and stays; Cancel closes and applies
// nothing.
class PropertyPageDialog {
 public:
  enum class Button { Ok, Cancel, Apply };

  PropertyPageDialog(std::string_view caption, std::vector<std::unique_ptr<PropertyPage>> pages,
                     std::vector<forms::Control*> selection);
  ~PropertyPageDialog();
  PropertyPageDialog(const PropertyPageDialog&) = delete;
  PropertyPageDialog& operator=(const PropertyPageDialog&) = delete;

  // Shows the dialog over `owner` and waits until it closes; true for OK.
  bool ShowModal(win::HWND owner = {});
  // Shows it without waiting (tests press its buttons with Press).
  void Open(win::HWND owner = {});
  void Press(Button button);
  bool ApplyEnabled() const;
  bool IsOpen() const;
  PropertyPage& Page(int index) const { return *pages_.at(static_cast<std::size_t>(index)); }
  int PageCount() const { return static_cast<int>(pages_.size()); }
  // Brings page `index` to the front.
  void ShowPage(int index);
  QDialog& Dialog() const { return *dialog_; }

 private:
  void ApplyAll();
  void Refresh();
  std::vector<std::unique_ptr<PropertyPage>> pages_;
  std::vector<forms::Control*> selection_;
  std::unique_ptr<QDialog> dialog_;
  QTabWidget* tabs_ = nullptr;
  QPushButton* apply_ = nullptr;
  bool opened_ = false;
};

}  // namespace com
