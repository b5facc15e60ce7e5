// SPDX-License-Identifier: GPL-3.0-or-later
#include "suggestions.h"

#include <QFile>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include "forms.h"
#include "richtextfield.h"
#include "suggestindex.h"
#include "suggestionlist.h"

namespace kavelin {
namespace {

constexpr std::size_t kShown = 9;   // candidates in the list, picked by Alt+1 ... Alt+9
constexpr int kLongestWord = 48;    // longer runs of letters are no word to look up
constexpr int kSaveDelayMs = 2000;  // a kept word is written after this pause

QString qs(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

bool isWordLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

bool isWordMark(QChar c) { return c == u'^' || c == u'*' || c == u':'; }

TypedWord typedWordBefore(const QString& text, int column) {
  if (column < 0 || column > text.size()) return {};
  const auto inWord = [](QChar c) { return isWordLetter(c) || isWordMark(c); };
  if (column < text.size() && inWord(text[column])) return {};
  int start = column;
  while (start > 0 && inWord(text[start - 1])) --start;
  // A word begins with a letter; marks before it belong to no word.
  while (start < column && !isWordLetter(text[start])) ++start;
  return {start, column - start};
}

bool endsWord(const QString& keyText) {
  if (keyText.size() != 1) return false;
  const QChar c = keyText[0];
  if (c == u' ' || c == u'\t') return true;
  return c.unicode() < 128 && (c.isPunct() || c.isSymbol()) && !isWordMark(c);
}

SuggestionIndex SuggestionIndex::withStore(std::unique_ptr<words::Suggester> suggester,
                                           const std::string& path) {
  SuggestionIndex out;
  out.suggester = std::move(suggester);
  out.store = words::UserStore(path);
  if (!out.store.load(&out.storeError) && out.storeError.empty()) out.storeError = path;
  for (const auto& [word, count] : out.store.words()) out.suggester->setUserCount(word, count);
  return out;
}

SuggestionIndex buildSuggestionIndex(const words::WordListSources& sources,
                                     const std::string& storePath) {
  SuggestionIndex out;
  words::LoadedWords lists = words::loadWordLists(sources);
  out.listWarnings = lists.warnings();
  out.summary = lists.summary();
  out.store = words::UserStore(storePath);
  if (!out.store.load(&out.storeError) && out.storeError.empty()) out.storeError = storePath;
  out.suggester = std::make_unique<words::Suggester>();
  words::buildSuggester(*out.suggester, lists, &out.store);
  out.lists = std::make_shared<const words::WordSet>(std::move(lists.words));
  return out;
}

SuggestionController::SuggestionController(RichTextField* english, QWidget* window, Hooks hooks,
                                           QObject* parent)
    : QObject(parent),
      english_(english),
      window_(window),
      hooks_(std::move(hooks)),
      list_(new SuggestionList(window)),
      saveTimer_(new QTimer(this)) {
  saveTimer_->setSingleShot(true);
  saveTimer_->setInterval(kSaveDelayMs);
  connect(saveTimer_, &QTimer::timeout, this, &SuggestionController::saveStore);
  english_->installEventFilter(this);
  if (window_) window_->installEventFilter(this);
  connect(english_, &QTextEdit::cursorPositionChanged, this, &SuggestionController::refresh);
  connect(english_, &RichTextField::changed, this, &SuggestionController::refresh);
  connect(list_, &SuggestionList::picked, this, [this](int row) { pick(row); });
  connect(list_, &SuggestionList::forgetRequested, this, [this](int row) { forget(row); });
}

SuggestionController::~SuggestionController() {
  saveStore();
  if (window_) window_->removeEventFilter(this);
  english_->removeEventFilter(this);
  delete list_;
}

void SuggestionController::startLoading(const words::WordListSources& sources,
                                        const std::string& storePath) {
  if (loader_) return;
  loader_ = new QFutureWatcher<std::shared_ptr<SuggestionIndex>>(this);
  connect(loader_, &QFutureWatcherBase::finished, this, [this] {
    if (std::shared_ptr<SuggestionIndex> index = loader_->result()) install(std::move(*index));
  });
  loader_->setFuture(QtConcurrent::run([sources, storePath] {
    return std::make_shared<SuggestionIndex>(buildSuggestionIndex(sources, storePath));
  }));
}

void SuggestionController::install(SuggestionIndex index) {
  saveStore();
  index_ = std::move(index);
  lookedUpValid_ = false;
  storeDirty_ = false;
  storeWritable_ = true;
  if (!index_.listWarnings.empty() && hooks_.status) {
    QString missing = qs(index_.listWarnings).trimmed();
    missing.replace(u'\n', QStringLiteral("; "));
    hooks_.status(tr("Suggestions from the word lists found (%1)").arg(missing));
  }
  if (!index_.storeError.empty()) {
    // The file as it was is kept aside before the store is ever written
    // again without its damaged lines; where that fails, it is never written.
    const QString path = qs(index_.store.path());
    const QString aside = path + QStringLiteral(".damaged");
    QFile::remove(aside);
    storeWritable_ = QFile::copy(path, aside);
    if (hooks_.warning) {
      hooks_.warning(
          tr("Your word store could not be read whole:\n%1\n\n").arg(qs(index_.storeError)) +
          (storeWritable_ ? tr("Suggestions use the words that could be read. The file as it "
                               "was is kept as %1.")
                                .arg(aside)
                          : tr("Suggestions use the words that could be read. What you pick "
                               "now is not saved, so that the file stays as it is.")));
    }
  }
  emit installed();
  refresh();
}

void SuggestionController::setEnabled(bool on) {
  enabled_ = on;
  refresh();
}

bool SuggestionController::listShown() const { return list_->isVisible(); }

// The word the caret stands at the end of, with nothing selected.
bool SuggestionController::wordAtCaret(int* start, QString* typed) const {
  const QTextCursor caret = english_->textCursor();
  if (caret.hasSelection()) return false;
  const QTextBlock block = caret.block();
  const QString text = block.text();
  const TypedWord word = typedWordBefore(text, caret.positionInBlock());
  if (word.length == 0 || word.length > kLongestWord) return false;
  *start = block.position() + word.start;
  *typed = text.mid(word.start, word.length);
  return true;
}

const std::vector<words::Candidate>& SuggestionController::lookUp(const QString& typed) {
  if (!lookedUpValid_ || typed != lookedUp_) {
    candidates_ = index_.suggester->suggest(typed.toStdString(), kShown);
    lookedUp_ = typed;
    lookedUpValid_ = true;
  }
  return candidates_;
}

void SuggestionController::refresh() {
  int start = -1;
  QString typed;
  const bool atWord = wordAtCaret(&start, &typed);
  if (!atWord || start != dismissedAt_) dismissedAt_ = -1;
  if (!enabled_ || !ready() || !atWord || start == dismissedAt_ || !english_->hasFocus() ||
      !english_->isVisible()) {
    hideList();
    return;
  }
  const std::vector<words::Candidate>& found = lookUp(typed);
  if (found.empty()) {
    hideList();
    return;
  }
  wordStart_ = start;
  std::vector<SuggestionList::Row> rows;
  for (const words::Candidate& c : found) {
    rows.push_back({qview(c.glyphs), qs(c.spelling), index_.store.count(c.unicode) > 0});
  }
  list_->setRows(std::move(rows), hooks_.hindiFont ? hooks_.hindiFont() : english_->font());
  // Below the line of the caret, from where the word starts.
  QTextCursor at(english_->document());
  at.setPosition(start);
  const QRect first = english_->cursorRect(at);
  const QRect caret = english_->cursorRect();
  QWidget* view = english_->viewport();
  list_->showBelow(view->mapToGlobal(QPoint(first.left(), caret.bottom() + 3)),
                   view->mapToGlobal(QPoint(0, caret.top())).y());
}

void SuggestionController::hideList() {
  if (list_->isVisible()) list_->hide();
}

void SuggestionController::dismiss() {
  int start = -1;
  QString typed;
  if (wordAtCaret(&start, &typed)) dismissedAt_ = start;
  hideList();
}

// The document's edit as one step of undo; the caret ends after it.
void SuggestionController::replaceWord(int start, int length, const QString& with,
                                       const QString& after) {
  QTextCursor cursor(english_->document());
  cursor.beginEditBlock();
  cursor.setPosition(start);
  cursor.setPosition(start + length, QTextCursor::KeepAnchor);
  cursor.insertText(with + after);
  cursor.endEditBlock();
  english_->setTextCursor(cursor);
}

bool SuggestionController::pick(int index) {
  int start = -1;
  QString typed;
  if (!ready() || !wordAtCaret(&start, &typed)) return false;
  const std::vector<words::Candidate>& found = lookUp(typed);
  if (index < 0 || static_cast<std::size_t>(index) >= found.size()) return false;
  const words::Candidate chosen = found[static_cast<std::size_t>(index)];
  // The list stays hidden for the word picked, and a space after it does not
  // count it again.
  dismissedAt_ = start;
  pickedAt_ = start;
  replaceWord(start, static_cast<int>(typed.size()), qs(chosen.spelling), QString());
  learn(chosen.unicode, true);
  hideList();
  return true;
}

void SuggestionController::forget(int index) {
  if (!ready() || index < 0 || static_cast<std::size_t>(index) >= candidates_.size()) return;
  const std::u16string word = candidates_[static_cast<std::size_t>(index)].unicode;
  if (index_.store.count(word) == 0) return;
  index_.store.forget(word);
  index_.suggester->setUserCount(word, 0);
  lookedUpValid_ = false;
  storeDirty_ = true;
  saveStore();
  emit storeChanged();
  refresh();
}

void SuggestionController::addToStore(const std::u16string& word) {
  if (ready()) learn(word, true);
}

void SuggestionController::learn(const std::u16string& word, bool saveNow) {
  index_.store.add(word);
  index_.suggester->setUserCount(word, index_.store.count(word));
  lookedUpValid_ = false;
  storeDirty_ = true;
  if (saveNow) {
    saveStore();
  } else {
    saveTimer_->start();
  }
  emit storeChanged();
}

// A word typed exactly as a known word's key spelling and then kept counts.
void SuggestionController::keep(int start, const QString& typed) {
  if (start == pickedAt_) {
    pickedAt_ = -1;
    return;
  }
  for (const words::Candidate& c : lookUp(typed)) {
    if (c.known && qs(c.spelling) == typed) {
      learn(c.unicode, false);
      return;
    }
  }
}

void SuggestionController::saveStore() {
  saveTimer_->stop();
  if (!storeDirty_ || !storeWritable_ || !ready()) return;
  storeDirty_ = false;
  std::string error;
  if (index_.store.save(&error) || warnedUnwritable_) return;
  warnedUnwritable_ = true;
  if (hooks_.warning) {
    hooks_.warning(tr("Your word store cannot be written:\n%1\n\nThe words you pick are used "
                      "until Kavelin closes, but not kept.")
                       .arg(qs(error)));
  }
}

bool SuggestionController::keyPress(QKeyEvent* e) {
  if (!enabled_ || !ready()) return false;
  const Qt::KeyboardModifiers mods = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier |
                                                       Qt::AltModifier | Qt::MetaModifier);
  if (listShown()) {
    if (mods == Qt::AltModifier && e->key() >= Qt::Key_1 && e->key() <= Qt::Key_9) {
      return pick(e->key() - Qt::Key_1);
    }
    if (mods == Qt::NoModifier && e->key() == Qt::Key_Escape) {
      dismiss();
      return true;
    }
  }
  if (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
  if (!enter && !endsWord(e->text())) return false;
  int start = -1;
  QString typed;
  if (!wordAtCaret(&start, &typed)) return false;
  if (!enter && replaceAsYouType_ && start != dismissedAt_ && start != pickedAt_) {
    const std::vector<words::Candidate>& found = lookUp(typed);
    if (!found.empty() && found.front().known) {
      const words::Candidate first = found.front();
      replaceWord(start, static_cast<int>(typed.size()), qs(first.spelling), e->text());
      learn(first.unicode, false);
      return true;
    }
  }
  keep(start, typed);
  return false;
}

bool SuggestionController::eventFilter(QObject* watched, QEvent* e) {
  if (watched == english_) {
    switch (e->type()) {
      case QEvent::ShortcutOverride: {
        // Alt+1 ... Alt+9 and Esc belong to the list while it shows.
        auto* key = static_cast<QKeyEvent*>(e);
        const bool altDigit = key->modifiers() == Qt::AltModifier && key->key() >= Qt::Key_1 &&
                              key->key() <= Qt::Key_9;
        const bool escape = key->modifiers() == Qt::NoModifier && key->key() == Qt::Key_Escape;
        if (listShown() && (altDigit || escape)) {
          e->accept();
          return true;
        }
        break;
      }
      case QEvent::KeyPress:
        if (keyPress(static_cast<QKeyEvent*>(e))) return true;
        break;
      case QEvent::FocusOut:
        // A context menu of the list takes the keyboard for a moment.
        if (static_cast<QFocusEvent*>(e)->reason() != Qt::PopupFocusReason) hideList();
        break;
      case QEvent::FocusIn:
        refresh();
        break;
      case QEvent::Hide:
        hideList();
        break;
      default:
        break;
    }
  } else if (watched == window_) {
    switch (e->type()) {
      case QEvent::Move:
      case QEvent::Resize:
      case QEvent::Hide:
      case QEvent::WindowStateChange:
        hideList();
        break;
      default:
        break;
    }
  }
  return QObject::eventFilter(watched, e);
}

}  // namespace kavelin
