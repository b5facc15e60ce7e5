// SPDX-License-Identifier: GPL-3.0-or-later
#include "incremental.h"

#include <algorithm>

namespace kavelin {

const IncrementalConverter::Change& IncrementalConverter::edit(std::size_t position,
                                                               std::size_t removed,
                                                               std::u16string_view inserted) {
  position = std::min(position, english_.size());
  removed = std::min(removed, english_.size() - position);
  english_.replace(position, removed, inserted);
  StringSource source(english_);
  const Change& change = transliterator_.edit(source, position, removed, inserted.size());
  hindi_.replace(change.position, change.removed, change.inserted);
  return change;
}

const IncrementalConverter::Change& IncrementalConverter::setText(std::u16string_view text) {
  // Only what lies between the common start and the common end changes.
  const std::size_t shorter = std::min(english_.size(), text.size());
  const std::size_t prefix = static_cast<std::size_t>(
      std::mismatch(english_.begin(), english_.begin() + shorter, text.begin()).first -
      english_.begin());
  std::size_t suffix = 0;
  while (suffix < shorter - prefix &&
         english_[english_.size() - 1 - suffix] == text[text.size() - 1 - suffix]) {
    ++suffix;
  }
  return edit(prefix, english_.size() - prefix - suffix,
              text.substr(prefix, text.size() - prefix - suffix));
}

}  // namespace kavelin
