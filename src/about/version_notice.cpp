#include "about/version_notice.h"

#include "about/version.h"

namespace card {

std::string VersionNotice(std::string_view program) {
  std::string notice(program);
  notice += " ";
  notice += kVersion;
  notice +=
      "\n"
      "Copyright (c) 2026 The New-Year Card authors.\n"
      "License MIT: <https://opensource.org/licenses/MIT>.\n"
      "This is free software: you are free to change and redistribute it.\n"
      "There is NO WARRANTY, to the extent permitted by law.\n";
  return notice;
}

}  // namespace card
