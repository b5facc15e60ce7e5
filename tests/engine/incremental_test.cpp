// SPDX-License-Identifier: GPL-3.0-or-later
// The incremental converter always equals a fresh whole-string conversion.
#include "corpus.h"
#include "incremental.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "test_util.h"

namespace kavelin {
namespace {

using Breaks = IncrementalConverter::Breaks;

std::u16string corpus() { return test::corpusText(); }

// What a fresh engine gives for the converter's text.
struct Reference {
  GlyphString hindi;
  std::u16string token;
};

Reference reference(const std::u16string& text, Breaks breaks) {
  std::u16string input;
  if (breaks == Breaks::kDocument) {
    for (char16_t c : text) {
      if (c == u'\n') input.push_back(u'\r');
      input.push_back(c);
    }
  } else {
    input = text;
  }
  Engine engine;
  Reference r;
  r.hindi = engine.e2h(input);
  r.token = engine.Text1();
  return r;
}

class RandomEdits : public testing::TestWithParam<Breaks> {
 protected:
  std::mt19937 rng{20261207};

  std::size_t pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n)(rng); }

  std::u16string randomText(std::size_t length) {
    static const std::u16string alphabet =
        u"aaaaeeiioouAIUOkgcjtdnpbmyrlvshSKGDTNRxzqfw       ^^MHE@#.,!?;:-'`+*|\\(){}=0123456789";
    std::u16string s;
    for (std::size_t i = 0; i < length; ++i) {
      const std::size_t r = pick(99);
      if (breaks() == Breaks::kRaw && r < 3) {
        s += r == 0 ? u"\r\n" : r == 1 ? u"\n" : u"\r";
      } else if (r < 6) {
        s += u"\n";
      } else {
        s += alphabet[pick(alphabet.size() - 1)];
      }
    }
    return s;
  }

  Breaks breaks() const { return GetParam(); }
};

TEST_P(RandomEdits, EqualsAFreshConversionAfterEveryEdit) {
  IncrementalConverter converter(breaks());
  const std::u16string sample = corpus();
  std::u16string text;
  GlyphString shown;  // the glyph string kept up to date from the reported changes
  for (int step = 0; step < 6000; ++step) {
    const std::size_t kind = pick(9);
    std::size_t position = pick(text.size());
    std::size_t removed = 0;
    std::u16string inserted;
    if (kind <= 3) {  // typing one character
      inserted = randomText(1);
    } else if (kind == 4) {  // line break
      inserted = u"\n";
    } else if (kind <= 6) {  // backspace or delete a range
      removed = std::min<std::size_t>(pick(kind == 5 ? 1 : 40), text.size() - position);
    } else if (kind == 7) {  // paste a piece of real text
      const std::size_t from = pick(sample.size() - 1);
      inserted = sample.substr(from, pick(300));
      if (breaks() == Breaks::kDocument) {
        inserted.erase(std::remove(inserted.begin(), inserted.end(), u'\r'), inserted.end());
      }
    } else if (kind == 8) {  // replace a selection
      removed = std::min<std::size_t>(pick(30), text.size() - position);
      inserted = randomText(pick(12));
    } else {  // occasionally start over with a new text
      if (pick(20) != 0) continue;
      const std::u16string fresh = randomText(pick(400));
      const auto& change = converter.setText(fresh);
      shown.replace(change.position, change.removed, change.inserted);
      text = fresh;
      continue;
    }
    const auto& change = converter.edit(position, removed, inserted);
    shown.replace(change.position, change.removed, change.inserted);
    text.replace(position, removed, inserted);

    const Reference expected = reference(text, breaks());
    ASSERT_EQ(converter.english(), text) << "step " << step;
    ASSERT_EQ(converter.hindi(), expected.hindi) << "step " << step;
    ASSERT_EQ(shown, expected.hindi) << "step " << step;
    ASSERT_EQ(converter.chartToken(), expected.token) << "step " << step;
    ASSERT_EQ(converter.hindiLength(), expected.hindi.size());
  }
}

