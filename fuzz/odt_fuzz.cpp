// SPDX-License-Identifier: GPL-3.0-or-later
// The ODT reader on arbitrary bytes, both ways: it fails with a message or
// gives a package that reads again, and never crashes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "documents.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  for (bool toUnicode : {true, false}) {
    kavelin::documents::Request request;
    request.toUnicode = toUnicode;
    request.limits.maxEntrySize = 16u << 20;
    const kavelin::documents::Result r =
        kavelin::documents::convertPackage(input, kavelin::documents::Format::kOdt, request);
    FUZZ_CHECK(r.error.empty() != r.output.empty());
    FUZZ_CHECK(r.first.size() <= request.maxReported && r.first.size() <= r.unconverted);
    if (r.error.empty()) {
      const kavelin::documents::Result again =
          kavelin::documents::convertPackage(r.output, kavelin::documents::Format::kOdt, request);
      FUZZ_CHECK(again.error.empty());
    }
  }
  return 0;
}
