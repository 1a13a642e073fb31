#pragma once

#include <QJsonObject>
#include <QString>

// Everything a frame may change about a character. Every painter reads the
// same pose; a frame names only what differs from the rest pose.
struct Pose {
  double armLeft = 20;  // degrees from hanging down, outwards; 180 is straight up
  double armRight = 20;
  double mouth = 0;    // 0 closed .. 1 wide open
  double smile = 0.4;  // -1 frown .. 1 broad smile
  double eyes = 1;     // 0 shut .. 1 open, above 1 wide
  double lookX = 0;    // pupils, -1 .. 1
  double lookY = 0;
  double tilt = 0;     // head, degrees
  double lean = 0;     // whole body, degrees, forward bow positive
  double bounce = 0;   // pixels up
  double book = 0;     // 1 holds an open book
  double sparkle = 0;  // number of sparkles around the raised hand
  double phase = 0;    // turns the sparkles, swishes a tail
  double blush = 0;    // 0 .. 1
};

// `base` with the members that `json` names replaced.
Pose PoseFrom(const QJsonObject& json, const Pose& base);
