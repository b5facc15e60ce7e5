// SPDX-License-Identifier: GPL-3.0-or-later
// An office package converter on arbitrary bytes, both ways: it fails with a
// message or gives a package that converts again, and never crashes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "documents.h"
#include "fuzz_check.h"

inline int fuzzPackage(const std::uint8_t* data, std::size_t size,
                       kavelin::documents::Format format) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  for (bool toUnicode : {true, false}) {
    kavelin::documents::Request request;
    request.toUnicode = toUnicode;
    request.limits.maxEntrySize = 16u << 20;
    const kavelin::documents::Result r = kavelin::documents::convertPackage(input, format, request);
    FUZZ_CHECK(r.error.empty() != r.output.empty());
    FUZZ_CHECK(r.first.size() <= request.maxReported && r.first.size() <= r.unconverted);
    if (r.error.empty()) {
      const kavelin::documents::Result again =
          kavelin::documents::convertPackage(r.output, format, request);
      FUZZ_CHECK(again.error.empty());
    }
  }
  return 0;
}
