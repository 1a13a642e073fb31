#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>
#include <cmath>

#include "choice_list.h"
#include "forms/app.h"
#include "forms/controls.h"
#include "light_widget.h"
#include "list_tab_stops.h"
#include "shell/folders.h"
#include "win/gdi_types.h"
#include "win/qt_window.h"

namespace forms {

namespace {

QString Q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

// A check box whose caption wraps onto further lines when the box is too
// narrow for it on one, as the platform's check box does; a caption that
// fits is drawn as usual.
class WrappingCheckBox : public QCheckBox {
 protected:
  void paintEvent(QPaintEvent* e) override {
    QStyleOptionButton opt;
    initStyleOption(&opt);
    const QString caption = opt.text;
    opt.text.clear();
    const QRect textRect = style()->subElementRect(QStyle::SE_CheckBoxContents, &opt, this);
    QString plain = caption;
    plain.remove(QLatin1Char('&'));
    if (fontMetrics().horizontalAdvance(plain) <= textRect.width()) {
      QCheckBox::paintEvent(e);
      return;
    }
    QStylePainter p(this);
    p.drawControl(QStyle::CE_CheckBox, opt);
    p.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextShowMnemonic,
               caption);
  }
  // The whole box answers the pointer, the wrapped lines too.
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

int KeyShift(Qt::KeyboardModifiers m) {
  return ShiftOf(m);
}

int KeyCodeOf(const QKeyEvent* e) {
  const int k = e->key();
  if (k >= Qt::Key_A && k <= Qt::Key_Z) return 'A' + (k - Qt::Key_A);
  if (k >= Qt::Key_0 && k <= Qt::Key_9) return '0' + (k - Qt::Key_0);
  switch (k) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
      return 9;
    case Qt::Key_Space:
      return 32;
    case Qt::Key_Left:
      return 37;
    case Qt::Key_Up:
      return 38;
    case Qt::Key_Right:
      return 39;
    case Qt::Key_Down:
      return 40;
    case Qt::Key_Delete:
      return 46;
    default:
      return 0;
  }
}

}  // namespace

// Turns a Qt control's focus and key events into the control's events.
class QtControl::Filter : public QObject {
 public:
  explicit Filter(QtControl& c) : control_(c) {}
  bool eventFilter(QObject*, QEvent* e) override {
    switch (e->type()) {
      case QEvent::FocusIn:
        control_.GotFocus();
        return false;
      case QEvent::FocusOut:
        control_.LostFocus();
        return false;
      case QEvent::KeyPress: {
        auto* ke = static_cast<QKeyEvent*>(e);
        int code = KeyCodeOf(ke), shift = KeyShift(ke->modifiers());
        if (code) control_.KeyDown(code, shift);
        if (!ke->text().isEmpty()) {
          int ascii = static_cast<int>(ke->text().toUcs4().value(0));
          control_.KeyPress(ascii);
          // A handler that sets the key to 0 takes it away from the control.
          if (ascii == 0) return true;
        }
        return code && control_.OwnKey(code);
      }
      case QEvent::KeyRelease: {
        auto* ke = static_cast<QKeyEvent*>(e);
        int code = KeyCodeOf(ke), shift = KeyShift(ke->modifiers());
        if (code) control_.KeyUp(code, shift);
        return false;
      }
      default:
        return false;
    }
  }

 private:
  QtControl& control_;
};

QtControl::QtControl(const ControlSite& site) : Control(site) {}

QWidget* QtControl::Widget() const {
  return widget_;
}

QtControl::~QtControl() {
  if (widget_) {
    widget_->removeEventFilter(filter_);
    widget_->hide();
    widget_->deleteLater();
  }
}

void QtControl::Attach(QWidget* widget, const char* className) {
  // A widget replaced while it lives on for a moment (deleteLater) must not
  // report its focus and keys to this control, which may end before it.
  if (widget_ && filter_) widget_->removeEventFilter(filter_);
  widget_ = widget;
  widget_->setParent(GetContainer().ClientWidget());
  hwnd_ = win::AttachWidget(widget_, className, win::WidgetWindow(GetContainer().ClientWidget()));
  auto filter = std::make_unique<Filter>(*this);
  filter_ = filter.get();
  filter->setParent(widget_);
  filter.release();  // owned by the widget
  widget_->installEventFilter(filter_);
  widget_->show();
  ApplyGeometry();
  Font(font_);
}

