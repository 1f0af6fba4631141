// Writes, as a PNG file, what one frame of a card's film must show, made without the film's own
// row-by-row scan: for the video tests, which compare it with the decoded frame.
//   growth-picture NAME FRAME OUT.png
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "files/staged_file.h"
#include "raster/png_writer.h"
#include "support/growth_pictures.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: growth-picture NAME FRAME OUT.png\n");
    return 2;
  }
  try {
    const card::CardRequest request(argv[1]);
    const auto png = card::EncodePng(card::testing::ExpectedFilmFrame(request, std::stoi(argv[2])));
    card::WriteFileAtomically(argv[3], png.data(), png.size());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "growth-picture: %s\n", error.what());
    return 1;
  }
  return 0;
}
