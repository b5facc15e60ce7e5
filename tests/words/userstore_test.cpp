// SPDX-License-Identifier: GPL-3.0-or-later
// The user's word store: counts kept across a save and a load, damaged lines
// reported and skipped, and a store that cannot be written said so.
#include "userstore.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace kavelin::words {
namespace {

namespace fs = std::filesystem;

class UserStoreTest : public testing::Test {
 protected:
  void SetUp() override {
    dir =
        fs::temp_directory_path() / ("kavelin-store-" + std::to_string(getpid()) + "-" +
                                     testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  void write(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }
  std::string read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  fs::path dir;
};

TEST_F(UserStoreTest, CountsSurviveASaveAndALoad) {
  const fs::path path = dir / "a" / "b" / "words.tsv";  // folders made on save
  UserStore store(path.string());
  std::string error;
  EXPECT_TRUE(store.load(&error)) << error;  // no file yet: empty
  EXPECT_TRUE(store.words().empty());
  store.add(u"भारत");
  store.add(u"भारत", 2);
  store.add(u"नमस्ते");
  store.add(u"abc");  // not Devanagari: not kept
  store.add(u"");
  store.add(u"पानी", 0xFFFFFFFFu);
  store.add(u"पानी", 5);  // saturates
  store.forget(u"नमस्ते");
  ASSERT_TRUE(store.save(&error)) << error;
  EXPECT_EQ(read(path).substr(read(path).find('\n') + 1), "पानी\t4294967295\nभारत\t3\n");

  UserStore again(path.string());
  ASSERT_TRUE(again.load(&error)) << error;
  EXPECT_EQ(again.count(u"भारत"), 3u);
  EXPECT_EQ(again.count(u"पानी"), 0xFFFFFFFFu);
  EXPECT_EQ(again.count(u"नमस्ते"), 0u);
  EXPECT_EQ(again.words().size(), 2u);
}

TEST_F(UserStoreTest, DamagedLinesAreSkippedAndReported) {
  struct Case {
    std::string text;
    std::size_t kept;
    std::string error;  // empty when the file is sound
  } cases[] = {
      {"# comment\n\nभारत\t3\r\nपानी\t1\n", 2, ""},
      {"भारत\t3\nभारत\t4\n", 1, ""},  // a word twice: counts add up
      {"भारत 3\n", 0, "1 line is not a word and a count (the first on line 1)"},
      {"भारत\t3\nabc\t2\nपानी\t0\nजल\tx\nघर\t3x\n\xff\xfe\t1\n", 1,
       "5 lines are not a word and a count (the first on line 2)"},
  };
  for (const Case& c : cases) {
    const fs::path path = dir / "words.tsv";
    write(path, c.text);
    UserStore store(path.string());
    std::string error;
    EXPECT_EQ(store.load(&error), c.error.empty()) << c.text;
    EXPECT_EQ(store.words().size(), c.kept) << c.text;
    if (!c.error.empty()) {
      EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
  }
  UserStore twice((dir / "words.tsv").string());
  write(dir / "words.tsv", "भारत\t3\nभारत\t4\n");
  ASSERT_TRUE(twice.load(nullptr));
  EXPECT_EQ(twice.count(u"भारत"), 7u);
}

TEST_F(UserStoreTest, AStoreThatCannotBeWrittenOrReadSaysWhy) {
  // The folder is a file: nothing can be made in it (whoever runs the test).
  write(dir / "blocker", "a file");
  UserStore store((dir / "blocker" / "words.tsv").string());
  store.add(u"भारत");
  std::string error;
  EXPECT_FALSE(store.save(&error));
  EXPECT_NE(error.find("blocker"), std::string::npos) << error;

  fs::create_directories(dir / "folder.tsv");  // a folder where the file should be
  UserStore unreadable((dir / "folder.tsv").string());
  EXPECT_FALSE(unreadable.load(&error));
  EXPECT_NE(error.find("folder.tsv"), std::string::npos) << error;
}

TEST(UserStorePath, FollowsTheDataFolder) {
  const char* saved = std::getenv("XDG_DATA_HOME");
  const std::string before = saved ? saved : "";
  setenv("XDG_DATA_HOME", "/data/home", 1);
  EXPECT_EQ(UserStore::defaultPath(), "/data/home/Kavelin/words.tsv");
  setenv("XDG_DATA_HOME", "relative", 1);  // not absolute: ignored
  setenv("HOME", std::getenv("HOME") ? std::getenv("HOME") : "/root", 1);
  EXPECT_EQ(UserStore::defaultPath(),
            std::string(std::getenv("HOME")) + "/.local/share/Kavelin/words.tsv");
  if (saved) {
    setenv("XDG_DATA_HOME", before.c_str(), 1);
  } else {
    unsetenv("XDG_DATA_HOME");
  }
}

}  // namespace
}  // namespace kavelin::words
