#pragma once

#include <cstddef>
#include <string>

namespace card {

// A file written in full to a temporary file beside its destination and only then put in place, so
// a destination is never left half written and several files can be committed together once all
// of them are written. Errors are FileError with a reason a user can act on.
class StagedFile {
 public:
  enum class Destination {
    // Replace what is there: a regular file is replaced and keeps its mode; a symbolic link is
    // followed and the file it points to is replaced (the link stays); anything else (a folder,
    // device, FIFO or socket) is refused before anything is written.
    kReplace,
    // Only ever take a free name (see CommitAsNew).
    kNew,
  };

  // Writes the temporary file; a new file gets 0666 less the umask. `folder_made` says the caller
  // already tried to create a missing folder.
  StagedFile(const std::string& path, const void* bytes, std::size_t size, Destination destination,
             bool folder_made = false);
  ~StagedFile();  // removes the temporary file unless it was committed
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  // Puts the file in place of the destination (Destination::kReplace).
  void Commit();
  // Puts the file in place under `path`, a name in the destination's folder, only when nothing has
  // that name; returns false and keeps the temporary file for another name otherwise.
  bool CommitAsNew(const std::string& path);

 private:
  [[noreturn]] void Fail(int error) const;

  std::string path_;    // as given, for messages
  std::string target_;  // where the file goes: the path, or the final target of a link
  std::string temp_;
  bool folder_made_;
  bool committed_ = false;
};

// Writes a whole file through a StagedFile that replaces the destination.
void WriteFileAtomically(const std::string& path, const void* bytes, std::size_t size,
                         bool folder_made = false);

// A reason a user can act on for an error met creating or writing a file in `directory`.
std::string FileErrorReason(int error, const std::string& directory, bool folder_made = false);

// The folder part of a path: "." for a bare name, "/" for a file in the root.
std::string ParentDirectory(const std::string& path);

}  // namespace card
