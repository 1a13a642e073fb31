#pragma once

// What the window system tells about itself: its version and its parameters.

#include "win/gdi_types.h"

namespace win {

struct OSVERSIONINFOA {
  DWORD dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
  DWORD dwMajorVersion = 0;
  DWORD dwMinorVersion = 0;
  DWORD dwBuildNumber = 0;
  DWORD dwPlatformId = 0;
  CHAR szCSDVersion[128] = {};
};
inline constexpr DWORD VER_PLATFORM_WIN32_NT = 2;
// The version this layer reports: 5.1, at or above the 4.10 threshold from
// which callers use the long menu item record.
inline constexpr DWORD LAYER_VERSION_MAJOR = 5;
inline constexpr DWORD LAYER_VERSION_MINOR = 1;
BOOL GetVersionExA(OSVERSIONINFOA* info);

struct NONCLIENTMETRICSA {
  UINT cbSize = sizeof(NONCLIENTMETRICSA);
  int iBorderWidth = 0;
  int iScrollWidth = 0;
  int iScrollHeight = 0;
  int iCaptionWidth = 0;
  int iCaptionHeight = 0;
  LOGFONTA lfCaptionFont;
  int iSmCaptionWidth = 0;
  int iSmCaptionHeight = 0;
  LOGFONTA lfSmCaptionFont;
  int iMenuWidth = 0;
  int iMenuHeight = 0;
  LOGFONTA lfMenuFont;
  LOGFONTA lfStatusFont;
  LOGFONTA lfMessageFont;
};

inline constexpr UINT SPI_GETICONTITLELOGFONT = 0x001F;
inline constexpr UINT SPI_GETNONCLIENTMETRICS = 0x0029;
BOOL SystemParametersInfoA(UINT action, UINT param, void* data, UINT winIni);

// The font menus are drawn in.
LOGFONTA MenuLogFont();

}  // namespace win
