#pragma once

// The runtime's intrinsic controls.

#include <string>
#include <string_view>
#include <vector>

#include "forms/canvas.h"
#include "forms/clock.h"
#include "forms/control.h"
#include "forms/surface_window.h"
#include "forms/tracked.h"
#include "forms/window_host.h"

class QPainter;
class QPointF;
class QString;
class QLineEdit;
class QPlainTextEdit;
class QListWidget;
class QComboBox;
class QScrollBar;
class QAbstractButton;
class QGroupBox;

namespace forms {

class LightWidget;
class ScrollBar;

// Controls drawn on their container without a window of their own share
// their mouse events.
class GraphicControl : public Control {
 public:
  explicit GraphicControl(const ControlSite& site);
  ~GraphicControl() override;
  QWidget* Widget() const override;

  Event<> Click;
  Event<> DblClick;
  MouseEvent MouseDown;
  MouseEvent MouseMove;
  MouseEvent MouseUp;

  // Input from the widget, in pixels of the control (used by LightWidget).
  virtual void PointerDown(int button, int shift, QPointF px);
  virtual void PointerMove(int buttons, int shift, QPointF px);
  virtual void PointerUp(int button, int shift, QPointF px);
  virtual void PointerClick() { Click(); }
  virtual void PointerDblClick() { DblClick(); }
  virtual void PaintOn(QPainter& /*p*/) {}

 protected:
  // Mouse event coordinates are in the container's scale units.
  float UnitsX(double px) const;
  float UnitsY(double px) const;
  Tracked<LightWidget> widget_;
};

class Label : public GraphicControl {
 public:
  explicit Label(const ControlSite& site);
  const std::string& Caption() const { return caption_; }
  void Caption(std::string_view text);
  int Alignment() const { return alignment_; }  // 0 left, 1 right, 2 centre
  void Alignment(int a);
  bool AutoSize() const { return autoSize_; }
  void AutoSize(bool on);
  bool WordWrap() const { return wordWrap_; }
  void WordWrap(bool on);
  int BackStyle() const { return backStyle_; }  // 0 transparent, 1 opaque
  void BackStyle(int s);
  win::COLORREF BackColor() const { return backColor_; }
  void BackColor(win::COLORREF c);
  win::COLORREF ForeColor() const { return foreColor_; }
  void ForeColor(win::COLORREF c);
  int BorderStyle() const { return borderStyle_; }
  void BorderStyle(int s);
  const forms::Font& Font() const { return font_; }
  void Font(const forms::Font& f);
  bool UseMnemonic() const { return useMnemonic_; }
  void UseMnemonic(bool on);
  // Binding to a data control of the form.
  const std::string& DataSource() const { return dataSource_; }
  const std::string& DataField() const { return dataField_; }
  void DataField(std::string_view field) { dataField_ = field; }

  Event<> Change;

  void SetProperty(std::string_view name, const Value& v) override;
  void PaintOn(QPainter& p) override;
  // The text as shown: access-key marks removed.
  std::string DisplayText() const;
  // Whether `text` would stand on one line of the label, unbroken.
  bool FitsOnOneLine(std::string_view text) const;

 protected:
  // A wrapping label that sizes itself takes the height its text needs at
  // the new width.
  void OnResized() override;

 private:
  void Fit();
  bool LineFits(const QString& text) const;
  std::string caption_;
  int alignment_ = 0;
  bool autoSize_ = false;
  bool wordWrap_ = false;
  int backStyle_ = 1;
  win::COLORREF backColor_ = 0x8000000F;
  win::COLORREF foreColor_ = 0x80000012;
  int borderStyle_ = 0;
  forms::Font font_;
  bool useMnemonic_ = true;
  std::string dataSource_;
  std::string dataField_;
};

class Image : public GraphicControl {
 public:
  explicit Image(const ControlSite& site);
  const forms::Picture& Picture() const { return picture_; }
  void Picture(const forms::Picture& p);
  bool Stretch() const { return stretch_; }
  void Stretch(bool on);
  int BorderStyle() const { return borderStyle_; }
  void BorderStyle(int s);

  void SetProperty(std::string_view name, const Value& v) override;
  void PaintOn(QPainter& p) override;

