#pragma once

#include "form/form1.h"
#include "numeric/statements.h"

namespace card {

// The card sequence, written once for every front end: AskName, MakePalette and RenderCard, whose
// scan is handed out row by row so that a front end can do its own work in between. The window
// handles its events before each row, the renderer scans every row at once, the page a few rows
// per frame.
//
//   CardSequence card(form, CardSequence::Errors::kSkip);
//   card.Start();                  // AskName, MakePalette, ChooseParameters, the scan's start
//   card.ScanRest();               // the scan's rows (or ScanRows, a few at a time)
//   card.Finish();                 // the scan's end, PrintGreeting
//
// At start-up each of AskName, MakePalette and RenderCard is a statement that is abandoned when it
// raises, and an abandoned RenderCard paints no further rows and prints no greeting; on "repeat"
// an error travels to the caller.
class CardSequence {
 public:
  enum class Errors { kSkip, kRaise };

  CardSequence(Form1& form, Errors errors);

  void Start();
  // Scans up to `count` more rows; true while rows remain to be scanned.
  bool ScanRows(int count);
  // Scans every remaining row: the window's way, with its events before each row, or the
  // renderer's, all at once (Form1::ScanWholeCards).
  void ScanRest();
  void Finish();

  // False once RenderCard was abandoned, or after Finish.
  bool rendering() const { return rendering_; }
  // True when the card was scanned to its last row and took its greeting.
  bool finished() const { return finished_; }

 private:
  // Runs one step of RenderCard as part of its statement: false when it raised and was skipped.
  template <class Step>
  bool RenderStep(Step&& step) {
    bool completed = false;
    statements_.Run([&] {
      step();
      completed = true;
    });
    if (!completed) rendering_ = false;
    return completed;
  }

  Form1& form_;
  Statements statements_;
  bool rendering_ = false;
  bool finished_ = false;
};

}  // namespace card
