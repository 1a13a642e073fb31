#pragma once

// The forms runtime: forms, controls, user controls and the program-wide
// services the suite's programs are written against.

#include "forms/app.h"
#include "forms/canvas.h"
#include "forms/clipboard_reader.h"
#include "forms/clock.h"
#include "forms/control.h"
#include "forms/controls.h"
#include "forms/data_control.h"
#include "forms/errors.h"
#include "forms/events.h"
#include "forms/font.h"
#include "forms/form.h"
#include "forms/menu.h"
#include "forms/numeric.h"
#include "forms/picture.h"
#include "forms/property_bag.h"
#include "forms/scale.h"
#include "forms/user_control.h"
#include "forms/value.h"
