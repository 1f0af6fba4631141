#include "files/staged_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string_view>
#include <vector>

#include "files/file_descriptor.h"
#include "platform/platform.h"
#include "services/text.h"

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

// Temporary files are hidden, beside their destination, and end in this marker, eight random hex
// digits and four that check the name before them, so a later run can tell its own leftovers from
// anything else, a file named like them by chance included.
constexpr char kTempMarker[] = ".newyear-card-";
constexpr std::size_t kTempMarkerBytes = sizeof kTempMarker - 1;
constexpr std::size_t kTempRandomDigits = 8;
constexpr std::size_t kTempCheckDigits = 4;
constexpr std::size_t kTempDigits = kTempRandomDigits + kTempCheckDigits;
// The longest file name most file systems take (NAME_MAX).
constexpr std::size_t kMaxFileNameBytes = 255;

// FNV-1a of the name, folded to 16 bits.
unsigned NameCheck(std::string_view name) {
  std::uint32_t hash = 2166136261u;
  for (const char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return (hash ^ (hash >> 16)) & 0xFFFFu;
}

// A name for the temporary file that no one else would pick. A long destination name is cut so
// that the temporary name stays a legal name too.
std::string TempName(const std::string& target) {
  thread_local std::mt19937_64 random{std::random_device{}()};
  const auto slash = target.find_last_of('/');
  std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  const std::size_t room = kMaxFileNameBytes - 1 - kTempMarkerBytes - kTempDigits;
  if (base.size() > room) base.resize(room);
  char digits[16];
  std::snprintf(digits, sizeof digits, "%08llx",
                static_cast<unsigned long long>(random() & 0xFFFFFFFFull));
  const std::string name = "." + base + kTempMarker + digits;
  std::snprintf(digits, sizeof digits, "%04x", NameCheck(name));
  return ParentDirectory(target) + "/" + name + digits;
}

bool IsTemporaryName(const std::string& name) {
  const std::size_t tail = kTempMarkerBytes + kTempDigits;
  if (name.size() < tail + 1 || name.front() != '.') return false;
  if (name.compare(name.size() - tail, kTempMarkerBytes, kTempMarker) != 0) return false;
  unsigned check = 0;
  for (std::size_t k = name.size() - kTempDigits; k < name.size(); ++k) {
    const char c = name[k];
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    if (k >= name.size() - kTempCheckDigits) {
      check = check * 16 + static_cast<unsigned>(c <= '9' ? c - '0' : c - 'a' + 10);
    }
  }
  return check == NameCheck(std::string_view(name).substr(0, name.size() - kTempCheckDigits));
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Takes the lock that marks a temporary file as being written. False when it cannot be had at
// once: its writer lives.
bool TryLock(int file) {
  for (;;) {
    if (::flock(file, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno != EINTR) return false;
  }
}

// The temporary files being written, for a signal handler to remove: fixed slots, since a handler
// may neither allocate nor lock. A slot is 0 when free, 1 while being filled, 2 when it holds the
// path of a temporary file that may exist.
struct TempSlot {
  std::atomic<int> state{0};
  char path[PATH_MAX];
};
constexpr int kTempSlots = 128;
TempSlot temp_slots[kTempSlots];

int RegisterTemporary(const std::string& path) {
  if (path.size() >= PATH_MAX) return -1;
  for (int k = 0; k < kTempSlots; ++k) {
    int free = 0;
    if (temp_slots[k].state.compare_exchange_strong(free, 1)) {
      std::memcpy(temp_slots[k].path, path.c_str(), path.size() + 1);
      temp_slots[k].state = 2;
      return k;
    }
  }
  return -1;  // more files at once than slots: this one is not removed on a signal
}

void ReleaseTemporary(int slot) {
  if (slot >= 0) temp_slots[slot].state = 0;
}

void RemoveTemporariesAndDie(int signal_number) {
  for (TempSlot& slot : temp_slots) {
    if (slot.state.load() == 2) ::unlink(slot.path);
  }
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  ::sigaction(signal_number, &action, nullptr);
  ::raise(signal_number);
}

// The kernel's protected_symlinks rule: a link in a sticky folder that everyone may write in is
// followed only when its owner is the folder's owner or the caller, so nobody can plant a link
// there that turns our write into a write elsewhere.
bool MayFollow(const std::string& link, const struct stat& link_info) {
  struct stat folder {};
  if (::stat(ParentDirectory(link).c_str(), &folder) != 0) return false;
  const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
  return !shared || link_info.st_uid == folder.st_uid || link_info.st_uid == ::geteuid();
}

std::string PlantedLinkReason(const std::string& link, const struct stat& link_info) {
  return PrintableText(link) + " is a symbolic link that belongs to another user (uid " +
         std::to_string(link_info.st_uid) + ") in " + PrintableText(ParentDirectory(link)) +
         ", a folder everyone may write in; it was not followed and nothing was written";
}

// Where the link at `link`, reading `text`, leads: an absolute path as it is, a relative one from
// the link's folder.
std::string LinkTarget(const std::string& link, const std::string& text) {
  return text.front() == '/' ? text : ParentDirectory(link) + "/" + text;
}

// Every part of `path` in turn; a link met is checked and the path it leads to checked in turn.
// `hops` counts the links followed, as the kernel does, so a circle ends.
void CheckEachPart(const std::string& path, const std::string& shown, const std::string& action,
                   int& hops) {
  std::string prefix = path.starts_with('/') ? "/" : "";
  for (std::size_t start = 0; start <= path.size();) {
    const std::size_t end = std::min(path.find('/', start), path.size());
    const std::string part = path.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == ".") continue;
    prefix += (prefix.empty() || prefix.back() == '/' ? "" : "/") + part;
    struct stat info {};
    if (::lstat(prefix.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) continue;
    if (!MayFollow(prefix, info)) {
      throw FileError(shown, PlantedLinkReason(prefix, info), 0, action);
    }
    const std::string text = ReadLink(prefix);
    if (text.empty() || ++hops > kMaxLinkHops) return;  // the caller's own use reports it
    CheckEachPart(LinkTarget(prefix, text), shown, action, hops);
  }
}

// Why `target` could not be replaced when the reason is its owner: in a sticky folder that the
// caller may write in, only the owner of a file (or of the folder) may replace it.
std::string OwnershipReason(const std::string& target) {
  const std::string folder_path = ParentDirectory(target);
  struct stat file {
  }, folder{};
  if (::lstat(target.c_str(), &file) != 0 || ::stat(folder_path.c_str(), &folder) != 0 ||
      (folder.st_mode & S_ISVTX) == 0 || file.st_uid == ::geteuid() ||
      folder.st_uid == ::geteuid() ||
      ::faccessat(AT_FDCWD, folder_path.c_str(), W_OK, AT_EACCESS) != 0) {
    return "";
  }
  return PrintableText(target) + " belongs to another user (uid " + std::to_string(file.st_uid) +
         ") in the sticky folder " + PrintableText(ParentDirectory(target)) +
         ", where only a file's owner may replace it";
}

// The folder part of a path with its links resolved, for comparing two destinations.
std::string CanonicalPath(const std::string& path) {
  char* folder = ::realpath(ParentDirectory(path).c_str(), nullptr);
  if (folder == nullptr) return path;
  const auto slash = path.find_last_of('/');
  std::string result =
      std::string(folder) + "/" + (slash == std::string::npos ? path : path.substr(slash + 1));
  std::free(folder);
  return result;
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
    case ENOENT: {
      // A folder that is there but takes no new files (/proc) says so with the same error.
      struct stat info {};
      if (::stat(directory.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        return "cannot create files in the folder " + PrintableText(directory) + ": " +
               std::strerror(error);
      }
      return "the folder " + PrintableText(directory) +
             (folder_made ? " does not exist and could not be created" : " does not exist");
    }
    case ENOTDIR: {
      const std::string file = FileInPathOf(directory);
      const std::string why = file.empty() ? "a part of its path is not a folder"
                                           : PrintableText(file) + " is a file, not a folder";
      return "the folder " + PrintableText(directory) +
             (folder_made ? " does not exist and could not be created: " : " cannot be used: ") +
             why;
    }
    case EACCES:
    case EPERM:
      return "no permission to write in the folder " + PrintableText(directory);
    case EROFS:
      return "the folder " + PrintableText(directory) + " is on a read-only disk";
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

ResolvedDestination ResolveDestination(const std::string& path, bool folder_made) {
  if (path.empty()) throw FileError(path, "the file name is empty");
  CheckLinksOnTheWay(ParentDirectory(path), path);
  ResolvedDestination result{path};
  std::string& target = result.target;
  for (int hops = 0;; ++hops) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0) {
      if (errno == ENOENT) return result;  // a new file, or a link to where a file will be
      const int error = errno;
      throw FileError(path, FileErrorReason(error, ParentDirectory(target), folder_made), error);
    }
    if (S_ISLNK(info.st_mode)) {
      if (!MayFollow(target, info)) throw FileError(path, PlantedLinkReason(target, info));
      const std::string link = ReadLink(target);
      if (link.empty() || hops >= kMaxLinkHops) {
        const int error = link.empty() ? errno : ELOOP;
        throw FileError(path, FileErrorReason(error, ParentDirectory(target)), error);
      }
      target = LinkTarget(target, link);
      CheckLinksOnTheWay(ParentDirectory(target), path);
      continue;
    }
    if (!S_ISREG(info.st_mode)) {
      throw FileError(path, (target == path ? "it is " : PrintableText(target) + " is ") +
                                KindOf(info.st_mode) + ", not a file; it was left as it is");
    }
    result.exists = true;
    result.mode = info.st_mode & 07777;
    return result;
  }
}

void CheckLinksOnTheWay(const std::string& path, const std::string& shown,
                        const std::string& action) {
  int hops = 0;
  CheckEachPart(path, shown, action, hops);
}

bool SameDestination(const std::string& first, const std::string& second) {
  const ResolvedDestination a = ResolveDestination(first);
  const ResolvedDestination b = ResolveDestination(second);
  struct stat info_a {
  }, info_b{};
  if (a.exists && b.exists && ::stat(a.target.c_str(), &info_a) == 0 &&
      ::stat(b.target.c_str(), &info_b) == 0) {
    return info_a.st_dev == info_b.st_dev && info_a.st_ino == info_b.st_ino;
  }
  return CanonicalPath(a.target) == CanonicalPath(b.target);
}

StagedFile::StagedFile(const std::string& path, const void* bytes, std::size_t size,
                       Destination destination, bool folder_made)
    : StagedFile(path, destination, folder_made) {
  Append(bytes, size);
  Finish();
}

StagedFile::StagedFile(const std::string& path, Destination destination, bool folder_made)
    : path_(path), target_(path), folder_made_(folder_made) {
  if (path.empty()) throw FileError(path, "the file name is empty");
  bool replacing = false;
  mode_t mode = 0;
  if (destination == Destination::kReplace) {
    const ResolvedDestination resolved = ResolveDestination(path, folder_made);
    target_ = resolved.target;
    replacing = resolved.exists;
    mode = resolved.mode;
  }

  for (int attempt = 0; !file_.valid(); ++attempt) {
    temp_ = TempName(target_);
    // Registered before it exists, so that a signal from here on removes it.
    temp_slot_ = RegisterTemporary(temp_);
    // The kernel takes the umask off 0666, as for any new file.
    file_ = FileDescriptor(::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    int error = file_.valid() ? 0 : errno;
    if (file_.valid()) {
      // Locked at once; a clean-up that came first and took the new file leaves it without a
      // name, and another name is tried. A file system without locks goes without.
      while (::flock(file_.get(), LOCK_EX) != 0 && errno == EINTR) {
      }
      struct stat info {};
      if (::fstat(file_.get(), &info) == 0 && info.st_nlink == 0) {
        file_ = FileDescriptor();
        error = EEXIST;
      }
    }
    if (!file_.valid()) {
      ReleaseTemporary(temp_slot_);
      temp_slot_ = -1;
      if (error != EEXIST || attempt >= 100) {
        temp_.clear();
        Fail(error);
      }
    }
  }
  // The lock stays with the open file as long as a descriptor of it is open: this one, kept after
  // the written one is closed (its close may report a failed write).
  lock_ = FileDescriptor(::fcntl(file_.get(), F_DUPFD_CLOEXEC, 0));
  if (!lock_.valid()) Fail(errno);
  if (replacing && ::fchmod(file_.get(), mode) != 0) Fail(errno);
}

void StagedFile::Append(const void* bytes, std::size_t size) {
  const auto* cursor = static_cast<const char*>(bytes);
  for (std::size_t left = size; left > 0;) {
    const ssize_t written = ::write(file_.get(), cursor, left);
    if (written < 0) {
      if (errno != EINTR) Fail(errno);
      continue;
    }
    cursor += written;
    left -= static_cast<std::size_t>(written);
  }
}

void StagedFile::Finish() {
  if (!file_.valid()) return;
  int error = ::fsync(file_.get()) != 0 ? errno : 0;
  if (const int closed = file_.Close(); closed != 0 && error == 0) error = closed;
  if (error != 0) Fail(error);
}

StagedFile::~StagedFile() {
  if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
  ReleaseTemporary(temp_slot_);
}

void StagedFile::Fail(int error) {
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
  ReleaseTemporary(temp_slot_);
  temp_slot_ = -1;
  std::string reason = error == EPERM || error == EACCES ? OwnershipReason(target_) : "";
  if (reason.empty()) reason = FileErrorReason(error, ParentDirectory(target_), folder_made_);
  throw FileError(path_, reason, error);
}

void StagedFile::Commit() {
  Finish();
  if (::rename(temp_.c_str(), target_.c_str()) != 0) Fail(errno);
  committed_ = true;
  ReleaseTemporary(temp_slot_);
  temp_slot_ = -1;
  lock_.Close();
}

bool StagedFile::CommitAsNew(const std::string& path) {
  Finish();
#if defined(RENAME_NOREPLACE)
  if (::renameat2(AT_FDCWD, temp_.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0) {
    committed_ = true;
    ReleaseTemporary(temp_slot_);
    temp_slot_ = -1;
    lock_.Close();
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
  ReleaseTemporary(temp_slot_);
  temp_slot_ = -1;
  lock_.Close();
  return true;
}

void WriteFileAtomically(const std::string& path, const void* bytes, std::size_t size,
                         bool folder_made) {
  StagedFile file(path, bytes, size, StagedFile::Destination::kReplace, folder_made);
  file.Commit();
}

void RemoveTemporariesOnSignals() {
  for (const int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
    struct sigaction previous {};
    if (::sigaction(signal_number, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) {
      continue;
    }
    struct sigaction action {};
    action.sa_handler = RemoveTemporariesAndDie;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal_number, &action, nullptr);
  }
}

TerminationSignalsHeld::TerminationSignalsHeld() {
  sigset_t held;
  sigfillset(&held);
  // The signals of a fault are the program's own and cannot wait.
  for (const int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGSYS, SIGABRT}) {
    sigdelset(&held, fault);
  }
  ::pthread_sigmask(SIG_BLOCK, &held, &previous_);
}

TerminationSignalsHeld::~TerminationSignalsHeld() {
  ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

void RemoveStaleTemporaries(const std::string& folder) {
  const std::unique_ptr<DIR, int (*)(DIR*)> listing_owner(::opendir(folder.c_str()), ::closedir);
  DIR* listing = listing_owner.get();
  if (listing == nullptr) return;
  const int at = ::dirfd(listing);
  while (const dirent* entry = ::readdir(listing)) {
    const std::string name = entry->d_name;
    if (!IsTemporaryName(name)) continue;
    struct stat seen {};
    // Only the caller's own regular files: never another user's, even for root.
    if (::fstatat(at, name.c_str(), &seen, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(seen.st_mode) ||
        seen.st_uid != ::geteuid()) {
      continue;
    }
    const FileDescriptor file(
        ::openat(at, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat opened {};
    if (!file.valid() || ::fstat(file.get(), &opened) != 0 || !SameFile(opened, seen) ||
        !TryLock(file.get())) {
      continue;
    }
    // Locked, so its writer is gone; removed only while the name still holds that very file.
    struct stat now {};
    if (::fstatat(at, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(now, opened)) {
      ::unlinkat(at, name.c_str(), 0);
    }
  }
}

}  // namespace card
