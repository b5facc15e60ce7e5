// SPDX-License-Identifier: GPL-3.0-or-later
// Building the window's documents from many pieces (offscreen, the window
// shown): opening RTF into the Editing Box, Send All, a text file into the
// English box, DOCX and ODT opened into the Editing Box and saved from it,
// through the commands themselves.
// peak_rss_MB is the process's high-water mark: run one case alone
// (--benchmark_filter) to read it for that case. Every allocation is counted
// (heapcount.h) for the stages of opening a document.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <cstdio>

#include "corpus.h"
#include "desktopplatform.h"
#include "engine.h"
#include "frmmain.h"
#include "heapcount.h"
#include "richdocs.h"
#include "richtextfield.h"
#include "rtfdocument.h"
#include "spelling.h"
#include "unicode.h"

namespace {

double peakRssMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Lets the window handle its pending events: it answers again.
void settle() { QApplication::processEvents(); }

// Lays out what the window has not laid out yet (documents too long to lay
// out at once are laid out in steps between events).
void layOutAll(kavelin::frmMain& w) {
  for (QTextDocument* doc : {w.MainBox->document(), w.RTB1->document(), w.RTB2->document()}) {
    doc->documentLayout()->blockBoundingRect(doc->lastBlock());
  }
}

// The desktop, but every open dialog answers with one file.
class FixedFile : public kavelin::DesktopPlatform {
 public:
  bool showOpen(kavelin::CommonDialog& dialog) override {
    dialog.FileName = file;
    return !dialog.FileName.isEmpty();
  }
  QString file;
};

// The window shown with its word data read, as the program starts: spelling
// at work on what is opened, and the reading thread done before any heap is
// counted.
struct Window {
  Window() {
    w.largeTextBytes = w.largeRtfBytes = qint64{1} << 40;
    w.Form_Load();
    w.show();
    w.startWordSuggestions();
    QElapsedTimer waited;
    waited.start();
    while (!w.spelling()->ready() && waited.elapsed() < 60000) {
      QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    settle();
  }
  FixedFile platform;
  kavelin::frmMain w{platform};
};

QString writeTemporary(const QTemporaryDir& dir, const QByteArray& bytes) {
  const QString path = dir.filePath(QStringLiteral("input"));
  QFile out(path);
  out.open(QIODevice::WriteOnly);
  out.write(bytes);
  return path;
}

// One paragraph of `runs` words, bold and plain by turns.
std::string manyRuns(int runs) {
  std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 ";
  for (int i = 0; i < runs; ++i) rtf += (i % 2 ? "\\b0 " : "\\b ") + std::string("ueLrs ");
  return rtf + "\\par}";
}

// A font table of `fonts` fonts, each used by one run.
std::string manyFonts(int fonts) {
  std::string rtf = "{\\rtf1\\ansi{\\fonttbl";
  for (int i = 0; i < fonts; ++i) {
    rtf += "{\\f" + std::to_string(i) + "\\fnil\\fcharset0 Font Number " + std::to_string(i) + ";}";
  }
  rtf += "}";
  for (int i = 0; i < fonts; ++i) rtf += "\\f" + std::to_string(i) + " ueLrs ";
  return rtf + "\\par}";
}

// Ordinary formatting: paragraphs of a dozen words with bold, italic and
// underlined words, a size change, two fonts and some centred paragraphs.
std::string ordinary(std::size_t bytes) {
  std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil DevLys 160;}{\\f1\\fswiss "
      "Arial;}}\r\n";
  for (int p = 0; rtf.size() < bytes; ++p) {
    rtf += p % 7 == 0 ? "\\pard\\qc" : "\\pard\\ql";
    rtf += "\\f0\\fs28 ueLrs /keZ {\\b Hkkjr} fgUnh {\\i ueLrs} /keZ Hkkjr {\\ul fgUnh} ";
    rtf += "{\\f1\\fs20 Latin text} ueLrs /keZ Hkkjr fgUnh\\par\r\n";
  }
  return rtf + "}";
}

QString glyphLines(std::size_t bytes) {
  QString text;
  while (static_cast<std::size_t>(text.size()) < bytes)
    text += QStringLiteral("ueLrs /keZ Hkkjr fgUnh ueLrs\n");
  return text;
}

// The Editing Box's Open button on an RTF file, until the window answers
// again; laid_out_ms is the time the layout takes after that.
void openRtf(benchmark::State& state, const std::string& rtf) {
  QTemporaryDir dir;
  Window window;
  window.platform.file = writeTemporary(dir, QByteArray::fromStdString(rtf));
  QElapsedTimer layout;
  double layoutMs = 0;
  for (auto _ : state) {
    window.w.Command13_Click();
    settle();
    state.PauseTiming();
    layout.start();
    layOutAll(window.w);
    layoutMs += static_cast<double>(layout.elapsed());
    window.w.MainBox->document()->setModified(false);
    state.ResumeTiming();
  }
  if (window.w.MainBox->document()->isEmpty()) state.SkipWithError("not opened");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * rtf.size()));
  state.counters["laid_out_ms"] = layoutMs / static_cast<double>(state.iterations());
  state.counters["peak_rss_MB"] = peakRssMb();
}

