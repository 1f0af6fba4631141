// The real name dialog at start-up: its two-line prompt, its empty box each time it opens, its
// place on the screen, refused answers asked again, and Cancel giving the empty name.
#include <QGuiApplication>
#include <QScreen>
#include <QtTest/QtTest>

#include "window/name_dialog_driver.h"
#include "window/window_test_support.h"

namespace card::testing {
namespace {

using Answer = NameDialogDriver::Answer;

const QString kPrompt = QStringLiteral("enter your name and surname\n") +
                        QString::fromUtf8("small letters (lowercase, no \xC4\x8D\xC5\xA1\xC5\xBE)");

// Where the dialog's corner belongs: 500 and 8700 twips (1440 to the inch) from the screen's
// corner, at the screen's own pixel density.
QPoint DesignPlace(const QScreen& screen) {
  return screen.geometry().topLeft() +
         QPoint(static_cast<int>(500 * screen.logicalDotsPerInchX() / 1440.0),
                static_cast<int>(8700 * screen.logicalDotsPerInchY() / 1440.0));
}

// Start-up of the desktop window with the real dialog, answered by `steps`.
struct StartUp {
  explicit StartUp(QList<NameDialogDriver::Step> steps) : driver(std::move(steps), kDeadlineMs) {
    w.Start();
  }
  CardWindowUnderTest w;  // no dialog replacement: the real one
  NameDialogDriver driver;
};

}  // namespace

class NameDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void refusedAnswersAreAskedAgainWithAnEmptyBox();
  void cancellingGivesTheEmptyName_data();
  void cancellingGivesTheEmptyName();
  void dialogStandsAtItsPlaceOnTheScreen();
};

void NameDialogTest::refusedAnswersAreAskedAgainWithAnEmptyBox() {
  const QString diacritic = QString::fromUtf8("\xC4\x8D") + QStringLiteral("rt");  // "črt"
  StartUp s({{Answer::kTypeAndReturn, QStringLiteral("Ana")},
             {Answer::kTypeAndReturn, diacritic},
             {Answer::kTypeAndReturn, QStringLiteral("ana")}});

  QVERIFY2(s.driver.problems().isEmpty(),
           qPrintable(s.driver.problems().join(QLatin1String("; "))));
  const auto& sights = s.driver.sights();
  QCOMPARE(sights.size(), 3);
  const QStringList typed = {QStringLiteral("Ana"), diacritic, QStringLiteral("ana")};
  // The prompt stays; after a refusal the reason and its fix follow on a line of their own.
  const QStringList why = {QString(), QStringLiteral("Capital letters can't be used: try \"ana\"."),
                           QStringLiteral("Letters with marks such as \"") +
                               QString::fromUtf8("\xC4\x8D") +
                               QStringLiteral("\" can't be used: try \"crt\".")};
  for (int k = 0; k < sights.size(); ++k) {
    QCOMPARE(sights[k].box_on_opening, QString());
    QCOMPARE(sights[k].label,
             why[k].isEmpty() ? kPrompt : kPrompt + QLatin1String("\n\n") + why[k]);
    QVERIFY(sights[k].modal);
    QCOMPARE(sights[k].frame.topLeft(), sights[0].frame.topLeft());
    // The box held exactly what was typed, so the refusals were of these very answers.
    QCOMPARE(sights[k].box_when_confirmed, typed[k]);
  }
  QCOMPARE(s.w.form.t, std::string("ana"));
  QCOMPARE(s.w.form.dolz.number(), 3.0);
  QCOMPARE(s.w.form.seed.number(), 234567.0 + 3 * (97 + 110 + 97) + 3 * 3 * 3);
  QVERIFY(HasGreeting(s.w.picture()));
}

void NameDialogTest::cancellingGivesTheEmptyName_data() {
  QTest::addColumn<int>("answer");
  QTest::newRow("Cancel button") << static_cast<int>(Answer::kCancelButton);
  QTest::newRow("Escape key") << static_cast<int>(Answer::kEscape);
  QTest::newRow("Return on the empty box") << static_cast<int>(Answer::kTypeAndReturn);
}

void NameDialogTest::cancellingGivesTheEmptyName() {
  QFETCH(int, answer);
  StartUp s({{static_cast<Answer>(answer), QString()}});

  QVERIFY2(s.driver.problems().isEmpty(),
           qPrintable(s.driver.problems().join(QLatin1String("; "))));
  QCOMPARE(s.driver.sights().size(), 1);
  QCOMPARE(s.w.form.t, std::string());
  QCOMPARE(s.w.form.dolz.number(), 0.0);
  QCOMPARE(s.w.form.seed.number(), 234567.0);
  // The empty name's card is drawn.
  QVERIFY(!RowsBlack(s.w.picture(), 0, s.w.picture().height()));
  QVERIFY(HasGreeting(s.w.picture()));
}

void NameDialogTest::dialogStandsAtItsPlaceOnTheScreen() {
  StartUp s({{Answer::kTypeAndReturn, QStringLiteral("ana")}});
  QVERIFY2(s.driver.problems().isEmpty(),
           qPrintable(s.driver.problems().join(QLatin1String("; "))));
  QCOMPARE(s.driver.sights().size(), 1);

  const QScreen* screen = s.w.desktop.window().screen();
  QVERIFY(screen != nullptr);
  const QRect frame = s.driver.sights()[0].frame;
  const QRect area = screen->availableGeometry();
  QVERIFY2(area.contains(frame), "the dialog is not wholly on the screen");
  const QPoint place = DesignPlace(*screen);
  // This screen has room for the dialog at its place.
  QVERIFY(area.contains(QRect(place, frame.size())));
  QVERIFY2((frame.topLeft() - place).manhattanLength() <= 1,
           qPrintable(QStringLiteral("the dialog stands at (%1, %2), not at (%3, %4)")
                          .arg(frame.x())
                          .arg(frame.y())
                          .arg(place.x())
                          .arg(place.y())));
}

}  // namespace card::testing

QTEST_MAIN(card::testing::NameDialogTest)
#include "name_dialog_test.moc"
