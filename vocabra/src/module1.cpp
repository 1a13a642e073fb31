#include "module1.h"

#include "options.h"

namespace vocabra {

void SetAutoStart(std::string_view /*name*/, bool /*on*/) {
  // The start-at-logon entries come with the platform's shell services; until
  // then the choice is kept in "markword" alone.
}

void SetAutoStart() {
  const auto mark = module().markword;
  if (mark == 0 || mark == 1) SetAutoStart(kAutoStartName, mark == 1);
}

}  // namespace vocabra
