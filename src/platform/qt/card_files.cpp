#include "platform/qt/card_files.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

#include "app/headless_card.h"
#include "platform/bmp_writer.h"
#include "platform/disk_file_store.h"

namespace card {
namespace {

bool EndsWith(const std::string& text, const std::string& suffix) {
  if (text.size() < suffix.size()) return false;
  std::string tail = text.substr(text.size() - suffix.size());
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == suffix;
}

void WriteBytes(const std::string& path, const void* bytes, std::size_t size) {
  try {
    DiskFileStore::WriteFileAtomically(path, bytes, size);
  } catch (const FileError& error) {
    throw CardFileError("cannot write " + path + ": " + error.reason());
  }
}

}  // namespace

bool IsSupportedImagePath(const std::string& path) {
  return EndsWith(path, ".bmp") || EndsWith(path, ".png");
}

void WriteCardImage(const PixelBuffer& picture, const std::string& path) {
  if (EndsWith(path, ".bmp")) {
    const std::vector<std::uint8_t> bytes = EncodeBmp(picture);
    WriteBytes(path, bytes.data(), bytes.size());
    return;
  }
  if (!EndsWith(path, ".png")) {
    throw CardFileError("cannot write " + path + ": the file name must end in .bmp or .png");
  }
  const QImage image(reinterpret_cast<const uchar*>(picture.data()), picture.width(),
                     picture.height(), picture.stride() * 4, QImage::Format_RGB32);
  QByteArray encoded;
  QBuffer buffer(&encoded);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) throw CardFileError("cannot encode " + path + " as PNG");
  WriteBytes(path, encoded.constData(), static_cast<std::size_t>(encoded.size()));
}

RecipeInput ReadRecipe(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) {
    throw CardFileError("cannot read recipe " + path + ": " + file.errorString().toStdString());
  }
  QJsonParseError parse_error{};
  const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parse_error);
  if (parse_error.error != QJsonParseError::NoError || !document.isObject()) {
    throw CardFileError("recipe " + path + " is not a JSON object" +
                        (parse_error.error != QJsonParseError::NoError
                             ? " (" + parse_error.errorString().toStdString() + " at byte " +
                                   std::to_string(parse_error.offset) + ")"
                             : std::string()));
  }
  const QJsonObject object = document.object();
  if (!object.contains(QStringLiteral("name")) ||
      !object.value(QStringLiteral("name")).isString()) {
    throw CardFileError("recipe " + path + " has no \"name\" text");
  }
  if (!object.contains(QStringLiteral("draws")) ||
      !object.value(QStringLiteral("draws")).isArray()) {
    throw CardFileError("recipe " + path + " has no \"draws\" list");
  }
  RecipeInput input;
  input.name = object.value(QStringLiteral("name")).toString().toStdString();
  const QJsonArray draws = object.value(QStringLiteral("draws")).toArray();
  if (static_cast<std::size_t>(draws.size()) != kDrawsPerCard) {
    throw CardFileError("recipe " + path + " has " + std::to_string(draws.size()) +
                        " draws; a card takes exactly " + std::to_string(kDrawsPerCard));
  }
  for (qsizetype k = 0; k < draws.size(); ++k) {
    const QJsonValue value = draws.at(k);
    const double number = value.toDouble(-1.0);
    const auto draw = static_cast<float>(number);
    if (!value.isDouble() || !std::isfinite(number) || !(draw >= 0.0f && draw < 1.0f)) {
      throw CardFileError("recipe " + path + ": draw " + std::to_string(k + 1) +
                          " is not a number in [0, 1)");
    }
    input.draws.push_back(draw);
  }
  return input;
}

void WriteTextFile(const std::string& path, const std::string& text) {
  WriteBytes(path, text.data(), text.size());
}

}  // namespace card
