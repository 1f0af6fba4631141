// The card window as the user first sees it: a maximized black window with the picture and the
// three buttons at their places, with whole captions, in their tab order.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest/QtTest>
#include <memory>

#include "window/window_test_support.h"

namespace card::testing {

class WindowLayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void controlsStandAtTheirPlacesWithWholeCaptions_data();
  void controlsStandAtTheirPlacesWithWholeCaptions();
  void tabVisitsPictureExitRepeatSave();
  void windowIsBlackAroundTheControls();
  void saveButtonNamesTheRealFolder();
  void smallerWindowsKeepEverythingInSight_data();
  void smallerWindowsKeepEverythingInSight();

 private:
  QTemporaryDir home_;
  std::unique_ptr<QtPlatform> desktop_;  // the real platform: disk files in home_
};

void WindowLayoutTest::initTestCase() {
  QVERIFY(home_.isValid());
  qputenv("HOME", QFile::encodeName(home_.path()));
  desktop_ = std::make_unique<QtPlatform>();
  desktop_->Show();
  QVERIFY(QTest::qWaitForWindowExposed(&desktop_->window(), kDeadlineMs));
}

void WindowLayoutTest::controlsStandAtTheirPlacesWithWholeCaptions_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QRect>("place");
  QTest::addColumn<QString>("caption");
  QTest::newRow("Picture1") << "Picture1" << QRect(32, 24, 700, 525) << "";
  QTest::newRow("Command2") << "Command2" << QRect(696, 624, 33, 17) << "exit";
  QTest::newRow("Command5") << "Command5" << QRect(656, 576, 73, 17) << "repeat";
  QTest::newRow("Command3") << "Command3" << QRect(616, 600, 113, 17) << "save on C:\\wimgx";
}

void WindowLayoutTest::controlsStandAtTheirPlacesWithWholeCaptions() {
  QFETCH(QString, name);
  QFETCH(QRect, place);
  QFETCH(QString, caption);
  CardWindow& window = desktop_->window();
  auto* control = window.findChild<QWidget*>(name);
  QVERIFY(control != nullptr);
  QCOMPARE(control->parentWidget(), &window);
  QVERIFY(control->isVisible());
  QCOMPARE(control->geometry(), place);
  // Nothing lies over it: a click at its centre reaches it.
  QCOMPARE(window.childAt(place.center()), control);
  // The whole control lies inside the window as it is opened.
  QVERIFY(window.rect().contains(place));
  if (auto* button = qobject_cast<QPushButton*>(control)) {
    // The visible caption is the designed one; one '&' marks the mnemonic's letter.
    QCOMPARE(button->text().count(QLatin1Char('&')), 1);
    QCOMPARE(QString(button->text()).remove(QLatin1Char('&')), caption);
    const QFontMetrics metrics(button->font());
    QVERIFY2(metrics.horizontalAdvance(caption) <= place.width() - 2,
             "the caption does not fit its button");
    QVERIFY2(metrics.height() <= place.height(), "the caption is taller than its button");
  }
}

void WindowLayoutTest::tabVisitsPictureExitRepeatSave() {
  CardWindow& window = desktop_->window();
  QApplication::setActiveWindow(&window);
  QVERIFY(QTest::qWaitForWindowActive(&window, kDeadlineMs));
  window.picture1()->setFocus(Qt::OtherFocusReason);
  QCOMPARE(QApplication::focusWidget(), window.picture1());

  const QList<QWidget*> forward = {window.exit_button(), window.repeat_button(),
                                   window.save_button(), window.picture1()};
  for (QWidget* expected : forward) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), expected);
  }
  const QList<QWidget*> backward = {window.save_button(), window.repeat_button(),
                                    window.exit_button(), window.picture1()};
  for (QWidget* expected : backward) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), expected);
  }
}

