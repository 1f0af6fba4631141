#include "video/growth_frames.h"

#include "form/card_sequence.h"
#include "platform/memory/memory_platform.h"
#include "video/film_plan.h"

namespace card {

// The card's window object on a platform of its own, with its card sequence under way.
struct GrowthFrames::Card {
  MemoryPlatform memory;
  Generator generator;
  Form1 form{memory.platform(), generator};
  CardSequence sequence{form, CardSequence::Errors::kSkip};
};

GrowthFrames::GrowthFrames(const FilmedCard& card) : card_(std::make_unique<Card>()) {
  card_->memory.clock.Set(card.started);
  card_->memory.dialog.Answer(card.name);
  if (card.draws) card_->generator.Replay(*card.draws);
  card_->form.SetGreetingAddress(card.address);
  card_->form.SetGreetingYear(card.year);
  // Start-up as the window runs it, up to the first row of the scan.
  card_->form.StartUp();
  card_->sequence.Start();
}

GrowthFrames::~GrowthFrames() = default;

const std::string& GrowthFrames::stem() const {
  return card_->form.imeslike;
}

FilmFrame GrowthFrames::Next() {
  if (next_frame_ >= kFilmFrames) return {};
  const int frame = next_frame_++;
  if (frame < kGrowthFrames) {
    // A card abandoned by an error paints no further rows: its frames hold what it painted.
    const int rows = GrowthRow(frame) + 1;
    if (rows > rows_scanned_) card_->sequence.ScanRows(rows - rows_scanned_);
    rows_scanned_ = rows;
  } else if (frame == kGrowthFrames) {
    card_->sequence.Finish();
  }
  Surface& picture = card_->memory.picture1;
  const Surface::Rows changed = picture.TakeDrawnRows();
  return {&picture.pixels(), changed.top, changed.bottom, frame == kGrowthFrames};
}

}  // namespace card
