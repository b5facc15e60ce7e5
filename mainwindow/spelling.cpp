// SPDX-License-Identifier: GPL-3.0-or-later
#include "spelling.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <limits>

#include "engine.h"
#include "forms.h"
#include "keyspelling.h"
#include "richformat.h"
#include "richtextfield.h"
#include "suggestions.h"
#include "text.h"
#include "unicodetext.h"
#include "unicodetoglyphs.h"

namespace kavelin {
namespace {

// The red wavy line.
const QTextCharFormat& unknownFormat() {
  static const QTextCharFormat format = [] {
    QTextCharFormat f;
    f.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    f.setUnderlineColor(Qt::red);
    return f;
  }();
  return format;
}

bool isSpace(QChar c) { return c == u' ' || c == u'\t' || c == QChar::LineSeparator; }

// The whitespace-separated word of `line` that holds `column`: its start and
// its index among the line's words; -1 when `column` is in no word.
int tokenAt(const QString& line, int column, int* start) {
  int index = -1;
  int i = 0;
  while (i < line.size()) {
    while (i < line.size() && isSpace(line[i])) ++i;
    if (i == line.size()) break;
    int end = i;
    while (end < line.size() && !isSpace(line[end])) ++end;
    ++index;
    if (column >= i && column < end) {
      *start = i;
      return index;
    }
    i = end;
  }
  return -1;
}

// The `index`th whitespace-separated word of `line`: its start and length.
bool nthToken(const QString& line, int index, int* start, int* length) {
  int i = 0;
  for (int n = 0;; ++n) {
    while (i < line.size() && isSpace(line[i])) ++i;
    if (i == line.size()) return false;
    int end = i;
    while (end < line.size() && !isSpace(line[end])) ++end;
    if (n == index) {
      *start = i;
      *length = end - i;
      return true;
    }
    i = end;
  }
}

QString tokenOf(const QString& line, int start) {
  int end = start;
  while (end < line.size() && !isSpace(line[end])) ++end;
  return line.mid(start, end - start);
}

QString plural(int n) {
  if (n == 0) return SpellingController::tr("No unknown words");
  if (n == 1) return SpellingController::tr("1 unknown word left");
  return SpellingController::tr("%1 unknown words left").arg(n);
}

}  // namespace

std::vector<BlockWord> blockWords(const QTextBlock& block, bool allGlyphs, const QFont& base) {
  std::vector<BlockWord> out;
  const QString text = block.text();
  if (text.isEmpty()) return out;
  // Runs of fragments of one encoding, each read as a whole.
  int runStart = 0;
  bool runGlyphs = allGlyphs;
  auto flush = [&](int end) {
    if (end <= runStart) return;
    const std::u16string_view piece = uview(text).substr(static_cast<std::size_t>(runStart),
                                                         static_cast<std::size_t>(end - runStart));
    for (words::TextWord& w : words::devanagariWords(piece, runGlyphs)) {
      out.push_back({runStart + static_cast<int>(w.begin), static_cast<int>(w.length),
                     std::move(w.unicode), runGlyphs});
    }
  };
  if (!allGlyphs) {
    bool first = true;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const bool glyphs = isGlyphFamily(formatFamily(fragment.charFormat(), base), base);
      const int at = fragment.position() - block.position();
      if (first || glyphs != runGlyphs) {
        flush(at);
        runStart = at;
        runGlyphs = glyphs;
        first = false;
      }
    }
  }
  flush(static_cast<int>(text.size()));
  return out;
}

// Underlines the unknown words of a box's blocks as they come into view: the
// blocks on show before the viewport paints, the blocks an edit changes as it
// is made, and after a change of what is known (or of underlining) the blocks
// on show again, the others when they come into view. A block's user state
// holds the pass it was last checked in. Opening a long document checks and
// formats only what is shown.
class SpellingHighlighter : public QObject {
 public:
  SpellingHighlighter(SpellingController& controller, RichTextField* box, bool allGlyphs)
      : QObject(&controller), controller_(controller), box_(box), allGlyphs_(allGlyphs) {
    connect(box_->document(), &QTextDocument::contentsChange, this, &SpellingHighlighter::changed);
    box_->viewport()->installEventFilter(this);
  }
  ~SpellingHighlighter() override { box_->viewport()->removeEventFilter(this); }

