// SPDX-License-Identifier: GPL-3.0-or-later
// The loose key: the spellings people use meet the chart's spelling of the
// word meant, and different words stay apart; the distance ranks the nearer
// spelling first.
#include "loosekey.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kavelin::words {
namespace {

struct Pair {
  const char* typed;
  const char* spelling;
};

class LooseEqualTest : public testing::TestWithParam<Pair> {};

TEST_P(LooseEqualTest, MeetsTheSpelling) {
  EXPECT_EQ(looseKey(GetParam().typed), looseKey(GetParam().spelling));
}

INSTANTIATE_TEST_SUITE_P(
    Rules, LooseEqualTest,
    testing::Values(
        // vowel length and case
        Pair{"bharat", "bhaarat"}, Pair{"pyar", "pyaar"}, Pair{"hindi", "hindee"},
        Pair{"hindii", "hindee"}, Pair{"pura", "pooraa"}, Pair{"BHARAT", "bhaarat"},
        Pair{"tamatar", "TamaaTar"},
        // aspiration, retroflex, w/v, z/j, f/ph, sh/Sh/s, x/ks, c/k
        Pair{"dharm", "dharm"}, Pair{"darm", "dharm"}, Pair{"kushi", "khushee"},
        Pair{"patthar", "pattar"}, Pair{"wo", "vo"}, Pair{"jindagi", "zi^dagee"},
        Pair{"fal", "phal"}, Pair{"rashtra", "raaShTr"}, Pair{"shanti", "saanti"},
        Pair{"laxman", "lakShmaN"}, Pair{"kshama", "Kshamaa"}, Pair{"kampani", "ka^panee"},
        Pair{"cal", "kal"},
        // ड़ as d, the vocalic r as ri, ऋ (hr) as ri
        Pair{"ladka", "laRakaa"}, Pair{"peedit", "peeRit"}, Pair{"krishna", "kRShN"},
        Pair{"rishi", "hrShi"},
        // nasals before a consonant
        Pair{"zindagi", "zi^dagee"}, Pair{"sambandh", "sa^ba^dh"}, Pair{"aankh", "aa*kh"},
        Pair{"hain", "hai^"},
        // final and medial schwa, doubled letters, marks
        Pair{"dharma", "dharm"}, Pair{"namaste", "namaste"}, Pair{"atmghat", "aatmaghaat"},
        Pair{"acha", "achchhaa"}, Pair{"accha", "achchhaa"}, Pair{"dukh", "du:kh"},
        Pair{"ammaa", "amma"},
        // ai/e, au/o, "ey" ending a word
        Pair{"he", "hai"}, Pair{"or", "aur"}, Pair{"karey", "kare"}));

class LooseApartTest : public testing::TestWithParam<Pair> {};

TEST_P(LooseApartTest, KeepsWordsApart) {
  EXPECT_NE(looseKey(GetParam().typed), looseKey(GetParam().spelling));
}

INSTANTIATE_TEST_SUITE_P(Rules, LooseApartTest,
                         testing::Values(Pair{"din", "dil"}, Pair{"hindi", "hindu"},
                                         Pair{"mera", "meri"}, Pair{"kaam", "kaan"},
                                         Pair{"tum", "tam"}, Pair{"hai", "hai^"},
                                         Pair{"ghar", "gharee"}, Pair{"kal", "khel"},
                                         Pair{"kam", "kan"}, Pair{"hriday", "riday"}));

TEST(LooseKey, ReadsAnyText) {
  EXPECT_EQ(looseKey(""), "");
  EXPECT_EQ(looseKey("123 !?"), "");
  EXPECT_EQ(looseKey("a"), "a");  // a lone a stays
  EXPECT_EQ(looseKey("naam, pataa"), looseKey("nam pata"));
  const std::string longText(500, 'k');
  EXPECT_EQ(looseKey(longText), "k");
  EXPECT_EQ(looseKey("\xE0\xA4\x95"), "");  // Devanagari is skipped
}

TEST(LooseKey, OptionsTurnRulesOff) {
  LooseOptions keepFinalA;
  keepFinalA.dropFinalA = false;
  EXPECT_NE(looseKey("dharma", keepFinalA), looseKey("dharm", keepFinalA));
  LooseOptions rAsR;
  rAsR.hardRAsD = false;
  EXPECT_EQ(looseKey("larka", rAsR), looseKey("laRakaa", rAsR));
  LooseOptions keepAi;
  keepAi.mergeAiE = false;
  EXPECT_NE(looseKey("he", keepAi), looseKey("hai", keepAi));
}

struct Ranked {
  const char* typed;
  const char* nearer;
  const char* farther;
};

class LooseDistanceTest : public testing::TestWithParam<Ranked> {};

TEST_P(LooseDistanceTest, NearerSpellingScoresLess) {
  const Ranked& c = GetParam();
  EXPECT_LT(looseDistance(c.typed, c.nearer), looseDistance(c.typed, c.farther))
      << c.nearer << " / " << c.farther;
}

INSTANTIATE_TEST_SUITE_P(
    Ranking, LooseDistanceTest,
    testing::Values(Ranked{"sab", "sab", "sabhaa"}, Ranked{"sabha", "sabhaa", "sab"},
                    Ranked{"bharat", "bhaarat", "bhaaratee"},
                    Ranked{"tamatar", "TamaaTar", "tamaashaa"},
                    Ranked{"dharma", "dharm", "dhaaraa"}, Ranked{"kam", "kam", "kaam"},
                    Ranked{"kaam", "kaam", "kam"}, Ranked{"tha", "thaa", "taa"},
                    Ranked{"ta", "taa", "thaa"}, Ranked{"mai", "mai^", "maa"},
                    // m before b or p is the anusvara's sound, as n is.
                    Ranked{"ambar", "a^bar", "anabar"}, Ranked{"champa", "cha^paa", "chapaa"},
                    Ranked{"sant", "sa^t", "samt"},
                    // A glide y and a final nasal are seldom typed as written.
                    Ranked{"liye", "lie", "lio"}, Ranked{"nahi", "nahee^", "nahaa"},
                    Ranked{"isme", "isame^", "isama"}));

TEST(LooseDistance, ExactIsZeroAndLooseIsCheaperThanOther) {
  EXPECT_EQ(looseDistance("bhaarat", "bhaarat"), 0);
  EXPECT_EQ(looseDistance("", ""), 0);
  EXPECT_EQ(looseDistance("T", "t"), 1);   // case alone
  EXPECT_EQ(looseDistance("k", "p"), 10);  // another letter
  EXPECT_EQ(looseDistance("", "k"), 10);
  EXPECT_LT(looseDistance("t", "th"), looseDistance("t", "p"));
  EXPECT_LT(looseDistance("kaa", "ka"), looseDistance("ke", "ka"));
  // The vowel ऋ typed as r and i is one sound, alone or as a sign.
  EXPECT_EQ(looseDistance("ri", "hR"), 0);
  EXPECT_EQ(looseDistance("rishi", "hRshi"), 0);
  EXPECT_EQ(looseDistance("krishna", "kRshna"), 0);
  EXPECT_GT(looseDistance("rishi", "hRShi"), 0);  // ष for sh is still loose
  EXPECT_GT(looseDistance("ti", "hR"), 0);
}

TEST(TypedReadings, ReadTheLettersOtherWays) {
  struct Case {
    const char* typed;
    std::vector<std::string> readings;  // in order, after the word as typed
  } cases[] = {
      {"bharat", {"b'harat"}},
      {"hai", {"hai^", "ha'i"}},
      {"hain", {"hai", "ha'in"}},
      {"gai", {"gai^", "ga'i"}},              // गई
      {"bhai", {"bhai^", "bha'i", "b'hai"}},  // भाई
      {"aisa", {"aisa^"}},                    // ai that starts a word stays ऐ
      {"liye", {"liye^", "li'e", "liy"}},     // लिए, and -ye as य
      {"rashtriye", {"rashtriye^", "rashtri'e", "rashtriy"}},
      {"kyun", {"kyu", "kyon"}},
      {"kyunki", {"kyunki^", "kyonki"}},
      {"kyu", {"kyu^", "kyon"}},  // क्यों, its nasal left out
      {"kyuki", {"kyuki^", "kyonki"}},
      {"yug", {}},          // युग: yu before another consonant stays
      {"bhut", {"b'hut"}},  // बहुत
      {"phle", {"phle^", "p'hle"}},
      {"chhat", {}},  // chh is one sound
      {"under", {"ander"}},
      {"krupa", {"krupa^", "kripa"}},                                // कृपा
      {"jaishankar", {"ja'ishankar", "jaikshankar", "jayshankar"}},  // जयशंकर
      {"ice", {"ice^", "aaice"}},
      {"shetra", {"shetra^", "kshetra"}},         // क्षेत्र
      {"parisha", {"parisha^", "pariksha"}},      // परीक्षा
      {"chunao", {"chunao^", "chunaav"}},         // चुनाव
      {"gaon", {"gao", "gaa^v"}},                 // गांव
      {"tippanion", {"tippanio", "tippaniyon"}},  // टिप्पणियों
      {"", {}},
  };
  for (const Case& c : cases) {
    const std::vector<Reading> got = typedReadings(c.typed);
    std::vector<std::string> letters;
    for (const Reading& r : got) {
      if (!r.english) letters.push_back(r.letters);
    }
    if (*c.typed == '\0') {
      EXPECT_TRUE(got.empty());
      continue;
    }
    ASSERT_FALSE(got.empty()) << c.typed;
    EXPECT_EQ(letters.front(), c.typed);
    EXPECT_TRUE(got.front().asTyped);
    letters.erase(letters.begin());
    EXPECT_EQ(letters, c.readings) << c.typed;
  }
}

// Loanwords written the English way: the reading by spelling rules, and the
// one that also gives the vowels English spelling hides.
TEST(TypedReadings, ReadEnglishSpelling) {
  struct Case {
    const char* typed;
    const char* plain;   // nullptr: no such reading
    const char* vowels;  // nullptr: the same as plain
  } cases[] = {
      {"cake", "kek", nullptr},  // silent e lengthens the vowel
      {"time", "taaim", nullptr},
      {"tube", "tyub", nullptr},
      {"image", "imej", "aaimej"},  // a soft g before the silent e
      {"race", "res", nullptr},     // a soft c
      {"city", "siti", nullptr},    // a final y after a consonant
      {"dry", "draai", nullptr},    // ... alone in its word
      {"nation", "neshan", nullptr},
      {"picture", "pikchar", nullptr},
      {"judge", "juj", "jaj"},
      {"coal", "kol", nullptr},
      {"download", "daunlod", nullptr},
      {"tuner", "tunar", "tyunar"},           // a final er; u before one consonant and a vowel
      {"computer", "komputar", "kampyutar"},  // com before a consonant
      {"union", "uniyan", "yuniyan"},
      {"college", "kollej", nullptr},        // -ege as -ej
      {"match", "mach", "maich"},            // tch
      {"ball", "bol", nullptr},              // -all
      {"news", "nyuz", nullptr},             // -ews
      {"television", "televizan", nullptr},  // sion after a vowel
      {"mansion", "manshan", "mainshan"},    // ... and after a consonant
      {"radio", "radiyo", "rediyo"},         // a before one consonant and a vowel; -io
      {"system", "systam", "sistam"},        // y between consonants; -em
      {"music", "musik", "myuzik"},          // s between vowels
      {"hockey", "hoki", nullptr},           // -ey
      {"centre", "sentar", nullptr},         // -tre
      {"more", "mor", nullptr},              // a three-letter ending after one letter
      {"chair", "cheyar", nullptr},          // -air
      {"icon", "ikan", nullptr},             // -con and -son
      {"person", "parsan", nullptr},
      {"issue", "issu", nullptr},        // -ue
      {"model", "modal", nullptr},       // -el
      {"million", "milliyan", nullptr},  // -ion
      {"agent", nullptr, "ejent"},       // an initial a before a consonant
      {"parliament", "parliyament", nullptr},
      {"social", "soshal", nullptr},
      {"prince", "prins", nullptr},  // a silent e after two consonants
      {"album", "albam", "elbam"},
      {"school", "skool", nullptr},
      {"uncle", "unkl", "ankl"},     // an initial u before two consonants
      {"idea", "idiya", "aaidiya"},  // an initial i before a consonant and a vowel
      {"accountant", "akkauntent", "ekkauntent"},
      {"distance", "distens", nullptr},
      {"engineer", "enginiyar", "enjiniyar"},
      {"empire", "empaayar", nullptr},
      {"office", "offis", nullptr},  // -ice after another vowel is short
      {"nice", "naais", nullptr},    // ... and long alone
      {"general", "jeneral", "jenerail"},
      {"type", "taaip", nullptr},
      {"bus", nullptr, "bas"},  // u in a closed syllable
      {"bank", nullptr, "baink"},
      {"timing", nullptr, "taaiming"},
      {"university", "univarsiti", "yunivarsiti"},  // i after the first syllable stays short
      {"Tamaatar", nullptr, nullptr},               // the chart's capitals: no English reading
      {"ko", nullptr, nullptr},                     // too short
  };
  for (const Case& c : cases) {
    std::vector<std::string> english;
    for (const Reading& r : typedReadings(c.typed)) {
      if (r.english) english.push_back(r.letters);
    }
    std::vector<std::string> want;
    if (c.plain) want.emplace_back(c.plain);
    if (c.vowels) want.emplace_back(c.vowels);
    EXPECT_EQ(english, want) << c.typed;
  }
}

}  // namespace
}  // namespace kavelin::words
