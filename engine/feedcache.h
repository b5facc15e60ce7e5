// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's remembered feed steps (internal to the engine library).
//
// Feeding one symbol is a function of the token state (txtE, txtH and the
// carried half form) and, for the short-i rule only, of the last character of
// txtHM. The cache remembers each step it has run, as the glyphs it appends to
// txtHM and the state it leaves, so a conversion repeats known steps without
// running the notification chain again. A step that reads txtHM is
// remembered per last glyph (a half form, or anything else).
#pragma once

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine.h"
#include "largealloc.h"

namespace kavelin {

struct Engine::Step {
  std::int32_t next = -1;  // the state it leaves, or one of the FeedCache marks
  std::uint32_t offset = 0;
  std::uint32_t length = 0;
  std::uint32_t offset8 = 0;
  std::uint32_t length8 = 0;
  bool pop = false;  // takes the mirror's last glyph back first
};

class Engine::FeedCache {
 public:
  // The rows of kMaxStates states are reserved at once: untouched, they take
  // no memory, and the steps never move as states are learned.
  FeedCache() {
    scratch_.mirrorBase_ = 0;
    steps_.reserve(kMaxStates * kSymbols);
  }

  // The id of the engine's current token state.
  int intern(const Engine& engine) {
    key_.clear();
    key_.push_back(static_cast<char16_t>(engine.txtE_.size()));
    key_ += engine.txtE_;
    key_.push_back(static_cast<char16_t>(engine.txtH_.size()));
    key_ += engine.txtH_;
    key_.push_back(engine.shortIHalf_);
    const auto found = ids_.find(key_);
    if (found != ids_.end()) return found->second;
    const int id = static_cast<int>(states_.size());
    states_.push_back({engine.txtE_, engine.txtH_, engine.shortIHalf_});
    steps_.resize(steps_.size() + kSymbols);
    if (bytes_) fast_.resize(states_.size() * kFastSymbols);
    ids_.emplace(key_, id);
    return id;
  }

  // Puts state `id` back into the engine's token buffers.
  void restore(int id, Engine& engine) const {
    const State& s = states_[id];
    engine.txtE_ = s.txtE;
    engine.txtH_ = s.txtH;
    engine.shortIHalf_ = s.half;
  }

  const std::u16string& tokenBuffer(int id) const { return states_[id].txtE; }

  // The step from `state` on `symbol`, for a mirror that ends in `last` (0
  // when empty). Learns it on first use; null when it must run in full.
  const Step* step(int state, int symbol, char16_t last) {
    const std::size_t index = static_cast<std::size_t>(state) * kSymbols + symbol;
    if (steps_[index].next == kUnknown) {
      const Step learned = learn(state, symbol);  // may grow steps_
      steps_[index] = learned;
      if (bytes_ && learned.next >= 0 && !learned.pop && symbol >= kFastFirst &&
          symbol < kFastFirst + kFastSymbols) {
        const std::uint32_t length = utf8Fast_ ? learned.length8 : learned.length;
        const std::uint32_t offset = utf8Fast_ ? learned.offset8 : learned.offset;
        if (length <= kPadding && offset < (1u << 28)) {
          fast_[static_cast<std::size_t>(state) * kFastSymbols + (symbol - kFastFirst)] = {
              learned.next * kFastSymbols, offset << 4 | length};
        }
      }
    }
    Step* s = &steps_[index];
    if (s->next < 0) {
      if (s->next == kUncacheable) return nullptr;
      if (s->next == kDependsOnMirror) {
        // One step for each half form the mirror may end in, and one for
        // every other ending.
        const std::size_t half = last < 128 ? halfIndex()[last] : kHalfCount;
        const std::size_t at = s->offset + half;
        if (dependent_[at].next == kUnknown) {
          const char16_t canonical = half < kHalfCount ? last : kNotHalf;
          const Step learned = learnAfter(state, symbol, canonical);
          dependent_[at] = learned;
        }
        return dependent_[at].next == kUncacheable ? nullptr : &dependent_[at];
      }
    }
    return s;
  }

  // True for a half form, the only last glyph a step tells from the others.
  static bool halfForm(char16_t c) { return c < 128 && halfIndex()[c] < kHalfCount; }

  // The remembered step, which may still be unknown (next < 0).
  const Step& known(int state, int symbol) const {
    return steps_[static_cast<std::size_t>(state) * kSymbols + symbol];
  }

  const char16_t* glyphs(const Step& step) const { return pool_.data() + step.offset; }
  const char* codes(const Step& step) const { return codes_.data() + step.offset; }
  const char* utf8(const Step& step) const { return utf8_.data() + step.offset8; }

  // For the transducer's inner loop: every step of state s is at
  // steps()[s * kSymbols + symbol], and each byte pool has kPadding bytes
  // after its last step, so a step can be copied kPadding bytes at a time.
  // The pointers hold until the next step is learned.
  static constexpr std::size_t kPadding = 8;
  const Step* steps() const { return steps_.data(); }

  // The steps on printable ASCII (kFastFirst on) that append at most
  // kPadding bytes of the chosen encoding and take nothing back, by state row
  // (state * kFastSymbols) and symbol - kFastFirst; row is -1 for every other
  // step. Eight bytes each, so that the rows of the states text visits stay
  // in the cache.
  static constexpr int kFastFirst = 0x20;
  static constexpr int kFastSymbols = 0x60;
  struct FastStep {
    std::int32_t row = -1;       // of the state the step leaves
    std::uint32_t offsetLength;  // offset << 4 | length
  };
  const FastStep* fast() const { return fast_.data(); }
  const char* codes() const { return codes_.data(); }
  const char* utf8() const { return utf8_.data(); }

