// SPDX-License-Identifier: GPL-3.0-or-later
// kavelin-convert --suggest N: one Roman word a line in, one line out with up
// to N candidate Hindi words, best first, tab-separated, each written
// "UNICODE SPELLING".
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "suggest.h"
#include "wordlists.h"

namespace kavelin::cli {

// The output for the text `input` (lines of one word each; LF or CR LF):
// exactly one line for each input line. A line that is not one word of ASCII
// letters gives an empty line.
std::string suggestLines(words::Suggester& suggester, std::string_view input, std::size_t n);

}  // namespace kavelin::cli
