#pragma once

namespace card {

// The rectangle that a line is clipped to, and the rule that every painter of lines keeps.
//
// End-point rule, used for every line of the program: a line covers both of its end points; a line
// whose ends coincide covers that one pixel. The pixels are those of a DDA along the major axis
// (the axis with the larger extent; x when the extents are equal): at major step k the minor
// coordinate is the start's plus round(k * minor_extent / major_extent), halves rounded away
// from the start. Clipping never changes which pixels a line covers, only which of them are
// written: a clipped line paints exactly the part of the unclipped line that lies inside.
//
// Coordinates may lie anywhere in the 32-bit range; a line that misses the clip rectangle writes
// nothing.
struct ClipRect {
  int left = 0, top = 0, right = 0, bottom = 0;  // inclusive pixel bounds
};

}  // namespace card
