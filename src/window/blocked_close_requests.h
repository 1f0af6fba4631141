#pragma once

#include <QAbstractNativeEventFilter>
#include <QWidget>
#include <functional>

namespace card {

// The window system's request to close `window` (its frame's close control) while the name dialog
// is open (`asking`): Qt keeps such a request from a window that a modal dialog blocks, but the
// program ends on it then as at any other time. Where the request comes through Qt's own close
// (Wayland, tests) the window's close event carries it as always; on X11 this picks it out of the
// window system's messages and hands it to `close`. Installed on the application while it lives.
class BlockedCloseRequests final : public QAbstractNativeEventFilter {
 public:
  BlockedCloseRequests(QWidget& window, std::function<bool()> asking, std::function<void()> close);
  ~BlockedCloseRequests() override;
  BlockedCloseRequests(const BlockedCloseRequests&) = delete;
  BlockedCloseRequests& operator=(const BlockedCloseRequests&) = delete;

  bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;

 private:
  QWidget& window_;
  std::function<bool()> asking_;
  std::function<void()> close_;
  // The X11 names of the request (WM_PROTOCOLS, WM_DELETE_WINDOW); 0 away from X11.
  quint32 protocols_atom_ = 0;
  quint32 delete_atom_ = 0;
};

}  // namespace card
