#include "incremental.h"

#include <algorithm>

namespace kavelin {

// ---------------------------------------------------------------------------
// LengthTree: a Fenwick tree over non-negative lengths.

void IncrementalConverter::LengthTree::assign(const std::vector<std::size_t>& values) {
  tree_.assign(values.size(), 0);
  total_ = 0;
  for (std::size_t i = 0; i < values.size(); ++i) {
    tree_[i] += values[i];
    total_ += values[i];
    const std::size_t parent = i | (i + 1);
    if (parent < tree_.size()) tree_[parent] += tree_[i];
  }
}

void IncrementalConverter::LengthTree::add(std::size_t index, std::ptrdiff_t delta) {
  total_ += delta;
  for (std::size_t i = index; i < tree_.size(); i |= i + 1) tree_[i] += delta;
}

std::size_t IncrementalConverter::LengthTree::prefix(std::size_t count) const {
  std::size_t sum = 0;
  for (std::size_t i = count; i > 0; i &= i - 1) sum += tree_[i - 1];
  return sum;
}

std::size_t IncrementalConverter::LengthTree::find(std::size_t offset, std::size_t* start) const {
  // Largest index whose prefix sum is <= offset.
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

IncrementalConverter::IncrementalConverter(Breaks breaks) : breaks_(breaks) {
  lines_.emplace_back();
  convertLine(lines_.back(), true, nullptr);
  rebuildTrees();
}

void IncrementalConverter::convertLine(Line& line, bool last, const Line* previous) {
  engine_.ClearTxt();
  engine_.setTxtH(previous ? previous->leftTxtH : GlyphString());
  engine_.setShortIHalf(previous ? previous->leftHalf : 0);
  if (last) {
    engine_.feedText(line.english);
    line.hasToken = !line.english.empty();
  } else {
    std::u16string input = line.english;
    if (breaks_ == Breaks::kDocument) input.push_back(u'\r');
    line.hasToken = !input.empty();
    input.push_back(u'\n');
    engine_.feedText(input);
  }
  line.hindi = engine_.txtHM();
  line.token = line.hasToken ? engine_.Text1() : std::u16string();
  line.leftTxtH = engine_.txtH();
  line.leftHalf = engine_.shortIHalf();
}

void IncrementalConverter::rebuildTrees() {
  std::vector<std::size_t> eng(lines_.size());
  std::vector<std::size_t> out(lines_.size());
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    eng[i] = lines_[i].english.size() + (i + 1 < lines_.size() ? 1 : 0);
    out[i] = lines_[i].hindi.size();
  }
  engLength_.assign(eng);
  outLength_.assign(out);
}

const IncrementalConverter::Change& IncrementalConverter::edit(std::size_t position,
                                                               std::size_t removed,
                                                               std::u16string_view inserted) {
  const std::size_t length = engLength_.total();
  position = std::min(position, length);
  removed = std::min(removed, length - position);

  // Lines [first, last] hold the edited range.
  std::size_t firstStart = 0;
  std::size_t first = engLength_.find(position, &firstStart);
  if (first >= lines_.size()) first = lines_.size() - 1, firstStart = engLength_.prefix(first);
  std::size_t lastStart = 0;
  std::size_t last = engLength_.find(position + removed, &lastStart);
  if (last >= lines_.size()) last = lines_.size() - 1, lastStart = engLength_.prefix(last);

  // The new text of those lines, split at its line feeds.
  std::u16string text = lines_[first].english.substr(0, position - firstStart);
  text.append(inserted);
  text.append(lines_[last].english, position + removed - lastStart);

  std::vector<Line> fresh;
  std::size_t begin = 0;
  for (;;) {
    const std::size_t lf = text.find(u'\n', begin);
    fresh.emplace_back();
    fresh.back().english = text.substr(begin, lf == std::u16string::npos ? lf : lf - begin);
    if (lf == std::u16string::npos) break;
    begin = lf + 1;
  }
  const bool endsText = last + 1 == lines_.size();
  for (std::size_t i = 0; i < fresh.size(); ++i) {
    const Line* previous = i > 0 ? &fresh[i - 1] : first > 0 ? &lines_[first - 1] : nullptr;
    convertLine(fresh[i], endsText && i + 1 == fresh.size(), previous);
  }
  // The following lines inherit a different token: reconvert them until one
  // leaves what it left before.
  std::size_t end = last + 1;  // lines [first, end) are replaced
  while (end < lines_.size() && !fresh.back().leavesSameAs(lines_[end - 1])) {
    Line next;
    next.english = lines_[end].english;
    convertLine(next, end + 1 == lines_.size(), &fresh.back());
    fresh.push_back(std::move(next));
    ++end;
  }

  change_.position = outLength_.prefix(first);
  change_.removed = outLength_.prefix(end) - change_.position;
  change_.inserted.clear();
  for (const Line& line : fresh) change_.inserted += line.hindi;

  const std::size_t oldCount = end - first;
  if (fresh.size() == oldCount) {
    for (std::size_t i = 0; i < oldCount; ++i) {
      const std::size_t at = first + i;
      const bool hasLf = at + 1 < lines_.size();
      engLength_.add(at, static_cast<std::ptrdiff_t>(fresh[i].english.size() + hasLf) -
                             static_cast<std::ptrdiff_t>(lines_[at].english.size() + hasLf));
      outLength_.add(at, static_cast<std::ptrdiff_t>(fresh[i].hindi.size()) -
                             static_cast<std::ptrdiff_t>(lines_[at].hindi.size()));
      lines_[at] = std::move(fresh[i]);
    }
  } else {
    lines_.erase(lines_.begin() + first, lines_.begin() + end);
    lines_.insert(lines_.begin() + first, std::make_move_iterator(fresh.begin()),
                  std::make_move_iterator(fresh.end()));
    rebuildTrees();
  }
  return change_;
}

const IncrementalConverter::Change& IncrementalConverter::setText(std::u16string_view text) {
  // Common prefix and suffix with the text held, compared line by line.
  const std::size_t oldLength = engLength_.total();
  std::size_t prefix = 0;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const std::u16string& line = lines_[i].english;
    const std::size_t n = std::min(line.size(), text.size() - prefix);
    const auto mismatch = std::mismatch(line.begin(), line.begin() + n, text.begin() + prefix);
    const std::size_t same = static_cast<std::size_t>(mismatch.first - line.begin());
    prefix += same;
    if (same < line.size() || i + 1 == lines_.size()) break;
    if (prefix >= text.size() || text[prefix] != u'\n') break;
    ++prefix;
  }
  std::size_t suffix = 0;
  const std::size_t maxSuffix = std::min(oldLength, text.size()) - prefix;
  for (std::size_t i = lines_.size(); i-- > 0 && suffix < maxSuffix;) {
    if (i + 1 < lines_.size()) {
      if (text[text.size() - 1 - suffix] != u'\n') break;
      ++suffix;
    }
    const std::u16string& line = lines_[i].english;
    std::size_t k = 0;
    while (k < line.size() && suffix < maxSuffix &&
           line[line.size() - 1 - k] == text[text.size() - 1 - suffix]) {
      ++k, ++suffix;
    }
    if (k < line.size()) break;
  }
  suffix = std::min(suffix, maxSuffix);
  return edit(prefix, oldLength - prefix - suffix,
              text.substr(prefix, text.size() - prefix - suffix));
}

GlyphString IncrementalConverter::hindi() const {
  GlyphString out;
  out.reserve(outLength_.total());
  for (const Line& line : lines_) out += line.hindi;
  return out;
}

std::u16string IncrementalConverter::english() const {
  std::u16string out;
  out.reserve(engLength_.total());
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (i) out.push_back(u'\n');
    out += lines_[i].english;
  }
  return out;
}

const std::u16string& IncrementalConverter::chartToken() const {
  for (std::size_t i = lines_.size(); i-- > 0;) {
    if (lines_[i].hasToken) return lines_[i].token;
  }
  static const std::u16string empty;
  return empty;
}

}  // namespace kavelin