  // Every block is checked again: those on show now.
  void rehighlight() {
    pass_ = pass_ == std::numeric_limits<int>::max() ? 0 : pass_ + 1;
    checkShown();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::Paint && watched == box_->viewport()) checkShown();
    return QObject::eventFilter(watched, e);
  }

 private:
  // An edit is checked as it is made, up to a screenful of blocks; the rest
  // of a long change (a document opened or pasted) when it comes into view.
  void changed(int position, int, int added) {
    constexpr int kCheckedAtOnce = 64;
    Batch batch;
    int n = 0;
    const int end = position + added;
    for (QTextBlock block = box_->document()->findBlock(position);
         block.isValid() && block.position() <= end; block = block.next()) {
      if (n++ < kCheckedAtOnce) {
        check(block, batch);
      } else {
        block.setUserState(-1);
      }
    }
    batch.finish(*box_->document());
  }

  // The blocks the viewport shows, checked where they are not in this pass.
  // A box not on show has no layout to tell which: its first paint checks.
  void checkShown() {
    if (!box_->isVisible()) return;
    QTextDocument* document = box_->document();
    QAbstractTextDocumentLayout* layout = document->documentLayout();
    const int top = box_->verticalScrollBar()->value();
    const int bottom = top + box_->viewport()->height();
    const int first = layout->hitTest(QPointF(0, top), Qt::FuzzyHit);
    Batch batch;
    for (QTextBlock block = document->findBlock(std::max(first, 0)); block.isValid();
         block = block.next()) {
      if (layout->blockBoundingRect(block).top() > bottom) break;
      if (block.userState() != pass_) check(block, batch);
    }
    batch.finish(*document);
  }

  // The span of blocks whose underlines changed, laid out again at once.
  struct Batch {
    int first = -1;
    int last = -1;
    void add(const QTextBlock& block) {
      if (first < 0) first = block.position();
      last = block.position() + block.length();
    }
    void finish(QTextDocument& document) const {
      if (first >= 0) document.markContentsDirty(first, last - first);
    }
  };

  void check(QTextBlock block, Batch& batch) {
    block.setUserState(pass_);
    words::SpellChecker* checker = controller_.checker_.get();
    QList<QTextLayout::FormatRange> ranges;
    if (checker && controller_.underlining_) {
      for (const BlockWord& w : blockWords(block, allGlyphs_, box_->document()->defaultFont())) {
        if (!checker->known(w.unicode)) ranges.append({w.position, w.length, unknownFormat()});
      }
    }
    QTextLayout* layout = block.layout();
    if (ranges == layout->formats()) return;
    layout->setFormats(ranges);
    batch.add(block);
  }

  SpellingController& controller_;
  RichTextField* box_;
  bool allGlyphs_;
  int pass_ = 0;
};

SpellingController::SpellingController(SuggestionController* words, RichTextField* editingBox,
                                       RichTextField* hindiBox, RichTextField* englishBox,
                                       Hooks hooks, QObject* parent)
    : QObject(parent),
      words_(words),
      editingBox_(editingBox),
      hindiBox_(hindiBox),
      englishBox_(englishBox),
      hooks_(std::move(hooks)),
      engine_(std::make_unique<Engine>()),
      editingHighlighter_(new SpellingHighlighter(*this, editingBox, false)),
      hindiHighlighter_(new SpellingHighlighter(*this, hindiBox, true)) {
  connect(words_, &SuggestionController::installed, this, &SpellingController::install);
  // A word picked or forgotten in the suggestions may change what is known.
  connect(words_, &SuggestionController::storeChanged, this, [this] {
    if (checker_) checker_->clearCache();
  });
  for (RichTextField* box : {editingBox_, hindiBox_}) {
    box->installEventFilter(this);
    box->viewport()->installEventFilter(this);
  }
  if (words_->ready()) install();
}

SpellingController::~SpellingController() {
  for (RichTextField* box : {editingBox_, hindiBox_}) {
    box->removeEventFilter(this);
    box->viewport()->removeEventFilter(this);
  }
  // The highlighters go first: they read the checker.
  delete editingHighlighter_;
  delete hindiHighlighter_;
}

// A new index: a checker on its word data, with the user's store and the
// words ignored so far.
void SpellingController::install() {
  lists_ = words_->lists();
  checker_ = std::make_unique<words::SpellChecker>(lists_.get(), words_->suggester());
  for (const auto& [word, count] : words_->store().words()) {
    if (count > 0) checker_->addWord(word);
  }
  for (const std::u16string& word : ignored_) checker_->ignoreWord(word);
  rehighlight();
}

void SpellingController::rehighlight() {
  editingHighlighter_->rehighlight();
  hindiHighlighter_->rehighlight();
}

