// SPDX-License-Identifier: GPL-3.0-or-later
// The ODT converter on arbitrary bytes (see package_fuzz.h).
#include <cstddef>
#include <cstdint>

#include "package_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return fuzzPackage(data, size, kavelin::documents::Format::kOdt);
}
