#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

namespace card {

// Prints "newyear-card-render: <message>" on standard error as one whole line, from any thread.
// A progress bar on screen is cleared first and drawn again after it, so neither breaks the other.
// When no one reads standard error any more (a closed pipe), the message is dropped and the
// program goes on: its exit status still tells what became of the cards.
void ConsoleMessage(const std::string& message);
// The text as it is on standard error, as ConsoleMessage writes it.
void ConsoleText(const std::string& text);

// "1 line", "2 lines": a count with its noun in the right number.
std::string CountOf(std::size_t count, const std::string& singular, const std::string& plural);

// A batch's progress on a terminal that can redraw a line: lines done, and the total and time left
// when the total is known. Nothing is shown when standard error is not such a terminal (a file, a
// pipe, TERM=dumb) or when it is not wanted (--quiet). One bar at a time.
class ProgressBar {
 public:
  ProgressBar(std::optional<std::size_t> total, bool wanted);
  ~ProgressBar();  // leaves the last state on its own line
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  void LineDone();

 private:
  std::optional<std::size_t> total_;
  bool shown_;
  std::size_t done_ = 0;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace card
