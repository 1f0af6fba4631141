// The name dialog on a small, dense screen: 640 x 480 pixels at 144 dots per inch. Its place in
// twips then lies 50 pixels from the left (not the 33 of a 96-dpi screen) and below the bottom
// edge, so the dialog must move up to stay whole on the screen.
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest/QtTest>

#include "window/name_dialog_driver.h"
#include "window/window_test_support.h"

namespace card::testing {

class NameDialogSmallScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void dialogKeepsItsLeftEdgeAndStaysOnTheScreen();
};

void NameDialogSmallScreenTest::dialogKeepsItsLeftEdgeAndStaysOnTheScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  QVERIFY(screen != nullptr);
  QVERIFY2(screen->geometry() == QRect(0, 0, 640, 480) && screen->logicalDotsPerInchX() == 144,
           "the small screen was not set up");

  CardWindowUnderTest w;  // the real dialog
  NameDialogDriver driver({{NameDialogDriver::Answer::kTypeAndReturn, QStringLiteral("ana")}},
                          kDeadlineMs);
  w.Start();
  QVERIFY2(driver.problems().isEmpty(), qPrintable(driver.problems().join(QLatin1String("; "))));
  QCOMPARE(driver.sights().size(), 1);
  QCOMPARE(w.form.t, std::string("ana"));

  const QRect frame = driver.sights()[0].frame;
  const QString where = QStringLiteral("dialog at (%1, %2) size %3 x %4")
                            .arg(frame.x())
                            .arg(frame.y())
                            .arg(frame.width())
                            .arg(frame.height());
  // 500 twips at 144 dots per inch.
  QVERIFY2(std::abs(frame.x() - 50) <= 1, qPrintable(where));
  // 8700 twips would be 870 pixels down, off this screen: the dialog sits against the bottom.
  QVERIFY2(frame.bottom() >= screen->availableGeometry().bottom() - 4, qPrintable(where));
  // The whole frame stays on the screen, not only the contents.
  QVERIFY2(screen->availableGeometry().contains(frame), qPrintable(where));
}

}  // namespace card::testing

int main(int argc, char** argv) {
  // The offscreen platform reads its screens from a file; window pixels stay screen pixels.
  QTemporaryDir folder;
  if (!folder.isValid()) return 1;
  const QString config = folder.filePath(QStringLiteral("screens.json"));
  QFile file(config);
  if (!file.open(QIODevice::WriteOnly)) return 1;
  file.write(R"({"screens": [{"name": "small", "x": 0, "y": 0, "width": 640, "height": 480,
                  "logicalDpi": 144, "logicalBaseDpi": 96, "dpr": 1}]})");
  file.close();
  qputenv("QT_QPA_PLATFORM", QFile::encodeName(QStringLiteral("offscreen:configfile=") + config));
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");

  QApplication application(argc, argv);
  card::testing::NameDialogSmallScreenTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "name_dialog_small_screen_test.moc"
