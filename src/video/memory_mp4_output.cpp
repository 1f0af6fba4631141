#include "video/memory_mp4_output.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/mem.h>
}

#include <algorithm>
#include <cstring>
#include <utility>

#include "video/video_error.h"

namespace card {
namespace {

constexpr int kBufferBytes = 64 * 1024;

using Cursor = MemoryMp4Output::Cursor;

// FFmpeg 6.1 made the written bytes const.
#if LIBAVFORMAT_VERSION_MAJOR >= 61
using WrittenBytes = const std::uint8_t*;
#else
using WrittenBytes = std::uint8_t*;
#endif

int WriteBytes(void* opaque, WrittenBytes bytes, int size) {
  auto& cursor = *static_cast<Cursor*>(opaque);
  const auto end = static_cast<std::size_t>(cursor.position) + static_cast<std::size_t>(size);
  if (cursor.bytes->size() < end) cursor.bytes->resize(end);
  std::memcpy(cursor.bytes->data() + cursor.position, bytes, static_cast<std::size_t>(size));
  cursor.position = static_cast<std::int64_t>(end);
  return size;
}

int ReadBytes(void* opaque, std::uint8_t* bytes, int size) {
  auto& cursor = *static_cast<Cursor*>(opaque);
  const auto total = static_cast<std::int64_t>(cursor.bytes->size());
  const std::int64_t count = std::min<std::int64_t>(size, total - cursor.position);
  if (count <= 0) return AVERROR_EOF;
  std::memcpy(bytes, cursor.bytes->data() + cursor.position, static_cast<std::size_t>(count));
  cursor.position += count;
  return static_cast<int>(count);
}

std::int64_t Seek(void* opaque, std::int64_t offset, int whence) {
  auto& cursor = *static_cast<Cursor*>(opaque);
  const auto total = static_cast<std::int64_t>(cursor.bytes->size());
  switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
      return total;
    case SEEK_SET:
      break;
    case SEEK_CUR:
      offset += cursor.position;
      break;
    case SEEK_END:
      offset += total;
      break;
    default:
      return AVERROR(EINVAL);
  }
  if (offset < 0) return AVERROR(EINVAL);
  cursor.position = offset;
  return offset;
}

AVIOContext* NewContext(Cursor* cursor, bool writing) {
  auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferBytes));
  if (buffer == nullptr) return nullptr;
  AVIOContext* io =
      avio_alloc_context(buffer, kBufferBytes, writing ? 1 : 0, cursor,
                         writing ? nullptr : ReadBytes, writing ? WriteBytes : nullptr, Seek);
  if (io == nullptr) av_free(buffer);
  return io;
}

void FreeContext(AVIOContext* io) {
  if (io == nullptr) return;
  av_freep(&io->buffer);
  avio_context_free(&io);
}

// The muxer's second look at the file (the index moved to the front) reads what was written.
int OpenForReading(AVFormatContext* format, AVIOContext** io, const char*, int flags,
                   AVDictionary**) {
  if ((flags & AVIO_FLAG_WRITE) != 0) return AVERROR(EINVAL);
  auto* output = static_cast<Cursor*>(format->opaque);
  auto* reader = new Cursor{output->bytes};
  *io = NewContext(reader, false);
  if (*io == nullptr) {
    delete reader;
    return AVERROR(ENOMEM);
  }
  return 0;
}

int CloseReading(AVFormatContext*, AVIOContext* io) {
  if (io != nullptr) delete static_cast<Cursor*>(io->opaque);
  FreeContext(io);
  return 0;
}

}  // namespace

MemoryMp4Output::~MemoryMp4Output() {
  FreeContext(io_);
}

void MemoryMp4Output::Attach(AVFormatContext* format) {
  io_ = NewContext(&writer_, true);
  if (io_ == nullptr) throw VideoError("no memory for the video");
  format->pb = io_;
  format->flags |= AVFMT_FLAG_CUSTOM_IO;
  format->opaque = &writer_;
  format->io_open = OpenForReading;
  format->io_close2 = CloseReading;
}

std::vector<std::uint8_t> MemoryMp4Output::Take() {
  if (io_ != nullptr) avio_flush(io_);
  return std::move(bytes_);
}

}  // namespace card
