// SPDX-License-Identifier: GPL-3.0-or-later
// Unicode to glyph codes: the codes of each letter, the engine's own choices,
// the round trips through glyphsToUnicode, and the report of kept characters.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "corpus.h"
#include "engine.h"
#include "text.h"
#include "unicode.h"
#include "unicodetoglyphs.h"
#include "describe.h"

namespace kavelin {
namespace {

std::u16string utf16(std::string_view utf8) {
  std::u16string out;
  EXPECT_TRUE(decodeUtf8(utf8, out)) << utf8;
  return out;
}

using test::describe;

GlyphString glyphs(std::string_view unicodeUtf8) {
  return unicodeToGlyphs(utf16(unicodeUtf8)).glyphs;
}

struct Case {
  std::string_view unicode;  // UTF-8
  std::string_view codes;    // font codes as bytes
};

void expectAll(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    const GlyphConversion r = unicodeToGlyphs(utf16(c.unicode));
    EXPECT_EQ(describe(r.glyphs), describe(glyphFromCodes(c.codes))) << c.unicode;
    EXPECT_EQ(r.unconverted.count, 0u) << c.unicode;
  }
}

TEST(UnicodeToGlyphs, TableExamples) {
  // The examples of the code table, read backwards.
  expectAll({
      {"नमस्ते", "ueLrs"},
      {"धर्म", "/keZ"},
      {"भारत", "Hkkjr"},
      {"किताब", "fdrkc"},
      {"हिन्दी", "fgUnh"},
      {"विद्यार्थी", "fon~;kFkhZ"},
      {"प्रेम", "\xE7se"},
      {"क्षत्रिय", "{kf\xABk;"},
      {"क्या", "D;k"},
      {"राष्ट्र", "jk\"V\xAA"},
      {"कृष्ण", "\xD1\".k"},
      {"और", "vkSj"},
      {"में", "esa"},
      {"गुरु", "xq#"},
      {"गुरू", "xq:"},
  });
}

TEST(UnicodeToGlyphs, ConjunctsAndLigatures) {
  expectAll({
      {"क्र", "\xD8"},
      {"द्र", "\xE6"},
      {"प्र", "\xE7"},
      {"फ्र", "\xDD"},
      {"श्र", "J"},
      {"ज्ञ", "K"},
      {"त्र", "\xABk"},
      {"न्न", "Uu"},  // the engine types न्न as "nn": the half form and the consonant
      {"कृ", "\xD1"},
      {"रु", "#"},
      {"रू", ":"},
      {"रुं", "#a"},
      {"रूं", "jwa"},  // as the engine types "ruu^"
      {"क्ष", "{k"},
      {"क्षा", "{kk"},
      {"क्ष्म", "{e"},
      {"ज्ञा", "Kk"},
      {"त्र्य", "\xAB;"},
      {"ट्र", "V\xAA"},
      {"ड्र", "M\xAA"},
      {"ढ्र", "<\xAA"},
      {"छ्र", "N\xAA"},
      {"ग्र", "xz"},
      {"भ्र", "Hkz"},
      {"थ्र", "Fj"},  // the engine has no rakar key for th: "thr" is the half form and ra
      {"स्र", "lz"},
      {"क्र्य", "\xD8~;"},
  });
}

TEST(UnicodeToGlyphs, HalfForms) {
  expectAll({
      {"क्य", "D;"},  {"ख्य", "[;"},   {"ग्य", "X;"},      {"घ्य", "?;"},   {"च्च", "PPk"},
      {"छ्य", "N~;"}, {"ज्य", "T;"},   {"झ्य", ">~;"},     {"ट्ट", "V~V"},  {"ठ्य", "B~;"},
      {"ड्ड", "M~M"}, {"ढ्य", "<~;"},  {"ण्ड", ".M"},      {"त्त", "Rr"},   {"थ्य", "F;"},
      {"द्व", "n~o"}, {"ध्य", "/;"},   {"न्ह", "Ug"},      {"प्त", "Ir"},   {"फ्त", "Q~r"},
      {"ब्द", "Cn"},  {"भ्य", "H;"},   {"म्ब", "Ec"},      {"य्य", ";~;"},  {"ल्ल", "Yy"},
      {"व्य", "O;"},  {"श्व", "'o"},   {"ष्ट", "\"V"},     {"स्त", "Lr"},   {"ह्म", "g~e"},
      {"ळ्ह", "G~g"}, {"ज्ञ्य", "K~;"}, {"स्त्र", "L\xABk"}, {"स्थ्य", "LF;"},
  });
}

TEST(UnicodeToGlyphs, Reph) {
  expectAll({
      {"र्क", "dZ"},    {"र्का", "dkZ"},  {"र्की", "dhZ"},    {"र्को", "dksZ"}, {"र्कौ", "dkSZ"},
      {"र्कि", "fdZ"},  {"र्कु", "dZq"},   {"र्के", "dZs"},     {"र्कां", "dZka"},  // with a nasal the
                                                                             // reph stays on the
                                                                             // consonant
      {"र्किं", "fdZa"}, {"र्भ", "\x93Z"}, {"र्भा", "\x93kZ"}, {"र्क्स", "DZl"},  {"र्क्सु", "DZlq"},
      {"र्र", "jZ"},    {"र्ख", "[kZ"},   {"र्खा", "[kkZ"},   {"र्स्क", "LdZ"},  {"र्", "j~"},
      {"र् ", "j~ "},   {"र्ज़", "t+Z"},
  });
}

TEST(UnicodeToGlyphs, ShortI) {
  expectAll({
      {"कि", "fd"},
      {"स्कि", "fLd"},
      {"क्स्कि", "DfLd"},  // the sign goes in front of the last half form only
      {"द्वि", "n~fo"},
      {"घ्कि", "?fd"},  // ? is no half form the sign moves behind
      {"ज़्कि", "T+fd"},
      {"क्रि", "f\xD8"},
      {"स्क्रि", "fL\xD8"},
      {"त्रि", "f\xABk"},
      {"किं", "fda"},
      {"किँ", "fd\xA1"},
      {"क़ि", "fd+"},
      {"ि", "f"},
  });
}

TEST(UnicodeToGlyphs, SignsNuktaAndMarks) {
  expectAll({
      {"का", "dk"},   {"की", "dh"},   {"कु", "dq"},   {"कू", "dw"},    {"कृ", "\xD1"},  {"गृ", "x`"},
      {"के", "ds"},    {"कै", "dS"},    {"को", "dks"}, {"कौ", "dkS"},  {"कॉ", "dkW"},  {"कॅ", "dW"},
      {"कं", "da"},    {"कँ", "d\xA1"}, {"कः", "d%"},  {"कां", "dka"},  {"कों", "dksa"}, {"कुं", "dqa"},
      {"कूं", "dwa"},   {"क़", "d+"},    {"ज़", "t+"},   {"ड़", "M+"},    {"ढ़", "<+"},    {"फ़", "Q+"},
      {"ड़्ग", "M+~x"}, {"ज़्य", "T+;"},  {"ऩ", "u+"},   {"ख़ा", "[k+k"}, {"क्", "d~"},    {"क् ", "d~ "},
      {"ा", "k"},     {"ं", "a"},      {"्", "~"},
  });
  // NFD and the composition exclusions give the same codes as NFC.
  EXPECT_EQ(glyphs("\u0915\u093C"), glyphs("\u0958"));
  EXPECT_EQ(glyphs("\u0921\u093C\u0940"), glyphs("\u095C\u0940"));
  EXPECT_EQ(glyphs("\u0928\u093C"), glyphs("\u0929"));
}

TEST(UnicodeToGlyphs, IndependentVowels) {
  expectAll({
      {"अ", "v"},
      {"आ", "vk"},
      {"इ", "b"},
      {"ई", "\xC3"},
      {"उ", "m"},
      {"ऊ", "\xC5"},
      {"ऋ", "_"},
      {"ए", ","},
      {"ऐ", ",s"},
      {"ओ", "vks"},
      {"औ", "vkS"},
      {"ऑ", "vkW"},
      {"आं", "vka"},
      {"ऊँ", "\xC5\xA1"},
      {"अः", "v%"},
      {"ईं",
       "\xC3"
       "a"},
      {"एं", ",a"},
  });
}

TEST(UnicodeToGlyphs, PunctuationDigitsAndBreaks) {
  expectAll({
      {"नाम, पता।", "uke] irkA"},
      {"0123456789", "0123456789"},
      {"! + - ; . / ? , ( ) = { }", "! $ & ( - @ \\ ] \xBC \xBD \xBE \xBF \xC0"},
      {"‘क’", "^d*"},
      {"क\nख\r\nग\rघ", "d\n[k\r\nx\r?k"},
      {"क\tख", "d\t[k"},
      {"", ""},
  });
}

TEST(UnicodeToGlyphs, KeepsAndPlacesWhatTheFontCannotShow) {
  ConversionOptions options;
  options.maxReported = 3;
  // ङ, a Latin letter, a Devanagari digit, an emoji (one character), ॥.
  const GlyphConversion r = unicodeToGlyphs(utf16("अङ्ग\nab १\r\n😀क़॥"), options);
  EXPECT_EQ(describe(r.glyphs),
            describe(utf16("v") + u"\u0919~x\nab \u0967\r\n\U0001F600d+\u0965"));
  EXPECT_EQ(r.unconverted.count, 6u);
  ASSERT_EQ(r.unconverted.first.size(), 3u);
  const std::vector<std::pair<std::size_t, std::size_t>> places = {{1, 2}, {2, 1}, {2, 2}};
  const std::vector<char32_t> chars = {0x0919, u'a', u'b'};
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(r.unconverted.first[k].at.line, places[k].first) << k;
    EXPECT_EQ(r.unconverted.first[k].at.column, places[k].second) << k;
    EXPECT_EQ(r.unconverted.first[k].character, chars[k]) << k;
  }
  // Columns count characters of the caller's text: a surrogate pair and a
  // composed nukta letter are one each; the start position shifts the first line.
  options.maxReported = 10;
  options.start = {5, 10};
  const GlyphConversion s = unicodeToGlyphs(utf16("😀\u0958a\nb"), options);
  ASSERT_EQ(s.unconverted.first.size(), 3u);
  EXPECT_EQ(s.unconverted.first[0].at.line, 5u);
  EXPECT_EQ(s.unconverted.first[0].at.column, 10u);
  EXPECT_EQ(s.unconverted.first[0].character, 0x1F600u);
  EXPECT_EQ(s.unconverted.first[1].at.column, 12u);
  EXPECT_EQ(s.unconverted.first[2].at.line, 6u);
  EXPECT_EQ(s.unconverted.first[2].at.column, 1u);
}

