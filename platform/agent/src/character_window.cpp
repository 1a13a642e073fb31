#include "character_window.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QShowEvent>

namespace agent {

namespace {

constexpr int kAppearStepMs = 30;
constexpr double kAppearStep = 0.125;  // eight steps in or out
constexpr int kBalloonLingerMs = 700;

}  // namespace

CharacterWindow::CharacterWindow(const LoadedCharacter& character, int startPlace)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      character_(character),
      balloon_(std::make_unique<BalloonWindow>()),
      image_(character.File().restImage),
      masks_(character.ImageCount()),
      startPlace_(std::max(0, startPlace)) {
  setAttribute(Qt::WA_TranslucentBackground);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setWindowTitle(QString::fromStdString(character.File().name));
  setFixedSize(character.File().width, character.File().height);
  setCursor(Qt::OpenHandCursor);
  figure_ = QRegion(QBitmap::fromImage(character.Image(static_cast<std::size_t>(image_))
                                           .createAlphaMask(Qt::ThresholdAlphaDither)))
                .boundingRect();
  if (figure_.isEmpty()) figure_ = rect();

  appearTimer_.setInterval(kAppearStepMs);
  connect(&appearTimer_, &QTimer::timeout, this, [this] { StepAppear(); });
  frameTimer_.setSingleShot(true);
  connect(&frameTimer_, &QTimer::timeout, this, [this] { NextFrame(); });
  talkTimer_.setSingleShot(true);
  connect(&talkTimer_, &QTimer::timeout, this, [this] { NextTalkFrame(); });
  balloonTimer_.setSingleShot(true);
  connect(&balloonTimer_, &QTimer::timeout, this, [this] { balloon_->Conceal(); });
}

CharacterWindow::~CharacterWindow() = default;

void CharacterWindow::AnimateIn() {
  if (shown_) return;
  shown_ = true;
  if (!placed_) PlaceDefault();
  appearStep_ = +1;
  UpdateShape();
  show();
  raise();
  taskListHints_.Confirm(*this);
  appearTimer_.start();
  if (speaking_) {
    balloon_->Place(FigureRect());
    balloon_->Reveal();
  }
}

void CharacterWindow::AnimateOut() {
  if (!shown_) return;
  shown_ = false;
  balloonTimer_.stop();
  balloon_->hide();
  appearStep_ = -1;
  appearTimer_.start();
}

void CharacterWindow::HideNow() {
  StopAll();
  balloon_->hide();
  appearTimer_.stop();
  shown_ = false;
  appear_ = 0;
  hide();
}

void CharacterWindow::StepAppear() {
  appear_ = std::clamp(appear_ + appearStep_ * kAppearStep, 0.0, 1.0);
  if (appear_ <= 0.0 || appear_ >= 1.0) appearTimer_.stop();
  if (appear_ <= 0.0) {
    hide();
    return;
  }
  UpdateShape();
  Present();
}

void CharacterWindow::PlaceDefault() {
  QScreen* screen = QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
  // A balloon is centred over its own character and at most the widest
  // balloon wide, and it stands above the character: spots one character
  // and one widest balloon apart never reach each other's character. Spots
  // that do not fit beside each other go on in a row above, one character
  // and one tallest balloon higher.
  const QSize balloon = BalloonWindow::LargestSize(balloon_->font());
  const int pitch = width() + balloon.width();
  const int firstX = area.right() - width() - 60;
  const int perRow = std::max(1, (firstX - area.left()) / pitch + 1);
  const int column = startPlace_ % perRow, row = startPlace_ / perRow;
  const int x = firstX - column * pitch;
  const int y = area.bottom() - height() - 80 - row * (height() + balloon.height());
  move(std::max(area.left(), x), std::max(area.top(), y));
  placed_ = true;
}

void CharacterWindow::MoveTo(int x, int y) {
  move(x, y);
  placed_ = true;
}

void CharacterWindow::PlayFrames(const std::vector<FrameRef>& frames, std::function<void()> done) {
  talkTimer_.stop();
  frames_ = frames;
  frame_ = 0;
  done_ = std::move(done);
  if (frames_.empty()) {
    frameTimer_.start(0);
    return;
  }
  SetImage(frames_.front().image);
  frameTimer_.start(frames_.front().durationMs);
}

void CharacterWindow::NextFrame() {
  if (++frame_ < frames_.size()) {
    SetImage(frames_[frame_].image);
    frameTimer_.start(frames_[frame_].durationMs);
    return;
  }
  SetImage(character_.File().restImage);
  auto done = std::move(done_);
  done_ = {};
  if (done) done();
}

void CharacterWindow::BeginSpeaking(const QString& text) {
  speaking_ = true;
  balloonTimer_.stop();
  balloon_->SetText(text);
  if (shown_) {
    balloon_->Place(FigureRect());
    balloon_->Reveal();
  }
  talkFrame_ = 0;
  if (!character_.File().talking.empty()) NextTalkFrame();
}

void CharacterWindow::NextTalkFrame() {
  if (!speaking_ || character_.File().talking.empty()) return;
  const auto& frames = character_.File().talking;
  const auto& f = frames[talkFrame_ % frames.size()];
  ++talkFrame_;
  SetImage(f.image);
  talkTimer_.start(f.durationMs);
}

void CharacterWindow::SpokenUpTo(int end) {
  balloon_->SetSpoken(end);
}

void CharacterWindow::EndSpeaking() {
  speaking_ = false;
  talkTimer_.stop();
  SetImage(character_.File().restImage);
  balloon_->SetSpoken(static_cast<int>(balloon_->Text().size()));
  if (balloon_->Shown()) balloonTimer_.start(kBalloonLingerMs);
}

void CharacterWindow::StopAll() {
  frameTimer_.stop();
  talkTimer_.stop();
  balloonTimer_.stop();
  done_ = {};
  speaking_ = false;
  balloon_->Conceal();
  SetImage(character_.File().restImage);
}

bool CharacterWindow::BalloonShown() const {
  return balloon_->Shown();
}

void CharacterWindow::SetImage(int image) {
  if (image == image_) return;
  image_ = image;
  UpdateShape();
  Present();
}

void CharacterWindow::Present() {
  if (!pictures_.Attached()) {
    update();
  } else if (appear_ >= 1.0) {
    const auto index = static_cast<std::size_t>(image_);
    pictures_.Show(index, character_.ImageCount(), character_.Image(index));
  } else {
    pictures_.ShowOnce(Composed());
  }
}

QImage CharacterWindow::Composed() const {
  const QImage& frame = character_.Image(static_cast<std::size_t>(image_));
  if (appear_ >= 1.0) return frame;
  QImage out(frame.size(), QImage::Format_ARGB32_Premultiplied);
  out.fill(Qt::transparent);
  if (appear_ > 0.0) {
    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.translate(frame.width() / 2.0, frame.height());
    p.scale(appear_, appear_);
    p.drawImage(QPointF(-frame.width() / 2.0, -frame.height()), frame);
  }
  return out;
}

void CharacterWindow::UpdateShape() {
  // Without a compositing manager only the mask makes the window's shape.
  const bool whole = appear_ >= 1.0;
  auto& cached = masks_[static_cast<std::size_t>(image_)];
  QRegion region;
  if (whole && cached) {
    region = *cached;
  } else {
    region = QRegion(QBitmap::fromImage(Composed().createAlphaMask(Qt::ThresholdAlphaDither)));
    if (whole) cached = region;
  }
  // An empty mask would show the whole window.
  if (region.isEmpty()) region = QRegion(width() / 2, height() - 1, 1, 1);
  setMask(region);
}

void CharacterWindow::showEvent(QShowEvent* e) {
  // Before the window is mapped: a window manager reads the hints then.
  if (e->spontaneous()) return;
  taskListHints_.Apply(*this);
  if (pictures_.Attach()) Present();
}

void CharacterWindow::paintEvent(QPaintEvent*) {
  // The display shows the pictures in a window of their own over this one.
  if (pictures_.Attached()) return;
  QPainter p(this);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.fillRect(rect(), Qt::transparent);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.drawImage(0, 0, Composed());
}

void CharacterWindow::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  dragOffset_ = e->globalPosition().toPoint() - pos();
  setCursor(Qt::ClosedHandCursor);
}

void CharacterWindow::mouseMoveEvent(QMouseEvent* e) {
  if (dragOffset_) move(e->globalPosition().toPoint() - *dragOffset_);
}

void CharacterWindow::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  dragOffset_.reset();
  setCursor(Qt::OpenHandCursor);
}

void CharacterWindow::moveEvent(QMoveEvent*) {
  if (balloon_->Shown()) balloon_->Place(FigureRect());
}

}  // namespace agent
