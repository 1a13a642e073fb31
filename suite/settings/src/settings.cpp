#include "suite/settings.h"

#include "forms/app.h"
#include "forms/settings.h"

namespace suite {

std::string ReadSetting(std::string_view key) {
  return forms::GetSetting(kSettingsApp, kSettingsSection, key);
}

std::string ReadSetting(std::string_view key, std::string_view defaultValue) {
  return forms::GetSetting(kSettingsApp, kSettingsSection, key, defaultValue);
}

void WriteSetting(std::string_view key, std::string_view value) {
  if (!forms::SaveSetting(kSettingsApp, kSettingsSection, key, value)) forms::ShowSettingsNotices();
}

}  // namespace suite
