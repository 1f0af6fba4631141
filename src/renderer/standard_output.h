#pragma once

#include <cstddef>
#include <string>

namespace card {

// What a program writes to standard output goes out in full or fails with a message: a full disk
// or a closed pipe must not pass for success. Throws FileError naming "standard output".
void WriteStandardOutput(const void* bytes, std::size_t size);
inline void WriteStandardOutput(const std::string& text) {
  WriteStandardOutput(text.data(), text.size());
}

// True for the names that mean standard output rather than a file to replace: "-" and the
// system's names for it (/dev/stdout, /dev/fd/1, /proc/self/fd/1).
bool IsStandardOutputName(const std::string& path);

}  // namespace card
