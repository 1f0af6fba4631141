// The card window as the user first sees it: a maximized black window with the picture and the
// three buttons at their places, with whole captions, in their tab order.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest/QtTest>
#include <memory>

#include "window/window_test_support.h"

Q_DECLARE_METATYPE(card::WindowArrangement::Layout)

namespace card::testing {

using Layout = WindowArrangement::Layout;

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

// What the screen shows of a widget in device pixels. Qt's offscreen platform grabs only the
// window's logical size from a scaled window, so a scaled window is painted afresh, with the same
// painting at the same scaling.
QImage DevicePixels(QWidget* widget) {
  if (widget->devicePixelRatioF() == 1.0) return Shown(widget);
  return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void WindowLayoutTest::initTestCase() {
  // The runs at other scalings (tests/CMakeLists.txt) must get the scaling they ask for.
  QCOMPARE(qApp->devicePixelRatio(), qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
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
  QTest::addColumn<QSize>("client");  // logical pixels
  QTest::addColumn<int>("percent");   // the display scaling the row needs
  QTest::addColumn<Layout>("layout");
  QTest::addColumn<int>("factor");  // device pixels per card pixel
  QTest::addColumn<QSize>("held");  // the size the window takes, when not `client`
  QTest::newRow("designed") << QSize(769, 681) << 100 << Layout::kDesigned << 1 << QSize();
  QTest::newRow("too low for the buttons under the picture")
      << QSize(870, 600) << 100 << Layout::kBeside << 1 << QSize();
  // Neither arrangement fits: the window grows to the nearer one.
  QTest::newRow("narrower than beside, lower than designed")
      << QSize(800, 600) << 100 << Layout::kDesigned << 1 << QSize(800, 641);
  QTest::newRow("just taller than the picture")
      << QSize(960, 540) << 100 << Layout::kTight << 1 << QSize();
  // Whole screens without a window frame, at 100, 150 and 200 % scaling; each scaling runs in a
  // program of its own (QT_SCALE_FACTOR, tests/CMakeLists.txt).
  QTest::newRow("1024 x 600 at 100 %")
      << QSize(1024, 600) << 100 << Layout::kBeside << 1 << QSize();
  QTest::newRow("1366 x 768 at 100 %")
      << QSize(1366, 768) << 100 << Layout::kDesigned << 1 << QSize();
  QTest::newRow("1920 x 1080 at 100 %")
      << QSize(1920, 1080) << 100 << Layout::kDesigned << 1 << QSize();
  QTest::newRow("1024 x 600 at 150 %") << QSize(683, 400) << 150 << Layout::kBeside << 1 << QSize();
  QTest::newRow("1366 x 768 at 150 %")
      << QSize(911, 512) << 150 << Layout::kDesigned << 1 << QSize();
  QTest::newRow("1920 x 1080 at 150 %")
      << QSize(1280, 720) << 150 << Layout::kTight << 2 << QSize();
  QTest::newRow("1024 x 600 at 200 %") << QSize(512, 300) << 200 << Layout::kBeside << 1 << QSize();
  QTest::newRow("1366 x 768 at 200 %")
      << QSize(683, 384) << 200 << Layout::kDesigned << 1 << QSize();
  QTest::newRow("1920 x 1080 at 200 %") << QSize(960, 540) << 200 << Layout::kTight << 2 << QSize();
}

// In a window too small for the designed places, the picture, the buttons, the finished card's
// mark and the save's progress mark all stay inside the window, and nothing covers anything. The
// card is shown at the largest whole number of device pixels per card pixel that fits, each card
// pixel a square of them.
void WindowLayoutTest::smallerWindowsKeepEverythingInSight() {
  QFETCH(QSize, client);
  QFETCH(int, percent);
  QFETCH(Layout, layout);
  QFETCH(int, factor);
  QFETCH(QSize, held);
  if (!qFuzzyCompare(qApp->devicePixelRatio(), percent / 100.0)) {
    QSKIP("at another scaling than this run's");
  }
  ScriptedDialog dialog;
  CardWindowUnderTest w(&dialog);
  CardWindow& window = w.desktop.window();
  window.show();
  window.resize(client);
  QVERIFY(QTest::qWaitForWindowExposed(&window, kDeadlineMs));
  if (held.isEmpty()) held = client;
  QTRY_COMPARE(window.size(), held);
  QCOMPARE(window.arrangement().layout, layout);
  QCOMPARE(window.picture1()->scale().factor, factor);
  // The next larger factor would not have fitted, unless it is beyond the screen's own scale.
  const PictureScale larger{factor + 1, qApp->devicePixelRatio()};
  QVERIFY(factor == PictureScale::LargestFactor(larger.device_ratio) ||
          !ArrangeWindow(client, larger,
                         {window.exit_button()->size(), window.repeat_button()->size(),
                          window.save_button()->size()})
               .Fits(client));

  const QList<QWidget*> controls = {window.picture1(), window.exit_button(), window.repeat_button(),
                                    window.save_button()};
  for (QWidget* control : controls) {
    QVERIFY2(window.rect().contains(control->geometry()), qPrintable(control->objectName()));
    for (QWidget* other : controls) {
      if (other != control) QVERIFY(!control->geometry().intersects(other->geometry()));
    }
  }
  // Every card pixel a square of `factor` device pixels, in their places: a pattern that differs
  // from pixel to pixel shows any that is doubled, dropped or blended.
  PixelBuffer& card = w.desktop.platform().picture1.pixels();
  for (int y = 0; y < card.height(); ++y) {
    for (int x = 0; x < card.width(); ++x) {
      card.scanline(y)[x] = 0xFF000000u | static_cast<std::uint32_t>(x * 0x010305 + y * 0x070B01);
    }
  }
  window.picture1()->repaint();
  const QImage shown_window = DevicePixels(&window);
  // The card starts on a device pixel's edge.
  const QPointF corner = QPointF(window.picture1()->pos()) * shown_window.devicePixelRatio();
  QCOMPARE(corner, QPointF(corner.toPoint()));
  const QRect card_area(corner.toPoint(), QSize(card.width(), card.height()) * factor);
  QVERIFY(shown_window.rect().contains(card_area));
  int misplaced = 0;
  for (int y = 0; y < card_area.height(); ++y) {
    for (int x = 0; x < card_area.width(); ++x) {
      if (shown_window.pixel(card_area.topLeft() + QPoint(x, y)) !=
          card.at(x / factor, y / factor)) {
        ++misplaced;
      }
    }
  }
  QCOMPARE(misplaced, 0);

  // The marks are drawn on the window itself: the asterisk at its corner and the progress
  // mark's white lines on rows 560 to 567 under the picture's ends.
  Surface& form = w.desktop.platform().form;
  form.SetCurrentX(1);
  form.SetCurrentY(1);
  form.Print("*");
  form.Line(31, 560, 31, 567, 0xFFFFFF);
  form.Line(731, 560, 731, 567, 0xFFFFFF);
  const QImage shown = DevicePixels(&window);
  // Whether anything but black shows in `area` (logical pixels).
  const auto white_in = [&shown](QRect area) {
    const QRect device = QRectF(QPointF(area.topLeft()) * shown.devicePixelRatio(),
                                QSizeF(area.size()) * shown.devicePixelRatio())
                             .toAlignedRect();
    for (int y = device.top(); y <= device.bottom(); ++y) {
      for (int x = device.left(); x <= device.right(); ++x) {
        if (shown.valid(x, y) && shown.pixel(x, y) != kBlackPixel) return true;
      }
    }
    return false;
  };
  const QRect picture = window.picture1()->geometry();
  QVERIFY2(white_in(QRect(0, 0, picture.left(), 24)), "the finished card's mark is not shown");
  // Under the picture's first and last column, the buttons' rows excluded.
  const QRect under_picture(picture.left() - 2, picture.bottom() + 1, 2, 26);
  QVERIFY2(white_in(under_picture), "the progress mark's start is not shown");
  QVERIFY2(white_in(under_picture.translated(picture.width(), 0)),
           "the progress mark's end is not shown");
}

}  // namespace card::testing

QTEST_MAIN(card::testing::WindowLayoutTest)
#include "window_layout_test.moc"