void QtControl::Visible(bool v) {
  Control::Visible(v);
}
void QtControl::Enabled(bool v) {
  Control::Enabled(v);
}

void QtControl::SetFocus() {
  if (widget_) widget_->setFocus(Qt::OtherFocusReason);
}

void QtControl::Font(const forms::Font& f) {
  font_ = f;
  if (!widget_) return;
  widget_->setFont(f.ToQFont());
  FontChanged();
}

void QtControl::BackColor(win::COLORREF c) {
  backColor_ = c;
  ApplyColours();
}

void QtControl::ForeColor(win::COLORREF c) {
  foreColor_ = c;
  ApplyColours();
}

void QtControl::ApplyColours() {
  if (!widget_) return;
  QPalette p = widget_->palette();
  // The colours set on a control are its enabled look; disabled, it shows
  // the platform's grey text on the face colour, whatever was set.
  for (const auto group : {QPalette::Active, QPalette::Inactive}) {
    p.setColor(group, QPalette::Base, ToQColor(backColor_));
    p.setColor(group, QPalette::Text, ToQColor(foreColor_));
    p.setColor(group, QPalette::WindowText, ToQColor(foreColor_));
  }
  const QColor grey = ToQColor(0x80000000u | win::COLOR_GRAYTEXT);
  p.setColor(QPalette::Disabled, QPalette::Base, ToQColor(0x80000000u | win::COLOR_BTNFACE));
  p.setColor(QPalette::Disabled, QPalette::Text, grey);
  p.setColor(QPalette::Disabled, QPalette::WindowText, grey);
  widget_->setPalette(p);
}

void QtControl::SetProperty(std::string_view name, const Value& v) {
  if (name == "Font")
    Font(v.ToFont());
  else if (name == "BackColor")
    BackColor(static_cast<win::COLORREF>(v.ToDouble()));
  else if (name == "ForeColor")
    ForeColor(static_cast<win::COLORREF>(v.ToDouble()));
  else if (name == "TabIndex")
    tabIndex_ = v.ToLong();
  else if (name == "Appearance" || name == "BorderStyle") {
    // The look of the platform's 3-D borders: Qt's own look stands in.
  } else
    Control::SetProperty(name, v);
}

// --- TextBox ---------------------------------------------------------------------

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

// --- CommandButton -----------------------------------------------------------------

CommandButton::CommandButton(const ControlSite& site) : QtControl(site) {
  auto b = std::make_unique<QPushButton>();
  button_ = b.get();
  QObject::connect(button_, &QPushButton::clicked, [this] { Click(); });
  Attach(b.release(), "TavrinelButton");
}

void CommandButton::Caption(std::string_view text) {
  caption_ = text;
  Refresh();
}

void CommandButton::Picture(const forms::Picture& p) {
  picture_ = p;
  Refresh();
}

void CommandButton::Refresh() {
  button_->setText(Q(caption_));
  if (style_ == 1 && picture_) {
    button_->setIcon(QIcon(QPixmap::fromImage(picture_.Image())));
    button_->setIconSize(picture_.Image().size());
  } else {
    button_->setIcon(QIcon());
  }
}

void CommandButton::PerformClick() {
  button_->click();
}

void CommandButton::SetProperty(std::string_view name, const Value& v) {
  if (name == "Caption")
    Caption(v.ToString());
  else if (name == "Picture")
    Picture(v.ToPicture());
  else if (name == "Style") {
    style_ = v.ToLong();
    Refresh();
  } else if (name == "Default") {
    default_ = v.ToBool();
    static_cast<QPushButton*>(button_)->setDefault(default_);
  } else if (name == "Cancel")
    cancel_ = v.ToBool();
  else
    QtControl::SetProperty(name, v);
}

// --- CheckBox ----------------------------------------------------------------------

CheckBox::CheckBox(const ControlSite& site) : QtControl(site) {
  auto b = std::make_unique<WrappingCheckBox>();
  box_ = b.get();
  QObject::connect(box_, &QCheckBox::clicked, [this] { Click(); });
  Attach(b.release(), "TavrinelCheckBox");
}

void CheckBox::Caption(std::string_view text) {
  caption_ = text;
  box_->setText(Q(text));
}

