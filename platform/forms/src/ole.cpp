#include "forms/ole.h"

#include "win/gdi.h"

namespace forms {

HRESULT OleCreatePictureIndirect(const PICTDESC* desc, win::BOOL own, Picture* picture) {
  if (!picture) return E_POINTER;
  *picture = Picture();
  if (!desc) return S_OK;
  if (desc->cbSizeofstruct < 12 || desc->cbSizeofstruct > sizeof(PICTDESC)) return E_INVALIDARG;
  const bool owns = own != win::FALSE;
  switch (desc->picType) {
    case PICTYPE_UNINITIALIZED:
    case PICTYPE_NONE:
      return S_OK;
    case PICTYPE_BITMAP:
      *picture = Picture::FromHandle(Picture::Kind::Bitmap, desc->hbitmap.value, owns, desc->hpal);
      break;
    case PICTYPE_ICON:
      *picture = Picture::FromHandle(Picture::Kind::Icon, desc->hicon.value, owns);
      break;
    case PICTYPE_ENHMETAFILE:
      *picture = Picture::FromHandle(Picture::Kind::EnhMetafile, desc->hemf.value, owns);
      break;
    default:
      return E_INVALIDARG;
  }
  return *picture ? S_OK : E_INVALIDARG;
}

HRESULT OleTranslateColor(OLE_COLOR colour, win::HPALETTE palette, win::COLORREF* rgb) {
  win::COLORREF result = 0;
  switch (colour >> 24) {
    case 0x00:
      result = colour;
      break;
    case 0x02:
      result = colour & 0xFFFFFFu;
      break;
    case 0x01: {
      if ((colour & 0xFF0000u) || !palette) return E_INVALIDARG;
      win::PALETTEENTRY entry;
      if (win::GetPaletteEntries(palette, colour & 0xFFFFu, 1, &entry) != 1) return E_INVALIDARG;
      result = win::RGB(entry.peRed, entry.peGreen, entry.peBlue);
      break;
    }
    case 0x80: {
      const int index = static_cast<int>(colour & 0xFFFFFFu);
      // An index the system has no colour for has no brush either.
      if (index > 0xFF || !win::GetSysColorBrush(index)) return E_INVALIDARG;
      result = win::GetSysColor(index);
      break;
    }
    default:
      return E_INVALIDARG;
  }
  if (rgb) *rgb = result;
  return S_OK;
}

}  // namespace forms
