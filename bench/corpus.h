// SPDX-License-Identifier: GPL-3.0-or-later
// The sample text for the benchmarks, read once.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

#include "engine.h"
#include "text.h"

namespace kavelin::bench {

// The sample text as typed, with CR LF breaks.
inline const std::u16string& corpusRoman() {
  static const std::u16string roman = [] {
    std::ifstream in(KAVELIN_CORPUS, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    std::u16string text;
    decodeUtf8(ss.str(), text);
    return toCrLf(text);
  }();
  return roman;
}

// Its glyph string, as the engine converts it.
inline const GlyphString& corpusGlyphs() {
  static const GlyphString glyphs = [] {
    Engine engine;
    return engine.e2h(corpusRoman());
  }();
  return glyphs;
}

}  // namespace kavelin::bench