void SpellingController::setUnderlining(bool on) {
  if (on == underlining_) return;
  underlining_ = on;
  rehighlight();
}

std::optional<SpellingController::Word> SpellingController::unknownAt(RichTextField* box,
                                                                      int position) {
  if (!checker_) return std::nullopt;
  const QTextBlock block = box->document()->findBlock(position);
  if (!block.isValid()) return std::nullopt;
  const int column = position - block.position();
  for (BlockWord& w : blockWords(block, glyphsOnly(box), box->document()->defaultFont())) {
    if (column < w.position || column > w.position + w.length) continue;
    if (checker_->known(w.unicode)) continue;
    return Word{block.position() + w.position, w.length, std::move(w.unicode), w.glyphs};
  }
  return std::nullopt;
}

std::vector<SpellingController::Word> SpellingController::unknownWords(RichTextField* box) {
  std::vector<Word> out;
  if (!checker_) return out;
  const QFont base = box->document()->defaultFont();
  for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next()) {
    for (BlockWord& w : blockWords(block, glyphsOnly(box), base)) {
      if (checker_->known(w.unicode)) continue;
      out.push_back({block.position() + w.position, w.length, std::move(w.unicode), w.glyphs});
    }
  }
  return out;
}

std::vector<std::u16string> SpellingController::corrections(RichTextField* box, const Word& word) {
  std::vector<std::u16string> out;
  if (!checker_) return out;
  for (const std::u16string& c : checker_->corrections(word.unicode)) {
    // Only what the box can write: glyph codes the font has, or keys.
    if (box == hindiBox_ ? words::keySpelling(c).has_value()
                         : !word.glyphs || unicodeToGlyphs(c).unconverted.count == 0) {
      out.push_back(c);
    }
  }
  return out;
}

QMenu* SpellingController::menuAt(RichTextField* box, int position) {
  if (!underlining_) return nullptr;
  const std::optional<Word> word = unknownAt(box, position);
  if (!word) return nullptr;
  auto* menu = new QMenu(box);
  menu->setObjectName(QStringLiteral("spellingMenu"));
  QFont devanagari = menu->font();
  devanagari.setFamily(devanagariFont());
  devanagari.setPointSizeF(devanagari.pointSizeF() * 1.25);
  const std::vector<std::u16string> found = corrections(box, *word);
  for (const std::u16string& c : found) {
    QAction* a = menu->addAction(qstr(c));
    a->setFont(devanagari);
    connect(a, &QAction::triggered, this, [this, box, w = *word, c] { correct(box, w, c); });
  }
  if (found.empty()) menu->addAction(tr("No Corrections"))->setEnabled(false);
  menu->addSeparator();
  const std::u16string unicode = word->unicode;
  connect(menu->addAction(tr("&Add to Dictionary")), &QAction::triggered, this,
          [this, unicode] { addToDictionary(unicode); });
  connect(menu->addAction(tr("&Ignore All")), &QAction::triggered, this,
          [this, unicode] { ignoreAll(unicode); });
  // The box's own entries, at the place of the right-click.
  QTextCursor at(box->document());
  at.setPosition(position);
  const QPoint inViewport = box->cursorRect(at).center();
  QMenu* standard = box->createStandardContextMenu(inViewport);
  standard->setParent(menu, standard->windowFlags());
  menu->addSeparator();
  menu->addActions(standard->actions());
  return menu;
}

bool SpellingController::correct(RichTextField* box, const Word& word,
                                 const std::u16string& correction) {
  if (box == hindiBox_) return correctEnglish(word, correction);
  QString text = qstr(correction);
  if (word.glyphs) {
    const GlyphConversion g = unicodeToGlyphs(correction);
    if (g.unconverted.count != 0) {
      report(tr("%1 has no glyph codes in the Hindi font").arg(text));
      return false;
    }
    text = qstr(g.glyphs);
  }
  QTextCursor cursor(box->document());
  // The format of the word's first character.
  cursor.setPosition(word.position + 1);
  const QTextCharFormat format = cursor.charFormat();
  cursor.beginEditBlock();
  cursor.setPosition(word.position);
  cursor.setPosition(word.position + word.length, QTextCursor::KeepAnchor);
  cursor.insertText(text, format);
  cursor.endEditBlock();
  box->setTextCursor(cursor);
  return true;
}

