#pragma once

#include <string>
#include <string_view>

#include "forms/qt_control.h"

class QLineEdit;
class QPlainTextEdit;

namespace forms {

class ScrollBar;

class TextBox : public QtControl {
 public:
  explicit TextBox(const ControlSite& site);
  std::string Text() const;
  void Text(std::string_view text);
  bool MultiLine() const { return multiLine_; }
  bool Locked() const { return locked_; }
  void Locked(bool on);
  int MaxLength() const { return maxLength_; }
  void MaxLength(int n);
  int SelStart() const;
  void SelStart(int pos);
  int SelLength() const;
  void SelLength(int n);
  std::string SelText() const;
  int Alignment() const { return alignment_; }
  void Alignment(int a);

  Event<> Change;

  void SetProperty(std::string_view name, const Value& v) override;
  // The box shows the number of `spin`: typing is refused, Up and Down step it.
  void ShowNumberOf(ScrollBar& spin);

 protected:
  bool OwnKey(int keyCode) override;

 private:
  void Build(bool multiLine);
  bool multiLine_ = false;
  bool locked_ = false;
  ScrollBar* spin_ = nullptr;
  int maxLength_ = 0;
  int alignment_ = 0;
  int scrollBars_ = 0;
  QLineEdit* line_ = nullptr;
  QPlainTextEdit* multi_ = nullptr;
};

}  // namespace forms
