#include "forms/picture_clip.h"

#include <QImage>

namespace forms {

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
