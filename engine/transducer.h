// SPDX-License-Identifier: GPL-3.0-or-later
// Streaming conversion of UTF-8 Roman text straight to glyph bytes.
//
// The output equals e2h of the whole text with its line breaks made CR LF
// (toCrLf), as font codes or as UTF-8, whatever the pieces the input comes in.
// The steps are the engine's own, remembered per token state, so a character
// costs a table lookup and a short copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine.h"
#include "text.h"

namespace kavelin {

class WordCache;

// When the transducer's word cache starts, and its table's sizes (log2 of the
// entry count, 64 bytes an entry). It starts after `after` bytes of input, so
// short texts never pay for it, and grows once, to the large size, if the
// small table misses one lookup in eight.
struct WordCacheSettings {
  std::size_t after = std::size_t{1} << 20;
  unsigned smallBits = 12;
  unsigned largeBits = 17;
};

struct WordCacheStats {
  std::uint64_t lookups = 0;
  std::uint64_t hits = 0;
  std::uint64_t stored = 0;
  std::size_t entries = 0;  // the table's size now
};

class Transducer {
 public:
  enum class Output {
    kCodes,  // one byte per glyph: the font code
    kUtf8,   // each code's Windows-1252 character as UTF-8
  };

  explicit Transducer(Output output = Output::kUtf8, const WordCacheSettings& words = {});
  ~Transducer();

  // Converts the next piece of text and appends what is final to `out`. The
  // last few bytes are held back, since a later short i may take the last
  // half form back. Returns false on invalid UTF-8, with the offset counted
  // over all input fed since the last finish.
  bool feed(std::string_view utf8, std::string& out, Utf8Error* error = nullptr);

  // How many bytes of a UTF-8 sequence the input so far ends inside (0 when
  // it ends on a character boundary).
  std::size_t midSequence() const { return partial_.size(); }

  WordCacheStats wordCacheStats() const;

  // Ends the text: the end-of-text flush, then everything held back. The
  // transducer is then ready for a new text. False when the input ended
  // inside a UTF-8 sequence.
  bool finish(std::string& out, Utf8Error* error = nullptr);

 private:
  void step(int symbol, char16_t c);
  void stepInFull(int symbol, char16_t c);
  void character(char32_t c);
  void release(std::string& out);
  std::size_t fastSteps(const unsigned char* data, std::size_t i, std::size_t stop,
                        std::size_t& rowOut, char*& writeOut);

  Output output_;
  Engine engine_;  // holds the cache, and runs the steps it cannot hold
  Engine::FeedCache* cache_;
  int start_ = 0;  // the state of empty buffers
  int state_ = 0;
  // Output not yet handed out; grows, never shrinks, between texts.
  struct Buffer {
    std::vector<char> bytes;
    std::size_t size = 0;
    void reserve(std::size_t n);  // room for n more bytes
    void append(const char* from, std::size_t n);
    std::string_view view() const { return {bytes.data(), size}; }
  };
  Buffer held_;
  std::unique_ptr<WordCache> words_;
  std::string partial_;           // the start of a UTF-8 sequence cut by the piece's end
  std::size_t partialStart_ = 0;  // its offset in the input
  std::size_t consumed_ = 0;
  bool pendingCr_ = false;  // a CR was seen; a following LF belongs to it
  bool needFlush_ = false;  // the last symbol was a fed character
};

}  // namespace kavelin
