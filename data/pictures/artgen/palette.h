#pragma once

#include <QColor>

// The suite's colours: one flat blue family for the frames and buttons, the
// tricolore for the Italian accents, and a few neutrals for icons.
namespace artgen::palette {

// Window frame, active.
inline const QColor kActiveOutline{0x1a, 0x4c, 0x96};
inline const QColor kActiveHighlight{0x7c, 0xb2, 0xf4};
inline const QColor kActiveTop{0x4b, 0x93, 0xe8};
inline const QColor kActiveFrame{0x2a, 0x69, 0xc6};

// Window frame, inactive: the same shapes in a paler, greyer blue.
inline const QColor kInactiveOutline{0x7b, 0x8f, 0xab};
inline const QColor kInactiveHighlight{0xcf, 0xdb, 0xea};
inline const QColor kInactiveTop{0xaa, 0xbd, 0xd6};
inline const QColor kInactiveFrame{0x8c, 0xa2, 0xc1};

// Push buttons.
inline const QColor kButtonBorder{0x1f, 0x4e, 0x8c};
inline const QColor kButtonFace{0xf5, 0xf8, 0xfc};
inline const QColor kButtonShade{0xdf, 0xe7, 0xf1};
inline const QColor kButtonPressedFace{0xd8, 0xdf, 0xe8};
inline const QColor kButtonPressedShade{0xc4, 0xcd, 0xd9};
inline const QColor kButtonDisabledFace{0xf2, 0xf3, 0xf5};
inline const QColor kButtonDisabledBorder{0xb4, 0xba, 0xc3};
inline const QColor kHotOuter{0xf0, 0x9a, 0x1e};
inline const QColor kHotInner{0xff, 0xc9, 0x6e};
inline const QColor kFocusOuter{0x3d, 0x86, 0xe0};
inline const QColor kFocusInner{0x9c, 0xc5, 0xf4};

// Caption buttons.
inline const QColor kCloseBase{0xe0, 0x4f, 0x2f};
inline const QColor kCaptionButtonBase{0x3a, 0x7c, 0xd8};

// Tricolore.
inline const QColor kGreen{0x00, 0x92, 0x46};
inline const QColor kWhite{0xf4, 0xf5, 0xf0};
inline const QColor kRed{0xce, 0x2b, 0x37};

// Icons.
inline const QColor kInk{0x1f, 0x3a, 0x66};
inline const QColor kBlue{0x2a, 0x6f, 0xd0};
inline const QColor kLightBlue{0x8e, 0xc0, 0xf5};
inline const QColor kPaper{0xff, 0xff, 0xff};
inline const QColor kYellow{0xff, 0xd3, 0x4a};
inline const QColor kOrange{0xf0, 0x8a, 0x24};
inline const QColor kGrey{0x6f, 0x7c, 0x8e};
inline const QColor kLightGrey{0xc9, 0xd1, 0xdb};
inline const QColor kBrown{0x9a, 0x62, 0x35};
inline const QColor kPlayGreen{0x1f, 0x9a, 0x55};
inline const QColor kPauseRed{0xcf, 0x3a, 0x3f};

// The conversation bar that the trainer's small pictures sit on.
inline const QColor kBarBackground{0xee, 0xf3, 0xfa};
inline const QColor kBarText{0x15, 0x32, 0x5c};

}  // namespace artgen::palette
