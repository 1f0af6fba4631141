// The card handed over from the window: saved where the user chooses as PNG or BMP, copied to the
// clipboard, printed, each the card on screen pixel for pixel, and the window saying where a file
// went; a file that cannot be written is reported and nothing else changes.
#include "window/card_hand_over.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

#include "window/window_test_support.h"

namespace card::testing {

class CardHandOverTest : public QObject {
  Q_OBJECT

 private slots:
  void handsOverTheCardOnScreen_data();
  void handsOverTheCardOnScreen();
};

void CardHandOverTest::handsOverTheCardOnScreen_data() {
  QTest::addColumn<QString>("way");
  QTest::addColumn<QString>("file");  // relative to a fresh folder
  QTest::addColumn<bool>("written");
  QTest::newRow("save as PNG") << "save"
                               << "ana marija.png" << true;
  QTest::newRow("save as BMP") << "save"
                               << "cards/ana.BMP" << true;
  QTest::newRow("save into a file that is a folder") << "save"
                                                     << "folder" << false;
  QTest::newRow("copy") << "copy"
                        << "" << false;
  QTest::newRow("print to PDF") << "print"
                                << "ana marija.pdf" << true;
}

void CardHandOverTest::handsOverTheCardOnScreen() {
  QFETCH(QString, way);
  QFETCH(QString, file);
  QFETCH(bool, written);
  ScriptedDialog dialog;
  dialog.Answer("ana marija");
  CardWindowUnderTest w(&dialog);
  CardHandOver hand_over(w.desktop.window(), w.desktop.platform().picture1,
                         [&w] { return w.form.t; });
  w.Start();
  QTRY_VERIFY_WITH_TIMEOUT(!w.form.card_in_progress(), kDeadlineMs);
  const QImage card = ImageOf(w.picture());
  QCOMPARE(hand_over.DefaultFileName(QStringLiteral("png")), QStringLiteral("ana marija.png"));

  QTemporaryDir folder;
  QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("cards")));
  QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("folder")));
  const QString path = folder.filePath(file);
  QLabel* status = w.desktop.window().status_line();
  if (way == QLatin1String("save")) {
    // The reason of a refusal comes in a message box: close it as a user would.
    QTimer::singleShot(0, [] {
      if (QWidget* box = QApplication::activeModalWidget()) box->close();
    });
    QCOMPARE(hand_over.SaveAs(path), written);
    if (written) {
      QCOMPARE(QImage(path).convertToFormat(QImage::Format_RGB32), card);
      QVERIFY2(status->isVisible() && status->text().contains(path), qPrintable(status->text()));
    } else {
      QVERIFY(QFileInfo(path).isDir());
      QVERIFY(QDir(path).isEmpty());
      QVERIFY(!status->isVisible());
    }
  } else if (way == QLatin1String("copy")) {
    hand_over.Copy();
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), card);
  } else {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    hand_over.Print(printer);
    QFile pdf(path);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    // The whole card goes in as one image of its own size, without a lossy JPEG's blur.
    QVERIFY(bytes.startsWith("%PDF"));
    QVERIFY(bytes.contains("/Width 700") && bytes.contains("/Height 525"));
    QVERIFY(!bytes.contains("/DCTDecode"));
  }
  // The picture on screen is what it was.
  QCOMPARE(ImageOf(w.picture()), card);
}

}  // namespace card::testing

QTEST_MAIN(card::testing::CardHandOverTest)
#include "card_hand_over_test.moc"
