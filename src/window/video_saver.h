#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "video/growth_frames.h"

namespace card {

// Makes the film of the window's card by replaying its recipe off-screen (never by recording the
// screen), on a thread of its own so that the window stays live, and saves it beside the card's
// bitmap as "C:\wimgx\<stem>.mp4". `report` gets what happened, to show without covering the card.
class VideoSaver final : public QObject {
 public:
  VideoSaver(FileStore& files, std::function<void(const QString&)> report);
  ~VideoSaver() override;  // a film being made is abandoned, its thread waited for

  // Starts the film of `card`, to be saved under `stem`; says so and does nothing while another
  // film is being made.
  void Save(const FilmedCard& card, const std::string& stem);
  bool busy() const { return worker_.joinable(); }

 private:
  void Finished(std::vector<std::uint8_t> mp4, const std::string& stem, const QString& error);

  FileStore& files_;
  std::function<void(const QString&)> report_;
  std::atomic<bool> abandon_{false};
  std::thread worker_;
};

}  // namespace card
