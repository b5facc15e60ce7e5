// SPDX-License-Identifier: GPL-3.0-or-later
// Office documents (DOCX, ODT) converted between legacy glyph codes and
// Unicode Devanagari in their own format: only the text that changes script,
// and its font, change; every other zip entry is copied as it was.
//
// Nothing here keeps global state: conversions may run on several threads.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "package.h"
#include "unicodetoglyphs.h"

namespace kavelin::documents {

enum class Format { kDocx, kOdt };

struct Request {
  bool toUnicode = true;  // glyph codes -> Unicode; false: Unicode -> glyph codes
  // The font of glyph runs: text in it, or in its Bold name ("DevLys 160
  // Bold"), is glyph codes; glyph output is written in it.
  std::u16string legacyFont = u"DevLys 160";
  std::u16string unicodeFont = u"Noto Sans Devanagari";
  std::size_t maxReported = 5;  // unconverted characters kept with their place
  PackageLimits limits;
  // Called after each text part with the parts done and their number; a
  // false return cancels the conversion.
  std::function<bool(std::size_t done, std::size_t total)> progress;
};

// A character left as it was: the part ("word/document.xml"), and there the
// paragraph (where.at.line, counted from 1 in document order) and the
// character's offset in it (where.at.column, from 1).
struct Place {
  std::string part;
  UnconvertedChar where;
};

struct Result {
  std::string output;  // the converted package; empty with an error
  std::string error;   // what is wrong, or empty
  bool cancelled = false;
  std::size_t unconverted = 0;
  std::vector<Place> first;  // at most Request::maxReported
};

// Converts the package in `bytes`.
Result convertPackage(std::string_view bytes, Format format, const Request& request);

// The format a file name's extension names (".docx", ".odt", any case).
bool formatOfName(std::string_view name, Format& format);

}  // namespace kavelin::documents
