// SPDX-License-Identifier: GPL-3.0-or-later
// The sample text of the tests (tests/data/sample-hi.txt), read once per call.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "text.h"

namespace kavelin::test {

// As bytes.
inline std::string corpusBytes() {
  std::ifstream in(KAVELIN_CORPUS, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// As UTF-16; a sample that is not UTF-8 fails the case.
inline std::u16string corpusText() {
  std::u16string text;
  EXPECT_TRUE(decodeUtf8(corpusBytes(), text));
  return text;
}

}  // namespace kavelin::test
