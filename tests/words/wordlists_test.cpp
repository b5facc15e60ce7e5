// SPDX-License-Identifier: GPL-3.0-or-later
// The word lists: Devanagari NFC, the .dic parser, the AT&T enumerator, the
// readers on small files and programs in a temporary folder, the merged set,
// and the lists installed on this machine.
#include "wordlists.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>

#include "text.h"

namespace {

namespace fs = std::filesystem;
using namespace kavelin::words;

std::u16string u(std::string_view utf8) {
  std::u16string out;
  EXPECT_TRUE(kavelin::decodeUtf8(utf8, out));
  return out;
}

std::string hex(std::u16string_view s) {
  std::string out;
  char buf[8];
  for (char16_t c : s) {
    std::snprintf(buf, sizeof buf, "%04X ", static_cast<unsigned>(c));
    out += buf;
  }
  return out;
}

// --- NFC ----------------------------------------------------------------------

struct NfcCase {
  const char* name;
  std::u16string in;
  std::u16string out;
};

TEST(DevanagariNfc, Table) {
  const NfcCase cases[] = {
      {"empty", u"", u""},
      {"plain word unchanged", u"\u092D\u093E\u0930\u0924", u"\u092D\u093E\u0930\u0924"},
      {"ASCII unchanged", u"abc 12", u"abc 12"},
      {"qa decomposes", u"\u0958", u"\u0915\u093C"},
      {"every nukta letter decomposes", u"\u0958\u0959\u095A\u095B\u095C\u095D\u095E\u095F",
       u"\u0915\u093C\u0916\u093C\u0917\u093C\u091C\u093C\u0921\u093C\u0922\u093C\u092B\u093C"
       u"\u092F\u093C"},
      {"decomposed za stays", u"\u091C\u093C\u0930", u"\u091C\u093C\u0930"},
      {"na + nukta composes", u"\u0928\u093C", u"\u0929"},
      {"ra + nukta composes", u"\u0930\u093C", u"\u0931"},
      {"lla + nukta composes", u"\u0933\u093C", u"\u0934"},
      {"composed nnna stays", u"\u0929\u093E", u"\u0929\u093E"},
      {"virama before nukta is reordered", u"\u0915\u094D\u093C", u"\u0915\u093C\u094D"},
      {"reordered nukta then composes", u"\u0930\u094D\u093C", u"\u0931\u094D"},
      {"stress after nukta", u"\u0915\u0951\u093C", u"\u0915\u093C\u0951"},
      {"anudatta before udatta", u"\u0915\u0951\u0952", u"\u0915\u0952\u0951"},
      {"equal classes keep their order", u"\u0915\u0953\u0951", u"\u0915\u0953\u0951"},
      {"vowel sign blocks reordering", u"\u0915\u094D\u093E\u093C", u"\u0915\u094D\u093E\u093C"},
      {"joiner blocks composition", u"\u0928\u200D\u093C", u"\u0928\u200D\u093C"},
      {"nukta on a vowel sign stays", u"\u0915\u093E\u093C", u"\u0915\u093E\u093C"},
      {"leading nukta", u"\u093C\u0928", u"\u093C\u0928"},
  };
  for (const NfcCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::u16string once = devanagariNfc(c.in);
    EXPECT_EQ(hex(once), hex(c.out));
    EXPECT_EQ(hex(devanagariNfc(once)), hex(once)) << "not idempotent";
  }
}

struct WordCase {
  const char* name;
  std::u16string in;
  bool isWord;                // isDevanagariWord(devanagariNfc(in))
  std::u16string normalised;  // normaliseWord(in), empty: nothing
};

TEST(DevanagariWord, Table) {
  const WordCase cases[] = {
      {"word", u"\u0939\u093F\u0902\u0926\u0940", true, u"\u0939\u093F\u0902\u0926\u0940"},
      {"vowel first", u"\u0906\u092E", true, u"\u0906\u092E"},
      {"om", u"\u0950", true, u"\u0950"},
      {"candrabindu and visarga", u"\u0939\u0901\u0905\u0903", true, u"\u0939\u0901\u0905\u0903"},
      {"nukta letter is normalised", u"\u095B\u0930", true, u"\u091C\u093C\u0930"},
      {"empty", u"", false, u""},
      {"sign first", u"\u093F\u0915", false, u""},
      {"anusvara alone", u"\u0902", false, u""},
      {"digits", u"\u0967\u0968", false, u""},
      {"letters and a digit", u"\u0930\u093E\u092E\u0967", false, u""},
      {"danda", u"\u0930\u093E\u092E\u0964", false, u""},
      {"stress sign", u"\u0915\u0951", false, u""},
      {"Latin", u"ram", false, u""},
      {"hyphen", u"\u0915-\u0916", false, u""},
      {"space", u"\u0915 \u0916", false, u""},
      {"ZWJ is taken out", u"\u0915\u094D\u200D\u0937", false, u"\u0915\u094D\u0937"},
      {"ZWNJ out, then the nukta composes", u"\u0928\u200C\u093C", false, u"\u0929"},
      {"joiner alone", u"\u200D", false, u""},
  };
  for (const WordCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(isDevanagariWord(devanagariNfc(c.in)), c.isWord);
    const std::optional<std::u16string> n = normaliseWord(c.in);
    EXPECT_EQ(n.has_value(), !c.normalised.empty());
    if (n) {
      EXPECT_EQ(hex(*n), hex(c.normalised));
    }
  }
}

// --- hunspell .dic -------------------------------------------------------------

struct DicCase {
  const char* name;
  std::string text;
  std::vector<std::string> words;
};

TEST(HunspellDic, Table) {
  const DicCase cases[] = {
      {"count and flags", "3\nab/XY\ncd\nef/Z\n", {"ab", "cd", "ef"}},
      {"no count line", "ab\ncd/1\n", {"ab", "cd"}},
      {"count only", "0\n", {}},
      {"empty", "", {}},
      {"BOM and CR LF",
       "\xEF\xBB\xBF"
       "2\r\nab/A\r\ncd\r\n",
       {"ab", "cd"}},
      {"escaped slash", "1\na\\/b/F\n", {"a/b"}},
      {"morphological fields", "2\nab/F\tpo:noun\ncd st:c\n", {"ab", "cd"}},
      {"empty lines and flag-only lines", "3\n\nab\n/F\n", {"ab"}},
      {"no final newline", "1\nab", {"ab"}},
      {"a number after the first line is a word", "2\n12\nab\n", {"12", "ab"}},
  };
  for (const DicCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(parseHunspellDic(c.text), c.words);
  }
}

// --- AT&T ----------------------------------------------------------------------

std::vector<std::string> forms(std::string_view att, const AttLimits& limits = {},
                               AttResult* result = nullptr) {
  std::vector<std::string> out;
  AttResult r = enumerateAttInputForms(
      att, [&](std::string_view f) { out.emplace_back(f); }, limits);
  EXPECT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.forms, out.size());
  if (result) *result = r;
  std::sort(out.begin(), out.end());
  return out;
}

