// SPDX-License-Identifier: GPL-3.0-or-later
// The user's own word store: the Hindi words picked from the suggestions or
// typed exactly and kept, with how often. A text file, one word a line
// ("word<TAB>count", UTF-8), written atomically, so it can be read and
// edited by hand.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace kavelin::words {

class UserStore {
 public:
  explicit UserStore(std::string path) : path_(std::move(path)) {}

  // $XDG_DATA_HOME/Kavelin/words.tsv, or ~/.local/share/Kavelin/words.tsv:
  // the program's per-user data folder.
  static std::string defaultPath();

  // Reads the file; a missing file is an empty store. Lines that are not a
  // Devanagari word and a count are skipped: then, or when the file cannot
  // be read, false with the reason in `error` (what could be read is kept).
  bool load(std::string* error);

  // Writes the store atomically, creating its folder; false with the reason.
  bool save(std::string* error) const;

  // Counts one more use of `word` (UTF-16, NFC).
  void add(std::u16string_view word, std::uint32_t times = 1);
  void forget(std::u16string_view word);
  std::uint32_t count(std::u16string_view word) const;

  const std::map<std::u16string, std::uint32_t>& words() const { return words_; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::map<std::u16string, std::uint32_t> words_;
};

}  // namespace kavelin::words
