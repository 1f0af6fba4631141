#pragma once

#include "renderer/render_options.h"

namespace card {

// Makes one card per line of the names file in options.names, into options.out_dir, and returns
// the exit status: 0 when every card was written, 2 when a name was refused, 1 when a file could
// not be read or written. Throws FileError when the batch cannot start.
int RunBatch(const RenderOptions& options);

}  // namespace card
