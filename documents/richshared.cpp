// SPDX-License-Identifier: GPL-3.0-or-later
#include "richshared.h"

#include <charconv>

#include "text.h"

namespace kavelin::documents::rich {
namespace {

bool xmlAllows(char32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

void appendCodePoint(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void appendEscapedChar(std::string& out, char32_t c) {
  switch (c) {
    case '&':
      out += "&amp;";
      return;
    case '<':
      out += "&lt;";
      return;
    case '>':
      out += "&gt;";
      return;
    case '"':
      out += "&quot;";
      return;
    case '\r':
      out += "&#13;";  // kept, where a raw CR would be read as a line end
      return;
    default:
      appendCodePoint(out, xmlAllows(c) ? c : 0xFFFD);
  }
}

}  // namespace

void appendEscaped(std::string& out, std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    appendEscapedChar(out, c);
  }
}

void appendEscaped(std::string& out, std::string_view utf8) {
  for (char c : utf8) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
}

std::string number(double value) {
  char buffer[32];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, r.ptr);
}

std::int32_t parseHexColor(std::string_view hex) {
  if (!hex.empty() && hex.front() == '#') hex.remove_prefix(1);
  if (hex.size() != 6) return kAutoColor;
  std::int32_t v = 0;
  const auto r = std::from_chars(hex.data(), hex.data() + hex.size(), v, 16);
  return r.ec == std::errc() && r.ptr == hex.data() + hex.size() ? v : kAutoColor;
}

std::string hexColor(std::int32_t color) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out(6, '0');
  for (int i = 5; i >= 0; --i, color >>= 4) out[static_cast<std::size_t>(i)] = kDigits[color & 0xF];
  return out;
}

std::u16string textOf(const XmlNode& node) {
  std::u16string out;
  for (const XmlNode& c : node.children) {
    if (c.kind != XmlNode::Kind::kText) continue;
    std::u16string part;
    decodeUtf8(c.text, part);  // expat hands over valid UTF-8
    out += part;
  }
  return out;
}

void Builder::startParagraph(Align align) {
  if (rowDepth_ > 0) {
    if (cellHasText_) append(u" ", current_.runs.back().format);
    return;
  }
  if (open_) endParagraph();
  current_ = RichParagraph{align, {}};
  open_ = true;
}

void Builder::append(std::u16string_view text, const RunFormat& format) {
  if (text.empty()) return;
  if (!open_) startParagraph(Align::Left);
  if (rowDepth_ > 0) cellHasText_ = true;
  if (!current_.runs.empty() && current_.runs.back().format == format) {
    current_.runs.back().text += text;
  } else {
    current_.runs.push_back(RichRun{std::u16string(text), format});
  }
}

void Builder::breakParagraph() {
  if (rowDepth_ > 0) {
    if (cellHasText_) append(u" ", current_.runs.back().format);
    return;
  }
  const Align align = open_ ? current_.align : Align::Left;
  endParagraph();
  startParagraph(align);
}

void Builder::endParagraph() {
  if (rowDepth_ > 0 || !open_) return;
  mergeRuns(current_);
  sink_(std::move(current_));
  current_ = RichParagraph();
  open_ = false;
}

void Builder::startRow() {
  if (rowDepth_++ > 0) return;
  if (open_) endParagraph();
  current_ = RichParagraph();
  open_ = true;
  firstCell_ = true;
  cellHasText_ = false;
}

void Builder::startCell() {
  if (!firstCell_) {
    append(u"\t", current_.runs.empty() ? RunFormat() : current_.runs.back().format);
  }
  firstCell_ = false;
  cellHasText_ = false;
}

void Builder::endRow() {
  if (rowDepth_ == 0 || --rowDepth_ > 0) return;
  drop(kDroppedLayout);
  endParagraph();
}

}  // namespace kavelin::documents::rich
