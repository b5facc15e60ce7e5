// SPDX-License-Identifier: GPL-3.0-or-later
#include "transliterator.h"

#include <algorithm>

#include "unicode.h"

namespace kavelin {
namespace {

// Characters read from the source at a time: a rewrite of a long text never
// holds a second copy of it.
constexpr std::size_t kChunk = std::size_t{1} << 16;

}  // namespace

// ---------------------------------------------------------------------------
// LengthTree: a Fenwick tree over non-negative lengths.

void Transliterator::LengthTree::assign(const std::vector<Line>& lines,
                                        std::size_t Line::*length) {
  tree_.assign(lines.size(), 0);
  total_ = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    tree_[i] += lines[i].*length;
    total_ += lines[i].*length;
    const std::size_t parent = i | (i + 1);
    if (parent < tree_.size()) tree_[parent] += tree_[i];
  }
}

void Transliterator::LengthTree::add(std::size_t index, std::ptrdiff_t delta) {
  total_ += delta;
  for (std::size_t i = index; i < tree_.size(); i |= i + 1) tree_[i] += delta;
}

std::size_t Transliterator::LengthTree::prefix(std::size_t count) const {
  std::size_t sum = 0;
  for (std::size_t i = count; i > 0; i &= i - 1) sum += tree_[i - 1];
  return sum;
}

std::size_t Transliterator::LengthTree::find(std::size_t offset, std::size_t* start) const {
  // Largest count whose prefix sum is <= offset.
  std::size_t pos = 0;
  std::size_t sum = 0;
  std::size_t step = 1;
  while (step * 2 <= tree_.size()) step *= 2;
  for (; step > 0; step /= 2) {
    const std::size_t next = pos + step;
    if (next <= tree_.size() && sum + tree_[next - 1] <= offset) {
      pos = next;
      sum += tree_[next - 1];
    }
  }
  if (start) *start = sum;
  return pos;
}

// ---------------------------------------------------------------------------

Transliterator::Transliterator(Breaks breaks, bool unicodeLines)
    : breaks_(breaks), unicodeLines_(unicodeLines) {
  lines_.push_back(convertLine(std::u16string_view(), true, nullptr));
  engLength_.assign(lines_, &Line::english);
  outLength_.assign(lines_, &Line::hindi);
  change_ = Change();
}

Transliterator::Line Transliterator::convertLine(std::u16string_view english, bool last,
                                                 const Line* previous) {
  engine_.ClearTxt();
  engine_.setTxtH(previous ? previous->leftTxtH : GlyphString());
  engine_.setShortIHalf(previous ? previous->leftHalf : 0);
  Line line;
  line.hasToken = !english.empty();
  if (last) {
    engine_.feedText(english);
  } else {
    // The line and its break in one feed, as e2h takes them.
    input_.assign(english);
    if (breaks_ == Breaks::kDocument) {
      input_.push_back(u'\r');
      line.hasToken = true;
    }
    input_.push_back(u'\n');
    engine_.feedText(input_);
  }
  const GlyphString& glyphs = engine_.txtHM();
  line.english = english.size() + (last ? 0 : 1);
  line.hindi = glyphs.size();
  if (line.hasToken) line.token = engine_.Text1();
  line.leftTxtH = engine_.txtH();
  line.leftHalf = engine_.shortIHalf();
  change_.inserted += glyphs;
  if (unicodeLines_) {
    std::u16string_view shown(glyphs);
    if (!last && !shown.empty() && shown.back() == u'\n') shown.remove_suffix(1);
    change_.unicode.push_back(glyphsToUnicode(shown));
  }
  return line;
}

