#pragma once

// The picture and colour services of the platform's object layer: making a
// picture object from a drawing handle, and turning the colours that
// controls store into plain RGB values.

#include <cstdint>

#include "forms/picture.h"
#include "win/gdi_types.h"

namespace forms {

using HRESULT = std::int32_t;
using OLE_COLOR = std::uint32_t;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);

inline constexpr short PICTYPE_UNINITIALIZED = -1;
inline constexpr short PICTYPE_NONE = 0;
inline constexpr short PICTYPE_BITMAP = 1;
inline constexpr short PICTYPE_METAFILE = 2;
inline constexpr short PICTYPE_ICON = 3;
inline constexpr short PICTYPE_ENHMETAFILE = 4;

// What a picture is made from. The platform's record is 16 bytes for a
// bitmap (12 for an icon or metafile); those sizes and this struct's own are
// accepted. Only the members of `picType` are read.
struct PICTDESC {
  win::UINT cbSizeofstruct = 16;
  short picType = PICTYPE_NONE;
  win::HBITMAP hbitmap;
  win::HPALETTE hpal;
  win::HICON hicon;
  win::HENHMETAFILE hemf;
};

// Makes `*picture` from `desc`. With `own` the picture takes over the handle
// itself (no copy) and frees it with its last copy; without, the caller
// keeps it and must keep it alive while the picture is used. No
// description, or type none, makes an empty picture. A bad size, an unknown
// type, old-style metafiles (which this layer does not keep) and invalid
// handles give E_INVALIDARG and an empty picture.
HRESULT OleCreatePictureIndirect(const PICTDESC* desc, win::BOOL own, Picture* picture);

// The RGB value of a stored colour:
// - 0x00BBGGRR passes through;
// - 0x80000000 + index is the system colour of that index (0 to 30);
// - 0x0100iiii is entry iiii of `palette` (a palette is needed);
// - 0x02BBGGRR (palette-relative) is its RGB part: the display is true colour.
// Anything else gives E_INVALIDARG and leaves `*rgb` alone. `rgb` may be
// null to check a colour only.
HRESULT OleTranslateColor(OLE_COLOR colour, win::HPALETTE palette, win::COLORREF* rgb);

}  // namespace forms
