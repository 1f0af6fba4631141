#include "services/clock.h"

#include <ctime>
#include <stdexcept>

namespace card {
namespace {

// `value` in decimal, padded with leading zeros to at least `width` digits.
void AppendPadded(std::string& out, int value, std::size_t width) {
  const std::string digits = std::to_string(value);
  if (digits.size() < width) out.append(width - digits.size(), '0');
  out += digits;
}

}  // namespace

LocalTime SystemClock::Now() const {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  if (localtime_r(&now, &parts) == nullptr) {
    throw std::runtime_error("SystemClock::Now: localtime_r could not convert the current time");
  }
  return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                   parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

std::string DateText(const LocalTime& t) {
  std::string out;
  AppendPadded(out, t.month, 2);
  out += '-';
  AppendPadded(out, t.day, 2);
  out += '-';
  AppendPadded(out, t.year, 4);
  return out;
}

std::string TimeText(const LocalTime& t) {
  std::string out;
  AppendPadded(out, t.hour, 2);
  out += ':';
  AppendPadded(out, t.minute, 2);
  out += ':';
  AppendPadded(out, t.second, 2);
  return out;
}

}  // namespace card