struct AttCase {
  const char* name;
  std::string att;
  std::vector<std::string> forms;  // sorted
};

TEST(AttEnumerator, Table) {
  const AttCase cases[] = {
      {"two words sharing a prefix, with and without weights",
       "0\t1\ta\ta\t0.5\n1\t2\tb\tb\n1\t3\tc\tc\t1.25\n2\t0.0\n3\n",
       {"ab", "ac"}},
      {"trailing tabs as lt-print writes them", "0\t1\ta\ta\t0.000000\t\n1\t0.000000\t\n", {"a"}},
      {"epsilon input with multichar output tags",
       "0\t1\tk\tk\n1\t2\t@0@\t<n>\n2\t3\t\xCE\xB5\t<pl>\n3\n",
       {"k"}},
      {"final state inside a word", "0\t1\ta\ta\n1\t2\tb\tb\n1\n2\n", {"a", "ab"}},
      {"the start state is final: no empty form", "0\n0\t1\ta\ta\n1\n", {"a"}},
      {"a self loop ends", "0\t0\ta\ta\n0\t1\tb\tb\n1\n", {"b"}},
      {"a two-state cycle ends", "0\t1\ta\ta\n1\t0\tb\tb\n1\n", {"a"}},
      {"an epsilon cycle ends", "0\t1\t@0@\t@0@\n1\t0\t@0@\t@0@\n1\t2\tx\tx\n2\n", {"x"}},
      {"two analyses of one surface form give it once",
       "0\t1\ta\ta\n0\t2\ta\tb\n1\t3\t@0@\t<n>\n2\t3\t@0@\t<v>\n3\n",
       {"a"}},
      {"paths that merge after a choice",
       "0\t1\ta\ta\n0\t2\ta\ta\n1\t3\tb\tb\n2\t3\tc\tc\n3\n",
       {"ab", "ac"}},
      {"a multichar input symbol is kept as written",
       "0\t1\t<cmp>\t+\n1\t2\tx\tx\n2\n",
       {"<cmp>x"}},
      {"flag diacritics are epsilon", "0\t1\t@P.X.on@\t@P.X.on@\n1\t2\ty\ty\n2\n", {"y"}},
      {"a space is a symbol", "0\t1\ta\ta\n1\t2\t \t \n2\t3\tb\tb\n3\n", {"a b"}},
      {"acceptor lines and space separators", "0 1 a\n1 2 b\n2\n", {"ab"}},
      {"states out of order", "7\t3\tp\tp\n3\t9\tq\tq\n9\n", {"pq"}},
      {"no final state", "0\t1\ta\ta\n", {}},
      {"empty text", "", {}},
      {"UTF-8 symbols",
       "0\t1\t\xE0\xA4\x95\t\xE0\xA4\x95\n1\t2\t\xE0\xA4\xBE\t\xE0\xA4\xBE\n2\n",
       {"\xE0\xA4\x95\xE0\xA4\xBE"}},
  };
  for (const AttCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(forms(c.att), c.forms);
  }
}

