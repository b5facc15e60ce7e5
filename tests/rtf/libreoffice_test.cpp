// SPDX-License-Identifier: GPL-3.0-or-later
// Interchange with LibreOffice: a committed file it wrote, and (where soffice
// is installed) a live round trip through ODT.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "rtf.h"
#include "rtf_test_util.h"

namespace kavelin {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// data/libreoffice.rtf: fixtureDocument() written by writeRtf, converted by
// LibreOffice to ODT and from that to RTF (see data/README).
TEST(RtfLibreOffice, FixtureLoadsExactly) {
  const std::string rtf = readFile(KAVELIN_SOURCE_DIR "/tests/rtf/data/libreoffice.rtf");
  ASSERT_FALSE(rtf.empty());
  // It is LibreOffice's own output, with the constructs the reader must skip.
  for (const char* mark :
       {"{\\*\\generator LibreOffice", "\\stylesheet", "\\colortbl", "\\pgdsctbl", "\\info"}) {
    EXPECT_NE(rtf.find(mark), std::string::npos) << mark;
  }
  EXPECT_EQ(rtftest::mustRead(rtf), rtftest::fixtureDocument());
}

// data/libreoffice-symbol.rtf: DevLys 160 as a symbol font, whose codes
// LibreOffice keeps as U+F0hh in a font it declares \fcharset0.
TEST(RtfLibreOffice, SymbolFontFixtureGivesGlyphCodes) {
  const std::string rtf = readFile(KAVELIN_SOURCE_DIR "/tests/rtf/data/libreoffice-symbol.rtf");
  ASSERT_NE(rtf.find("\\u61587"), std::string::npos);  // code 0x93 as U+F093
  RichDocument expected;
  expected.paragraphs.push_back(
      rtftest::para({rtftest::run(u"vk\u201C\u00A1\u00B7", {u"DevLys 160"}),
                     rtftest::run(u" Arial", {u"Arial"})}));
  EXPECT_EQ(rtftest::mustRead(rtf), expected);
}

// A temporary folder removed at the end of the test.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "kavelin-rtf-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
  }
  ~TempDir() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

bool haveSoffice() { return std::system("command -v soffice >/dev/null 2>&1") == 0; }

// Converts `input` with soffice into `format` in `outDir`, with a private
// profile in `profile`; returns the converted file's path or empty.
fs::path convert(const fs::path& input, const std::string& format, const fs::path& outDir,
                 const fs::path& profile) {
  const std::string cmd = "timeout 300 soffice -env:UserInstallation=file://" + profile.string() +
                          " --headless --convert-to '" + format + "' --outdir '" + outDir.string() +
                          "' '" + input.string() + "' >/dev/null 2>&1";
  if (std::system(cmd.c_str()) != 0) return {};
  const std::string ext = format.substr(0, format.find(':'));
  fs::path out = outDir / input.filename();
  out.replace_extension(ext);
  return fs::exists(out) ? out : fs::path();
}

TEST(RtfLibreOffice, RoundTripThroughOdt) {
  if (!haveSoffice()) GTEST_SKIP() << "soffice is not on PATH";
  TempDir tmp;
  ASSERT_FALSE(tmp.path().empty());
  const fs::path profile = tmp.path() / "profile";
  fs::create_directories(tmp.path() / "odt");
  fs::create_directories(tmp.path() / "rtf");
  fs::create_directories(tmp.path() / "txt");

  const RichDocument doc = rtftest::fixtureDocument();
  const fs::path source = tmp.path() / "doc.rtf";
  {
    std::ofstream out(source, std::ios::binary);
    out << writeRtf(doc);
  }
  const fs::path odt = convert(source, "odt", tmp.path() / "odt", profile);
  ASSERT_FALSE(odt.empty()) << "soffice could not convert our RTF to ODT";
  const fs::path back = convert(odt, "rtf", tmp.path() / "rtf", profile);
  ASSERT_FALSE(back.empty()) << "soffice could not convert the ODT to RTF";
  EXPECT_EQ(rtftest::mustRead(readFile(back)), doc);

  // The plain text LibreOffice sees in our file: one line per paragraph.
  const fs::path txt = convert(odt, "txt:Text (encoded):UTF8", tmp.path() / "txt", profile);
  ASSERT_FALSE(txt.empty()) << "soffice could not convert the ODT to text";
  std::istringstream lines(readFile(txt));
  std::string line;
  std::getline(lines, line);
  if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  EXPECT_EQ(line, "Kavelin fixture");
}

}  // namespace
}  // namespace kavelin
