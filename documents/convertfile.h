// SPDX-License-Identifier: GPL-3.0-or-later
// One file converted into another between glyph codes and Unicode, in its own
// format: text, RTF, DOCX or ODT. Keeps no global state, so files may be
// converted on worker threads.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "legacy.h"

namespace kavelin {

enum class FileFormat { kAuto, kText, kRtf, kDocx, kOdt };

struct FileRequest {
  bool toUnicode = true;                  // glyph codes -> Unicode; false: Unicode -> glyph codes
  FileFormat format = FileFormat::kAuto;  // kAuto: .docx and .odt by name, else by content
  std::string legacyFont;                 // UTF-8; empty: "DevLys 160"
  std::string unicodeFont;                // UTF-8; empty: "Noto Sans Devanagari"
  bool strict = false;  // characters left unconverted fail the file, writing nothing
  bool toText = false;  // an RTF input gives plain text
  std::size_t maxReported = 5;
  // For DOCX and ODT: called with the parts done and their number; false cancels.
  std::function<bool(std::size_t done, std::size_t total)> progress;
};

struct FileResult {
  bool ok = false;
  bool cancelled = false;
  std::string error;  // "FILE: what is wrong", or empty
  std::size_t unconverted = 0;
  // The first characters left as they were: label "FILE" (text, RTF: line and
  // column) or "FILE:PART" (DOCX, ODT: paragraph of the part and offset in it).
  std::vector<UnconvertedPlace> first;
};

// The format of a file name: DOCX and ODT by extension, otherwise kAuto.
FileFormat formatOfFile(const std::string& path);

// Converts the file `input` into `output`, which is replaced atomically (no
// file is left behind on failure). With `strict`, nothing is written when a
// character could not be converted.
FileResult convertFile(const std::string& input, const std::string& output,
                       const FileRequest& request);

// Converts bytes of a DOCX or ODT package labelled `label`; `output` gets the
// package. Errors are worded as convertFile words them.
FileResult convertPackageBytes(const std::string& label, const std::string& bytes,
                               FileFormat format, const FileRequest& request, std::string& output);

// The result as LegacyResult, for legacyReport.
LegacyResult asLegacyResult(const FileResult& result);

}  // namespace kavelin
