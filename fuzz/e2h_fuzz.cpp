// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the converter. Checks that nothing crashes, that
// remembered feed steps equal the full notification chain, that the
// incremental converter equals a fresh whole-string conversion after edits,
// and that the streaming transducer equals e2h on the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine.h"
#include "incremental.h"
#include "transducer.h"

namespace {

#define check(ok) checkAt(ok, __LINE__)

void checkAt(bool ok, int line) {
  if (!ok) {
    std::fprintf(stderr, "e2h_fuzz: check failed at line %d\n", line);
    std::abort();
  }
}

// Bytes become characters; a few values stand for line breaks and non-ASCII.
std::u16string text(const std::uint8_t* data, std::size_t size) {
  std::u16string s;
  s.reserve(size);
  for (std::size_t i = 0; i < size; ++i) {
    const std::uint8_t b = data[i];
    if (b == 0xF0) {
      s.push_back(u'\u0915');
    } else if (b == 0xF1) {
      s.push_back(u'\u201C');
    } else {
      s.push_back(b);
    }
  }
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static kavelin::Engine cached;
  static kavelin::Engine chained = [] {
    kavelin::Engine e;
    e.setConvrtHook([](const std::u16string&, const kavelin::GlyphString&) { return true; });
    return e;
  }();

  const std::u16string input = text(data, size);
  const kavelin::GlyphString hindi = cached.e2h(input);
  check(hindi == chained.e2h(input));
  check(cached.Text1() == chained.Text1());
  check(cached.txtE() == chained.txtE() && cached.txtH() == chained.txtH());

  // Edits: the input is split into pieces inserted at positions taken from it.
  static kavelin::IncrementalConverter converter;
  converter.setText(u"");
  std::u16string shown;
  std::u16string english;
  std::size_t i = 0;
  while (i < input.size()) {
    const std::size_t piece = 1 + input[i] % 7;
    const std::size_t at = english.empty() ? 0 : input[i] % (english.size() + 1);
    const std::size_t removed =
        (input[i] & 0x80) ? std::min<std::size_t>(2, english.size() - at) : 0;
    const std::u16string inserted = input.substr(i + 1, piece);
    const auto& change = converter.edit(at, removed, inserted);
    shown.replace(change.position, change.removed, change.inserted);
    english.replace(at, removed, inserted);
    i += piece + 1;
  }
  static kavelin::Engine fresh;
  const kavelin::GlyphString expected = fresh.e2h(english);
  check(converter.hindi() == expected);
  check(shown == expected);
  // A text without a fed character leaves a fresh engine's chart token empty.
  const bool fed = english.find_first_not_of(u'\n') != std::u16string::npos;
  check(converter.chartToken() == (fed ? fresh.Text1() : std::u16string()));
  check(converter.english() == english);

  // The byte transducer, fed the raw bytes in pieces cut where the input says,
  // equals e2h of the decoded text with CR LF breaks; so does one with the
  // word cache on from the first byte, in a table small enough for words to
  // collide, in pieces long enough for it to be used.
  std::u16string decoded;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const bool valid = kavelin::decodeUtf8(bytes, decoded);
  static kavelin::Transducer transducer(kavelin::Transducer::Output::kCodes);
  static kavelin::Transducer wordCached(kavelin::Transducer::Output::kCodes, [] {
    kavelin::WordCacheSettings words;
    words.after = 0;
    words.smallBits = 2;
    words.largeBits = 5;
    return words;
  }());
  const auto stream = [&](kavelin::Transducer& t, std::size_t longest) {
    std::string out;
    bool ok = true;
    for (std::size_t at = 0; ok && at < size;) {
      const std::size_t piece = 1 + data[at] % longest;
      ok = t.feed(std::string_view(bytes).substr(at, piece), out);
      at += piece;
    }
    ok = t.finish(out) && ok;
    check(ok == valid);
    return out;
  };
  const std::string streamed = stream(transducer, 13);
  if (valid) check(streamed == kavelin::glyphToCodes(fresh.e2h(kavelin::toCrLf(decoded))));
  const std::string fromCache = stream(wordCached, 61);
  if (valid) check(fromCache == streamed);
  return 0;
}
