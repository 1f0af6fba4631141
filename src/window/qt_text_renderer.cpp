#include "window/qt_text_renderer.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <cmath>

namespace card {
namespace {

constexpr double kDotsPerInch = 96.0;
constexpr int kDotsPerMeter = 3780;  // 96 dots per inch

}  // namespace

QtTextRenderer::QtTextRenderer() {
  // The window's default font: one fixed family wherever it is installed, whatever the platform
  // plugin would pick.
  const QStringList families = QFontDatabase::families();
  family_ = families.contains(QStringLiteral("DejaVu Sans"))
                ? QStringLiteral("DejaVu Sans")
                : QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

int QtTextRenderer::DrawText(PixelBuffer& buffer, int x, int y, std::string_view text,
                             double point_size, std::uint32_t argb) {
  QImage image(reinterpret_cast<uchar*>(buffer.data()), buffer.width(), buffer.height(),
               buffer.stride() * 4, QImage::Format_RGB32);
  image.setDotsPerMeterX(kDotsPerMeter);
  image.setDotsPerMeterY(kDotsPerMeter);
  QFont font(family_);
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(point_size * kDotsPerInch / 72.0))));
  const QFontMetrics metrics(font, &image);
  QPainter painter(&image);
  painter.setFont(font);
  painter.setPen(QColor::fromRgb(argb));
  // Only the glyphs are painted: the picture shows through between them. No wrapping; QPainter
  // cuts whatever falls outside the image.
  painter.drawText(QPointF(x, y + metrics.ascent()),
                   QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  return metrics.height();
}

}  // namespace card
