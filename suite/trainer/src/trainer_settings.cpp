#include "suite/trainer_settings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/ascii_case.h"
#include "forms/app.h"
#include "forms/errors.h"
#include "forms/numeric.h"
#include "forms/settings.h"

namespace dialogra {

namespace {

struct Default {
  std::string_view key;
  std::string_view value;  // empty: computed from the screen
};

// The first-run block's keys in the order it writes them.
constexpr Default kDefaults[] = {
    {"ctimeword", "7"}, {"ssaveword", "1"},  {"guageword", "1"},  {"markword", "0"},
    {"xxx", "1"},       {"winleftword", ""}, {"ontopword", "1"},  {"ce", "0"},
    {"n", "1"},         {"ctime", "3"},      {"etime", "5"},      {"rd", "1"},
    {"psave", "1"},     {"ssave", "1"},      {"visi", "0"},       {"voice", "1"},
    {"twovoice", "1"},  {"guage", "1"},      {"guagen", "11000"}, {"agent", "Merlin"},
    {"red", "0"},       {"mark", "1"},       {"left", ""},
};

bool SameKey(std::string_view a, std::string_view b) {
  return base::EqualsIgnoreAsciiCase(a, b);
}

// Locale-free in both directions: the program runs under whatever locale
// the desktop has, and a comma there must not reach the store.
std::optional<double> ParseNumber(std::string text) {
  while (!text.empty() && text.front() == ' ') text.erase(text.begin());
  while (!text.empty() && text.back() == ' ') text.pop_back();
  if (text.empty()) return std::nullopt;
  // Earlier builds wrote a comma under a comma locale; the place the user
  // chose is still worth reading.
  if (text.find('.') == std::string::npos && std::count(text.begin(), text.end(), ',') == 1)
    text[text.find(',')] = '.';
  double v = 0;
  auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || p != text.data() + text.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

}  // namespace

std::string SingleText(float v) {
  // As the runtime prints a single: up to seven significant digits, no
  // trailing zeros, a point as the decimal separator.
  char buf[32];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 7);
  return ec == std::errc() ? std::string(buf, end) : std::string("0");
}

std::string FirstRunDefault(std::string_view key) {
  if (SameKey(key, "winleftword")) return SingleText(forms::Screen::Width() / 2 - 2000);
  if (SameKey(key, "left")) return SingleText(forms::Screen::Width() / 2 - 3000);
  for (const auto& d : kDefaults)
    if (SameKey(d.key, key)) return std::string(d.value);
  return {};
}

bool FirstRunBlock() {
  if (!ReadSetting("xxx").empty()) return false;
  // One write for the whole block: a program killed in the middle leaves
  // all of it or none, never a marked store with keys missing.
  std::vector<forms::SettingValue> block;
  for (const auto& d : kDefaults) block.push_back({std::string(d.key), FirstRunDefault(d.key)});
  if (!forms::SaveSettings(suite::kSettingsApp, suite::kSettingsSection, block))
    forms::ShowSettingsNotices();
  return true;
}

std::int16_t ReadInteger(std::string_view key) {
  if (auto v = ParseNumber(ReadSetting(key))) {
    try {
      return forms::CInt(*v);
    } catch (const forms::RuntimeError&) {
      // Out of an Integer's range: the first-run default stands in, as for
      // text that is no number.
    }
  }
  return static_cast<std::int16_t>(std::stoi(FirstRunDefault(key)));
}

float ReadSingle(std::string_view key) {
  if (auto v = ParseNumber(ReadSetting(key)); v && std::fabs(*v) < 3.4e38)
    return static_cast<float>(*v);
  return static_cast<float>(ParseNumber(FirstRunDefault(key)).value_or(0));
}

void EndIfAnotherCopyRuns() {
  if (!forms::App::PrevInstance()) return;
  const std::string title = forms::App::Title();
  forms::App::SetTitle("");
  try {
    forms::AppActivate(title);
  } catch (const forms::RuntimeError&) {
    // The other copy is gone or has no window: this one ends all the same.
  }
  forms::End();
}

}  // namespace dialogra
