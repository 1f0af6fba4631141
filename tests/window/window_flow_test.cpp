// The card window's flow on the real Qt window: start-up, "repeat", "exit", the window frame's
// close control and "save", both while idle and when clicked between the rows of a card that is
// being drawn. The name dialog answers from a script; everything else is the desktop window.
#include <QApplication>
#include <QWindow>
#include <QtTest/QtTest>
#include <string>

#include "window/window_test_support.h"

namespace card::testing {
namespace {

constexpr int kPromptLeftTwips = 500;
constexpr int kPromptTopTwips = 8700;

std::string ShortDescription(const PixelBuffer& a, const PixelBuffer& b) {
  if (a.width() != b.width() || a.height() != b.height()) return "the sizes differ";
  int differing = 0;
  int first_x = -1;
  int first_y = -1;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (a.at(x, y) == b.at(x, y)) continue;
      if (differing++ == 0) {
        first_x = x;
        first_y = y;
      }
    }
  }
  return std::to_string(differing) + " pixels differ, the first at (" + std::to_string(first_x) +
         ", " + std::to_string(first_y) + ")";
}

// Compares two pictures; on a mismatch keeps both next to the test binary for a look.
bool SamePicture(const PixelBuffer& actual, const PixelBuffer& expected, const char* label) {
  if (actual == expected) return true;
  ImageOf(actual).save(QStringLiteral("%1_actual.png").arg(QLatin1String(label)));
  ImageOf(expected).save(QStringLiteral("%1_expected.png").arg(QLatin1String(label)));
  qWarning("%s: %s (kept as %s_actual.png and %s_expected.png)", label,
           ShortDescription(actual, expected).c_str(), label, label);
  return false;
}

// Evidence that a click came in the middle of a card: the top of the picture is drawn, the
// bottom (further down than a stroke from the current row reaches) is still black.
struct MidScan {
  bool top_drawn = false;
  bool bottom_black = false;
  void Look(const PixelBuffer& picture) {
    top_drawn = !RowsBlack(picture, 0, 50);
    bottom_black = RowsBlack(picture, 300, picture.height());
  }
};

// How the program is asked to end, and when.
constexpr int kExitButton = 0, kWindowFrame = 1, kWindowSystem = 2;
constexpr int kIdle = 0, kDrawing = 1, kAsking = 2;

}  // namespace

class WindowFlowTest : public QObject {
  Q_OBJECT

 private slots:
  void startUpAsksForTheNameAndShowsItsCard();
  void repeatRunsTheCardSequenceAgain();
  void repeatWhileDrawingAbandonsTheCard();
  void repeatedRepeatsWhileDrawingEachStartOneCard();
  void saveWhileDrawingWritesThePartialCardAndDrawingGoesOn();
  void exitEndsTheProgram_data();
  void exitEndsTheProgram();
  void failedSaveIsReportedAndTheCardStays();
};

void WindowFlowTest::startUpAsksForTheNameAndShowsItsCard() {
  ScriptedDialog dialog;
  dialog.Answer("anna");
  CardWindowUnderTest w(&dialog);
  w.Start();

  QVERIFY(w.desktop.window().isVisible());
  QVERIFY(w.desktop.window().isMaximized());
  QCOMPARE(dialog.calls().size(), std::size_t{1});
  QCOMPARE(dialog.calls()[0].prompt,
           std::string("enter your name and surname\rsmall letters (lowercase, no "
                       "\xC4\x8D\xC5\xA1\xC5\xBE)"));
  QCOMPARE(dialog.calls()[0].left_twips, kPromptLeftTwips);
  QCOMPARE(dialog.calls()[0].top_twips, kPromptTopTwips);

  QVERIFY(!RowsBlack(w.picture(), 0, w.picture().height()));
  QVERIFY(HasGreeting(w.picture()));
  // The window draws exactly what the headless renderer draws for the name...
  QVERIFY(SamePicture(w.picture(), HeadlessCard("anna"), "start_up"));
  // ...and, once the window is back in its event loop, the screen shows exactly those pixels.
  QTRY_COMPARE_WITH_TIMEOUT(Shown(w.desktop.window().picture1()), ImageOf(w.picture()),
                            kScreenDeadlineMs);
  QVERIFY(!w.form.card_in_progress());
  QVERIFY(!w.form.exit_requested());
}

