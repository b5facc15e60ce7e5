// SPDX-License-Identifier: GPL-3.0-or-later
// Black-box tests of the built kavelin-convert.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "corpus.h"
#include "engine.h"
#include "harness.h"
#include "text.h"
#include "unicode.h"

namespace {

namespace fs = std::filesystem;

using ConvertCli = kavelin::test::CliTest;
using kavelin::test::Result;
using kavelin::test::run;
using kavelin::test::slurp;

TEST_F(ConvertCli, ConvertsStandardInput) {
  struct Case {
    std::string input;
    std::string output;
  } cases[] = {{"namaste\n", "ueLrs \n"},
               {"namaste dharma bhaarat", "ueLrs /keZ Hkkjr "},
               {"ka\r\nga", "d \nx "},
               {"ka\rga", "d \nx "},
               {"", ""},
               // Codes 0x80 and up as Windows-1252 characters in UTF-8.
               {"chhr", "N\xC2\xAA "},
               {"rbha", "\xE2\x80\x9CZ "},
               {"Ilaa", "\xC3\x83yk "}};
  for (const Case& c : cases) {
    const Result r = run({}, c.input);
    EXPECT_EQ(r.exitCode, 0) << c.input;
    EXPECT_EQ(r.out, c.output) << c.input;
    EXPECT_EQ(r.err, "");
  }
}

TEST_F(ConvertCli, Cp1252WritesTheRawCodes) {
  const Result r = run({"--encoding", "cp1252"}, "chhr rbha oM");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "N\xAA \x93Z \xC5\xA1 ");
  EXPECT_EQ(run({"--encoding=utf-8"}, "oM").out, "\xC3\x85\xC2\xA1 ");
}

TEST_F(ConvertCli, ReadsFilesInOrderAsOneText) {
  const std::string a = file("a.txt", "namaste\n");
  const std::string b = file("b.txt", "dharma");
  EXPECT_EQ(run({a, b}).out, "ueLrs \n/keZ ");
  EXPECT_EQ(run({b, a}).out, "/keZueLrs \n");  // no break between them: one word
  EXPECT_EQ(run({a, "-", b}, "ka\n").out, "ueLrs \nd \n/keZ ");
  EXPECT_EQ(run({"--", a}).out, "ueLrs \n");
}

// Files of several read pieces, one text: the output equals the whole-text
// conversion in each form, and the report places a character far in.
TEST_F(ConvertCli, LongFilesStreamAsOneText) {
  const std::u16string corpus = kavelin::test::corpusText();
  std::u16string first;
  for (int k = 0; first.size() < 300000; ++k) first += k % 2 ? corpus : kavelin::toCrLf(corpus);
  first += u"kaf";  // a short i whose consonant the next file holds
  const std::u16string second = u"ka bhaa\u00E9rat\r" + corpus;
  const std::string a = file("a.txt", kavelin::encodeUtf8(first));
  const std::string b = file("b.txt", "\xEF\xBB\xBF" + kavelin::encodeUtf8(second));
  const kavelin::GlyphString glyphs = kavelin::Engine().e2h(kavelin::toCrLf(first + second));
  const std::string report =
      "kavelin-convert: warning: 1 input character produced no output\n"
      "kavelin-convert:   " +
      b + ":1:8: U+00E9 '\xC3\xA9'\n";
  const Result utf8 = run({a, b});
  EXPECT_EQ(utf8.exitCode, 0);
  EXPECT_TRUE(utf8.out == kavelin::encodeUtf8(glyphs));
  EXPECT_EQ(utf8.err, report);
  const Result raw = run({"--encoding", "cp1252", a, b});
  EXPECT_TRUE(raw.out == kavelin::glyphToCodes(glyphs));
  const Result unicode = run({"--to", "unicode", a, b});
  EXPECT_TRUE(unicode.out == kavelin::encodeUtf8(kavelin::glyphsToUnicode(glyphs)));
  EXPECT_EQ(unicode.err, report);
}

