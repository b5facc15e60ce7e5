// SPDX-License-Identifier: GPL-3.0-or-later
#include "legacy.h"

#include <cstdio>
#include <string_view>

#include "mixedscript.h"
#include "rtf.h"
#include "text.h"
#include "unconverted.h"
#include "unicode.h"

namespace kavelin {
namespace {

constexpr char16_t kGlyphFont[] = u"DevLys 160";
constexpr char16_t kUnicodeFont[] = u"Noto Sans Devanagari";
constexpr double kRtfFontSize = 14.25;
constexpr char16_t kLineSeparator = 0x2028;

std::string_view withoutBom(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  return bytes;
}

bool isRtf(std::string_view bytes) { return withoutBom(bytes).substr(0, 5) == "{\\rtf"; }

// CR LF and CR become LF.
std::u16string toLf(std::u16string text) {
  std::size_t out = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r') {
      text[out++] = u'\n';
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      text[out++] = text[i];
    }
  }
  text.resize(out);
  return text;
}

class Converter {
 public:
  explicit Converter(const LegacyRequest& request) : request_(request) {}

  LegacyResult run(const std::vector<LegacyInput>& inputs);

 private:
  bool decode(const LegacyInput& input, std::u16string& text);
  bool decode(const std::string& label, std::string_view bytes, std::size_t offset,
              std::u16string& text);
  void note(const std::string& label, const Unconverted& u);
  ConversionOptions at(std::size_t line, std::size_t column) const;

  // Text from line `line` on, converted.
  std::u16string convertText(const std::string& label, const std::u16string& text,
                             std::size_t line);
  // A document's runs, converted where they hold the source side.
  void convertDocument(const std::string& label, RichDocument& doc);
  void addLines(const std::u16string& text, RichDocument& doc);
  bool isLegacyFont(const std::u16string& font) const;

  const LegacyRequest& request_;
  LegacyResult result_;
};

ConversionOptions Converter::at(std::size_t line, std::size_t column) const {
  ConversionOptions o;
  o.maxReported =
      request_.maxReported > result_.first.size() ? request_.maxReported - result_.first.size() : 0;
  o.start = {line, column};
  return o;
}

void Converter::note(const std::string& label, const Unconverted& u) {
  result_.unconverted += u.count;
  for (const UnconvertedChar& c : u.first) {
    if (result_.first.size() < request_.maxReported) result_.first.push_back({label, c});
  }
}

// Decodes `bytes`, which start at byte `offset` of the input.
bool Converter::decode(const std::string& label, std::string_view bytes, std::size_t offset,
                       std::u16string& text) {
  text.clear();
  if (request_.toUnicode && request_.rawCodes) {
    text.reserve(bytes.size());
    for (char b : bytes) text += cp1252ToChar(static_cast<std::uint8_t>(b));
    return true;
  }
  Utf8Error error;
  if (!decodeUtf8(bytes, text, &error)) {
    result_.error =
        label + ": invalid UTF-8 at byte offset " + std::to_string(offset + error.offset);
    return false;
  }
  return true;
}

bool Converter::decode(const LegacyInput& input, std::u16string& text) {
  const std::string_view bytes = withoutBom(input.bytes);
  return decode(input.label, bytes, input.bytes.size() - bytes.size(), text);
}

std::u16string Converter::convertText(const std::string& label, const std::u16string& text,
                                      std::size_t line) {
  if (request_.toUnicode) {
    note(label, unconvertedGlyphs(text, at(line, 1)));
    return glyphsToUnicode(text);
  }
  GlyphConversion g = unicodeToGlyphs(text, at(line, 1));
  note(label, g.unconverted);
  return std::move(g.glyphs);
}

bool Converter::isLegacyFont(const std::u16string& font) const {
  return font == kGlyphFont || (!request_.legacyFont.empty() && font == request_.legacyFont);
}

void Converter::convertDocument(const std::string& label, RichDocument& doc) {
  std::size_t line = 0;
  for (RichParagraph& paragraph : doc.paragraphs) {
    ++line;
    std::size_t column = 1;  // of the run's first character in the paragraph
    std::vector<RichRun> runs;
    for (RichRun& run : paragraph.runs) {
      std::size_t length = 0;
      for (std::size_t i = 0; i < run.text.size(); ++i) {
        if (!(run.text[i] >= 0xDC00 && run.text[i] <= 0xDFFF && i > 0 &&
              run.text[i - 1] >= 0xD800 && run.text[i - 1] <= 0xDBFF)) {
          ++length;
        }
      }
      if (request_.toUnicode) {
        if (isLegacyFont(run.format.font)) {
          note(label, unconvertedGlyphs(run.text, at(line, column)));
          run.text = glyphsToUnicode(run.text);
          run.format.font = request_.unicodeFont.empty() ? std::u16string(kUnicodeFont)
                                                         : request_.unicodeFont;
        }
        runs.push_back(std::move(run));
      } else {
        // Devanagari stretches, with the spaces and punctuation between them,
        // go into the legacy font; the rest of the run keeps its font.
        MixedConversion m = devanagariToGlyphs(run.text, at(line, column));
        note(label, m.unconverted);
        for (ScriptPiece& piece : m.pieces) {
          RichRun part = run;
          part.text = std::move(piece.text);
          if (piece.glyphs) {
            part.format.font = request_.legacyFont.empty() ? kGlyphFont : request_.legacyFont;
          }
          runs.push_back(std::move(part));
        }
      }
      column += length;
    }
    paragraph.runs = std::move(runs);
    mergeRuns(paragraph);
  }
}

