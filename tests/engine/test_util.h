// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the engine tests.
#pragma once

#include <string>
#include <vector>

#include "engine.h"
#include "text.h"

namespace kavelin::test {

inline std::u16string u(const std::string& latin) { return latin1(latin); }

// Font codes of a glyph string, as bytes, for exact comparison.
inline std::string codes(const std::u16string& glyphs) { return glyphToCodes(glyphs); }

// Converts Roman text the way the program does (line breaks made CR LF first).
inline std::string convert(const std::string& english) {
  Engine engine;
  return codes(engine.e2h(toCrLf(u(english))));
}

struct Call {
  std::u16string eng;
  std::string hin;  // font codes
  bool operator==(const Call& o) const { return eng == o.eng && hin == o.hin; }
};

inline std::ostream& operator<<(std::ostream& os, const Call& c) {
  return os << "(" << encodeUtf8(c.eng) << ", " << encodeUtf8(latin1(c.hin)) << ")";
}

// Records every convrt call; with `run` false the composition itself is skipped.
inline void recordCalls(Engine& engine, std::vector<Call>& calls, bool run) {
  engine.setConvrtHook([&calls, run](const std::u16string& eng, const GlyphString& hin) {
    calls.push_back({eng, codes(hin)});
    return run;
  });
}

// Puts `text` into txtE without letting GetHindi compose anything.
inline void loadTokenBuffer(Engine& engine, const std::u16string& text) {
  engine.setConvrtHook([](const std::u16string&, const GlyphString&) { return false; });
  engine.setTxtE(text);
  engine.setConvrtHook(nullptr);
}

}  // namespace kavelin::test
