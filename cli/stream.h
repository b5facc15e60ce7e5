// SPDX-License-Identifier: GPL-3.0-or-later
// The converter's pipeline in pieces, so that its memory stays a small
// multiple of one piece however long the input: input files read in chunks,
// the English text converted a few lines at a time, the result encoded and
// written as it comes.
#pragma once

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "engine.h"
#include "outputfile.h"
#include "rtf.h"

namespace kavelin::cli {

// A failure that ends the program with `code` after `what()` is shown.
struct Failure : std::runtime_error {
  Failure(const std::string& message, int exitCode = 1)
      : std::runtime_error(message), code(exitCode) {}
  int code;
};

// The input files ("-": standard input) read in order as one UTF-8 text.
class TextInput {
 public:
  explicit TextInput(std::vector<std::string> files, std::size_t chunkBytes = 1 << 20);

  // The next part of the text, always whole characters; false after the last.
  // `source` names its file. Throws Failure on a read error or invalid UTF-8
  // (with the file and the byte offset). A byte-order mark that starts a file
  // is no text.
  bool next(std::u16string& text, std::string& source, bool& startsSource);
  // The UTF-8 bytes of the part last returned (without a byte-order mark).
  const std::string& bytes() const { return bytes_; }

 private:
  bool openNext();

  std::vector<std::string> files_;
  std::size_t chunk_;
  std::size_t index_ = 0;
  int fd_ = -1;
  bool atStart_ = false;   // no byte of the file decoded yet
  bool reported_ = false;  // a part of the file was returned
  std::string label_;
  std::string carry_;       // an incomplete UTF-8 sequence at the end of the last chunk
  std::size_t offset_ = 0;  // file offset of carry_'s first byte
  std::vector<char> buffer_;
  std::string bytes_;
};

// Engine::e2h of a text given in parts: the glyphs of the lines each part
// completes, then the rest at the end. Line breaks may be LF, CR LF or CR (as
// toCrLf reads them). The concatenated result equals e2h(toCrLf(whole text)):
// the engine carries its state from one line into the next, so the lines go
// through one engine, whose mirrors are emptied after each line break.
class GlyphConverter {
 public:
  GlyphString add(std::u16string_view text);
  GlyphString finish();

 private:
  GlyphString convert(std::u16string_view piece);

  Engine engine_;
  std::u16string pending_;  // text after the last line break that may be cut
  std::size_t kept_ = 0;    // characters of txtHM kept from the last piece
  bool fed_ = false;
};

// Where the output goes: standard output, or a file opened with OutputFile.
class Output {
 public:
  explicit Output(const std::string& path);  // "" for standard output
  void write(std::string_view bytes);
  void commit();
  // The temporary file while one is open (see OutputFile::temporaryPath).
  const char* temporaryPath() const { return file_.temporaryPath(); }

 private:
  std::string label_;
  bool toFile_;
  OutputFile file_;
};

// Turns glyph strings into the output's bytes, a part at a time; the parts
// may be cut anywhere.
class Encoder {
 public:
  enum class Form { kGlyphsUtf8, kGlyphsCp1252, kUnicode, kRtfGlyphs, kRtfUnicode };
  explicit Encoder(Form form);
  std::string add(const GlyphString& glyphs);
  std::string finish();

 private:
  std::string paragraphs(std::u16string_view text, bool final = false);

  Form form_;
  std::u16string font_;             // RTF only
  std::unique_ptr<RtfWriter> rtf_;  // once the header is written
  std::size_t emptyBefore_ = 0;     // empty paragraphs before it
  std::u16string line_;             // the text of the paragraph not ended yet
  GlyphString tail_;                // Unicode: glyphs after the last line break
};

}  // namespace kavelin::cli
