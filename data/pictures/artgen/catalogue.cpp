#include "catalogue.h"

#include "icons.h"
#include "reader_picture.h"
#include "skin_buttons.h"
#include "skin_frame.h"
#include "trainer_panels.h"

namespace artgen {

std::vector<Picture> catalogue() {
  const QString skin = QStringLiteral("skin");
  const QString trainer = QStringLiteral("dialogra");
  const QString editor = QStringLiteral("editor");
  const QString words = QStringLiteral("vocabra");
  const QString reader = QStringLiteral("reader");
  using A = Activation;
  using G = CaptionGlyph;
  using M = MenuIcon;
  using E = EditorIcon;
  return {
      {skin, "top_active", [] { return captionBar(A::Active, Corners::Rounded); }},
      {skin, "top_inactive", [] { return captionBar(A::Inactive, Corners::Rounded); }},
      {skin, "topmax_active", [] { return captionBar(A::Active, Corners::Square); }},
      {skin, "topmax_inactive", [] { return captionBar(A::Inactive, Corners::Square); }},
      {skin, "left_active", [] { return leftEdge(A::Active); }},
      {skin, "left_inactive", [] { return leftEdge(A::Inactive); }},
      {skin, "right_active", [] { return rightEdge(A::Active); }},
      {skin, "right_inactive", [] { return rightEdge(A::Inactive); }},
      {skin, "bottom_active", [] { return bottomEdge(A::Active); }},
      {skin, "bottom_inactive", [] { return bottomEdge(A::Inactive); }},
      {skin, "icon", &windowIcon},
      {skin, "button", &pushButtonStrip},
      {skin, "caption_close", [] { return captionButtonStrip(G::Close); }},
      {skin, "caption_max", [] { return captionButtonStrip(G::Maximise); }},
      {skin, "caption_min", [] { return captionButtonStrip(G::Minimise); }},
      {skin, "caption_restore", [] { return captionButtonStrip(G::Restore); }},
      {trainer, "splash", &splashPanel},
      {trainer, "about", &aboutPanel},
      {trainer, "menu", &barMenuButton},
      {trainer, "play", &barPlay},
      {trainer, "pause", &barPause},
      {trainer, "mnu_hlp", [] { return menuIcon(M::HowToUse); }},
      {trainer, "mnu_sysset", [] { return menuIcon(M::Settings); }},
      {trainer, "managewords", [] { return menuIcon(M::WordBook); }},
      {trainer, "recite", [] { return menuIcon(M::Reader); }},
      {trainer, "mnuhelp", [] { return menuIcon(M::Help); }},
      {trainer, "mnu_page", [] { return menuIcon(M::WebPage); }},
      {trainer, "mnu_email", [] { return menuIcon(M::Email); }},
      {trainer, "mnu_exit", [] { return menuIcon(M::Exit); }},
      {trainer, "mnu_veri", [] { return menuIcon(M::About); }},
      {words, "mnustop", [] { return menuIcon(M::Pause); }},
      {words, "mnusetup", [] { return menuIcon(M::Settings); }},
      {words, "managewords", [] { return menuIcon(M::WordBook); }},
      {words, "amewords", [] { return menuIcon(M::WordList); }},
      {words, "mnuhelp", [] { return menuIcon(M::Help); }},
      {words, "mnuwebsite", [] { return menuIcon(M::WebPage); }},
      {words, "mnuemail", [] { return menuIcon(M::Email); }},
      {words, "aboutus", [] { return menuIcon(M::About); }},
      {words, "mnuquit", [] { return menuIcon(M::Exit); }},
      {editor, "first", [] { return editorIcon(E::First); }},
      {editor, "prev", [] { return editorIcon(E::Previous); }},
      {editor, "next", [] { return editorIcon(E::Next); }},
      {editor, "last", [] { return editorIcon(E::Last); }},
      {editor, "add", [] { return editorIcon(E::Add); }},
      {reader, "reading", &readerPicture},
  };
}

}  // namespace artgen
