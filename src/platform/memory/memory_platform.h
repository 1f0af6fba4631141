#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace card {

// Answers the name dialog from a list; once the list is used up every further question is
// cancelled (the empty name), or handed to `on_exhausted` when one is set.
class ScriptedDialog final : public NameDialog {
 public:
  struct Call {
    std::string prompt;
    int left_twips, top_twips;
  };
  void Answer(std::string answer) { answers_.push_back(std::move(answer)); }
  std::string InputBox(const std::string& prompt, int left_twips, int top_twips) override;
  const std::vector<Call>& calls() const { return calls_; }
  std::function<std::string()> on_exhausted;

 private:
  std::deque<std::string> answers_;
  std::vector<Call> calls_;
};

// Counts the event-processing calls and lets a test act at a chosen one, as a click would.
class ScriptedEvents final : public EventPump {
 public:
  void DoEvents() override;
  int calls() const { return calls_; }
  std::function<void(int call)> on_events;  // call counts from 1

 private:
  int calls_ = 0;
};

class RecordingMessages final : public Messages {
 public:
  void ShowSaveError(const std::string& path, const std::string& reason) override {
    save_errors.push_back(path + ": " + reason);
  }
  void ShowSaved(const std::string& path) override { saved.push_back(path); }
  void ShowRuntimeError(const RuntimeError& error) override {
    runtime_errors.push_back(static_cast<int>(error.number()));
  }
  std::vector<std::string> save_errors;
  std::vector<std::string> saved;  // where each saved card went
  std::vector<int> runtime_errors;
};

class RecordingWindow final : public WindowControl {
 public:
  void Show() override { shown = true; }
  void Quit() override { quit = true; }
  bool shown = false;
  bool quit = false;
};

// Files kept in memory, keyed by program path.
class MemoryFileStore final : public FileStore {
 public:
  void MkDir(const std::string& path) override;
  void SavePicture(const PixelBuffer& image, const std::string& path) override;
  void SaveFile(const std::vector<std::uint8_t>& bytes, const std::string& path) override;
  std::string NativePath(const std::string& path) const override { return path; }
  std::map<std::string, PixelBuffer> files;
  std::map<std::string, std::vector<std::uint8_t>> byte_files;  // what SaveFile wrote
  std::vector<std::string> directories;
  std::string fail_reason;  // when set, every save fails with it
};

// A whole platform without a window: the three surfaces (the window's own text printed with
// `text_renderer`, if any), a scripted dialog and event pump, and the
// given file store (in memory unless one is passed).
class MemoryPlatform {
 public:
  explicit MemoryPlatform(TextRenderer* text_renderer = nullptr, FileStore* files = nullptr);

  Platform& platform() { return platform_; }

  Surface form;
  Surface picture1;
  Surface picture2;
  ScriptedDialog dialog;
  ScriptedEvents events;
  RecordingMessages messages;
  RecordingWindow window;
  MemoryFileStore memory_files;
  FixedClock clock{LocalTime{2026, 12, 31, 23, 59, 58}};

 private:
  Platform platform_;
};

}  // namespace card
