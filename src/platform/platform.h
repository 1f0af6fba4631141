#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "numeric/runtime_error.h"
#include "platform/surface.h"
#include "services/clock.h"
#include "services/text.h"

namespace card {

// The services of the window system that the card's procedures call. The Qt window implements
// them for the desktop; the in-memory platform implements them for tests and headless rendering.

class NameDialog {
 public:
  virtual ~NameDialog() = default;
  // Shows the modal input dialog with an empty text box, its top left corner at the given
  // distance from the screen's corner in twips. Returns the typed text (UTF-8), or "" when the
  // user cancels or closes it.
  virtual std::string InputBox(const std::string& prompt, int left_twips, int top_twips) = 0;
};

class EventPump {
 public:
  virtual ~EventPump() = default;
  // Runs pending window events (clicks, repaints) to completion before returning.
  virtual void DoEvents() = 0;
};

// A file could not be read or written (`action`, "cannot write" unless said otherwise); `reason`
// says why in words a user understands. what() is the whole message: "cannot write PATH: REASON",
// the path with its control characters escaped, so a name cannot talk to the terminal.
class FileError : public std::runtime_error {
 public:
  FileError(std::string path, std::string reason, int error_number = 0,
            std::string action = "cannot write")
      : std::runtime_error(action + " " + PrintableText(path) + ": " + reason),
        path_(std::move(path)),
        reason_(std::move(reason)),
        error_number_(error_number) {}
  const std::string& path() const { return path_; }
  const std::string& reason() const { return reason_; }
  // The system's error number behind it (ENOSPC, ...), or 0 when the program found the fault.
  int error_number() const { return error_number_; }

 private:
  std::string path_;
  std::string reason_;
  int error_number_;
};

// Files in the program's own path form ("C:\wimgx\T20261231235958.bmp"). Away from Windows the
// drive root "C:\" stands for the user's home directory.
class FileStore {
 public:
  virtual ~FileStore() = default;
  // Creates a directory; raises a RuntimeError when it exists already or cannot be created.
  virtual void MkDir(const std::string& path) = 0;
  // Writes the image as a bitmap file, replacing an existing file only once the new one is
  // complete. Throws FileError.
  virtual void SavePicture(const PixelBuffer& image, const std::string& path) = 0;
  // Writes the bytes as a file (the card's video), made whole before it replaces anything, in a
  // folder made again if it has gone. Throws FileError.
  virtual void SaveFile(const std::vector<std::uint8_t>& bytes, const std::string& path) = 0;
  // Where a program path really lies on this machine.
  virtual std::string NativePath(const std::string& path) const = 0;
};

class Messages {
 public:
  virtual ~Messages() = default;
  virtual void ShowSaveError(const std::string& path, const std::string& reason) = 0;
  // Where a saved card went, told without stopping the user.
  virtual void ShowSaved(const std::string& path) = 0;
  // The last resort for an error that leaves a button handler.
  virtual void ShowRuntimeError(const RuntimeError& error) = 0;
};

class WindowControl {
 public:
  virtual ~WindowControl() = default;
  virtual void Show() = 0;  // maximized
  virtual void Quit() = 0;  // ends the program once control returns to the event loop
};

// Everything a card's procedures reach outside the core, as one bundle of references.
struct Platform {
  Surface& form;      // the window's own drawing
  Surface& picture1;  // the visible card
  Surface& picture2;  // the hidden copy that is written to files
  EventPump& events;
  NameDialog& dialog;
  FileStore& files;
  Messages& messages;
  WindowControl& window;
  const Clock& clock;
};

// Sizes and places of the controls, in pixels of the window's client area.
struct ControlGeometry {
  const char* name;
  int left, top, width, height;
  const char* caption;
  int tab_index;
};
inline constexpr int kPictureWidth = 700;
inline constexpr int kPictureHeight = 525;
inline constexpr ControlGeometry kPicture1{"Picture1",     32, 24, kPictureWidth,
                                           kPictureHeight, "", 0};
inline constexpr ControlGeometry kPicture2{"Picture2", 48, 8, kPictureWidth, kPictureHeight, "", 3};
inline constexpr ControlGeometry kCommand2{"Command2", 696, 624, 33, 17, "exit", 1};
inline constexpr ControlGeometry kCommand5{"Command5", 656, 576, 73, 17, "repeat", 2};
inline constexpr ControlGeometry kCommand3{"Command3", 616, 600, 113, 17, "save on C:\\wimgx", 4};
// The window's own text colour, which the card never sets: light grey, readable on the black
// window (the asterisk that marks a finished card).
inline constexpr std::int32_t kWindowTextColor = 0xC0C0C0;

// The folder of the saved cards, in the program's own path form (FileStore::NativePath).
inline constexpr char kCardFolder[] = "C:\\wimgx";

// The window's rows where saving shows its progress, under the picture.
inline constexpr int kProgressTop = 560;
inline constexpr int kProgressBottom = 567;

}  // namespace card
