#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "win/types.h"

class QByteArray;
class QIODevice;
class QImage;

namespace forms {

// A picture object: a bitmap or an icon, shared by everything that shows it.
// An empty picture is "Nothing".
class Picture {
 public:
  // The picture types as picture objects number them; metafiles are the
  // drawing layer's enhanced metafiles.
  enum class Kind { None = 0, Bitmap = 1, Icon = 3, EnhMetafile = 4 };

  Picture() = default;
  static Picture FromImage(QImage image, Kind kind = Kind::Bitmap);
  // A picture read from a file or a form description: an icon for an icon
  // file, and for any picture with transparent pixels, whose mask keeps
  // them clear where it is drawn (a bitmap would show them black); a
  // bitmap otherwise.
  static Picture FromFileImage(QImage image, bool iconFile);
  // A picture over a handle made elsewhere (an HBITMAP, HICON or
  // HENHMETAFILE by `kind`). With `own` the picture frees the handle when its
  // last copy goes; without, the handle stays the caller's. Its pixels are
  // read when the picture is made. An invalid handle gives an empty picture.
  static Picture FromHandle(Kind kind, std::uintptr_t handle, bool own, win::HPALETTE palette = {});

  explicit operator bool() const { return static_cast<bool>(d_); }
  Kind Type() const;
  // Size in HIMETRIC (0.01 mm), as picture objects report it; a metafile's
  // is its frame.
  long Width() const;
  long Height() const;
  // The pixels the picture holds (none for a metafile).
  int PixelWidth() const;
  int PixelHeight() const;
  // The platform handle: an HBITMAP for a bitmap, an HICON for an icon. It
  // lives as long as the picture.
  std::uintptr_t Handle() const;
  win::HBITMAP Bitmap() const;
  win::HICON Icon() const;
  // The palette a bitmap picture was made with (0 when none).
  win::HPALETTE hPal() const;
  const QImage& Image() const;
  friend bool operator==(const Picture& a, const Picture& b) { return a.d_ == b.d_; }

 private:
  struct Data;
  std::shared_ptr<Data> d_;
};

// Loads a BMP, ICO, PNG (or any image Qt reads) file; "" gives an empty
// picture. A picture with transparent pixels loads as an icon. Paths may use "\" and name a
// resource with a leading ":/". A missing file raises error 53 naming the file; a file that is not
// a picture raises error 481 naming it.
Picture LoadPicture(std::string_view file = "");
// Reads a picture from `source`, PNG and BMP by their first bytes, any other
// format by asking the image plugins; a null image when it cannot be read.
// `format`, when given, receives the format it was read as.
QImage ReadPicture(QIODevice& source, QByteArray* format = nullptr);

}  // namespace forms