void WindowFlowTest::repeatRunsTheCardSequenceAgain() {
  ScriptedDialog dialog;
  dialog.Answer("anna");
  dialog.Answer("bor");
  dialog.Answer("anna");
  CardWindowUnderTest w(&dialog);
  w.Start();
  const PixelBuffer first = w.picture();

  QTest::mouseClick(w.desktop.window().repeat_button(), Qt::LeftButton);
  QCOMPARE(dialog.calls().size(), std::size_t{2});
  QCOMPARE(w.form.t, std::string("bor"));
  QVERIFY(SamePicture(w.picture(), HeadlessCard("bor"), "repeat_other_name"));
  QVERIFY(!(w.picture() == first));

  QTest::mouseClick(w.desktop.window().repeat_button(), Qt::LeftButton);
  QCOMPARE(dialog.calls().size(), std::size_t{3});
  QVERIFY(SamePicture(w.picture(), first, "repeat_same_name"));
  QTRY_COMPARE_WITH_TIMEOUT(Shown(w.desktop.window().picture1()), ImageOf(first),
                            kScreenDeadlineMs);
}

void WindowFlowTest::repeatWhileDrawingAbandonsTheCard() {
  ScriptedDialog dialog;
  dialog.Answer("anna");
  dialog.Answer("bor");
  CardWindowUnderTest w(&dialog);
  MidScan seen;
  AtScanRow click(w.form, 100, [&] {
    seen.Look(w.picture());
    QTest::mouseClick(w.desktop.window().repeat_button(), Qt::LeftButton);
  });
  w.Start();

  QCOMPARE(click.hits(), 1);
  QVERIFY2(seen.top_drawn && seen.bottom_black, "the click did not come in the middle of a card");
  QCOMPARE(dialog.calls().size(), std::size_t{2});
  QVERIFY(!w.form.card_in_progress());
  // Nothing of the abandoned card is left: the picture is the second name's card as it always is.
  QVERIFY(SamePicture(w.picture(), HeadlessCard("bor"), "repeat_while_drawing"));
  QTRY_COMPARE_WITH_TIMEOUT(Shown(w.desktop.window().picture1()), ImageOf(w.picture()),
                            kScreenDeadlineMs);
}

void WindowFlowTest::repeatedRepeatsWhileDrawingEachStartOneCard() {
  ScriptedDialog dialog;
  for (const char* name : {"anna", "bor", "cene", "dan", "eva", "fran"}) dialog.Answer(name);
  CardWindowUnderTest w(&dialog);
  // Three clicks in one round of event processing of the first card, then one click in each of
  // the next four cards.
  AtScanRow click(
      w.form, 100,
      [&] {
        for (int k = 0; k < (dialog.calls().size() == 1 ? 3 : 1); ++k) {
          QTest::mouseClick(w.desktop.window().repeat_button(), Qt::LeftButton);
        }
      },
      5);
  w.Start();

  QCOMPARE(click.hits(), 5);
  QCOMPARE(dialog.calls().size(), std::size_t{6});
  QCOMPARE(w.form.t, std::string("fran"));
  QVERIFY(!w.form.card_in_progress());
  QVERIFY(SamePicture(w.picture(), HeadlessCard("fran"), "repeated_repeats"));
}

void WindowFlowTest::saveWhileDrawingWritesThePartialCardAndDrawingGoesOn() {
  ScriptedDialog dialog;
  dialog.Answer("anna");
  CardWindowUnderTest w(&dialog);
  MidScan seen;
  AtScanRow click(w.form, 100, [&] {
    seen.Look(w.picture());
    QTest::mouseClick(w.desktop.window().save_button(), Qt::LeftButton);
  });
  w.Start();

  QCOMPARE(click.hits(), 1);
  QVERIFY2(seen.top_drawn && seen.bottom_black, "the click did not come in the middle of a card");
  QCOMPARE(w.files.files.size(), std::size_t{1});
  const auto saved = w.files.files.find(kCardFile);
  QVERIFY(saved != w.files.files.end());
  QVERIFY(!RowsBlack(saved->second, 0, 50));
  QVERIFY(RowsBlack(saved->second, 300, saved->second.height()));
  QVERIFY(SamePicture(w.picture(), HeadlessCard("anna"), "save_while_drawing"));
  QVERIFY(w.messages.save_errors.empty());
}

void WindowFlowTest::exitEndsTheProgram_data() {
  QTest::addColumn<int>("how");
  QTest::addColumn<int>("when");
  QTest::newRow("exit button, idle") << kExitButton << kIdle;
  QTest::newRow("exit button, while drawing") << kExitButton << kDrawing;
  QTest::newRow("window frame, idle") << kWindowFrame << kIdle;
  QTest::newRow("window frame, while drawing") << kWindowFrame << kDrawing;
  QTest::newRow("window frame, while the name dialog is open") << kWindowFrame << kAsking;
  QTest::newRow("window system, while the name dialog is open") << kWindowSystem << kAsking;
}

