#pragma once

// The settings both trainers share in the settings store, the first-run
// block that writes their defaults, and the live options the conversation
// trainer holds while it runs.

#include <cstdint>
#include <string>
#include <string_view>

namespace dialogra {

inline constexpr std::string_view kApp = "Tesk";
inline constexpr std::string_view kSection = "Orvanta7";

// The store, always under the suite's application and section.
std::string ReadSetting(std::string_view key);
std::string ReadSetting(std::string_view key, std::string_view defaultValue);
void WriteSetting(std::string_view key, std::string_view value);

// Writes the defaults of both trainers, in their order, when the first-run
// mark "xxx" is empty. Returns whether it wrote them.
bool FirstRunBlock();

// The text of a single-precision number as the store keeps it.
std::string SingleText(float v);

// The first-run default of a key (the screen-derived ones for this screen).
std::string FirstRunDefault(std::string_view key);

// A whole-number key as a 16-bit integer. A key that is absent, not a number
// or out of range falls back to its first-run default.
std::int16_t ReadInteger(std::string_view key);
// A single-precision key ("left"), with the same fallback.
float ReadSingle(std::string_view key);

// The live options and shared counters of the conversation trainer, each
// named after its key; the settings form changes them whether or not it
// saves them.
struct Module {
  std::int16_t ce = 0;
  std::int16_t PlayTimes = 1;  // "n"
  std::int16_t ctime = 3;
  std::int16_t etime = 5;
  std::int16_t rd = 1;
  std::int16_t psave = 1;
  std::int16_t ssave = 1;
  std::int16_t visi = 0;
  std::int16_t SpeechOn = 1;     // "voice"
  std::int16_t LessonIndex = 1;  // "guage"
  std::int16_t guagen = 11000;
  std::int16_t red = 0;
  std::int16_t mark = 1;
  std::string AgentName;     // "agent"
  std::string FirstRunMark;  // "xxx"

  std::int16_t IntroCountdown = 0;
  std::int16_t CycleTicks = 0;
  std::int16_t RepeatCount = 0;
  std::int16_t CyclePhase = 0;
};

// The program's one set of live options.
Module& module();

// Reads every key the bar uses into the live options (step 3 of its load).
void ReadOptions(Module& m);

}  // namespace dialogra
