#include "platform/memory/memory_platform.h"

namespace card {

std::string ScriptedDialog::InputBox(const std::string& prompt, int left_twips, int top_twips) {
  calls_.push_back(Call{prompt, left_twips, top_twips});
  if (answers_.empty()) return on_exhausted ? on_exhausted() : std::string();
  std::string answer = std::move(answers_.front());
  answers_.pop_front();
  return answer;
}

void ScriptedEvents::DoEvents() {
  ++calls_;
  if (on_events) on_events(calls_);
}

void MemoryFileStore::MkDir(const std::string& path) {
  for (const auto& existing : directories) {
    if (existing == path) throw RuntimeError(ErrorNumber::kPathFileAccessError);
  }
  directories.push_back(path);
}

void MemoryFileStore::SavePicture(const PixelBuffer& image, const std::string& path) {
  if (!fail_reason.empty()) throw FileError(path, fail_reason);
  files.insert_or_assign(path, image);
}

void MemoryFileStore::SaveFile(const std::vector<std::uint8_t>& bytes, const std::string& path) {
  if (!fail_reason.empty()) throw FileError(path, fail_reason);
  byte_files.insert_or_assign(path, bytes);
}

MemoryPlatform::MemoryPlatform(TextRenderer* text_renderer, FileStore* files)
    : form(800, 700, text_renderer),
      picture1(kPictureWidth, kPictureHeight),
      picture2(kPictureWidth, kPictureHeight),
      platform_{form,     picture1, picture2, events, dialog, files ? *files : memory_files,
                messages, window,   clock} {
  form.SetForeColor(kWindowTextColor);
}

}  // namespace card