TEST(UnicodeToGlyphs, UnconvertedGlyphs) {
  // Font codes and spaces pass; a character without a code is counted.
  const Unconverted u = unconvertedGlyphs(u"d\u201C|\n \u00FCk\u20AC");
  EXPECT_EQ(u.count, 3u);
  ASSERT_EQ(u.first.size(), 3u);
  EXPECT_EQ(u.first[0].character, u'|');
  EXPECT_EQ(u.first[0].at.column, 3u);
  EXPECT_EQ(u.first[1].character, 0x00FCu);
  EXPECT_EQ(u.first[1].at.line, 2u);
  EXPECT_EQ(u.first[1].at.column, 2u);
  EXPECT_EQ(u.first[2].character, 0x20ACu);
  EXPECT_EQ(unconvertedGlyphs(glyphFromCodes("ueLrs vkSj fgUnh A\xC3\xC5\xA1")).count, 0u);
}

// ---------------------------------------------------------------------------
// Round trips

std::vector<std::u16string> split(const std::u16string& text) {
  std::vector<std::u16string> words;
  std::u16string word;
  for (char16_t c : text) {
    if (c == u' ' || c == u'\n' || c == u'\r') {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(word);
  return words;
}

std::string corpus() { return test::corpusBytes(); }

// Roman text of the key alphabet, with spaces, punctuation and line breaks.
std::string randomRoman(std::mt19937& rng, std::size_t length) {
  static const std::string alphabet =
      "aaaaeeiioouuAIUOkgcjtdnpbmyrlvwshSDNTRGKfqxzMH^^^~.,-!?;:()/|*'0123456789     \n";
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::string s;
  for (std::size_t i = 0; i < length; ++i) s += alphabet[pick(rng)];
  return s;
}

// Glyph strings as the engine types them: the corpus and random Roman text.
std::vector<GlyphString> engineOutputs() {
  std::vector<GlyphString> out;
  Engine engine;
  out.push_back(engine.e2h(toCrLf(latin1(corpus()))));
  std::mt19937 rng(14);
  for (int i = 0; i < 4000; ++i) out.push_back(engine.e2h(toCrLf(latin1(randomRoman(rng, 60)))));
  return out;
}

TEST(UnicodeToGlyphsRoundTrip, EngineOutputsShowTheSameAfterARoundTrip) {
  std::size_t checked = 0;
  for (const GlyphString& g : engineOutputs()) {
    const std::u16string u = glyphsToUnicode(g);
    const GlyphConversion back = unicodeToGlyphs(u);
    EXPECT_EQ(encodeUtf8(glyphsToUnicode(back.glyphs)), encodeUtf8(u)) << describe(g);
    checked += u.size();
  }
  EXPECT_GT(checked, 100000u);
}

// Roman words typed in the keys' own spelling: one key per consonant, the
// vowel suffixes, nasals, clusters, reph clusters and punctuation.
std::string randomWord(std::mt19937& rng) {
  static const std::vector<std::string> consonants = {
      "k",  "kh", "g",  "gh", "ch", "chh", "j",  "jh",  "T",   "Th", "D",  "Dh",  "N",
      "t",  "th", "d",  "dh", "n",  "p",   "ph", "b",   "bh",  "m",  "y",  "r",   "l",
      "v",  "sh", "Sh", "s",  "h",  "Ksh", "Gy", "kr",  "gr",  "pr", "dr", "tr",  "shr",
      "br", "Tr", "Dr", "z",  "R",  "rk",  "rm", "rth", "rbh", "rn", "rj", "rkh", "rch",
      "kR", "gR", "nR", "pR", "mr", "yr",  "vr", "bhr", "jr"};
  static const std::vector<std::string> vowels = {
      "",   "a",   "aa", "i",   "ii", "I",   "ee", "u",   "uu", "U",   "e",  "ai", "o",   "au", "O",
      "a^", "aa^", "i^", "ii^", "e^", "ai^", "o^", "au^", "u^", "uu^", "aH", "I^", "ee^", "aM"};
  static const std::vector<std::string> tails = {"", "", "", "", ",", ".", "-"};
  std::uniform_int_distribution<std::size_t> c(0, consonants.size() - 1);
  std::uniform_int_distribution<std::size_t> v(0, vowels.size() - 1);
  std::uniform_int_distribution<std::size_t> t(0, tails.size() - 1);
  std::uniform_int_distribution<int> syllables(1, 4);
  std::string word;
  const int n = syllables(rng);
  for (int i = 0; i < n; ++i) {
    word += consonants[c(rng)];
    word += vowels[v(rng)];
  }
  return word + tails[t(rng)];
}

// Where the engine can type a word, the converter gives its codes back. Two
// kinds of word are compared differently:
// - the engine types क्ष both with its own key "Ksh" ({k) and as "kSh" (D"k);
//   the converter takes the key's code;
// - a reph typed right after a half form ("Nrki" gives .fdZ) sits inside a
//   cluster, which Unicode writes as a rakar and a halant (ण्र्कि); such text
//   shows the same through either code string, and only that is compared.
TEST(UnicodeToGlyphsRoundTrip, ChoosesTheEnginesCodes) {
  Engine engine;
  std::vector<std::string> typed;
  std::vector<GlyphString> words;
  for (const GlyphString& w : split(engine.e2h(toCrLf(latin1(corpus()))))) {
    words.push_back(w);
    typed.emplace_back("(corpus)");
  }
  std::mt19937 rng(9);
  for (int i = 0; i < 20000; ++i) {
    const std::string roman = randomWord(rng);
    for (const GlyphString& w : split(engine.e2h(latin1(roman)))) {
      words.push_back(w);
      typed.push_back(roman);
    }
  }
  std::size_t mismatches = 0;
  std::size_t showOnly = 0;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const GlyphString& w = words[i];
    const std::u16string u = glyphsToUnicode(w);
    const GlyphString back = unicodeToGlyphs(u).glyphs;
    if (u.find(u"\u094D\u0930\u094D") != std::u16string::npos) {
      EXPECT_EQ(encodeUtf8(glyphsToUnicode(back)), encodeUtf8(u));
      ++showOnly;
      continue;
    }
    GlyphString expected = w;
    for (std::size_t k; (k = expected.find(u"D\"k")) != GlyphString::npos;) {
      expected.replace(k, 3, u"{k");
    }
    if (back != expected && ++mismatches <= 40) {
      ADD_FAILURE() << describe(w) << " came back as " << describe(back) << " ("
                    << encodeUtf8(glyphsToUnicode(w)) << ", typed " << typed[i] << ")";
    }
  }
  EXPECT_EQ(mismatches, 0u) << "of " << words.size();
  EXPECT_GT(words.size(), 20000u);
  EXPECT_LT(showOnly * 50, words.size()) << showOnly;  // nearly every word is compared exactly
  std::printf("%zu engine words, %zu compared by what they show\n", words.size(), showOnly);
}

// Unicode made only of letters the font shows comes back unchanged.
void expectRoundTrip(const std::u16string& u) {
  const GlyphConversion g = unicodeToGlyphs(u);
  EXPECT_EQ(g.unconverted.count, 0u) << encodeUtf8(u);
  EXPECT_EQ(encodeUtf8(glyphsToUnicode(g.glyphs)), encodeUtf8(u)) << describe(g.glyphs);
}

TEST(UnicodeToGlyphsRoundTrip, HindiWords) {
  static const char* const kWords[] = {
      "नमस्ते",   "भारत",      "हिन्दी",   "हिंदी",      "किताब",   "प्रेम",    "क्या",      "और",
      "में",      "मैं",         "हैं",       "नहीं",       "गुरु",      "गुरू",     "घर",       "पानी",
      "प्यार",   "स्थान",      "ज्ञान",    "विश्वास",    "चाँद",     "दुनिया",  "राष्ट्र",    "कृष्ण",
      "धर्म",    "कर्म",       "मार्ग",    "पूर्व",       "सूर्य",     "कार्य",   "विद्यार्थी", "विद्यालय",
      "क्षत्रिय", "शिक्षा",     "परीक्षा",  "अक्षर",      "त्योहार",  "श्रम",    "श्री",      "मित्र",
      "पत्र",    "चित्र",      "राजनीति", "प्रधानमंत्री", "स्वतंत्रता", "ड्राइवर", "ट्रेन",      "क्रिकेट",
      "ऑफ़िस",   "कॉलेज",      "डॉक्टर",   "ज़िंदगी",     "ख़बर",     "फ़िल्म",   "ग़ज़ल",      "पढ़ाई",
      "सड़क",    "बढ़िया",     "लड़की",    "आँख",        "आंख",      "ऊँट",     "उठो",      "ईश्वर",
      "ऊपर",    "ऋषि",       "ऋतु",      "एक",        "ऐसा",     "ओर",     "औरत",      "अंग",
      "अंधेरा",   "इधर",       "उधर",     "दुःख",       "अतः",     "प्रातः",  "संस्कृत",     "संस्कृति",
      "हृदय",    "गृह",        "पृथ्वी",    "मृत्यु",       "नृत्य",     "द्वार",   "द्वितीय",   "उद्देश्य",
      "बुद्धि",   "शुद्ध",       "विद्वान",  "पद्म",       "सद्भाव",   "स्त्री",   "अस्त्र",     "शस्त्र",
      "वस्त्र",   "उष्ट्र",      "कुत्ता",    "बच्चा",      "पक्का",    "अच्छा",   "चिट्ठी",    "गड्ढा",
      "उल्लू",    "सम्मान",     "अन्न",     "पन्ना",      "जन्म",     "ब्रह्म",   "चिह्न",     "आह्वान",
      "रुपया",   "रूप",        "रुकना",    "ज़रूर",       "क्रूर",     "प्रश्न",   "ट्रक",      "ड्रम",
      "श्रृंखला",  "आर्द्र",      "निर्झर",   "अर्थ",       "सर्दी",    "गर्मी",   "दर्शन",     "वर्षा",
      "पर्व",    "तर्क",       "शर्त",     "मूर्ति",      "कीर्ति",   "पूर्ति",   "आर्थिक",    "धार्मिक",
      "निर्माण", "स्कूल",       "स्टेशन",    "स्नान",      "स्पष्ट",    "स्मरण",   "स्वर्ग",     "व्यक्ति",
      "व्यवहार", "ध्यान",      "ध्वनि",    "न्याय",      "म्यान",    "ल्हासा",  "इकट्ठा",    "ठंड",
      "ढोल",    "झंडा",       "छाता",    "थाली",      "फूल",      "भूख",     "शहर",      "षट्कोण",
      "हँसी",    "सिंह",       "मूँछ",      "पाँच",       "गाँव",     "बहुत",    "वह",       "यह",
      "ये",      "वे",         "क्",       "वाक्",       "जगत्",     "भगवन्",   "पश्चात्",    "अर्थात्",
      "राम।",   "राम, श्याम।"};
  std::u16string all;
  for (const char* w : kWords) {
    expectRoundTrip(utf16(w));
    all += utf16(w) + u' ';
  }
  expectRoundTrip(all);
}

// Random words of well-formed syllables: clusters of one to three consonants
// with nukta, rakar and reph, every vowel sign, the nasals and the visarga,
// independent vowels, a final halant, punctuation between words.
std::u16string randomHindi(std::mt19937& rng, int words) {
  static const std::u16string consonants = u"कखगघचछजझटठडढणतथदधनपफबभमयरलळवशषसह";
  static const std::u16string nuktaBases = u"कखगजडढफयन";
  static const std::vector<std::u16string> signs = {u"", u"", u"ा", u"ि", u"ी", u"ु",  u"ू",
                                                    u"ृ", u"े", u"ै",  u"ो", u"ौ", u"ॉ", u"ॅ"};
  static const std::vector<std::u16string> marks = {u"", u"", u"", u"ं", u"ँ", u"ः"};
  static const std::vector<std::u16string> vowels = {u"अ", u"आ", u"इ", u"ई", u"उ", u"ऊ",
                                                     u"ऋ", u"ए", u"ऐ", u"ओ", u"औ", u"ऑ"};
  static const std::vector<std::u16string> gaps = {u" ", u" ", u" ", u", ", u"। ", u"\n", u"-"};
  auto pick = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
  };
  auto chance = [&](int percent) { return static_cast<int>(pick(100)) < percent; };
  auto consonant = [&]() {
    std::u16string c(1, consonants[pick(consonants.size())]);
    if (chance(12)) {
      const char16_t b = nuktaBases[pick(nuktaBases.size())];
      c = b == u'न' ? std::u16string(1, u'\u0929') : std::u16string{b, u'\u093C'};
    }
    if (chance(3)) c = chance(50) ? u"क्ष" : u"ज्ञ";
    return c;
  };
  std::u16string text;
  for (int w = 0; w < words; ++w) {
    if (w > 0) text += gaps[pick(gaps.size())];
    const std::size_t syllables = 1 + pick(4);
    for (std::size_t s = 0; s < syllables; ++s) {
      if (chance(12)) {
        text += vowels[pick(vowels.size())] + marks[pick(marks.size())];
        continue;
      }
      if (chance(12)) text += u"र्";
      const std::size_t n = 1 + (chance(30) ? 1 + pick(2) : 0);
      for (std::size_t k = 0; k < n; ++k) {
        if (k > 0) text += u'\u094D';
        text += consonant();
      }
      if (chance(10)) text += u"्र";
      if (s + 1 == syllables && chance(5)) {
        text += u'\u094D';
        continue;
      }
      text += signs[pick(signs.size())] + marks[pick(marks.size())];
    }
  }
  return text;
}

TEST(UnicodeToGlyphsRoundTrip, RandomWellFormedSyllables) {
  std::mt19937 rng(140);
  std::size_t chars = 0;
  for (int i = 0; i < 5000; ++i) {
    const std::u16string u = randomHindi(rng, 8);
    expectRoundTrip(u);
    chars += u.size();
    if (HasFailure()) break;
  }
  EXPECT_GT(chars, 100000u);
}

}  // namespace
}  // namespace kavelin
