#pragma once

#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "balloon_window.h"
#include "display_pictures.h"
#include "loaded_character.h"
#include "task_list_hints.h"

namespace agent {

// The character on the desktop: a frameless, topmost window shaped to the
// current picture, that the user can drag. It plays animations, rests in its
// rest pose, moves its mouth and shows a balloon while it speaks.
class CharacterWindow : public QWidget {
 public:
  CharacterWindow(const LoadedCharacter& character, int startPlace);
  ~CharacterWindow() override;

  // Grow in from the feet, or shrink away; at once if already there.
  void AnimateIn();
  void AnimateOut();
  // Gone at once, balloon and all.
  void HideNow();
  bool Shown() const { return shown_; }

  // Plays the frames once, then rests; `done` runs afterwards from the event
  // loop, never from inside this call.
  void PlayFrames(const std::vector<FrameRef>& frames, std::function<void()> done);
  void BeginSpeaking(const QString& text);
  void SpokenUpTo(int end);
  void EndSpeaking();
  // Back to the rest pose; a pending `done` is dropped.
  void StopAll();

  int CurrentImage() const { return image_; }
  bool BalloonShown() const;
  QString BalloonText() const { return balloon_->Text(); }
  QRect BalloonGeometry() const { return balloon_->geometry(); }
  // Screen pixels, top-left corner.
  void MoveTo(int x, int y);

 protected:
  void paintEvent(QPaintEvent*) override;
  void showEvent(QShowEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void moveEvent(QMoveEvent*) override;

 private:
  void SetImage(int image);
  void NextFrame();
  void NextTalkFrame();
  void StepAppear();
  void UpdateShape();
  // Puts the current picture on the screen.
  void Present();
  QImage Composed() const;
  void PlaceDefault();
  // Where the figure of the rest pose is on the screen: the balloon points
  // at it rather than at the empty corners of the window.
  QRect FigureRect() const { return figure_.translated(pos()); }

  const LoadedCharacter& character_;
  std::unique_ptr<BalloonWindow> balloon_;
  int image_ = 0;
  double appear_ = 0;   // 0 gone .. 1 full size
  int appearStep_ = 0;  // +1 growing, -1 shrinking
  std::vector<std::optional<QRegion>> masks_;
  QRect figure_;
  bool shown_ = false;
  int startPlace_ = 0;
  bool placed_ = false;
  QTimer appearTimer_;
  QTimer frameTimer_;
  QTimer talkTimer_;
  QTimer balloonTimer_;
  std::vector<FrameRef> frames_;
  std::size_t frame_ = 0;
  std::function<void()> done_;
  std::size_t talkFrame_ = 0;
  bool speaking_ = false;
  std::optional<QPoint> dragOffset_;
  TaskListHints taskListHints_;
  // Where the display can hold the pictures, it shows them itself.
  DisplayPictures pictures_{*this};
};

}  // namespace agent
