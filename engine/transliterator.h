// SPDX-License-Identifier: GPL-3.0-or-later
// The road of an edit of the English text: the document reports what changed
// (position, characters removed, characters added), the transliterator
// reconverts the lines that the edit touched and returns the one change to the
// glyph text, with the chart token.
//
// A line feed empties the token buffer, and the short-i rule never reaches back
// past the line start, so a line converts on its own but for the Hindi token
// (txtH) it inherits (no rule commits an inherited token today, but the state
// is carried so that the result never depends on that). Each line keeps the
// token it leaves; when an edit changes it, the next line is reconverted too.
// Only the last line gets the end-of-text flush. The glyph text always equals
// a fresh Engine::e2h of the whole English text.
//
// The English text itself is not held: it is read from a Source, which gives
// the text after the edit. Per line only lengths and the state it leaves are
// kept, so that a long document costs little beside its two boxes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine.h"

namespace kavelin {

class Transliterator {
 public:
  enum class Breaks {
    kRaw,       // the text is e2h input as it stands (CR LF breaks, lone LF/CR as e2h treats them)
    kDocument,  // the text uses LF alone; each LF stands for the CR LF handed to e2h
  };

  // The English text as it stands after the edit being reported.
  class Source {
   public:
    virtual ~Source() = default;
    virtual std::size_t length() const = 0;
    // Characters [from, to), 0 <= from <= to <= length(). The view is valid
    // until the next call.
    virtual std::u16string_view text(std::size_t from, std::size_t to) = 0;
  };

  // One replacement in the glyph text: `removed` characters at `position` gave
  // way to `inserted`. The replaced range is whole lines: lines
  // [firstLine, firstLine + removedLines) of the glyph text before the edit
  // became the lines of `inserted` (`unicode` holds each as Unicode when the
  // transliterator was asked for it).
  struct Change {
    std::size_t position = 0;
    std::size_t removed = 0;
    GlyphString inserted;
    std::size_t firstLine = 0;
    std::size_t removedLines = 0;
    std::vector<std::u16string> unicode;
  };

  explicit Transliterator(Breaks breaks = Breaks::kRaw, bool unicodeLines = false);

  // `removed` characters at `position` gave way to `added` characters, which
  // `source` now holds. An edit that does not fit the text held (lengths that
  // do not add up, positions beyond the end) is taken as a rewrite of the
  // whole text.
  const Change& edit(Source& source, std::size_t position, std::size_t removed, std::size_t added);

  std::size_t englishLength() const { return engLength_.total(); }
  std::size_t hindiLength() const { return outLength_.total(); }
  std::size_t lineCount() const { return lines_.size(); }

  // The chart token (Text1) that a fresh engine holds after e2h of the text.
  const std::u16string& chartToken() const;

  void setUnicodeLines(bool on) { unicodeLines_ = on; }

 private:
  struct Line {
    std::size_t english = 0;  // length, with the LF of every line but the last
    std::size_t hindi = 0;    // length, likewise
    std::u16string token;     // Text1 after the line's last character
    bool hasToken = false;    // the line fed at least one character
    char16_t leftHalf = 0;    // the carried short-i half form after the line
    GlyphString leftTxtH;     // txtH after the line, inherited by the next one

    bool leavesSameAs(const Line& other) const {
      return leftTxtH == other.leftTxtH && leftHalf == other.leftHalf;
    }
  };

  // Sums of line lengths with O(log n) prefix queries.
  class LengthTree {
   public:
    void assign(const std::vector<Line>& lines, std::size_t Line::*length);
    void add(std::size_t index, std::ptrdiff_t delta);
    std::size_t prefix(std::size_t count) const;  // sum of the first `count` values
    std::size_t total() const { return total_; }
    // The index whose range holds `offset`, with the start of that range.
    std::size_t find(std::size_t offset, std::size_t* start) const;

   private:
    std::vector<std::size_t> tree_;
    std::size_t total_ = 0;
  };

  // Converts one line of English (without its LF) after `previous`, appending
  // its glyphs (and LF unless `last`) to the change.
  Line convertLine(std::u16string_view english, bool last, const Line* previous);

  Breaks breaks_;
  bool unicodeLines_;
  Engine engine_;
  std::u16string input_;  // a line with its break, as fed
  std::vector<Line> lines_;
  LengthTree engLength_;
  LengthTree outLength_;
  Change change_;
};

// A Source over a string.
class StringSource : public Transliterator::Source {
 public:
  explicit StringSource(std::u16string_view text) : text_(text) {}
  std::size_t length() const override { return text_.size(); }
  std::u16string_view text(std::size_t from, std::size_t to) override {
    return text_.substr(from, to - from);
  }

 private:
  std::u16string_view text_;
};

}  // namespace kavelin