  // Keeps every step's glyphs as font codes and as UTF-8 too (from now on;
  // set before the first step is learned).
  void keepBytes(bool utf8Fast) {
    bytes_ = true;
    utf8Fast_ = utf8Fast;
    fast_.reserve(kMaxStates * kFastSymbols);
    fast_.resize(states_.size() * kFastSymbols);
    codes_.assign(pool_.size() + kPadding, '\0');
    utf8_.assign(kPadding, '\0');
  }

  // Forgets everything once it holds more states than ordinary text visits;
  // called only between conversions, when no state id is held. True when it
  // forgot.
  bool trim() {
    if (states_.size() <= kMaxStates) return false;
    clear();
    return true;
  }

 private:
  static constexpr std::size_t kMaxStates = 1 << 12;
  static constexpr std::int32_t kUnknown = -1;
  static constexpr std::int32_t kUncacheable = -2;
  static constexpr std::int32_t kDependsOnMirror = -3;
  static constexpr char16_t kNotHalf = u'k';  // stands for every other last glyph
  static constexpr std::size_t kHalfCount = 18;

  // The place of each half form among them, kHalfCount for any other character.
  static const std::array<std::uint8_t, 128>& halfIndex() {
    static const std::array<std::uint8_t, 128> index = [] {
      std::array<std::uint8_t, 128> t{};
      t.fill(kHalfCount);
      std::size_t n = 0;
      for (char16_t c = 1; c < 128; ++c) {
        if (isHalfForm(c)) t[c] = static_cast<std::uint8_t>(n++);
      }
      if (n != kHalfCount) std::abort();  // the half forms are all ASCII
      return t;
    }();
    return index;
  }

  struct State {
    std::u16string txtE;
    GlyphString txtH;
    char16_t half;
  };

  // Runs `symbol` from `state` on the scratch engine, whose mirror holds
  // `last` alone (0: nothing), the only part of the real mirror a step reads.
  void run(int state, int symbol, char16_t last) {
    const State& s = states_[state];
    scratch_.txtE_ = s.txtE;
    scratch_.txtH_ = s.txtH;
    scratch_.shortIHalf_ = s.half;
    scratch_.txtHM_.clear();
    if (last) scratch_.txtHM_.push_back(last);
    scratch_.txtEM_.clear();
    scratch_.mirrorBase_ = last ? 1 : 0;
    scratch_.mirrorReads_ = 0;
    scratch_.mirrorUnderflow_ = false;
    scratch_.mirrorBasePopped_ = false;
    scratch_.runSymbol(symbol, symbol == kNonAscii ? u'\u0915' : static_cast<char16_t>(symbol));
  }

  Step record(std::u16string_view appended, bool pop) {
    Step step;
    step.offset = static_cast<std::uint32_t>(pool_.size());
    step.length = static_cast<std::uint32_t>(appended.size());
    pool_.append(appended);
    if (bytes_) {
      codes_.resize(step.offset);  // drop the padding
      codes_ += glyphToCodes(appended);
      codes_.append(kPadding, '\0');
      utf8_.resize(utf8_.size() - kPadding);
      step.offset8 = static_cast<std::uint32_t>(utf8_.size());
      utf8_ += encodeUtf8(appended);
      step.length8 = static_cast<std::uint32_t>(utf8_.size() - step.offset8);
      utf8_.append(kPadding, '\0');
    }
    step.pop = pop;
    step.next = intern(scratch_);
    return step;
  }

  Step learn(int state, int symbol) {
    run(state, symbol, 0);
    if (scratch_.mirrorReads_ != 0) {
      Step step;
      step.next = kDependsOnMirror;
      step.offset = static_cast<std::uint32_t>(dependent_.size());
      dependent_.resize(dependent_.size() + kHalfCount + 1);
      return step;
    }
    return record(scratch_.txtHM_, false);
  }

  Step learnAfter(int state, int symbol, char16_t last) {
    run(state, symbol, last);
    if (scratch_.mirrorUnderflow_) {
      Step step;
      step.next = kUncacheable;
      return step;
    }
    const bool popped = scratch_.mirrorBasePopped_;
    const std::u16string appended = popped ? scratch_.txtHM_ : scratch_.txtHM_.substr(1);
    return record(appended, popped);
  }

  void clear() {
    states_.clear();
    ids_.clear();
    steps_.clear();
    fast_.clear();
    dependent_.clear();
    pool_.clear();
    codes_.assign(bytes_ ? kPadding : 0, '\0');
    utf8_.assign(bytes_ ? kPadding : 0, '\0');
  }

  std::vector<State> states_;
  std::unordered_map<std::u16string, int> ids_;
  std::vector<Step, LargeAllocator<Step>> steps_;  // kSymbols a state
  std::vector<Step> dependent_;                    // kHalfCount + 1 for each step that reads txtHM
  GlyphString pool_;
  std::string codes_;  // the pool as font codes, index for index
  std::string utf8_;   // the pool as UTF-8
  std::u16string key_;
  bool bytes_ = false;
  bool utf8Fast_ = false;
  std::vector<FastStep, LargeAllocator<FastStep>> fast_;
  Engine scratch_;
};

}  // namespace kavelin
