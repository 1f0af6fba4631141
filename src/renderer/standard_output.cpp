#include "renderer/standard_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/platform.h"

namespace card {

void WriteStandardOutput(const void* bytes, std::size_t size) {
  const auto* cursor = static_cast<const char*>(bytes);
  for (std::size_t left = size; left > 0;) {
    const ssize_t written = ::write(STDOUT_FILENO, cursor, left);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      const int error = written < 0 ? errno : EIO;
      throw FileError("standard output", std::strerror(error), error);
    }
    cursor += written;
    left -= static_cast<std::size_t>(written);
  }
}

bool IsStandardOutputName(const std::string& path) {
  // These are links to whatever standard output is (a log file, say): replaced through the link,
  // that file would lose what it held, so they are written as a stream instead.
  return path == "-" || path == "/dev/stdout" || path == "/dev/fd/1" || path == "/proc/self/fd/1";
}

}  // namespace card
