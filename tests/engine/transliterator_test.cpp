// SPDX-License-Identifier: GPL-3.0-or-later
// The transliterator reads the edited text from its source: long rewrites in
// pieces, edits that do not fit, and the line ranges and Unicode it reports.
#include "transliterator.h"

#include <gtest/gtest.h>

#include "unicode.h"

namespace kavelin {
namespace {

GlyphString fresh(const std::u16string& english) {
  std::u16string input;
  for (char16_t c : english) {
    if (c == u'\n') input.push_back(u'\r');
    input.push_back(c);
  }
  return Engine().e2h(input);
}

// A source that counts what was read, to see that rewrites go piece by piece.
class CountingSource : public Transliterator::Source {
 public:
  explicit CountingSource(const std::u16string& text) : text_(text) {}
  std::size_t length() const override { return text_.size(); }
  std::u16string_view text(std::size_t from, std::size_t to) override {
    largest = std::max(largest, to - from);
    read += to - from;
    return std::u16string_view(text_).substr(from, to - from);
  }
  std::size_t largest = 0;
  std::size_t read = 0;

 private:
  const std::u16string& text_;
};

// Applies a change to the glyph text shown.
void apply(GlyphString& shown, const Transliterator::Change& change) {
  shown.replace(change.position, change.removed, change.inserted);
}

TEST(Transliterator, LongTextsAreReadInPiecesWithLinesAcrossTheirEnds) {
  // Lines of many lengths, so that piece ends fall inside lines, on line feeds
  // and inside one line longer than a piece.
  std::u16string english;
  for (int i = 0; english.size() < 300000; ++i) {
    english.append(static_cast<std::size_t>(i * 37 % 500), u"kaaghinmsta"[i % 11]);
    if (i % 50 == 7) english.append(70000, u'k');
    english += u" namaste\n";
  }
  english += u"dharma";
  Transliterator t(Transliterator::Breaks::kDocument);
  CountingSource source(english);
  GlyphString shown;
  apply(shown, t.edit(source, 0, 0, english.size()));
  EXPECT_EQ(shown, fresh(english));
  EXPECT_LT(source.largest, english.size() / 4);
  Engine engine;
  engine.e2h(u"dharma");
  EXPECT_EQ(t.chartToken(), engine.Text1());
  EXPECT_EQ(t.englishLength(), english.size());
  EXPECT_EQ(t.hindiLength(), shown.size());
}

TEST(Transliterator, EditsThatDoNotFitRewriteTheWholeText) {
  struct Case {
    const char* name;
    std::size_t position, removed, added;
  } cases[] = {
      {"lengths do not add up", 2, 1, 6},
      {"position beyond the end", 50, 0, 3},
      {"more removed than held", 3, 40, 0},
      {"the whole text", 0, 1000, 1000},
  };
  const std::u16string before = u"namaste\ndharma";
  const std::u16string after = u"bhaarat\nnamaste ji";
  for (const Case& c : cases) {
    Transliterator t(Transliterator::Breaks::kDocument);
    StringSource first(before);
    GlyphString shown;
    apply(shown, t.edit(first, 0, 0, before.size()));
    StringSource second(after);
    const Transliterator::Change& change = t.edit(second, c.position, c.removed, c.added);
    apply(shown, change);
    EXPECT_EQ(shown, fresh(after)) << c.name;
    EXPECT_EQ(t.englishLength(), after.size()) << c.name;
  }
}

TEST(Transliterator, ReportsTheLinesItReplacedAndTheirUnicode) {
  struct Case {
    const char* name;
    std::u16string after;
    std::size_t position, removed, added;
    std::size_t firstLine, removedLines, insertedLines;
  } cases[] = {
      {"a key in the middle line", u"namaste\ndharmak\nbhaarat", 14, 0, 1, 1, 1, 1},
      {"a line feed splits a line", u"namaste\ndhar\nma\nbhaarat", 12, 0, 1, 1, 1, 2},
      {"two lines joined", u"namastedharma\nbhaarat", 7, 1, 0, 0, 2, 1},
      {"a line added at the end", u"namaste\ndharma\nbhaarat\n", 22, 0, 1, 2, 1, 2},
      {"everything removed", u"", 0, 22, 0, 0, 3, 1},
  };
  const std::u16string before = u"namaste\ndharma\nbhaarat";
  for (const Case& c : cases) {
    Transliterator t(Transliterator::Breaks::kDocument, true);
    StringSource first(before);
    GlyphString shown;
    apply(shown, t.edit(first, 0, 0, before.size()));
    StringSource second(c.after);
    const Transliterator::Change& change = t.edit(second, c.position, c.removed, c.added);
    EXPECT_EQ(change.firstLine, c.firstLine) << c.name;
    EXPECT_EQ(change.removedLines, c.removedLines) << c.name;
    ASSERT_EQ(change.unicode.size(), c.insertedLines) << c.name;
    // Each line's Unicode is that of its glyphs, without the line feed.
    std::size_t begin = 0;
    for (const std::u16string& line : change.unicode) {
      std::size_t lf = change.inserted.find(u'\n', begin);
      if (lf == GlyphString::npos) lf = change.inserted.size();
      EXPECT_EQ(line, glyphsToUnicode(std::u16string_view(change.inserted).substr(begin, lf - begin)))
          << c.name;
      begin = lf + 1;
    }
    apply(shown, change);
    EXPECT_EQ(shown, fresh(c.after)) << c.name;
    EXPECT_EQ(t.lineCount(), std::count(c.after.begin(), c.after.end(), u'\n') + 1u) << c.name;
  }
}

}  // namespace
}  // namespace kavelin