void WindowLayoutTest::windowIsBlackAroundTheControls() {
  // Start-up as the program runs it; the name dialog is cancelled, which draws the empty name's
  // card.
  ScriptedDialog dialog;
  CardWindowUnderTest w(&dialog);
  w.Start();
  CardWindow& window = w.desktop.window();
  QVERIFY(window.isMaximized());
  QVERIFY(QTest::qWaitForWindowExposed(&window, kDeadlineMs));

  const QImage shown = Shown(&window);
  QVERIFY(shown.width() >= kCommand3.left + kCommand3.width);
  QVERIFY(shown.height() >= kCommand2.top + kCommand2.height);
  QList<QRect> controls;
  for (QWidget* control : window.findChildren<QWidget*>()) {
    if (control->isVisible()) controls.append(control->geometry());
  }
  const QRect corner_mark(0, 0, 24, 24);  // the asterisk that marks a finished card
  int not_black = 0;
  for (int y = 0; y < shown.height(); ++y) {
    for (int x = 0; x < shown.width(); ++x) {
      const QPoint p(x, y);
      if (corner_mark.contains(p)) continue;
      if (std::any_of(controls.begin(), controls.end(),
                      [&](const QRect& r) { return r.contains(p); })) {
        continue;
      }
      if (shown.pixel(p) != 0xFF000000u) ++not_black;
    }
  }
  QCOMPARE(not_black, 0);
}

void WindowLayoutTest::saveButtonNamesTheRealFolder() {
  const QString folder = QDir(home_.path()).filePath(QStringLiteral("wimgx"));
  const QString tip = desktop_->window().save_button()->toolTip();
  QVERIFY2(tip.contains(folder), qPrintable(tip));
}

void WindowLayoutTest::smallerWindowsKeepEverythingInSight_data() {
  QTest::addColumn<QSize>("client");
  QTest::newRow("designed") << QSize(769, 681);
  QTest::newRow("too low for the buttons under the picture") << QSize(870, 600);
  // A 1920 x 1080 screen at 200 % scaling, without a window frame.
  QTest::newRow("just taller than the picture") << QSize(960, 540);
}

// In a window too small for the designed places, the picture, the buttons, the finished card's
// mark and the save's progress mark all stay inside the window, and nothing covers anything.
void WindowLayoutTest::smallerWindowsKeepEverythingInSight() {
  QFETCH(QSize, client);
  ScriptedDialog dialog;
  CardWindowUnderTest w(&dialog);
  CardWindow& window = w.desktop.window();
  window.show();
  window.resize(client);
  QVERIFY(QTest::qWaitForWindowExposed(&window, kDeadlineMs));
  QTRY_COMPARE(window.size(), client);

  const QList<QWidget*> controls = {window.picture1(), window.exit_button(), window.repeat_button(),
                                    window.save_button()};
  for (QWidget* control : controls) {
    QVERIFY2(window.rect().contains(control->geometry()), qPrintable(control->objectName()));
    for (QWidget* other : controls) {
      if (other != control) QVERIFY(!control->geometry().intersects(other->geometry()));
    }
  }
  // The marks are drawn on the window itself: the asterisk at its corner and the progress
  // mark's white lines on rows 560 to 567 under the picture's ends.
  Surface& form = w.desktop.platform().form;
  form.SetCurrentX(1);
  form.SetCurrentY(1);
  form.Print("*");
  form.Line(31, 560, 31, 567, 0xFFFFFF);
  form.Line(731, 560, 731, 567, 0xFFFFFF);
  const QImage shown = Shown(&window);
  const auto white_in = [&shown](QRect area) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
      for (int x = area.left(); x <= area.right(); ++x) {
        if (shown.valid(x, y) && shown.pixel(x, y) != kBlackPixel) return true;
      }
    }
    return false;
  };
  const QRect picture = window.picture1()->geometry();
  QVERIFY2(white_in(QRect(0, 0, picture.left(), 24)), "the finished card's mark is not shown");
  const QRect under_picture(picture.left() - 1, picture.bottom() + 1, 1, 20);
  QVERIFY2(white_in(under_picture), "the progress mark's start is not shown");
  QVERIFY2(white_in(under_picture.translated(picture.width(), 0)),
           "the progress mark's end is not shown");
}

}  // namespace card::testing

QTEST_MAIN(card::testing::WindowLayoutTest)
#include "window_layout_test.moc"
