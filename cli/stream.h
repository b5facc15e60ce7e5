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

// The input files ("-": standard input) read in order, a piece at a time.
class ByteInput {
 public:
  explicit ByteInput(std::vector<std::string> files, std::size_t chunkBytes = 1 << 17);
  ~ByteInput();
  ByteInput(const ByteInput&) = delete;
  ByteInput& operator=(const ByteInput&) = delete;

  struct Piece {
    std::string_view bytes;  // valid until the next call
    std::size_t offset = 0;  // of its first byte in its file
    bool first = false;      // of its file: every file gives one, empty for an empty file
    bool last = false;
  };
  // The next piece; false after the last file. A piece ends on a UTF-8
  // character boundary except at the end of its file. A byte-order mark that
  // starts a file is left out unless `keepBom`. Throws Failure on a read error.
  bool next(Piece& piece, bool keepBom = false);
  // The file of the last piece: its name, or "standard input".
  const std::string& source() const { return label_; }

  // Whether an input starts with `prefix` after a byte-order mark. Reads the
  // start of each file, before any piece; standard input's is kept for next().
  bool anyStartsWith(std::string_view prefix);

 private:
  bool openNext();

  std::vector<std::string> files_;
  std::size_t chunk_;
  std::size_t index_ = 0;
  int fd_ = -1;
  bool atStart_ = false;  // no piece of the file given yet
  std::string label_;
  std::size_t offset_ = 0;  // file offset of buffer_[0]
  std::vector<char> buffer_;
  std::size_t keptFrom_ = 0;  // an incomplete UTF-8 sequence the last piece left
  std::size_t kept_ = 0;
  std::string stdinStart_;  // read by anyStartsWith
  bool stdinPeeked_ = false;
};

// The input files read in order as one UTF-8 text.
class TextInput {
 public:
  explicit TextInput(std::vector<std::string> files, std::size_t chunkBytes = 1 << 20)
      : input_(std::move(files), chunkBytes) {}

  // The next part of the text, always whole characters; false after the last.
  // `source` names its file. Throws Failure on a read error or invalid UTF-8
  // (with the file and the byte offset). A byte-order mark that starts a file
  // is no text.
  bool next(std::u16string& text, std::string& source, bool& startsSource);

 private:
  ByteInput input_;
  bool reported_ = false;  // a part of the current file was returned
};

// Throws Failure for invalid UTF-8 at `offset` of the input's current file.
[[noreturn]] void invalidUtf8(const ByteInput& input, std::size_t offset);
// The same for the file named `source`.
[[noreturn]] void invalidUtf8(const std::string& source, std::size_t offset);

// Turns CR LF and CR into LF in text that comes in parts.
class LfBreaks {
 public:
  void apply(std::u16string& text);
  void reset() { afterCr_ = false; }
  // Whether the last part ended with a CR (an LF that starts the next goes).
  bool afterCr() const { return afterCr_; }

 private:
  bool afterCr_ = false;
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
  // True when what is written reaches no reader before commit().
  bool invisibleUntilCommit() const { return toFile_ && !file_.direct(); }
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
