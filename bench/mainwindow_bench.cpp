// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of one keystroke in the English box until the Hindi box and the chart
// are up to date, against rebuilding the Hindi box whole (offscreen); and of
// reading the format of a long selection, as the toolbar does after each move;
// and of a keystroke in a long Editing Box with unknown words underlined.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTextCharFormat>
#include <QTextCursor>

#include "desktopplatform.h"
#include "engine.h"
#include "forms.h"
#include "frmmain.h"
#include "richtextfield.h"
#include "spelling.h"
#include "suggestions.h"
#include "text.h"

namespace {

QString sample(int size) {
  QFile file(QStringLiteral(KAVELIN_CORPUS));
  file.open(QIODevice::ReadOnly);
  const QString one = QString::fromUtf8(file.readAll());
  QString text;
  while (text.size() < size) text += one;
  text.truncate(size);
  return text;
}

struct Window {
  explicit Window(int size) {
    w.Form_Load();
    w.show();
    w.RTB2->setText(sample(size));
  }
  kavelin::DesktopPlatform platform;
  kavelin::frmMain w{platform};
};

// Typing "k" at the end of the English text, then taking it back.
void BM_KeystrokeAtEnd(benchmark::State& state) {
  Window window(static_cast<int>(state.range(0)));
  kavelin::RichTextField* box = window.w.RTB2;
  for (auto _ : state) {
    QTextCursor c(box->document());
    c.movePosition(QTextCursor::End);
    c.insertText(QStringLiteral("k"));
    c.deletePreviousChar();
  }
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_KeystrokeAtEnd)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Typing "a" after the word "bharat" at the end of a short text and taking it
// back, with the candidate list on (arg 1: a lookup and the list redrawn at
// each of the two changes) or off (arg 0), on the installed word lists.
void BM_KeystrokeWithSuggestions(benchmark::State& state) {
  Window window(1000);
  kavelin::frmMain& w = window.w;
  w.suggestions()->install(kavelin::buildSuggestionIndex({}, "/nonexistent/words.tsv"));
  w.suggestions()->setEnabled(state.range(0) != 0);
  QApplication::setActiveWindow(&w);
  w.RTB2->setFocus();
  QApplication::processEvents();
  QTextCursor end(w.RTB2->document());
  end.movePosition(QTextCursor::End);
  end.insertText(QStringLiteral(" bharat"));
  w.RTB2->setTextCursor(end);
  for (auto _ : state) {
    w.RTB2->textCursor().insertText(QStringLiteral("a"));
    w.RTB2->textCursor().deletePreviousChar();
  }
  if (state.range(0) != 0 && !w.suggestions()->listShown()) state.SkipWithError("no list shown");
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_KeystrokeWithSuggestions)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// An Editing Box of about 100 pages (3,000 characters each) of glyph text, a
// paragraph a line of the sample, with the installed word lists; underlining
// on (arg 1) or off (arg 0).
struct SpellingWindow : Window {
  explicit SpellingWindow(bool underline) : Window(0) {
    kavelin::Engine engine;
    QString page;
    for (const QString& line : sample(2000).split(u'\n')) {
      const kavelin::GlyphString glyphs = engine.e2h(kavelin::toCrLf(kavelin::uview(line)));
      page += kavelin::qstr(glyphs).trimmed() + u'\n';
    }
    QString text;
    while (text.size() < 300000) text += page;
    w.MainBox->setText(text);
    w.spelling()->setUnderlining(underline);
    w.suggestions()->install(kavelin::buildSuggestionIndex({}, "/nonexistent/words.tsv"));
    QApplication::processEvents();
  }
};

// Typing a letter into a word in the middle of the Editing Box and taking it
// back: the paragraph is checked again at each of the two changes.
void BM_KeystrokeInLongEditingBox(benchmark::State& state) {
  SpellingWindow window(state.range(0) != 0);
  kavelin::RichTextField* box = window.w.MainBox;
  QTextCursor at(box->document());
  at.setPosition(box->document()->characterCount() / 2);
  at.movePosition(QTextCursor::StartOfBlock);
  at.movePosition(QTextCursor::NextCharacter, QTextCursor::MoveAnchor, 2);
  box->setTextCursor(at);
  for (auto _ : state) {
    box->textCursor().insertText(QStringLiteral("d"));
    box->textCursor().deletePreviousChar();
  }
  if (window.w.spelling()->unknownWords(box).empty()) state.SkipWithError("nothing to underline");
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_KeystrokeInLongEditingBox)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Underlining the whole long Editing Box, as when the word data becomes
// ready or underlining is turned on.
void BM_UnderlineLongEditingBox(benchmark::State& state) {
  SpellingWindow window(false);
  for (auto _ : state) {
    window.w.spelling()->setUnderlining(true);
    state.PauseTiming();
    window.w.spelling()->setUnderlining(false);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_UnderlineLongEditingBox)->Unit(benchmark::kMillisecond)->Iterations(3);

// The unknown words of the whole long Editing Box, as Check Spelling counts them.
void BM_UnknownWordsOfLongEditingBox(benchmark::State& state) {
  SpellingWindow window(false);
  for (auto _ : state) {
    benchmark::DoNotOptimize(window.w.spelling()->unknownWords(window.w.MainBox));
  }
}
BENCHMARK(BM_UnknownWordsOfLongEditingBox)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same work done the whole-text way: convert everything, rewrite the Hindi
// box, follow the word in the chart.
void BM_FullRebuild(benchmark::State& state) {
  Window window(static_cast<int>(state.range(0)));
  kavelin::frmMain& w = window.w;
  const QString english = w.RTB2->text();
  for (auto _ : state) {
    const std::u16string text(reinterpret_cast<const char16_t*>(english.utf16()),
                              static_cast<std::size_t>(english.size()));
    kavelin::Engine engine;
    const kavelin::GlyphString hindi = engine.e2h(kavelin::toCrLf(text));
    w.RTB1->setText(QString::fromUtf16(hindi.data(), static_cast<qsizetype>(hindi.size())));
    w.chart().FillGrid(engine.Text1());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FullRebuild)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// A selection of `runs` words in bold and plain by turns: the toolbar's Bold,
// Italic and Underline states and the size list's size.
void BM_SelectionFormat(benchmark::State& state) {
  kavelin::RichTextField box;
  {
    kavelin::DocumentEdit edit(*box.document(), kavelin::DocumentEdit::kReplace);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    for (int i = 0; i < state.range(0); ++i) {
      edit.cursor().insertText(QStringLiteral("ueLrs "), i % 2 ? bold : QTextCharFormat());
    }
  }
  box.selectAll();
  for (auto _ : state) {
    benchmark::DoNotOptimize(box.selBold());
    benchmark::DoNotOptimize(box.selItalic());
    benchmark::DoNotOptimize(box.selUnderline());
    benchmark::DoNotOptimize(box.selFontSize());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SelectionFormat)->Arg(1000)->Arg(20000)->Unit(benchmark::kMicrosecond);

}  // namespace
