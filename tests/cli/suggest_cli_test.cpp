// SPDX-License-Identifier: GPL-3.0-or-later
// kavelin-convert --suggest N: one line out for each line in, up to N
// candidates "UNICODE SPELLING" whose spellings type their words, the user's
// store with and without --no-learned, and missing or damaged data as warnings.
// kavelin-convert --check: one line per unknown word, in the input's encoding,
// and the exit status.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness.h"

namespace {

using kavelin::test::Environment;
using kavelin::test::Result;
using SuggestCli = kavelin::test::CliTest;

std::vector<std::string> split(const std::string& text, char by) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(by, start)) != std::string::npos; start = end + 1) {
    parts.push_back(text.substr(start, end - start));
  }
  parts.push_back(text.substr(start));
  return parts;
}

class SuggestCliTest : public SuggestCli {
 protected:
  // The program with its user data in the test's folder.
  Result suggest(const std::vector<std::string>& args, const std::string& input,
                 Environment env = {}) {
    env.emplace_back("XDG_DATA_HOME", dataHome.c_str());
    return kavelin::test::runProgram(KAVELIN_CONVERT, args, input, nullptr, env);
  }
  void SetUp() override {
    SuggestCli::SetUp();
    dataHome = (dir_ / "data").string();
  }
  std::string dataHome;
};

TEST_F(SuggestCliTest, OneLineOutForEachLineIn) {
  const std::string input = "bharat\r\npyar\n\nnamaste\n two words \nक्या\nhai";
  const Result r = suggest({"--suggest", "3"}, input);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::vector<std::string> lines = split(r.out, '\n');
  ASSERT_EQ(lines.back(), "");  // every line ends
  lines.pop_back();
  ASSERT_EQ(lines.size(), 7u);
  for (std::size_t i : {2u, 4u, 5u}) EXPECT_EQ(lines[i], "") << i;  // empty, two words, not ASCII
  for (std::size_t i : {0u, 1u, 3u, 6u}) {
    const std::vector<std::string> candidates = split(lines[i], '\t');
    ASSERT_GE(candidates.size(), 1u) << lines[i];
    EXPECT_LE(candidates.size(), 3u) << lines[i];
    for (const std::string& c : candidates) {
      const std::vector<std::string> parts = split(c, ' ');
      ASSERT_EQ(parts.size(), 2u) << c;
      // The spelling types the word (and the space that ends the text).
      const Result typed = kavelin::test::run({"--to", "unicode"}, parts[1]);
      EXPECT_EQ(typed.out, parts[0] + " ") << c;
    }
  }
  EXPECT_EQ(split(lines[3], '\t')[0], "नमस्ते namaste");
  // One candidate a word.
  const Result one = suggest({"--suggest=1"}, "dharm\n");
  EXPECT_EQ(split(one.out, '\t').size(), 1u) << one.out;
}

TEST_F(SuggestCliTest, TheUsersWordsLeadUnlessLeftOut) {
  std::filesystem::create_directories(dir_ / "data/Kavelin");
  file("data/Kavelin/words.tsv", "# a store\nबरत\t100\n");
  const Result learned = suggest({"--suggest", "3"}, "bharat\n");
  EXPECT_EQ(learned.exitCode, 0);
  EXPECT_EQ(split(learned.out, '\t')[0], "बरत barat") << learned.out;
  const Result left = suggest({"--suggest", "3", "--no-learned"}, "bharat\n");
  EXPECT_EQ(left.exitCode, 0);
  EXPECT_NE(split(left.out, '\t')[0], "बरत barat") << left.out;

  // A damaged store is a warning; what could be read still counts.
  file("data/Kavelin/words.tsv", "बरत\t100\nnot a word\n");
  const Result damaged = suggest({"--suggest", "3"}, "bharat\n");
  EXPECT_EQ(damaged.exitCode, 0);
  EXPECT_EQ(split(damaged.out, '\t')[0], "बरत barat") << damaged.out;
  EXPECT_NE(damaged.err.find("words.tsv: 1 line is not a word and a count (the first on line 2)"),
            std::string::npos)
      << damaged.err;
}

