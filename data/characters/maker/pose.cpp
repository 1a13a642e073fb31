#include "pose.h"

#include <stdexcept>
#include <string>

Pose PoseFrom(const QJsonObject& json, const Pose& base) {
  Pose p = base;
  struct Field {
    const char* name;
    double Pose::*member;
  };
  static constexpr Field kFields[] = {
      {"armLeft", &Pose::armLeft}, {"armRight", &Pose::armRight}, {"mouth", &Pose::mouth},
      {"smile", &Pose::smile},     {"eyes", &Pose::eyes},         {"lookX", &Pose::lookX},
      {"lookY", &Pose::lookY},     {"tilt", &Pose::tilt},         {"lean", &Pose::lean},
      {"bounce", &Pose::bounce},   {"book", &Pose::book},         {"sparkle", &Pose::sparkle},
      {"phase", &Pose::phase},     {"blush", &Pose::blush},
  };
  for (auto it = json.begin(); it != json.end(); ++it) {
    bool known = false;
    for (const auto& f : kFields)
      if (it.key() == QLatin1String(f.name)) {
        if (!it.value().isDouble())
          throw std::runtime_error("pose value " + it.key().toStdString() + " is not a number");
        p.*(f.member) = it.value().toDouble();
        known = true;
      }
    if (!known) throw std::runtime_error("unknown pose value " + it.key().toStdString());
  }
  return p;
}
