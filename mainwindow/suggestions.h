// SPDX-License-Identifier: GPL-3.0-or-later
// Word suggestions in the English box: which word the caret stands at the end
// of, when the candidate list shows and where, what a pick, Esc, a space or
// punctuation do, and what the user's word store learns. The index is built
// off the GUI thread and handed over when ready; until then nothing shows.
#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "suggest.h"
#include "userstore.h"
#include "wordlists.h"

class QKeyEvent;
class QTimer;

namespace kavelin {

class RichTextField;
class SuggestionList;

// The characters of a word being typed: ASCII letters, and the marks the key
// spellings use (^ anusvara, * candrabindu, : visarga) after a letter.
bool isWordLetter(QChar c);
bool isWordMark(QChar c);

// The word that ends at `column` of the line `text`: its first column and its
// length (0 when the caret stands at no word's end: in or before a word, or
// after a character that belongs to none).
struct TypedWord {
  int start = 0;
  int length = 0;
};
TypedWord typedWordBefore(const QString& text, int column);

// True for a key's text that ends a word and keeps it: a space, or
// punctuation that is not a word mark.
bool endsWord(const QString& keyText);

// Everything the list needs: the index, the user's store as read, and what
// was missing.
struct SuggestionIndex {
  std::unique_ptr<words::Suggester> suggester;
  // The words of the loaded lists, also those the keys cannot spell (which the
  // suggester leaves out): what spelling checks against.
  std::shared_ptr<const words::WordSet> lists;
  words::UserStore store{std::string()};
  std::string storeError;    // why the store could not be read whole; empty when it could
  std::string listWarnings;  // one line per word list not found
  std::string summary;       // which lists were found, for the About window

  // `suggester` with the store at `path` read into it.
  static SuggestionIndex withStore(std::unique_ptr<words::Suggester> suggester,
                                   const std::string& path);
};

// Reads the installed word lists and the store at `storePath` and builds the
// index: the work done on a thread of its own.
SuggestionIndex buildSuggestionIndex(const words::WordListSources& sources,
                                     const std::string& storePath);

class SuggestionController : public QObject {
  Q_OBJECT

 public:
  struct Hooks {
    std::function<QFont()> hindiFont;             // the Hindi box's font
    std::function<void(const QString&)> status;   // a short report in the status bar
    std::function<void(const QString&)> warning;  // a message the user must see
  };

  // Watches `english` and `window` (which it hides the list for when it moves).
  SuggestionController(RichTextField* english, QWidget* window, Hooks hooks,
                       QObject* parent = nullptr);
  ~SuggestionController() override;

  // Builds the index on a thread of its own from the installed lists and the
  // user's store; installed when ready.
  void startLoading(const words::WordListSources& sources = {},
                    const std::string& storePath = words::UserStore::defaultPath());
  // Puts `index` to use at once (also the seam for the tests).
  void install(SuggestionIndex index);
  bool ready() const { return index_.suggester != nullptr; }
  // Which word lists were found; empty until the index is ready.
  QString summary() const { return QString::fromStdString(index_.summary); }
  // The word data, for spelling: null until the index is ready.
  words::Suggester* suggester() const { return index_.suggester.get(); }
  std::shared_ptr<const words::WordSet> lists() const { return index_.lists; }

  // View > Suggestions; off hides the list.
  void setEnabled(bool on);
  bool enabled() const { return enabled_; }
  // A space or punctuation after a word takes the first candidate.
  void setReplaceAsYouType(bool on) { replaceAsYouType_ = on; }
  bool replaceAsYouType() const { return replaceAsYouType_; }

  SuggestionList* list() const { return list_; }
  bool listShown() const;
  const std::vector<words::Candidate>& candidates() const { return candidates_; }

  // Replaces the word with candidate `index`'s key spelling, as one step of
  // undo, and counts the pick; false when there is no such candidate.
  bool pick(int index);
  // Takes candidate `index` out of the user's store and its ranking.
  void forget(int index);
  // Hides the list until the next word.
  void dismiss();
  // Writes the store now if it has changes.
  void saveStore();
  // "Add to Dictionary": `word` (NFC) into the user's store, written at once.
  void addToStore(const std::u16string& word);
  const words::UserStore& store() const { return index_.store; }

  // Looks at the caret again: shows, moves or hides the list.
  void refresh();

 signals:
  void installed();
  // A word was added to the user's store or taken out of it.
  void storeChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  bool keyPress(QKeyEvent* e);
  bool wordAtCaret(int* start, QString* typed) const;
  const std::vector<words::Candidate>& lookUp(const QString& typed);
  void hideList();
  void learn(const std::u16string& word, bool saveNow);
  void replaceWord(int start, int length, const QString& with, const QString& after);
  void keep(int start, const QString& typed);

  RichTextField* english_;
  QPointer<QWidget> window_;
  Hooks hooks_;
  SuggestionList* list_;
  SuggestionIndex index_;
  QFutureWatcher<std::shared_ptr<SuggestionIndex>>* loader_ = nullptr;
  QTimer* saveTimer_;
  bool enabled_ = true;
  bool replaceAsYouType_ = false;
  std::vector<words::Candidate> candidates_;
  QString lookedUp_;  // the typed word candidates_ belong to
  bool lookedUpValid_ = false;
  int wordStart_ = -1;    // where the word of the list starts in the document
  int dismissedAt_ = -1;  // the start of the word the list stays hidden for
  int pickedAt_ = -1;     // the start of the last word picked, not to be counted again as kept
  bool storeDirty_ = false;
  bool storeWritable_ = true;  // false when a damaged store could not be kept aside
  bool warnedUnwritable_ = false;
};

}  // namespace kavelin
