#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <functional>
#include <memory>

#include "files/disk_file_store.h"
#include "form/form1.h"
#include "platform/platform.h"
#include "window/blocked_close_requests.h"
#include "window/card_window.h"
#include "window/qt_text_renderer.h"
#include "window/video_saver.h"

class QInputDialog;

namespace card {

// The name dialog as a Qt input dialog placed at its position on the screen.
class QtNameDialog final : public NameDialog {
 public:
  explicit QtNameDialog(QWidget* parent) : parent_(parent) {}
  std::string InputBox(const std::string& prompt, int left_twips, int top_twips) override;
  // Closes a dialog that is open, as Cancel does (used when the program is ending).
  void CancelOpenDialog();
  bool IsOpen() const;

 private:
  QWidget* parent_;
  QPointer<QInputDialog> open_;
  std::string last_answer_;  // why the dialog asks again is told from it
};

class QtMessages final : public Messages {
 public:
  explicit QtMessages(CardWindow* parent) : parent_(parent) {}
  void ShowSaveError(const std::string& path, const std::string& reason) override;
  void ShowSaved(const std::string& path) override;
  void ShowRuntimeError(const RuntimeError& error) override;

 private:
  CardWindow* parent_;
};

// The desktop platform: the card window with its surfaces, the dialog, message boxes, files on
// disk and the local clock. Any service can be replaced for tests.
class QtPlatform final : public EventPump, public WindowControl, private SurfaceObserver {
 public:
  struct Replacements {
    NameDialog* dialog = nullptr;
    Messages* messages = nullptr;
    FileStore* files = nullptr;
    const Clock* clock = nullptr;
  };
  struct Handlers {
    std::function<void()> load, repeat, save, exit, close;
  };

  QtPlatform();
  explicit QtPlatform(Replacements replacements);
  ~QtPlatform() override;

  Platform& platform() { return *platform_; }
  CardWindow& window() { return *window_; }
  // Wires start-up, the buttons and the frame's close control; the picture is shown again after
  // each, since the scan repaints it only now and then while it draws.
  void Connect(Handlers handlers);
  // Runs the start-up handler; the program calls it once its event loop runs.
  void Load();
  // Wires "save video" to the card that `form` shows, made again from its name and the draws
  // `generator` gave it.
  void ConnectVideo(const Form1& form, const Generator& generator);

  void DoEvents() override;
  void Show() override;
  void Quit() override;

 private:
  void Drawn(int left, int top, int right, int bottom) override;
  std::function<void()> Refreshing(std::function<void()> handler);

  QtTextRenderer text_renderer_;
  Surface form_;
  Surface picture1_;
  Surface picture2_;
  std::unique_ptr<CardWindow> window_;
  DiskFileStore disk_files_;
  SystemClock system_clock_;
  QtNameDialog dialog_;
  QtMessages messages_;
  std::unique_ptr<Platform> platform_;
  std::unique_ptr<VideoSaver> video_saver_;  // gone before the window it reports to
  std::function<void()> load_;
  std::unique_ptr<BlockedCloseRequests> blocked_close_;
  QElapsedTimer since_repaint_;
};

}  // namespace card