TEST_F(ConvertCli, WritesTheOutputFileAtomically) {
  const std::string target = (dir_ / "out.txt").string();
  std::ofstream(target) << "old content that is longer than the new";
  const Result r = run({"-o", target}, "namaste");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(slurp(target), "ueLrs ");
  // Nothing but the target is left in the folder.
  int entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_)) ++entries;
  EXPECT_EQ(entries, 1);
  EXPECT_EQ(run({"--output=" + target, "--encoding", "cp1252"}, "oM").exitCode, 0);
  EXPECT_EQ(slurp(target), "\xC5\xA1 ");
}

TEST_F(ConvertCli, FailuresSayWhatAndWhere) {
  std::string many;  // many pieces of input
  while (many.size() < 2'000'000) many += "namaste dharma\n";
  const std::string out = (dir_ / "out.txt").string();
  struct Case {
    std::vector<std::string> args;
    std::string input;
    int exitCode;
    std::string message;  // part of standard error
  } cases[] = {
      {{(dir_ / "missing.txt").string()}, "", 1, "missing.txt: No such file or directory"},
      {{file("bad.txt", "kaa\xC3(")}, "", 1, "bad.txt: invalid UTF-8 at byte offset 3"},
      {{}, "ok\xFF", 1, "standard input: invalid UTF-8 at byte offset 2"},
      // Named by the file it is in, however far reading has gone ahead.
      {{"-o", out, file("long.txt", many), file("bad2.txt", "ka\xFF")},
       "",
       1,
       "bad2.txt: invalid UTF-8 at byte offset 2"},
      {{"-o", out, "--to", "unicode", file("long2.txt", many), file("bad3.txt", "ka\xFF")},
       "",
       1,
       "bad3.txt: invalid UTF-8 at byte offset 2"},
      {{"-o", out, file("cut.txt", many + "\xE0\xA4"), file("next.txt", "ka")},
       "",
       1,
       "cut.txt: invalid UTF-8 at byte offset " + std::to_string(many.size())},
      {{"--frobnicate"}, "", 2, "unknown option '--frobnicate'"},
      {{"--encoding", "latin9"}, "", 2, "unknown encoding 'latin9'"},
      {{"-o"}, "", 2, "option '-o' needs a value"},
      {{"-o", (dir_ / "no/such/dir/out.txt").string()}, "ka", 1, "out.txt: No such file"},
      {{dir_.string()}, "", 1, ": Is a directory"},
  };
  for (const Case& c : cases) {
    const Result r = run(c.args, c.input);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
  }
}

TEST_F(ConvertCli, UnicodeAndRtfOutput) {
  struct Case {
    std::vector<std::string> args;
    std::string input;
    std::string output;
  } cases[] = {
      {{"--to", "unicode"}, "namaste dharma\nvidyaarthii", "नमस्ते धर्म \nविद्यार्थी "},
      {{"--to=unicode"}, "hindii kRShN rAShTr", "हिन्दी कृष्ण राष्ट्र "},
      {{"--to", "glyphs"}, "namaste", "ueLrs "},
      {{"--rtf"},
       "namaste\nbhaarat",
       "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset0 DevLys "
       "160;}}\r\n\\pard\\ql\\f0\\fs29\\b0\\i0\\ulnone ueLrs \\par\r\n\\pard\\ql Hkkjr "
       "\\par\r\n}"},
      {{"--rtf", "--to", "unicode"},
       "namaste",
       "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset0 Noto Sans "
       "Devanagari;}}\r\n\\pard\\ql\\f0\\fs29\\b0\\i0\\ulnone\\u2344?\\u2350?\\u2360?\\u2381?"
       "\\u2340?\\u2375? \\par\r\n}"},
      {{"--rtf"}, "", "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl}\r\n}"},
  };
  for (const Case& c : cases) {
    const Result r = run(c.args, c.input);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, c.output) << c.input;
  }
  // A line that ends the input makes no empty paragraph; an empty line does.
  EXPECT_EQ(run({"--rtf"}, "ka\n").out, run({"--rtf"}, "ka").out);
  EXPECT_NE(run({"--rtf"}, "ka\n\nga").out.find("\\par\r\n\\pard\\ql   \\par"), std::string::npos);

  for (const auto& args : std::vector<std::vector<std::string>>{
           {"--to", "unicode", "--encoding", "cp1252"}, {"--rtf", "--encoding=cp1252"}}) {
    const Result r = run(args, "ka");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("--encoding cp1252 applies to plain glyph codes only"), std::string::npos);
  }
  const Result bad = run({"--to", "hindi"}, "ka");
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_NE(bad.err.find("unknown form 'hindi'"), std::string::npos);
}

