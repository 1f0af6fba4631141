#pragma once

#include <stdexcept>

namespace card {

// A film could not be made: the encoder is missing or FFmpeg refused. The message says which.
class VideoError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace card
