// SPDX-License-Identifier: GPL-3.0-or-later
// What the reader makes of each RTF construct, as word processors write them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rtf.h"
#include "rtf_test_util.h"

namespace kavelin {
namespace {

using rtftest::Format;
using rtftest::mustRead;
using rtftest::para;
using rtftest::run;

// f0 Arial (the default), f1 a symbol font, f2 DevLys 160, f3 another Arial.
const std::string kHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
    "{\\f1\\fnil\\fcharset2 Symbol;}{\\f2\\fnil\\fcharset0 DevLys 160;}"
    "{\\f3\\froman\\fcharset0 Arial;}}\r\n";

std::string doc(const std::string& body) { return kHeader + body + "}"; }

const Format kPlain{};
const Format kSymbol{u"Symbol"};
const Format kDevLys{u"DevLys 160"};
Format bold() { return {u"Arial", 12, true}; }
Format italic() { return {u"Arial", 12, false, true}; }
Format underline() { return {u"Arial", 12, false, false, true}; }
Format sized(double pt) { return {u"Arial", pt}; }

RichDocument paragraphs(std::vector<RichParagraph> ps) { return RichDocument{std::move(ps)}; }
RichDocument oneRun(std::u16string text, const Format& f = kPlain) {
  return paragraphs({para({run(std::move(text), f)})});
}

struct ReaderCase {
  const char* name;
  std::string rtf;
  RichDocument expected;
};

void PrintTo(const ReaderCase& c, std::ostream* os) { *os << c.name; }

class RtfReader : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(RtfReader, Reads) {
  const ReaderCase& c = GetParam();
  EXPECT_EQ(mustRead(c.rtf), c.expected) << c.rtf;
}

const ReaderCase kCases[] = {
    // Paragraphs.
    {"PlainText", doc("Hello"), oneRun(u"Hello")},
    {"NoTrailingEmptyParagraph", doc("a\\par b\\par"),
     paragraphs({para({run(u"a")}), para({run(u"b")})})},
    {"TextAfterLastPar", doc("a\\par b"), paragraphs({para({run(u"a")}), para({run(u"b")})})},
    {"EmptyParagraphs", doc("\\par a\\par\\par\\par"),
     paragraphs({para({}), para({run(u"a")}), para({}), para({})})},
    {"NoText", doc(""), paragraphs({})},
    {"BackslashNewlineIsPar", doc("a\\\nb\\\r\nc"),
     paragraphs({para({run(u"a")}), para({run(u"b")}), para({run(u"c")})})},
    {"SectEndsParagraphWithText", doc("a\\sect b\\par\\sect c"),
     paragraphs({para({run(u"a")}), para({run(u"b")}), para({run(u"c")})})},
    {"TableCellsAreParagraphs", doc("\\intbl a\\cell b\\cell\\row c\\par"),
     paragraphs({para({run(u"a")}), para({run(u"b")}), para({run(u"c")})})},

    // Alignment.
    {"Alignments", doc("\\qc a\\par\\qr b\\par\\ql c\\par\\qj d"),
     paragraphs({para(Align::Center, {run(u"a")}), para(Align::Right, {run(u"b")}),
                 para(Align::Left, {run(u"c")}), para(Align::Left, {run(u"d")})})},
    {"AlignmentLastsUntilPard", doc("\\qr a\\par b\\par\\pard c"),
     paragraphs({para(Align::Right, {run(u"a")}), para(Align::Right, {run(u"b")}),
                 para(Align::Left, {run(u"c")})})},
    {"AlignmentAtParagraphEnd", doc("a\\qc\\par{\\qr b\\par}c\\par\\qc"),
     paragraphs({para(Align::Center, {run(u"a")}), para(Align::Right, {run(u"b")}),
                 para(Align::Center, {run(u"c")})})},
    {"EmptyParagraphKeepsAlignment", doc("\\qr\\par"), paragraphs({para(Align::Right, {})})},

    // Character format.
    {"Bold", doc("\\b a\\b0 b\\b1 c\\b0"),
     paragraphs({para({run(u"a", bold()), run(u"b"), run(u"c", bold())})})},
    {"Italic", doc("\\i a\\i0 b"), paragraphs({para({run(u"a", italic()), run(u"b")})})},
    {"UnderlineKinds", doc("\\ul a\\ulnone b\\uldb c\\ul0 d\\ulwave e\\ulnone\\ulc1 f"),
     paragraphs({para({run(u"a", underline()), run(u"b"), run(u"c", underline()), run(u"d"),
                       run(u"e", underline()), run(u"f")})})},
    {"FontSelection", doc("\\f2 a\\f1 b\\f0 c"),
     paragraphs({para({run(u"a", kDevLys), run(u"b", kSymbol), run(u"c")})})},
    {"FontSizes", doc("\\fs16 a\\fs29 b\\fs144 c\\fs d"),
     paragraphs(
         {para({run(u"a", sized(8)), run(u"b", sized(14.5)), run(u"c", sized(72)), run(u"d")})})},
    {"FontSizeLimits", doc("\\fs0 a\\fs-4 b\\fs99999 c\\fs1 d"),
     paragraphs({para({run(u"ab"), run(u"c", sized(1638)), run(u"d", sized(1))})})},
    {"GroupsRestoreFormat", doc("\\b a{\\i\\f2\\fs40\\b0 b{\\ul c}d}e"),
     paragraphs({para({run(u"a", bold()), run(u"b", {u"DevLys 160", 20, false, true}),
                       run(u"c", {u"DevLys 160", 20, false, true, true}),
                       run(u"d", {u"DevLys 160", 20, false, true}), run(u"e", bold())})})},
    {"PlainResetsToDefaultFont12pt", doc("\\f2\\fs40\\b\\i\\ul a\\plain b"),
     paragraphs({para({run(u"a", {u"DevLys 160", 20, true, true, true}), run(u"b")})})},
    {"PlainUsesDeff",
     "{\\rtf1\\ansi\\deff2{\\fonttbl{\\f0 Arial;}{\\f2 DevLys 160;}}\\f0 a\\plain b}",
     paragraphs({para({run(u"a"), run(u"b", kDevLys)})})},
    {"PardKeepsCharacterFormat", doc("\\b a\\par\\pard b"),
     paragraphs({para({run(u"a", bold())}), para({run(u"b", bold())})})},
    {"SameFormatRunsMerge", doc("a{\\b0 b}{\\f0 c}\\f3 d\\lang1033 e"), oneRun(u"abcde")},
    {"HiddenTextSkipped", doc("a{\\v hidden}b\\v c\\plain d"), oneRun(u"abd")},

    // Control word syntax.
    {"OneDelimitingSpace", doc("\\b  a\\b0\\i0 b"),
     paragraphs({para({run(u" a", bold()), run(u"b")})})},
    {"ParameterEndsAtNonDigit", doc("\\fs28x\\fs24-y"),
     paragraphs({para({run(u"x", sized(14)), run(u"-y")})})},
    {"IgnoredWords",
     doc("\\af1\\hich\\loch\\dbch\\rtlch\\ltrch\\s0\\cf1\\lang1033\\langfe2052\\kerning1"
         "\\nowidctlpar\\widctlpar\\sa120\\fi-360\\unknownword12 x\\ab\\ai\\afs40 y"),
     oneRun(u"xy")},
    {"IgnoredSymbols", doc("a\\:b\\|c\\/d"), oneRun(u"abcd")},
    {"RawLineBreaksIgnored", doc("ab\r\ncd\ne\rf"), oneRun(u"abcdef")},
    {"RawControlBytesIgnored",
     doc(std::string("a\0b\x01\x1f"
                     "c\td",
                     8)),
     oneRun(u"abc\td")},

    // Characters.
    {"EscapedSpecials", doc("\\\\\\{\\}"), oneRun(u"\\{}")},
    {"SpecialSymbols", doc("\\~\\-\\_"), oneRun(u"\u00A0\u00AD\u2011")},
    {"TabAndLine", doc("a\\tab b\\line c"), oneRun(u"a\tb\u2028c")},
    {"NamedCharacters",
     doc("\\lquote\\rquote\\ldblquote\\rdblquote\\bullet\\endash\\emdash\\enspace\\emspace"),
     oneRun(u"\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u2002\u2003")},
    {"HexIsWindows1252", doc("\\'41\\'80\\'93\\'9F\\'a0\\'E9\\'ff\\'81"),
     oneRun(u"A\u20AC\u201C\u0178\u00A0\u00E9\u00FF\u0081")},
    {"RawHighBytesAreWindows1252", doc("\x93\xE9"), oneRun(u"\u201C\u00E9")},
    {"SemicolonInBody", doc("a;b"), oneRun(u"a;b")},

    // Unicode.
    {"UnicodeWithFallback", doc("\\u2325?x\\u8364\\'80y"), oneRun(u"\u0915x\u20ACy")},
    {"UnicodeNegative", doc("\\u-3?\\u-32768?"), oneRun(u"\uFFFD\u8000")},
    {"UnicodeSurrogatePair", doc("\\u-10179?\\u-8704?"), oneRun(u"\U0001F600")},
    {"UnicodeSkipCount", doc("\\uc2\\u2325\\'3f\\'3fa\\uc0\\u2325 b"), oneRun(u"\u0915a\u0915b")},
    {"UnicodeSkipCountScoped", doc("{\\uc2\\u2325??}\\u2325?x"), oneRun(u"\u0915\u0915x")},
    {"UnicodeFallbackEndsAtGroup", doc("{\\uc3\\u2325 a}b"), oneRun(u"\u0915b")},
    {"UnicodeFallbackEndsAtControlWord", doc("\\uc3\\u2325\\b b"),
     paragraphs({para({run(u"\u0915"), run(u"b", bold())})})},
    {"UnicodeFallbackCountsEscapes", doc("\\uc3\\u2325\\{\\\\\\'3fb"), oneRun(u"\u0915b")},
    {"UnicodeFallbackNotCountingLineBreaks", doc("\\u2325\r\n?b"), oneRun(u"\u0915b")},

    // Symbol fonts.
    {"SymbolFontHex", doc("\\f1\\'61\\'93\\'b7\\'80"), oneRun(u"a\u201C\u00B7\u20AC", kSymbol)},
    {"SymbolFontPrivateUse", doc("\\f1\\u61537?\\u-3913?\\u61587?\\u147?"),
     oneRun(u"a\u00B7\u201C\u201C", kSymbol)},
    {"PrivateUseFoldedInAnyFont", doc("\\f2\\u61537?\\u61472?\\u61695?\\u61471?\\u147?"),
     oneRun(u"a \u00FF\uF01F\u0093", kDevLys)},

    // Font tables.
    {"FontTableFlatForm",
     "{\\rtf1\\ansi\\deff1{\\fonttbl\\f0\\fswiss Arial;\\f1\\froman Times New Roman;}\\f0 a\\f1 b}",
     paragraphs({para({run(u"a"), run(u"b", {u"Times New Roman"})})})},
    {"FontTableNestedGroups",
     "{\\rtf1\\ansi{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0{\\*\\panose 02020603050405020304}"
     "Liberation Serif{\\*\\falt Times New Roman};}{\\f1\\fnil{\\falt X} Caf\\'e9 \\u2325?;}}"
     "\\f0 a\\f1 b}",
     paragraphs({para({run(u"a", {u"Liberation Serif"}), run(u"b", {u"Caf\u00E9 \u0915"})})})},
    {"FontNameWithoutSemicolon", "{\\rtf1{\\fonttbl{\\f0  Arial }}a}", oneRun(u"a")},
    {"FontNameEscapedSemicolon", "{\\rtf1{\\fonttbl{\\f0 A\\'3bB;}}a}", oneRun(u"a", {u"A;B"})},
    {"UnknownFontNumberUsesDeff", doc("\\f9 a"), oneRun(u"a")},
    {"NoFontTable", "{\\rtf1\\ansi Hello}", oneRun(u"Hello", {u""})},

    // Destinations that are no body text.
    {"BinaryDataSkipped", doc("a\\bin3 {}\\{\\*\\blob\\bin4 }}}}}c"), oneRun(u"ac")},
    {"FieldResultKept",
     doc("a{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link}}b{\\field{\\fldinst "
         "PAGE}{\\fldrslt 1}}"),
     oneRun(u"alinkb1")},

    // Lenient input.
    {"MissingFinalBrace", "{\\rtf1{\\fonttbl{\\f0 Arial;}}a\\par b",
     paragraphs({
         para({run(u"a")}),
         para({run(u"b")}),
     })},
    {"WhitespaceAroundDocument", std::string(" \r\n{\\rtf1 a}\r\n\0\0", 16), oneRun(u"a", {u""})},
};

INSTANTIATE_TEST_SUITE_P(rtf, RtfReader, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ReaderCase>& test) {
                           return std::string(test.param.name);
                         });

// Each destination's content, paragraph marks included, is skipped whole.
class RtfSkippedDestination : public ::testing::TestWithParam<const char*> {};

TEST_P(RtfSkippedDestination, ContentIsSkipped) {
  const std::string group = GetParam();
  EXPECT_EQ(mustRead(doc("a" + group + "b")), oneRun(u"ab")) << group;
}

INSTANTIATE_TEST_SUITE_P(
    rtf, RtfSkippedDestination,
    ::testing::Values("{\\*\\unknowndest text\\par more}", "{\\colortbl;\\red0\\green0\\blue0;}",
                      "{\\stylesheet{\\s0\\snext0 Normal;}{\\s1 Heading\\par;}}",
                      "{\\info{\\title T}{\\author A}{\\creatim\\yr2024\\mo1}}",
                      "{\\pict\\pngblip\\picw10 89504e470d0a1a0a}", "{\\header H\\par}",
                      "{\\footer F\\par}", "{\\headerl H}", "{\\footerr F}",
                      "{\\footnote\\ftnalt N\\par}",
                      "{\\*\\listtable{\\list{\\listlevel{\\leveltext\\'02\\'00.;}}}}",
                      "{\\listoverridetable{\\listoverride\\ls1}}", "{\\*\\rsidtbl \\rsid123}",
                      "{\\*\\generator LibreOffice;}", "{\\*\\themedata 504b0304}",
                      "{\\*\\latentstyles\\lsdstimax376{\\lsdlockedexcept Normal;}}",
                      "{\\*\\datastore 0105}", "{\\*\\xmlnstbl{\\xmlns1 http://x}}",
                      "{\\*\\mmathPr\\mdispDef1}", "{\\*\\pgdsctbl{\\pgdsc0 Default Page Style;}}",
                      "{\\listtext 1.\\tab}", "{\\pntext\\f0 1.\\tab}",
                      "{\\object\\objemb{\\*\\objdata 01}{\\result text}}",
                      "{\\shp{\\*\\shpinst{\\sp{\\sn x}{\\sv y}}}}", "{\\upr{text}{\\*\\ud{text}}}",
                      "{\\annotation note}", "{\\*\\bkmkstart mark}", "{\\fonttbl{\\f7 Late;}}"),
    [](const ::testing::TestParamInfo<const char*>& test) {
      return "Case" + std::to_string(test.index);
    });

}  // namespace
}  // namespace kavelin