int CheckBox::Value() const {
  auto* cb = static_cast<QCheckBox*>(box_);
  switch (cb->checkState()) {
    case Qt::Checked:
      return 1;
    case Qt::PartiallyChecked:
      return 2;
    default:
      return 0;
  }
}

void CheckBox::Value(int v) {
  if (v < 0 || v > 2) throw RuntimeError(err::InvalidPropertyValue, "Invalid property value");
  if (v == Value()) return;
  auto* cb = static_cast<QCheckBox*>(box_);
  cb->setTristate(v == 2);
  cb->setCheckState(v == 1 ? Qt::Checked : v == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
  // Changing the value from code clicks the box, as on the platform.
  Click();
}

void CheckBox::SetProperty(std::string_view name, const forms::Value& v) {
  if (name == "Caption")
    Caption(v.ToString());
  else if (name == "Value") {
    auto* cb = static_cast<QCheckBox*>(box_);
    const int n = v.ToLong();
    cb->setTristate(n == 2);
    cb->setCheckState(n == 1 ? Qt::Checked : n == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
  } else
    QtControl::SetProperty(name, v);
}

// --- OptionButton ------------------------------------------------------------------

OptionButton::OptionButton(const ControlSite& site) : QtControl(site) {
  auto b = std::make_unique<QRadioButton>();
  button_ = b.get();
  QObject::connect(button_, &QRadioButton::clicked, [this] { Click(); });
  Attach(b.release(), "TavrinelOption");
}

void OptionButton::Caption(std::string_view text) {
  caption_ = text;
  button_->setText(Q(text));
}

bool OptionButton::Value() const {
  return button_->isChecked();
}

void OptionButton::Value(bool on) {
  if (on == Value()) return;
  button_->setChecked(on);
  if (on) Click();
}

void OptionButton::SetProperty(std::string_view name, const forms::Value& v) {
  if (name == "Caption")
    Caption(v.ToString());
  else if (name == "Value")
    button_->setChecked(v.ToBool());
  else
    QtControl::SetProperty(name, v);
}

// --- Frame -------------------------------------------------------------------------

Frame::Frame(const ControlSite& site) : QtControl(site) {
  auto b = std::make_unique<QGroupBox>();
  box_ = b.get();
  Attach(b.release(), "TavrinelFrame");
}

void Frame::Caption(std::string_view text) {
  caption_ = text;
  box_->setTitle(Q(text));
}

void Frame::SetProperty(std::string_view name, const forms::Value& v) {
  if (name == "Caption")
    Caption(v.ToString());
  else
    QtControl::SetProperty(name, v);
}

// --- ListControl -------------------------------------------------------------------

ListControl::ListControl(const ControlSite& site) : QtControl(site) {
  auto l = std::make_unique<ChoiceList>(*this);
  list_ = l.get();
  list_->setUniformItemSizes(true);
  QObject::connect(list_, &QListWidget::itemDoubleClicked,
                   [this](QListWidgetItem*) { DblClick(); });
  UseTabStops(*list_);
  static constexpr const char* kListClass = "TavrinelList";
  win::WNDCLASSEXA wc;
  if (!win::GetClassInfoExA(win::HINSTANCE(), kListClass, &wc)) {
    wc.lpfnWndProc = ListBoxWindowProc;
    wc.lpszClassName = kListClass;
    win::RegisterClassExA(&wc);
  }
  Attach(l.release(), kListClass);
  BackColor(0x80000005);
}

ListControl::~ListControl() {
  list_->Detach();
}

void ListControl::ApplyGeometry() {
  QtControl::ApplyGeometry();
  if (!integralHeight_ || !list_) return;
  // Like the platform's list boxes, the box drops the part of a row it
  // cannot show whole; one row it always shows.
  const int frame = 2 * list_->frameWidth();
  const int row = list_->RowHeight();
  const int rows = std::max(1, (list_->height() - frame) / row);
  list_->resize(list_->width(), rows * row + frame);
}

void ListControl::FontChanged() {
  ApplyGeometry();
}

void ListControl::AddItem(std::string_view item, int index) {
  settingByCode_ = true;
  if (index < 0 || index > list_->count())
    list_->addItem(Q(item));
  else
    list_->insertItem(index, Q(item));
  if (sorted_) list_->sortItems(Qt::AscendingOrder);
  settingByCode_ = false;
}

void ListControl::RemoveItem(int index) {
  if (index < 0 || index >= list_->count())
    throw RuntimeError(err::InvalidCall, "Invalid procedure call or argument");
  settingByCode_ = true;
  std::unique_ptr<QListWidgetItem> gone(list_->takeItem(index));
  settingByCode_ = false;
}

void ListControl::Clear() {
  settingByCode_ = true;
  list_->clear();
  settingByCode_ = false;
}

std::string ListControl::List(int index) const {
  if (index < 0 || index >= list_->count()) return {};
  return list_->item(index)->text().toStdString();
}

void ListControl::List(int index, std::string_view text) {
  if (index >= 0 && index < list_->count()) list_->item(index)->setText(Q(text));
}

int ListControl::ListCount() const {
  return list_->count();
}

int ListControl::ListIndex() const {
  return list_->ChosenRow();
}

void ListControl::ListIndex(int index) {
  if (index < -1 || index >= list_->count())
    throw RuntimeError(err::InvalidPropertyValue, "Invalid property value");
  settingByCode_ = true;
  if (index < 0) {
    list_->setCurrentRow(-1);
    list_->clearSelection();
  } else {
    list_->setCurrentRow(index);
  }
  settingByCode_ = false;
  Click();
}

std::string ListControl::Text() const {
  return List(ListIndex());
}

int ListControl::TopIndex() const {
  return list_->indexAt(QPoint(1, 1)).row();
}

void ListControl::TopIndex(int index) {
  if (index >= 0 && index < list_->count())
    list_->scrollToItem(list_->item(index), QAbstractItemView::PositionAtTop);
}

std::int32_t ListControl::ItemData(int index) const {
  if (index < 0 || index >= list_->count()) return 0;
  return list_->item(index)->data(Qt::UserRole).toInt();
}

void ListControl::ItemData(int index, std::int32_t data) {
  if (index >= 0 && index < list_->count()) list_->item(index)->setData(Qt::UserRole, data);
}

void ListControl::SetProperty(std::string_view name, const forms::Value& v) {
  if (name == "Sorted") {
    sorted_ = v.ToBool();
    if (sorted_) list_->sortItems();
  } else if (name == "IntegralHeight") {
    integralHeight_ = v.ToBool();
    ApplyGeometry();
  } else
    QtControl::SetProperty(name, v);
}

// --- FileListBox -------------------------------------------------------------------

FileListBox::FileListBox(const ControlSite& site) : ListControl(site) {
  sorted_ = true;
  path_ = shell::ProgramFolder().string();
}

void FileListBox::Path(std::string_view folder) {
  const std::string path = shell::NativePath(folder).string();
  const bool same = path == path_;
  path_ = path;
  Fill(same);
}

void FileListBox::Pattern(std::string_view pattern) {
  pattern_ = pattern;
  Fill(false);
}

std::string FileListBox::FileName() const {
  return Text();
}

void FileListBox::Refresh() {
  Fill(true);
}

void FileListBox::Fill(bool keepChoice) {
  const QString chosen =
      keepChoice && ListIndex() >= 0 ? QString::fromStdString(Text()) : QString();
  const int top = TopIndex();
  Clear();
  QDir dir(QString::fromStdString(path_));
  const QStringList patterns = QString::fromStdString(pattern_).split(';', Qt::SkipEmptyParts);
  QStringList files =
      dir.entryList(patterns, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
  settingByCode_ = true;
  for (const QString& f : files) list_->addItem(f);
  // Reading the same folder again keeps the user's choice, so that a
  // handler that refreshes the list does not send the keyboard back to
  // the first file.
  if (const int row = chosen.isEmpty() ? -1 : static_cast<int>(files.indexOf(chosen)); row >= 0) {
    list_->setCurrentRow(row);
    if (top >= 0) TopIndex(top);
  }
  settingByCode_ = false;
}

void FileListBox::SetProperty(std::string_view name, const forms::Value& v) {
  if (name == "Path")
    Path(v.ToString());
  else if (name == "Pattern")
    Pattern(v.ToString());
  else
    ListControl::SetProperty(name, v);
}

// --- ComboBox ----------------------------------------------------------------------

ComboBox::ComboBox(const ControlSite& site) : QtControl(site) {
  auto c = std::make_unique<QComboBox>();
  combo_ = c.get();
  combo_->setEditable(true);
  combo_->setInsertPolicy(QComboBox::NoInsert);
  QObject::connect(combo_, &QComboBox::activated, [this](int) { Click(); });
  QObject::connect(combo_, &QComboBox::editTextChanged, [this](const QString&) {
    if (!settingByCode_) Change();
  });
  Attach(c.release(), "TavrinelCombo");
}

void ComboBox::AddItem(std::string_view item, int index) {
  settingByCode_ = true;
  const QString text = combo_->currentText();
  if (index < 0 || index > combo_->count())
    combo_->addItem(Q(item));
  else
    combo_->insertItem(index, Q(item));
  if (combo_->count() == 1) {
    // The first entry does not choose itself, in a drop-down list neither:
    // nothing is chosen until the user or the program chooses.
    combo_->setCurrentIndex(-1);
    if (combo_->isEditable()) combo_->setEditText(text);
  }
  settingByCode_ = false;
}

void ComboBox::RemoveItem(int index) {
  if (index < 0 || index >= combo_->count())
    throw RuntimeError(err::InvalidCall, "Invalid procedure call or argument");
  combo_->removeItem(index);
}

void ComboBox::Clear() {
  settingByCode_ = true;
  combo_->clear();
  settingByCode_ = false;
}

std::string ComboBox::List(int index) const {
  return index >= 0 && index < combo_->count() ? combo_->itemText(index).toStdString()
                                               : std::string();
}

int ComboBox::ListCount() const {
  return combo_->count();
}
int ComboBox::ListIndex() const {
  return combo_->currentIndex();
}

void ComboBox::ListIndex(int index) {
  if (index < -1 || index >= combo_->count())
    throw RuntimeError(err::InvalidPropertyValue, "Invalid property value");
  settingByCode_ = true;
  combo_->setCurrentIndex(index);
  settingByCode_ = false;
  Click();
}

std::string ComboBox::Text() const {
  return combo_->currentText().toStdString();
}

void ComboBox::Text(std::string_view text) {
  if (style_ == 2) {
    const int i = combo_->findText(Q(text));
    if (i < 0) throw RuntimeError(err::InvalidPropertyValue, "Text property is read-only");
    combo_->setCurrentIndex(i);
    return;
  }
  combo_->setEditText(Q(text));
}

void ComboBox::SetProperty(std::string_view name, const forms::Value& v) {
  if (name == "Style") {
    style_ = v.ToLong();
    combo_->setEditable(style_ != 2);
  } else if (name == "Text") {
    if (style_ != 2) Text(v.ToString());
  } else if (name == "Sorted") {
  } else
    QtControl::SetProperty(name, v);
}

// --- ScrollBar ---------------------------------------------------------------------

ScrollBar::ScrollBar(const ControlSite& site, bool vertical)
    : QtControl(site), vertical_(vertical) {
  auto b = std::make_unique<QScrollBar>(vertical ? Qt::Vertical : Qt::Horizontal);
  bar_ = b.get();
  bar_->setRange(0, 32767);
  bar_->setSingleStep(1);
  bar_->setPageStep(1);
  QObject::connect(bar_, &QScrollBar::valueChanged, [this](int) { Report(); });
  QObject::connect(bar_, &QScrollBar::sliderMoved, [this](int) { Scroll(); });
  Attach(b.release(), vertical ? "TavrinelVScroll" : "TavrinelHScroll");
}

// A spin keeps its value upside down on the Qt bar, whose upper arrow and
// Up key lower what it holds.
int ScrollBar::Mirrored(int v) const {
  return spin_ ? bar_->minimum() + bar_->maximum() - v : v;
}

void ScrollBar::Place(int value) {
  {
    const QSignalBlocker quiet(bar_);
    bar_->setValue(Mirrored(std::clamp(value, bar_->minimum(), bar_->maximum())));
  }
  Report();
}

void ScrollBar::Report() {
  const int v = Value();
  if (v == reported_) return;
  reported_ = v;
  Change();
}

void ScrollBar::ApplyGeometry() {
  QtControl::ApplyGeometry();
  if (!bar_) return;
  const bool spin = vertical_ && bar_->height() <= 2 * bar_->width();
  if (spin == spin_) return;
  const int keep = Value();
  spin_ = spin;
  Place(keep);
}

void ScrollBar::AfterLoad() {
  if (!spin_) return;
  for (Control* c : GetContainer().Children()) {
    auto* box = dynamic_cast<TextBox*>(c);
    if (!box) continue;
    const bool touches = std::abs(box->LeftTwips() + box->WidthTwips() - LeftTwips()) <= 15;
    const bool beside = box->TopTwips() < TopTwips() + HeightTwips() &&
                        TopTwips() < box->TopTwips() + box->HeightTwips();
    if (touches && beside) box->ShowNumberOf(*this);
  }
}

int ScrollBar::Min() const {
  return bar_->minimum();
}
void ScrollBar::Min(int v) {
  const int keep = Value();
  {
    const QSignalBlocker quiet(bar_);
    bar_->setMinimum(v);
  }
  Place(keep);
}
int ScrollBar::Max() const {
  return bar_->maximum();
}
void ScrollBar::Max(int v) {
  const int keep = Value();
  {
    const QSignalBlocker quiet(bar_);
    bar_->setMaximum(v);
  }
  Place(keep);
}
int ScrollBar::Value() const {
  return Mirrored(bar_->value());
}
void ScrollBar::Value(int v) {
  if (v < std::min(Min(), Max()) || v > std::max(Min(), Max()))
    throw RuntimeError(err::InvalidPropertyValue, "Invalid property value");
  Place(v);
}
void ScrollBar::Step(int steps) {
  Place(Value() + steps * SmallChange());
}
int ScrollBar::SmallChange() const {
  return bar_->singleStep();
}
void ScrollBar::SmallChange(int v) {
  bar_->setSingleStep(v);
}
int ScrollBar::LargeChange() const {
  return bar_->pageStep();
}
void ScrollBar::LargeChange(int v) {
  bar_->setPageStep(v);
}

void ScrollBar::SetProperty(std::string_view name, const forms::Value& v) {
  if (name == "Min")
    Min(v.ToLong());
  else if (name == "Max")
    Max(v.ToLong());
  else if (name == "Value")
    Place(v.ToLong());
  else if (name == "SmallChange")
    SmallChange(v.ToLong());
  else if (name == "LargeChange")
    LargeChange(v.ToLong());
  else
    QtControl::SetProperty(name, v);
}

// --- PictureClip -------------------------------------------------------------------

PictureClip::PictureClip(const ControlSite& site) : Control(site) {}

void PictureClip::Picture(const forms::Picture& p) {
  picture_ = p;
  Cut();
}

void PictureClip::Rows(int n) {
  if (n < 1) throw RuntimeError(err::InvalidPropertyValue, "Invalid property value");
  rows_ = n;
  Cut();
}

void PictureClip::Cols(int n) {
  if (n < 1) throw RuntimeError(err::InvalidPropertyValue, "Invalid property value");
  cols_ = n;
  Cut();
}

int PictureClip::CellWidth() const {
  return picture_ ? picture_.PixelWidth() / cols_ : 0;
}
int PictureClip::CellHeight() const {
  return picture_ ? picture_.PixelHeight() / rows_ : 0;
}

void PictureClip::Cut() {
  cells_.clear();
  if (!picture_) return;
  const int w = CellWidth(), h = CellHeight();
  for (int r = 0; r < rows_; ++r)
    for (int c = 0; c < cols_; ++c)
      cells_.push_back(
          forms::Picture::FromImage(picture_.Image().copy(c * w, r * h, w, h), picture_.Type()));
}

forms::Picture PictureClip::GraphicCell(int index) const {
  if (index < 0 || index >= static_cast<int>(cells_.size()))
    throw RuntimeError(err::InvalidPropertyValue,
                       "Invalid property value: no picture cell " + std::to_string(index));
  return cells_[static_cast<std::size_t>(index)];
}

void PictureClip::SetProperty(std::string_view name, const forms::Value& v) {
  if (name == "Picture")
    Picture(v.ToPicture());
  else if (name == "Rows")
    Rows(v.ToLong());
  else if (name == "Cols")
    Cols(v.ToLong());
  else if (name == "Left" || name == "Top") {
  } else
    Control::SetProperty(name, v);
}

}  // namespace forms
