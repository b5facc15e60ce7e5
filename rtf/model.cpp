// SPDX-License-Identifier: GPL-3.0-or-later
#include <cmath>
#include <utility>

#include "rtf.h"

namespace kavelin {

bool operator==(const RunFormat& a, const RunFormat& b) {
  return a.font == b.font && a.sizePt == b.sizePt && a.bold == b.bold && a.italic == b.italic &&
         a.underline == b.underline && a.color == b.color;
}

bool operator==(const RichRun& a, const RichRun& b) {
  return a.text == b.text && a.format == b.format;
}

bool operator==(const RichParagraph& a, const RichParagraph& b) {
  return a.align == b.align && a.runs == b.runs;
}

bool operator==(const RichDocument& a, const RichDocument& b) {
  return a.paragraphs == b.paragraphs;
}

double rtfFontSize(double pt) {
  if (!std::isfinite(pt)) return 12.0;
  const double halves = std::floor(pt * 2.0 + 0.5);
  if (halves < 2.0) return 1.0;
  if (halves > 3276.0) return 1638.0;
  return halves / 2.0;
}

void mergeRuns(RichParagraph& paragraph) {
  std::vector<RichRun> merged;
  merged.reserve(paragraph.runs.size());
  for (RichRun& run : paragraph.runs) {
    if (run.text.empty()) continue;
    if (!merged.empty() && merged.back().format == run.format) {
      merged.back().text += run.text;
    } else {
      merged.push_back(std::move(run));
    }
  }
  paragraph.runs = std::move(merged);
}

}  // namespace kavelin
