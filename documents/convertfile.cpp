// SPDX-License-Identifier: GPL-3.0-or-later
#include "convertfile.h"

#include <fstream>
#include <sstream>

#include "documents.h"
#include "outputfile.h"
#include "text.h"

namespace kavelin {

FileFormat formatOfFile(const std::string& path) {
  documents::Format f;
  if (!documents::formatOfName(path, f)) return FileFormat::kAuto;
  return f == documents::Format::kDocx ? FileFormat::kDocx : FileFormat::kOdt;
}

FileResult convertPackageBytes(const std::string& label, const std::string& bytes,
                               FileFormat format, const FileRequest& request, std::string& output) {
  FileResult result;
  documents::Request r;
  r.toUnicode = request.toUnicode;
  if (!request.legacyFont.empty()) decodeUtf8(request.legacyFont, r.legacyFont);
  if (!request.unicodeFont.empty()) decodeUtf8(request.unicodeFont, r.unicodeFont);
  r.maxReported = request.maxReported;
  r.progress = request.progress;
  documents::Result d = documents::convertPackage(
      bytes, format == FileFormat::kOdt ? documents::Format::kOdt : documents::Format::kDocx, r);
  result.cancelled = d.cancelled;
  if (!d.error.empty()) {
    result.error = label + ": " + d.error;
    return result;
  }
  result.unconverted = d.unconverted;
  for (const documents::Place& p : d.first) result.first.push_back({label + ":" + p.part, p.where});
  output = std::move(d.output);
  result.ok = true;
  return result;
}

FileResult convertFile(const std::string& input, const std::string& output,
                       const FileRequest& request) {
  FileResult result;
  std::string bytes;
  {
    std::ifstream in(input, std::ios::binary);
    std::ostringstream ss;
    if (in) ss << in.rdbuf();
    if (!in) {
      result.error = input + ": cannot read the file";
      return result;
    }
    bytes = ss.str();
  }
  FileFormat format = request.format == FileFormat::kAuto ? formatOfFile(input) : request.format;
  std::string converted;
  if (format == FileFormat::kDocx || format == FileFormat::kOdt) {
    result = convertPackageBytes(input, bytes, format, request, converted);
    if (!result.ok) return result;
  } else {
    LegacyRequest r;
    r.toUnicode = request.toUnicode;
    r.toText = request.toText;
    decodeUtf8(request.legacyFont, r.legacyFont);
    decodeUtf8(request.unicodeFont, r.unicodeFont);
    r.maxReported = request.maxReported;
    LegacyResult legacy = convertLegacy({{input, std::move(bytes)}}, r);
    if (!legacy.error.empty()) {
      result.error = legacy.error;
      return result;
    }
    result.unconverted = legacy.unconverted;
    result.first = std::move(legacy.first);
    converted = std::move(legacy.output);
  }
  if (request.strict && result.unconverted != 0) {
    result.ok = false;
    result.error = input + ": " + std::to_string(result.unconverted) +
                   (result.unconverted == 1 ? " character" : " characters") +
                   " could not be converted";
    return result;
  }
  std::string error;
  if (!writeFileAtomically(output, converted, &error)) {
    result.ok = false;
    result.error = output + ": " + error;
    return result;
  }
  result.ok = true;
  return result;
}

LegacyResult asLegacyResult(const FileResult& result) {
  LegacyResult out;
  out.error = result.error;
  out.unconverted = result.unconverted;
  out.first = result.first;
  return out;
}

}  // namespace kavelin
