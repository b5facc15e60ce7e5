// SPDX-License-Identifier: GPL-3.0-or-later
// Batches of files: which files are taken, the numbered names that keep
// existing files, and the queue's order, reports, failures and cancelling.
#include "batch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "doc_test_util.h"

namespace kavelin::batch {
namespace {

namespace fs = std::filesystem;
using doctest::slurp;
using doctest::spit;

TEST(Batch, AcceptsTextRtfDocxAndOdtInAnyCase) {
  const struct {
    const char* path;
    bool accepted;
  } cases[] = {
      {"a.txt", true},       {"/x/y/B.RTF", true}, {"letter.Docx", true}, {"c.odt", true},
      {"a.doc", false},      {"a.pdf", false},     {"docx", false},       {".docx", false},
      {"a.docx.bak", false}, {"dir.odt/a", false}, {"a.", false},         {"a.tx", false},
  };
  for (const auto& c : cases) EXPECT_EQ(isAccepted(c.path), c.accepted) << c.path;
}

TEST(Batch, FreeNamesAreNumberedAfterTheStem) {
  const struct {
    std::string name;
    std::set<std::string> taken;
    std::string expected;
  } cases[] = {
      {"letter.docx", {}, "letter.docx"},
      {"letter.docx", {"letter.docx"}, "letter (2).docx"},
      {"letter.docx", {"letter.docx", "letter (2).docx"}, "letter (3).docx"},
      // a gap is filled
      {"letter.docx", {"letter.docx", "letter (3).docx"}, "letter (2).docx"},
      {"a.b.rtf", {"a.b.rtf"}, "a.b (2).rtf"},
      {"README", {"README"}, "README (2)"},
      {".profile", {".profile"}, ".profile (2)"},
      {"letter (2).docx", {"letter (2).docx"}, "letter (2) (2).docx"},
      {"पत्र.odt", {"पत्र.odt"}, "पत्र (2).odt"},
      // only the exact name counts as taken
      {"Letter.docx", {"letter.docx"}, "Letter.docx"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(freeName(c.name, [&](const std::string& n) { return c.taken.count(n) != 0; }),
              c.expected)
        << c.name;
  }
  std::set<std::string> many = {"x.txt"};
  for (int i = 2; i < 120; ++i) many.insert("x (" + std::to_string(i) + ").txt");
  EXPECT_EQ(freeName("x.txt", [&](const std::string& n) { return many.count(n) != 0; }),
            "x (120).txt");
}

TEST(Batch, DefaultOutputFolderIsBesideTheFirstFile) {
  EXPECT_EQ(defaultOutputFolder("/home/u/letters/a.docx"), "/home/u/letters/converted");
  EXPECT_EQ(defaultOutputFolder("a.docx"), "converted");
}

TEST(Batch, FolderGivesItsAcceptedFilesSorted) {
  doctest::TempDir tmp;
  for (const char* name : {"b.rtf", "a.TXT", "c.docx", "notes.pdf", "d.odt", "e.doc"}) {
    spit(tmp.path() / name, "x");
  }
  fs::create_directory(tmp.path() / "sub.txt");
  spit(tmp.path() / "sub.txt" / "inner.txt", "x");
  std::string error;
  const std::vector<std::string> files = acceptedFilesIn(tmp.path().string(), error);
  std::vector<std::string> names;
  for (const std::string& f : files) names.push_back(fs::path(f).filename().string());
  EXPECT_EQ(names, (std::vector<std::string>{"a.TXT", "b.rtf", "c.docx", "d.odt"}));
  EXPECT_EQ(error, "");

  EXPECT_TRUE(acceptedFilesIn((tmp.path() / "missing").string(), error).empty());
  EXPECT_NE(error.find("missing"), std::string::npos) << error;
}

// A DOCX with one paragraph in the legacy font.
std::string glyphDocx(const std::string& glyphs) {
  const std::string types =
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
      "<Default Extension=\"rels\" ContentType=\"application/"
      "vnd.openxmlformats-package.relationships+xml\"/><Override PartName=\"/word/document.xml\" "
      "ContentType=\"application/"
      "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>";
  const std::string rels =
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
      "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
      "relationships/officeDocument\" Target=\"word/document.xml\"/></Relationships>";
  const std::string document =
      "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
      "<w:body><w:p><w:r><w:rPr><w:rFonts w:ascii=\"DevLys 160\" w:hAnsi=\"DevLys 160\"/>"
      "</w:rPr><w:t>" +
      glyphs + "</w:t></w:r></w:p></w:body></w:document>";
  return doctest::makeZip(
      {{"[Content_Types].xml", types}, {"_rels/.rels", rels}, {"word/document.xml", document}});
}

struct Record {
  std::vector<std::string> events;  // "start 0", "done 0", in order
  std::vector<Outcome> outcomes;
  std::size_t finished = 0;
  std::string error;
};

Record runQueue(Queue& queue, std::size_t cancelAfter = SIZE_MAX) {
  Record r;
  Events events;
  events.started = [&](std::size_t i) { r.events.push_back("start " + std::to_string(i)); };
  events.finished = [&](const Outcome& o) {
    r.events.push_back("done " + std::to_string(o.index));
    r.outcomes.push_back(o);
    if (r.outcomes.size() == cancelAfter) queue.cancel();
  };
  r.finished = queue.run(events, r.error);
  return r;
}

TEST(BatchQueue, ConvertsEachFileInItsFormatWithoutTouchingTheOriginals) {
  doctest::TempDir tmp;
  const fs::path in = tmp.path() / "in";
  fs::create_directory(in);
  const std::string docx = glyphDocx("ueLrs");
  spit(in / "a.txt", "ueLrs] nqfu;kA\n");
  spit(in / "b.docx", docx);
  spit(in / "c.rtf", "{\\rtf1{\\fonttbl{\\f0 DevLys 160;}}\\f0 ueLrs\\par}");
  const fs::path out = tmp.path() / "out" / "deeper";  // made as needed
  Queue queue({(in / "a.txt").string(), (in / "b.docx").string(), (in / "c.rtf").string()},
              out.string(), FileRequest{});
  const Record r = runQueue(queue);
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(r.finished, 3u);
  EXPECT_EQ(r.events, (std::vector<std::string>{"start 0", "done 0", "start 1", "done 1", "start 2",
                                                "done 2"}));
  for (const Outcome& o : r.outcomes) {
    EXPECT_TRUE(o.result.ok) << o.input << ": " << o.result.error;
    EXPECT_EQ(o.result.unconverted, 0u) << o.input;
    EXPECT_EQ(fs::path(o.output).parent_path(), out);
    EXPECT_EQ(fs::path(o.output).filename(), fs::path(o.input).filename());
  }
  EXPECT_EQ(slurp(out / "a.txt"), "नमस्ते, दुनिया।\n");
  EXPECT_EQ(slurp(in / "a.txt"), "ueLrs] nqfu;kA\n");
  EXPECT_EQ(slurp(in / "b.docx"), docx);
  const std::string rtf = slurp(out / "c.rtf");
  EXPECT_EQ(rtf.rfind("{\\rtf", 0), 0u) << rtf;
  const auto entries = doctest::readZip(slurp(out / "b.docx"));
  bool found = false;
  for (const auto& [name, entry] : entries) {
    if (name == "word/document.xml") {
      found = entry.data.find("नमस्ते") != std::string::npos;
    }
  }
  EXPECT_TRUE(found);
}

TEST(BatchQueue, NeverWritesOverAnExistingFile) {
  doctest::TempDir tmp;
  const fs::path dir = tmp.path();
  spit(dir / "a.txt", "d");
  spit(dir / "a (2).txt", "kept");
  fs::create_directory(dir / "sub");
  spit(dir / "sub" / "a.txt", "[k");
  // The output folder is the inputs' own: every name is taken at first, and
  // each file written takes its name from the next.
  Queue queue({(dir / "a.txt").string(), (dir / "sub" / "a.txt").string()}, dir.string(),
              FileRequest{});
  const Record r = runQueue(queue);
  ASSERT_EQ(r.outcomes.size(), 2u);
  EXPECT_EQ(fs::path(r.outcomes[0].output).filename(), "a (3).txt");
  EXPECT_EQ(fs::path(r.outcomes[1].output).filename(), "a (4).txt");
  EXPECT_EQ(slurp(dir / "a.txt"), "d");
  EXPECT_EQ(slurp(dir / "a (2).txt"), "kept");
  EXPECT_EQ(slurp(dir / "a (3).txt"), "क");
  EXPECT_EQ(slurp(dir / "a (4).txt"), "ख");
  EXPECT_EQ(slurp(dir / "sub" / "a.txt"), "[k");
}

TEST(BatchQueue, ReportsFailuresAndLeftCharactersPerFileAndGoesOn) {
  doctest::TempDir tmp;
  const fs::path dir = tmp.path();
  spit(dir / "left.txt", "कङ");
  spit(dir / "damaged.docx", "PK\x03\x04 no zip");
  spit(dir / "fine.txt", "क");
  FileRequest toGlyphs;
  toGlyphs.toUnicode = false;
  Queue queue({(dir / "left.txt").string(), (dir / "missing.odt").string(),
               (dir / "damaged.docx").string(), (dir / "fine.txt").string()},
              (dir / "out").string(), toGlyphs);
  const Record r = runQueue(queue);
  EXPECT_EQ(r.finished, 4u);
  ASSERT_EQ(r.outcomes.size(), 4u);
  EXPECT_TRUE(r.outcomes[0].result.ok);
  EXPECT_EQ(r.outcomes[0].result.unconverted, 1u);
  const struct {
    std::size_t index;
    std::string message;
  } failures[] = {{1, "missing.odt: cannot read the file"}, {2, "not a zip package"}};
  for (const auto& f : failures) {
    const Outcome& o = r.outcomes[f.index];
    EXPECT_FALSE(o.result.ok) << o.input;
    EXPECT_EQ(o.output, "") << o.input;
    EXPECT_NE(o.result.error.find(f.message), std::string::npos) << o.result.error;
  }
  EXPECT_TRUE(r.outcomes[3].result.ok);
  EXPECT_EQ(slurp(dir / "out" / "fine.txt"), "d");
  std::vector<std::string> written;
  for (const auto& e : fs::directory_iterator(dir / "out")) {
    written.push_back(e.path().filename().string());
  }
  std::sort(written.begin(), written.end());
  EXPECT_EQ(written, (std::vector<std::string>{"fine.txt", "left.txt"}));
}

TEST(BatchQueue, CancelStopsAfterTheCurrentFile) {
  doctest::TempDir tmp;
  std::vector<std::string> inputs;
  for (const char* name : {"1.txt", "2.txt", "3.txt", "4.txt"}) {
    spit(tmp.path() / name, "d");
    inputs.push_back((tmp.path() / name).string());
  }
  for (std::size_t cancelAfter : {1u, 3u}) {
    const fs::path out = tmp.path() / ("out" + std::to_string(cancelAfter));
    Queue queue(inputs, out.string(), FileRequest{});
    const Record r = runQueue(queue, cancelAfter);
    EXPECT_TRUE(queue.cancelled());
    EXPECT_EQ(r.finished, cancelAfter);
    for (std::size_t i = 0; i < inputs.size(); ++i) {
      EXPECT_EQ(fs::exists(out / fs::path(inputs[i]).filename()), i < cancelAfter) << i;
    }
  }
  // Cancelled before it starts: nothing is read, nothing is written.
  Queue queue(inputs, (tmp.path() / "none").string(), FileRequest{});
  queue.cancel();
  const Record r = runQueue(queue);
  EXPECT_EQ(r.finished, 0u);
  EXPECT_TRUE(r.events.empty());
}

TEST(BatchQueue, AnOutputFolderThatCannotBeMadeStopsTheBatchBeforeAnyFile) {
  doctest::TempDir tmp;
  spit(tmp.path() / "a.txt", "d");
  spit(tmp.path() / "file", "x");
  for (const fs::path& out : {tmp.path() / "file", tmp.path() / "file" / "below"}) {
    Queue queue({(tmp.path() / "a.txt").string()}, out.string(), FileRequest{});
    const Record r = runQueue(queue);
    EXPECT_EQ(r.finished, 0u);
    EXPECT_TRUE(r.events.empty());
    EXPECT_EQ(r.error.rfind(out.string() + ": ", 0), 0u) << r.error;
  }
  EXPECT_EQ(slurp(tmp.path() / "file"), "x");
}

}  // namespace
}  // namespace kavelin::batch