// The Hindi box shows the English box converted line by line: the Roman word
// is the English word at the same place among its line's words, and converts
// to the Hindi word.
bool SpellingController::correctEnglish(const Word& word, const std::u16string& correction) {
  const auto fail = [this] {
    report(tr("The English letters of this word could not be found"));
    return false;
  };
  const std::optional<std::string> keys = words::keySpelling(correction);
  if (!keys) {
    report(tr("%1 cannot be typed with the keys").arg(qstr(correction)));
    return false;
  }
  const auto convert = [this](const QString& roman) {
    return qstr(engine_->e2h(toCrLf(uview(roman)))).trimmed();
  };
  const QTextBlock hindi = hindiBox_->document()->findBlock(word.position);
  const QTextBlock english = englishBox_->document()->findBlockByNumber(hindi.blockNumber());
  if (!hindi.isValid() || !english.isValid()) return fail();
  const QString hindiLine = hindi.text();
  int hindiStart = 0;
  const int index = tokenAt(hindiLine, word.position - hindi.position(), &hindiStart);
  int start = 0;
  int length = 0;
  if (index < 0 || !nthToken(english.text(), index, &start, &length)) return fail();
  const QString hindiToken = tokenOf(hindiLine, hindiStart);
  QString roman = english.text().mid(start, length);
  if (convert(roman) != hindiToken) return fail();
  if (word.length != hindiToken.size()) {
    // Punctuation around the word: the letters between it.
    int first = 0;
    int last = static_cast<int>(roman.size());
    while (first < last && !isWordLetter(roman[first])) ++first;
    while (last > first && !isWordLetter(roman[last - 1]) && !isWordMark(roman[last - 1])) --last;
    const QString hindiWord = hindiLine.mid(word.position - hindi.position(), word.length);
    roman = roman.mid(first, last - first);
    if (roman.isEmpty() || convert(roman) != hindiWord) return fail();
    start += first;
    length = static_cast<int>(roman.size());
  }
  QTextCursor cursor(englishBox_->document());
  cursor.beginEditBlock();
  cursor.setPosition(english.position() + start);
  cursor.setPosition(english.position() + start + length, QTextCursor::KeepAnchor);
  cursor.insertText(QString::fromStdString(*keys));
  cursor.endEditBlock();
  return true;
}

void SpellingController::addToDictionary(const std::u16string& word) {
  if (!checker_) return;
  words_->addToStore(word);
  checker_->addWord(word);
  rehighlight();
}

void SpellingController::ignoreAll(const std::u16string& word) {
  ignored_.insert(word);
  if (!checker_) return;
  checker_->ignoreWord(word);
  rehighlight();
}

void SpellingController::checkNext(RichTextField* box) {
  if (!checker_) {
    report(tr("Spelling is not ready: the word lists are still being read"));
    return;
  }
  const std::vector<Word> unknown = unknownWords(box);
  box->setFocus();
  if (unknown.empty()) {
    report(plural(0));
    return;
  }
  const QTextCursor caret = box->textCursor();
  const int from = caret.hasSelection() ? caret.selectionEnd() : caret.position();
  auto next = std::find_if(unknown.begin(), unknown.end(),
                           [from](const Word& w) { return w.position + w.length > from; });
  if (next == unknown.end()) next = unknown.begin();
  QTextCursor select(box->document());
  select.setPosition(next->position);
  select.setPosition(next->position + next->length, QTextCursor::KeepAnchor);
  box->setTextCursor(select);
  box->ensureCursorVisible();
  report(plural(static_cast<int>(unknown.size())));
}

void SpellingController::report(const QString& text) {
  if (hooks_.status) hooks_.status(text);
}

bool SpellingController::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() != QEvent::ContextMenu) return QObject::eventFilter(watched, e);
  auto* menuEvent = static_cast<QContextMenuEvent*>(e);
  RichTextField* box = nullptr;
  int position = -1;
  QPoint global = menuEvent->globalPos();
  for (RichTextField* b : {editingBox_, hindiBox_}) {
    if (watched == b->viewport() && menuEvent->reason() != QContextMenuEvent::Keyboard) {
      box = b;
      position = b->cursorForPosition(menuEvent->pos()).position();
    } else if (watched == b && menuEvent->reason() == QContextMenuEvent::Keyboard) {
      box = b;
      position = b->textCursor().position();
      global = b->viewport()->mapToGlobal(b->cursorRect().bottomLeft());
    }
  }
  if (!box) return QObject::eventFilter(watched, e);
  QMenu* menu = menuAt(box, position);
  if (!menu) return QObject::eventFilter(watched, e);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(global);
  return true;
}

}  // namespace kavelin
