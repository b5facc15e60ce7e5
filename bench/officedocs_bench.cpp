// SPDX-License-Identifier: GPL-3.0-or-later
// A 100-page DOCX and ODT both ways: about 300 KB of document XML, each
// paragraph a run of glyph codes in DevLys 160 split in two (as word
// processors split runs), then an English run. doc_KB is the package's
// uncompressed XML; peak_rss_MB is the process's high-water mark, and
// rss_growth_MB how much the conversions added to it (run one case alone to
// read it for that case).
// The conversion's own memory is counted by the malloc of heapcount.h, which
// sees every allocation: C++ objects, and libzip's, zlib's and Expat's
// buffers. peak_heap_KB is the most one conversion held at once, its output
// included, and heap_per_doc that peak over doc_KB (the aim: under 10).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <zip.h>

#include <string>
#include <utility>
#include <vector>

#include "corpus.h"
#include "documents.h"
#include "heapcount.h"
#include "text.h"

namespace {

double peakRssMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

std::string xmlEscape(const std::string& s) {
  std::string out;
  for (char c : s) {
    out += c == '&'   ? std::string("&amp;")
           : c == '<' ? std::string("&lt;")
           : c == '>' ? std::string("&gt;")
                      : std::string(1, c);
  }
  return out;
}

std::string zipOf(const std::vector<std::pair<std::string, std::string>>& entries) {
  zip_error_t ze;
  zip_error_init(&ze);
  zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &ze);
  zip_t* z = zip_open_from_source(target, ZIP_TRUNCATE, &ze);
  zip_source_keep(target);
  for (const auto& [name, bytes] : entries) {
    zip_file_add(z, name.c_str(), zip_source_buffer(z, bytes.data(), bytes.size(), 0), 0);
  }
  zip_close(z);
  zip_stat_t st;
  zip_source_open(target);
  zip_source_stat(target, &st);
  std::string out(st.size, '\0');
  zip_source_read(target, out.data(), st.size);
  zip_source_close(target);
  zip_source_free(target);
  zip_error_fini(&ze);
  return out;
}

// The uncompressed size of a package's entries.
std::size_t unzippedSize(const std::string& bytes) {
  zip_error_t ze;
  zip_error_init(&ze);
  zip_source_t* src = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &ze);
  zip_t* z = zip_open_from_source(src, ZIP_RDONLY, &ze);
  zip_error_fini(&ze);
  std::size_t total = 0;
  for (zip_int64_t i = 0; z && i < zip_get_num_entries(z, 0); ++i) {
    zip_stat_t st;
    if (zip_stat_index(z, static_cast<zip_uint64_t>(i), 0, &st) == 0) total += st.size;
  }
  if (z) zip_discard(z);
  return total;
}

// The corpus's lines of glyph codes, XML-escaped.
std::vector<std::string> glyphLines() {
  const kavelin::GlyphString& glyphs = kavelin::bench::corpusGlyphs();
  std::vector<std::string> lines;
  std::size_t begin = 0;
  const std::string all = kavelin::encodeUtf8(glyphs);
  while (begin < all.size()) {
    std::size_t end = all.find('\n', begin);
    if (end == std::string::npos) end = all.size();
    if (end - begin > 8) lines.push_back(xmlEscape(all.substr(begin, end - begin)));
    begin = end + 1;
  }
  return lines;
}

// The document, and the size of its XML.
std::pair<std::string, std::size_t> hundredPagesDocx() {
  const std::vector<std::string> lines = glyphLines();
  std::string body;
  const std::string rPr =
      "<w:rPr><w:rFonts w:ascii=\"DevLys 160\" w:hAnsi=\"DevLys 160\"/>"
      "<w:sz w:val=\"28\"/></w:rPr>";
  for (std::size_t i = 0; body.size() < 300000 && !lines.empty(); ++i) {
    const std::string& line = lines[i % lines.size()];
    const std::size_t half = line.size() / 2;  // may split a word
    body += "<w:p><w:r w:rsidR=\"00A1\">" + rPr + "<w:t xml:space=\"preserve\">" +
            line.substr(0, half) + "</w:t></w:r><w:proofErr w:type=\"spellStart\"/>" +
            "<w:r w:rsidR=\"00B2\">" + rPr + "<w:t xml:space=\"preserve\">" + line.substr(half) +
            "</w:t></w:r><w:r><w:t xml:space=\"preserve\"> page " + std::to_string(i / 40 + 1) +
            "</w:t></w:r></w:p>";
  }
  const std::string ns = "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"";
  const std::string document =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<w:document " +
      ns + "><w:body>" + body + "</w:body></w:document>";
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
  return {
      zipOf(
          {{"[Content_Types].xml", types}, {"_rels/.rels", rels}, {"word/document.xml", document}}),
      types.size() + rels.size() + document.size()};
}