const Transliterator::Change& Transliterator::edit(Source& source, std::size_t position,
                                                   std::size_t removed, std::size_t added) {
  const std::size_t oldLength = engLength_.total();
  const std::size_t newLength = source.length();
  if (position > oldLength || removed > oldLength - position ||
      oldLength - removed + added != newLength) {
    position = 0, removed = oldLength, added = newLength;
  }

  // Lines [first, last] hold the edited range; in the new text they span
  // [firstStart, regionEnd).
  std::size_t firstStart = 0;
  std::size_t first = engLength_.find(position, &firstStart);
  if (first >= lines_.size()) first = lines_.size() - 1, firstStart = engLength_.prefix(first);
  std::size_t lastStart = 0;
  std::size_t last = engLength_.find(position + removed, &lastStart);
  if (last >= lines_.size()) last = lines_.size() - 1, lastStart = engLength_.prefix(last);
  const std::size_t regionEnd = lastStart + lines_[last].english - removed + added;
  const bool endsText = last + 1 == lines_.size();

  change_.inserted.clear();
  change_.inserted.reserve(regionEnd - firstStart);
  change_.unicode.clear();
  std::vector<Line> fresh;
  const Line* previous = first > 0 ? &lines_[first - 1] : nullptr;
  auto add = [&](std::u16string_view english, bool lastLine) {
    Line line = convertLine(english, lastLine, previous);
    fresh.push_back(std::move(line));
    previous = &fresh.back();
  };

  // The new lines, read a piece at a time; a line cut by a piece's end is
  // carried into the next.
  std::u16string carry;
  for (std::size_t at = firstStart; at < regionEnd;) {
    const std::size_t to = std::min(regionEnd, at + kChunk);
    const std::u16string_view piece = source.text(at, to);
    for (std::size_t begin = 0;;) {
      const std::size_t lf = piece.find(u'\n', begin);
      if (lf == std::u16string_view::npos) {
        carry.append(piece.substr(begin));
        break;
      }
      if (carry.empty()) {
        add(piece.substr(begin, lf - begin), false);
      } else {
        carry.append(piece.substr(begin, lf - begin));
        add(carry, false);
        carry.clear();
      }
      begin = lf + 1;
    }
    at = to;
  }
  // Without the end of the text, the region ends with the line feed of its
  // last line, and nothing is carried.
  if (endsText || !carry.empty()) add(carry, endsText);

  // The following lines inherit a different token: reconvert them until one
  // leaves what it left before.
  std::size_t end = last + 1;  // lines [first, end) are replaced
  std::size_t start = regionEnd;
  while (end < lines_.size() && !fresh.back().leavesSameAs(lines_[end - 1])) {
    const bool lastLine = end + 1 == lines_.size();
    const std::size_t length = lines_[end].english - (lastLine ? 0 : 1);
    add(source.text(start, start + length), lastLine);
    start += lines_[end].english;
    ++end;
  }

  change_.position = outLength_.prefix(first);
  change_.removed = outLength_.prefix(end) - change_.position;
  change_.firstLine = first;
  change_.removedLines = end - first;

  if (fresh.size() == end - first) {
    for (std::size_t i = 0; i < fresh.size(); ++i) {
      Line& old = lines_[first + i];
      engLength_.add(first + i, static_cast<std::ptrdiff_t>(fresh[i].english) -
                                    static_cast<std::ptrdiff_t>(old.english));
      outLength_.add(first + i, static_cast<std::ptrdiff_t>(fresh[i].hindi) -
                                    static_cast<std::ptrdiff_t>(old.hindi));
      old = std::move(fresh[i]);
    }
  } else {
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(first),
                 lines_.begin() + static_cast<std::ptrdiff_t>(end));
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(first),
                  std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
    engLength_.assign(lines_, &Line::english);
    outLength_.assign(lines_, &Line::hindi);
  }
  return change_;
}

const std::u16string& Transliterator::chartToken() const {
  for (std::size_t i = lines_.size(); i-- > 0;) {
    if (lines_[i].hasToken) return lines_[i].token;
  }
  static const std::u16string empty;
  return empty;
}

}  // namespace kavelin
