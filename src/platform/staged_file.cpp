#include "platform/staged_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "platform/platform.h"

namespace card {
namespace {

// Symbolic links followed before giving up, as the kernel does.
constexpr int kMaxLinkHops = 40;

// The first part of `directory` that exists but is not a folder, or "" when there is none.
std::string FileInPathOf(const std::string& directory) {
  for (std::size_t end = directory.find('/', 1);; end = directory.find('/', end + 1)) {
    const std::string prefix = directory.substr(0, end);
    struct stat info {};
    if (::stat(prefix.c_str(), &info) == 0 && !S_ISDIR(info.st_mode)) return prefix;
    if (end == std::string::npos) return "";
  }
}

std::string KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISFIFO(mode)) return "a named pipe (FIFO)";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

std::string ReadLink(const std::string& link) {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t length = ::readlink(link.c_str(), buffer.data(), buffer.size());
    if (length < 0) return "";
    if (static_cast<std::size_t>(length) < buffer.size())
      return {buffer.data(), buffer.data() + length};
    buffer.resize(buffer.size() * 2);
  }
}

// A name for the temporary file that no one else would pick: hidden, beside the target.
std::string TempName(const std::string& target) {
  thread_local std::mt19937_64 random{std::random_device{}()};
  const auto slash = target.find_last_of('/');
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  char suffix[20];
  std::snprintf(suffix, sizeof suffix, "%012llx",
                static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFull));
  return ParentDirectory(target) + "/." + base + "." + suffix;
}

}  // namespace

std::string ParentDirectory(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string FileErrorReason(int error, const std::string& directory, bool folder_made) {
  switch (error) {
    case ENOENT:
      return "the folder " + directory +
             (folder_made ? " does not exist and could not be created" : " does not exist");
    case ENOTDIR: {
      const std::string file = FileInPathOf(directory);
      const std::string why =
          file.empty() ? "a part of its path is not a folder" : file + " is a file, not a folder";
      return "the folder " + directory +
             (folder_made ? " does not exist and could not be created: " : " cannot be used: ") +
             why;
    }
    case EACCES:
    case EPERM:
      return "no permission to write in the folder " + directory;
    case EROFS:
      return "the folder " + directory + " is on a read-only disk";
    case ENOSPC:
    case EDQUOT:
      return "the disk is full";
    case ELOOP:
      return "the symbolic links lead round in a circle";
    case ENAMETOOLONG:
      return "the name is too long";
    default:
      return std::strerror(error);
  }
}

StagedFile::StagedFile(const std::string& path, const void* bytes, std::size_t size,
                       Destination destination, bool folder_made)
    : path_(path), target_(path), folder_made_(folder_made) {
  if (path.empty()) throw FileError(path, "the file name is empty");
  bool replacing = false;
  mode_t mode = 0;
  for (int hops = 0; destination == Destination::kReplace; ++hops) {
    struct stat info {};
    if (::lstat(target_.c_str(), &info) != 0) {
      if (errno == ENOENT) break;  // a new file, or a link to where a file will be
      Fail(errno);
    }
    if (S_ISLNK(info.st_mode)) {
      const std::string link = ReadLink(target_);
      if (link.empty()) Fail(errno);
      if (hops >= kMaxLinkHops) Fail(ELOOP);
      target_ = link.front() == '/' ? link : ParentDirectory(target_) + "/" + link;
      continue;
    }
    if (!S_ISREG(info.st_mode)) {
      throw FileError(path, (target_ == path ? "it is " : target_ + " is ") + KindOf(info.st_mode) +
                                ", not a file; it was left as it is");
    }
    replacing = true;
    mode = info.st_mode & 07777;
    break;
  }

  int fd = -1;
  for (int attempt = 0; fd < 0; ++attempt) {
    temp_ = TempName(target_);
    // The kernel takes the umask off 0666, as for any new file.
    fd = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && (errno != EEXIST || attempt >= 100)) {
      temp_.clear();
      Fail(errno);
    }
  }
  int error = 0;
  if (replacing && ::fchmod(fd, mode) != 0) error = errno;
  const auto* cursor = static_cast<const char*>(bytes);
  for (std::size_t left = size; error == 0 && left > 0;) {
    const ssize_t written = ::write(fd, cursor, left);
    if (written < 0) {
      if (errno != EINTR) error = errno;
      continue;
    }
    cursor += written;
    left -= static_cast<std::size_t>(written);
  }
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) Fail(error);
}

StagedFile::~StagedFile() {
  if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
}

void StagedFile::Fail(int error) const {
  if (!temp_.empty()) ::unlink(temp_.c_str());
  throw FileError(path_, FileErrorReason(error, ParentDirectory(target_), folder_made_));
}

void StagedFile::Commit() {
  if (::rename(temp_.c_str(), target_.c_str()) != 0) Fail(errno);
  committed_ = true;
}

bool StagedFile::CommitAsNew(const std::string& path) {
#if defined(RENAME_NOREPLACE)
  if (::renameat2(AT_FDCWD, temp_.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0) {
    committed_ = true;
    return true;
  }
  if (errno == EEXIST) return false;
  if (errno != EINVAL && errno != ENOSYS) Fail(errno);
#endif
  // A file system (or C library, as the web build's) without the exclusive rename: a hard link is
  // just as exclusive.
  if (::link(temp_.c_str(), path.c_str()) != 0) {
    if (errno == EEXIST) return false;
    Fail(errno);
  }
  ::unlink(temp_.c_str());
  committed_ = true;
  return true;
}

void WriteFileAtomically(const std::string& path, const void* bytes, std::size_t size,
                         bool folder_made) {
  StagedFile file(path, bytes, size, StagedFile::Destination::kReplace, folder_made);
  file.Commit();
}

}  // namespace card
