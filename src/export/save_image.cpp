#include "form/form1.h"

namespace card {

// Copies the picture pixel by pixel onto the hidden surface, column by column, while a white mark
// under the picture shows the progress, then writes the copy to the card's bitmap file. A file that
// cannot be written is reported and the card stays on screen to be saved again.
void Form1::SaveImage() {
  Surface& source = platform_.picture1;
  Surface& copy = platform_.picture2;
  Surface& window = platform_.form;
  const std::int32_t white = RGB(Value::Integer(255), Value::Integer(255), Value::Integer(255));
  const std::int32_t black = RGB(Value::Integer(0), Value::Integer(0), Value::Integer(0));

  const int last_column = ToInteger(sir);
  for (int column = 0; column <= last_column; ++column) {
    const int last_row = ToInteger(vis);
    const auto fx = static_cast<float>(column);
    for (int row = 0; row <= last_row; ++row) {
      // Outside the surfaces the read yields no colour and nothing is written.
      const auto fy = static_cast<float>(row);
      if (const auto colour = source.Point(fx, fy)) copy.PSet(fx, fy, *colour);
    }
    j = Value::Integer(static_cast<std::int16_t>(last_row + 1));
    window.Line(fx + 31, kProgressTop, fx + 31, kProgressBottom, white);
    window.Line(fx + 29, kProgressTop, fx + 29, kProgressBottom, black);
  }
  i = Value::Integer(static_cast<std::int16_t>(last_column + 1));

  const std::string path = std::string(kCardFolder) + "\\" + imeslike + ".bmp";
  try {
    platform_.files.SavePicture(copy.pixels(), path);
    platform_.messages.ShowSaved(platform_.files.NativePath(path));
  } catch (const FileError& error) {
    platform_.messages.ShowSaveError(platform_.files.NativePath(path), error.reason());
  }
}

}  // namespace card
