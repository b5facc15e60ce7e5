// SPDX-License-Identifier: GPL-3.0-or-later
// Checks inside fuzz targets: a failed check aborts, which the fuzzer (or the
// seed replay) reports with the input.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(ok) ::kavelin::fuzz::checkAt((ok), #ok, __FILE__, __LINE__)

namespace kavelin::fuzz {

inline void checkAt(bool ok, const char* what, const char* file, int line) {
  if (!ok) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
    std::abort();
  }
}

}  // namespace kavelin::fuzz
