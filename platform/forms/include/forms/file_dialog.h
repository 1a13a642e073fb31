#pragma once

// The common open-file dialog: the platform's record and call, shown as a
// Qt file dialog.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "win/types.h"

namespace forms {

using LPARAM = win::LPARAM;

// The platform's record is 76 bytes; that size and this struct's own are
// accepted in lStructSize.
struct OPENFILENAMEA {
  win::DWORD lStructSize = 76;
  win::HWND hwndOwner;
  win::HINSTANCE hInstance;
  const char* lpstrFilter = nullptr;  // "name\0pattern;pattern\0...\0\0"
  char* lpstrCustomFilter = nullptr;
  win::DWORD nMaxCustFilter = 0;
  win::DWORD nFilterIndex = 0;  // 1-based; the one chosen on return
  char* lpstrFile = nullptr;    // the initial name in, the chosen path out
  win::DWORD nMaxFile = 0;
  char* lpstrFileTitle = nullptr;  // the chosen file's name without its folder
  win::DWORD nMaxFileTitle = 0;
  const char* lpstrInitialDir = nullptr;
  const char* lpstrTitle = nullptr;
  win::DWORD Flags = 0;
  win::WORD nFileOffset = 0;
  win::WORD nFileExtension = 0;
  const char* lpstrDefExt = nullptr;
  LPARAM lCustData = 0;
  void* lpfnHook = nullptr;
  const char* lpTemplateName = nullptr;
};

inline constexpr win::DWORD OFN_READONLY = 0x00000001;
inline constexpr win::DWORD OFN_HIDEREADONLY = 0x00000004;
inline constexpr win::DWORD OFN_NOCHANGEDIR = 0x00000008;
inline constexpr win::DWORD OFN_PATHMUSTEXIST = 0x00000800;
inline constexpr win::DWORD OFN_FILEMUSTEXIST = 0x00001000;

inline constexpr win::DWORD CDERR_STRUCTSIZE = 0x0001;
inline constexpr win::DWORD CDERR_INITIALIZATION = 0x0002;
inline constexpr win::DWORD FNERR_BUFFERTOOSMALL = 0x3003;

// Shows the dialog modally over its owner. TRUE with the chosen path in
// lpstrFile; FALSE when cancelled (CommDlgExtendedError() is then 0) or on
// an error (CommDlgExtendedError() says which; a buffer too small for the
// path holds the size needed in its first two bytes).
win::BOOL GetOpenFileNameA(OPENFILENAMEA* ofn);
// The error of this thread's last dialog call, 0 after success or cancel.
win::DWORD CommDlgExtendedError();

namespace testing {

// What a file dialog asks, for a test that answers it.
struct FileDialogQuestion {
  std::string title;
  std::string folder;                // the initial folder
  std::string fileName;              // the initial name
  std::vector<std::string> filters;  // "name (pattern pattern)"
  bool fileMustExist = false;
};
// Answers the file dialogs of this thread instead of a person: the path, or
// nullopt for Cancel. An empty function shows real dialogs again.
void AnswerFileDialogs(std::function<std::optional<std::string>(const FileDialogQuestion&)> answer);

}  // namespace testing

}  // namespace forms
