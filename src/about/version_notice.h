#pragma once

#include <string>
#include <string_view>

namespace card {

// What `--version` prints: the program and its version, the copyright and the licence.
std::string VersionNotice(std::string_view program);

}  // namespace card
