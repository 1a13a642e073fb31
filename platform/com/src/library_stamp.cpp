// Compiled into every control library: the identity of the platform build it
// was made for, in a section of its own, where a host reads it from the file
// before it dares to load the library.

#include "com/build_identity.h"

namespace {

[[gnu::used, gnu::section(TAVRINEL_BUILD_STAMP_SECTION)]] const char kBuildStamp[] =
    TAVRINEL_BUILD_IDENTITY;

}  // namespace
