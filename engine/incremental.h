// SPDX-License-Identifier: GPL-3.0-or-later
// Incremental conversion of a text held here: the Transliterator with the
// English text and the glyph text it gives kept side by side. For callers that
// have no document of their own to read the text from.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "transliterator.h"

namespace kavelin {

class IncrementalConverter {
 public:
  using Breaks = Transliterator::Breaks;
  using Change = Transliterator::Change;

  explicit IncrementalConverter(Breaks breaks = Breaks::kRaw) : transliterator_(breaks) {}

  // Replaces `removed` characters of the English text at `position` with
  // `inserted`. Out-of-range arguments are clamped to the text.
  const Change& edit(std::size_t position, std::size_t removed, std::u16string_view inserted);

  // Replaces the whole English text; only the lines that differ are reconverted.
  const Change& setText(std::u16string_view text);

  // The glyph string, as e2h gives it for the whole text.
  const GlyphString& hindi() const { return hindi_; }
  // The English text as held (in kDocument mode with LF breaks).
  const std::u16string& english() const { return english_; }
  // The chart token (Text1) that a fresh engine holds after e2h of the text.
  const std::u16string& chartToken() const { return transliterator_.chartToken(); }
  std::size_t lineCount() const { return transliterator_.lineCount(); }
  std::size_t hindiLength() const { return transliterator_.hindiLength(); }

 private:
  Transliterator transliterator_;
  std::u16string english_;
  GlyphString hindi_;
};

}  // namespace kavelin
