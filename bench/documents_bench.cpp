// SPDX-License-Identifier: GPL-3.0-or-later
// Building the window's documents from many pieces (offscreen, the window
// shown): opening RTF into the Editing Box, Send All, a text file into the
// English box, DOCX and ODT opened into the Editing Box and saved from it,
// through the commands themselves.
// peak_rss_MB is the process's high-water mark: run one case alone
// (--benchmark_filter) to read it for that case.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>

#include "desktopplatform.h"
#include "frmmain.h"
#include "richdocs.h"
#include "richtextfield.h"

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

struct Window {
  Window() {
    w.largeTextBytes = w.largeRtfBytes = qint64{1} << 40;
    w.Form_Load();
    w.show();
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

// 100 pages (40 paragraphs each) of ordinary formatting: glyph codes in the
// legacy font with bold, italic and underlined words, an English run in
// another font and size, some centred paragraphs.
kavelin::RichDocument hundredPages() {
  using kavelin::RunFormat;
  const RunFormat hindi{u"DevLys 160", 14};
  RunFormat bold = hindi, italic = hindi, underline = hindi;
  bold.bold = true;
  italic.italic = true;
  underline.underline = true;
  const RunFormat latin{u"Liberation Serif", 10};
  kavelin::RichDocument doc;
  for (int p = 0; p < 100 * 40; ++p) {
    doc.paragraphs.push_back({p % 7 == 0 ? kavelin::Align::Center : kavelin::Align::Left,
                              {{u"ueLrs /keZ ", hindi},
                               {u"Hkkjr", bold},
                               {u" fgUnh ", hindi},
                               {u"ueLrs", italic},
                               {u" /keZ Hkkjr ", hindi},
                               {u"fgUnh", underline},
                               {u" Latin text ", latin},
                               {u"ueLrs /keZ Hkkjr fgUnh", hindi}}});
  }
  return doc;
}

// The Editing Box's Open on the document as DOCX (0) or ODT (1), until the
// window answers again, then Save to the same file. file_KB is the package,
// xml_KB its document part; open_rss_x_file is how much the open raised the
// peak resident set over the package's size (run one case alone to read it).
void BM_EditingBoxOffice100Pages(benchmark::State& state) {
  const bool docx = state.range(0) == 0;
  std::string bytes, error;
  const kavelin::RichDocument doc = hundredPages();
  if (!(docx ? kavelin::documents::writeDocx : kavelin::documents::writeOdt)(doc, bytes, &error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  QTemporaryDir dir;
  Window window;
  window.platform.file =
      dir.filePath(docx ? QStringLiteral("letter.docx") : QStringLiteral("letter.odt"));
  QFile out(window.platform.file);
  out.open(QIODevice::WriteOnly);
  out.write(bytes.data(), static_cast<qint64>(bytes.size()));
  out.close();
  QElapsedTimer timer;
  double openMs = 0, saveMs = 0, openRss = 0;
  for (auto _ : state) {
    const double before = peakRssMb();
    timer.start();
    window.w.Command13_Click();
    settle();
    openMs += static_cast<double>(timer.elapsed());
    openRss = std::max(openRss, peakRssMb() - before);
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
  state.counters["file_KB"] = static_cast<double>(bytes.size()) / 1024.0;
  state.counters["open_rss_x_file"] = openRss * 1024 * 1024 / static_cast<double>(bytes.size());
  state.counters["peak_rss_MB"] = peakRssMb();
}
BENCHMARK(BM_EditingBoxOffice100Pages)
    ->ArgName("odt")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
