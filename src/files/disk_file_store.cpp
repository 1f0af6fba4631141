#include "files/disk_file_store.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "files/staged_file.h"
#include "raster/bmp_writer.h"

namespace card {

DiskFileStore::DiskFileStore(std::string home) : home_(std::move(home)) {
  RemoveTemporariesOnSignals();
}

std::string DiskFileStore::UserHome() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
  if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) {
    return entry->pw_dir;
  }
  return ".";
}

std::string DiskFileStore::NativePath(const std::string& path) const {
  std::string rest = path;
  if (rest.size() >= 3 && (rest[0] == 'C' || rest[0] == 'c') && rest[1] == ':' && rest[2] == '\\') {
    rest = home_ + "/" + rest.substr(3);
  }
  for (char& c : rest) {
    if (c == '\\') c = '/';
  }
  return rest;
}

void DiskFileStore::MkDir(const std::string& path) {
  const std::string native = NativePath(path);
  if (::mkdir(native.c_str(), 0777) != 0) {
    // There already, most likely: what a save that was killed left in it goes.
    RemoveStaleTemporaries(native);
    throw RuntimeError(ErrorNumber::kPathFileAccessError);
  }
}

void DiskFileStore::SavePicture(const PixelBuffer& image, const std::string& path) {
  SaveFile(EncodeBmp(image), path);
}

void DiskFileStore::SaveFile(const std::vector<std::uint8_t>& bytes, const std::string& path) {
  const std::string native = NativePath(path);
  // The folder may have gone since start-up; make it again before giving up.
  const std::string folder = ParentDirectory(native);
  if (::mkdir(folder.c_str(), 0777) != 0) RemoveStaleTemporaries(folder);
  WriteFileAtomically(native, bytes.data(), bytes.size(), true);
}

}  // namespace card
