#pragma once

// A program started by the benchmark, with its own environment, ended (and
// reaped) when the object goes.

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

namespace startbench {

using Environment = std::map<std::string, std::string>;

// The benchmark's own environment, to start children from.
Environment CurrentEnvironment();

class ChildProcess {
 public:
  // Starts `program` with `args`; pid() is 0 when it could not start.
  ChildProcess(const std::string& program, const std::vector<std::string>& args,
               const Environment& env);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t pid() const { return pid_; }
  // True while the process has not ended.
  bool Running();
  // Asks it to end, and kills it when it has not ended within a second.
  void Stop();

 private:
  pid_t pid_ = 0;
};

}  // namespace startbench