void WindowFlowTest::exitEndsTheProgram() {
  QFETCH(int, how);
  QFETCH(int, when);
  ScriptedDialog dialog;
  dialog.Answer("anna");
  // While asking, the real dialog is open: its modality must not keep the close request out.
  CardWindowUnderTest w(when == kAsking ? nullptr : &dialog);
  const auto leave = [&] {
    switch (how) {
      case kExitButton:
        QTest::mouseClick(w.desktop.window().exit_button(), Qt::LeftButton);
        break;
      case kWindowFrame:
        w.desktop.window().close();
        break;
      case kWindowSystem:
        // As the window manager asks: through the platform window, which Qt keeps from a window
        // that a modal dialog blocks.
        w.desktop.window().windowHandle()->close();
        break;
    }
  };
  MidScan seen;
  AtScanRow click(w.form, when == kDrawing ? 100 : -1, [&] {
    seen.Look(w.picture());
    leave();
  });
  QTimer asking;
  int dialogs_seen = 0;
  QObject::connect(&asking, &QTimer::timeout, [&] {
    if (QApplication::activeModalWidget() == nullptr || dialogs_seen++ > 0) return;
    leave();
  });

  QElapsedTimer clock;
  clock.start();
  const int status = RunEventLoop([&] {
    if (when == kAsking) asking.start(10);
    w.Start();
    if (when == kIdle) QTimer::singleShot(0, &w.desktop.window(), leave);
  });

  QVERIFY2(status != -1, "the program did not end");
  QCOMPARE(status, 0);
  QVERIFY(w.form.exit_requested());
  QVERIFY(w.messages.runtime_errors.empty());
  if (when == kAsking) {
    QCOMPARE(dialogs_seen, 1);
    QVERIFY2(QApplication::activeModalWidget() == nullptr, "the dialog stayed open");
    // No card was drawn for the name that was never given.
    QVERIFY(RowsBlack(w.picture(), 0, w.picture().height()));
  } else {
    QCOMPARE(dialog.calls().size(), std::size_t{1});
  }
  if (when == kDrawing) {
    QCOMPARE(click.hits(), 1);
    QVERIFY2(seen.top_drawn && seen.bottom_black, "the click did not come in the middle of a card");
    // The card was left where it stood: no further rows, no greeting.
    QVERIFY(RowsBlack(w.picture(), 300, w.picture().height()));
    QVERIFY(!HasGreeting(w.picture()));
  } else if (when == kIdle) {
    QVERIFY(HasGreeting(w.picture()));
  }
  QVERIFY(!w.form.card_in_progress());
  // Ending takes no noticeable time, whatever was going on.
  QVERIFY2(clock.elapsed() < kDeadlineMs / 2, "ending took too long");
}

void WindowFlowTest::failedSaveIsReportedAndTheCardStays() {
  ScriptedDialog dialog;
  dialog.Answer("anna");
  CardWindowUnderTest w(&dialog);
  w.Start();
  const PixelBuffer card = w.picture();

  w.files.fail_reason = "the disk is full";
  QTest::mouseClick(w.desktop.window().save_button(), Qt::LeftButton);
  // The progress mark is on the screen at once, without waiting for events, and has run to the
  // end, under the right end of the picture.
  const QImage window = Shown(&w.desktop.window());
  QCOMPARE(window.pixel(730, 563), 0xFFFFFFFFu);
  QCOMPARE(window.pixel(731, 563), 0xFFFFFFFFu);
  QCOMPARE(window.pixel(729, 563), 0xFF000000u);

  QCOMPARE(w.messages.save_errors,
           std::vector<std::string>{std::string(kCardFile) + ": the disk is full"});
  QVERIFY(w.messages.runtime_errors.empty());
  QVERIFY(w.files.files.empty());
  QVERIFY(!w.form.exit_requested());
  QVERIFY(w.desktop.window().isVisible());
  QVERIFY(SamePicture(w.picture(), card, "failed_save"));
  QTRY_COMPARE_WITH_TIMEOUT(Shown(w.desktop.window().picture1()), ImageOf(card), kScreenDeadlineMs);

  // Once the cause is gone, the same card saves.
  w.files.fail_reason.clear();
  QTest::mouseClick(w.desktop.window().save_button(), Qt::LeftButton);
  QCOMPARE(w.messages.save_errors.size(), std::size_t{1});
  const auto saved = w.files.files.find(kCardFile);
  QVERIFY(saved != w.files.files.end());
  QVERIFY(SamePicture(saved->second, card, "save_after_failure"));
}

}  // namespace card::testing

QTEST_MAIN(card::testing::WindowFlowTest)
#include "window_flow_test.moc"
