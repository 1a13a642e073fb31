#pragma once

// The whole window system: types, windows and messages, drawing.

#include "win/gdi.h"
#include "win/menu.h"
#include "win/system.h"
#include "win/types.h"
#include "win/window.h"
