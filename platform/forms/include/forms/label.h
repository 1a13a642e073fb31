#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "forms/font.h"
#include "forms/graphic_control.h"
#include "win/types.h"

class QString;

namespace forms {

class Label : public GraphicControl {
 public:
  explicit Label(const ControlSite& site);
  ~Label() override;
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
  struct Layout;  // the caption laid out for painting, until something changes
  std::unique_ptr<Layout> layout_;
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

}  // namespace forms
