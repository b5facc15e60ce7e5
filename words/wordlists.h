// SPDX-License-Identifier: GPL-3.0-or-later
// Hindi word lists read at run time from where their Debian packages install
// them (aspell-hi, hunspell-hi, apertium-hin, tesseract-ocr-hin), normalised to NFC Devanagari and
// merged into one sorted word set that remembers which lists hold each word.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <future>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavelin::words {

// --- Devanagari normalisation ------------------------------------------------

// NFC for text whose combining marks are Devanagari: U+0958..U+095F become
// their consonant and the nukta (they are excluded from composition), न, र and
// ळ with the nukta become U+0929, U+0931 and U+0934, and runs of the block's
// combining marks are put in canonical order (nukta 7 < virama 9 < the stress
// signs 220/230). Everything else passes through unchanged.
std::u16string devanagariNfc(std::u16string_view text);

// True when `word` (in NFC) is one Devanagari word: it starts with an
// independent vowel, a consonant or OM, and goes on with letters, vowel signs,
// candrabindu, anusvara, visarga, nukta, virama and avagraha. Digits, dandas,
// stress signs, ZWJ/ZWNJ and anything outside the block make it false.
bool isDevanagariWord(std::u16string_view word);

// The form a list word is kept in: NFC, with ZWJ and ZWNJ (which only choose
// a glyph shape, and which the engine cannot type) taken out. Nothing when the
// result is not a Devanagari word.
std::optional<std::u16string> normaliseWord(std::u16string_view word);

// --- Parsers -------------------------------------------------------------------

// The words of a hunspell .dic file: the first line (the count) is skipped
// when it is a number, each word ends at the first unescaped '/' ("\/" is a
// slash in the word) or at a tab or space (morphological fields); a UTF-8 BOM,
// CRs and empty lines are ignored.
std::vector<std::string> parseHunspellDic(std::string_view text);

struct AttLimits {
  std::size_t maxForms = 2'000'000;   // stop after this many surface forms
  std::size_t maxLength = 64;         // symbols in a form; longer paths are not followed
  std::size_t maxSteps = 50'000'000;  // symbols followed per transducer, to a final state or not
  // When set, a transition whose input symbol it rejects is not followed.
  std::function<bool(std::string_view symbol)> keepSymbol;
};

struct AttResult {
  bool ok = false;
  std::string error;  // "line N: ..." for a malformed line
  std::size_t forms = 0;
  std::size_t sections = 0;  // transducers in the file, separated by "--" lines
  bool truncated = false;    // maxForms or maxSteps was reached
};

// Enumerates the input-side strings of all accepted paths of an AT&T-format
// transducer text ("src dst in out [weight]" and "state [weight]" lines,
// fields separated by tabs; several transducers separated by "--" lines, each
// starting at the source state of its first line). "@0@", "ε",
// "@_EPSILON_SYMBOL_@" and flag diacritics ("@...@") count as epsilon; every
// other symbol, a multichar one included, is appended as written. Each string
// is visited once per transducer (the input side is determinised on the fly);
// a path that would come back to a set of states already on it is not
// followed, so cycles end.
AttResult enumerateAttInputForms(std::string_view text,
                                 const std::function<void(std::string_view form)>& visit,
                                 const AttLimits& limits = {});

// The whole of a file, gunzipped when it is gzip data (zlib reads plain files
// as they are). Nothing, with `error` set, when it cannot be read.
std::optional<std::string> readMaybeGzipFile(const std::string& path, std::string* error);

// The words of the word graph in an OCR language data file (the tessdata
// container: a count, that many 64-bit offsets, then the parts; the word graph
// of its recogniser, read with the character set beside it). False, with
// `error` set, when the file is not such data or a part is damaged.
bool parseTessdataWords(std::string_view data, std::vector<std::string>& words, std::string* error);

// Runs `argv[0]` (searched on PATH when it holds no '/') with `argv`, no shell
// in between, and returns what it wrote to standard output; standard error goes
// to /dev/null. Nothing, with `error` set, when it cannot be started or exits
// other than with status 0.
std::optional<std::string> runProgram(const std::vector<std::string>& argv, std::string* error);

