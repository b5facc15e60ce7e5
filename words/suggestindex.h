// SPDX-License-Identifier: GPL-3.0-or-later
// Building the suggestion index: the program's common words, the installed
// word lists and the user's word store, as the window and the command line
// both use it.
#pragma once

#include "suggest.h"
#include "userstore.h"
#include "wordlists.h"

namespace kavelin::words {

// Adds the common words (ranked by their place in the list) and every word of
// `lists` (with the lists that hold it) to `suggester`; then, when `learned`
// is given, the user's counts.
void buildSuggester(Suggester& suggester, const LoadedWords& lists,
                    const UserStore* learned = nullptr);

// The Suggester's sources for the lists of a loaded word.
std::uint8_t sourcesOf(ListMask lists);

}  // namespace kavelin::words
