#include "form/form1.h"

#include "form/card_sequence.h"
#include "numeric/statements.h"

namespace card {
namespace {

// Marks a card sequence as running for as long as it runs, however it ends.
class InProgressFlag {
 public:
  explicit InProgressFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~InProgressFlag() { flag_ = false; }
  InProgressFlag(const InProgressFlag&) = delete;
  InProgressFlag& operator=(const InProgressFlag&) = delete;

 private:
  bool& flag_;
};

}  // namespace

Form1::Form1(Platform& platform, Generator& generator)
    : platform_(platform), generator_(generator) {}

void Form1::Form_Load() {
  RunHandler([&] {
    StartUp();
    RunCardSequences(/*skip_errors=*/true);
  });
}

void Form1::StartUp() {
  platform_.window.Show();
  Statements s;
  s.SkipErrors();
  // An existing or uncreatable directory is not reported here; saving reports its own errors.
  s.Run([&] { platform_.files.MkDir(kCardFolder); });
  s.Run([&] { t1 = "enter your name and surname"; });
  s.Run([&] { t2 = "small letters (lowercase, no \xC4\x8D\xC5\xA1\xC5\xBE)"; });
  s.Run([&] { platform_.form.Cls(); });
  s.Run([&] { platform_.form.SetBackColor(QBColor(0)); });
  s.Run([&] { sir = Value::Integer(kPictureWidth); });
  s.Run([&] { vis = Value::Integer(kPictureHeight); });
  Value a, b;  // width and height of the coordinate window in units
  s.Run([&] { a = Value::Integer(12); });
  s.Run([&] { b = Value::Integer(9); });
  s.Run([&] { polx = a / Value::Integer(2); });
  s.Run([&] { poly = b / Value::Integer(2); });
  s.Run([&] { dx = sir / a; });
  s.Run([&] { dy = vis / b; });
}

void Form1::Command5_Click() {
  RunHandler([&] {
    if (card_in_progress_) {
      // Abandon the card being made and start the next one from the top, instead of nesting a
      // second card inside the first one's scan.
      restart_requested_ = true;
      return;
    }
    RunCardSequences(/*skip_errors=*/false);
  });
}

void Form1::Command3_Click() {
  RunHandler([&] { SaveImage(); });
}

void Form1::Command2_Click() {
  exit_requested_ = true;
  platform_.window.Quit();
}

void Form1::CloseRequested() {
  Command2_Click();
}

void Form1::RunCardSequences(bool skip_errors) {
  InProgressFlag in_progress(card_in_progress_);
  do {
    restart_requested_ = false;
    try {
      CardSequence card(*this,
                        skip_errors ? CardSequence::Errors::kSkip : CardSequence::Errors::kRaise);
      card.Start();
      card.ScanRest();
      card.Finish();
    } catch (const CardInterrupted&) {
      // Abandoned by "repeat" or "exit"; the loop decides which.
    }
  } while (restart_requested_ && !exit_requested_);
}

void Form1::RunHandler(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const RuntimeError& error) {
    platform_.messages.ShowRuntimeError(error);
    exit_requested_ = true;
    platform_.window.Quit();
  }
}
}  // namespace card
