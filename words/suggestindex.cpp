// SPDX-License-Identifier: GPL-3.0-or-later
#include "suggestindex.h"

#include "commonwords.h"

namespace kavelin::words {

std::uint8_t sourcesOf(ListMask lists) {
  std::uint8_t from = 0;
  if (lists & maskOf(WordList::kAspell)) from |= kFromAspell;
  if (lists & maskOf(WordList::kHunspell)) from |= kFromHunspell;
  if (lists & maskOf(WordList::kApertium)) from |= kFromApertium;
  if (lists & maskOf(WordList::kTesseract)) from |= kFromTesseract;
  return from;
}

void buildSuggester(Suggester& suggester, const LoadedWords& lists, const UserStore* learned) {
  std::uint32_t rank = 0;
  for (std::u16string_view word : commonWords()) {
    suggester.add(devanagariNfc(word), kFromCommon, ++rank);
  }
  for (std::size_t i = 0; i < lists.words.size(); ++i) {
    suggester.add(lists.words.word(i), sourcesOf(lists.words.lists(i)));
  }
  if (!learned) return;
  for (const auto& [word, count] : learned->words()) suggester.setUserCount(word, count);
}

}  // namespace kavelin::words
