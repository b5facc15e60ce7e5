// SPDX-License-Identifier: GPL-3.0-or-later
#include "richdocs.h"

namespace kavelin::documents {

RichFormat richFormatOf(std::string_view bytes) {
  if (bytes.size() >= 4 && bytes.substr(0, 4) == std::string_view("PK\x03\x04", 4)) {
    Package package;
    if (!package.open(bytes, PackageLimits(), nullptr)) return RichFormat::kUnknown;
    if (package.has("word/document.xml")) return RichFormat::kDocx;
    std::string mime;
    if (package.has("mimetype") && package.read("mimetype", mime, nullptr) &&
        mime == "application/vnd.oasis.opendocument.text") {
      return RichFormat::kOdt;
    }
    return RichFormat::kUnknown;
  }
  std::size_t at = 0;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") at = 3;
  while (at < bytes.size() &&
         (bytes[at] == ' ' || bytes[at] == '\t' || bytes[at] == '\r' || bytes[at] == '\n')) {
    ++at;
  }
  return bytes.substr(at, 5) == "{\\rtf" ? RichFormat::kRtf : RichFormat::kUnknown;
}

}  // namespace kavelin::documents