TEST(AttEnumerator, SectionsStartAtTheirOwnFirstLine) {
  AttResult r;
  // The second transducer reuses state numbers and starts at state 5.
  EXPECT_EQ(forms("0\t1\ta\ta\n1\n--\n5\t6\tb\tb\n6\t7\ta\ta\n7\n6\n", {}, &r),
            (std::vector<std::string>{"a", "b", "ba"}));
  EXPECT_EQ(r.sections, 2u);
  // A form in both transducers is visited once per transducer.
  EXPECT_EQ(forms("0\t1\ta\ta\n1\n--\n0\t1\ta\tb\n1\n", {}, &r),
            (std::vector<std::string>{"a", "a"}));
}

TEST(AttEnumerator, Limits) {
  const std::string att = "0\t1\ta\ta\n1\t2\tb\tb\n2\t3\tc\tc\n1\n2\n3\n0\t4\tz\tz\n4\n";
  AttLimits limits;
  limits.keepSymbol = [](std::string_view s) { return s != "b"; };
  EXPECT_EQ(forms(att, limits), (std::vector<std::string>{"a", "z"}));

  limits = {};
  limits.maxLength = 2;
  EXPECT_EQ(forms(att, limits), (std::vector<std::string>{"a", "ab", "z"}));

  limits = {};
  limits.maxForms = 2;
  AttResult r;
  EXPECT_EQ(forms(att, limits, &r).size(), 2u);
  EXPECT_TRUE(r.truncated);
  limits.maxForms = 4;
  EXPECT_EQ(forms(att, limits, &r).size(), 4u);
  EXPECT_FALSE(r.truncated);

  // Steps count paths that reach no final state too.
  limits = {};
  limits.maxSteps = 2;
  EXPECT_EQ(forms(att, limits, &r), (std::vector<std::string>{"a", "ab"}));
  EXPECT_TRUE(r.truncated);
  limits.maxSteps = 4;
  EXPECT_EQ(forms(att, limits, &r).size(), 4u);
  EXPECT_FALSE(r.truncated);
}

TEST(AttEnumerator, MalformedLines) {
  const std::pair<const char*, const char*> cases[] = {
      {"0\t1\ta\ta\nx\t2\tb\tb\n", "line 2"}, {"0\tone\ta\ta\n", "line 1"},
      {"0\t1\ta\ta\tw\n", "line 1"},          {"0\tw\n", "line 1"},
      {"1\n\n0\t1\ta\ta\t0\t0\n", "line 3"},
  };
  for (const auto& [att, where] : cases) {
    SCOPED_TRACE(att);
    std::size_t visited = 0;
    const AttResult r = enumerateAttInputForms(att, [&](std::string_view) { ++visited; });
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error.rfind(where, 0), 0u) << r.error;
    EXPECT_EQ(visited, 0u);
  }
}