TEST_F(SuggestCliTest, AMissingWordListIsAWarning) {
  // No aspell on PATH: aspell-hi cannot be read; the other lists still serve.
  const Result r = suggest({"--suggest", "2"}, "namaste\n", {{"PATH", "/nonexistent"}});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.err.find("aspell"), std::string::npos) << r.err;
  EXPECT_EQ(split(r.out, '\t')[0].substr(0, std::string("नमस्ते").size()), "नमस्ते") << r.out;
}

TEST_F(SuggestCliTest, UsageErrors) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--suggest", "0"},
                                             {"--suggest", "x"},
                                             {"--suggest", "-2"},
                                             {"--suggest", "101"},
                                             {"--suggest"},
                                             {"--suggest", "3", "--rtf"},
                                             {"--suggest", "3", "--from", "unicode"},
                                             {"--no-learned"}}) {
    const Result r = suggest(args, "bharat\n");
    EXPECT_EQ(r.exitCode, 2) << testing::PrintToString(args);
    EXPECT_NE(r.err.find("Try 'kavelin-convert --help'"), std::string::npos);
  }
}

TEST_F(SuggestCliTest, CheckWritesEachUnknownWordWithItsPlace) {
  struct Case {
    std::vector<std::string> args;
    std::string input;
    int exitCode;
    std::string place;       // LINE:COLUMN of the one unknown word
    std::string word;        // as it stands in the input
    std::string correction;  // the first, in the input's encoding
  } cases[] = {
      {{"--check", "--from", "unicode"}, "यह ठीक है।\nA परिक्षा, 12\n", 1, "2:3", "परिक्षा", "परीक्षा"},
      {{"--check", "--from=unicode"}, "\r\nनमस्ते दुनिया\r\n", 0, "", "", ""},
      // Glyph codes are the default input, and corrections come as glyph codes.
      {{"--check"}, ";g ifj{kk gS\n", 1, "1:4", "ifj{kk", "ijh{kk"},
      {{"--check", "--encoding", "cp1252"}, ";g ifj{kk gS", 1, "1:4", "ifj{kk", "ijh{kk"},
  };
  for (const Case& c : cases) {
    const Result r = suggest(c.args, c.input);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
    if (c.exitCode == 0) {
      EXPECT_EQ(r.out, "");
      continue;
    }
    std::vector<std::string> lines = split(r.out, '\n');
    ASSERT_EQ(lines.size(), 2u) << r.out;
    const std::vector<std::string> fields = split(lines[0], '\t');
    ASSERT_GE(fields.size(), 3u) << lines[0];
    EXPECT_LE(fields.size(), 7u);  // place, word, up to five corrections
    EXPECT_EQ(fields[0], c.place);
    EXPECT_EQ(fields[1], c.word);
    EXPECT_EQ(fields[2], c.correction);
  }
}

TEST_F(SuggestCliTest, CheckKnowsTheUsersWordsUnlessLeftOut) {
  std::filesystem::create_directories(dir_ / "data/Kavelin");
  file("data/Kavelin/words.tsv", "परिक्षा\t3\n");
  EXPECT_EQ(suggest({"--check", "--from", "unicode"}, "परिक्षा\n").exitCode, 0);
  const Result left = suggest({"--check", "--from", "unicode", "--no-learned"}, "परिक्षा\n");
  EXPECT_EQ(left.exitCode, 1);
  EXPECT_EQ(left.out.rfind("1:1\tपरिक्षा\t", 0), 0u) << left.out;
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--check", "--rtf"},
           {"--check", "--strict"},
           {"--check", "--to", "unicode"},
           {"--check", "--from", "unicode", "--encoding", "cp1252"}}) {
    const Result r = suggest(args, "x\n");
    EXPECT_EQ(r.exitCode, 2) << testing::PrintToString(args);
  }
}

}  // namespace
