// SPDX-License-Identifier: GPL-3.0-or-later
// The loose key: Roman text reduced to what people keep when they write Hindi
// in Roman letters, so that a word as typed ("bharat", "dharma", "pyar") and
// the key spelling of the word meant ("bhaarat", "dharm", "pyaar") meet in
// one hash lookup; and a similarity score that ranks the words of a key.
//
// What the key forgets: case; vowel length (a/aa, i/ii/ee, u/uu/oo); ai/e and
// au/o; the aspirate h (kh, gh, chh, jh, th, dh, ph, bh); retroflex against
// dental (t/T, d/D, n/N); w/v, z/j, f/ph, q/k, c/k, x/ks, sh/Sh/s; ड़ (R)
// against d; the vocalic r (kR, and hr for ऋ) against ri; ^, * and M against
// n, and n/m before a consonant; an a between consonants and at the end
// (atmghat / aatmaghaat, dharma / dharm); a letter written twice; marks such
// as : ' -. A nasal ending the word is kept ("hai" / "hai^").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kavelin::words {

struct LooseOptions {
  bool mergeAiE = true;             // ai with e ("hai" / "he")
  bool mergeAuO = true;             // au with o
  bool dropFinalA = true;           // "dharma" / "dharm", "raja" / "raajaa"
  bool hardRAsD = true;             // R (ड़) as d ("ladka"), else as r ("larka")
  bool dropYBetweenVowels = false;  // "kie" / "kiye", "gayi" / "gaee"
  bool cAsK = true;                 // c alone as k ("company"), as the engine types it
  bool dropMedialA = true;          // a between consonants ("atmghat" / "aatmaghaat")
  bool nasalAfterSchwa = true;      // n, m before a consonant once a is left out ("atmghat")
  bool dropFinalNasal = false;      // a nasal ending the word ("larko" / "laRako^")
};

// The loose key of a Roman word (ASCII; other characters are skipped).
std::string looseKey(std::string_view roman, const LooseOptions& options = {});
void looseKey(std::string_view roman, std::string& key, const LooseOptions& options = {});

// How far the typed word is from a key spelling: a weighted edit distance in
// tenths, over the sounds of each. Writing a sound as the chart does costs 0;
// a loose variant of it (t for T, a for aa, dh for d) 1 to 3; a schwa, h or
// nasal left out or added 3 to 5; any other letter 10.
int looseDistance(std::string_view typed, std::string_view spelling);

// Other ways to read a typed word, each looked up by its own loose key and
// measured by looseDistance from its own letters: the word as typed first,
// then, where they apply, the word with and without a nasal at its end; "ai"
// after a consonant as two vowels (gai / गई); y between vowels as a glide
// (liye / लिए); a final "ye" as य (rashtriye / राष्ट्रीय); "yun" as "yon"
// (kyun / क्यों); h after a consonant as a ह of its own (bhut / बहुत); ru
// for ऋ (krupa / कृपा); sh for क्ष (shetra / क्षेत्र); final ao, aon and ion
// (chunao / चुनाव, gaon / गांव, tippanion / टिप्पणियों); English-style
// initials (under / अंडर, ice / आइस); and the word read by English spelling
// rules (cake / केक, nation / नेशन, bus / बस, computer / कंप्यूटर).
// An apostrophe keeps two letters from being read as one sound.
struct Reading {
  std::string letters;
  bool asTyped = false;  // the typed word, or its nasal variant
  bool english = false;  // read by English spelling rules (nation / नेशन)
};
std::vector<Reading> typedReadings(std::string_view typed);

}  // namespace kavelin::words
