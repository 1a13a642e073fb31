#pragma once

// The part of the per-user registry that the suite uses: the Run key of the
// current user, whose values are the programs started at logon. Each value
// is a freedesktop autostart entry $XDG_CONFIG_HOME/autostart/<value>.desktop
// (default ~/.config), which the desktop starts at logon.

#include <cstdint>

#include "win/types.h"

namespace shell {

struct RegistryKeyTag;
using HKEY = win::Handle<RegistryKeyTag>;

inline const HKEY HKEY_CURRENT_USER{0x80000001u};
inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

inline constexpr win::LONG ERROR_SUCCESS = 0;
inline constexpr win::LONG ERROR_FILE_NOT_FOUND = 2;
inline constexpr win::LONG ERROR_ACCESS_DENIED = 5;
inline constexpr win::LONG ERROR_INVALID_HANDLE = 6;
inline constexpr win::LONG ERROR_INVALID_PARAMETER = 87;
inline constexpr win::LONG ERROR_MORE_DATA = 234;

inline constexpr win::DWORD REG_SZ = 1;
inline constexpr win::DWORD REG_EXPAND_SZ = 2;

// Only the Run key (its name compared without regard to case) opens;
// any other key is not found (open) or refused (create).
win::LONG RegOpenKeyA(HKEY key, const char* subKey, HKEY* result);
win::LONG RegCreateKeyA(HKEY key, const char* subKey, HKEY* result);
win::LONG RegCloseKey(HKEY key);

// Writes the entry that starts the program whose path `data` holds (a
// string of `size` bytes, a trailing NUL optional). Paths may use "\", and
// a ".exe" ending names the program file without it. The entry's Exec line
// quotes the path, so that folders with blanks work; writing is atomic.
win::LONG RegSetValueExA(HKEY key, const char* valueName, win::DWORD reserved, win::DWORD type,
                         const void* data, win::DWORD size);
// Deletes that value's entry file and nothing else.
win::LONG RegDeleteValueA(HKEY key, const char* valueName);
// Reads back the program path of an entry (REG_SZ, with its NUL). With no
// buffer, or one too small, *size says how many bytes are needed.
win::LONG RegQueryValueExA(HKEY key, const char* valueName, win::DWORD* reserved, win::DWORD* type,
                           void* data, win::DWORD* size);

}  // namespace shell
