// SPDX-License-Identifier: GPL-3.0-or-later
// The program's command line and the display check, read before Qt starts;
// and the built program started without a display.
#include "startoptions.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#ifdef KAVELIN_PROGRAM
#include <filesystem>

#include "harness.h"
#endif

namespace kavelin {
namespace {

using Action = StartOptions::Action;

StartOptions parse(std::vector<const char*> args) {
  args.insert(args.begin(), "kavelin");
  return parseStartOptions(static_cast<int>(args.size()), args.data());
}

TEST(StartOptionsTest, ReadsTheCommandLine) {
  struct Case {
    std::vector<const char*> args;
    Action action;
    std::vector<std::string> files;
    std::vector<std::string> qtArgs;
    std::string error;
  } cases[] = {
      {{}, Action::kRun, {}, {}, ""},
      {{"a.txt", "b.rtf"}, Action::kRun, {"a.txt", "b.rtf"}, {}, ""},
      {{"-V"}, Action::kVersion, {}, {}, ""},
      {{"-v"}, Action::kVersion, {}, {}, ""},
      {{"--version", "x.txt"}, Action::kVersion, {"x.txt"}, {}, ""},
      {{"-h"}, Action::kHelp, {}, {}, ""},
      {{"--help", "-V"}, Action::kHelp, {}, {}, ""},  // the first one wins
      {{"-?"}, Action::kHelp, {}, {}, ""},
      {{"--help-all"}, Action::kHelpAll, {}, {}, ""},
      {{"--", "-V", "--help"}, Action::kRun, {"-V", "--help"}, {}, ""},
      {{"-", ""}, Action::kRun, {"-", ""}, {}, ""},
      {{"-platform", "offscreen", "x.txt"},
       Action::kRun,
       {"x.txt"},
       {"-platform", "offscreen"},
       ""},
      {{"--style=fusion", "-reverse"}, Action::kRun, {}, {"-style", "fusion", "-reverse"}, ""},
      {{"-display", ":1"}, Action::kRun, {}, {"-display", ":1"}, ""},
      {{"--bogus"}, Action::kUsageError, {}, {}, "unknown option '--bogus'"},
      {{"-x"}, Action::kUsageError, {}, {}, "unknown option '-x'"},
      {{"-reverse=1"}, Action::kUsageError, {}, {}, "unknown option '-reverse=1'"},
      {{"a.txt", "-style"}, Action::kUsageError, {"a.txt"}, {}, "option '-style' needs a value"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::vector<std::string>(c.args.begin(), c.args.end())));
    const StartOptions o = parse(c.args);
    EXPECT_EQ(o.action, c.action);
    EXPECT_EQ(o.files, c.files);
    EXPECT_EQ(o.qtArgs, c.qtArgs);
    EXPECT_EQ(o.error, c.error);
  }
  EXPECT_EQ(parse({"-platform", "xcb"}).platform, "xcb");
  EXPECT_TRUE(parse({"--show-readme"}).showReadme);
  EXPECT_FALSE(parse({}).showReadme);
}

TEST(StartOptionsTest, FindsAMissingDisplay) {
  auto answers = [](bool yes) { return [yes](const std::string&) { return yes; }; };
  struct Case {
    const char* platform;
    const char* display;
    const char* wayland;
    std::function<bool(const std::string&)> canOpenX;
    const char* says;  // part of the message, or empty when the window can open
  } cases[] = {
      {"", "", "", nullptr, "DISPLAY is not set"},
      {"", ":0", "", answers(true), ""},
      {"", ":0", "", nullptr, ""},
      {"", ":99", "", answers(false), "cannot open the display ':99'"},
      {"", "", "wayland-0", nullptr, ""},
      {"xcb", "", "wayland-0", nullptr, "DISPLAY is not set"},
      {"xcb:nograb", ":0", "", answers(true), ""},
      {"wayland", ":0", "", answers(true), "WAYLAND_DISPLAY is not set"},
      {"offscreen", "", "", nullptr, ""},
      {"minimal", "", "", nullptr, ""},
      {"xcb;offscreen", "", "", nullptr, ""},
      {"wayland;xcb", ":5", "", answers(false), "cannot open the display ':5'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.platform) + " | " + c.display + " | " + c.wayland);
    const std::string message = missingDisplay({c.platform, c.display, c.wayland, c.canOpenX});
    if (*c.says == '\0') {
      EXPECT_EQ(message, "");
    } else {
      EXPECT_NE(message.find(c.says), std::string::npos) << message;
      EXPECT_NE(message.find("kavelin-convert"), std::string::npos) << message;
    }
  }
}

TEST(StartOptionsTest, WritingFailsOnAFullDevice) {
  std::FILE* full = std::fopen("/dev/full", "w");
  ASSERT_NE(full, nullptr);
  EXPECT_FALSE(writeAll(full, startHelpText(false)));
  std::fclose(full);
  std::FILE* sink = std::fopen("/dev/null", "w");
  ASSERT_NE(sink, nullptr);
  EXPECT_TRUE(writeAll(sink, startHelpText(true)));
  std::fclose(sink);
}

#ifdef KAVELIN_PROGRAM
// No display: DISPLAY and WAYLAND_DISPLAY unset, Qt's default platform.
const test::Environment kNoDisplay = {
    {"DISPLAY", nullptr}, {"WAYLAND_DISPLAY", nullptr}, {"QT_QPA_PLATFORM", nullptr}};

TEST(StartOptionsTest, TheProgramAnswersWithoutADisplay) {
  const std::string version = std::string("kavelin ") + KAVELIN_VERSION + "\n";
  struct Case {
    std::vector<std::string> args;
    test::Environment env;
    int exitCode;
    std::string outStart;
    std::string errHas;
  } cases[] = {
      {{}, kNoDisplay, 1, "", "DISPLAY is not set"},
      {{"notes.txt"}, kNoDisplay, 1, "", "kavelin-convert"},
      {{"-V"}, kNoDisplay, 0, version, ""},
      {{"-v"}, kNoDisplay, 0, version, ""},
      {{"--version"}, kNoDisplay, 0, version, ""},
      {{"--help"}, kNoDisplay, 0, "Usage: kavelin [options] [files...]\n", ""},
      {{"--bogus"}, kNoDisplay, 2, "", "unknown option '--bogus'"},
      {{"-V", "--bogus"}, kNoDisplay, 2, "", "Try 'kavelin --help'"},
      {{},
       {{"DISPLAY", ":97"}, {"WAYLAND_DISPLAY", nullptr}, {"QT_QPA_PLATFORM", "xcb"}},
       1,
       "",
       "cannot open the display ':97'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    const test::Result r = test::runProgram(KAVELIN_PROGRAM, c.args, "", nullptr, c.env);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
    EXPECT_EQ(r.out.substr(0, c.outStart.size()), c.outStart);
    EXPECT_NE(r.err.find(c.errHas), std::string::npos) << r.err;
  }
}

TEST(StartOptionsTest, BothProgramsSayTheirLicenceAndFailOnAFullDevice) {
  for (const std::string program : {KAVELIN_PROGRAM, KAVELIN_CONVERT}) {
    SCOPED_TRACE(program);
    const test::Result version = test::runProgram(program, {"-V"}, "", nullptr, kNoDisplay);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_NE(version.out.find("GPL-3.0-or-later"), std::string::npos) << version.out;
    for (const char* option : {"--help", "--version"}) {
      const test::Result full = test::runProgram(program, {option}, "", "/dev/full", kNoDisplay);
      EXPECT_NE(full.exitCode, 0) << option;
    }
  }
}
#endif

}  // namespace
}  // namespace kavelin
