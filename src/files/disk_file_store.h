#pragma once

#include <string>

#include "platform/platform.h"

namespace card {

// Files on this machine's disk. On Windows program paths are used as they are; elsewhere the drive
// root "C:\" stands for `home` (the user's home directory), so "C:\wimgx" is ~/wimgx.
// No half-written card stays behind: a program with a store removes the temporary file of a save
// when a signal ends it (RemoveTemporariesOnSignals), and the temporary files that a save killed
// outright left (RemoveStaleTemporaries) go when the folder is made at start-up and at each save.
class DiskFileStore final : public FileStore {
 public:
  explicit DiskFileStore(std::string home);
  // $HOME, or the password database's home directory when it is unset.
  static std::string UserHome();

  void MkDir(const std::string& path) override;
  void SavePicture(const PixelBuffer& image, const std::string& path) override;
  void SaveFile(const std::vector<std::uint8_t>& bytes, const std::string& path) override;
  std::string NativePath(const std::string& path) const override;

 private:
  std::string home_;
};

}  // namespace card
