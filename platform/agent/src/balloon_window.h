#pragma once

#include <QPainterPath>
#include <QRect>
#include <QString>
#include <QTextDocument>
#include <QWidget>

#include "task_list_hints.h"

namespace agent {

// The speech balloon: a shaped, frameless window beside the character that
// shows the text being spoken, the words already said in black and the rest
// in grey.
class BalloonWindow : public QWidget {
 public:
  BalloonWindow();

  void SetText(const QString& text);
  // The text up to `spokenEnd` (UTF-16 index) has been said.
  void SetSpoken(int spokenEnd);
  // Places the balloon above the character, or below it when there is no room.
  void Place(const QRect& character);
  // Puts the balloon on the screen, in front of other windows.
  void Reveal();
  // Takes the balloon off the screen until it is revealed again; hide() it
  // when it goes with its character. On X the window stays mapped and only
  // loses its shape: showing it again at the next speech is then one request,
  // where mapping it is a round of properties, answers and events with the
  // window manager.
  void Conceal();
  bool Shown() const { return isVisible() && !concealed_; }

  QString Text() const { return text_; }

  // The size of a balloon holding the longest page of wide words.
  static QSize LargestSize(const QFont& font);

 protected:
  void paintEvent(QPaintEvent*) override;
  void showEvent(QShowEvent*) override;
  void hideEvent(QHideEvent*) override;
  void resizeEvent(QResizeEvent*) override;

 private:
  QString PageText() const;
  // Where the page is drawn, in the window.
  QRect TextArea() const;
  void Relayout();
  const QPainterPath& Outline();
  QPainterPath MakeOutline() const;
  void Reshape();
  // Gives the display the balloon's shape, or none at all.
  bool SendShape(const QRegion& shape);
  // The page laid out with its said part, made anew only when the page, the
  // said part or the width changed: a repaint lays out no text.
  QTextDocument& Document(const QString& page, int said, int width);

  QString text_;
  int spokenEnd_ = 0;
  int pageStart_ = 0;  // long texts show one page at a time
  int pageEnd_ = 0;
  bool tailUp_ = false;
  int tailX_ = 0;
  QRect character_;
  struct OutlineKey {
    QSize size;
    bool tailUp = false;
    int tailX = -1;
    bool operator==(const OutlineKey&) const = default;
  };
  OutlineKey outlineKey_;
  QPainterPath outline_;
  QTextDocument document_;
  QString documentPage_;
  int documentSaid_ = -1;
  int documentWidth_ = -1;
  TaskListHints taskListHints_;
  bool concealed_ = false;
};

}  // namespace agent
