#include "platform/clock.h"

#include <ctime>
#include <thread>

namespace vmk::platform {

text::DateTime SystemClock::Now() const {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

long long SystemClock::ElapsedSeconds() const {
  using namespace std::chrono;
  return duration_cast<seconds>(steady_clock::now().time_since_epoch()).count();
}

void SystemClock::Pause(std::chrono::milliseconds duration) const {
  std::this_thread::sleep_for(duration);
}

const Clock& DefaultClock() {
  static const SystemClock clock;
  return clock;
}

}  // namespace vmk::platform