TEST_P(RandomEdits, SetTextFindsTheChangedLines) {
  IncrementalConverter converter(breaks());
  std::u16string text;
  for (int step = 0; step < 1500; ++step) {
    std::u16string next = text;
    const std::size_t at = pick(next.size());
    next.replace(at, std::min<std::size_t>(pick(6), next.size() - at), randomText(pick(8)));
    if (pick(30) == 0) next = randomText(pick(200));
    const auto& change = converter.setText(next);
    const Reference before = reference(text, breaks());
    const Reference after = reference(next, breaks());
    GlyphString patched = before.hindi;
    ASSERT_LE(change.position + change.removed, patched.size());
    patched.replace(change.position, change.removed, change.inserted);
    ASSERT_EQ(patched, after.hindi) << "step " << step;
    ASSERT_EQ(converter.english(), next);
    ASSERT_EQ(converter.chartToken(), after.token);
    text = next;
  }
}

INSTANTIATE_TEST_SUITE_P(BothBreakModes, RandomEdits,
                         testing::Values(Breaks::kRaw, Breaks::kDocument),
                         [](const testing::TestParamInfo<Breaks>& test) {
                           return test.param == Breaks::kRaw ? "Raw" : "Document";
                         });

TEST(IncrementalConverter, OnlyTheEditedLineIsReported) {
  IncrementalConverter converter(Breaks::kDocument);
  converter.setText(u"namaste\ndharma\nbhaarat");
  EXPECT_EQ(test::codes(converter.hindi()), "ueLrs \n/keZ \nHkkjr ");
  // Typing on the middle line touches that line only.
  const auto& change = converter.edit(14, 0, u" ka");
  EXPECT_EQ(change.position, 7u);
  EXPECT_EQ(test::codes(change.inserted), "/keZ d \n");
  EXPECT_EQ(change.removed, 6u);  // "/keZ " and its LF
  EXPECT_EQ(converter.chartToken(), u"t");
}

TEST(IncrementalConverter, NextLinesFollowTheTokenTheyInherit) {
  // A lone LF leaves the Hindi token of a dropped "." in txtH; a line that
  // starts with a dead "Ks" start commits it again. Edits of the first line
  // must reach the lines after it.
  struct Step {
    std::size_t position;
    std::size_t removed;
    const char16_t* inserted;
  } steps[] = {{0, 0, u"ti;.\n\n\nKsKpa"},
               {3, 1, u""},
               {3, 0, u","},
               {0, 3, u"ka"},
               {2, 1, u"."},
               {4, 2, u""},
               {3, 0, u"\n"}};
  IncrementalConverter converter(Breaks::kRaw);
  std::u16string text;
  GlyphString shown;
  for (const Step& step : steps) {
    const auto& change = converter.edit(step.position, step.removed, step.inserted);
    shown.replace(change.position, change.removed, change.inserted);
    text.replace(step.position, step.removed, step.inserted);
    const Reference expected = reference(text, Breaks::kRaw);
    EXPECT_EQ(converter.hindi(), expected.hindi) << encodeUtf8(text);
    EXPECT_EQ(shown, expected.hindi) << encodeUtf8(text);
  }
}

TEST(IncrementalConverter, EditsOutOfRangeAreClamped) {
  IncrementalConverter converter;
  converter.edit(50, 10, u"ka");
  EXPECT_EQ(converter.english(), u"ka");
  converter.edit(1, 100, u"");
  EXPECT_EQ(converter.english(), u"k");
  EXPECT_EQ(test::codes(converter.hindi()), "d ");
}

TEST(IncrementalConverter, EmptyTextGivesNothing) {
  IncrementalConverter converter;
  EXPECT_EQ(converter.hindi(), u"");
  EXPECT_EQ(converter.chartToken(), u"");
  EXPECT_EQ(converter.lineCount(), 1u);
}

}  // namespace
}  // namespace kavelin