// --- Files and programs ------------------------------------------------------------

class TempDir : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "kavelin-words-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  std::string write(const std::string& name, std::string_view text) {
    const std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  std::string writeGzip(const std::string& name, std::string_view text) {
    const std::string path = (dir_ / name).string();
    gzFile f = gzopen(path.c_str(), "wb");
    EXPECT_NE(f, nullptr);
    EXPECT_EQ(gzwrite(f, text.data(), static_cast<unsigned>(text.size())),
              static_cast<int>(text.size()));
    gzclose(f);
    return path;
  }
  std::string script(const std::string& name, std::string_view body) {
    const std::string path = write(name, "#!/bin/sh\n" + std::string(body));
    ::chmod(path.c_str(), 0755);
    return path;
  }
  std::string missing() const { return (dir_ / "missing").string(); }
  fs::path dir_;
};

using Files = TempDir;

TEST_F(Files, GzipAndPlainFilesReadAlike) {
  const std::string text = "0\t1\ta\ta\n1\n";
  std::string error;
  EXPECT_EQ(readMaybeGzipFile(write("plain.att", text), &error), text);
  EXPECT_EQ(readMaybeGzipFile(writeGzip("packed.att.gz", text), &error), text);
  EXPECT_EQ(readMaybeGzipFile(writeGzip("empty.gz", ""), &error), "");
  EXPECT_FALSE(readMaybeGzipFile(missing(), &error));
  EXPECT_NE(error.find(missing()), std::string::npos) << error;
}

TEST_F(Files, RunProgramPassesArgumentsWithoutAShell) {
  const std::string echo = script("args", "printf '%s\\n' \"$@\"\necho oops >&2\n");
  std::string error;
  EXPECT_EQ(runProgram({echo, "a b", "$(touch x); rm -rf y", "*"}, &error),
            "a b\n$(touch x); rm -rf y\n*\n");
  EXPECT_FALSE(fs::exists(dir_ / "x"));

  EXPECT_FALSE(runProgram({script("fails", "echo partial\nexit 3\n")}, &error));
  EXPECT_NE(error.find("exit status 3"), std::string::npos) << error;
  EXPECT_FALSE(runProgram({missing()}, &error));
  EXPECT_FALSE(runProgram({}, &error));
}

// Word lists in UTF-8, for the fake list files.
const std::string kKa = "\xE0\xA4\x95";        // क
const std::string kQa = "\xE0\xA5\x98";        // क़ (U+0958)
const std::string kNukta = "\xE0\xA4\xBC";     // ़
const std::string kAa = "\xE0\xA4\xBE";        // ा
const std::string kRa = "\xE0\xA4\xB0";        // र
const std::string kDigitOne = "\xE0\xA5\xA7";  // १

