#pragma once

// The picture of the screen behind the screen device context. Pixels are
// fetched from the screen only where they are first read or drawn on, in
// square tiles, so that a DC taken to copy one small area does not cost a
// picture of the whole screen.

#include <QImage>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "gdi/surface.h"

namespace win::detail {

class ScreenPicture final : public PixelSource {
 public:
  // Gives the screen's pixels in `area` (picture coordinates), RGB32, of the
  // area's size.
  using Fetch = std::function<QImage(const QRect& area)>;
  static constexpr int kTile = 16;

  ScreenPicture(QSize size, Fetch fetch);
  ~ScreenPicture() override;
  ScreenPicture(const ScreenPicture&) = delete;
  ScreenPicture& operator=(const ScreenPicture&) = delete;

  const std::shared_ptr<PixelBuffer>& buffer() const { return buffer_; }
  QSize size() const { return pristine_.size(); }
  // Bounding rectangle of every pixel written so far; empty if none.
  QRect drawn() const;
  // The screen as it was fetched; meaningful where fetched() holds, which
  // includes every pixel drawn on.
  const QImage& pristine() const { return pristine_; }
  bool fetched(int x, int y) const;

  void reading(const QRect& area) override;
  void touching(int x, int y, bool write) override;

 private:
  std::uint8_t& tile(int col, int row) {
    return tiles_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
                  static_cast<std::size_t>(col)];
  }

  std::shared_ptr<PixelBuffer> buffer_;
  QImage pristine_;
  Fetch fetch_;
  int columns_ = 0, rows_ = 0;
  std::vector<std::uint8_t> tiles_;  // 1: fetched
  int left_ = 0, top_ = 0, right_ = -1, bottom_ = -1;  // drawn, inclusive
};

}  // namespace win::detail
