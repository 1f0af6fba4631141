#pragma once

#include <string>

namespace card {

// One reading of the local clock.
struct LocalTime {
  int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() const = 0;
};

// The machine's local time.
class SystemClock final : public Clock {
 public:
  LocalTime Now() const override;
};

// A clock that always reads the same instant (tests, reproducible batches).
class FixedClock final : public Clock {
 public:
  explicit FixedClock(LocalTime t) : time_(t) {}
  LocalTime Now() const override { return time_; }
  void Set(LocalTime t) { time_ = t; }

 private:
  LocalTime time_;
};

std::string DateText(const LocalTime& t);  // "mm-dd-yyyy"
std::string TimeText(const LocalTime& t);  // "hh:mm:ss", 24-hour clock

}  // namespace card
