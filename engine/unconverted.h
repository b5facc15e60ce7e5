// SPDX-License-Identifier: GPL-3.0-or-later
// Input characters that produce no output, and the report a converter gives
// of them.
//
// The engine drops every character that no key can start or continue. Some
// characters (letters such as "E", or "S" before anything but "h") are dropped
// in some places only; the characters reported here are those that produce no
// output wherever they stand: they occur in no key of the key table, in no
// vowel suffix that follows a key, in neither the pass-through set nor the
// punctuation table, and are no space, CR or LF. The engine treats each of them
// exactly as it treats any other of them.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kavelin {

// True for a character that the engine drops wherever it stands (see above).
bool producesNoOutput(char32_t c);

// Counts the characters of a text that a predicate picks, keeping the first
// few with their place. The text may come in parts and from several sources
// (files); lines and columns count from 1 in each source, columns in
// characters (a surrogate pair is one), and LF, CR LF and CR each end a line.
class UnconvertedTally {
 public:
  struct Place {
    char32_t character;
    std::string source;  // as given to startSource
    std::size_t line;
    std::size_t column;
  };
  using Predicate = bool (*)(char32_t);

  explicit UnconvertedTally(Predicate drops = producesNoOutput, std::size_t keep = 5);

  // Starts the next source: line 1, column 1.
  void startSource(std::string name);
  // Scans the next part of the current source.
  void scan(std::u16string_view text);
  // The same for UTF-8 text, valid and cut on character boundaries.
  void scanUtf8(std::string_view utf8);
  // Ends the current source (counts a surrogate left unpaired at its end).
  void finishSource();

  std::size_t count() const { return count_; }
  const std::vector<Place>& first() const { return first_; }

 private:
  void character(char32_t c);

  Predicate drops_;
  std::array<bool, 0x100> plain_{};  // below U+0100: neither picked nor a line break
  std::size_t keep_;
  std::size_t count_ = 0;
  std::vector<Place> first_;
  std::string source_;
  std::size_t line_ = 1;
  std::size_t column_ = 1;
  bool afterCr_ = false;
  char16_t highSurrogate_ = 0;  // of a pair split between two parts
};

// "U+00E9 'é'": the code point, and the character itself when it prints.
std::string describeCharacter(char32_t c);

// The warning for a tally, one line per entry, each line starting with
// "<program>: "; empty when nothing was counted. For example:
//   kavelin-convert: warning: 3 input characters produced no output
//   kavelin-convert:   a.txt:1:1: U+00E9 'é'
// With `error`, "error" stands for "warning".
std::string unconvertedReport(const UnconvertedTally& tally, std::string_view program,
                              bool error = false);

}  // namespace kavelin
