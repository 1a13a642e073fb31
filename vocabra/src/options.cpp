#include "options.h"

#include <algorithm>

#include "suite/trainer_settings.h"
#include "word_sources.h"

namespace vocabra {

using dialogra::ReadInteger;
using dialogra::ReadSetting;

Module& module() {
  static Module m;
  return m;
}

void ReadOptions(Module& m) {
  m.ctimeword = std::clamp(ReadInteger("ctimeword"), kMinSeconds, kMaxSeconds);
  m.ssaveword = ReadInteger("ssaveword");
  m.guageword = std::clamp(ReadInteger("guageword"), std::int16_t{kAllCategories},
                           std::int16_t{kNewWordsBook});
  m.markword = ReadInteger("markword");
  m.FirstRunMark = ReadSetting("xxx");
  m.AgentName = ReadSetting("agent");
  if (m.AgentName.empty()) m.AgentName = dialogra::FirstRunDefault("agent");
  m.voice = ReadInteger("voice");
  m.twovoice = ReadInteger("twovoice");
  m.winleftword = dialogra::ReadSingle("winleftword");
  m.ontopword = ReadInteger("ontopword");
}

}  // namespace vocabra
