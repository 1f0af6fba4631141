#include "renderer/standard_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/platform.h"

namespace card {
namespace {

// Links followed before giving up, as the kernel does.
constexpr int kMaxLinkHops = 40;
// Descriptors looked at beyond the three standard ones; a shell hands out single digits.
constexpr int kMaxDescriptor = 1024;

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The file open on `descriptor` when it is open for writing.
std::optional<struct stat> WritableFile(int descriptor) {
  const int flags = ::fcntl(descriptor, F_GETFL);
  struct stat info {};
  if (flags < 0 || (flags & O_ACCMODE) == O_RDONLY || ::fstat(descriptor, &info) != 0) {
    return std::nullopt;
  }
  return info;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The descriptor that a link of the chain from `path` names by number: /proc/self/fd/N,
// /dev/fd/N and /proc/thread-self/fd/N are links in this process's own descriptor folder.
std::optional<int> DescriptorNamedOnTheWay(std::string path) {
  const std::string own = "/proc/" + std::to_string(::getpid()) + "/";
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return std::nullopt;
    const std::unique_ptr<char, void (*)(void*)> folder(::realpath(FolderOf(path).c_str(), nullptr),
                                                        std::free);
    const std::string name = path.substr(path.find_last_of('/') + 1);
    if (folder != nullptr) {
      const std::string where = folder.get();
      int number = -1;
      const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
      if (where.starts_with(own) && where.ends_with("/fd") && error == std::errc() &&
          end == name.data() + name.size() && number >= 0) {
        return number;
      }
    }
    std::vector<char> link(4096);
    const ssize_t length = ::readlink(path.c_str(), link.data(), link.size() - 1);
    if (length <= 0) return std::nullopt;
    const std::string target(link.data(), static_cast<std::size_t>(length));
    path = target.front() == '/' ? target : FolderOf(path) + "/" + target;
  }
  return std::nullopt;
}

}  // namespace

void WriteStream(int descriptor, const void* bytes, std::size_t size) {
  const auto* cursor = static_cast<const char*>(bytes);
  for (std::size_t left = size; left > 0;) {
    const ssize_t written = ::write(descriptor, cursor, left);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      const int error = written < 0 ? errno : EIO;
      throw FileError(StreamName(descriptor), std::strerror(error), error);
    }
    cursor += written;
    left -= static_cast<std::size_t>(written);
  }
}

std::optional<int> OpenStreamAt(const std::string& path) {
  if (path == "-") return STDOUT_FILENO;
  struct stat destination {};
  if (::stat(path.c_str(), &destination) != 0) return std::nullopt;
  // The descriptor the path names itself, when it does; else any that holds the same file, the
  // standard ones first.
  if (const auto named = DescriptorNamedOnTheWay(path)) {
    if (const auto open = WritableFile(*named); open && SameFile(*open, destination)) return named;
  }
  std::vector<int> order = {STDOUT_FILENO, STDERR_FILENO, STDIN_FILENO};
  for (int descriptor = 3; descriptor < kMaxDescriptor; ++descriptor) order.push_back(descriptor);
  for (const int descriptor : order) {
    if (const auto open = WritableFile(descriptor); open && SameFile(*open, destination)) {
      return descriptor;
    }
  }
  return std::nullopt;
}

std::string StreamName(int descriptor) {
  switch (descriptor) {
    case STDIN_FILENO:
      return "standard input";
    case STDOUT_FILENO:
      return "standard output";
    case STDERR_FILENO:
      return "standard error";
    default:
      return "descriptor " + std::to_string(descriptor);
  }
}

bool SameOpenFile(int first, int second) {
  struct stat a {
  }, b{};
  return first == second || (::fstat(first, &a) == 0 && ::fstat(second, &b) == 0 && SameFile(a, b));
}

}  // namespace card