void BM_OpenRtfManyRuns(benchmark::State& state) {
  openRtf(state, manyRuns(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_OpenRtfManyRuns)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_OpenRtfManyFonts(benchmark::State& state) {
  openRtf(state, manyFonts(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_OpenRtfManyFonts)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_OpenRtfOrdinary(benchmark::State& state) {
  openRtf(state, ordinary(static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(BM_OpenRtfOrdinary)->Arg(1 << 20)->Unit(benchmark::kMillisecond)->Iterations(1);

// Send All with the Hindi box holding `bytes` of glyph lines.
void BM_SendAll(benchmark::State& state) {
  Window window;
  const QString glyphs = glyphLines(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    window.w.MainBox->setText(QString());
    window.w.RTB1->setText(glyphs);
    settle();
    layOutAll(window.w);
    state.ResumeTiming();
    window.w.Command7_Click();
    settle();
    layOutAll(window.w);
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
  state.counters["peak_rss_MB"] = peakRssMb();
}
BENCHMARK(BM_SendAll)->Arg(1 << 20)->Unit(benchmark::kMillisecond)->Iterations(1);

// File > Open on a text file of `bytes`: read, shown in the English box,
// converted into the Hindi box, until the window answers again. laid_out_ms
// is the time the layout of both boxes takes after that; open_rss_x_file and
// rss_x_file the growth of the peak resident set over the file's size when the
// window answers and once all is laid out.
void BM_OpenEnglishText(benchmark::State& state) {
  QTemporaryDir dir;
  QByteArray text;
  {
    QFile corpus(QStringLiteral(KAVELIN_CORPUS));
    corpus.open(QIODevice::ReadOnly);
    const QByteArray one = corpus.readAll();
    while (text.size() < state.range(0)) text += one;
    text.truncate(static_cast<qsizetype>(state.range(0)));
  }
  Window window;
  window.platform.file = writeTemporary(dir, text);
  text.clear();
  text.squeeze();
  const double before = peakRssMb();
  QElapsedTimer layout;
  double layoutMs = 0;
  double openRss = 0;
  for (auto _ : state) {
    window.w.mnuFileOpen_Click();
    settle();
    state.PauseTiming();
    openRss = peakRssMb();
    layout.start();
    layOutAll(window.w);
    layoutMs += static_cast<double>(layout.elapsed());
    state.ResumeTiming();
  }
  if (window.w.RTB1->document()->isEmpty()) state.SkipWithError("not converted");
  state.SetBytesProcessed(state.iterations() * state.range(0));
  state.counters["laid_out_ms"] = layoutMs / static_cast<double>(state.iterations());
  state.counters["peak_rss_MB"] = peakRssMb();
  state.counters["open_rss_x_file"] =
      (openRss - before) * 1024 * 1024 / static_cast<double>(state.range(0));
  state.counters["rss_x_file"] =
      (peakRssMb() - before) * 1024 * 1024 / static_cast<double>(state.range(0));
}
BENCHMARK(BM_OpenEnglishText)
    ->Arg(1 << 20)
    ->Arg(10 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// 100 pages of varied text, 40 paragraphs a page of 6 to 20 words: the
// sample text's words as glyph codes in the legacy font (as the engine types
// them), some of them bold, italic, larger or coloured, English words in a
// Latin font and Devanagari words in Unicode; some paragraphs centred or set
// right.
kavelin::RichDocument hundredPages() {
  using kavelin::RunFormat;
  std::vector<std::u16string> roman;
  {
    const std::u16string& text = kavelin::bench::corpusRoman();
    std::size_t begin = 0;
    while (begin < text.size()) {
      std::size_t end = begin;
      while (end < text.size() && text[end] != u' ' && text[end] != u'\r' && text[end] != u'\n') {
        ++end;
      }
      if (end > begin) roman.emplace_back(text.substr(begin, end - begin));
      begin = end + 1;
    }
  }
  kavelin::Engine engine;
  std::vector<std::u16string> glyphs, unicode;
  for (const std::u16string& w : roman) {
    glyphs.push_back(engine.e2h(w));
    unicode.push_back(kavelin::glyphsToUnicode(glyphs.back()));
  }
  const std::u16string english[] = {u"the",     u"report",   u"of",      u"village",  u"school",
                                    u"water",   u"and",      u"farmers", u"market",   u"season",
                                    u"river",   u"children", u"book",    u"temple",   u"rain",
                                    u"harvest", u"train",    u"letter",  u"festival", u"city"};
  const RunFormat hindi{u"DevLys 160", 14};
  RunFormat bold = hindi, italic = hindi, large = hindi, red = hindi;
  bold.bold = true;
  italic.italic = true;
  large.sizePt = 18;
  red.color = 0xC00000;
  const RunFormat latin{u"Liberation Serif", 11};
  const RunFormat devanagari{u"Noto Sans Devanagari", 12};
  std::uint32_t seed = 12345;
  auto next = [&seed](std::uint32_t n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) % n;
  };
  kavelin::RichDocument doc;
  for (int p = 0; p < 100 * 40; ++p) {
    kavelin::RichParagraph paragraph;
    paragraph.align = p % 9 == 0    ? kavelin::Align::Center
                      : p % 23 == 0 ? kavelin::Align::Right
                                    : kavelin::Align::Left;
    const std::uint32_t words = 6 + next(15);
    for (std::uint32_t i = 0; i < words; ++i) {
      const std::size_t w = next(static_cast<std::uint32_t>(roman.size()));
      const std::uint32_t kind = next(40);
      const RunFormat& format = kind == 0   ? bold
                                : kind == 1 ? italic
                                : kind == 2 ? large
                                : kind == 3 ? red
                                : kind < 7  ? latin
                                : kind < 9  ? devanagari
                                            : hindi;
      const std::u16string& word = &format == &latin        ? english[next(20)]
                                   : &format == &devanagari ? unicode[w]
                                                            : glyphs[w];
      const std::u16string text = (i + 1 < words ? word + u' ' : word);
      if (!paragraph.runs.empty() && paragraph.runs.back().format == format) {
        paragraph.runs.back().text += text;
      } else {
        paragraph.runs.push_back({text, format});
      }
    }
    doc.paragraphs.push_back(std::move(paragraph));
  }
  return doc;
}

long residentKb() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The Editing Box's Open on the document as DOCX (0) or ODT (1), until the
// window answers again, then Save to the same file. file_KB is the package.
// Before the timed runs each stage's memory is measured once, as heap
// (every allocation counted, see heapcount.h) over the file's size:
// read_peak_x_file the most reading the package into the model held at once,
// model_x_file what the model holds, stream_peak_x_file the most reading it a
// paragraph at a time held (the paragraphs dropped as they come), qtdoc_x_file
// what a QTextDocument filled from the model holds; then in the window,
// open_x_file the heap the Open left held (the QTextDocument and what the
// window keeps for it) and open_peak_x_file its most at once, laid_out_x_file
// the heap held once the Editing Box has laid it all out, and rss_x_file the
// growth of the resident set by then; save_peak_x_file is the most the Save
// then holds at once. read_ms, qtdoc_ms and laid_out_ms time the reading into
// the model, filling the QTextDocument from it and laying out the window's.
void BM_EditingBoxOffice100Pages(benchmark::State& state) {
  const bool docx = state.range(0) == 0;
  std::string bytes, error;
  {
    const kavelin::RichDocument doc = hundredPages();
    const bool written = docx ? kavelin::documents::writeDocx(doc, bytes, &error)
                              : kavelin::documents::writeOdt(doc, bytes, &error);
    if (!written) {
      state.SkipWithError(error.c_str());
      return;
    }
  }
  const double file = static_cast<double>(bytes.size());
  auto perFile = [file](double b) { return b / file; };
  kavelin::bench::HeapPeak heap;
  QElapsedTimer stage;
  auto ms = [&stage] { return static_cast<double>(stage.nsecsElapsed()) / 1e6; };
  {
    heap.start();
    kavelin::RichDocument model;
    kavelin::documents::ReadNotes notes;
    stage.start();
    const bool read = (docx ? kavelin::documents::readDocx : kavelin::documents::readOdt)(
        bytes, model, &notes, &error, {});
    state.counters["read_ms"] = ms();
    state.counters["read_peak_x_file"] = perFile(static_cast<double>(heap.bytes()));
    state.counters["model_x_file"] = perFile(static_cast<double>(heap.held()));
    if (!read || model.paragraphs.size() != 100 * 40) {
      state.SkipWithError("not read");
      return;
    }
    std::size_t paragraphs = 0;
    heap.start();
    kavelin::documents::ReadNotes again;
    (docx ? kavelin::documents::readDocxParagraphs : kavelin::documents::readOdtParagraphs)(
        bytes, [&paragraphs](kavelin::RichParagraph&&) { ++paragraphs; }, &again, &error, {});
    state.counters["stream_peak_x_file"] = perFile(static_cast<double>(heap.bytes()));
    if (paragraphs != 100 * 40) {
      state.SkipWithError("not read in one pass");
      return;
    }
    QTextDocument qt;
    const std::int64_t beforeQt = heap.held();
    stage.start();
    kavelin::fromRichDocument(model, qt);
    state.counters["qtdoc_ms"] = ms();
    state.counters["qtdoc_x_file"] = perFile(static_cast<double>(heap.held() - beforeQt));
  }
  QTemporaryDir dir;
  Window window;
  window.platform.file =
      dir.filePath(docx ? QStringLiteral("letter.docx") : QStringLiteral("letter.odt"));
  QFile out(window.platform.file);
  out.open(QIODevice::WriteOnly);
  out.write(bytes.data(), static_cast<qint64>(bytes.size()));
  out.close();
  settle();
  malloc_trim(0);
  const long rssBefore = residentKb();
  heap.start();
  window.w.Command13_Click();
  settle();
  state.counters["open_x_file"] = perFile(static_cast<double>(heap.held()));
  state.counters["open_peak_x_file"] = perFile(static_cast<double>(heap.bytes()));
  stage.start();
  layOutAll(window.w);
  state.counters["laid_out_ms"] = ms();
  state.counters["laid_out_x_file"] = perFile(static_cast<double>(heap.held()));
  state.counters["rss_x_file"] = perFile((residentKb() - rssBefore) * 1024.0);
  window.w.MainBox->document()->setModified(true);
  heap.start();
  window.w.Command12_Click();
  state.counters["save_peak_x_file"] = perFile(static_cast<double>(heap.bytes()));

  QElapsedTimer timer;
  double openMs = 0, saveMs = 0;
  for (auto _ : state) {
    timer.start();
    window.w.Command13_Click();
    settle();
    openMs += static_cast<double>(timer.elapsed());
    window.w.MainBox->document()->setModified(true);
    timer.start();
    window.w.Command12_Click();  // to the file it was opened from
    saveMs += static_cast<double>(timer.elapsed());
  }
  if (window.w.MainBox->document()->blockCount() < 100 * 40 ||
      window.w.MainBox->document()->isModified()) {
    state.SkipWithError("not opened or not saved");
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["open_ms"] = openMs / n;
  state.counters["save_ms"] = saveMs / n;
  state.counters["file_KB"] = file / 1024.0;
  state.counters["peak_rss_MB"] = peakRssMb();
  state.counters["spelling"] = window.w.spelling()->ready() ? 1 : 0;
}
BENCHMARK(BM_EditingBoxOffice100Pages)
    ->ArgName("odt")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
