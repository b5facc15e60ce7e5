// SPDX-License-Identifier: GPL-3.0-or-later
// Composition: what convrt makes of the token buffer for one key.
#include <gtest/gtest.h>

#include "test_util.h"

namespace kavelin {
namespace {

using test::codes;
using test::u;

struct Composed {
  std::string txtH;
  std::string txtHM;
  std::u16string txtE;
};

// Runs one convrt call with `buffer` in txtE and `mirror` in txtHM.
// The glyph string GetHindi hands over for a one-character key.
GlyphString engineGlyph(const std::string& key) {
  if (KeyTable::isPassThrough(static_cast<char16_t>(key[0]))) return u(key);
  return KeyTable::instance().punctuationFor(static_cast<char16_t>(key[0]))->glyph;
}

Composed compose(const std::string& eng, const std::string& hin, const std::string& buffer,
                 const std::string& mirror = "", const std::string& token = "") {
  Engine engine;
  engine.setTxtHM(glyphFromCodes(mirror));
  engine.setTxtH(glyphFromCodes(token));
  test::loadTokenBuffer(engine, u(buffer));
  engine.convrt(u(eng), glyphFromCodes(hin));
  return {codes(engine.txtH()), codes(engine.txtHM()), engine.txtE()};
}

// --- The key alone --------------------------------------------------------

struct AloneCase {
  const char* eng;
  const char* hin;
  const char* txtH;
};

class KeyAlone : public testing::TestWithParam<AloneCase> {};

TEST_P(KeyAlone, StartsTheToken) {
  const AloneCase& c = GetParam();
  const Composed r = compose(c.eng, c.hin, c.eng);
  EXPECT_EQ(r.txtH, c.txtH) << c.eng;
  EXPECT_EQ(r.txtHM, "");
  EXPECT_EQ(r.txtE, u(c.eng));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyAlone,
    testing::Values(
        // Independent vowels: the glyph string itself.
        AloneCase{"e", ",", ","}, AloneCase{"a", "v", "v"}, AloneCase{"i", "b", "b"},
        AloneCase{"o", "vks", "vks"}, AloneCase{"u", "m", "m"}, AloneCase{"A", "vk", "vk"},
        AloneCase{"U", "\xC5", "\xC5"}, AloneCase{"I", "\xC3", "\xC3"},
        // No half form: the halant follows.
        AloneCase{"d", "n", "n~"}, AloneCase{"h", "g", "g~"}, AloneCase{"D", "M", "M~"},
        AloneCase{"Th", "B", "B~"}, AloneCase{"T", "V", "V~"},
        // Full form is half form + stem: the last code goes.
        AloneCase{"Sh", "\"k", "\""}, AloneCase{"sh", "'k", "'"}, AloneCase{"N", ".k", "."},
        AloneCase{"kh", "[k", "["}, AloneCase{"gh", "?k", "?"}, AloneCase{"dh", "/k", "/"},
        AloneCase{"bh", "Hk", "H"}, AloneCase{"ch", "Pk", "P"}, AloneCase{"tr", "\xABk", "\xAB"},
        AloneCase{"Ksh", "{k", "{"}, AloneCase{"th", "Fk", "F"},
        // "r", the reph clusters and the rakar and vocalic r keys: unchanged.
        AloneCase{"r", "j", "j"}, AloneCase{"rk", "dZ", "dZ"}, AloneCase{"rx", "DZl", "DZl"},
        AloneCase{"rchh", "NZ", "NZ"}, AloneCase{"rbh", "\x93Z", "\x93Z"},
        AloneCase{"dr", "\xE6", "\xE6"}, AloneCase{"pr", "\xE7", "\xE7"},
        AloneCase{"kr", "\xD8", "\xD8"}, AloneCase{"nR", "u`", "u`"}, AloneCase{"pR", "i`", "i`"},
        AloneCase{"mr", "ez", "ez"}, AloneCase{"Tr", "V\xAA", "V\xAA"}, AloneCase{"hr", "_", "_"},
        AloneCase{"chhr", "N\xAA", "N\xAA"}, AloneCase{"khr", "[kz", "[kz"},
        // Everything else: the upper-case form ...
        AloneCase{"k", "d", "D"}, AloneCase{"n", "u", "U"}, AloneCase{"x", "Dl", "DL"},
        AloneCase{"z", "t+", "T+"}, AloneCase{"quit", "fDoV", "FDOV"},
        // ... or, where that changes nothing, the halant.
        AloneCase{"R", "M+", "M+~"}, AloneCase{"y", ";", ";~"}, AloneCase{"ph", "Q", "Q~"},
        AloneCase{"f", "Q", "Q~"}, AloneCase{"jh", ">", ">~"}, AloneCase{"Dh", "<", "<~"},
        AloneCase{"chh", "N", "N~"}, AloneCase{"Gy", "K", "K~"},
        AloneCase{"oM", "\xC5\xA1", "\xC5\xA1"},
        // Punctuation, digits and the space keep the upper-case form.
        AloneCase{"7", "7", "7"}, AloneCase{"\\", "k~", "K~"}, AloneCase{"/", "@", "@"},
        AloneCase{" ", " ", " "},
        // Latin-1 small letters move 32 down, except the division sign; 0xFF stays.
        AloneCase{"k", "\xE0\xF7\xFE\xFF", "\xC0\xF7\xDE\xFF"}));

// --- A suffix follows the key ---------------------------------------------

struct SuffixCase {
  const char* suffix;
  const char* plain;  // for "k" / "d"
  const char* reph;   // for "rk" / "dZ"
};

class Suffix : public testing::TestWithParam<SuffixCase> {};

TEST_P(Suffix, ExtendsTheToken) {
  const SuffixCase& c = GetParam();
  EXPECT_EQ(compose("k", "d", std::string("k") + c.suffix).txtH, c.plain) << "k" << c.suffix;
  EXPECT_EQ(compose("rk", "dZ", std::string("rk") + c.suffix).txtH, c.reph) << "rk" << c.suffix;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Suffix,
    testing::Values(SuffixCase{"a^", "da", "dZa"}, SuffixCase{"a", "d", "dZ"},
                    SuffixCase{"aa", "dk", "dkZ"}, SuffixCase{"A^", "dka", "dZka"},
                    SuffixCase{"A", "dk", "dkZ"}, SuffixCase{"i", "fd", "fdZ"},
                    SuffixCase{"ee^", "dha", "dZha"}, SuffixCase{"ee", "dh", "dhZ"},
                    SuffixCase{"I^", "dha", "dZha"}, SuffixCase{"I", "dh", "dhZ"},
                    SuffixCase{"ii", "dh", "dhZ"}, SuffixCase{"ea^", "dha", "dZha"},
                    SuffixCase{"ea", "dh", "dhZ"}, SuffixCase{"u^", "dqa", "dZqa"},
                    SuffixCase{"uu^", "dwa", "dZwa"}, SuffixCase{"uu", "dw", "dZw"},
                    SuffixCase{"o^", "dksa", "dZksa"}, SuffixCase{"ii^", "dha", "dZha"},
                    SuffixCase{"u", "dq", "dZq"}, SuffixCase{"oo^", "dwa", "dZwa"},
                    SuffixCase{"oo", "dw", "dZw"}, SuffixCase{"U^", "dwa", "dZwa"},
                    SuffixCase{"U", "dw", "dZw"}, SuffixCase{"e^", "dsa", "dZsa"},
                    SuffixCase{"e", "ds", "dZs"}, SuffixCase{"ai^", "dSa", "dZSa"},
                    SuffixCase{"ai", "dS", "dZS"}, SuffixCase{"o", "dks", "dksZ"},
                    SuffixCase{"au^", "dkSa", "dZkSa"}, SuffixCase{"au", "dkS", "dkSZ"},
                    SuffixCase{"aM", "da", "dZa"}, SuffixCase{"^", "da", "dZa"},
                    SuffixCase{"aa^", "dka", "dZka"}, SuffixCase{"aH", "d%", "dZ%"},
                    SuffixCase{"O^", "dkWa", "dZkWa"}, SuffixCase{"O", "dkW", "dZkW"}));

TEST(Suffix, RKeyHasItsOwnUSigns) {
  struct Case {
    const char* buffer;
    const char* txtH;
  } cases[] = {{"ru", "#"},  {"ru^", "#a"}, {"roo", ":"},    {"rU", ":"},
               {"ruu", ":"}, {"raa", "jk"}, {"ruu^", "jwa"}, {"ro^", "jksa"}};
  for (const auto& c : cases) EXPECT_EQ(compose("r", "j", c.buffer).txtH, c.txtH) << c.buffer;
  EXPECT_EQ(compose("rk", "dZ", "rko").txtH, "dksZ");
}

TEST(Suffix, INasalAddsTheAnusvaraToTheShortISyllable) {
  // The token holds what "i" composed one character earlier.
  EXPECT_EQ(compose("k", "d", "ki^", "", "fd").txtH, "fda");
  EXPECT_EQ(compose("k", "d", "ki^", "", "fLd").txtH, "fLda");
  EXPECT_EQ(compose("kR", "\xD1", "kRi^", "", "\xD1").txtH,
            "\xD1"
            "a");
}

// Independent vowels take the space, "^" and their own suffixes.
TEST(Suffix, IndependentVowels) {
  struct Case {
    const char* eng;
    const char* hin;
    const char* buffer;
    const char* txtH;
  } cases[] = {
      {"a", "v", "aa", "vk"},
      {"a", "v", "ai", ",s"},
      {"a", "v", "au", "vkS"},
      {"a", "v", "aa^", "vka"},
      {"a", "v", "ai^", ",sa"},
      {"a", "v", "au^", "vkSa"},
      {"a", "v", "aM", "va"},
      {"a", "v", "aH", "v%"},
      {"a", "v", "a^", "va"},
      {"e", ",", "ee", "\xC3"},
      {"e", ",", "ee^",
       "\xC3"
       "a"},
      {"e", ",", "e^", ",a"},
      {"o", "vks", "oo", "\xC5"},
      {"o", "vks", "oo^",
       "\xC5"
       "a"},
      {"i", "b", "ii", "\xC3"},
      {"i", "b", "ii^",
       "\xC3"
       "a"},
      {"u", "m", "uu", "\xC5"},
      {"u", "m", "uu^",
       "\xC5"
       "a"},
      {"A", "vk", "A^", "vka"},
      {"U", "\xC5", "U^",
       "\xC5"
       "a"},
      {"I", "\xC3", "I^",
       "\xC3"
       "a"},
  };
  for (const auto& c : cases) {
    const Composed r = compose(c.eng, c.hin, c.buffer, "L");
    EXPECT_EQ(r.txtH, c.txtH) << c.buffer;
    EXPECT_EQ(r.txtHM, "L") << c.buffer;  // "ai" takes no half form back
  }
}

TEST(Suffix, AnyOtherSuffixEndsAVowelToken) {
  struct Case {
    const char* eng;
    const char* hin;
    const char* buffer;
  } cases[] = {{"a", "v", "aaa"},  {"a", "v", "aee"}, {"a", "v", "aI"},    {"a", "v", "aau"},
               {"e", ",", "ea"},   {"e", ",", "eee"}, {"o", "vks", "ooo"}, {"i", "b", "ie"},
               {"u", "m", "ua"},   {"A", "vk", "AA"}, {"A", "vk", "Ai"},   {"I", "\xC3", "Ii"},
               {"U", "\xC5", "Ua"}};
  for (const auto& c : cases) {
    const std::string b = c.buffer;
    const Composed r = compose(c.eng, c.hin, b, "x", "T");
    EXPECT_EQ(r.txtHM, "xT") << b;  // the token as composed so far
    EXPECT_EQ(r.txtE, u(b.substr(b.size() - 1))) << b;
  }
}

// --- Short i ----------------------------------------------------------------

TEST(ShortI, MovesTheSignBeforeACommittedHalfForm) {
  for (char half : std::string("CDEFHILOPRTUXY['{\"")) {
    const Composed r = compose("k", "d", "ki", std::string("ab") + half);
    EXPECT_EQ(r.txtH, std::string("f") + half + "d") << half;
    EXPECT_EQ(r.txtHM, "ab") << half;
  }
}

TEST(ShortI, OtherEndingsStayInTheMirror) {
  for (const char* mirror :
       {"", " ", "\n", "d", "A", "B", "G", "J", "K", "M", "N", "Q", "S", "V", "W", "Z", "~", "k"}) {
    const Composed r = compose("k", "d", "ki", mirror);
    EXPECT_EQ(r.txtH, "fd") << mirror;
    EXPECT_EQ(r.txtHM, mirror);
  }
}

TEST(ShortI, VocalicRKeysAbsorbTheI) {
  // Unchanged token, unless a half form precedes it.
  EXPECT_EQ(compose("kR", "\xD1", "kRi", "x", "\xD1").txtH, "\xD1");
  EXPECT_EQ(compose("tR", "r`", "tRi", "", "r`").txtH, "r`");
  EXPECT_EQ(compose("kR", "\xD1", "kRi", "L", "\xD1").txtH, "fL\xD1");
  // "R" alone is a consonant and takes the sign.
  EXPECT_EQ(compose("R", "M+", "Ri", "x", "M+~").txtH, "fM+");
  EXPECT_EQ(compose("R", "M+", "Ri", "L", "M+~").txtH, "fLM+");
}

TEST(ShortI, PunctuationAndDigitsTakeNoSign) {
  for (const char* key : {"/", "5", "!", "-"}) {
    const std::string k = key;
    const std::string hin = codes(engineGlyph(k));
    const Composed r = compose(k, hin, k + "i", "L", hin);
    EXPECT_EQ(r.txtHM, "L" + hin) << k;  // committed whole; "L" stays
    EXPECT_EQ(r.txtH, "b") << k;         // "i" starts a token of its own
  }
}

TEST(ShortI, VowelAGivesAi) {
  const Composed r = compose("a", "v", "ai", "L");
  EXPECT_EQ(r.txtH, ",s");
  EXPECT_EQ(r.txtHM, "L");
}

// --- Commit -----------------------------------------------------------------

TEST(Commit, SpaceCommitsTheFullFormAndEmptiesTheBuffer) {
  struct Case {
    const char* eng;
    const char* hin;
    const char* mirror;
    const char* txtHM;
  } cases[] = {{"k", "d", "", "d "},    {"kh", "[k", "x ", "x [k "}, {"d", "n", "", "n "},
               {"rk", "dZ", "", "dZ "}, {" ", " ", "d ", "d   "},    {"5", "5", "", "5 "}};
  for (const auto& c : cases) {
    const Composed r = compose(c.eng, c.hin, std::string(c.eng) + " ", c.mirror);
    EXPECT_EQ(r.txtHM, c.txtHM) << c.eng;
    EXPECT_EQ(r.txtH, "");
    EXPECT_EQ(r.txtE, u"");
  }
}

// --- Fallback ---------------------------------------------------------------

TEST(Fallback, CommitsTheTokenAndRestartsWithTheLastCharacter) {
  // "k" composed as "D", then "g": "D" is committed and "g" starts anew.
  const Composed r = compose("k", "d", "kg", "x", "D");
  EXPECT_EQ(r.txtHM, "xD");
  EXPECT_EQ(r.txtE, u"g");
  EXPECT_EQ(r.txtH, "X");  // the restarted key alone
}

// A key followed by one character that is neither a letter nor a space ends
// a word: its full form is committed, not the half form composed so far.
TEST(Fallback, WordEndCommitsTheFullForm) {
  struct Case {
    const char* eng;
    const char* hin;
    const char* buffer;
    const char* token;
    const char* txtHM;
    const char16_t* txtE;
  } cases[] = {
      {"m", "e", "m,", "E", "xe", u","},
      {"kh", "[k", "kh.", "[", "x[k", u"."},
      {"k", "d", "k5", "D", "xd", u"5"},
      {"d", "n", "d-", "n~", "xn", u"-"},
      {"k", "d", "k\xE9", "D", "xd", u""},
      {"rk", "dZ", "rk)", "dZ", "xdZ", u")"},
      {"ph", "Q", "ph~", "Q~", "xQ", u""},
      {"R", "M+", "R!", "M+~", "xM+", u"!"},
      // A letter, or more than one character after the key, keeps the token.
      {"k", "d", "kg", "D", "xD", u"g"},
      {"k", "d", "ki,", "fLd", "xfLd", u","},
      {"kh", "[k", "khT", "[", "x[", u"T"},
      // Punctuation and digits commit their full form whatever follows.
      {"/", "@", "/a", "@", "x@", u"a"},
      {"5", "5", "5a", "5", "x5", u"a"},
      {"\\", "k~", "\\k", "K~", "xk~", u"k"},
      {"5", "5", "5^", "5", "x5", u""},
  };
  for (const auto& c : cases) {
    const Composed r = compose(c.eng, c.hin, c.buffer, "x", c.token);
    EXPECT_EQ(r.txtHM, c.txtHM) << c.buffer;
    EXPECT_EQ(r.txtE, c.txtE) << c.buffer;
  }
}

TEST(Fallback, WithASpaceCommitsTheTokenAndASpace) {
  const Composed r = compose("k", "d", "kI ", "x", "dh");
  EXPECT_EQ(r.txtHM, "xdh ");
  EXPECT_EQ(r.txtE, u"");
  EXPECT_EQ(r.txtH, "");
}

TEST(Fallback, LoneSpaceTokenTakesNoSuffix) {
  // A space token followed by anything but a second space is committed.
  struct Case {
    const char* next;
    const char16_t* txtE;  // the restarted buffer
  } cases[] = {{"a", u"a"}, {"i", u"i"}, {"u", u"u"}, {"k", u"k"}, {"^", u""}};
  for (const auto& c : cases) {
    const Composed r = compose(" ", " ", std::string(" ") + c.next, "d ", " ");
    EXPECT_EQ(r.txtHM, "d  ") << c.next;
    EXPECT_EQ(r.txtE, c.txtE) << c.next;
  }
  EXPECT_EQ(compose(" ", " ", "  ", "d ").txtHM, "d   ");
}

TEST(ChkRFlag, ExactlyTheThirtyNineClusters) {
  const char* clusters[] = {"rc",  "rb",  "rd",  "rf",  "rg",  "rh",  "rj",  "rk",  "rl",  "rm",
                            "rn",  "rp",  "rq",  "rr",  "rs",  "rt",  "rv",  "rw",  "ry",  "rz",
                            "rT",  "rN",  "rx",  "rD",  "rS",  "rbh", "rch", "rdh", "rDh", "rgh",
                            "rjh", "rkh", "rph", "rsh", "rSh", "rth", "rTh", "rzh", "rchh"};
  for (const char* key : clusters) EXPECT_EQ(Engine::chkRFlag(u(key)), -1) << key;
  for (const char* key : {"", "r", "R", "rR", "k", "kr", "rchhr", "rC", "Rk", "rkh ", "rZ"}) {
    EXPECT_EQ(Engine::chkRFlag(u(key)), 0) << key;
  }
  // Each cluster is a key of the table whose glyph string carries the reph.
  for (const char* key : clusters) {
    bool found = false;
    for (const KeyRow& row : KeyTable::instance().rows()) {
      if (row.key != u(key)) continue;
      found = true;
      EXPECT_EQ(row.group, 21);
      const std::string g = codes(row.glyph);
      if (std::string(key) == "rx") {
        EXPECT_EQ(g, "DZl");
      } else {
        EXPECT_EQ(g.back(), 'Z') << key;
      }
    }
    EXPECT_TRUE(found) << key;
  }
}

}  // namespace
}  // namespace kavelin
