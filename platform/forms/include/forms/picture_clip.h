#pragma once

#include <vector>

#include "forms/control.h"
#include "forms/picture.h"

namespace forms {

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
