// Black-box tests of the built kavelin-convert.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "engine.h"
#include "text.h"

namespace {

namespace fs = std::filesystem;

struct Result {
  int exitCode = -1;
  std::string out;
  std::string err;
};

Result run(const std::vector<std::string>& args, const std::string& input = "") {
  // A child that exits before reading all its input must fail the case, not
  // kill the test with SIGPIPE.
  static const bool ignored = [] { return std::signal(SIGPIPE, SIG_IGN) != SIG_ERR; }();
  (void)ignored;
  int in[2], out[2], err[2];
  if (pipe(in) || pipe(out) || pipe(err)) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], 0), dup2(out[1], 1), dup2(err[1], 2);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
    std::vector<char*> argv;
    std::string program = KAVELIN_CONVERT;
    argv.push_back(program.data());
    std::vector<std::string> copy = args;
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(in[0]), close(out[1]), close(err[1]);
  std::thread writer([fd = in[1], &input] {
    std::size_t done = 0;
    while (done < input.size()) {
      const ssize_t n = write(fd, input.data() + done, input.size() - done);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    close(fd);
  });
  Result result;
  pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
  int open = 2;
  char buffer[65536];
  while (open > 0) {
    poll(fds, 2, -1);
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n <= 0) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      } else {
        (i == 0 ? result.out : result.err).append(buffer, static_cast<std::size_t>(n));
      }
    }
  }
  writer.join();
  int status = 0;
  waitpid(pid, &status, 0);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

class ConvertCli : public testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        fs::temp_directory_path() / ("kavelin-cli-" + std::to_string(getpid()) + "-" +
                                     testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string file(const std::string& name, const std::string& content) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
  }
  static std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  fs::path dir_;
};

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
  struct Case {
    std::vector<std::string> args;
    std::string input;
    int exitCode;
    std::string message;  // part of standard error
  } cases[] = {
      {{(dir_ / "missing.txt").string()}, "", 1, "missing.txt: No such file or directory"},
      {{file("bad.txt", "kaa\xC3(")}, "", 1, "bad.txt: invalid UTF-8 at byte offset 3"},
      {{}, "ok\xFF", 1, "standard input: invalid UTF-8 at byte offset 2"},
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

TEST_F(ConvertCli, HelpAndVersion) {
  const Result help = run({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("Usage: kavelin-convert [OPTIONS] [FILE...]"), std::string::npos);
  EXPECT_NE(help.out.find("--encoding"), std::string::npos);
  const Result version = run({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, std::string("kavelin-convert ") + KAVELIN_VERSION + "\n");
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
