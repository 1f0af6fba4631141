#include "form/card_sequence.h"

namespace card {

CardSequence::CardSequence(Form1& form, Errors errors) : form_(form) {
  if (errors == Errors::kSkip) statements_.SkipErrors();
}

void CardSequence::Start() {
  statements_.Run([&] { form_.AskName(); });
  statements_.Run([&] { form_.MakePalette(); });
  rendering_ = true;
  RenderStep([&] {
    form_.ChooseParameters();
    form_.BeginScan();
  });
}

bool CardSequence::ScanRows(int count) {
  if (!rendering_) return false;
  bool more = false;
  return RenderStep([&] { more = form_.ScanRows(count); }) && more;
}

void CardSequence::ScanRest() {
  if (rendering_) RenderStep([&] { form_.ScanRemainingRows(); });
}

void CardSequence::Finish() {
  if (!rendering_) return;
  finished_ = RenderStep([&] {
    form_.FinishScan();
    form_.PrintGreeting();
  });
  rendering_ = false;
}

}  // namespace card
