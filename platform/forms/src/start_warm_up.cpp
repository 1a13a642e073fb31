#include "start_warm_up.h"

#include <QDBusConnection>
#include <QGuiApplication>

#include "shell/shared_library.h"

namespace forms::detail {

namespace {

// The library Qt itself uses, already in the process; a failure here
// leaves the set-up to Qt, which reports it.
void ReadFontConfig() {
  shell::SharedLibrary fontconfig("libfontconfig.so.1");
  int (*init)() = nullptr;
  fontconfig.Bind(init, "FcInit");
  if (init) init();
}

}  // namespace

FontConfigWarmUp::FontConfigWarmUp() : thread_(ReadFontConfig) {}

SessionBusWarmUp::SessionBusWarmUp() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
  thread_ = std::jthread([] { QDBusConnection::sessionBus(); });
}

}  // namespace forms::detail
