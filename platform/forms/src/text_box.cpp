#include "forms/text_box.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QWidget>

#include "forms/scroll_bar.h"
#include "qt_text.h"

namespace forms {

TextBox::TextBox(const ControlSite& site) : QtControl(site) {
  BackColor(0x80000005);
  ForeColor(0x80000008);
  Build(false);
}

void TextBox::Build(bool multiLine) {
  const std::string text = (line_ || multi_) ? Text() : std::string();
  multiLine_ = multiLine;
  if (QWidget* old = Widget()) old->deleteLater();
  line_ = nullptr;
  multi_ = nullptr;
  if (multiLine) {
    auto w = std::make_unique<QPlainTextEdit>();
    multi_ = w.get();
    // Tab goes on to the next control, as in a one-line box.
    multi_->setTabChangesFocus(true);
    QObject::connect(multi_, &QPlainTextEdit::textChanged, [this] { Change(); });
    Attach(w.release(), "TavrinelEdit");
  } else {
    auto w = std::make_unique<QLineEdit>();
    line_ = w.get();
    QObject::connect(line_, &QLineEdit::textChanged, [this] { Change(); });
    Attach(w.release(), "TavrinelEdit");
  }
  if (!text.empty()) Text(text);
  Locked(locked_);
  MaxLength(maxLength_);
  Alignment(alignment_);
  ApplyColours();
}

std::string TextBox::Text() const {
  if (line_) return line_->text().toStdString();
  if (multi_) return multi_->toPlainText().toStdString();
  return {};
}

void TextBox::Text(std::string_view text) {
  if (Text() == text) return;
  if (line_) line_->setText(Q(text));
  if (multi_) multi_->setPlainText(Q(text));
}

void TextBox::Locked(bool on) {
  locked_ = on;
  // A box that shows a spin's number is never read: typing into it is refused.
  const bool readOnly = on || spin_;
  if (line_) line_->setReadOnly(readOnly);
  if (multi_) multi_->setReadOnly(readOnly);
}

void TextBox::ShowNumberOf(ScrollBar& spin) {
  spin_ = &spin;
  Locked(locked_);
}

bool TextBox::OwnKey(int keyCode) {
  if (!spin_ || (keyCode != 38 && keyCode != 40)) return false;
  spin_->Step(keyCode == 38 ? 1 : -1);
  return true;
}

void TextBox::MaxLength(int n) {
  maxLength_ = n;
  if (line_) line_->setMaxLength(n > 0 ? n : 32767);
}

int TextBox::SelStart() const {
  if (line_) return line_->hasSelectedText() ? line_->selectionStart() : line_->cursorPosition();
  if (multi_) return multi_->textCursor().selectionStart();
  return 0;
}

void TextBox::SelStart(int pos) {
  if (line_) line_->setCursorPosition(pos);
  if (multi_) {
    QTextCursor c = multi_->textCursor();
    c.setPosition(pos);
    multi_->setTextCursor(c);
  }
}

int TextBox::SelLength() const {
  if (line_) return static_cast<int>(line_->selectedText().size());
  if (multi_) return static_cast<int>(multi_->textCursor().selectedText().size());
  return 0;
}

void TextBox::SelLength(int n) {
  const int start = SelStart();
  if (line_) line_->setSelection(start, n);
  if (multi_) {
    QTextCursor c = multi_->textCursor();
    c.setPosition(start);
    c.setPosition(start + n, QTextCursor::KeepAnchor);
    multi_->setTextCursor(c);
  }
}

std::string TextBox::SelText() const {
  if (line_) return line_->selectedText().toStdString();
  if (multi_) return multi_->textCursor().selectedText().toStdString();
  return {};
}

void TextBox::Alignment(int a) {
  alignment_ = a;
  const Qt::Alignment al = a == 1 ? Qt::AlignRight : a == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
  if (line_) line_->setAlignment(al | Qt::AlignVCenter);
}

void TextBox::SetProperty(std::string_view name, const Value& v) {
  if (name == "Text")
    Text(v.ToString());
  else if (name == "MultiLine") {
    if (v.ToBool() != multiLine_) Build(v.ToBool());
  } else if (name == "Locked")
    Locked(v.ToBool());
  else if (name == "MaxLength")
    MaxLength(v.ToLong());
  else if (name == "Alignment")
    Alignment(v.ToLong());
  else if (name == "ScrollBars") {
    scrollBars_ = v.ToLong();
    if (multi_)
      multi_->setVerticalScrollBarPolicy(scrollBars_ >= 2 ? Qt::ScrollBarAlwaysOn
                                                          : Qt::ScrollBarAsNeeded);
  } else
    QtControl::SetProperty(name, v);
}

}  // namespace forms
