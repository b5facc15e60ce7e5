// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: reading and editing sections and keys in place.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "inifile.h"
#include "renames.h"
#include "filesizelimit.h"

namespace kavelin {
namespace {

namespace fs = std::filesystem;

class IniFile : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("kavelin-ini-" + std::to_string(getpid()) + "-" +
            testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    path_ = (dir_ / "settings.ini").string();
  }
  void TearDown() override {
    fs::permissions(dir_, fs::perms::owner_all);
    fs::remove_all(dir_);
  }
  void write(const std::string& content) { std::ofstream(path_, std::ios::binary) << content; }
  std::string read() const {
    std::ifstream in(path_, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  fs::path dir_;
  std::string path_;
};

TEST_F(IniFile, Reading) {
  write(
      "; a comment\r\n"
      "[Other]\r\n"
      "FontName=Wrong\r\n"
      "[ hindi box ]\r\n"
      "fontname =  Arial  \r\n"
      "FontSize=14.25\r\n"
      "Quoted=\"  spaced  \"\r\n"
      "Single='x'\r\n"
      "Half=\"open\r\n"
      "Empty=\r\n"
      ";FontSize=99\r\n"
      "[Next]\r\n"
      "Key=v\r\n");
  struct Case {
    const char* section;
    const char* key;
    const char* value;
  } cases[] = {
      {"Hindi Box", "FontName", "Arial"},      // case and spaces do not matter
      {"HINDI BOX", "FONTSIZE", "14.25"},
      {"Hindi Box", "Quoted", "  spaced  "},    // one pair of quotes goes
      {"Hindi Box", "Single", "x"},
      {"Hindi Box", "Half", "\"open"},
      {"Hindi Box", "Empty", ""},
      {"Hindi Box", "Key", "Not available"},   // in the next section only
      {"Hindi Box", "Missing", "Not available"},
      {"Hindi", "FontName", "Not available"},
      {"Other", "FontName", "Wrong"},
      {"Next", "Key", "v"},
  };
  for (const Case& c : cases) EXPECT_EQ(GetIni(c.section, c.key, path_), c.value) << c.key;
  EXPECT_EQ(GetIni("Hindi Box", "FontName", (dir_ / "none.ini").string()), "Not available");
}

TEST_F(IniFile, LongValuesAreCutTo254Characters) {
  const std::string value(300, 'x');
  write("[Hindi Box]\nFontName=" + value + "\n");
  EXPECT_EQ(GetIni("Hindi Box", "FontName", path_), value.substr(0, 254));
  write("[Hindi Box]\nFontName=" + value.substr(0, 254) + "\n");
  EXPECT_EQ(GetIni("Hindi Box", "FontName", path_).size(), 254u);
}

TEST_F(IniFile, FirstWriteCreatesTheFileAndSection) {
  ASSERT_TRUE(WriteIni("Hindi Box", "FontName", "Arial", path_));
  ASSERT_TRUE(WriteIni("Hindi Box", "FontSize", "12", path_));
  EXPECT_EQ(read(), "[Hindi Box]\nFontName=Arial\nFontSize=12\n");
  EXPECT_EQ(GetIni("hindi box", "fontsize", path_), "12");
}

TEST_F(IniFile, WritingKeepsEverythingElse) {
  const std::string before =
      "; settings\r\n"
      "[Other]\r\n"
      "A = 1\r\n"
      "\r\n"
      "[HINDI BOX]\r\n"
      "fontname=Old\r\n"
      "; note\r\n"
      "Extra = kept\r\n"
      "\r\n"
      "[Last]\r\n"
      "B=2";
  write(before);
  ASSERT_TRUE(WriteIni("Hindi Box", "FontName", "Arial", path_));
  ASSERT_TRUE(WriteIni("Hindi Box", "FontSize", "14.25", path_));
  ASSERT_TRUE(WriteIni("Fresh", "K", "v", path_));
  EXPECT_EQ(read(),
            "; settings\r\n"
            "[Other]\r\n"
            "A = 1\r\n"
            "\r\n"
            "[HINDI BOX]\r\n"
            "FontName=Arial\r\n"
            "; note\r\n"
            "Extra = kept\r\n"
            "FontSize=14.25\r\n"
            "\r\n"
            "[Last]\r\n"
            "B=2\r\n"
            "[Fresh]\r\n"
            "K=v\r\n");
}

TEST_F(IniFile, FailedWritesAreReported) {
  std::string error;
  EXPECT_FALSE(WriteIni("Hindi Box", "FontName", "Arial", (dir_ / "no/dir/s.ini").string(), &error));
  EXPECT_FALSE(error.empty());
  if (geteuid() != 0) {  // root may write anywhere
    write("[Hindi Box]\nFontName=Old\n");
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    error.clear();
    EXPECT_FALSE(WriteIni("Hindi Box", "FontName", "Arial", path_, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(GetIni("Hindi Box", "FontName", path_), "Old");
  }
}

}  // namespace
}  // namespace kavelin

namespace kavelin {
namespace {

TEST_F(IniFile, WritingKeepsTheFileModeAndALinkToIt) {
  write("[Hindi Box]\nFontName=Old\n");
  ASSERT_EQ(chmod(path_.c_str(), 0600), 0);
  const fs::path link = dir_ / "link.ini";
  fs::create_symlink("settings.ini", link);
  std::string error;
  ASSERT_TRUE(WriteIni("Hindi Box", "FontSize", "14", link.string(), &error)) << error;
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(read(), "[Hindi Box]\nFontName=Old\nFontSize=14\n");
  struct stat info {};
  ASSERT_EQ(stat(path_.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
  // Nothing else is left in the folder.
  int entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_)) ++entries;
  EXPECT_EQ(entries, 2);
}

}  // namespace
}  // namespace kavelin

namespace kavelin {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

TEST_F(IniFile, SeveralKeysAreReadFromOneReading) {
  write("[Other]\nFontName=Wrong\n[hindi box]\nfontsize = 12\nFontName=\"Arial\"\n");
  using Values = std::vector<std::optional<std::string>>;
  EXPECT_EQ(FindIni("Hindi Box", {"FontName", "FontSize", "Missing"}, path_),
            (Values{"Arial", "12", std::nullopt}));
  EXPECT_EQ(FindIni("None", {"FontName", "FontSize"}, path_), (Values{std::nullopt, std::nullopt}));
  EXPECT_EQ(FindIni("Hindi Box", {"FontName"}, (dir_ / "none.ini").string()), Values{std::nullopt});
}

// Several keys at once give the bytes that writing them one by one gives, on
// any kind of file.
TEST_F(IniFile, SeveralKeysWriteAsOneByOne) {
  const std::string files[] = {
      "",
      "[Hindi Box]\r\nFontSize=10\r\n",
      "[hindi box]\nfontname=Old\n\n[Next]\nK=v",
      "; only a comment",
      "[Hindi Box]\nExtra=1\n\n\n",
      "[Other]\nFontName=Wrong\n",
  };
  const Entries entries = {{"FontName", "Lohit Devanagari"}, {"FontSize", "14.25"}};
  for (const std::string& file : files) {
    write(file);
    for (const auto& [key, value] : entries) ASSERT_TRUE(WriteIni("Hindi Box", key, value, path_));
    const std::string oneByOne = read();
    write(file);
    ASSERT_TRUE(WriteIni("Hindi Box", entries, path_));
    EXPECT_EQ(read(), oneByOne) << file;
  }
}

TEST_F(IniFile, SeveralKeysAreWrittenInOneReplacementOfTheFile) {
  write("[Hindi Box]\nFontName=Old\nFontSize=10\n");
  test::RenameWatch watch(dir_.string());
  ASSERT_TRUE(watch.watching());
  ASSERT_TRUE(WriteIni("Hindi Box", {{"FontName", "Arial"}, {"FontSize", "14.25"}}, path_));
  EXPECT_EQ(watch.renamed(), std::vector<std::string>{"settings.ini"});
  EXPECT_EQ(read(), "[Hindi Box]\nFontName=Arial\nFontSize=14.25\n");
  // One by one, each key replaces the file.
  ASSERT_TRUE(WriteIni("Hindi Box", "FontName", "B", path_));
  ASSERT_TRUE(WriteIni("Hindi Box", "FontSize", "9", path_));
  EXPECT_EQ(watch.renamed().size(), 2u);
}

TEST_F(IniFile, APairThatCannotBeWrittenLeavesTheOldPair) {
  const std::string before = "[Hindi Box]\nFontName=Old\nFontSize=10\n";
  write(before);
  // Room for the new name, not for the new name with the new size.
  const Entries pair = {{"FontName", "New"}, {"FontSize", std::string(100, '1')}};
  {
    const test::FileSizeLimit limit(64);
    std::string error;
    EXPECT_FALSE(WriteIni("Hindi Box", pair, path_, &error));
    EXPECT_EQ(error, "File too large");
  }
  EXPECT_EQ(read(), before);
  int entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_)) ++entries;
  EXPECT_EQ(entries, 1);  // no temporary file left
  // One by one, the name would get through without its size.
  {
    const test::FileSizeLimit limit(64);
    EXPECT_TRUE(WriteIni("Hindi Box", pair[0].first, pair[0].second, path_));
    EXPECT_FALSE(WriteIni("Hindi Box", pair[1].first, pair[1].second, path_));
  }
  EXPECT_EQ(read(), "[Hindi Box]\nFontName=New\nFontSize=10\n");
}

}  // namespace
}  // namespace kavelin