// The same text as ODT: the glyph runs in a span style of the legacy font.
std::pair<std::string, std::size_t> hundredPagesOdt() {
  const std::vector<std::string> lines = glyphLines();
  std::string body;
  for (std::size_t i = 0; body.size() < 300000 && !lines.empty(); ++i) {
    const std::string& line = lines[i % lines.size()];
    const std::size_t half = line.size() / 2;
    body += "<text:p text:style-name=\"P1\"><text:span text:style-name=\"T1\">" +
            line.substr(0, half) + "</text:span><text:span text:style-name=\"T2\">" +
            line.substr(half) + "</text:span> page " + std::to_string(i / 40 + 1) + "</text:p>";
  }
  const std::string ns =
      " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
      " xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\""
      " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
      " xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\""
      " xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\" "
      "office:version=\"1.2\"";
  const std::string faces =
      "<office:font-face-decls><style:font-face style:name=\"DevLys 160\" "
      "svg:font-family=\"'DevLys 160'\"/></office:font-face-decls>";
  const std::string content =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-content" + ns + ">" + faces +
      "<office:automatic-styles><style:style style:name=\"P1\" style:family=\"paragraph\"/>"
      "<style:style style:name=\"T1\" style:family=\"text\"><style:text-properties "
      "style:font-name=\"DevLys 160\" fo:font-size=\"14pt\"/></style:style>"
      "<style:style style:name=\"T2\" style:family=\"text\"><style:text-properties "
      "style:font-name=\"DevLys 160\" fo:font-size=\"14pt\" fo:language=\"hi\"/></style:style>"
      "</office:automatic-styles><office:body><office:text>" +
      body + "</office:text></office:body></office:document-content>";
  const std::string styles = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-styles" +
                             ns + ">" + faces + "<office:styles/></office:document-styles>";
  const std::string mime = "application/vnd.oasis.opendocument.text";
  return {zipOf({{"mimetype", mime}, {"content.xml", content}, {"styles.xml", styles}}),
          mime.size() + content.size() + styles.size()};
}

void convertBench(benchmark::State& state, kavelin::documents::Format format, bool toUnicode) {
  const bool docx = format == kavelin::documents::Format::kDocx;
  auto [package, xmlSize] = docx ? hundredPagesDocx() : hundredPagesOdt();
  if (xmlSize < 300000) {
    state.SkipWithError("sample text not found");
    return;
  }
  kavelin::documents::Request request;
  if (!toUnicode) {
    package = kavelin::documents::convertPackage(package, format, request).output;
    request.toUnicode = false;
    xmlSize = unzippedSize(package);  // Unicode takes more bytes than glyph codes
  }
  // One conversion's heap: the most held at once above what was held before.
  kavelin::bench::HeapPeak heap;
  {
    heap.start();
    const kavelin::documents::Result r =
        kavelin::documents::convertPackage(package, format, request);
    benchmark::DoNotOptimize(r.output.data());
  }
  const std::size_t peakHeap = heap.bytes();
  const double before = peakRssMb();
  for (auto _ : state) {
    const kavelin::documents::Result r =
        kavelin::documents::convertPackage(package, format, request);
    if (!r.error.empty()) state.SkipWithError(r.error.c_str());
    benchmark::DoNotOptimize(r.output.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * xmlSize));
  state.counters["doc_KB"] = static_cast<double>(xmlSize) / 1024.0;
  state.counters["package_KB"] = static_cast<double>(package.size()) / 1024.0;
  state.counters["peak_rss_MB"] = peakRssMb();
  state.counters["rss_growth_MB"] = peakRssMb() - before;
  state.counters["peak_heap_KB"] = static_cast<double>(peakHeap) / 1024.0;
  state.counters["heap_per_doc"] = static_cast<double>(peakHeap) / static_cast<double>(xmlSize);
}

using kavelin::documents::Format;
void BM_DocxGlyphsToUnicode100Pages(benchmark::State& state) {
  convertBench(state, Format::kDocx, true);
}
void BM_DocxUnicodeToGlyphs100Pages(benchmark::State& state) {
  convertBench(state, Format::kDocx, false);
}
void BM_OdtGlyphsToUnicode100Pages(benchmark::State& state) {
  convertBench(state, Format::kOdt, true);
}
void BM_OdtUnicodeToGlyphs100Pages(benchmark::State& state) {
  convertBench(state, Format::kOdt, false);
}

BENCHMARK(BM_DocxGlyphsToUnicode100Pages)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DocxUnicodeToGlyphs100Pages)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OdtGlyphsToUnicode100Pages)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OdtUnicodeToGlyphs100Pages)->Unit(benchmark::kMillisecond);

}  // namespace
