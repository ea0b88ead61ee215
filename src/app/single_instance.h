#pragma once

namespace melodane {

// Tells whether another copy of the program already runs for this user. The first
// process to ask holds the claim until it ends, however it ends.
class SingleInstance {
 public:
  virtual ~SingleInstance() = default;
  virtual bool AnotherInstanceRuns() = 0;
};

}  // namespace melodane
