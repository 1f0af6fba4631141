// The window's control flow: start-up, and the three buttons when idle and when clicked between
// the rows of a card that is being drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "numeric/raises.h"  // prints values by kind and content
#include "support/card_fixture.h"

namespace card::testing {
namespace {

constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr int kRowsPerCard = 526;
const std::string kCardFile = "C:\\wimgx\\T20261231235958.bmp";

// A window object that prints through a recording stand-in for the font.
struct FlowCard {
  FlowCard() : card(&text) {}
  RecordingTextRenderer text;
  TestCard card;
  Form1& form = card.form;
  MemoryPlatform& memory = card.memory;
};

// The picture that a freshly started window draws for `name`, with nothing clicked.
PixelBuffer FreshCard(const std::string& name) {
  FlowCard fresh;
  fresh.memory.dialog.Answer(name);
  fresh.form.Form_Load();
  return fresh.memory.picture1.pixels();
}

bool AllRowsBlack(const PixelBuffer& pixels, int first_row) {
  for (int y = first_row; y < pixels.height(); ++y) {
    for (int x = 0; x < pixels.width(); ++x) {
      if (pixels.at(x, y) != kBlack) return false;
    }
  }
  return true;
}

TEST(Form1Flow, StartUpShowsTheWindowPreparesTheStateAndDrawsACard) {
  FlowCard f;
  bool shown_when_asked = false;
  f.memory.dialog.on_exhausted = [&] {
    shown_when_asked = f.memory.window.shown;
    return std::string("anna");
  };
  f.form.Form_Load();

  EXPECT_TRUE(shown_when_asked);
  EXPECT_EQ(f.memory.memory_files.directories, std::vector<std::string>{"C:\\wimgx"});
  EXPECT_EQ(f.form.t1, "enter your name and surname");
  EXPECT_EQ(f.form.t2, "small letters (lowercase, no \xC4\x8D\xC5\xA1\xC5\xBE)");
  EXPECT_EQ(f.memory.form.back_color(), 0);
  EXPECT_EQ(f.form.sir, Value::Integer(700));
  EXPECT_EQ(f.form.vis, Value::Integer(525));
  EXPECT_EQ(f.form.polx, Value::Single(6));
  EXPECT_EQ(f.form.poly, Value::Single(4.5f));
  EXPECT_EQ(f.form.dx, Value::Single(700.0f / 12.0f));
  EXPECT_EQ(f.form.dy, Value::Single(525.0f / 9.0f));

  // The card sequence ran to its end: one question, one full scan, the greeting.
  EXPECT_EQ(f.memory.dialog.calls().size(), 1u);
  EXPECT_EQ(f.form.t, "anna");
  EXPECT_EQ(f.memory.events.calls(), kRowsPerCard);
  EXPECT_EQ(f.text.calls.size(), 3u);
  EXPECT_EQ(f.form.imeslike, "T20261231235958");
  EXPECT_FALSE(f.form.card_in_progress());
  EXPECT_FALSE(f.memory.window.quit);
  EXPECT_FALSE(AllRowsBlack(f.memory.picture1.pixels(), 0));
}

TEST(Form1Flow, ExistingFolderAtStartUpIsNotReported) {
  FlowCard f;
  f.memory.memory_files.directories.push_back("C:\\wimgx");
  f.memory.dialog.Answer("anna");
  f.form.Form_Load();
  EXPECT_TRUE(f.memory.messages.save_errors.empty());
  EXPECT_TRUE(f.memory.messages.runtime_errors.empty());
  EXPECT_FALSE(f.memory.window.quit);
  EXPECT_EQ(f.memory.events.calls(), kRowsPerCard);  // start-up went on to draw the card
  EXPECT_EQ(f.text.calls.size(), 3u);
}

TEST(Form1Flow, RepeatWhenIdleMakesTheCardAgain) {
  FlowCard f;
  f.memory.dialog.Answer("anna");
  f.form.Form_Load();
  const PixelBuffer first = f.memory.picture1.pixels();

  // The same name, asked again, gives the same card, drawn anew under a new file name.
  f.memory.picture1.pixels().Fill(0xFF123456u);
  f.memory.clock.Set(LocalTime{2027, 1, 1, 0, 0, 1});
  f.memory.dialog.Answer("anna");
  f.form.Command5_Click();
  EXPECT_EQ(f.memory.dialog.calls().size(), 2u);
  EXPECT_EQ(f.memory.events.calls(), 2 * kRowsPerCard);
  EXPECT_EQ(f.text.calls.size(), 6u);
  EXPECT_EQ(f.form.imeslike, "T20270101000001");
  EXPECT_TRUE(f.memory.picture1.pixels() == first);

  // Another name gives another card.
  f.memory.dialog.Answer("bob");
  f.form.Command5_Click();
  EXPECT_EQ(f.form.t, "bob");
  EXPECT_EQ(f.memory.events.calls(), 3 * kRowsPerCard);
  EXPECT_FALSE(f.memory.picture1.pixels() == first);
  EXPECT_FALSE(f.memory.window.quit);
}

TEST(Form1Flow, RepeatDuringDrawingAbandonsTheCardWithoutNesting) {
  FlowCard f;
  f.memory.dialog.Answer("first");
  f.memory.dialog.Answer("second");
  std::size_t questions_right_after_click = 0;
  int depth = 0, deepest = 0;
  f.memory.events.on_events = [&](int call) {
    deepest = std::max(deepest, ++depth);
    if (call == 100) {
      f.form.Command5_Click();
      questions_right_after_click = f.memory.dialog.calls().size();
    }
    --depth;
  };
  f.form.Form_Load();

  // The click only asked for the card to be abandoned; the next card started afterwards.
  EXPECT_EQ(questions_right_after_click, 1u);
  EXPECT_EQ(deepest, 1);
  EXPECT_EQ(f.memory.dialog.calls().size(), 2u);
  EXPECT_EQ(f.form.t, "second");
  // The first card stopped at the row of the click: 99 rows, then a whole second card.
  EXPECT_EQ(f.memory.events.calls(), 100 + kRowsPerCard);
  // Only the finished card printed its greeting.
  ASSERT_EQ(f.text.calls.size(), 3u);
  EXPECT_EQ(f.text.calls[0].text.rfind("second, ", 0), 0u);
  EXPECT_FALSE(f.form.card_in_progress());
  EXPECT_TRUE(f.memory.picture1.pixels() == FreshCard("second"));
}

TEST(Form1Flow, SeveralRepeatsDuringDrawingDoNotNest) {
  FlowCard f;
  for (const char* name : {"first", "second", "third", "fourth"}) f.memory.dialog.Answer(name);
  int depth = 0, deepest = 0;
  f.memory.events.on_events = [&](int call) {
    deepest = std::max(deepest, ++depth);
    // Three clicks at one row of the first card, two at one row of the second.
    if (call == 100) {
      for (int k = 0; k < 3; ++k) f.form.Command5_Click();
    }
    if (call == 300) {
      for (int k = 0; k < 2; ++k) f.form.Command5_Click();
    }
    --depth;
  };
  f.form.Form_Load();

  EXPECT_EQ(deepest, 1);
  EXPECT_EQ(f.memory.dialog.calls().size(), 3u);
  EXPECT_EQ(f.form.t, "third");
  EXPECT_EQ(f.memory.events.calls(), 300 + kRowsPerCard);
  EXPECT_EQ(f.text.calls.size(), 3u);
  EXPECT_FALSE(f.form.card_in_progress());
}

TEST(Form1Flow, RepeatDuringARepeatedCardStartsTheNextOne) {
  FlowCard f;
  f.memory.dialog.Answer("first");
  f.form.Form_Load();
  f.memory.dialog.Answer("second");
  f.memory.dialog.Answer("third");
  f.memory.events.on_events = [&](int call) {
    if (call == kRowsPerCard + 50) f.form.Command5_Click();
  };
  f.form.Command5_Click();
  EXPECT_EQ(f.memory.dialog.calls().size(), 3u);
  EXPECT_EQ(f.form.t, "third");
  EXPECT_EQ(f.memory.events.calls(), kRowsPerCard + 50 + kRowsPerCard);
  EXPECT_TRUE(f.memory.picture1.pixels() == FreshCard("third"));
}

TEST(Form1Flow, SaveDuringDrawingWritesThePartialCardAndDrawingGoesOn) {
  FlowCard f;
  f.memory.dialog.Answer("anna");
  PixelBuffer at_click(1, 1);
  f.memory.events.on_events = [&](int call) {
    if (call == 200) {
      at_click = f.memory.picture1.pixels();
      f.form.Command3_Click();
    }
  };
  f.form.Form_Load();

  const auto& files = f.memory.memory_files.files;
  ASSERT_EQ(files.size(), 1u);
  ASSERT_EQ(files.begin()->first, kCardFile);
  const PixelBuffer& saved = files.begin()->second;
  EXPECT_TRUE(saved == at_click);
  // 199 rows were drawn; strokes reach 100 pixels from their position, so the rest is black.
  EXPECT_FALSE(AllRowsBlack(saved, 0));
  EXPECT_TRUE(AllRowsBlack(saved, 300));
  EXPECT_TRUE(f.memory.messages.save_errors.empty());

  // The drawing went on to the end and the card is the one the name always gives.
  EXPECT_EQ(f.memory.events.calls(), kRowsPerCard);
  EXPECT_EQ(f.text.calls.size(), 3u);
  EXPECT_EQ(f.form.i, Value::Integer(701));
  EXPECT_EQ(f.form.j, Value::Integer(526));
  EXPECT_TRUE(f.memory.picture1.pixels() == FreshCard("anna"));
}

// The carried values of a card of `rows` rows, scanned to its end without clicks.
std::vector<Value> CarryAfterRows(const std::string& name, int rows) {
  TestCard card;
  card.form.StartUp();
  SetGeometry(card.form, 700, rows - 1);
  card.memory.dialog.Answer(name);
  card.form.AskName();
  card.form.MakePalette();
  card.form.ChooseParameters();
  card.form.ScanImage();
  const Form1& f = card.form;
  return {f.fi1, f.fi, f.ba, f.re, f.gr, f.bl, f.barva};
}

// A card abandoned during its scan stores the carried values its finished rows left, keeps Empty
// what no statement set, and an "exit" wins over a "repeat" clicked before it in the same rows.
TEST(Form1Flow, AbandonedCardStoresItsCarryAndExitWinsOverRepeat) {
  struct Case {
    int at_call;
    bool repeat_first;
  };
  const Case cases[] = {{1, false}, {1, true}, {100, false}, {100, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << (c.repeat_first ? "repeat and exit" : "exit")
                                      << " at event call " << c.at_call);
    FlowCard f;
    f.memory.dialog.Answer("anna");
    f.memory.dialog.Answer("bob");
    f.memory.events.on_events = [&](int call) {
      if (call != c.at_call) return;
      if (c.repeat_first) f.form.Command5_Click();
      f.form.Command2_Click();
    };
    f.form.Form_Load();

    // No further card was started.
    EXPECT_EQ(f.memory.dialog.calls().size(), 1u);
    EXPECT_EQ(f.memory.events.calls(), c.at_call);
    EXPECT_TRUE(f.text.calls.empty());
    EXPECT_FALSE(f.form.card_in_progress());

    const Form1& form = f.form;
    EXPECT_EQ(
        (std::vector<Value>{form.fi1, form.fi, form.ba, form.re, form.gr, form.bl, form.barva}),
        CarryAfterRows("anna", c.at_call - 1));
    if (c.at_call == 1) {
      EXPECT_EQ(form.fi, Value()) << "no position was visited";
      EXPECT_EQ(form.ba, Value()) << "no position was visited";
    }
  }
}

// "exit" and the window frame's close control behave the same.
class Form1Exit : public ::testing::TestWithParam<bool> {
 protected:
  static void Exit(Form1& form, bool by_frame) {
    if (by_frame) {
      form.CloseRequested();
    } else {
      form.Command2_Click();
    }
  }
};

TEST_P(Form1Exit, DuringDrawingStopsAtOnce) {
  FlowCard f;
  f.memory.dialog.Answer("anna");
  f.memory.dialog.Answer("bob");
  f.memory.events.on_events = [&](int call) {
    if (call == 100) Exit(f.form, GetParam());
  };
  f.form.Form_Load();
  EXPECT_TRUE(f.memory.window.quit);
  EXPECT_TRUE(f.form.exit_requested());
  EXPECT_EQ(f.memory.events.calls(), 100);
  EXPECT_TRUE(f.text.calls.empty());
  EXPECT_EQ(f.memory.dialog.calls().size(), 1u);
  EXPECT_TRUE(f.memory.memory_files.files.empty());
  EXPECT_FALSE(f.form.card_in_progress());
  // The rows after the click were never drawn.
  EXPECT_TRUE(AllRowsBlack(f.memory.picture1.pixels(), 99 + 101));
}

TEST_P(Form1Exit, WhileTheNameIsAskedDrawsNothing) {
  FlowCard f;
  f.memory.dialog.on_exhausted = [&] {
    Exit(f.form, GetParam());
    return std::string("anna");
  };
  f.form.Form_Load();
  EXPECT_TRUE(f.memory.window.quit);
  EXPECT_EQ(f.memory.dialog.calls().size(), 1u);
  EXPECT_EQ(f.memory.events.calls(), 0);
  EXPECT_TRUE(f.text.calls.empty());
}

TEST_P(Form1Exit, WhenIdleQuitsWithoutWriting) {
  FlowCard f;
  f.memory.dialog.Answer("anna");
  f.form.Form_Load();
  ASSERT_FALSE(f.memory.window.quit);
  const PixelBuffer card = f.memory.picture1.pixels();
  Exit(f.form, GetParam());
  EXPECT_TRUE(f.memory.window.quit);
  EXPECT_TRUE(f.form.exit_requested());
  EXPECT_EQ(f.memory.dialog.calls().size(), 1u);
  EXPECT_EQ(f.memory.events.calls(), kRowsPerCard);
  EXPECT_TRUE(f.memory.memory_files.files.empty());
  EXPECT_TRUE(f.memory.messages.save_errors.empty());
  EXPECT_TRUE(f.memory.picture1.pixels() == card);
}

INSTANTIATE_TEST_SUITE_P(Form1ExitBy, Form1Exit, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("FrameClose")
                                             : std::string("ExitButton");
                         });

}  // namespace
}  // namespace card::testing
