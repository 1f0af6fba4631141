#include "support/growth_pictures.h"

#include "form/card_sequence.h"
#include "support/card_fixture.h"
#include "video/film_plan.h"

namespace card::testing {

PixelBuffer PictureAfterRow(const CardRequest& request, int last_row) {
  TestCard card;
  card.memory.dialog.Answer(request.name);
  if (request.draws) card.generator.Replay(*request.draws);
  card.form.SetGreetingAddress(request.address);
  card.form.SetGreetingYear(request.year);
  card.form.StartUp();
  // The scan reads its last row once, at its start; the coordinates stay those of the whole card.
  card.form.vis = Value::Integer(static_cast<std::int16_t>(last_row));
  card.form.ScanWholeCards(1);
  CardSequence sequence(card.form, CardSequence::Errors::kSkip);
  sequence.Start();
  sequence.ScanRest();
  return card.memory.picture1.pixels();
}

PixelBuffer ExpectedFilmFrame(const CardRequest& request, int frame) {
  if (frame < kGrowthFrames) return PictureAfterRow(request, GrowthRow(frame));
  return MakeCard(request).picture;
}

}  // namespace card::testing
