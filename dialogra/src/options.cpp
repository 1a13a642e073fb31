#include "options.h"

namespace dialogra {

Module& module() {
  static Module m;
  return m;
}

void ReadOptions(Module& m) {
  m.ce = ReadInteger("ce");
  m.PlayTimes = ReadInteger("n");
  m.ctime = ReadInteger("ctime");
  m.etime = ReadInteger("etime");
  m.rd = ReadInteger("rd");
  m.psave = ReadInteger("psave");
  m.ssave = ReadInteger("ssave");
  m.visi = ReadInteger("visi");
  m.SpeechOn = ReadInteger("voice");
  m.LessonIndex = ReadInteger("guage");
  m.guagen = ReadInteger("guagen");
  m.red = ReadInteger("red");
  m.mark = ReadInteger("mark");
  m.AgentName = ReadSetting("agent");
  if (m.AgentName.empty()) m.AgentName = FirstRunDefault("agent");
  m.FirstRunMark = ReadSetting("xxx");
}

}  // namespace dialogra