// OCR language data holding a word graph of `words` (each a list of indexes
// into `characters`) as a plain trie, with its character set, in the parts and
// layout the reader expects.
std::string tessdata(const std::vector<std::string>& characters,
                     const std::vector<std::vector<int>>& words) {
  struct Node {
    std::map<int, std::pair<int, bool>> next;  // letter -> (node, a word ends)
  };
  std::vector<Node> nodes(1);
  for (const std::vector<int>& w : words) {
    int at = 0;
    for (std::size_t i = 0; i < w.size(); ++i) {
      auto found = nodes[static_cast<std::size_t>(at)].next.find(w[i]);
      if (found == nodes[static_cast<std::size_t>(at)].next.end()) {
        nodes.emplace_back();
        found = nodes[static_cast<std::size_t>(at)]
                    .next.emplace(w[i], std::make_pair(static_cast<int>(nodes.size()) - 1, false))
                    .first;
      }
      if (i + 1 == w.size()) found->second.second = true;
      at = found->second.first;
    }
  }
  // A node's edges start where the edges of the nodes before it end.
  std::vector<std::uint64_t> first(nodes.size());
  std::uint64_t edges = 0;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    first[i] = edges;
    edges += nodes[i].next.size();
  }
  int bits = 0;
  while ((1u << bits) < characters.size()) ++bits;
  std::string graph;
  const auto put = [](std::string& out, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  put(graph, 42, 2);
  put(graph, characters.size(), 4);
  put(graph, edges, 4);
  for (const Node& n : nodes) {
    std::size_t k = 0;
    for (const auto& [letter, to] : n.next) {
      const Node& child = nodes[static_cast<std::size_t>(to.first)];
      const std::uint64_t flags = (++k == n.next.size() ? 1 : 0) | (to.second ? 4 : 0);
      const std::uint64_t next = child.next.empty() ? 0 : first[static_cast<std::size_t>(to.first)];
      put(graph, static_cast<std::uint64_t>(letter) | flags << bits | next << (bits + 3), 8);
    }
  }
  std::string charset = std::to_string(characters.size()) + "\n";
  for (const std::string& c : characters) charset += c + " 0 0,255 Common 0 0 0 " + c + "\n";
  std::string out;
  put(out, 24, 4);
  const std::uint64_t header = 4 + 24 * 8;
  for (int i = 0; i < 24; ++i) {
    const std::uint64_t at = i == 19 ? header : i == 21 ? header + graph.size() : ~std::uint64_t{0};
    put(out, at, 8);
  }
  return out + graph + charset;
}

TEST_F(Files, ReadersAndMerge) {
  WordListSources sources;
  // aspell: a program that checks its arguments and writes the dump.
  sources.aspellProgram =
      script("aspell",
             "[ \"$1 $2 $3 $4 $5\" = \"-d xx --encoding=utf-8 dump master\" ] || exit 9\n"
             "printf '%s\\n' '" +
                 kKa + kAa + "' '" + kQa + "' 'latin'\n");
  sources.aspellDictionary = "xx";
  sources.hunspellDic =
      write("hi.dic", "3\n" + kKa + kNukta + "/A\n" + kRa + kAa + "\n" + kDigitOne + "\n");
  // apertium: क and का via an epsilon tag, and a numeral that is no word.
  sources.apertiumAnalyser =
      writeGzip("hin.att.gz", "0\t1\t" + kKa + "\t" + kKa + "\n1\t2\t" + kAa + "\t" + kAa + "\n" +
                                  "2\t3\t@0@\t<n>\n1\t3\t\xCE\xB5\t<n>\n3\t0.0\n" + "0\t4\t" +
                                  kDigitOne + "\t" + kDigitOne + "\n4\n");
  // The OCR list: रा and रार (a word inside a word), and a Latin word.
  sources.tesseractData =
      write("hin.traineddata", tessdata({"NULL", kRa, kAa, "x"}, {{1, 2}, {1, 2, 1}, {3}}));

  const LoadedWords loaded = loadWordLists(sources, false);
  ASSERT_EQ(loaded.lists.size(), kWordListCount);
  for (const ListStatus& s : loaded.lists) EXPECT_TRUE(s.found) << listName(s.list) << s.error;
  EXPECT_EQ(loaded.lists[0].read, 3u);
  EXPECT_EQ(loaded.lists[0].kept, 2u);
  EXPECT_EQ(loaded.lists[1].read, 3u);
  EXPECT_EQ(loaded.lists[1].kept, 2u);
  EXPECT_EQ(loaded.lists[2].read, 2u);  // the numeral is pruned while enumerating
  EXPECT_EQ(loaded.lists[2].kept, 2u);
  EXPECT_EQ(loaded.lists[3].read, 3u);
  EXPECT_EQ(loaded.lists[3].kept, 2u);

  const WordSet& set = loaded.words;
  ASSERT_EQ(set.size(), 5u);  // क, का, क़, रा, रार
  const ListMask all = maskOf(WordList::kAspell) | maskOf(WordList::kHunspell);
  EXPECT_EQ(set.find(u(kKa + kAa)), maskOf(WordList::kAspell) | maskOf(WordList::kApertium));
  EXPECT_EQ(set.find(u(kKa + kNukta)), all) << "U+0958 and क + nukta are one word";
  EXPECT_EQ(set.find(u(kRa + kAa)), maskOf(WordList::kHunspell) | maskOf(WordList::kTesseract));
  EXPECT_EQ(set.find(u(kRa + kAa + kRa)), maskOf(WordList::kTesseract));
  EXPECT_EQ(set.find(u(kKa)), maskOf(WordList::kApertium));
  EXPECT_EQ(set.find(u(kQa)), 0) << "lookups take NFC";
  EXPECT_EQ(loaded.summary(),
            "aspell-hi (2 words), hunspell-hi (2 words), apertium-hin (2 words), "
            "tesseract-ocr-hin (2 words)");
  EXPECT_EQ(loaded.warnings(), "");

  // The same in parallel threads and through the future.
  const LoadedWords parallel = loadWordListsAsync(sources).get();
  ASSERT_EQ(parallel.words.size(), set.size());
  for (std::size_t i = 0; i < set.size(); ++i) {
    EXPECT_EQ(parallel.words.word(i), set.word(i));
    EXPECT_EQ(parallel.words.lists(i), set.lists(i));
  }
}

