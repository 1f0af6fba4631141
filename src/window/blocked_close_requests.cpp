#include "window/blocked_close_requests.h"

#include <QGuiApplication>
#include <QTimer>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#if defined(CARD_WITH_XCB) && QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#endif

namespace card {
namespace {

#if defined(CARD_WITH_XCB) && QT_CONFIG(xcb)
quint32 Atom(xcb_connection_t* connection, const char* name) {
  const xcb_intern_atom_cookie_t cookie =
      xcb_intern_atom(connection, 1, static_cast<std::uint16_t>(std::strlen(name)), name);
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
  const quint32 atom = reply != nullptr ? reply->atom : 0;
  std::free(reply);
  return atom;
}
#endif

}  // namespace

BlockedCloseRequests::BlockedCloseRequests(QWidget& window, std::function<bool()> asking,
                                           std::function<void()> close)
    : window_(window), asking_(std::move(asking)), close_(std::move(close)) {
#if defined(CARD_WITH_XCB) && QT_CONFIG(xcb)
  // Other platforms may offer the interface too (offscreen), without a connection to X.
  const auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (QGuiApplication::platformName() == QLatin1String("xcb") && x11 != nullptr &&
      x11->connection() != nullptr) {
    protocols_atom_ = Atom(x11->connection(), "WM_PROTOCOLS");
    delete_atom_ = Atom(x11->connection(), "WM_DELETE_WINDOW");
  }
#endif
  if (delete_atom_ != 0) QCoreApplication::instance()->installNativeEventFilter(this);
}

BlockedCloseRequests::~BlockedCloseRequests() {
  if (delete_atom_ != 0 && QCoreApplication::instance() != nullptr) {
    QCoreApplication::instance()->removeNativeEventFilter(this);
  }
}

bool BlockedCloseRequests::nativeEventFilter(const QByteArray& type, void* message, qintptr*) {
#if defined(CARD_WITH_XCB) && QT_CONFIG(xcb)
  if (type != "xcb_generic_event_t" || !asking_()) return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE) return false;
  const auto* request = static_cast<const xcb_client_message_event_t*>(message);
  if (request->format != 32 || request->type != protocols_atom_ ||
      request->data.data32[0] != delete_atom_ || !window_.isVisible() ||
      request->window != static_cast<xcb_window_t>(window_.winId())) {
    return false;
  }
  // Handled once this message is done with, as a close event would be.
  QTimer::singleShot(0, &window_, close_);
  return true;
#else
  (void)type;
  (void)message;
  return false;
#endif
}

}  // namespace card
