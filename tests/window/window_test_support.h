#pragma once
// Shared by the window tests: the card window wired as the program wires it, with chosen
// services replaced, and ways to act from inside a running card or event loop.

#include <QCoreApplication>
#include <QImage>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

#include "form/form1.h"
#include "platform/memory/memory_platform.h"
#include "window/qt_platform.h"
#include "window/qt_text_renderer.h"

namespace card::testing {

inline constexpr std::uint32_t kBlackPixel = 0xFF000000u;
inline constexpr std::uint32_t kWhitePixel = 0xFFFFFFFFu;
inline constexpr LocalTime kCardTime{2026, 12, 31, 23, 59, 58};
inline constexpr char kCardFile[] = "C:\\wimgx\\T20261231235958.bmp";
// Every wait in these tests ends by this deadline.
inline constexpr int kDeadlineMs = 20000;
// How long the screen may take to show what was drawn once events run.
inline constexpr int kScreenDeadlineMs = 5000;

// The desktop window and its window object, with the buttons and the frame's close control wired
// as in the program. Messages, files and clock are always replaced; the dialog is replaced only
// when one is given.
struct CardWindowUnderTest {
  explicit CardWindowUnderTest(NameDialog* dialog = nullptr)
      : desktop(QtPlatform::Replacements{dialog, &messages, &files, &clock}),
        form(desktop.platform(), generator) {
    desktop.Connect({[this] { form.Form_Load(); }, [this] { form.Command5_Click(); },
                     [this] { form.Command3_Click(); }, [this] { form.Command2_Click(); },
                     [this] { form.CloseRequested(); }});
    desktop.ConnectVideo(form, generator);
  }
  // Start-up as the program's main() runs it once its event loop is running.
  void Start() { desktop.Load(); }
  const PixelBuffer& picture() { return desktop.platform().picture1.pixels(); }

  RecordingMessages messages;
  MemoryFileStore files;
  FixedClock clock{kCardTime};
  QtPlatform desktop;
  Generator generator;
  Form1 form;
};

// The card that `name` gives, drawn with the real font on the in-memory platform.
inline PixelBuffer HeadlessCard(const std::string& name) {
  QtTextRenderer renderer;
  MemoryPlatform memory(&renderer);
  Generator generator;
  Form1 form(memory.platform(), generator);
  memory.dialog.Answer(name);
  form.Form_Load();
  return memory.picture1.pixels();
}

inline QImage ImageOf(const PixelBuffer& pixels) {
  return QImage(reinterpret_cast<const uchar*>(pixels.data()), pixels.width(), pixels.height(),
                pixels.stride() * 4, QImage::Format_RGB32)
      .copy();
}

// What the screen shows of a widget, as RGB32 pixels: what has been painted and flushed to the
// window, not a fresh rendering of the widget.
inline QImage Shown(QWidget* widget) {
  QWidget* window = widget->window();
  const QPoint corner = widget->mapTo(window, QPoint(0, 0));
  return window->screen()
      ->grabWindow(window->winId(), corner.x(), corner.y(), widget->width(), widget->height())
      .toImage()
      .convertToFormat(QImage::Format_RGB32);
}

inline bool RowsBlack(const PixelBuffer& pixels, int first_row, int end_row) {
  for (int y = first_row; y < end_row; ++y) {
    for (int x = 0; x < pixels.width(); ++x) {
      if (pixels.at(x, y) != kBlackPixel) return false;
    }
  }
  return true;
}

// The greeting's white glyphs near the lower left corner of the picture.
inline bool HasGreeting(const PixelBuffer& pixels) {
  int white = 0;
  for (int y = 490; y < 512; ++y) {
    for (int x = 10; x < 300; ++x) white += pixels.at(x, y) == kWhitePixel ? 1 : 0;
  }
  return white > 50;
}

// Runs `action` once from the scan's own event processing, just before the scan draws `row` of a
// card. Active from construction to destruction; `hits` counts how often it acted.
class AtScanRow {
 public:
  AtScanRow(const Form1& form, int row, std::function<void()> action, int times = 1)
      : form_(form), row_(row), times_(times), action_(std::move(action)) {
    // A zero-interval timer fires once in every round of event processing.
    QObject::connect(&timer_, &QTimer::timeout, [this] { Check(); });
    timer_.start(0);
  }
  int hits() const { return hits_; }

 private:
  void Check() {
    if (hits_ >= times_ || !form_.card_in_progress()) return;
    // The scan sets `j` to the row before it lets events run, once per row.
    if (form_.j.is_empty() || static_cast<int>(form_.j.number()) != row_) return;
    ++hits_;
    action_();
  }

  const Form1& form_;
  int row_;
  int times_;
  int hits_ = 0;
  std::function<void()> action_;
  QTimer timer_;
};

// Runs the application's event loop as the program's main() does, starting with `start`, until the
// program quits or the deadline passes. Returns the loop's exit status, or -1 at the deadline.
inline int RunEventLoop(const std::function<void()>& start, int deadline_ms = kDeadlineMs) {
  bool timed_out = false;
  QTimer deadline;
  deadline.setSingleShot(true);
  QObject::connect(&deadline, &QTimer::timeout, [&] {
    timed_out = true;
    QCoreApplication::exit(2);
  });
  deadline.start(deadline_ms);
  QTimer::singleShot(0, &deadline, start);
  const int status = QCoreApplication::exec();
  return timed_out ? -1 : status;
}

}  // namespace card::testing