 private:
  void Fit();
  forms::Picture picture_;
  bool stretch_ = false;
  int borderStyle_ = 0;
};

class Shape : public GraphicControl {
 public:
  explicit Shape(const ControlSite& site);
  int ShapeKind() const { return shape_; }  // 0 rectangle, 1 square, 2 oval, 3 circle, 4/5 rounded
  void ShapeKind(int s);
  win::COLORREF BackColor() const { return backColor_; }
  void BackColor(win::COLORREF c);
  int BackStyle() const { return backStyle_; }
  void BackStyle(int s);
  win::COLORREF BorderColor() const { return borderColor_; }
  void BorderColor(win::COLORREF c);
  int BorderStyle() const { return borderStyle_; }
  void BorderStyle(int s);
  int BorderWidth() const { return borderWidth_; }
  void BorderWidth(int w);
  win::COLORREF FillColor() const { return fillColor_; }
  void FillColor(win::COLORREF c);
  int FillStyle() const { return fillStyle_; }
  void FillStyle(int s);

  void SetProperty(std::string_view name, const Value& v) override;
  void PaintOn(QPainter& p) override;

 private:
  int shape_ = 0;
  win::COLORREF backColor_ = 0x80000005;
  int backStyle_ = 0;
  win::COLORREF borderColor_ = 0x80000008;
  int borderStyle_ = 1;
  int borderWidth_ = 1;
  win::COLORREF fillColor_ = 0;
  int fillStyle_ = 1;
};

// The form timer: raises Timer every Interval milliseconds while enabled.
class FormTimer : public Control {
 public:
  explicit FormTimer(const ControlSite& site);
  ~FormTimer() override;
  QWidget* Widget() const override { return nullptr; }
  int Interval() const { return interval_; }
  void Interval(int ms);
  bool Enabled() const override { return Control::Enabled(); }
  void Enabled(bool on) override;

  Event<> Timer;

  void SetProperty(std::string_view name, const Value& v) override;

 private:
  void Restart();
  int interval_ = 0;
  std::unique_ptr<TimerSlot> slot_;
};

// A picture box: a window with a drawing surface that can hold controls.
class PictureBox : public Control, public SurfaceWindow {
 public:
  explicit PictureBox(const ControlSite& site);
  ~PictureBox() override;
  QWidget* Widget() const override;
  QWidget* ClientWidget() const override { return Widget(); }

  const forms::Picture& Picture() const { return CanvasPicture(); }
  void Picture(const forms::Picture& p);
  int Align() const { return align_; }  // 0 none, 1 top, 2 bottom, 3 left, 4 right
  void Align(int a);
  bool AutoSize() const { return autoSize_; }
  void AutoSize(bool on);
  int BorderStyle() const { return borderStyle_; }
  void BorderStyle(int s);
  void Visible(bool v) override;
  bool Visible() const override { return Control::Visible(); }
  void Enabled(bool v) override;
  bool Enabled() const override { return Control::Enabled(); }
  void Refresh();

  Event<> Click;
  Event<> DblClick;
  MouseEvent MouseDown;
  MouseEvent MouseMove;
  MouseEvent MouseUp;
  Event<> Paint;
  Event<> Resize;

  void SetProperty(std::string_view name, const Value& v) override;
  // Re-places an aligned box along its container's edge.
  void ApplyAlign();
  void ContainerResized() override { ApplyAlign(); }

 protected:
  void RaiseMouseDown(int& b, int& s, float& x, float& y) override { MouseDown(b, s, x, y); }
  void RaiseMouseMove(int& b, int& s, float& x, float& y) override { MouseMove(b, s, x, y); }
  void RaiseMouseUp(int& b, int& s, float& x, float& y) override { MouseUp(b, s, x, y); }
  void SurfaceResized() override { Resize(); }
  void OnClick() override { Click(); }
  void OnDblClick() override { DblClick(); }
  void RaisePaint() override { Paint(); }
  void OnResized() override;

