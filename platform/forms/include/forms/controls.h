#pragma once

// The runtime's intrinsic controls.

#include "forms/check_box.h"
#include "forms/combo_box.h"
#include "forms/command_button.h"
#include "forms/file_list_box.h"
#include "forms/form_timer.h"
#include "forms/frame.h"
#include "forms/graphic_control.h"
#include "forms/image.h"
#include "forms/label.h"
#include "forms/list_box.h"
#include "forms/option_button.h"
#include "forms/picture_box.h"
#include "forms/picture_clip.h"
#include "forms/qt_control.h"
#include "forms/scroll_bar.h"
#include "forms/shape.h"
#include "forms/text_box.h"
