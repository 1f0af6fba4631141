#pragma once

#include <cstdint>
#include <vector>

extern "C" {
struct AVFormatContext;
struct AVIOContext;
}

namespace card {

// Where FFmpeg's muxer writes the film: a file in memory, put on disk whole afterwards. The muxer
// seeks back to fill in sizes, and to put the index at the front it opens the file once more and
// reads it while it moves the frames behind the index; both happen here in memory.
class MemoryMp4Output {
 public:
  MemoryMp4Output() = default;
  ~MemoryMp4Output();
  MemoryMp4Output(const MemoryMp4Output&) = delete;
  MemoryMp4Output& operator=(const MemoryMp4Output&) = delete;

  // Makes this the muxer's output. Throws VideoError when FFmpeg has no memory for it.
  void Attach(AVFormatContext* format);
  // The file as written; call after the muxer wrote its trailer.
  std::vector<std::uint8_t> Take();

  // A place in the file and the file itself, for FFmpeg's callbacks.
  struct Cursor {
    std::vector<std::uint8_t>* bytes;
    std::int64_t position = 0;
  };

 private:
  std::vector<std::uint8_t> bytes_;
  Cursor writer_{&bytes_};
  AVIOContext* io_ = nullptr;
};

}  // namespace card
