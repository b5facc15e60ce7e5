// SPDX-License-Identifier: GPL-3.0-or-later
#include "text.h"

#include <cstring>

namespace kavelin {
namespace {

// Windows-1252 characters of the bytes 0x80..0x9F.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Eight bytes as one word, and its bytes' high bits.
std::uint64_t load8(const unsigned char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}
constexpr std::uint64_t kHighBits = 0x8080808080808080u;
constexpr std::uint64_t kOnes = 0x0101010101010101u;

}  // namespace

char16_t cp1252ToChar(std::uint8_t byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kCp1252High[byte - 0x80];
  return byte;
}

std::optional<std::uint8_t> charToCp1252(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<std::uint8_t>(c);
  for (int i = 0; i < 32; ++i) {
    if (kCp1252High[i] == c) return static_cast<std::uint8_t>(0x80 + i);
  }
  return std::nullopt;
}

GlyphString glyphFromCodes(std::string_view codes) {
  GlyphString out;
  assignFromCodes(codes, out);
  return out;
}

void assignFromCodes(std::string_view codes, GlyphString& out) {
  out.resize(codes.size());
  const auto* p = reinterpret_cast<const unsigned char*>(codes.data());
  char16_t* o = out.data();
  const std::size_t n = codes.size();
  std::size_t i = 0;
  // Eight bytes at a time with none in 0x80..0x9F (whose top bits are 100):
  // each byte is its character.
  for (; i + 8 <= n; i += 8) {
    const std::uint64_t c1 = (load8(p + i) & (kOnes * 0xE0)) ^ kHighBits;  // 0 in 0x80..0x9F
    if (((c1 - kOnes) & ~c1 & kHighBits) != 0) {
      for (std::size_t k = 0; k < 8; ++k) o[i + k] = cp1252ToChar(p[i + k]);
    } else {
      for (std::size_t k = 0; k < 8; ++k) o[i + k] = p[i + k];
    }
  }
  for (; i < n; ++i) o[i] = cp1252ToChar(p[i]);
}

void appendCodes(std::u16string_view glyphs, std::string& out) {
  const std::size_t start = out.size();
  out.resize(start + glyphs.size());
  char* o = out.data() + start;
  for (char16_t c : glyphs) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      *o++ = static_cast<char>(c);
    } else {
      const auto b = charToCp1252(c);
      *o++ = b ? static_cast<char>(*b) : '?';
    }
  }
}

std::string glyphToCodes(std::u16string_view glyphs) {
  std::string out;
  appendCodes(glyphs, out);
  return out;
}

bool decodeUtf8(std::string_view bytes, std::u16string& out, Utf8Error* error) {
  // At most one unit a byte, written through a pointer.
  out.resize(bytes.size());
  char16_t* const begin = out.data();
  char16_t* o = begin;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  auto fail = [&](std::size_t at) {
    if (error) error->offset = at;
    out.resize(static_cast<std::size_t>(o - begin));
    return false;
  };
  while (i < n) {
    const unsigned char b0 = p[i];
    if (b0 < 0x80) {
      // Eight ASCII bytes at a time while they last.
      for (; i + 8 <= n && (load8(p + i) & kHighBits) == 0; i += 8, o += 8) {
        for (std::size_t k = 0; k < 8; ++k) o[k] = p[i + k];
      }
      if (i < n && p[i] < 0x80) {
        *o++ = p[i];
        ++i;
      }
      continue;
    }
    // Hindi text: Devanagari letters (E0 A4..A5 80..BF, all valid) among
    // ASCII spaces and punctuation, each written without a branch on which.
    // A lone ASCII byte only: a run of them goes eight at a time.
    const std::size_t mixed = i;
    while (i + 3 <= n) {
      const unsigned b1 = p[i + 1];
      const unsigned b2 = p[i + 2];
      const unsigned b = p[i];
      const bool deva = b == 0xE0 && (b1 & 0xFE) == 0xA4 && (b2 & 0xC0) == 0x80;
      if (!deva && (b >= 0x80 || b1 < 0x80)) break;
      *o++ = static_cast<char16_t>(deva ? 0x0900 | (b1 & 1) << 6 | (b2 & 0x3F) : b);
      i += deva ? 3 : 1;
    }
    if (i != mixed) continue;
    // The common three-byte form (the Devanagari block is in it) first.
    if ((b0 & 0xF0) == 0xE0 && i + 2 < n && (p[i + 1] & 0xC0) == 0x80 &&
        (p[i + 2] & 0xC0) == 0x80) {
      const char32_t cp =
          (char32_t(b0 & 0x0F) << 12) | (char32_t(p[i + 1] & 0x3F) << 6) | (p[i + 2] & 0x3F);
      if (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF)) return fail(i);
      *o++ = static_cast<char16_t>(cp);
      i += 3;
      continue;
    }
    int len;
    char32_t cp;
    char32_t min;
    if ((b0 & 0xE0) == 0xC0) {
      len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
      len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
      len = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
      return fail(i);
    }
    if (i + len > n) return fail(i);
    for (int k = 1; k < len; ++k) {
      const unsigned char b = p[i + k];
      if ((b & 0xC0) != 0x80) return fail(i);
      cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return fail(i);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      *o++ = static_cast<char16_t>(0xD800 + (cp >> 10));
      *o++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      *o++ = static_cast<char16_t>(cp);
    }
    i += static_cast<std::size_t>(len);
  }
  out.resize(static_cast<std::size_t>(o - begin));
  return true;
}

void appendUtf8(std::u16string_view text, std::string& out) {
  // Room for the longest encoding, written through a pointer: three bytes a
  // unit (a surrogate pair's four are two units' six).
  const std::size_t n = text.size();
  const std::size_t start = out.size();
  out.resize(start + 3 * n);
  auto* o = reinterpret_cast<unsigned char*>(out.data() + start);
  for (std::size_t i = 0; i < n; ++i) {
    char32_t cp = text[i];
    if (cp < 0x80) {
      // Four ASCII units at a time while they last.
      for (; i + 4 <= n; i += 4, o += 4) {
        std::uint64_t units;
        std::memcpy(&units, text.data() + i, sizeof units);
        if ((units & 0xFF80FF80FF80FF80u) != 0) break;
        for (std::size_t k = 0; k < 4; ++k) o[k] = static_cast<unsigned char>(text[i + k]);
      }
      if (i == n) break;
      cp = text[i];
      if (cp < 0x80) {
        *o++ = static_cast<unsigned char>(cp);
        continue;
      }
    }
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < n && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x800) {
      *o++ = static_cast<unsigned char>(0xC0 | (cp >> 6));
      *o++ = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      *o++ = static_cast<unsigned char>(0xE0 | (cp >> 12));
      *o++ = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
      *o++ = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    } else {
      *o++ = static_cast<unsigned char>(0xF0 | (cp >> 18));
      *o++ = static_cast<unsigned char>(0x80 | ((cp >> 12) & 0x3F));
      *o++ = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
      *o++ = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    }
  }
  out.resize(static_cast<std::size_t>(reinterpret_cast<char*>(o) - out.data()));
}

std::string encodeUtf8(std::u16string_view text) {
  std::string out;
  appendUtf8(text, out);
  return out;
}

std::u16string latin1(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char c : text) out.push_back(static_cast<unsigned char>(c));
  return out;
}

std::u16string toCrLf(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size() + text.size() / 16);
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t c = text[i];
    if (c == u'\r') {
      out += u"\r\n";
      if (i + 1 < n && text[i + 1] == u'\n') ++i;
    } else if (c == u'\n') {
      out += u"\r\n";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace kavelin
