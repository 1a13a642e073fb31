#pragma once

// The live options the conversation trainer holds while it runs.

#include <cstdint>
#include <string>

#include "suite/trainer_settings.h"

namespace dialogra {

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