TEST_F(Files, MissingListsAreReportedNotFatal) {
  WordListSources sources;
  sources.aspellProgram = script("aspell", "echo 'Error: no word list' \nexit 1\n");
  sources.hunspellDic = missing();
  sources.apertiumAnalyser = write("hin.att", "0\t1\t" + kKa + "\t" + kKa + "\n1\n");
  sources.tesseractData = missing();
  LoadedWords loaded = loadWordLists(sources, true);
  EXPECT_TRUE(loaded.anyFound());
  EXPECT_FALSE(loaded.lists[0].found);
  EXPECT_FALSE(loaded.lists[1].found);
  EXPECT_TRUE(loaded.lists[2].found);
  EXPECT_EQ(loaded.words.size(), 1u);
  EXPECT_EQ(loaded.summary(),
            "apertium-hin (1 word); not found: aspell-hi, hunspell-hi, tesseract-ocr-hin");
  const std::string warnings = loaded.warnings();
  EXPECT_NE(warnings.find("word list aspell-hi not found: "), std::string::npos) << warnings;
  EXPECT_NE(warnings.find("exit status 1"), std::string::npos) << warnings;
  EXPECT_NE(warnings.find("word list hunspell-hi not found: " + missing()), std::string::npos)
      << warnings;
  EXPECT_EQ(warnings.find("apertium-hin"), std::string::npos) << warnings;

  // Nothing at all: an empty set, every list named.
  sources.aspellProgram = missing();
  sources.apertiumAnalyser = "";
  loaded = loadWordLists(sources, false);
  EXPECT_FALSE(loaded.anyFound());
  EXPECT_EQ(loaded.words.size(), 0u);
  EXPECT_FALSE(loaded.words.contains(u(kKa)));
  EXPECT_EQ(loaded.summary(),
            "no word list; not found: aspell-hi, hunspell-hi, apertium-hin, tesseract-ocr-hin");
  const std::string all = loaded.warnings();
  EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 4) << all;

  // A damaged analyser is not found either.
  sources.apertiumAnalyser = write("bad.att", "0\tx\n");
  loaded = loadWordLists(sources, false);
  EXPECT_FALSE(loaded.lists[2].found);
  EXPECT_NE(loaded.lists[2].error.find("line 1"), std::string::npos) << loaded.lists[2].error;
}

