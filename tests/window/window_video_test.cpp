// "Save video" on the card window: from the picture's context menu and by its shortcut, on a
// finished card and on one still being drawn. The film is made off-screen on its own thread, saved
// beside the card's bitmap, and the status line says where it went or why it did not; the card on
// screen is left as it is.
#include <QContextMenuEvent>
#include <QtTest/QtTest>
#include <algorithm>
#include <string>

#include "window/window_test_support.h"

namespace card::testing {

inline constexpr char kVideoFile[] = "C:\\wimgx\\T20261231235958.mp4";
// A film takes seconds of work, more on a busy machine.
inline constexpr int kVideoDeadlineMs = 120000;

enum class Asked { kMenu, kShortcut };

class WindowVideoTest : public QObject {
  Q_OBJECT

 private slots:
  void savesTheCardsGrowthBesideItsBitmap_data();
  void savesTheCardsGrowthBesideItsBitmap();
};

bool Contains(const std::vector<std::uint8_t>& bytes, const std::string& what, std::size_t& at) {
  const auto found = std::search(bytes.begin(), bytes.end(), what.begin(), what.end());
  at = static_cast<std::size_t>(found - bytes.begin());
  return found != bytes.end();
}

void WindowVideoTest::savesTheCardsGrowthBesideItsBitmap_data() {
  QTest::addColumn<int>("asked");
  QTest::addColumn<bool>("while_drawing");
  QTest::addColumn<QString>("failure");
  QTest::newRow("the context menu") << static_cast<int>(Asked::kMenu) << false << QString();
  QTest::newRow("Ctrl+Shift+E") << static_cast<int>(Asked::kShortcut) << false << QString();
  QTest::newRow("Ctrl+Shift+E while drawing")
      << static_cast<int>(Asked::kShortcut) << true << QString();
  QTest::newRow("a full disk") << static_cast<int>(Asked::kShortcut) << false
                               << QStringLiteral("the disk is full");
}

void WindowVideoTest::savesTheCardsGrowthBesideItsBitmap() {
  QFETCH(int, asked);
  QFETCH(bool, while_drawing);
  QFETCH(QString, failure);
  ScriptedDialog dialog;
  dialog.Answer("anna");
  CardWindowUnderTest w(&dialog);
  w.files.fail_reason = failure.toStdString();
  CardWindow& window = w.desktop.window();
  bool asked_once = false;
  const auto ask = [&] {
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window, kDeadlineMs));
    if (static_cast<Asked>(asked) == Asked::kMenu) {
      QWidget* picture = window.picture1();
      QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(100, 100),
                              picture->mapToGlobal(QPoint(100, 100)));
      QApplication::sendEvent(picture, &event);
      QMenu* menu = window.card_menu();
      QTRY_VERIFY_WITH_TIMEOUT(menu->isVisible(), kDeadlineMs);
      QAction* action = window.save_video_action();
      QVERIFY(menu->actions().contains(action));
      QCOMPARE(action->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
      QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
      QTRY_VERIFY_WITH_TIMEOUT(!menu->isVisible(), kDeadlineMs);
    } else {
      QTest::keyClick(&window, Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
    }
    asked_once = true;
    // Made on its own thread: nothing is saved before the window's events run again.
    QVERIFY(w.files.byte_files.empty());
    QVERIFY(window.status_line()->isVisible());
    QVERIFY2(window.status_line()->text().contains(QStringLiteral("Making")),
             qPrintable(window.status_line()->text()));
  };
  AtScanRow mid_card(w.form, while_drawing ? 100 : -1, ask);
  w.Start();
  if (!while_drawing) ask();
  QVERIFY(asked_once);

  const QLabel* status = window.status_line();
  if (!failure.isEmpty()) {
    QTRY_VERIFY_WITH_TIMEOUT(status->text().contains(QStringLiteral("not saved")),
                             kVideoDeadlineMs);
    QVERIFY2(status->text().contains(failure), qPrintable(status->text()));
    QVERIFY(w.files.byte_files.empty());
  } else {
    QTRY_COMPARE_WITH_TIMEOUT(w.files.byte_files.count(kVideoFile), std::size_t{1},
                              kVideoDeadlineMs);
    QVERIFY2(status->text().contains(QString::fromLatin1(kVideoFile)), qPrintable(status->text()));
    // An MP4 file with its index ahead of its frames.
    const std::vector<std::uint8_t>& video = w.files.byte_files.at(kVideoFile);
    std::size_t file_type = 0, index = 0, frames = 0;
    QVERIFY(Contains(video, "ftyp", file_type) && file_type == 4);
    QVERIFY(Contains(video, "moov", index) && Contains(video, "mdat", frames) && index < frames);
  }
  // No message box covered the card, and the card on screen is the window's own, whole.
  QVERIFY(w.messages.save_errors.empty());
  QTRY_VERIFY_WITH_TIMEOUT(!w.form.card_in_progress(), kDeadlineMs);
  QVERIFY(w.picture() == HeadlessCard("anna"));
  QCOMPARE(mid_card.hits(), while_drawing ? 1 : 0);
}

}  // namespace card::testing

QTEST_MAIN(card::testing::WindowVideoTest)
#include "window_video_test.moc"
