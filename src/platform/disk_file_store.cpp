#include "platform/disk_file_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/bmp_writer.h"

namespace card {
namespace {

std::string ParentDirectory(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// A reason a user can act on, for the errors that saving meets in practice.
std::string Reason(int error, const std::string& directory, bool folder_made = false) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return "the folder " + directory +
             (folder_made ? " does not exist and could not be created" : " does not exist");
    case EACCES:
    case EPERM:
      return "no permission to write in the folder " + directory;
    case EROFS:
      return "the folder " + directory + " is on a read-only disk";
    case ENOSPC:
    case EDQUOT:
      return "the disk is full";
    case EISDIR:
      return "a folder with the file's name is in the way";
    default:
      return std::strerror(error);
  }
}

}  // namespace

DiskFileStore::DiskFileStore(std::string home) : home_(std::move(home)) {}

std::string DiskFileStore::UserHome() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
  if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) {
    return entry->pw_dir;
  }
  return ".";
}

std::string DiskFileStore::NativePath(const std::string& path) const {
#ifdef _WIN32
  return path;
#else
  std::string rest = path;
  if (rest.size() >= 3 && (rest[0] == 'C' || rest[0] == 'c') && rest[1] == ':' && rest[2] == '\\') {
    rest = home_ + "/" + rest.substr(3);
  }
  for (char& c : rest) {
    if (c == '\\') c = '/';
  }
  return rest;
#endif
}

void DiskFileStore::MkDir(const std::string& path) {
  if (::mkdir(NativePath(path).c_str(), 0777) != 0) {
    throw RuntimeError(ErrorNumber::kPathFileAccessError);
  }
}

void DiskFileStore::SavePicture(const PixelBuffer& image, const std::string& path) {
  const std::string native = NativePath(path);
  // The folder may have gone since start-up; make it again before giving up.
  ::mkdir(ParentDirectory(native).c_str(), 0777);
  const std::vector<std::uint8_t> bytes = EncodeBmp(image);
  WriteFileAtomically(native, bytes.data(), bytes.size(), true);
}

void DiskFileStore::WriteFileAtomically(const std::string& native_path, const void* bytes,
                                        std::size_t size, bool folder_made) {
  const std::string directory = ParentDirectory(native_path);
  struct stat info {};
  if (::stat(native_path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    throw FileError(native_path, Reason(EISDIR, directory));
  }
  const auto slash = native_path.find_last_of('/');
  const std::string base = slash == std::string::npos ? native_path : native_path.substr(slash + 1);
  std::string temp = directory + "/." + base + ".XXXXXX";
  std::vector<char> temp_name(temp.begin(), temp.end());
  temp_name.push_back('\0');
  const int fd = ::mkstemp(temp_name.data());
  if (fd < 0) throw FileError(native_path, Reason(errno, directory, folder_made));
  temp.assign(temp_name.data());

  const auto fail = [&](int error) {
    ::close(fd);
    ::unlink(temp.c_str());
    throw FileError(native_path, Reason(error, directory, folder_made));
  };
  const auto* cursor = static_cast<const char*>(bytes);
  std::size_t left = size;
  while (left > 0) {
    const ssize_t written = ::write(fd, cursor, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      fail(errno);
    }
    cursor += written;
    left -= static_cast<std::size_t>(written);
  }
  ::fchmod(fd, 0644);
  if (::fsync(fd) != 0) fail(errno);
  if (::close(fd) != 0) {
    const int error = errno;
    ::unlink(temp.c_str());
    throw FileError(native_path, Reason(error, directory, folder_made));
  }
  if (::rename(temp.c_str(), native_path.c_str()) != 0) {
    const int error = errno;
    ::unlink(temp.c_str());
    throw FileError(native_path, Reason(error, directory, folder_made));
  }
}

}  // namespace card
