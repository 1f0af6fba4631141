// Cards on disk: where a program path lands, the bitmap that is written (read back with a reader
// of its own), and a failed save that must never cost an earlier good file.
#include "files/disk_file_store.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "files/staged_file.h"

namespace card {
namespace {

namespace fs = std::filesystem;

// A home folder of its own for each test, removed afterwards.
class TempHome {
 public:
  TempHome() {
    std::string pattern = (fs::temp_directory_path() / "card-home-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempHome() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  TempHome(const TempHome&) = delete;
  TempHome& operator=(const TempHome&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

std::vector<std::string> FileNamesIn(const fs::path& directory) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::set<std::string> HiddenNamesIn(const fs::path& directory) {
  std::set<std::string> names;
  for (const std::string& name : FileNamesIn(directory)) {
    if (name.front() == '.') names.insert(name);
  }
  return names;
}

// Runs `work` in a child process and leaves it as `work` leaves it: ended, or stopped.
pid_t InChild(const std::function<void()>& work) {
  const pid_t child = ::fork();
  if (child == 0) {
    work();
    ::_exit(0);
  }
  return child;
}

// How a child ended: its signal, or 0 for a normal end.
int EndingSignal(pid_t child) {
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

// The temporary file that `make` leaves in `folder`, by name.
std::string LeftBehind(const fs::path& folder, const std::function<void()>& make) {
  const std::set<std::string> before = HiddenNamesIn(folder);
  make();
  for (const std::string& name : HiddenNamesIn(folder)) {
    if (before.count(name) == 0) return name;
  }
  return "";
}

// A small bitmap reader written from the format's description, independent of the writer: it
// accepts uncompressed 24-bit files with either row order.
struct DecodedBmp {
  int bits_per_pixel = 0;
  std::optional<PixelBuffer> pixels;
  std::string problem;
};

DecodedBmp DecodeBmp(const std::vector<std::uint8_t>& b) {
  DecodedBmp out;
  const auto u16 = [&](std::size_t at) {
    return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8);
  };
  const auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') {
    out.problem = "no BM header";
    return out;
  }
  if (u32(2) != b.size()) out.problem = "file size field " + std::to_string(u32(2));
  const std::uint32_t offset = u32(10);
  if (u32(14) < 40) {
    out.problem = "info header too small";
    return out;
  }
  const auto width = static_cast<std::int32_t>(u32(18));
  const auto height = static_cast<std::int32_t>(u32(22));
  out.bits_per_pixel = static_cast<int>(u16(28));
  if (u16(26) != 1 || out.bits_per_pixel != 24 || u32(30) != 0 || width <= 0 || height == 0) {
    out.problem = "not an uncompressed 24-bit bitmap";
    return out;
  }
  const bool bottom_up = height > 0;
  const int rows = bottom_up ? height : -height;
  const std::size_t row_size = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
  if (offset + row_size * static_cast<std::size_t>(rows) > b.size()) {
    out.problem = "pixel data cut short";
    return out;
  }
  PixelBuffer pixels(width, rows);
  for (int stored = 0; stored < rows; ++stored) {
    const int y = bottom_up ? rows - 1 - stored : stored;
    const std::size_t start = offset + row_size * static_cast<std::size_t>(stored);
    for (int x = 0; x < width; ++x) {
      const std::size_t at = start + static_cast<std::size_t>(x) * 3;
      pixels.scanline(y)[x] = 0xFF000000u | static_cast<std::uint32_t>(b[at + 2]) << 16 |
                              static_cast<std::uint32_t>(b[at + 1]) << 8 | b[at];
    }
  }
  out.pixels = std::move(pixels);
  return out;
}

// An odd-sized picture with distinct channels and marked corners, so a swapped red and blue, a
// flipped row order or a wrong row padding shows.
PixelBuffer TestPicture(int width, int height, std::uint32_t salt = 0) {
  PixelBuffer p(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t red = (static_cast<std::uint32_t>(x) * 5u + salt) & 0xFFu;
      const std::uint32_t green = (static_cast<std::uint32_t>(y) * 7u) & 0xFFu;
      const std::uint32_t blue = (static_cast<std::uint32_t>(x + 2 * y) * 3u + 40u) & 0xFFu;
      p.scanline(y)[x] = 0xFF000000u | red << 16 | green << 8 | blue;
    }
  }
  p.scanline(0)[0] = 0xFFFF0000u;                   // red, top left
  p.scanline(height - 1)[width - 1] = 0xFF0000FFu;  // blue, bottom right
  return p;
}

TEST(DiskFileStore, DriveRootStandsForTheHomeFolder) {
  DiskFileStore store("/home/someone");
  EXPECT_EQ(store.NativePath("C:\\wimgx\\X.bmp"), "/home/someone/wimgx/X.bmp");
  EXPECT_EQ(store.NativePath("C:\\wimgx"), "/home/someone/wimgx");
}

TEST(DiskFileStore, MkDirCreatesTheFolderAndRaisesWhenItExists) {
  TempHome home;
  DiskFileStore store(home.path().string());
  store.MkDir("C:\\wimgx");
  EXPECT_TRUE(fs::is_directory(home.path() / "wimgx"));
  EXPECT_THROW(store.MkDir("C:\\wimgx"), RuntimeError);
}

TEST(DiskFileStore, WritesA24BitBitmapThatDecodesToThePicture) {
  TempHome home;
  DiskFileStore store(home.path().string());
  for (const auto& [width, height] : {std::pair{47, 33}, std::pair{700, 525}, std::pair{1, 2}}) {
    SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
    const PixelBuffer picture = TestPicture(width, height);
    store.SavePicture(picture, "C:\\wimgx\\X.bmp");
    const DecodedBmp decoded = DecodeBmp(ReadBytes(home.path() / "wimgx" / "X.bmp"));
    EXPECT_EQ(decoded.problem, "");
    EXPECT_EQ(decoded.bits_per_pixel, 24);
    ASSERT_TRUE(decoded.pixels.has_value());
    EXPECT_EQ(decoded.pixels->width(), width);
    EXPECT_EQ(decoded.pixels->height(), height);
    EXPECT_EQ(decoded.pixels->at(0, 0), 0xFFFF0000u);
    EXPECT_EQ(decoded.pixels->at(width - 1, height - 1), 0xFF0000FFu);
    EXPECT_TRUE(*decoded.pixels == picture);
  }
}

TEST(DiskFileStore, SaveCreatesAMissingFolderAgain) {
  TempHome home;
  DiskFileStore store(home.path().string());
  store.MkDir("C:\\wimgx");
  fs::remove(home.path() / "wimgx");
  store.SavePicture(TestPicture(5, 4), "C:\\wimgx\\T20261231235958.bmp");
  EXPECT_TRUE(fs::is_regular_file(home.path() / "wimgx" / "T20261231235958.bmp"));
}

TEST(DiskFileStore, SecondSaveReplacesTheFileAndLeavesNothingElse) {
  TempHome home;
  DiskFileStore store(home.path().string());
  store.SavePicture(TestPicture(47, 33, 0), "C:\\wimgx\\X.bmp");
  const PixelBuffer second = TestPicture(31, 17, 99);
  store.SavePicture(second, "C:\\wimgx\\X.bmp");
  EXPECT_EQ(FileNamesIn(home.path() / "wimgx"), std::vector<std::string>{"X.bmp"});
  const DecodedBmp decoded = DecodeBmp(ReadBytes(home.path() / "wimgx" / "X.bmp"));
  ASSERT_TRUE(decoded.pixels.has_value()) << decoded.problem;
  EXPECT_TRUE(*decoded.pixels == second);
}

TEST(DiskFileStore, FolderThatCannotBeCreatedIsAClearError) {
  TempHome home;
  const fs::path not_a_folder = home.path() / "plain-file";
  std::ofstream(not_a_folder) << "in the way";
  DiskFileStore store(not_a_folder.string());
  EXPECT_THROW(store.MkDir("C:\\wimgx"), RuntimeError);
  try {
    store.SavePicture(TestPicture(5, 4), "C:\\wimgx\\X.bmp");
    ADD_FAILURE() << "the save did not fail";
  } catch (const FileError& error) {
    EXPECT_EQ(error.path(), (not_a_folder / "wimgx" / "X.bmp").string());
    EXPECT_NE(error.reason().find("does not exist"), std::string::npos) << error.reason();
    EXPECT_NE(error.reason().find("could not be created"), std::string::npos) << error.reason();
  }
}

TEST(DiskFileStore, FolderInPlaceOfTheFileIsAClearError) {
  TempHome home;
  DiskFileStore store(home.path().string());
  fs::create_directories(home.path() / "wimgx" / "X.bmp");
  try {
    store.SavePicture(TestPicture(5, 4), "C:\\wimgx\\X.bmp");
    ADD_FAILURE() << "the save did not fail";
  } catch (const FileError& error) {
    EXPECT_NE(error.reason().find("folder"), std::string::npos) << error.reason();
  }
  EXPECT_TRUE(fs::is_directory(home.path() / "wimgx" / "X.bmp"));
  EXPECT_EQ(FileNamesIn(home.path() / "wimgx"), std::vector<std::string>{"X.bmp"});
}

// What is at a card's path: a regular file is replaced, a link is followed to the file it points to
// (which is then replaced or made), and anything else is refused and left as it is.
TEST(DiskFileStore, OnlyARegularFileIsReplacedAndALinkIsFollowed) {
  TempHome home;
  DiskFileStore store(home.path().string());
  const fs::path folder = home.path() / "wimgx";
  fs::create_directories(folder / "elsewhere");
  const PixelBuffer picture = TestPicture(7, 5);
  const auto make_socket = [](const fs::path& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
  };
  const struct {
    std::string name;
    std::function<void(const fs::path&)> make;
    fs::file_type type_after;
    std::string written;  // the file that must hold the card, "" for a refusal
  } cases[] = {
      {"fifo.bmp", [](const fs::path& p) { ::mkfifo(p.c_str(), 0644); }, fs::file_type::fifo, ""},
      {"folder.bmp", [](const fs::path& p) { fs::create_directory(p); }, fs::file_type::directory,
       ""},
      {"socket.bmp", make_socket, fs::file_type::socket, ""},
      {"file.bmp", [](const fs::path& p) { std::ofstream(p) << "old"; }, fs::file_type::regular,
       "file.bmp"},
      {"link.bmp",
       [](const fs::path& p) {
         std::ofstream(p.parent_path() / "elsewhere" / "target.bmp") << "old";
         fs::create_symlink("elsewhere/target.bmp", p);
       },
       fs::file_type::symlink, "elsewhere/target.bmp"},
      {"dangling.bmp",
       [](const fs::path& p) { fs::create_symlink(p.parent_path() / "elsewhere" / "new.bmp", p); },
       fs::file_type::symlink, "elsewhere/new.bmp"},
  };
  for (const auto& [name, make, type_after, written] : cases) {
    SCOPED_TRACE(name);
    make(folder / name);
    try {
      store.SavePicture(picture, "C:\\wimgx\\" + name);
      EXPECT_FALSE(written.empty()) << "replaced";
    } catch (const FileError& error) {
      EXPECT_TRUE(written.empty()) << error.reason();
      EXPECT_NE(error.reason().find("left as it is"), std::string::npos) << error.reason();
    }
    EXPECT_EQ(fs::symlink_status(folder / name).type(), type_after);
    if (!written.empty()) {
      const DecodedBmp decoded = DecodeBmp(ReadBytes(folder / written));
      ASSERT_TRUE(decoded.pixels.has_value()) << decoded.problem;
      EXPECT_TRUE(*decoded.pixels == picture);
    }
  }
  for (const fs::path& where : {folder, folder / "elsewhere"}) {
    for (const std::string& name : FileNamesIn(where)) {
      EXPECT_NE(name.front(), '.') << "a temporary file was left: " << name;
    }
  }
}

TEST(DiskFileStore, NewFilesTakeTheUmaskAndReplacedFilesKeepTheirMode) {
  TempHome home;
  DiskFileStore store(home.path().string());
  const mode_t old_umask = ::umask(027);
  store.SavePicture(TestPicture(3, 3), "C:\\wimgx\\new.bmp");
  store.SavePicture(TestPicture(3, 3), "C:\\wimgx\\kept.bmp");
  fs::permissions(home.path() / "wimgx" / "kept.bmp",
                  fs::perms::owner_read | fs::perms::owner_write);
  store.SavePicture(TestPicture(4, 4), "C:\\wimgx\\kept.bmp");
  ::umask(old_umask);
  const auto mode = [&](const char* name) {
    return fs::status(home.path() / "wimgx" / name).permissions() & fs::perms::all;
  };
  using fs::perms;
  EXPECT_EQ(mode("new.bmp"), perms::owner_read | perms::owner_write | perms::group_read);
  EXPECT_EQ(mode("kept.bmp"), perms::owner_read | perms::owner_write);
}

// A batch's commit: a name that is taken, by a file or anything else, is never replaced.
TEST(StagedFile, CommitAsNewNeverReplaces) {
  TempHome home;
  const std::string folder = home.path().string();
  std::ofstream(home.path() / "taken.png") << "not ours";
  ::mkfifo((home.path() / "fifo.png").c_str(), 0644);
  StagedFile file(folder + "/taken.png", "card", 4, StagedFile::Destination::kNew);
  EXPECT_FALSE(file.CommitAsNew(folder + "/taken.png"));
  EXPECT_FALSE(file.CommitAsNew(folder + "/fifo.png"));
  EXPECT_TRUE(file.CommitAsNew(folder + "/taken-2.png"));
  const auto bytes = ReadBytes(home.path() / "taken.png");
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "not ours");
  const auto card = ReadBytes(home.path() / "taken-2.png");
  EXPECT_EQ(std::string(card.begin(), card.end()), "card");
  EXPECT_EQ(fs::symlink_status(home.path() / "fifo.png").type(), fs::file_type::fifo);
  EXPECT_EQ(FileNamesIn(home.path()).size(), 3u);
}

// Lowers the largest file this process may write, so a write fails part of the way through as on
// a full disk; the signal that would otherwise end the process is ignored meanwhile.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_limit_);
    old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lowered = old_limit_;
    lowered.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_limit_);
    std::signal(SIGXFSZ, old_handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_limit_{};
  void (*old_handler_)(int) = SIG_DFL;
};

TEST(DiskFileStore, WriteThatFailsMidwayKeepsTheEarlierFile) {
  TempHome home;
  DiskFileStore store(home.path().string());
  const PixelBuffer good = TestPicture(47, 33);
  store.SavePicture(good, "C:\\wimgx\\X.bmp");
  {
    FileSizeLimit limit(64 * 1024);
    EXPECT_THROW(store.SavePicture(TestPicture(700, 525), "C:\\wimgx\\X.bmp"), FileError);
  }
  EXPECT_EQ(FileNamesIn(home.path() / "wimgx"), std::vector<std::string>{"X.bmp"});
  const DecodedBmp decoded = DecodeBmp(ReadBytes(home.path() / "wimgx" / "X.bmp"));
  ASSERT_TRUE(decoded.pixels.has_value()) << decoded.problem;
  EXPECT_TRUE(*decoded.pixels == good);
}

TEST(DiskFileStore, ReadOnlyFolderIsAClearErrorAndKeepsTheEarlierFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
  TempHome home;
  DiskFileStore store(home.path().string());
  const PixelBuffer good = TestPicture(47, 33);
  store.SavePicture(good, "C:\\wimgx\\X.bmp");
  const fs::path folder = home.path() / "wimgx";
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  try {
    store.SavePicture(TestPicture(9, 9), "C:\\wimgx\\X.bmp");
    ADD_FAILURE() << "the save did not fail";
  } catch (const FileError& error) {
    EXPECT_NE(error.reason().find("permission"), std::string::npos) << error.reason();
  }
  fs::permissions(folder, fs::perms::owner_all);
  EXPECT_EQ(FileNamesIn(folder), std::vector<std::string>{"X.bmp"});
  const DecodedBmp decoded = DecodeBmp(ReadBytes(folder / "X.bmp"));
  ASSERT_TRUE(decoded.pixels.has_value()) << decoded.problem;
  EXPECT_TRUE(*decoded.pixels == good);
}

// What a save killed outright left goes at start-up (the folder made again) and at the next save;
// nothing else does: not a temporary file whose writer still runs or is stopped (it holds the
// file's lock), not a file named like one by chance, a link, or another user's file.
TEST(DiskFileStore, RemovesOnlyTemporariesWhoseWriterIsGone) {
  TempHome home;
  const fs::path folder = home.path() / "wimgx";
  const std::string card = (folder / "T20261231235958.bmp").string();
  const auto killed_save = [&] {
    // A child that dies with its temporary file written and not yet put in place.
    EndingSignal(InChild([&] {
      StagedFile file(card, "part", 4, StagedFile::Destination::kReplace);
      ::_exit(0);
    }));
  };
  for (const bool at_start_up : {true, false}) {
    SCOPED_TRACE(at_start_up ? "start-up" : "a save");
    fs::remove_all(folder);
    fs::create_directories(folder);
    DiskFileStore store(home.path().string());
    std::optional<StagedFile> writing;
    pid_t stopped = -1;
    std::string other_user;
    const struct {
      const char* what;
      std::function<void()> make;
      bool removed;
    } cases[] = {
        {"a save killed outright", killed_save, true},
        {"a save still writing",
         [&] { writing.emplace(card, "part", 4, StagedFile::Destination::kReplace); }, false},
        {"a stopped save",
         [&] {
           stopped = InChild([&] {
             StagedFile file(card, "part", 4, StagedFile::Destination::kReplace);
             ::raise(SIGSTOP);
           });
           int status = 0;
           ::waitpid(stopped, &status, WUNTRACED);
         },
         false},
        {"the user's own file named alike",
         [&] { std::ofstream(folder / ".notes.txt.newyear-card-0123456789ab") << "mine"; }, false},
        {"a link named like a leftover",
         [&] {
           const std::string name = LeftBehind(folder, killed_save);
           fs::rename(folder / name, folder / "moved");
           fs::create_symlink("moved", folder / name);
         },
         false},
        {"another user's leftover",
         [&] {
           if (::geteuid() != 0) return;  // only root can give a file away
           other_user = LeftBehind(folder, killed_save);
           ASSERT_EQ(::chown((folder / other_user).c_str(), 12345, 12345), 0);
         },
         false},
    };
    std::vector<std::pair<std::string, bool>> planted;
    for (const auto& [what, make, removed] : cases) {
      const std::string name = LeftBehind(folder, make);
      if (!name.empty()) planted.emplace_back(what + (": " + name), removed);
    }
    ASSERT_GE(planted.size(), 5u);
    if (at_start_up) {
      EXPECT_THROW(store.MkDir("C:\\wimgx"), RuntimeError);
    } else {
      store.SavePicture(TestPicture(5, 4), "C:\\wimgx\\X.bmp");
    }
    const std::set<std::string> left = HiddenNamesIn(folder);
    for (const auto& [what_and_name, removed] : planted) {
      const std::string name = what_and_name.substr(what_and_name.find(": ") + 2);
      EXPECT_EQ(left.count(name) == 0, removed) << what_and_name;
    }
    if (stopped > 0) {
      ::kill(stopped, SIGKILL);
      EndingSignal(stopped);
    }
  }
}

// A program that saves through the store and is ended by a signal leaves no temporary file, and
// files committed together while signals are held back are all in place before the signal ends it.
TEST(DiskFileStore, SignalsLeaveNoHalfWrittenFiles) {
  const struct {
    const char* what;
    std::function<void(const fs::path&)> child;
    std::vector<std::string> written;  // the files there afterwards
  } cases[] = {
      {"SIGTERM in the middle of a save's write",
       [](const fs::path& home) {
         DiskFileStore store(home.string());
         // The write that crosses the size limit raises SIGXFSZ while the temporary file is half
         // written; SIGTERM comes then.
         const rlimit limit{64 * 1024, RLIM_INFINITY};
         ::setrlimit(RLIMIT_FSIZE, &limit);
         std::signal(SIGXFSZ, [](int) { ::raise(SIGTERM); });
         store.SavePicture(TestPicture(700, 525), "C:\\wimgx\\X.bmp");
       },
       {}},
      {"SIGTERM between two commits",
       [](const fs::path& home) {
         StagedFile card((home / "card.bmp").string(), "card", 4,
                         StagedFile::Destination::kReplace);
         StagedFile recipe((home / "card.json").string(), "recipe", 6,
                           StagedFile::Destination::kReplace);
         DiskFileStore store(home.string());  // the signal clean-up
         const TerminationSignalsHeld together;
         ::raise(SIGTERM);
         card.Commit();
         recipe.Commit();
       },
       {"card.bmp", "card.json"}},
  };
  for (const auto& [what, child_work, written] : cases) {
    SCOPED_TRACE(what);
    TempHome home;
    fs::create_directories(home.path() / "wimgx");
    EXPECT_EQ(EndingSignal(InChild([&] { child_work(home.path()); })), SIGTERM);
    EXPECT_TRUE(HiddenNamesIn(home.path() / "wimgx").empty());
    EXPECT_TRUE(HiddenNamesIn(home.path()).empty());
    for (const std::string& name : written) {
      EXPECT_TRUE(fs::is_regular_file(home.path() / name)) << name << " was not put in place";
    }
  }
}

}  // namespace
}  // namespace card
