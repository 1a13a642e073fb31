#include "shell/registry.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

#include "autostart_entry.h"
#include "base/ascii_case.h"
#include "base/atomic_file.h"
#include "shell/folders.h"

namespace shell {

namespace {

namespace fs = std::filesystem;

// The one key this layer keeps; its handle needs no table.
const HKEY kRunKeyHandle{0x52554E00u};

bool IsRunKey(HKEY key, const char* subKey) {
  if (key != HKEY_CURRENT_USER || !subKey) return false;
  return base::EqualsIgnoreAsciiCase(subKey, kRunKey);
}

// A value name becomes a file name: nothing that leaves the folder.
bool ValidName(const char* name) {
  if (!name || !*name) return false;
  const std::string_view n = name;
  if (n == "." || n == "..") return false;
  return std::none_of(n.begin(), n.end(),
                      [](char c) { return c == '/' || static_cast<unsigned char>(c) < 0x20; });
}

fs::path EntryFile(const char* name) {
  return autostart::Folder() / (std::string(name) + ".desktop");
}

// The program file the value's path names: "\" separators, no quotes, and
// no ".exe", as the suite's program files carry none.
std::string ProgramPath(std::string s) {
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = s.substr(1, s.size() - 2);
  if (s.size() > 4 && base::EndsWithIgnoreAsciiCase(s, ".exe")) s.resize(s.size() - 4);
  return NativePath(s).string();
}

bool WriteAtomically(const fs::path& file, const std::string& text) {
  std::error_code ec;
  fs::create_directories(file.parent_path(), ec);
  // Two programs may write the same entry at once, and nothing locks.
  const fs::path temp = file.string() + ".tmp-" + std::to_string(::getpid());
  return base::WriteFileAtomically(file, temp, text).empty();
}

}  // namespace

win::LONG RegOpenKeyA(HKEY key, const char* subKey, HKEY* result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = HKEY();
  if (!IsRunKey(key, subKey)) return ERROR_FILE_NOT_FOUND;
  *result = kRunKeyHandle;
  return ERROR_SUCCESS;
}

win::LONG RegCreateKeyA(HKEY key, const char* subKey, HKEY* result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = HKEY();
  if (!IsRunKey(key, subKey)) return ERROR_ACCESS_DENIED;
  *result = kRunKeyHandle;
  return ERROR_SUCCESS;
}

win::LONG RegCloseKey(HKEY key) {
  return key == kRunKeyHandle ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

win::LONG RegSetValueExA(HKEY key, const char* valueName, win::DWORD, win::DWORD type,
                         const void* data, win::DWORD size) {
  if (key != kRunKeyHandle) return ERROR_INVALID_HANDLE;
  if (!ValidName(valueName) || (type != REG_SZ && type != REG_EXPAND_SZ) || (!data && size))
    return ERROR_INVALID_PARAMETER;
  std::string value(static_cast<const char*>(data), size);
  value.resize(std::strlen(value.c_str()));
  const std::string path = ProgramPath(value);
  // A line break cannot stand in an Exec line's quoted argument.
  if (path.empty() || std::any_of(path.begin(), path.end(),
                                  [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
    return ERROR_INVALID_PARAMETER;
  return WriteAtomically(EntryFile(valueName), autostart::EntryText(valueName, path))
             ? ERROR_SUCCESS
             : ERROR_ACCESS_DENIED;
}

win::LONG RegDeleteValueA(HKEY key, const char* valueName) {
  if (key != kRunKeyHandle) return ERROR_INVALID_HANDLE;
  if (!ValidName(valueName)) return ERROR_FILE_NOT_FOUND;
  std::error_code ec;
  if (!fs::remove(EntryFile(valueName), ec)) return ec ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND;
  return ERROR_SUCCESS;
}

win::LONG RegQueryValueExA(HKEY key, const char* valueName, win::DWORD*, win::DWORD* type,
                           void* data, win::DWORD* size) {
  if (key != kRunKeyHandle) return ERROR_INVALID_HANDLE;
  if (!ValidName(valueName)) return ERROR_FILE_NOT_FOUND;
  std::ifstream in(EntryFile(valueName), std::ios::binary);
  if (!in) return ERROR_FILE_NOT_FOUND;
  std::ostringstream text;
  text << in.rdbuf();
  const auto program = autostart::ProgramOfEntry(text.str());
  if (!program) return ERROR_FILE_NOT_FOUND;
  if (type) *type = REG_SZ;
  const auto needed = static_cast<win::DWORD>(program->size() + 1);
  if (!size) return data ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
  const bool fits = data && *size >= needed;
  if (fits) std::memcpy(data, program->c_str(), needed);
  const bool asked = data != nullptr;
  *size = needed;
  return (!asked || fits) ? ERROR_SUCCESS : ERROR_MORE_DATA;
}

}  // namespace shell
