// SPDX-License-Identifier: GPL-3.0-or-later
// Roman text through the transliterator and on to Unicode, as a user types it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "corpus.h"
#include "engine.h"
#include "text.h"
#include "unicode.h"

namespace kavelin {
namespace {

struct Word {
  std::string_view roman;
  std::string_view hindi;  // UTF-8
};

// Roman -> glyph string -> Unicode, without the space the end of text adds.
std::string hindi(std::string_view roman) {
  Engine engine;
  std::u16string text = glyphsToUnicode(engine.e2h(toCrLf(latin1(roman))));
  while (!text.empty() && text.back() == u' ') text.pop_back();
  return encodeUtf8(text);
}

void expectAll(const std::vector<Word>& words) {
  for (const Word& w : words) EXPECT_EQ(hindi(w.roman), w.hindi) << "typed: " << w.roman;
}

TEST(UnicodeWords, Common) {
  expectAll({
      {"namaste", "नमस्ते"},
      {"bhaarat", "भारत"},
      {"hindii", "हिन्दी"},
      {"hindI", "हिन्दी"},
      {"kitaab", "किताब"},
      {"prem", "प्रेम"},
      {"kyaa", "क्या"},
      {"aur", "और"},
      {"me^", "में"},
      {"mai^", "मैं"},
      {"hai^", "हैं"},
      {"nahI^", "नहीं"},
      {"guru", "गुरु"},
      {"gurU", "गुरू"},
      {"ki", "कि"},
      {"kI", "की"},
      {"ghar", "घर"},
      {"paanI", "पानी"},
      {"pyaar", "प्यार"},
      {"sthaan", "स्थान"},
      {"Gyaan", "ज्ञान"},
      {"vishvaas", "विश्वास"},
      {"chaa^d", "चांद"},
      {"duniyaa", "दुनिया"},
      {"sa^saar", "संसार"},
      {"bahut", "बहुत"},
      {"achchhaa", "अच्छा"},
      {"samay", "समय"},
      {"aakaash", "आकाश"},
      {"vaayu", "वायु"},
      {"aatmaa", "आत्मा"},
      {"mahaatmaa", "महात्मा"},
      {"gaa^dhii", "गांधी"},
      {"dhanyavaad", "धन्यवाद"},
      {"aavashyak", "आवश्यक"},
      {"adhyaapak", "अध्यापक"},
      {"pustak", "पुस्तक"},
      {"sundar", "सुन्दर"},
      {"shubh", "शुभ"},
      {"jyotiSh", "ज्योतिष"},
      {"kalpanaa", "कल्पना"},
      {"parivaar", "परिवार"},
      {"shriimatii", "श्रीमती"},
      {"vaidik", "वैदिक"},
      {"Urjaa", "ऊर्जा"},
  });
}

TEST(UnicodeWords, Conjuncts) {
  expectAll({
      {"kRShN", "कृष्ण"},
      {"rAShTr", "राष्ट्र"},
      {"raaShTr", "राष्ट्र"},
      {"kShatriy", "क्षत्रिय"},
      {"shikShaa", "शिक्षा"},
      {"kShamaa", "क्षमा"},
      {"kShetra", "क्षेत्र"},
      {"kRpayaa", "कृपया"},
      {"prakRti", "प्रकृति"},
      {"svatantrataa", "स्वतन्त्रता"},
      {"mitra", "मित्र"},
      {"patra", "पत्र"},
      {"chhaatr", "छात्र"},
      {"strii", "स्त्री"},
      {"shrii", "श्री"},
      {"samudra", "समुद्र"},
      {"prashn", "प्रश्न"},
      {"vidyaalay", "विद्यालय"},
      {"dvaar", "द्वार"},
      {"shraddhaa", "श्रद्धा"},
      {"yuddh", "युद्ध"},
      {"vRddh", "वृद्ध"},
      {"uddeshy", "उद्देश्य"},
      {"padm", "पद्म"},
      {"bhraShTaachaar", "भ्रष्टाचार"},
      {"pRthvii", "पृथ्वी"},
      {"mRtyu", "मृत्यु"},
      {"nRty", "नृत्य"},
      {"gRh", "गृह"},
      {"vRkSh", "वृक्ष"},
      {"kRShak", "कृषक"},
      {"rAShTriiy", "राष्ट्रीय"},
      {"kendriiy", "केन्द्रीय"},
      {"sa^skRti", "संस्कृति"},
  });
}

TEST(UnicodeWords, ShortI) {
  expectAll({
      {"vidyaarthii", "विद्यार्थी"},
      {"sthiti", "स्थिति"},
      {"paristhiti", "परिस्थिति"},
      {"vyakti", "व्यक्ति"},
      {"shakti", "शक्ति"},
      {"bhakti", "भक्ति"},
      {"astitv", "अस्तित्व"},
      {"sRShTi", "सृष्टि"},
      {"striyaa^", "स्त्रियां"},
      {"mantrimaNDal", "मन्त्रिमण्डल"},
      {"indriy", "इन्द्रिय"},
      {"chandrikaa", "चन्द्रिका"},
      {"buddhi", "बुद्धि"},
      {"agni", "अग्नि"},
      {"chitra", "चित्र"},
      {"trikoN", "त्रिकोण"},
      {"saahitya", "साहित्य"},
      {"vishva", "विश्व"},
      {"din", "दिन"},
      {"hrShi", "ऋषि"},
      {"sabziyaa^", "सब्ज़ियां"},
      {"zindagii", "ज़िन्दगी"},
  });
}

TEST(UnicodeWords, Reph) {
  expectAll({
      {"dharm", "धर्म"},
      {"dharma", "धर्म"},
      {"karm", "कर्म"},
      {"kartavya", "कर्तव्य"},
      {"kaary", "कार्य"},
      {"kaaryakram", "कार्यक्रम"},
      {"sarv", "सर्व"},
      {"darshan", "दर्शन"},
      {"varSh", "वर्ष"},
      {"shart", "शर्त"},
      {"arth", "अर्थ"},
      {"pUrN", "पूर्ण"},
      {"nirmaaN", "निर्माण"},
      {"nirNay", "निर्णय"},
      {"paarTii", "पार्टी"},
      {"sharmaa", "शर्मा"},
      {"durgaa", "दुर्गा"},
      {"maarg", "मार्ग"},
      {"sUrya", "सूर्य"},
      {"dhairya", "धैर्य"},
      {"aashcharya", "आश्चर्य"},
      {"shaurya", "शौर्य"},
      {"garmii", "गर्मी"},
      {"nirdesh", "निर्देश"},
      {"vyarth", "व्यर्थ"},
      {"svarg", "स्वर्ग"},
      {"sarvottam", "सर्वोत्तम"},
      {"sarvatra", "सर्वत्र"},
      {"sarvashreShTh", "सर्वश्रेष्ठ"},
      {"mUrti", "मूर्ति"},
      {"kIrti", "कीर्ति"},
      {"aarthik", "आर्थिक"},
      {"vaarShik", "वार्षिक"},
      {"dhaarmik", "धार्मिक"},
  });
}

TEST(UnicodeWords, Nukta) {
  expectAll({
      {"baazaar", "बाज़ार"},
      {"kaagaz", "कागज़"},
      {"zarUrat", "ज़रूरत"},
      {"laRakaa", "लड़का"},
      {"baRaa", "बड़ा"},
      {"saRak", "सड़क"},
  });
}

TEST(UnicodeWords, Phrases) {
  expectAll({
      {"aapakaa svaagat hai!", "आपका स्वागत है!"},
      {"bhaarat ek vishaal desh hai.", "भारत एक विशाल देश है."},
      {"hamane 15 agast 1947 ko svata^tratA praapt kI thI!",
       "हमने 15 अगस्त 1947 को स्वतंत्रता प्राप्त की थी!"},
      {"dillI, mumbaI, kolakaataa aur chennaI", "दिल्ली, मुम्बई, कोलकाता और चेन्नई"},
      {"gurU kaa sthaan maataa-pitaa ke samaan", "गुरू का स्थान माता-पिता के समान"},
      {"kRShN aur raadhaa kI kathaae^", "कृष्ण और राधा की कथाएं"},
      {"prakRti kI rakShaa karanaa ham sabakaa kartavya hai.",
       "प्रकृति की रक्षा करना हम सबका कर्तव्य है."},
      {"vidyaarthI vidyaalay me^ paDhaaI karate hai^", "विद्यार्थी विद्यालय में पढाई करते हैं"},
      {"mere mitra ne mujhe ek sundar pustak dI", "मेरे मित्र ने मुझे एक सुन्दर पुस्तक दी"},
      {"rAShTr kI pragati ke liye shikShaa aur svaasthya", "राष्ट्र की प्रगति के लिये शिक्षा और स्वास्थ्य"},
      {"namaste\nbhaarat\n\ndharm", "नमस्ते \nभारत \n  \nधर्म"},
  });
}

std::u16string readCorpus() { return test::corpusText(); }

bool isConsonant(char16_t c) { return c >= 0x0915 && c <= 0x0939; }
bool isDependentSign(char16_t c) { return c >= 0x093E && c <= 0x094C; }

// The whole sample text: every word comes out as Devanagari with its signs in
// place, and the lines stay as they are.
TEST(UnicodeCorpus, SampleText) {
  const std::u16string roman = readCorpus();
  ASSERT_FALSE(roman.empty());
  Engine engine;
  const GlyphString glyphs = engine.e2h(toCrLf(roman));
  const std::u16string text = glyphsToUnicode(glyphs);
  ASSERT_EQ(std::count(text.begin(), text.end(), u'\n'),
            std::count(glyphs.begin(), glyphs.end(), u'\n'));
  ASSERT_EQ(std::count(text.begin(), text.end(), u'\n'),
            std::count(roman.begin(), roman.end(), u'\n'));
  auto around = [&text](std::size_t i) {
    return encodeUtf8(text.substr(i >= 12 ? i - 12 : 0, 24));
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    ASSERT_FALSE((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')) << around(i);
    if (c == 0x093F) {  // vowel sign i after its consonant
      ASSERT_TRUE(i > 0 && (isConsonant(text[i - 1]) || text[i - 1] == 0x093C)) << around(i);
    }
    if (c == 0x094D) {
      ASSERT_FALSE(i + 1 < text.size() && isDependentSign(text[i + 1])) << around(i);
    }
  }
  const std::string utf8 = encodeUtf8(text);
  for (std::string_view word :
       {"विद्यार्थी", "हिन्दी", "राष्ट्र", "धर्म,",   "कर्म",   "सब्ज़ियां", "स्वतंत्रता", "कर्तव्य",
        "महत्वपूर्ण",  "प्रकृति", "शिक्षा", "स्वास्थ्य", "आवश्यक", "किसान",  "जिन्हें",    "तितलियो",
        "यात्री",    "स्टेशन",  "कृष्ण",   "श्रम",    "मन्दिर", "कद्र",    "बैठिए",    "धन्यवाद !!!"}) {
    EXPECT_NE(utf8.find(word), std::string::npos) << word;
  }
}

}  // namespace
}  // namespace kavelin
