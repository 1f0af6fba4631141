// The name check against what a name is: at most 100 characters, each a lowercase letter a to z or
// a space. Every character allowed is one byte, so the oracle needs no UTF-8 at all. A refusal must
// point at the first character that is not allowed, and its message must print no control
// character raw.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "fuzz_oracles.h"
#include "seed/name_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view name(reinterpret_cast<const char*>(data), size);
  std::size_t allowed_prefix = 0;
  while (allowed_prefix < size && fuzz::IsNameByte(name[allowed_prefix])) ++allowed_prefix;
  const bool is_a_name = allowed_prefix == size && size <= 100;

  const auto refusal = card::CheckName(name);
  fuzz::Require(refusal.has_value() != is_a_name, "accepted a non-name or refused a name");
  if (!refusal) return 0;
  if (refusal->reason == card::NameRefusal::Reason::kTooLong) {
    fuzz::Require(size > 100 && refusal->length > 100, "too long, but it is not");
  } else {
    // Everything before the refused character is allowed, and so one byte a character.
    const auto position = static_cast<std::size_t>(refusal->position);
    fuzz::Require(position == allowed_prefix + 1, "the refused position is not the first bad one");
    const auto byte = static_cast<unsigned char>(name[allowed_prefix]);
    if (byte < 0x80) fuzz::Require(refusal->character == byte, "the refused character is wrong");
  }
  fuzz::Require(fuzz::IsPrintable(card::DescribeRefusal(*refusal)),
                "the message prints a control character");
  return 0;
}
