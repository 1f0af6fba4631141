#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "form/palette.h"
#include "numeric/generator.h"
#include "numeric/value.h"
#include "platform/platform.h"

namespace card {

struct FastScanResult;  // render/fast_scan.h

// The local values of the last palette build, kept so a card's recipe can list them.
struct PaletteRecipe {
  float pmin = 0, pspan = 0;
  float per1 = 0, per2 = 0, per3 = 0;
  double ph1 = 0, ph2 = 0, ph3 = 0;
  float wl1 = 0, wl2 = 0, wl3 = 0;
};

// Thrown out of a card that is abandoned because "repeat" or "exit" was clicked while it was being
// made. It is not a run-time error, so no skipping statement swallows it.
struct CardInterrupted {};

// The main window object: it owns every state variable of the card and runs the procedures that
// read and write them. Procedures take no arguments and return nothing; values pass between them
// only through the state variables.
class Form1 {
 public:
  Form1(Platform& platform, Generator& generator);

  // Event handlers. Each runs to completion; an error that leaves it is reported by the
  // platform's message and ends the program.
  void Form_Load();
  void Command5_Click();  // "repeat"
  void Command3_Click();  // "save on C:\wimgx"
  void Command2_Click();  // "exit"
  void CloseRequested();  // the window frame's close control: the same as "exit"

  // The card's procedures. RenderCard (ChooseParameters, ScanImage, PrintGreeting) is run in steps
  // by CardSequence, so that its scan can be handed out row by row.
  void AskName();
  void MakePalette();
  void ChooseParameters();
  void ScanImage();
  void PrintGreeting();
  void SaveImage();

  // The first steps of start-up, without the card sequence: the window, the folder, the prompt
  // texts and the geometry.
  void StartUp();
  // ScanImage in steps (CardSequence): BeginScan clears the picture, ScanRows paints up to `count`
  // more rows and says whether rows remain, ScanRemainingRows paints the rest as the front end
  // wants it (below), FinishScan leaves the state the scan leaves.
  void BeginScan();
  bool ScanRows(int count);
  void ScanRemainingRows();
  void FinishScan();

  // Headless use: scan each card at once on `threads` threads instead of row by row with events in
  // between. The pixels and the state afterwards are the same.
  void ScanWholeCards(int threads) { whole_card_threads_ = threads; }
  // The web page's scan: ScanRows computes rows of positions and paints only the rows that no
  // later position reaches, each pixel once and last stroke first, so every row that shows is
  // final. The pixels and the state afterwards are the same as the window's.
  void PaintFinishedRowsOnly() { paint_finished_rows_only_ = true; }
  // The web address at the end of the greeting line and the year it wishes a happy new year;
  // empty: the ones the program was built with.
  void SetGreetingAddress(std::string address) { greeting_address_ = std::move(address); }
  void SetGreetingYear(std::string year) { greeting_year_ = std::move(year); }

  bool card_in_progress() const { return card_in_progress_; }
  bool exit_requested() const { return exit_requested_; }
  const PaletteRecipe& palette_recipe() const { return palette_recipe_; }

  // State variables, named as the program has always named them.
  Value sir, vis;                     // last column and row index of the picture
  Value polx, poly, dx, dy;           // coordinate window: half sizes and pixels per unit
  Value i, j;                         // scan and copy counters
  Value x, y;                         // coordinates of the current position
  Value fi0, fi1, korakfi1, fit, r0;  // moving centre
  Value r, fi;                        // position seen from the centre
  Value ba;                           // shape value
  Value re, gr, bl;                   // channel values
  Value barva;                        // colour index
  Value tip1, tip2, tip3;             // formula selectors
  Value pozic0;                       // palette offset
  Value fak1, fak2, fak3;             // channel factors
  Value r6;                           // never assigned
  std::string t, t1, t2, imeslike;    // name, prompt lines, file name stem
  Value seed, dolz;
  std::array<Value, 101> codes;
  Palette palette;

 private:
  // Runs the card sequence; a "repeat" that arrives while it runs starts the next one once the
  // current one has been abandoned, so card sequences never nest. At start-up its statements are
  // skipped when they raise (`skip_errors`).
  void RunCardSequences(bool skip_errors);
  // Before each row of the window's scan: the events, and the end of a card that "repeat" or "exit"
  // abandoned. False when no row remains.
  bool NextRowAfterEvents();
  // What a scan keeps between its rows; the scan's own business (render/scan_image.cpp).
  struct ScanInProgress;
  struct EndScan {
    void operator()(ScanInProgress* scan) const;
  };
  void ScanAtOnce();
  void TakeWholeScan(const FastScanResult& whole);
  int NextRowColumns();
  // Runs a handler and applies the last-resort rule for an error that leaves it.
  void RunHandler(const std::function<void()>& handler);

  Platform& platform_;
  Generator& generator_;
  PaletteRecipe palette_recipe_;
  bool card_in_progress_ = false;
  bool restart_requested_ = false;
  bool exit_requested_ = false;
  int whole_card_threads_ = 0;  // 0: row by row
  bool paint_finished_rows_only_ = false;
  std::unique_ptr<ScanInProgress, EndScan> scan_;
  std::string greeting_address_;  // empty: the address the program was built with
  std::string greeting_year_;     // empty: the year the program was built with
};

}  // namespace card