// --- The lists -------------------------------------------------------------------

enum class WordList : std::uint8_t { kAspell = 0, kHunspell = 1, kApertium = 2, kTesseract = 3 };
inline constexpr std::size_t kWordListCount = 4;
using ListMask = std::uint8_t;  // bit (1 << WordList) per list
inline constexpr ListMask maskOf(WordList list) {
  return static_cast<ListMask>(1u << static_cast<unsigned>(list));
}
// "aspell-hi", "hunspell-hi", "apertium-hin", "tesseract-ocr-hin": the Debian
// package of the list.
const char* listName(WordList list);

// Where the lists are read; an empty entry leaves that list out.
struct WordListSources {
  std::string aspellProgram = "aspell";  // run as `aspell -d DICT --encoding=utf-8 dump master`
  std::string aspellDictionary = "hi";
  std::string hunspellDic = "/usr/share/hunspell/hi_IN.dic";
  std::string apertiumAnalyser = "/usr/share/apertium/apertium-hin/hin.automorf.att.gz";
  std::string tesseractData = "/usr/share/tesseract-ocr/5/tessdata/hin.traineddata";
};

// The raw words of one list, as UTF-8, before normalisation.
struct ListRead {
  bool found = false;
  std::string where;  // the file or command read
  std::string error;  // why it was not found
  std::vector<std::string> words;
};
ListRead readAspellList(const WordListSources& sources);
ListRead readHunspellList(const WordListSources& sources);
ListRead readApertiumList(const WordListSources& sources);
ListRead readTesseractList(const WordListSources& sources);

// Sorted, duplicate-free NFC words packed in one buffer, each with the lists
// that hold it.
class WordSet {
 public:
  // Collects words in any order and with repeats; the masks of repeats are
  // merged.
  class Builder {
   public:
    void reserve(std::size_t words, std::size_t chars);
    void add(std::u16string_view word, ListMask lists);
    WordSet build() &&;

   private:
    struct Entry {
      std::uint32_t offset;
      std::uint32_t length;
      ListMask lists;
    };
    std::u16string pool_;
    std::vector<Entry> entries_;
  };

  WordSet() = default;
  static WordSet build(const std::vector<std::pair<std::u16string, ListMask>>& words);

  std::size_t size() const { return masks_.size(); }
  std::u16string_view word(std::size_t i) const {
    return {pool_.data() + offsets_[i], static_cast<std::size_t>(offsets_[i + 1] - offsets_[i])};
  }
  ListMask lists(std::size_t i) const { return masks_[i]; }
  // The lists that hold `nfcWord` (0 when none). The word must already be NFC.
  ListMask find(std::u16string_view nfcWord) const;
  bool contains(std::u16string_view nfcWord) const { return find(nfcWord) != 0; }
  // Heap bytes held.
  std::size_t memoryBytes() const;

 private:
  std::u16string pool_;
  std::vector<std::uint32_t> offsets_;  // size() + 1 entries
  std::vector<ListMask> masks_;
};

struct ListStatus {
  WordList list = WordList::kAspell;
  bool found = false;
  std::string where;
  std::string error;
  std::size_t read = 0;  // words the list gave
  std::size_t kept = 0;  // distinct Devanagari words of the list after normalisation
  double milliseconds = 0;
};

struct LoadedWords {
  WordSet words;
  std::vector<ListStatus> lists;  // one per list, in WordList order
  double milliseconds = 0;        // the whole load, merge included

  bool anyFound() const;
  // "aspell-hi (83,388 words), hunspell-hi (15,990 words); not found: apertium-hin",
  // for the About window.
  std::string summary() const;
  // One line per list not found ("word list apertium-hin not found: WHY"), for
  // standard error; empty when all were found.
  std::string warnings() const;
};

// Reads every list (in parallel threads when `parallel`) and merges them.
// A list that is missing is reported in `lists`, not an error.
LoadedWords loadWordLists(const WordListSources& sources = {}, bool parallel = true);

// loadWordLists on a thread of its own, so that the caller's first paint does
// not wait for it.
std::future<LoadedWords> loadWordListsAsync(WordListSources sources = {});

}  // namespace kavelin::words