 private:
  int align_ = 0;
  bool autoSize_ = false;
  int borderStyle_ = 1;
};

// Controls that are Qt widgets attached as windows.
class QtControl : public Control {
 public:
  explicit QtControl(const ControlSite& site);
  ~QtControl() override;
  QWidget* Widget() const override;
  win::HWND hWnd() const { return hwnd_; }
  void Visible(bool v) override;
  bool Visible() const override { return Control::Visible(); }
  void Enabled(bool v) override;
  bool Enabled() const override { return Control::Enabled(); }
  void SetFocus();
  const forms::Font& Font() const { return font_; }
  void Font(const forms::Font& f);
  win::COLORREF BackColor() const { return backColor_; }
  void BackColor(win::COLORREF c);
  win::COLORREF ForeColor() const { return foreColor_; }
  void ForeColor(win::COLORREF c);
  int TabIndex() const { return tabIndex_; }

  Event<> GotFocus;
  Event<> LostFocus;
  KeyEvent KeyDown;
  KeyPressEvent KeyPress;
  KeyEvent KeyUp;

  void SetProperty(std::string_view name, const Value& v) override;

 protected:
  // Takes the widget (owned by the container's widget from now on).
  void Attach(QWidget* widget, const char* className);
  void ApplyColours();
  // The widget has taken a new font.
  virtual void FontChanged() {}
  // A key the control acts on itself once KeyDown and KeyPress have seen
  // it; true takes it from the widget.
  virtual bool OwnKey(int /*keyCode*/) { return false; }

 private:
  // The container's widget owns it and may end it first.
  Tracked<QWidget> widget_;
  win::HWND hwnd_;
  forms::Font font_;
  win::COLORREF backColor_ = 0x80000005;
  win::COLORREF foreColor_ = 0x80000008;
  int tabIndex_ = 0;
  class Filter;
  Filter* filter_ = nullptr;
};

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

class CommandButton : public QtControl {
 public:
  explicit CommandButton(const ControlSite& site);
  std::string Caption() const { return caption_; }
  void Caption(std::string_view text);
  const forms::Picture& Picture() const { return picture_; }
  void Picture(const forms::Picture& p);
  int Style() const { return style_; }  // 0 standard, 1 graphical
  bool Default() const { return default_; }
  bool Cancel() const { return cancel_; }
  // Presses the button as a click would.
  void PerformClick();

  Event<> Click;

  void SetProperty(std::string_view name, const Value& v) override;

 private:
  void Refresh();
  std::string caption_;
  forms::Picture picture_;
  int style_ = 0;
  bool default_ = false;
  bool cancel_ = false;
  QAbstractButton* button_ = nullptr;
};

class CheckBox : public QtControl {
 public:
  explicit CheckBox(const ControlSite& site);
  std::string Caption() const { return caption_; }
  void Caption(std::string_view text);
  int Value() const;  // 0 unchecked, 1 checked, 2 grayed
  void Value(int v);  // raises Click when it changes

  Event<> Click;

  void SetProperty(std::string_view name, const forms::Value& v) override;

 private:
  std::string caption_;
  QAbstractButton* box_ = nullptr;
};

class OptionButton : public QtControl {
 public:
  explicit OptionButton(const ControlSite& site);
  std::string Caption() const { return caption_; }
  void Caption(std::string_view text);
  bool Value() const;
  void Value(bool on);  // raises Click when it becomes true

  Event<> Click;

  void SetProperty(std::string_view name, const forms::Value& v) override;

 private:
  std::string caption_;
  QAbstractButton* button_ = nullptr;
};

class Frame : public QtControl, public Container {
 public:
  explicit Frame(const ControlSite& site);
  std::string Caption() const { return caption_; }
  void Caption(std::string_view text);
  QWidget* ClientWidget() const override { return Widget(); }

  void SetProperty(std::string_view name, const forms::Value& v) override;

 protected:
  void OnResized() override { RelayoutChildren(); }

 private:
  std::string caption_;
  QGroupBox* box_ = nullptr;
};

class ChoiceList;

// List boxes and file lists share their list.
class ListControl : public QtControl {
 public:
  explicit ListControl(const ControlSite& site);
  ~ListControl() override;
  void AddItem(std::string_view item, int index = -1);
  void RemoveItem(int index);
  void Clear();
  std::string List(int index) const;
  void List(int index, std::string_view text);
  int ListCount() const;
  int ListIndex() const;
  // Selecting by program raises Click, as a click would.
  void ListIndex(int index);
  std::string Text() const;
  bool Sorted() const { return sorted_; }
  int TopIndex() const;
  void TopIndex(int index);
  std::int32_t ItemData(int index) const;
  void ItemData(int index, std::int32_t data);

