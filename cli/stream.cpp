// SPDX-License-Identifier: GPL-3.0-or-later
#include "stream.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "text.h"
#include "unicode.h"

namespace kavelin::cli {
namespace {

constexpr char16_t kLF = u'\n';
constexpr char16_t kCR = u'\r';

// Fonts and size of the RTF output.
constexpr char16_t kGlyphFont[] = u"DevLys 160";
constexpr char16_t kUnicodeFont[] = u"Noto Sans Devanagari";
constexpr double kRtfFontSize = 14.25;

// The length of `bytes` less a UTF-8 sequence that it cuts off at its end.
std::size_t wholeCharacters(std::string_view bytes) {
  const std::size_t n = bytes.size();
  for (std::size_t back = 1; back <= 3 && back <= n; ++back) {
    const auto c = static_cast<unsigned char>(bytes[n - back]);
    if ((c & 0xC0) == 0x80) continue;  // a continuation byte
    const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return length > back ? n - back : n;
  }
  return n;
}

}  // namespace

// ---------------------------------------------------------------------------
// Input

ByteInput::ByteInput(std::vector<std::string> files, std::size_t chunkBytes)
    : files_(std::move(files)), chunk_(chunkBytes), buffer_(chunkBytes + 16) {
  if (files_.empty()) files_.push_back("-");
}

ByteInput::~ByteInput() {
  if (fd_ > STDIN_FILENO) ::close(fd_);
}

namespace {

// Reads up to `size` bytes, fewer only at the end of the file. Throws Failure.
std::size_t readFully(int fd, char* to, std::size_t size, const std::string& label) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::read(fd, to + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw Failure(label + ": " + std::strerror(errno));
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

constexpr std::string_view kBom = "\xEF\xBB\xBF";

}  // namespace

bool ByteInput::anyStartsWith(std::string_view prefix) {
  bool found = false;
  const std::size_t need = kBom.size() + prefix.size();
  for (const std::string& name : files_) {
    std::string start(need, '\0');
    if (name == "-") {
      if (!stdinPeeked_) {
        stdinStart_.resize(need);
        stdinStart_.resize(readFully(STDIN_FILENO, stdinStart_.data(), need, "standard input"));
        stdinPeeked_ = true;
        start = stdinStart_;
      } else {
        start.clear();  // the first "-" reads standard input to its end
      }
    } else {
      const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
      if (fd < 0) throw Failure(name + ": " + std::strerror(errno));
      try {
        start.resize(readFully(fd, start.data(), need, name));
      } catch (...) {
        ::close(fd);
        throw;
      }
      ::close(fd);
    }
    std::string_view bytes(start);
    if (bytes.substr(0, kBom.size()) == kBom) bytes.remove_prefix(kBom.size());
    found = found || bytes.substr(0, prefix.size()) == prefix;
  }
  return found;
}

bool ByteInput::openNext() {
  if (index_ >= files_.size()) return false;
  const std::string& name = files_[index_++];
  const bool standardInput = name == "-";
  label_ = standardInput ? "standard input" : name;
  fd_ = standardInput ? STDIN_FILENO : ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) throw Failure(label_ + ": " + std::strerror(errno));
  atStart_ = true;
  offset_ = 0;
  keptFrom_ = kept_ = 0;
  if (standardInput && !stdinStart_.empty()) {
    std::memcpy(buffer_.data(), stdinStart_.data(), stdinStart_.size());
    kept_ = stdinStart_.size();
    stdinStart_.clear();
  }
  return true;
}

bool ByteInput::next(Piece& piece, bool keepBom) {
  if (fd_ < 0) {
    if (!openNext()) return false;
  } else if (kept_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + keptFrom_, kept_);
  }
  std::size_t have = kept_;
  bool end = false;
  do {
    ssize_t n = 0;
    do {
      n = ::read(fd_, buffer_.data() + have, chunk_);
    } while (n < 0 && errno == EINTR);
    if (n < 0) throw Failure(label_ + ": " + std::strerror(errno));
    have += static_cast<std::size_t>(n);
    end = n == 0;
  } while (!end && atStart_ && have < kBom.size());  // too short to tell a byte-order mark
  const std::string_view all(buffer_.data(), have);
  const std::size_t whole = end ? have : wholeCharacters(all);
  const std::size_t skipped = atStart_ && !keepBom && all.substr(0, kBom.size()) == kBom ? 3 : 0;
  piece.bytes = all.substr(skipped, whole - skipped);
  piece.offset = offset_ + skipped;
  piece.first = atStart_;
  piece.last = end;
  atStart_ = false;
  offset_ += whole;
  keptFrom_ = whole;
  kept_ = have - whole;
  if (end) {
    if (fd_ != STDIN_FILENO) ::close(fd_);
    fd_ = -1;
  }
  return true;
}

void invalidUtf8(const ByteInput& input, std::size_t offset) {
  invalidUtf8(input.source(), offset);
}

void invalidUtf8(const std::string& source, std::size_t offset) {
  throw Failure(source + ": invalid UTF-8 at byte offset " + std::to_string(offset));
}

bool TextInput::next(std::u16string& text, std::string& source, bool& startsSource) {
  text.clear();
  ByteInput::Piece piece;
  while (input_.next(piece)) {
    if (piece.first) reported_ = false;
    Utf8Error error;
    if (!decodeUtf8(piece.bytes, text, &error)) invalidUtf8(input_, piece.offset + error.offset);
    if (!text.empty() || (piece.last && !reported_)) {
      source = input_.source();
      startsSource = !reported_;
      reported_ = true;
      return true;
    }
  }
  return false;
}