TEST_F(ConvertCli, HelpAndVersionFailWhenTheyCannotBeWritten) {
  for (const char* option : {"--help", "-h", "--version", "-V"}) {
    const Result r = run({option}, "", "/dev/full");
    EXPECT_EQ(r.exitCode, 1) << option;
    EXPECT_NE(r.err.find("standard output: No space left on device"), std::string::npos) << r.err;
  }
}

TEST_F(ConvertCli, HelpAndVersion) {
  const Result help = run({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("Usage: kavelin-convert [OPTIONS] [FILE...]"), std::string::npos);
  EXPECT_NE(help.out.find("--encoding"), std::string::npos);
  const Result version = run({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  const std::string firstLine = std::string("kavelin-convert ") + KAVELIN_VERSION + "\n";
  EXPECT_EQ(version.out.substr(0, firstLine.size()), firstLine);
  EXPECT_NE(version.out.find("GPL-3.0-or-later"), std::string::npos);
}

// What lies in the test's folder, names sorted: a failure must leave no
// temporary file behind.
std::vector<std::string> entries(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(ConvertCli, OutputFileKeepsItsModeAndOwner) {
  for (const mode_t mode : {0600, 0640, 0755, 0444}) {
    const std::string target = file("private.txt", "old");
    ASSERT_EQ(chmod(target.c_str(), mode), 0);
    const bool root = geteuid() == 0;
    if (root) {
      ASSERT_EQ(chown(target.c_str(), 4321, 4322), 0);
    }
    const Result r = run({"-o", target}, "namaste");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(slurp(target), "ueLrs ");
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, mode);
    if (root) {
      EXPECT_EQ(info.st_uid, 4321u);
      EXPECT_EQ(info.st_gid, 4322u);
    }
    fs::remove(target);
  }
  // A new file gets what the umask leaves of 0666.
  const mode_t mask = umask(027);
  const Result r = run({"-o", (dir_ / "new.txt").string()}, "ka");
  umask(mask);
  EXPECT_EQ(r.exitCode, 0);
  struct stat info {};
  ASSERT_EQ(stat((dir_ / "new.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(ConvertCli, OutputThroughASymbolicLinkReplacesItsTarget) {
  fs::create_directory(dir_ / "sub");
  const std::string target = file("sub/target.txt", "old");
  fs::create_symlink("sub/target.txt", dir_ / "relative");
  fs::create_symlink(dir_ / "relative", dir_ / "chain");  // a link to a link
  fs::create_symlink("sub/later.txt", dir_ / "dangling");
  struct Case {
    const char* link;
    const char* target;
    std::string input, output;
  } cases[] = {{"relative", "sub/target.txt", "namaste", "ueLrs "},
               {"chain", "sub/target.txt", "dharma", "/keZ "},
               {"dangling", "sub/later.txt", "ka", "d "}};
  for (const Case& c : cases) {
    const Result r = run({"-o", (dir_ / c.link).string()}, c.input);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(fs::is_symlink(dir_ / c.link)) << c.link;
    EXPECT_EQ(slurp(dir_ / c.target), c.output) << c.link;
  }
  EXPECT_EQ(entries(dir_ / "sub"), (std::vector<std::string>{"later.txt", "target.txt"}));
  // A loop of links is an error that touches nothing.
  fs::create_symlink("loop2", dir_ / "loop1");
  fs::create_symlink("loop1", dir_ / "loop2");
  const Result loop = run({"-o", (dir_ / "loop1").string()}, "ka");
  EXPECT_EQ(loop.exitCode, 1);
  EXPECT_NE(loop.err.find("loop1: Too many levels of symbolic links"), std::string::npos)
      << loop.err;
  EXPECT_TRUE(fs::is_symlink(dir_ / "loop1"));
}

TEST_F(ConvertCli, OutputIntoAFifoWritesStraightThrough) {
  const fs::path fifo = dir_ / "pipe";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] {
    std::ifstream in(fifo, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    received = s.str();
  });
  const Result r = run({"-o", fifo.string()}, "namaste\ndharma");
  reader.join();
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(received, "ueLrs \n/keZ ");
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_EQ(entries(dir_), std::vector<std::string>{"pipe"});
}

TEST_F(ConvertCli, OutputIntoDevicesAndStandardOutput) {
  // Standard output by name: a pipe here.
  for (const char* name : {"/dev/stdout", "/dev/fd/1", "/proc/self/fd/1"}) {
    const Result r = run({"-o", name}, "namaste");
    EXPECT_EQ(r.exitCode, 0) << name << ": " << r.err;
    EXPECT_EQ(r.out, "ueLrs ") << name;
  }
  // Standard output on a file: written through the descriptor, into the same
  // file (a rename would leave the shell's file empty).
  const std::string redirected = file("redirected.txt", "");
  struct stat before {
  }, after{};
  ASSERT_EQ(stat(redirected.c_str(), &before), 0);
  EXPECT_EQ(run({"-o", "/dev/stdout"}, "namaste", redirected.c_str()).exitCode, 0);
  ASSERT_EQ(stat(redirected.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(slurp(redirected), "ueLrs ");
  // A link of ours to standard output.
  fs::create_symlink("/dev/stdout", dir_ / "out-link");
  EXPECT_EQ(run({"-o", (dir_ / "out-link").string()}, "ka").out, "d ");

  // Devices stay devices; a write error is reported.
  EXPECT_EQ(run({"-o", "/dev/null"}, "namaste").exitCode, 0);
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  const Result full = run({"-o", "/dev/full"}, "namaste");
  EXPECT_EQ(full.exitCode, 1);
  EXPECT_NE(full.err.find("/dev/full: No space left on device"), std::string::npos) << full.err;
  EXPECT_TRUE(fs::is_character_file("/dev/full"));
  const Result stdoutFull = run({}, "namaste", "/dev/full");
  EXPECT_EQ(stdoutFull.exitCode, 1);
  EXPECT_NE(stdoutFull.err.find("standard output: No space left"), std::string::npos);
}

TEST_F(ConvertCli, FailuresLeaveTheOutputFileAsItWas) {
  const std::string target = file("out.txt", "old");
  // Invalid UTF-8 well after the first chunk, whose output is already written.
  std::string input;
  while (input.size() < 3'000'000) input += "namaste dharma\n";
  input += "\xFF";
  const Result late = run({"-o", target}, input);
  EXPECT_EQ(late.exitCode, 1);
  EXPECT_NE(late.err.find("invalid UTF-8 at byte offset 3000000"), std::string::npos) << late.err;
  EXPECT_EQ(slurp(target), "old");
  // A missing input file, after the first one was read.
  const Result missing = run({"-o", target, file("in.txt", "ka\n"), (dir_ / "gone").string()});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(slurp(target), "old");
  EXPECT_EQ(entries(dir_), (std::vector<std::string>{"in.txt", "out.txt"}));
  // A usage error opens nothing.
  EXPECT_EQ(run({"-o", (dir_ / "never.txt").string(), "--frobnicate"}).exitCode, 2);
  EXPECT_FALSE(fs::exists(dir_ / "never.txt"));
}

TEST_F(ConvertCli, AnInterruptedConversionRemovesItsTemporaryFile) {
  const std::string target = file("out.txt", "old");
  int in[2];
  ASSERT_EQ(pipe(in), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], 0);
    close(in[0]), close(in[1]);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 2);
    execl(KAVELIN_CONVERT, KAVELIN_CONVERT, "-o", target.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(in[0]);
  const std::string line = "namaste\n";
  ASSERT_EQ(write(in[1], line.data(), line.size()), static_cast<ssize_t>(line.size()));
  // The converter is waiting for more input, with its temporary file open.
  bool temporary = false;
  for (int i = 0; i < 500 && !temporary; ++i) {
    temporary = entries(dir_).size() == 2;
    if (!temporary) usleep(10'000);
  }
  EXPECT_TRUE(temporary);
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
  close(in[1]);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
  EXPECT_EQ(entries(dir_), std::vector<std::string>{"out.txt"});
  EXPECT_EQ(slurp(target), "old");
}

TEST_F(ConvertCli, ReportsCharactersThatProducedNoOutput) {
  const Result r = run({}, "caf\xC3\xA9 \xE4\xB8\xAD\xE6\x96\x87 123");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "dQ  123 ");
  EXPECT_EQ(r.err,
            "kavelin-convert: warning: 3 input characters produced no output\n"
            "kavelin-convert:   standard input:1:4: U+00E9 '\xC3\xA9'\n"
            "kavelin-convert:   standard input:1:6: U+4E2D '\xE4\xB8\xAD'\n"
            "kavelin-convert:   standard input:1:7: U+6587 '\xE6\x96\x87'\n");
  // --strict: the same report as an error, exit 1, and nothing written; a
  // target file keeps what it held.
  const Result strict = run({"--strict"}, "ka\r\nga \xF0\x9F\x98\x80\tx");
  EXPECT_EQ(strict.exitCode, 1);
  EXPECT_EQ(strict.out, "");
  EXPECT_EQ(strict.err,
            "kavelin-convert: error: 2 input characters produced no output\n"
            "kavelin-convert:   standard input:2:4: U+1F600 '\xF0\x9F\x98\x80'\n"
            "kavelin-convert:   standard input:2:5: U+0009\n");
  const std::string kept = file("kept.txt", "old");
  EXPECT_EQ(run({"--strict", "-o", kept}, "ka \xC3\xA9").exitCode, 1);
  EXPECT_EQ(slurp(kept), "old");
  const Result clean = run({"--strict"}, "namaste\n");
  EXPECT_EQ(clean.exitCode, 0);
  EXPECT_EQ(clean.out, "ueLrs \n");
  // Lines count in each file; only the first five are listed.
  const std::string a = file("a.txt", "ka\n\xC3\xA9\n");
  const std::string b = file("b.txt", "@@\r\r@@@@");
  const Result many = run({a, b});
  EXPECT_EQ(many.exitCode, 0);
  EXPECT_NE(many.err.find("warning: 7 input characters"), std::string::npos);
  EXPECT_NE(many.err.find(a + ":2:1: U+00E9"), std::string::npos) << many.err;
  EXPECT_NE(many.err.find(b + ":1:2: U+0040 '@'"), std::string::npos) << many.err;
  EXPECT_NE(many.err.find(b + ":3:2: U+0040"), std::string::npos) << many.err;
  EXPECT_EQ(many.err.find(b + ":3:3"), std::string::npos) << many.err;
  EXPECT_NE(many.err.find("(2 more)"), std::string::npos) << many.err;
  // A byte-order mark is no character of the text.
  EXPECT_EQ(run({file("bom.txt", "\xEF\xBB\xBFka")}).err, "");
}

TEST_F(ConvertCli, LargeInputMatchesTheEngine) {
  std::ifstream in(KAVELIN_CORPUS, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  std::string text;
  while (text.size() < 3'000'000) text += s.str();
  const Result r = run({file("big.txt", text)});
  ASSERT_EQ(r.exitCode, 0);
  std::u16string english;
  ASSERT_TRUE(kavelin::decodeUtf8(text, english));
  kavelin::Engine engine;
  EXPECT_EQ(r.out, kavelin::encodeUtf8(engine.e2h(kavelin::toCrLf(english))));
}

}  // namespace
