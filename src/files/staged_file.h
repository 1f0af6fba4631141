#pragma once

#include <signal.h>
#include <sys/types.h>

#include <cstddef>
#include <string>

#include "files/file_descriptor.h"

namespace card {

// A file written in full to a temporary file beside its destination and only then put in place, so
// a destination is never left half written and several files can be committed together once all
// of them are written. The writer holds a lock on its temporary file for as long as it lives, so
// that a clean-up never takes a temporary file whose writer is still there (running, stopped or
// slow). Errors are FileError with a reason a user can act on.
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
  FileDescriptor lock_;  // holds the temporary file's lock until it is committed or removed
  bool folder_made_;
  bool committed_ = false;
};

// Where a file written to `path` with Destination::kReplace goes: the path itself, or the final
// target of the symbolic links there. Links are followed as the kernel's protected_symlinks rule
// allows, on the whole way there (see CheckLinksOnTheWay). Throws FileError for a link that may
// not be followed and for anything but a regular file in the way, having changed nothing.
struct ResolvedDestination {
  std::string target;
  bool exists = false;
  mode_t mode = 0;  // of the existing file
};
ResolvedDestination ResolveDestination(const std::string& path, bool folder_made = false);

// The kernel's protected_symlinks rule, applied whether or not the kernel applies it, to every
// symbolic link met on the way to `path` (each folder of it, the last part, and the links those
// lead to, however the path is spelt: "cards/", "cards/."): a link in a folder that is sticky and
// that everyone may write in (/tmp) is followed only when it belongs to the folder's owner or to
// the caller. Throws FileError naming `shown` (with `action`) for a link that belongs to another
// user; anything else is left for the caller's own use of the path to report.
void CheckLinksOnTheWay(const std::string& path, const std::string& shown,
                        const std::string& action = "cannot write");

// True when the two paths, once links are followed, name one file (or would create one file).
bool SameDestination(const std::string& first, const std::string& second);

// Writes a whole file through a StagedFile that replaces the destination.
void WriteFileAtomically(const std::string& path, const void* bytes, std::size_t size,
                         bool folder_made = false);

// Removes the temporary files that StagedFile leaves when the program is ended by SIGINT, SIGTERM,
// SIGHUP or SIGPIPE, and then ends it by that signal as before. A signal the program was started
// with ignored stays ignored.
void RemoveTemporariesOnSignals();

// Holds back, on the calling thread, the signals that end a program and that it may catch, for as
// long as it lives: files committed meanwhile are all put in place before a signal that came in
// between takes effect (the handler above then finds nothing left to remove).
class TerminationSignalsHeld {
 public:
  TerminationSignalsHeld();
  ~TerminationSignalsHeld();
  TerminationSignalsHeld(const TerminationSignalsHeld&) = delete;
  TerminationSignalsHeld& operator=(const TerminationSignalsHeld&) = delete;

 private:
  sigset_t previous_{};
};

// Removes from `folder` the temporary files whose writer is gone: what an earlier run left when it
// was killed outright (SIGKILL, power loss). Only files that are ours by name (the marker and a
// check on the name), the caller's own regular files, and only when their lock can be taken: a
// writer that still runs, or is stopped, holds it. Errors are ignored.
void RemoveStaleTemporaries(const std::string& folder);

// A reason a user can act on for an error met creating or writing a file in `directory`. Paths in
// it are shown with their control characters escaped.
std::string FileErrorReason(int error, const std::string& directory, bool folder_made = false);

// The folder part of a path: "." for a bare name, "/" for a file in the root.
std::string ParentDirectory(const std::string& path);

}  // namespace card
