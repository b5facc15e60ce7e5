// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-string conversion: worked examples, buffer traces, line breaks, the
// length boundary, and the cases where a dead end or a lost character is mended.
#include <gtest/gtest.h>

#include <random>

#include "test_util.h"

namespace kavelin {
namespace {

using test::codes;
using test::convert;
using test::u;

struct Example {
  const char* english;
  const char* hindi;  // font codes
};

class Conversion : public testing::TestWithParam<Example> {};

TEST_P(Conversion, GivesTheGlyphCodes) {
  EXPECT_EQ(convert(GetParam().english), GetParam().hindi) << GetParam().english;
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, Conversion,
    testing::Values(Example{"namaste", "ueLrs "}, Example{"dharma", "/keZ "},
                    Example{"bhaarat", "Hkkjr "}, Example{"ka ga", "d x "}, Example{"", ""},
                    Example{"ka", "d "}, Example{"ka ", "d "}, Example{"k", "d "},
                    Example{"kaa", "dk "}, Example{"rkaa", "dkZ "}, Example{"aa", "vk "},
                    Example{"ai", ",s "}, Example{"au", "vkS "}, Example{"ee", "\xC3 "},
                    Example{"oo", "\xC5 "}, Example{"ski", "fLd "}, Example{"ki", "fd "},
                    Example{"ka^", "da "}, Example{"kaa^", "dka "}, Example{"kaH", "d% "},
                    Example{"kg", "Dx "}, Example{"kRi", "\xD1 "}));

INSTANTIATE_TEST_SUITE_P(
    OddKeys, Conversion,
    testing::Values(Example{"quick", "FDOd "},  // "qui" is a key; "ck" starts anew
                    Example{"\\", "k~ "}, Example{"\\k", "k~d "}, Example{"khR", "[M+ "},
                    Example{"+", "$ "}, Example{"ka.", "d- "}, Example{"ka, ga", "d] x "},
                    Example{"hamane 15 agast 1947 ko", "geus 15 vxLr 1947 dks "},
                    Example{"dhanyavAd !!!", "/kU;okn !!! "}, Example{"oM", "\xC5\xA1 "},
                    Example{"Gyaan", "Kku "}, Example{"rAShTr", "jk\"V\xAA "},
                    Example{"kRShN", "\xD1\".k "}, Example{"vidyaarthii", "fon~;kFkhZ "}));

// Outputs that used to lose or change a typed letter.
INSTANTIATE_TEST_SUITE_P(RakarAndHalantKeys, Conversion,
                         testing::Values(Example{"nRty", "u`R; "}, Example{"pRthvii", "i`Foh "},
                                         Example{"namrtaa", "uezrk "}, Example{"hRday", "g`n; "},
                                         Example{"liphT", "fyQ~V "}, Example{"Rk", "M+~d "},
                                         Example{"shukr", "'kq\xD8 "}, Example{"kRpaa", "\xD1ik "},
                                         Example{"nR\r\nka", "u` \nd "},
                                         Example{"Dhruv", "<\xAAqo "}, Example{"chhr", "N\xAA "},
                                         Example{"tr", "\xABk "}));

INSTANTIATE_TEST_SUITE_P(
    NasalAndLongVowelSigns, Conversion,
    testing::Values(Example{"kheto^ me^", "[ksrksa esa "}, Example{"kyo^ki", "D;ksafd "},
                    Example{"si^h", "flag "}, Example{"ski^", "fLda "}, Example{"nahii^", "ugha "},
                    Example{"skii^", "Ldha "}, Example{"pahu^chanaa", "igqaPkuk "},
                    Example{"ru^", "#a "}, Example{"kuu", "dw "}, Example{"ruup", "\x3Ai "},
                    Example{"kuu^", "dwa "}, Example{"peeRit", "ihfM+r "}, Example{"rki^", "fdZa "},
                    Example{"kRi^",
                            "\xD1"
                            "a "}));

INSTANTIATE_TEST_SUITE_P(PunctuationAndDigits, Conversion,
                         testing::Values(Example{"kal/aaj", "dy@vkt "}, Example{"5a", "5v "},
                                         Example{"5i", "5b "}, Example{"5aa", "5vk "},
                                         Example{"ski/i", "fLd@b "},
                                         Example{"(ka)",
                                                 "\xBC"
                                                 "d\xBD "},
                                         Example{"1a2", "1v2 "}));

INSTANTIATE_TEST_SUITE_P(IndependentVowels, Conversion,
                         testing::Values(Example{"ie", "b, "}, Example{"aai", "vkb "},
                                         Example{"aa^kh", "vka[k "}, Example{"iishvar", "\xC3'oj "},
                                         Example{"uupar", "\xC5ij "}, Example{"aM", "va "},
                                         Example{"aH", "v% "}, Example{"a^", "va "},
                                         Example{"ai^", ",sa "}, Example{"au^", "vkSa "},
                                         Example{"ee^",
                                                 "\xC3"
                                                 "a "},
                                         Example{"oo^",
                                                 "\xC5"
                                                 "a "},
                                         Example{"Ai", "vkb "}, Example{"aa^\r\nie", "vka \nb, "}));

INSTANTIATE_TEST_SUITE_P(WordEnds, Conversion,
                         testing::Values(Example{"naam, pataa", "uke] irk "},
                                         Example{"raam-shyaam", "jke&';ke "},
                                         Example{"sach!", "lPk! "}, Example{"karm,", "deZ] "},
                                         Example{"naam,\r\nka", "uke] \nd "},
                                         Example{"ski,", "fLd] "}, Example{"d.", "n- "},
                                         Example{"gyaan.", "X;ku- "}, Example{"kh5", "[k5 "}));

INSTANTIATE_TEST_SUITE_P(
    LineBreaks, Conversion,
    testing::Values(
        // CR is fed as a space, LF appends a single LF, no flush after a final LF.
        Example{"ka\r\nga", "d \nx "}, Example{"ka\r\n", "d \n"},
        // An empty line becomes two spaces and an LF.
        Example{"ka\r\n\r\nga", "d \n  \nx "},
        // Lone LF and lone CR are made CR LF first, so no word is lost.
        Example{"ka\nga", "d \nx "}, Example{"ka\rga", "d \nx "}, Example{"ka\n\nga", "d \n  \nx "},
        Example{"\n", "  \n"}));

// A dead token start loses its first character; the rest is typed again, so
// the rest of the line still converts and nothing is committed twice.
INSTANTIATE_TEST_SUITE_P(DeadStarts, Conversion,
                         testing::Values(Example{"ka Sa ga\r\nka", "d v x \nd "},
                                         Example{"Eka", "d "}, Example{"kaE ga", "d x "},
                                         Example{"ka @#^ ga", "d  x "}, Example{"Ksa", "l "},
                                         Example{"Kshatriya", "{kf\xABk; "}, Example{"kS", "D"},
                                         Example{"KEY", ""}, Example{"kaKsK", "dL"},
                                         Example{"Kkg", "Dx "}, Example{"kaKski", "dfLd "}));

// The half form taken back by short i stays in the token through "ii".
INSTANTIATE_TEST_SUITE_P(ShortIHalfForm, Conversion,
                         testing::Values(Example{"hindii", "fgUnh "}, Example{"hindI", "fgUnh "},
                                         Example{"hindee", "fgUnh "}, Example{"skii", "Ldh "},
                                         Example{"xrkii", "DLdhZ "}, Example{"sthii", "LFkh "},
                                         Example{"skiii", "Ldhb "}));

// A lone space token is committed by anything but a second space.
INSTANTIATE_TEST_SUITE_P(SpaceTokens, Conversion,
                         testing::Values(Example{"ka  aam", "d  vke "}, Example{"ka  ga", "d  x "},
                                         Example{"ka   ga", "d   x "}, Example{"ka  ", "d   "},
                                         Example{"ka  ^", "d  "}, Example{"  a", "  v "}));

TEST(E2h, TraceOfKaGa) {
  // Feed the characters as e2h does and look at the buffers after each one.
  struct Step {
    char c;
    const char16_t* txtEM;
    const char16_t* txtE;
    const char16_t* text1;
    const char* txtHM;
  } steps[] = {{'k', u"k", u"k", u"k", ""},
               {'a', u"ka", u"ka", u"ka", ""},
               {' ', u"ka ", u"", u"", "d "},
               {'g', u"ka g", u"g", u"g", "d "},
               {'a', u"ka ga", u"ga", u"ga", "d "}};
  Engine engine;
  engine.ClearTxt();
  for (const Step& s : steps) {
    engine.setSuppressFeed(0);
    engine.setTxtEM(engine.txtEM() + static_cast<char16_t>(s.c));
    EXPECT_EQ(engine.txtEM(), s.txtEM) << s.c;
    EXPECT_EQ(engine.txtE(), s.txtE) << s.c;
    EXPECT_EQ(engine.Text1(), s.text1) << s.c;
    EXPECT_EQ(codes(engine.txtHM()), s.txtHM) << s.c;
  }
  engine.setTxtE(engine.txtE() + u" ");  // end-of-text flush
  EXPECT_EQ(codes(engine.txtHM()), "d x ");
  EXPECT_EQ(engine.txtE(), u"");
  EXPECT_EQ(engine.Text1(), u"ga");
}

TEST(E2h, TraceOfNamaste) {
  struct Step {
    char c;
    const char16_t* txtE;
    const char* txtH;
    const char* txtHM;
  } steps[] = {{'n', u"n", "U", ""},     {'a', u"na", "u", ""},  {'m', u"m", "E", "u"},
               {'a', u"ma", "e", "u"},   {'s', u"s", "L", "ue"}, {'t', u"t", "R", "ueL"},
               {'e', u"te", "rs", "ueL"}};
  Engine engine;
  engine.ClearTxt();
  for (const Step& s : steps) {
    engine.setTxtEM(engine.txtEM() + static_cast<char16_t>(s.c));
    EXPECT_EQ(engine.txtE(), s.txtE) << s.c;
    EXPECT_EQ(codes(engine.txtH()), s.txtH) << s.c;
    EXPECT_EQ(codes(engine.txtHM()), s.txtHM) << s.c;
  }
  engine.setTxtE(engine.txtE() + u" ");
  EXPECT_EQ(codes(engine.txtHM()), "ueLrs ");
  EXPECT_EQ(codes(engine.txtH()), "");
}

TEST(E2h, SuppressFeedFollowsTheLastCharacter) {
  Engine engine;
  EXPECT_EQ(engine.suppressFeed(), 0);
  engine.e2h(u"ka\r\n");
  EXPECT_EQ(engine.suppressFeed(), -1);
  // While set, a write to the English mirror feeds nothing.
  engine.setTxtEM(u"xyz");
  EXPECT_EQ(engine.txtE(), u"");
  engine.e2h(u"ka");
  EXPECT_EQ(engine.suppressFeed(), 0);
}

TEST(E2h, LoneLfDropsThePendingTokenInsideE2h) {
  // e2h itself keeps its handling; only the input boundary adds the CR.
  Engine engine;
  EXPECT_EQ(codes(engine.e2h(u"ka\nga")), "\nx ");
  EXPECT_EQ(codes(engine.e2h(u"ka\r\nga")), "d \nx ");
}

TEST(E2h, ChartTokenIsTheBufferAfterTheLastCharacter) {
  struct Case {
    const char* english;
    const char16_t* text1;
  } cases[] = {{"ka", u"ka"},      {"ka ", u""},    {"namaste", u"te"},   {"kag", u"g"},
               {"dharma", u"rma"}, {"ka\r\n", u""}, {"ka\r\n\r\n", u" "}, {"Sa", u"a"},
               {"K", u"K"},        {"", u""},       {"ka  ", u" "}};
  for (const Case& c : cases) {
    Engine engine;
    engine.e2h(u(c.english));
    EXPECT_EQ(engine.Text1(), c.text1) << c.english;
  }
}

TEST(E2h, NoLengthLimit) {
  // 32,767 and 32,768 characters, and far beyond, all convert.
  for (std::size_t length : {32766u, 32767u, 32768u, 32769u, 100000u}) {
    std::string english;
    while (english.size() < length) english += "ka ";
    english.resize(length);
    const std::string hindi = convert(english);
    // Every "ka" and a final lone "k" give "d" and a space.
    std::size_t words = length / 3 + (length % 3 ? 1 : 0);
    std::string expected;
    for (std::size_t i = 0; i < words; ++i) expected += "d ";
    EXPECT_EQ(hindi, expected) << length;
  }
}

TEST(E2h, EveryConversionStartsFromEmptyBuffers) {
  Engine engine;
  const std::string first = codes(engine.e2h(u"namaste dharma")),
                    again = codes(engine.e2h(u"namaste dharma"));
  EXPECT_EQ(first, again);
  engine.e2h(u"ski");
  EXPECT_EQ(codes(engine.e2h(u"ki")), "fd ");
}

TEST(TextBoundary, ToCrLf) {
  struct Case {
    const char16_t* in;
    const char16_t* out;
  } cases[] = {{u"", u""},
               {u"a\nb", u"a\r\nb"},
               {u"a\rb", u"a\r\nb"},
               {u"a\r\nb", u"a\r\nb"},
               {u"\n\n", u"\r\n\r\n"},
               {u"\r\r\n\n", u"\r\n\r\n\r\n"},
               {u"\n\r", u"\r\n\r\n"}};
  for (const Case& c : cases) EXPECT_EQ(toCrLf(c.in), c.out);
}

TEST(TextBoundary, Utf8DecodingReportsTheOffset) {
  struct Case {
    std::string bytes;
    bool ok;
    std::size_t offset;
  } cases[] = {{"namaste", true, 0},           {"\xC3\xA9", true, 0},
               {"ab\xFF", false, 2},           {"a\xC3", false, 1},
               {"a\xC0\x80", false, 1},        {"\xED\xA0\x80", false, 0},
               {"\xF4\x90\x80\x80", false, 0}, {"\xF0\x9F\x98\x80x", true, 0},
               {"ok\xE0\xA4", false, 2},       {"\x80", false, 0}};
  for (const Case& c : cases) {
    std::u16string out;
    Utf8Error error;
    EXPECT_EQ(decodeUtf8(c.bytes, out, &error), c.ok) << c.bytes;
    if (!c.ok) {
      EXPECT_EQ(error.offset, c.offset) << c.bytes;
    }
  }
  std::u16string out;
  ASSERT_TRUE(decodeUtf8("\xF0\x9F\x98\x80", out));
  EXPECT_EQ(out, u"\U0001F600");
  EXPECT_EQ(encodeUtf8(out), "\xF0\x9F\x98\x80");
}

TEST(TextBoundary, Cp1252) {
  EXPECT_EQ(cp1252ToChar(0x93), u'\u201C');
  EXPECT_EQ(cp1252ToChar(0xAA), u'\u00AA');
  EXPECT_EQ(*charToCp1252(u'\u201C'), 0x93);
  EXPECT_FALSE(charToCp1252(u'\u0915').has_value());
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ(*charToCp1252(cp1252ToChar(static_cast<std::uint8_t>(b))), b);
  }
}

}  // namespace
}  // namespace kavelin

