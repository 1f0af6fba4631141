#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

#include "files/file_descriptor.h"

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
  // Opens the temporary file empty, for a file whose content comes as work goes on (a batch's
  // record) through Append; committing it writes the rest to disk first.
  StagedFile(const std::string& path, Destination destination, bool folder_made = false);
  ~StagedFile();  // removes the temporary file unless it was committed
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  // Adds to the end of a file opened empty.
  void Append(const void* bytes, std::size_t size);

  // Puts the file in place of the destination (Destination::kReplace).
  void Commit();
  // Puts the file in place under `path`, a name in the destination's folder, only when nothing has
  // that name; returns false and keeps the temporary file for another name otherwise.
  bool CommitAsNew(const std::string& path);

 private:
  [[noreturn]] void Fail(int error);
  // On disk and closed, before it is put in place.
  void Finish();

  std::string path_;    // as given, for messages
  std::string target_;  // where the file goes: the path, or the final target of a link
  std::string temp_;
  FileDescriptor file_;  // open until finished
  int temp_slot_ = -1;   // where the temporary file is registered for removal on a signal
  bool folder_made_;
  bool committed_ = false;
};

// Where a file written to `path` with Destination::kReplace goes: the path itself, or the final
// target of the symbolic links there. Links are followed as the kernel's protected_symlinks rule
// allows: in a folder that is sticky and writable by everyone (/tmp), only a link owned by the
// folder's owner or by the caller. Throws FileError for a link that may not be followed and for
// anything but a regular file in the way, having changed nothing.
struct ResolvedDestination {
  std::string target;
  bool exists = false;
  mode_t mode = 0;  // of the existing file
};
ResolvedDestination ResolveDestination(const std::string& path, bool folder_made = false);

// False for a symbolic link at `path` that the protected_symlinks rule above does not let anyone
// but its owner follow; true for anything else.
bool MayFollowLink(const std::string& path);

// True when the two paths, once links are followed, name one file (or would create one file).
bool SameDestination(const std::string& first, const std::string& second);

// Writes a whole file through a StagedFile that replaces the destination.
void WriteFileAtomically(const std::string& path, const void* bytes, std::size_t size,
                         bool folder_made = false);

// Removes the temporary files that StagedFile leaves when the program is ended by SIGINT, SIGTERM,
// SIGHUP or SIGPIPE, and then ends it by that signal as before. A signal the program was started
// with ignored stays ignored.
void RemoveTemporariesOnSignals();

// Removes from `folder` the caller's own temporary files that are older than a minute: what an
// earlier run left when it was killed outright (SIGKILL, power loss). Errors are ignored.
void RemoveStaleTemporaries(const std::string& folder);

// A reason a user can act on for an error met creating or writing a file in `directory`.
std::string FileErrorReason(int error, const std::string& directory, bool folder_made = false);

// The folder part of a path: "." for a bare name, "/" for a file in the root.
std::string ParentDirectory(const std::string& path);

}  // namespace card
