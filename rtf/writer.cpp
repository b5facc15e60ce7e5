// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdint>
#include <optional>
#include <set>
#include <utility>

#include "rtf.h"
#include "text.h"

namespace kavelin {

class RtfOut {
 public:
  // A control word; the delimiting space is written only when text follows.
  void word(std::string_view w) {
    out_ += '\\';
    out_ += w;
    delimit_ = true;
  }
  void word(std::string_view w, long n) {
    word(w);
    out_ += std::to_string(n);
  }
  void raw(std::string_view s) {
    out_ += s;
    delimit_ = false;
  }
  void literal(char c) {
    // Letters, digits, '-' and a space would be read as part of the word.
    const bool joins = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == ' ';
    if (delimit_ && joins) out_ += ' ';
    out_ += c;
    delimit_ = false;
  }
  void hex(std::uint8_t b) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out_ += "\\'";
    out_ += kDigits[b >> 4];
    out_ += kDigits[b & 0xF];
    delimit_ = false;
  }

  // One character of text, or of a font name when `inName` (where a ';'
  // would end the name).
  void character(char16_t c, bool inName) {
    if (c == u'\\' || c == u'{' || c == u'}') {
      raw("\\");
      out_ += static_cast<char>(c);
    } else if (c == u';' && inName) {
      hex(';');
    } else if (c >= 0x20 && c <= 0x7E) {
      literal(static_cast<char>(c));
    } else if (c == u'\t' && !inName) {
      word("tab");
    } else if (c == u'\u2028' && !inName) {
      word("line");
    } else if ((c >= 0xA0 && c <= 0xFF) || c == u'\u201C') {
      hex(*charToCp1252(c));
    } else {
      // \uN takes a signed 16-bit N; '?' is the fallback for \uc1 readers.
      word("u", static_cast<std::int16_t>(c));
      literal('?');
    }
  }

  std::string take() { return std::move(out_); }

 private:
  std::string out_;
  bool delimit_ = false;
};

namespace {

const char* alignWord(Align a) {
  switch (a) {
    case Align::Center:
      return "qc";
    case Align::Right:
      return "qr";
    case Align::Left:
      break;
  }
  return "ql";
}

void writeFontTable(RtfOut& out, const std::vector<std::u16string>& fonts) {
  out.raw("{");
  out.word("fonttbl");
  for (std::size_t i = 0; i < fonts.size(); ++i) {
    out.raw("{");
    out.word("f", static_cast<long>(i));
    out.word("fnil");
    out.word("fcharset", 0);
    for (char16_t c : fonts[i]) out.character(c, true);
    out.raw(";}");
  }
  out.raw("}");
}

void writeColorTable(RtfOut& out, const std::vector<std::int32_t>& colors) {
  if (colors.empty()) return;
  out.raw("{");
  out.word("colortbl");
  out.raw(";");
  for (std::int32_t c : colors) {
    out.word("red", (c >> 16) & 0xFF);
    out.word("green", (c >> 8) & 0xFF);
    out.word("blue", c & 0xFF);
    out.raw(";");
  }
  out.raw("}");
}

// The colours of the document's runs in order of first use.
std::vector<std::int32_t> colorsInOrder(const RichDocument& doc) {
  std::vector<std::int32_t> colors;
  std::set<std::int32_t> seen;
  for (const RichParagraph& p : doc.paragraphs) {
    for (const RichRun& r : p.runs) {
      if (!r.text.empty() && r.format.color != kAutoColor && seen.insert(r.format.color).second) {
        colors.push_back(r.format.color);
      }
    }
  }
  return colors;
}

// The fonts of the document's runs in order of first use; \deff0 is the first.
std::vector<std::u16string> fontsInOrder(const RichDocument& doc) {
  std::vector<std::u16string> fonts;
  std::set<std::u16string> seen;
  for (const RichParagraph& p : doc.paragraphs) {
    for (const RichRun& r : p.runs) {
      if (!r.text.empty() && seen.insert(r.format.font).second) fonts.push_back(r.format.font);
    }
  }
  return fonts;
}

}  // namespace

RtfWriter::RtfWriter(std::vector<std::u16string> fonts, std::vector<std::int32_t> colors)
    : fonts_(std::move(fonts)), colors_(std::move(colors)) {
  for (std::size_t i = fonts_.size(); i-- > 0;) fontNumbers_[fonts_[i]] = static_cast<long>(i);
  for (std::size_t i = colors_.size(); i-- > 0;)
    colorNumbers_[colors_[i]] = static_cast<long>(i + 1);
}

long RtfWriter::colorIndex(std::int32_t color) const {
  const auto it = colorNumbers_.find(color);
  return it == colorNumbers_.end() ? 0 : it->second;
}

long RtfWriter::fontIndex(const std::u16string& name) const {
  const auto it = fontNumbers_.find(name);
  return it == fontNumbers_.end() ? 0 : it->second;
}

// The format is kept as written: in the font of the number written (runs in
// fonts of one number need no \f between them) and in the size RTF keeps.
void RtfWriter::writeFormat(RtfOut& out, const RunFormat& format) {
  static const std::u16string kNoFont;
  const long f = fontIndex(format.font);
  const std::u16string& font = fonts_.empty() ? kNoFont : fonts_[static_cast<std::size_t>(f)];
  const double size = rtfFontSize(format.sizePt);
  const RunFormat* last = written_ ? &*written_ : nullptr;
  if (!last || font != last->font) out.word("f", f);
  if (!last || size != last->sizePt) out.word("fs", static_cast<long>(size * 2.0));
  if (!last || format.bold != last->bold) out.word(format.bold ? "b" : "b0");
  if (!last || format.italic != last->italic) out.word(format.italic ? "i" : "i0");
  if (!last || format.underline != last->underline) out.word(format.underline ? "ul" : "ulnone");
  const long color = colorIndex(format.color);
  if (!colors_.empty() && (!last || color != colorIndex(last->color))) out.word("cf", color);
  if (!written_) written_.emplace();
  written_->font = font;
  written_->sizePt = size;
  written_->bold = format.bold;
  written_->italic = format.italic;
  written_->underline = format.underline;
  written_->color = color == 0 ? kAutoColor : format.color;
}

std::string RtfWriter::begin() {
  RtfOut out;
  out.raw("{");
  out.word("rtf", 1);
  out.word("ansi");
  out.word("ansicpg", 1252);
  out.word("deff", 0);
  out.word("uc", 1);
  writeFontTable(out, fonts_);
  writeColorTable(out, colors_);
  out.raw("\r\n");
  return out.take();
}

std::string RtfWriter::paragraph(const RichParagraph& p) {
  RtfOut out;
  out.word("pard");
  out.word(alignWord(p.align));
  for (const RichRun& r : p.runs) {
    if (r.text.empty()) continue;
    writeFormat(out, r.format);
    for (char16_t c : r.text) out.character(c, false);
  }
  out.word("par");
  out.raw("\r\n");
  return out.take();
}

std::string RtfWriter::end() { return "}"; }

std::string writeRtf(const RichDocument& doc) {
  RtfWriter writer(fontsInOrder(doc), colorsInOrder(doc));
  std::string out = writer.begin();
  for (const RichParagraph& p : doc.paragraphs) out += writer.paragraph(p);
  out += writer.end();
  return out;
}

}  // namespace kavelin
