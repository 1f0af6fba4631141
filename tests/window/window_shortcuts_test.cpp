// The keyboard on the card window: every shortcut and mnemonic does what a click on its button
// does, when the card is finished and while it is being drawn.
#include <QtTest/QtTest>
#include <string>

#include "window/window_test_support.h"

namespace card::testing {

enum class Effect { kRepeat, kSave, kExit };

class WindowShortcutsTest : public QObject {
  Q_OBJECT

 private slots:
  void keysActAsTheirButtons_data();
  void keysActAsTheirButtons();
};

void WindowShortcutsTest::keysActAsTheirButtons_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("modifiers");
  QTest::addColumn<int>("effect");
  QTest::addColumn<bool>("while_drawing");
  const auto row = [](const char* name, Qt::Key key, Qt::KeyboardModifier modifier, Effect effect,
                      bool while_drawing) {
    QTest::newRow(name) << static_cast<int>(key) << static_cast<int>(modifier)
                        << static_cast<int>(effect) << while_drawing;
  };
  row("Ctrl+S saves", Qt::Key_S, Qt::ControlModifier, Effect::kSave, false);
  row("Alt+S saves", Qt::Key_S, Qt::AltModifier, Effect::kSave, false);
  row("Ctrl+S while drawing saves the partial card", Qt::Key_S, Qt::ControlModifier, Effect::kSave,
      true);
  row("Ctrl+N repeats", Qt::Key_N, Qt::ControlModifier, Effect::kRepeat, false);
  row("Ctrl+R repeats", Qt::Key_R, Qt::ControlModifier, Effect::kRepeat, false);
  row("Alt+R repeats", Qt::Key_R, Qt::AltModifier, Effect::kRepeat, false);
  row("Ctrl+R while drawing abandons the card", Qt::Key_R, Qt::ControlModifier, Effect::kRepeat,
      true);
  row("Ctrl+Q exits", Qt::Key_Q, Qt::ControlModifier, Effect::kExit, false);
  row("Alt+X exits", Qt::Key_X, Qt::AltModifier, Effect::kExit, false);
  row("Ctrl+Q while drawing exits at once", Qt::Key_Q, Qt::ControlModifier, Effect::kExit, true);
}

void WindowShortcutsTest::keysActAsTheirButtons() {
  QFETCH(int, key);
  QFETCH(int, modifiers);
  QFETCH(int, effect);
  QFETCH(bool, while_drawing);
  ScriptedDialog dialog;
  dialog.Answer("anna");
  dialog.Answer("bor");
  CardWindowUnderTest w(&dialog);
  CardWindow& window = w.desktop.window();
  const auto press = [&] {
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window, kDeadlineMs));
    QTest::keyClick(&window, static_cast<Qt::Key>(key),
                    static_cast<Qt::KeyboardModifiers>(modifiers));
  };
  AtScanRow mid_card(w.form, while_drawing ? 100 : -1, press);
  w.Start();
  if (!while_drawing) press();

  // A mnemonic presses its button visibly first, so its click comes a moment later.
  switch (static_cast<Effect>(effect)) {
    case Effect::kSave:
      QTRY_COMPARE_WITH_TIMEOUT(w.files.files.count(kCardFile), std::size_t{1}, kDeadlineMs);
      // Saved while drawing: the card as far as it was drawn, and the drawing went on.
      QCOMPARE(RowsBlack(w.files.files.at(kCardFile), 300, kPictureHeight), while_drawing);
      QVERIFY(w.picture() == HeadlessCard("anna"));
      break;
    case Effect::kRepeat:
      QTRY_COMPARE_WITH_TIMEOUT(dialog.calls().size(), std::size_t{2}, kDeadlineMs);
      QTRY_VERIFY_WITH_TIMEOUT(!w.form.card_in_progress(), kDeadlineMs);
      QCOMPARE(w.form.t, std::string("bor"));
      QVERIFY(w.picture() == HeadlessCard("bor"));
      break;
    case Effect::kExit:
      QTRY_VERIFY_WITH_TIMEOUT(w.form.exit_requested(), kDeadlineMs);
      // Left at once: a card ended mid-way has no greeting.
      QCOMPARE(HasGreeting(w.picture()), !while_drawing);
      QCOMPARE(dialog.calls().size(), std::size_t{1});
      break;
  }
  QCOMPARE(mid_card.hits(), while_drawing ? 1 : 0);
}

}  // namespace card::testing

QTEST_MAIN(card::testing::WindowShortcutsTest)
#include "window_shortcuts_test.moc"