namespace kavelin {
namespace {

// e2h repeats feed steps it has seen from a cache; with a convrt hook set it
// always runs the notification chain. Both must leave every buffer the same.
TEST(E2h, RememberedStepsEqualTheFullChain) {
  std::mt19937 rng(7);
  const std::u16string alphabet =
      u"aaaaeeiiooukgcjtdnpbmyrlvshSKGDTNRxzqfwAIUOE@M^^^      \r\n\r\n.,!?;:'`+\\0123456789";
  Engine cached;
  Engine chained;
  chained.setConvrtHook([](const std::u16string&, const GlyphString&) { return true; });
  for (int round = 0; round < 3000; ++round) {
    std::u16string text;
    const std::size_t length = std::uniform_int_distribution<std::size_t>(0, 60)(rng);
    for (std::size_t i = 0; i < length; ++i) {
      text += alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(rng)];
    }
    if (round % 7 == 0) text += u'\u0915';  // a character beyond ASCII
    ASSERT_EQ(cached.e2h(text), chained.e2h(text)) << encodeUtf8(text);
    ASSERT_EQ(cached.txtE(), chained.txtE()) << encodeUtf8(text);
    ASSERT_EQ(cached.txtH(), chained.txtH()) << encodeUtf8(text);
    ASSERT_EQ(cached.txtEM(), chained.txtEM()) << encodeUtf8(text);
    ASSERT_EQ(cached.Text1(), chained.Text1()) << encodeUtf8(text);
    ASSERT_EQ(cached.suppressFeed(), chained.suppressFeed());
  }
}

}  // namespace
}  // namespace kavelin
