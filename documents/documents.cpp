// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents.h"

#include "docx.h"
#include "odt.h"

namespace kavelin::documents {

Result convertPackage(std::string_view bytes, Format format, const Request& request) {
  Result result;
  Package package;
  std::string error;
  if (!package.open(bytes, request.limits, &error)) {
    result.error = error;
    return result;
  }
  TextConverter converter(request, result);
  const bool ok = format == Format::kDocx ? convertDocx(package, converter, &error)
                                          : convertOdt(package, converter, &error);
  if (!ok) {
    result.error = error;
    result.unconverted = 0;
    result.first.clear();
    return result;
  }
  if (result.cancelled) {
    result.error = "cancelled";
    return result;
  }
  if (!package.save(result.output, &error)) result.error = error;
  return result;
}

bool formatOfName(std::string_view name, Format& format) {
  auto endsWith = [&](std::string_view ext) {
    if (name.size() < ext.size()) return false;
    for (std::size_t i = 0; i < ext.size(); ++i) {
      char c = name[name.size() - ext.size() + i];
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      if (c != ext[i]) return false;
    }
    return true;
  };
  if (endsWith(".docx")) {
    format = Format::kDocx;
    return true;
  }
  if (endsWith(".odt")) {
    format = Format::kOdt;
    return true;
  }
  return false;
}

}  // namespace kavelin::documents