  Event<> Click;
  Event<> DblClick;

  void SetProperty(std::string_view name, const forms::Value& v) override;

 protected:
  // The box shows whole rows only, unless its description says otherwise.
  void ApplyGeometry() override;
  void FontChanged() override;

  ChoiceList* list_ = nullptr;
  bool sorted_ = false;
  bool settingByCode_ = false;
  bool integralHeight_ = true;
};

class ListBox : public ListControl {
 public:
  explicit ListBox(const ControlSite& site) : ListControl(site) {}
};

class FileListBox : public ListControl {
 public:
  explicit FileListBox(const ControlSite& site);
  std::string Path() const { return path_; }
  void Path(std::string_view folder);
  std::string Pattern() const { return pattern_; }
  void Pattern(std::string_view pattern);
  // The selected file's name, "" when none is selected.
  std::string FileName() const;
  // Reads the folder again; the chosen file stays chosen while it is there.
  void Refresh();

  void SetProperty(std::string_view name, const forms::Value& v) override;

 private:
  void Fill(bool keepChoice);
  std::string path_;
  std::string pattern_ = "*.*";
};

class ComboBox : public QtControl {
 public:
  explicit ComboBox(const ControlSite& site);
  void AddItem(std::string_view item, int index = -1);
  void RemoveItem(int index);
  void Clear();
  std::string List(int index) const;
  int ListCount() const;
  int ListIndex() const;
  void ListIndex(int index);  // raises Click
  std::string Text() const;
  void Text(std::string_view text);
  int Style() const { return style_; }  // 0 drop-down combo, 1 simple, 2 drop-down list

  Event<> Click;
  Event<> Change;

  void SetProperty(std::string_view name, const forms::Value& v) override;

 private:
  QComboBox* combo_ = nullptr;
  int style_ = 0;
  bool settingByCode_ = false;
};

class ScrollBar : public QtControl {
 public:
  ScrollBar(const ControlSite& site, bool vertical);
  int Min() const;
  void Min(int v);
  int Max() const;
  void Max(int v);
  int Value() const;
  void Value(int v);  // raises Change when it changes
  int SmallChange() const;
  void SmallChange(int v);
  int LargeChange() const;
  void LargeChange(int v);

  // Moves the value by `steps` small changes within the range.
  void Step(int steps);

  Event<> Change;
  Event<> Scroll;

  void SetProperty(std::string_view name, const forms::Value& v) override;
  // A text box that the spin touches on its left shows the number: it takes
  // no typing, and its Up and Down keys step the spin.
  void AfterLoad() override;

 protected:
  void ApplyGeometry() override;

 private:
  // Puts `value` (clamped to the range) on the bar and raises Change when
  // the value the program reads has changed.
  void Place(int value);
  void Report();
  int Mirrored(int v) const;
  QScrollBar* bar_ = nullptr;
  bool vertical_ = false;
  // A vertical bar too short for a thumb is drawn as a spin button: its
  // upper arrow and the Up key raise the value, as a number's spin does.
  bool spin_ = false;
  int reported_ = 0;
};

class VScrollBar : public ScrollBar {
 public:
  explicit VScrollBar(const ControlSite& site) : ScrollBar(site, true) {}
};

class HScrollBar : public ScrollBar {
 public:
  explicit HScrollBar(const ControlSite& site) : ScrollBar(site, false) {}
};

// A picture cut into Rows x Cols equal cells; hands out one cell as a picture.
class PictureClip : public Control {
 public:
  explicit PictureClip(const ControlSite& site);
  QWidget* Widget() const override { return nullptr; }
  const forms::Picture& Picture() const { return picture_; }
  void Picture(const forms::Picture& p);
  int Rows() const { return rows_; }
  void Rows(int n);
  int Cols() const { return cols_; }
  void Cols(int n);
  int CellWidth() const;   // pixels
  int CellHeight() const;  // pixels
  // Cell `index`, counted along the rows; error 380 outside the cells.
  forms::Picture GraphicCell(int index) const;

  void SetProperty(std::string_view name, const forms::Value& v) override;

 private:
  void Cut();
  forms::Picture picture_;
  int rows_ = 1;
  int cols_ = 1;
  std::vector<forms::Picture> cells_;
};

}  // namespace forms
