#include "start_warm_up.h"

#include <pthread.h>
#include <sched.h>

#include <QDBusConnection>
#include <QGuiApplication>

#include "shell/shared_library.h"

namespace forms::detail {

namespace {

// The library Qt itself uses, already in the process; a failure here
// leaves the set-up to Qt, which reports it. The reading runs only on a
// processor nothing else wants: on a busy machine it must not take time from
// the window it is meant to speed, and should the main thread need the fonts
// first, it reads them itself (the library lets the first finished set-up
// win) instead of waiting for this one.
void ReadFontConfig() {
  shell::SharedLibrary fontconfig("libfontconfig.so.1");
  int (*init)() = nullptr;
  fontconfig.Bind(init, "FcInit");
  if (!init) return;
  const sched_param idle{};
  pthread_setschedparam(pthread_self(), SCHED_IDLE, &idle);
  init();
}

}  // namespace

FontConfigWarmUp::FontConfigWarmUp() : thread_(ReadFontConfig) {}

SessionBusWarmUp::SessionBusWarmUp() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
  thread_ = std::jthread([] { QDBusConnection::sessionBus(); });
}

}  // namespace forms::detail
