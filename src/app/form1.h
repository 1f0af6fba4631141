#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "numeric/generator.h"
#include "numeric/value.h"
#include "overlay/greeting.h"
#include "platform/platform.h"
#include "render/fast_scan.h"
#include "render/palette.h"
#include "render/scan_settings.h"

namespace card {

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

  // The card's procedures.
  void AskName();
  void MakePalette();
  void RenderCard();
  void ChooseParameters();
  void ScanImage();
  void PrintGreeting();
  void SaveImage();

  // The first steps of start-up, without the card sequence: the window, the folder, the prompt
  // texts and the geometry.
  void StartUp();
  // The scan in steps, for a front end that must hand control back between rows (the web page):
  // BeginScan clears the picture, ScanRows paints up to `count` more rows and says whether rows
  // remain, FinishScan leaves the state the scan leaves. ScanImage runs the same steps.
  void BeginScan();
  bool ScanRows(int count);
  void FinishScan();

  // Headless use: scan each card at once on `threads` threads instead of row by row with events in
  // between. The pixels and the state afterwards are the same.
  void ScanWholeCards(int threads) { whole_card_threads_ = threads; }
  // The web page's scan: ScanRows computes rows of positions and paints only the rows that no
  // later position reaches, each pixel once and last stroke first, so every row that shows is
  // final. The pixels and the state afterwards are the same as the window's.
  void PaintFinishedRowsOnly() { paint_finished_rows_only_ = true; }
  // The web address at the end of the greeting line.
  void SetGreetingAddress(std::string address) { greeting_address_ = std::move(address); }

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
  // Runs one card sequence; a "repeat" that arrives while it runs starts the next one once the
  // current one has been abandoned, so card sequences never nest.
  void RunCardSequences(const std::function<void()>& sequence);
  // What a scan keeps between its rows.
  struct ScanInProgress {
    PaletteTable table;
    std::vector<double> column_sines;
    ScanSettings settings;
    PixelCarry carry;
    PixelInputs last;
    int last_row = -1;
    int next_row = 0;
    bool visited = false;
    std::unique_ptr<GrowingFastScan> growing;  // for PaintFinishedRowsOnly
  };
  void ScanAtOnce();
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
  std::unique_ptr<ScanInProgress> scan_;
  std::string greeting_address_ = kProjectAddress;
};

}  // namespace card
