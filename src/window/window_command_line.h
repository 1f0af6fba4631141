#pragma once

#include <optional>

namespace card {

// Answers --help and --version on standard output before any window exists. Returns the exit
// status when the program is to end here, nothing when it is to open its window. Other arguments
// are left to Qt, which has options of its own (-platform, -display, -style, ...).
std::optional<int> AnswerCommandLine(int argc, char** argv);

// Whether a window can be expected to open: a display named in the environment (DISPLAY,
// WAYLAND_DISPLAY), a Qt platform chosen there (QT_QPA_PLATFORM) or on the command line.
bool DisplayNamed(int argc, char** argv);

// Says on standard error that no window can be opened, and what to do instead; with
// `display_named`, which of the display settings did not work.
void ReportNoDisplay(bool display_named);

// While it lives, Qt's fatal start-up error (no platform could be opened, for example a display
// that does not answer) ends the program with ReportNoDisplay and status 1 instead of an abort.
class NoDisplayGuard {
 public:
  NoDisplayGuard();
  ~NoDisplayGuard();
  NoDisplayGuard(const NoDisplayGuard&) = delete;
  NoDisplayGuard& operator=(const NoDisplayGuard&) = delete;
};

}  // namespace card
