#pragma once

// Windows, classes, messages, hooks and input of the window system: one
// include for all of it.

#include "win/activation.h"
#include "win/classes.h"
#include "win/geometry.h"
#include "win/hooks_timers.h"
#include "win/keys.h"
#include "win/message_params.h"
#include "win/messages.h"
#include "win/metrics.h"
#include "win/painting.h"
#include "win/png_output.h"
#include "win/styles.h"
#include "win/window_longs.h"
#include "win/window_objects.h"
