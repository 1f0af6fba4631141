// The greeting line as the real font paints it over a picture: the black edge one pixel up and
// left of the white glyphs, nothing painted between the glyphs, and a long name cut at the right
// edge of the picture without a second line.
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QtTest/QtTest>
#include <string>

#include "form/form1.h"
#include "overlay/greeting.h"
#include "platform/memory/memory_platform.h"
#include "platform/qt/qt_text_renderer.h"

namespace card {
namespace {

// A mid-tone with three different channels. Wherever the black print covers a pixel completely,
// the colour is gone and only neutral shades (black, white or a blend of the two) remain; a
// pixel where any of the picture shows through is not neutral.
constexpr std::uint32_t kPictureColour = 0xFF8060A0u;
constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr int kGreetingLeft = 10;
constexpr int kGreetingTop = 490;

bool Neutral(std::uint32_t argb) {
  return qRed(argb) == qGreen(argb) && qGreen(argb) == qBlue(argb);
}

// Writes a picture next to the test binary so a failure can be looked at.
void Keep(const PixelBuffer& pixels, const QString& name) {
  QImage(reinterpret_cast<const uchar*>(pixels.data()), pixels.width(), pixels.height(),
         pixels.stride() * 4, QImage::Format_RGB32)
      .save(name);
}

// A window object on the in-memory platform whose picture prints with the real font.
struct GreetingCard {
  explicit GreetingCard(const std::string& name)
      : memory(&renderer), form(memory.platform(), generator) {
    memory.picture1.pixels().Fill(kPictureColour);
    form.t = name;
    form.PrintGreeting();
  }
  const PixelBuffer& picture() const { return memory.picture1.pixels(); }

  QtTextRenderer renderer;
  MemoryPlatform memory;
  Generator generator;
  Form1 form;
};

}  // namespace

class GreetingPixelsTest : public QObject {
  Q_OBJECT

 private slots:
  void blackEdgeLiesOnePixelUpAndLeftOfTheWhiteGlyphs();
  void onlyTheGlyphsArePainted();
  void longNameIsCutAtTheRightEdgeOnOneLine();
};

void GreetingPixelsTest::blackEdgeLiesOnePixelUpAndLeftOfTheWhiteGlyphs() {
  const GreetingCard card("anna");
  const PixelBuffer& p = card.picture();

  int white = 0;
  int fringe = 0;
  // Black pixels diagonally below-right of a white one: there would be many of them if the black
  // copy lay one pixel down and right instead of up and left.
  int black_below_right = 0;
  for (int y = 1; y + 1 < p.height(); ++y) {
    for (int x = 1; x + 1 < p.width(); ++x) {
      if (p.at(x, y) != kWhite) continue;
      ++white;
      const std::uint32_t up_left = p.at(x - 1, y - 1);
      if (!Neutral(up_left)) {
        Keep(p, QStringLiteral("greeting_edge_failure.png"));
        QFAIL(qPrintable(QStringLiteral("white pixel at (%1, %2) but the picture shows through "
                                        "at (%3, %4): %5 (picture kept in "
                                        "greeting_edge_failure.png)")
                             .arg(x)
                             .arg(y)
                             .arg(x - 1)
                             .arg(y - 1)
                             .arg(up_left, 8, 16)));
      }
      if (up_left == kBlack) ++fringe;
      if (p.at(x + 1, y + 1) == kBlack) ++black_below_right;
    }
  }
  QVERIFY2(white > 100, qPrintable(QStringLiteral("only %1 white pixels").arg(white)));
  QVERIFY2(fringe > 20, qPrintable(QStringLiteral("only %1 black edge pixels").arg(fringe)));
  QVERIFY2(black_below_right < fringe / 4,
           qPrintable(QStringLiteral("%1 black pixels below-right of white ones, %2 up-left")
                          .arg(black_below_right)
                          .arg(fringe)));
}

void GreetingPixelsTest::onlyTheGlyphsArePainted() {
  const GreetingCard card("anna");
  const PixelBuffer& p = card.picture();

  // Where the line can reach: from the black print's corner to one line below the white one.
  QFont font(card.renderer.family());
  font.setPixelSize(16);  // 12 points at 96 dots per inch
  const QFontMetrics metrics(font);
  const QString line = QString::fromStdString(GreetingLine("anna"));
  const QRect band(kGreetingLeft, kGreetingTop, metrics.horizontalAdvance(line) + 2,
                   metrics.height() + 1);

  int changed_outside = 0;
  int kept_inside = 0;
  int changed_inside = 0;
  for (int y = 0; y < p.height(); ++y) {
    for (int x = 0; x < p.width(); ++x) {
      const bool changed = p.at(x, y) != kPictureColour;
      if (band.contains(x, y)) {
        (changed ? changed_inside : kept_inside) += 1;
      } else if (changed) {
        ++changed_outside;
      }
    }
  }
  QCOMPARE(changed_outside, 0);
  // Text covers a minority of its box; an opaque text background would cover all of it.
  QVERIFY2(changed_inside > 200,
           qPrintable(QStringLiteral("only %1 pixels of the line painted").arg(changed_inside)));
  QVERIFY2(kept_inside > changed_inside,
           qPrintable(QStringLiteral("%1 pixels of the line's box painted, %2 kept")
                          .arg(changed_inside)
                          .arg(kept_inside)));
  // The gap between "anna," and "I" (a space) keeps the picture in every row.
  const int gap_left = kGreetingLeft + metrics.horizontalAdvance(QStringLiteral("anna,")) + 2;
  const int gap_right = kGreetingLeft + metrics.horizontalAdvance(QStringLiteral("anna, ")) - 1;
  QVERIFY(gap_left < gap_right);
  for (int y = 0; y < p.height(); ++y) {
    for (int x = gap_left; x < gap_right; ++x) {
      QVERIFY2(p.at(x, y) == kPictureColour,
               qPrintable(QStringLiteral("painted between words at (%1, %2)").arg(x).arg(y)));
    }
  }
}

void GreetingPixelsTest::longNameIsCutAtTheRightEdgeOnOneLine() {
  std::string name;
  while (name.size() < 100) name += "mwmwmwmwmw";
  const GreetingCard card(name);
  const PixelBuffer& p = card.picture();

  // The print ends its line by moving the text position one line down: that is where a second
  // line would begin.
  const int next_line = static_cast<int>(card.memory.picture1.current_y());
  QVERIFY(next_line > kGreetingTop + 1);
  QVERIFY(next_line < p.height());

  int rightmost = -1;
  for (int y = 0; y < p.height(); ++y) {
    for (int x = 0; x < p.width(); ++x) {
      if (p.at(x, y) == kPictureColour) continue;
      if (y < kGreetingTop || y >= next_line) {
        Keep(p, QStringLiteral("greeting_cut_failure.png"));
        QFAIL(qPrintable(QStringLiteral("painted outside the line at (%1, %2) (picture kept in "
                                        "greeting_cut_failure.png)")
                             .arg(x)
                             .arg(y)));
      }
      rightmost = std::max(rightmost, x);
    }
  }
  // "m" and "w" are wide glyphs without gaps worth the name: the line reaches the last column.
  QCOMPARE(rightmost, p.width() - 1);
}

}  // namespace card

QTEST_MAIN(card::GreetingPixelsTest)
#include "greeting_pixels_test.moc"
