#pragma once

// Stand-ins for platform calls that the layer does not offer yet: the OLE
// colour and picture services, the system's font parameters and the shell's
// "open". Each keeps the platform's name and meaning, so that switching to the
// layer's own call is a matter of deleting the stand-in.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "win/win.h"

namespace ornatek::pending {

// ---- oleaut32 OleTranslateColor ------------------------------------------
using OLE_COLOR = std::uint32_t;
using HRESULT = std::int32_t;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);

// 0x00BBGGRR passes through; 0x80000000 + index reads the system colour;
// 0x02BBGGRR (palette-relative) gives its RGB part; anything else fails.
HRESULT OleTranslateColor(OLE_COLOR colour, win::HPALETTE palette, win::COLORREF* out);

// ---- olepro32 OleCreatePictureIndirect --------------------------------------
inline constexpr short PICTYPE_NONE = 0;
inline constexpr short PICTYPE_BITMAP = 1;
inline constexpr short PICTYPE_METAFILE = 2;
inline constexpr short PICTYPE_ICON = 3;
inline constexpr short PICTYPE_ENHMETAFILE = 4;

struct PICTDESC {
  win::UINT cbSizeofstruct = 16;
  short picType = PICTYPE_NONE;
  win::HBITMAP hbitmap;
  win::HPALETTE hpal;
  win::HICON hicon;
  win::HENHMETAFILE hemf;
};

// A picture object: its type, its handle and its size in HIMETRIC units.
// When it owns the handle it frees it when the last reference goes.
class StdPicture {
 public:
  StdPicture(const PICTDESC& desc, bool own);
  ~StdPicture();
  StdPicture(const StdPicture&) = delete;
  StdPicture& operator=(const StdPicture&) = delete;

  short Type() const { return desc_.picType; }
  std::uintptr_t Handle() const;
  win::HPALETTE hPal() const { return desc_.hpal; }
  long Width() const { return width_; }
  long Height() const { return height_; }

 private:
  PICTDESC desc_;
  bool own_;
  long width_ = 0;
  long height_ = 0;
};
using Picture = std::shared_ptr<StdPicture>;  // null: "Nothing"

Picture OleCreatePictureIndirect(const PICTDESC& desc, bool own);

// ---- the standard font object -----------------------------------------------
struct StdFont {
  std::string Name;
  double Size = 0;  // points, kept to four decimals as the platform's currency type
  bool Italic = false;
  bool Underline = false;
  bool Strikethrough = false;
  short Weight = 400;
  short Charset = 0;

  bool Bold() const { return Weight > 550; }
  void SetBold(bool bold) { Weight = bold ? 700 : 400; }
  void SetSize(double points);
};

// ---- user32 SystemParametersInfoA, the two font queries ---------------------
inline constexpr win::UINT SPI_GETICONTITLELOGFONT = 31;
inline constexpr win::UINT SPI_GETNONCLIENTMETRICS = 41;

struct NONCLIENTMETRICSA {
  win::UINT cbSize = sizeof(NONCLIENTMETRICSA);
  int iBorderWidth = 0;
  int iScrollWidth = 0;
  int iScrollHeight = 0;
  int iCaptionWidth = 0;
  int iCaptionHeight = 0;
  win::LOGFONTA lfCaptionFont;
  int iSmCaptionWidth = 0;
  int iSmCaptionHeight = 0;
  win::LOGFONTA lfSmCaptionFont;
  int iMenuWidth = 0;
  int iMenuHeight = 0;
  win::LOGFONTA lfMenuFont;
  win::LOGFONTA lfStatusFont;
  win::LOGFONTA lfMessageFont;
};
static_assert(sizeof(NONCLIENTMETRICSA) == 340);
static_assert(sizeof(win::LOGFONTA) == 60);

win::BOOL SystemParametersInfoA(win::UINT action, win::UINT param, void* data, win::UINT winIni);

// ---- user32 GetSystemMenu ------------------------------------------------------
// The layer has no window menus yet: no window has one.
win::HMENU GetSystemMenu(win::HWND hwnd, win::BOOL revert);

// ---- shell32 ShellExecuteA ----------------------------------------------------
// What the shell is asked to open; tests replace the launcher of their thread.
struct ShellRequest {
  win::HWND owner;
  std::string verb, file, parameters, directory;
  int show = 0;
};
using ShellLauncher = std::function<void(const ShellRequest&)>;
// Replaces the launcher of the calling thread; an empty one restores the
// default, which hands the file or address to the desktop's opener.
void SetShellLauncher(ShellLauncher launcher);
std::intptr_t ShellExecuteA(win::HWND owner, const char* verb, const char* file,
                            const char* parameters, const char* directory, int show);

}  // namespace ornatek::pending
