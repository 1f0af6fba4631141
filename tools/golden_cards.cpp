// Prints the checksums of the pinned cards. Run it only to accept a deliberate change of the
// pictures:  build/golden-cards > tests/data/golden_cards.txt
#include "support/golden_cards.h"

#include <cinttypes>
#include <cstdio>

#include "support/card_fixture.h"

int main() {
  for (const auto& golden : card::testing::GoldenCards()) {
    const card::CardResult result = card::MakeCard(golden.request);
    std::printf("%s %016" PRIx64 "\n", golden.id.c_str(), card::testing::Checksum(result.picture));
  }
  return 0;
}
