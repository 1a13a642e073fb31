#pragma once

#include <QImage>

// The 16 x 16 pictures on transparent ground: the conversation bar's buttons,
// the popup menu's icons and the word-book editor's navigation.
namespace artgen {

QImage barMenuButton();
QImage barPlay();
QImage barPause();

enum class MenuIcon {
  HowToUse,
  Settings,
  WordBook,
  Reader,
  Help,
  WebPage,
  Email,
  Exit,
  About,
  Pause,    // the word trainer's pause
  WordList  // the word trainer's existing words
};
QImage menuIcon(MenuIcon icon);

enum class EditorIcon { First, Previous, Next, Last, Add };
QImage editorIcon(EditorIcon icon);

}  // namespace artgen
