#pragma once

// The live options the word trainer holds while it runs.

#include <cstdint>
#include <string>

namespace vocabra {

// Each named after its settings key; the settings form changes them whether
// or not it stores them.
struct Module {
  std::int16_t ctimeword = 7;
  std::int16_t ssaveword = 1;
  std::int16_t guageword = 1;
  std::int16_t markword = 0;
  std::int16_t voice = 1;
  std::int16_t twovoice = 1;
  std::int16_t ontopword = 1;
  float winleftword = 0;     // held, never applied
  std::string AgentName;     // "agent"
  std::string FirstRunMark;  // "xxx"
};

// The program's one set of live options.
Module& module();

// The seconds a word stays, as the settings form's scroll bar offers them.
inline constexpr std::int16_t kMinSeconds = 3;
inline constexpr std::int16_t kMaxSeconds = 15;

// Reads the word trainer's keys into the live options (step 3 of the word
// window's load). Values a hand-edited store holds outside what the settings
// form can give are brought back into range.
void ReadOptions(Module& m);

}  // namespace vocabra
