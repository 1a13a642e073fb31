#include "module1.h"

#include <optional>

#include "forms/app.h"
#include "options.h"

namespace dialogra {
namespace {

// The one place that speaks to the Run key: writes the value with `path`,
// or deletes it when there is none. The shell's Run-key calls are not in the
// platform yet, so for now nothing is written.
void PutRunValue(const std::optional<std::string>& /*path*/) {}

}  // namespace

std::string AutoStartPath(std::string_view folder, std::string_view exeName) {
  std::string path(folder);
  if (!path.ends_with('\\') && !path.ends_with('/')) path += '\\';
  return path + std::string(exeName) + ".exe";
}

void SetAutoStart() {
  const std::int16_t mark = module().mark;
  if (mark == 0)
    PutRunValue(std::nullopt);
  else if (mark == 1)
    PutRunValue(AutoStartPath(forms::App::Path(), forms::App::EXEName()));
}

}  // namespace dialogra