// Damaged OCR data is refused with a reason, never read past its end or
// followed round a loop.
TEST(Tessdata, DamagedDataIsRefused) {
  const std::string good = tessdata({"NULL", "a", "b"}, {{1, 2}, {2}});
  std::vector<std::string> words;
  std::string error;
  ASSERT_TRUE(parseTessdataWords(good, words, &error)) << error;
  EXPECT_EQ(words, (std::vector<std::string>{"ab", "b"}));

  const std::size_t graphAt = 4 + 24 * 8;
  const auto edgeAt = [&](std::size_t i) { return graphAt + 10 + 8 * i; };
  struct Case {
    const char* what;
    std::function<void(std::string&)> damage;
    const char* error;
  } cases[] = {
      {"empty", [](std::string& d) { d.clear(); }, "not OCR language data"},
      {"a text file", [](std::string& d) { d = "hello world, this is no data at all\n"; },
       "not OCR language data"},
      {"cut in the header", [](std::string& d) { d.resize(100); }, "not OCR language data"},
      {"no word graph",
       [](std::string& d) {
         for (int i = 0; i < 8; ++i) d[4 + 19 * 8 + static_cast<std::size_t>(i)] = '\xFF';
       },
       "the data holds no word list"},
      {"bad magic", [&](std::string& d) { d[graphAt] = 7; }, "the word list is damaged"},
      {"more edges than bytes", [&](std::string& d) { d[graphAt + 6] = 100; },
       "the word list is damaged"},
      {"a letter outside the set", [&](std::string& d) { d[edgeAt(0)] = 3; },
       "the word list is damaged"},
      {"a node past the end", [&](std::string& d) { d[edgeAt(0) + 1] = static_cast<char>(0x7F); },
       "the word list is damaged"},
      {"a loop",  // the first edge leads back to the first node
       [&](std::string& d) {
         d[edgeAt(0)] = 1;  // letter a, no flags, next node 0 ...
         d[edgeAt(0) + 1] = 0;
         d[edgeAt(0)] = static_cast<char>(1 | (4 << 2));  // ... a word ends, and
         d[edgeAt(1)] = static_cast<char>(1 | (1 << 2) | (0 << 5));
         d[edgeAt(1) + 1] = 0;
       },
       nullptr},
  };
  for (const Case& c : cases) {
    std::string data = good;
    c.damage(data);
    words.clear();
    error.clear();
    const bool ok = parseTessdataWords(data, words, &error);
    if (c.error) {
      EXPECT_FALSE(ok) << c.what;
      EXPECT_EQ(error, c.error) << c.what;
    } else {
      EXPECT_LE(words.size(), 64u) << c.what;  // ends, whatever it gives
    }
  }
}

TEST(WordSet, BuildMergesRepeatsAndSorts) {
  const WordSet set = WordSet::build({{u"b", 1}, {u"a", 2}, {u"b", 4}, {u"ab", 1}, {u"a", 2}});
  ASSERT_EQ(set.size(), 3u);
  EXPECT_EQ(set.word(0), u"a");
  EXPECT_EQ(set.word(1), u"ab");
  EXPECT_EQ(set.word(2), u"b");
  EXPECT_EQ(set.find(u"a"), 2);
  EXPECT_EQ(set.find(u"b"), 5);
  EXPECT_EQ(set.find(u"ab"), 1);
  for (std::u16string_view absent : {u"", u"aa", u"c", u"0"}) EXPECT_EQ(set.find(absent), 0);
  EXPECT_EQ(WordSet().find(u"a"), 0);
}

// --- The lists installed here --------------------------------------------------------

TEST(InstalledLists, AreNfcDevanagariAndSorted) {
  const LoadedWords loaded = loadWordLists();
  if (!loaded.anyFound()) GTEST_SKIP() << "no Hindi word list installed";
  std::cout << loaded.summary() << "\n" << loaded.warnings();
  for (const ListStatus& s : loaded.lists) {
    if (!s.found) continue;
    SCOPED_TRACE(listName(s.list));
    // Each list has thousands of words, and nearly all of them are kept.
    EXPECT_GT(s.kept, 10000u);
    EXPECT_GT(s.kept * 100, s.read * 95);
    // Common words that every list has.
    for (std::u16string_view word : {u"\u0915\u0930\u0928\u093E", u"\u092A\u093E\u0928\u0940"}) {
      EXPECT_TRUE(loaded.words.find(word) & maskOf(s.list)) << hex(word);
    }
  }
  const WordSet& set = loaded.words;
  for (std::size_t i = 0; i < set.size(); ++i) {
    const std::optional<std::u16string> n = normaliseWord(set.word(i));
    ASSERT_TRUE(n && *n == set.word(i)) << hex(set.word(i));
    ASSERT_NE(set.lists(i), 0);
    if (i > 0) {
      ASSERT_LT(set.word(i - 1), set.word(i));
    }
  }
}

}  // namespace
