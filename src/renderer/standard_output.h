#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace card {

// What a program writes to a stream goes out in full or fails with a message: a full disk or a
// closed pipe must not pass for success. Throws FileError naming the stream ("standard output").
void WriteStream(int descriptor, const void* bytes, std::size_t size);
inline void WriteStandardOutput(const void* bytes, std::size_t size) {
  WriteStream(1, bytes, size);
}
inline void WriteStandardOutput(const std::string& text) {
  WriteStandardOutput(text.data(), text.size());
}

// The descriptor that `path` names when it leads to a stream the program was given open for
// writing rather than to a file to replace: "-" is standard output, and so is any path that once
// its links are followed is the very file, pipe or terminal of one of the open descriptors
// (/dev/stdout, //dev/stdout, /proc/thread-self/fd/1, /dev/fd/3 with 3>>log, a link to any of
// them). Replacing such a file would lose what the shell's redirection collects there.
std::optional<int> OpenStreamAt(const std::string& path);

// "standard output", "standard error" or "descriptor 3", for messages.
std::string StreamName(int descriptor);

// True when the two descriptors write into one file.
bool SameOpenFile(int first, int second);

}  // namespace card
