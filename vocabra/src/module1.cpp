#include "module1.h"

#include <string>

#include "forms/app.h"
#include "options.h"
#include "shell/registry.h"

namespace vocabra {

std::string AutoStartPath(std::string_view folder, std::string_view program) {
  std::string path(folder);
  if (path.empty() || (path.back() != '\\' && path.back() != '/')) path += '\\';
  return path + std::string(program) + ".exe";
}

void SetAutoStart(std::string_view name, bool on) {
  // The registry's answers are not looked at: a start-at-logon entry that
  // cannot be written costs nothing but the start at logon.
  const std::string value(name);
  shell::HKEY key;
  if (!on) {
    shell::RegOpenKeyA(shell::HKEY_CURRENT_USER, shell::kRunKey, &key);
    shell::RegDeleteValueA(key, value.c_str());
    shell::RegCloseKey(key);
    return;
  }
  const std::string path = AutoStartPath(forms::App::Path(), forms::App::EXEName());
  shell::RegCreateKeyA(shell::HKEY_CURRENT_USER, shell::kRunKey, &key);
  shell::RegSetValueExA(key, value.c_str(), 0, shell::REG_SZ, path.c_str(),
                        static_cast<win::DWORD>(path.size() + 1));
  shell::RegCloseKey(key);
}

void SetAutoStart() {
  const auto mark = module().markword;
  if (mark == 0 || mark == 1) SetAutoStart(kAutoStartName, mark == 1);
}

}  // namespace vocabra
