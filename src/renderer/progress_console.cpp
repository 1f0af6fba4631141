#include "renderer/progress_console.h"

#include <pthread.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "about/version.h"

namespace card {
namespace {

// Back to the start of the line and clear it.
constexpr char kClearLine[] = "\r\033[K";

// One lock for everything that goes to standard error, so lines stay whole and in order.
std::mutex console_lock;
std::string bar_text;  // what the bar shows now; empty when no bar is on screen

// The SIGPIPE that a write to a closed pipe raises would end the program (a whole batch for one
// message): it is held back on this thread while writing, and one that the write raised is
// discarded.
void Put(const std::string& text) {
  sigset_t pipe_signal, previous;
  sigemptyset(&pipe_signal);
  sigaddset(&pipe_signal, SIGPIPE);
  ::pthread_sigmask(SIG_BLOCK, &pipe_signal, &previous);
  bool broken = false;
  for (std::size_t done = 0; done < text.size();) {
    const ssize_t written = ::write(STDERR_FILENO, text.data() + done, text.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      broken = written < 0 && errno == EPIPE;
      break;
    }
    done += static_cast<std::size_t>(written);
  }
  if (broken && sigismember(&previous, SIGPIPE) == 0) {
    const timespec at_once{};
    while (::sigtimedwait(&pipe_signal, nullptr, &at_once) == SIGPIPE) {
    }
  }
  ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

bool CapableTerminal() {
  const char* term = std::getenv("TERM");
  return ::isatty(STDERR_FILENO) == 1 && term != nullptr && *term != '\0' &&
         std::strcmp(term, "dumb") != 0;
}

}  // namespace

std::string CountOf(std::size_t count, const std::string& singular, const std::string& plural) {
  return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

void ConsoleMessage(const std::string& message) {
  const std::lock_guard hold(console_lock);
  std::string text = bar_text.empty() ? "" : kClearLine;
  text += std::string(kRendererProgram) + ": " + message + "\n" + bar_text;
  Put(text);
}

void ConsoleText(const std::string& text) {
  const std::lock_guard hold(console_lock);
  Put(text);
}

ProgressBar::ProgressBar(std::optional<std::size_t> total, bool wanted)
    : total_(total), shown_(wanted && CapableTerminal()) {}

ProgressBar::~ProgressBar() {
  const std::lock_guard hold(console_lock);
  if (!bar_text.empty()) Put("\n");
  bar_text.clear();
}

void ProgressBar::LineDone() {
  const std::lock_guard hold(console_lock);
  if (!shown_) return;
  const std::size_t done = ++done_;
  char text[160];
  if (!total_ || done > *total_) {
    std::snprintf(text, sizeof text, "%s done", CountOf(done, "line", "lines").c_str());
  } else {
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    const double left = elapsed / static_cast<double>(done) * static_cast<double>(*total_ - done);
    constexpr int kWidth = 30;
    const auto filled = static_cast<int>(kWidth * done / *total_);
    std::snprintf(text, sizeof text, "[%s%s] %zu/%s, %.0f s left",
                  std::string(static_cast<std::size_t>(filled), '#').c_str(),
                  std::string(static_cast<std::size_t>(kWidth - filled), '.').c_str(), done,
                  CountOf(*total_, "line", "lines").c_str(), left);
  }
  bar_text = text;
  Put(kClearLine + bar_text);
}

}  // namespace card
