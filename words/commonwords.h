// SPDX-License-Identifier: GPL-3.0-or-later
// The most common Hindi words, most common first (NFC).
#pragma once

#include <string_view>
#include <vector>

namespace kavelin::words {

std::vector<std::u16string_view> commonWords();

}  // namespace kavelin::words
