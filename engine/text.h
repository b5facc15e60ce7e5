// SPDX-License-Identifier: GPL-3.0-or-later
// Text helpers shared by the engine and its front ends: Windows-1252 glyph
// codes, UTF-8 decoding with error positions, and line-break normalisation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kavelin {

// A glyph string: DevLys 160 codes held as the Windows-1252 characters of the
// codes (0x93 as U+201C).
using GlyphString = std::u16string;

// The character a Windows-1252 byte stands for. Bytes that Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of that value.
char16_t cp1252ToChar(std::uint8_t byte);

// The Windows-1252 byte of a character, or nothing when it has none.
std::optional<std::uint8_t> charToCp1252(char16_t c);

// Builds a glyph string from raw font codes ("\x76\x6B" gives "vk").
GlyphString glyphFromCodes(std::string_view codes);
// The same into `out`, which it replaces (its room is kept).
void assignFromCodes(std::string_view codes, GlyphString& out);

// The font codes of a glyph string; characters without a code become '?'.
std::string glyphToCodes(std::u16string_view glyphs);
// The same, appended to `out`.
void appendCodes(std::u16string_view glyphs, std::string& out);

struct Utf8Error {
  std::size_t offset = 0;  // byte offset of the first byte that is not valid UTF-8
};

// Decodes UTF-8 into UTF-16. Returns false and sets `error` on invalid input
// (overlong forms, surrogates, code points above U+10FFFF, truncated sequences).
bool decodeUtf8(std::string_view bytes, std::u16string& out, Utf8Error* error = nullptr);

// Encodes UTF-16 as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string encodeUtf8(std::u16string_view text);
// The same, appended to `out`.
void appendUtf8(std::u16string_view text, std::string& out);

// ASCII/Latin-1 convenience for literals in code and tests: each byte becomes
// the character of the same value.
std::u16string latin1(std::string_view text);

// Line breaks at the input boundary: a lone LF or a lone CR becomes CR LF, CR LF
// stays. Text handed to the converter always goes through this first.
std::u16string toCrLf(std::u16string_view text);

}  // namespace kavelin
