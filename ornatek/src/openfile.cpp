#include "openfile.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "forms/errors.h"
#include "forms/file_dialog.h"

namespace ornatek {

namespace {

// The dialog's buffer sizes: the chosen path and its bare file name each
// get 255 bytes, terminator included.
constexpr win::DWORD kFileBufferSize = 255;

std::string Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' '; };
  const auto first = std::find_if_not(text.begin(), text.end(), blank);
  const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
  return first < last ? std::string(first, last) : std::string();
}

}  // namespace

std::string ShowOpenDialog(win::HWND owner, std::string_view filter, std::string_view initialFile,
                           std::string_view defaultExtension, std::string_view title) {
  // The record wants "name\0pattern\0...\0\0": the string's own terminator
  // is the last NUL.
  std::string filterList(filter);
  std::replace(filterList.begin(), filterList.end(), '|', '\0');
  filterList.push_back('\0');

  std::string file(initialFile);
  file.append(kFileBufferSize - 1, '\0');
  std::string fileTitle(kFileBufferSize - 1, ' ');
  std::error_code ec;
  const std::string folder = std::filesystem::current_path(ec).string();
  const std::string titleText(title);
  const std::string extension(defaultExtension);

  forms::OPENFILENAMEA ofn;
  ofn.lStructSize = 76;
  ofn.hwndOwner = owner;
  // The library's windows and hooks belong to the host's one instance.
  ofn.hInstance = win::HINSTANCE();
  ofn.lpstrFilter = filterList.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = kFileBufferSize;
  ofn.lpstrFileTitle = fileTitle.data();
  ofn.nMaxFileTitle = kFileBufferSize;
  ofn.lpstrInitialDir = ec ? nullptr : folder.c_str();
  ofn.lpstrTitle = titleText.c_str();
  ofn.Flags = 0;
  ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();

  if (!forms::GetOpenFileNameA(&ofn)) throw forms::RuntimeError(kCancelPressed, kCancelPressedText);
  return Trim(std::string_view(file.c_str()));
}

}  // namespace ornatek
