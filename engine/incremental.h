// Incremental conversion: keeps an English text and its glyph string and, after
// an edit, reconverts only the lines the edit touched.
//
// A line feed empties the token buffer, and the short-i rule never reaches back
// past the line start, so a line converts on its own but for the Hindi token
// (txtH) it inherits (no rule commits an inherited token today, but the state
// is carried so that the result never depends on that). Each line
// keeps the token it leaves; when an edit changes it, the next line is
// reconverted too. Only the last line gets the end-of-text flush. The result
// always equals a fresh Engine::e2h of the whole text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine.h"

namespace kavelin {

class IncrementalConverter {
 public:
  enum class Breaks {
    kRaw,       // the text is e2h input as it stands (CR LF breaks, lone LF/CR as e2h treats them)
    kDocument,  // the text uses LF alone; each LF stands for the CR LF handed to e2h
  };

  // One replacement in the glyph string: `removed` characters at `position`
  // gave way to `inserted`.
  struct Change {
    std::size_t position = 0;
    std::size_t removed = 0;
    GlyphString inserted;
  };

  explicit IncrementalConverter(Breaks breaks = Breaks::kRaw);

  // Replaces `removed` characters of the English text at `position` with
  // `inserted`. Out-of-range arguments are clamped to the text.
  const Change& edit(std::size_t position, std::size_t removed, std::u16string_view inserted);

  // Replaces the whole English text; only the lines that differ are reconverted.
  const Change& setText(std::u16string_view text);

  // The glyph string, as e2h gives it for the whole text.
  GlyphString hindi() const;
  std::size_t hindiLength() const { return outLength_.total(); }

  // The English text as held (in kDocument mode with LF breaks).
  std::u16string english() const;
  std::size_t englishLength() const { return engLength_.total(); }

  // The chart token (Text1) that a fresh engine holds after e2h of the text.
  const std::u16string& chartToken() const;

  std::size_t lineCount() const { return lines_.size(); }

 private:
  struct Line {
    std::u16string english;  // without its LF
    GlyphString hindi;       // with the LF of every line but the last
    std::u16string token;    // Text1 after the line's last character
    bool hasToken = false;   // the line fed at least one character
    GlyphString leftTxtH;    // txtH after the line, inherited by the next one
    char16_t leftHalf = 0;   // the carried short-i half form after the line

    bool leavesSameAs(const Line& other) const {
      return leftTxtH == other.leftTxtH && leftHalf == other.leftHalf;
    }
  };

  // Sums of line lengths with O(log n) prefix queries.
  class LengthTree {
   public:
    void assign(const std::vector<std::size_t>& values);
    void add(std::size_t index, std::ptrdiff_t delta);
    std::size_t prefix(std::size_t count) const;  // sum of the first `count` values
    std::size_t total() const { return total_; }
    // The index whose range holds `offset`, with the start of that range.
    std::size_t find(std::size_t offset, std::size_t* start) const;
    std::size_t size() const { return tree_.size(); }

   private:
    std::vector<std::size_t> tree_;
    std::size_t total_ = 0;
  };

  void convertLine(Line& line, bool last, const Line* previous);
  void rebuildTrees();

  Breaks breaks_;
  Engine engine_;
  std::vector<Line> lines_;
  LengthTree engLength_;  // English length of each line, LF included
  LengthTree outLength_;  // glyph-string length of each line, LF included
  Change change_;
};

}  // namespace kavelin
