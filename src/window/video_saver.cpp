#include "window/video_saver.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <exception>
#include <new>
#include <utility>

#include "scan/fast_scan.h"
#include "video/film_encoder.h"
#include "video/video_error.h"

namespace card {

VideoSaver::VideoSaver(FileStore& files, std::function<void(const QString&)> report)
    : files_(files), report_(std::move(report)) {}

VideoSaver::~VideoSaver() {
  abandon_ = true;
  if (worker_.joinable()) worker_.join();
}

void VideoSaver::Save(const FilmedCard& card, const std::string& stem) {
  if (busy()) {
    report_(QCoreApplication::translate("VideoSaver", "A video is being made; one at a time."));
    return;
  }
  report_(QCoreApplication::translate("VideoSaver", "Making the video of the card..."));
  const int threads = DefaultThreadCount();
  worker_ = std::thread([this, card, stem, threads] {
    std::vector<std::uint8_t> mp4;
    QString error;
    try {
      GrowthFrames frames(card);
      mp4 = EncodeFilm([&] { return abandon_ ? FilmFrame{} : frames.Next(); }, threads);
    } catch (const VideoError& failure) {
      error = QString::fromStdString(failure.what());
    } catch (const std::bad_alloc&) {
      error = QCoreApplication::translate("VideoSaver", "the video was not made: out of memory");
    } catch (const std::exception& failure) {
      error = QString::fromStdString(failure.what());
    }
    // Saved on the window's thread, which owns the file store; dropped if the window is gone.
    QMetaObject::invokeMethod(
        this,
        [this, mp4 = std::move(mp4), stem, error]() mutable {
          Finished(std::move(mp4), stem, error);
        },
        Qt::QueuedConnection);
  });
}

void VideoSaver::Finished(std::vector<std::uint8_t> mp4, const std::string& stem,
                          const QString& error) {
  if (worker_.joinable()) worker_.join();
  if (!error.isEmpty()) {
    // The error says what could not be done ("cannot make videos: ...").
    report_(error.left(1).toUpper() + error.mid(1) + QLatin1Char('.'));
    return;
  }
  const std::string path = "C:\\wimgx\\" + stem + ".mp4";
  const QString shown = QString::fromStdString(files_.NativePath(path));
  try {
    files_.SaveFile(mp4, path);
  } catch (const FileError& failure) {
    report_(QCoreApplication::translate("VideoSaver", "The video was not saved as %1: %2.")
                .arg(shown, QString::fromStdString(failure.reason())));
    return;
  }
  report_(QCoreApplication::translate("VideoSaver", "Video saved: %1").arg(shown));
}

}  // namespace card
