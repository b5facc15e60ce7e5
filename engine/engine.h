// SPDX-License-Identifier: GPL-3.0-or-later
// The transliteration engine: English text in, DevLys 160 glyph string out.
//
// The engine is a set of text buffers whose change notifications drive the
// conversion, one character at a time:
//   e2h -> append to txtEM -> txtEM_Change -> append to txtE -> txtE_Change
//       -> GetHindi -> convrt -> (commit to txtHM, restart txtE -> ...)
// A write to txtE or txtEM runs its handler to completion, including every
// nested write and notification, before the write returns.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "keytable.h"
#include "text.h"

namespace kavelin {

class Engine {
 public:
  // Observes every call of convrt as GetHindi makes it. Returning false skips
  // the real composition, so that a pass of GetHindi can be studied alone.
  using ConvrtHook = std::function<bool(const std::u16string& eng, const GlyphString& hin)>;

  Engine();
  ~Engine();
  Engine(Engine&&) noexcept;
  Engine& operator=(Engine&&) noexcept;
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // Whole-string conversion: empties the buffers, feeds `strn` character by
  // character and returns the Hindi mirror. Line breaks must be CR LF (see
  // toCrLf); a lone LF drops the pending token, as it always has.
  GlyphString e2h(std::u16string_view strn);

  // The loop of e2h without its ClearTxt: feeds `strn` into the buffers as they
  // stand, appending to txtHM.
  void feedText(std::u16string_view strn);

  // Empties txtH, txtE, txtHM and txtEM, in that order.
  void ClearTxt();

  // Change notifications of the two notifying buffers.
  void txtEM_Change();
  void txtE_Change();

  // Recognises the key at the start of txtE and hands it to convrt.
  void GetHindi();

  // Composes the token for key `eng` with glyph string `hin` against the
  // current contents of txtE.
  void convrt(const std::u16string& eng, const GlyphString& hin);

  // -1 when `key` is one of the 39 "r" + consonant clusters, else 0.
  static std::int16_t chkRFlag(std::u16string_view key);

  // Buffers.
  const std::u16string& txtE() const { return txtE_; }
  const GlyphString& txtH() const { return txtH_; }
  const std::u16string& txtEM() const { return txtEM_; }
  const GlyphString& txtHM() const { return txtHM_; }
  const std::u16string& Text1() const { return Text1_; }
  std::int16_t suppressFeed() const { return suppressFeed_; }
  // The half form the short-i rule took back for the current token, or 0.
  char16_t shortIHalf() const { return shortIHalf_; }

  // Buffer writes. Writing txtE or txtEM raises its change notification.
  void setTxtE(std::u16string text);
  void setTxtEM(std::u16string text);
  void setTxtH(GlyphString text) { txtH_ = std::move(text); }
  void setTxtHM(GlyphString text) { txtHM_ = std::move(text); }
  void setText1(std::u16string text) { Text1_ = std::move(text); }
  void setSuppressFeed(std::int16_t value) { suppressFeed_ = value; }
  void setShortIHalf(char16_t half) { shortIHalf_ = half; }

  void setConvrtHook(ConvrtHook hook) { hook_ = std::move(hook); }

  // A key with what convrt derives from it alone (defined with the rules).
  struct Key;

 private:
  // Feeding one character is a function of the token state (txtE, txtH and the
  // carried half form) and, for the short-i rule only, of the last character of
  // txtHM. The cache remembers each step it has run, as the characters it
  // appends to txtHM and the state it leaves, so e2h repeats known steps
  // without running the notification chain again. Steps that read txtHM, and
  // every step while a convrt hook is set, always run in full.
  class FeedCache;
  struct Step;
  friend class Transducer;
  friend class WordCache;
  static constexpr int kNonAscii = 128;  // every character beyond ASCII
  static constexpr int kLineFeed = 129;
  static constexpr int kEnd = 130;  // the end-of-text flush
  static constexpr int kSymbols = 131;
  static int symbolOf(char16_t c);
  static bool isHalfForm(char16_t c);
  void runSymbol(int symbol, char16_t c);
  void feed(char16_t c);

  void appendTxtE(char16_t c);
  void appendTxtEM(char16_t c);
  void callConvrt(const Key& key);
  void compose(const Key& key);
  void shortI(const Key& key);
  void commitOnSpace(const GlyphString& hin);
  void fallback(const Key& key, std::u16string_view E);

  std::u16string txtE_;
  GlyphString txtH_;
  std::u16string txtEM_;
  GlyphString txtHM_;
  std::u16string Text1_;
  std::int16_t suppressFeed_ = 0;
  // The half form that the short-i rule took out of txtHM for the current
  // token (0: none); carried into the token when it goes on to the vowel "ii".
  char16_t shortIHalf_ = 0;
  ConvrtHook hook_;
  int mirrorReads_ = 0;  // reads of txtHM by the short-i rule
  // While the cache learns a step: how many characters of txtHM stand for the
  // real mirror (0 or its last one), whether that one was taken back, and
  // whether the step read past it.
  std::size_t mirrorBase_ = 0;
  bool mirrorBasePopped_ = false;
  bool mirrorUnderflow_ = false;
  std::unique_ptr<FeedCache> cache_;
};

}  // namespace kavelin