// Text lines as paragraphs of one run in the source side's font.
void Converter::addLines(const std::u16string& text, RichDocument& doc) {
  const std::u16string font = request_.toUnicode ? std::u16string(kGlyphFont)
                              : request_.unicodeFont.empty() ? std::u16string(kUnicodeFont)
                                                             : request_.unicodeFont;
  std::size_t begin = 0;
  while (begin <= text.size()) {
    const std::size_t end = std::min(text.find(u'\n', begin), text.size());
    RichParagraph paragraph;
    if (end > begin) {
      RichRun run;
      run.text = text.substr(begin, end - begin);
      run.format.font = font;
      run.format.sizePt = kRtfFontSize;
      paragraph.runs.push_back(std::move(run));
    }
    // A final line break ends the last paragraph rather than starting one.
    if (end < text.size() || end > begin) doc.paragraphs.push_back(std::move(paragraph));
    begin = end + 1;
  }
}

// Paragraphs as text lines; a line break inside a paragraph is one too.
std::u16string documentText(const RichDocument& doc) {
  std::u16string text;
  for (const RichParagraph& paragraph : doc.paragraphs) {
    for (const RichRun& run : paragraph.runs) text += run.text;
    text += u'\n';
  }
  for (char16_t& c : text) {
    if (c == kLineSeparator) c = u'\n';
  }
  return text;
}

LegacyResult Converter::run(const std::vector<LegacyInput>& inputs) {
  bool rtfInput = false;
  for (const LegacyInput& input : inputs) rtfInput = rtfInput || isRtf(input.bytes);
  const bool anyRtf = request_.rtf || rtfInput;

  if (!anyRtf) {
    // Text in, text out: each input converted on its own, in pieces of whole
    // lines (nothing the conversions do crosses a line break), joined.
    constexpr std::size_t kPiece = 1 << 20;
    for (const LegacyInput& input : inputs) {
      const std::string_view bytes = withoutBom(input.bytes);
      const std::size_t bom = input.bytes.size() - bytes.size();
      std::size_t line = 1;
      std::u16string text;
      for (std::size_t begin = 0; begin < bytes.size();) {
        std::size_t end = bytes.size();
        if (end - begin > kPiece) {
          const std::size_t lf = bytes.find('\n', begin + kPiece);
          end = lf == std::string_view::npos ? bytes.size() : lf + 1;
        }
        if (!decode(input.label, bytes.substr(begin, end - begin), bom + begin, text)) {
          return std::move(result_);
        }
        text = toLf(std::move(text));
        const std::u16string out = convertText(input.label, text, line);
        for (char16_t c : text) line += c == u'\n' ? 1 : 0;
        if (!request_.toUnicode && request_.rawCodes) {
          result_.output += glyphToCodes(out);
        } else {
          result_.output += encodeUtf8(out);
        }
        begin = end;
      }
    }
    return std::move(result_);
  }

  RichDocument all;
  for (const LegacyInput& input : inputs) {
    RichDocument doc;
    if (isRtf(input.bytes)) {
      RtfError error;
      if (!readRtf(withoutBom(input.bytes), doc, &error)) {
        result_.error = input.label + ": not a readable RTF document (byte offset " +
                        std::to_string(error.offset) + ": " + error.message + ")";
        return std::move(result_);
      }
    } else {
      std::u16string text;
      if (!decode(input, text)) return std::move(result_);
      addLines(toLf(std::move(text)), doc);
    }
    convertDocument(input.label, doc);
    for (RichParagraph& p : doc.paragraphs) all.paragraphs.push_back(std::move(p));
  }
  if (request_.rtf || (rtfInput && !request_.toText)) {
    result_.output = writeRtf(all);
  } else if (!request_.toUnicode && request_.rawCodes) {
    result_.output = glyphToCodes(documentText(all));
  } else {
    result_.output = encodeUtf8(documentText(all));
  }
  return std::move(result_);
}

}  // namespace

LegacyResult convertLegacy(const std::vector<LegacyInput>& inputs, const LegacyRequest& request) {
  return Converter(request).run(inputs);
}

std::string legacyReport(const LegacyResult& result, bool strict) {
  if (result.unconverted == 0) return {};
  const std::string program = "kavelin-convert: ";
  std::string report =
      program + (strict ? "error: " : "warning: ") + std::to_string(result.unconverted) +
      (result.unconverted == 1 ? " character" : " characters") + " could not be converted\n";
  for (const UnconvertedPlace& p : result.first) {
    report += program + "  " + p.label + ":" + std::to_string(p.where.at.line) + ":" +
              std::to_string(p.where.at.column) + ": " + describeCharacter(p.where.character) +
              "\n";
  }
  if (result.unconverted > result.first.size()) {
    report += program + "  ... and " + std::to_string(result.unconverted - result.first.size()) +
              " more\n";
  }
  return report;
}

}  // namespace kavelin