void LfBreaks::apply(std::u16string& text) {
  if (!afterCr_ && text.find(u'\r') == std::u16string::npos) return;
  std::size_t out = 0;
  for (const char16_t c : text) {
    if (c == u'\n' && afterCr_) {
      afterCr_ = false;
      continue;
    }
    afterCr_ = c == u'\r';
    text[out++] = afterCr_ ? u'\n' : c;
  }
  text.resize(out);
}

// ---------------------------------------------------------------------------
// Conversion

GlyphString GlyphConverter::add(std::u16string_view text) {
  pending_ += text;
  // Cut after the last line break whose end is known: an LF, or a CR that no
  // LF follows.
  std::size_t cut = pending_.size();
  while (cut > 0) {
    const char16_t c = pending_[cut - 1];
    if (c == kLF || (c == kCR && cut < pending_.size() && pending_[cut] != kLF)) break;
    --cut;
  }
  if (cut == 0) return {};
  GlyphString out = convert(std::u16string_view(pending_).substr(0, cut));
  pending_.erase(0, cut);
  return out;
}

GlyphString GlyphConverter::finish() {
  GlyphString out;
  if (!pending_.empty() || !fed_) out = convert(pending_);
  pending_.clear();
  return out;
}

GlyphString GlyphConverter::convert(std::u16string_view piece) {
  if (!fed_) engine_.ClearTxt();
  fed_ = true;
  engine_.feedText(toCrLf(piece));
  GlyphString out = engine_.txtHM().substr(kept_);
  // The next line may look back at the mirror's last character (the short-i
  // rule reads it), never further: keep that one. After a line break the
  // token buffer is empty and feeding is suppressed, so emptying the English
  // mirror notifies nothing.
  const GlyphString& mirror = engine_.txtHM();
  kept_ = mirror.empty() ? 0 : 1;
  engine_.setTxtHM(mirror.substr(mirror.size() - kept_));
  engine_.setTxtEM(std::u16string());
  return out;
}

// ---------------------------------------------------------------------------
// Output

Output::Output(const std::string& path)
    : label_(path.empty() ? "standard output" : path), toFile_(!path.empty()) {
  std::string error;
  if (toFile_ && !file_.open(path, &error)) throw Failure(label_ + ": " + error);
}

void Output::write(std::string_view bytes) {
  if (bytes.empty()) return;
  std::string error;
  if (toFile_) {
    if (!file_.write(bytes, &error)) throw Failure(label_ + ": " + error);
    return;
  }
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw Failure(label_ + ": " + std::strerror(n < 0 ? errno : EIO));
    done += static_cast<std::size_t>(n);
  }
}

void Output::commit() {
  std::string error;
  if (toFile_ && !file_.commit(&error)) throw Failure(label_ + ": " + error);
}

// ---------------------------------------------------------------------------
// Encoding

Encoder::Encoder(Form form) : form_(form) {
  if (form == Form::kRtfGlyphs) font_ = kGlyphFont;
  if (form == Form::kRtfUnicode) font_ = kUnicodeFont;
}

std::string Encoder::add(const GlyphString& glyphs) {
  if (form_ == Form::kUnicode || form_ == Form::kRtfUnicode) {
    // A syllable ends at a line break at the latest: convert whole lines.
    tail_ += glyphs;
    const std::size_t lf = tail_.rfind(kLF);
    if (lf == GlyphString::npos) return {};
    const std::u16string unicode = glyphsToUnicode(std::u16string_view(tail_).substr(0, lf + 1));
    tail_.erase(0, lf + 1);
    return form_ == Form::kUnicode ? encodeUtf8(unicode) : paragraphs(unicode);
  }
  switch (form_) {
    case Form::kGlyphsUtf8:
      return encodeUtf8(glyphs);
    case Form::kGlyphsCp1252:
      return glyphToCodes(glyphs);
    case Form::kRtfGlyphs:
      return paragraphs(glyphs);
    case Form::kUnicode:
    case Form::kRtfUnicode:
      break;
  }
  return {};
}

// One paragraph per line: each LF ends one. The font table lists the font
// once a line has text, so the header waits for the first such line, and the
// empty paragraphs before it are counted.
std::string Encoder::paragraphs(std::u16string_view text, bool final) {
  std::string out;
  auto start = [&](bool withFont) {
    rtf_ = std::make_unique<RtfWriter>(withFont ? std::vector<std::u16string>{font_}
                                                : std::vector<std::u16string>{});
    out += rtf_->begin();
    for (; emptyBefore_ > 0; --emptyBefore_) out += rtf_->paragraph(RichParagraph());
  };
  std::size_t begin = 0;
  for (std::size_t lf = text.find(kLF); lf != std::u16string_view::npos;
       lf = text.find(kLF, begin)) {
    line_ += text.substr(begin, lf - begin);
    RichParagraph paragraph;
    if (!line_.empty()) {
      RichRun run;
      run.text = std::move(line_);
      run.format.font = font_;
      run.format.sizePt = kRtfFontSize;
      paragraph.runs.push_back(std::move(run));
    }
    line_.clear();
    if (!rtf_ && paragraph.runs.empty()) {
      ++emptyBefore_;
    } else {
      if (!rtf_) start(true);
      out += rtf_->paragraph(paragraph);
    }
    begin = lf + 1;
  }
  line_ += text.substr(begin);
  if (final && !rtf_) start(false);
  return out;
}

std::string Encoder::finish() {
  const std::u16string unicode = glyphsToUnicode(tail_);
  tail_.clear();
  if (form_ == Form::kUnicode) return encodeUtf8(unicode);
  if (font_.empty()) return {};
  std::string out = paragraphs(unicode);
  // Text after the last line break is one more paragraph.
  out += paragraphs(line_.empty() ? u"" : u"\n", true);
  return out + rtf_->end();
}

}  // namespace kavelin::cli
