#include "suite/autostart.h"

#include "shell/registry.h"

namespace dialogra {

std::string ProgramExePath(std::string_view folder, std::string_view exeName) {
  std::string path(folder);
  if (!path.ends_with('\\') && !path.ends_with('/')) path += '\\';
  return path + std::string(exeName) + ".exe";
}

void SetRunEntry(std::string_view name, std::int16_t mark, const std::string& path) {
  const std::string value(name);
  shell::HKEY key;
  if (mark == 0) {
    shell::RegOpenKeyA(shell::HKEY_CURRENT_USER, shell::kRunKey, &key);
    shell::RegDeleteValueA(key, value.c_str());
    shell::RegCloseKey(key);
  } else if (mark == 1) {
    shell::RegCreateKeyA(shell::HKEY_CURRENT_USER, shell::kRunKey, &key);
    shell::RegSetValueExA(key, value.c_str(), 0, shell::REG_SZ, path.c_str(),
                          static_cast<win::DWORD>(path.size() + 1));
    shell::RegCloseKey(key);
  }
}

}  // namespace dialogra
