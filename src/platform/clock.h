// The clock the program reads: local wall-clock time, an elapsed-time counter and pauses. Tests pass
// a clock they set themselves.
#pragma once

#include <chrono>

#include "text/date_mask.h"

namespace vmk::platform {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual text::DateTime Now() const = 0;        // local wall-clock date and time
  virtual long long ElapsedSeconds() const = 0;  // monotonic, since an arbitrary start
  virtual void Pause(std::chrono::milliseconds duration) const = 0;
};

class SystemClock : public Clock {
 public:
  text::DateTime Now() const override;
  long long ElapsedSeconds() const override;
  void Pause(std::chrono::milliseconds duration) const override;
};

// The process's system clock.
const Clock& DefaultClock();

}  // namespace vmk::platform
