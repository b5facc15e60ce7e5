// SPDX-License-Identifier: GPL-3.0-or-later
// Spelling in the windows: unknown words underlined in the Editing Box (each
// run checked in its own encoding: glyph codes where its font is the legacy
// font, else Unicode) and in the Hindi box (glyph codes), a right-click menu
// of corrections, Add to Dictionary and Ignore All, and Check Spelling (F7).
// The checker works on the suggestion index's word data once it is ready;
// until then nothing is underlined.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "spellcheck.h"

class QMenu;
class QTextBlock;
class QFont;

namespace kavelin {

class Engine;
class RichTextField;
class SpellingHighlighter;
class SuggestionController;

// A Devanagari word of a text block: its place in the block, its Unicode (NFC)
// and whether it is written in glyph codes.
struct BlockWord {
  int position = 0;
  int length = 0;
  std::u16string unicode;
  bool glyphs = false;
};

// The words of `block`, each run of fragments read in its encoding: glyph
// codes when `allGlyphs` or when its font is a glyph family of `base`.
std::vector<BlockWord> blockWords(const QTextBlock& block, bool allGlyphs, const QFont& base);

class SpellingController : public QObject {
  Q_OBJECT

 public:
  struct Hooks {
    std::function<void(const QString&)> status;  // a short report in the status bar
  };

  // Checks `editingBox` and `hindiBox` against the word data of `words`; a
  // correction in the Hindi box is made in `englishBox`.
  SpellingController(SuggestionController* words, RichTextField* editingBox,
                     RichTextField* hindiBox, RichTextField* englishBox, Hooks hooks,
                     QObject* parent = nullptr);
  ~SpellingController() override;

  bool ready() const { return checker_ != nullptr; }

  // View > Underline Unknown Words.
  void setUnderlining(bool on);
  bool underlining() const { return underlining_; }

  // An unknown word of a box, at its place in the document.
  struct Word {
    int position = 0;
    int length = 0;
    std::u16string unicode;
    bool glyphs = false;
  };
  // The unknown word at document position `position` (inside it or at its end).
  std::optional<Word> unknownAt(RichTextField* box, int position);
  // Every unknown word of the box, in order.
  std::vector<Word> unknownWords(RichTextField* box);
  // The corrections a menu offers for `word` in `box`: those the box can write
  // (in glyph codes, or with the keys for the Hindi box).
  std::vector<std::u16string> corrections(RichTextField* box, const Word& word);

  // The menu for a right-click at document position `position`: corrections,
  // Add to Dictionary, Ignore All, then the box's own entries. Null where no
  // unknown word stands or underlining is off. The caller owns it.
  QMenu* menuAt(RichTextField* box, int position);

  // Replaces `word` with `correction`: in the Editing Box in the run's
  // encoding and format, as one step of undo; for the Hindi box, its Roman
  // letters in the English box. False (and a report) when it cannot.
  bool correct(RichTextField* box, const Word& word, const std::u16string& correction);
  void addToDictionary(const std::u16string& word);
  void ignoreAll(const std::u16string& word);

  // Edit > Check Spelling: selects the next unknown word of `box` after the
  // caret or selection, from the start again at the end, and reports how
  // many there are.
  void checkNext(RichTextField* box);

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  friend class SpellingHighlighter;
  void install();
  void rehighlight();
  bool glyphsOnly(const RichTextField* box) const { return box == hindiBox_; }
  bool correctEnglish(const Word& word, const std::u16string& correction);
  void report(const QString& text);

  SuggestionController* words_;
  RichTextField* editingBox_;
  RichTextField* hindiBox_;
  RichTextField* englishBox_;
  Hooks hooks_;
  std::shared_ptr<const words::WordSet> lists_;
  std::unique_ptr<words::SpellChecker> checker_;
  std::unique_ptr<Engine> engine_;  // converts the Roman words of the English box
  std::set<std::u16string> ignored_;
  SpellingHighlighter* editingHighlighter_;
  SpellingHighlighter* hindiHighlighter_;
  bool underlining_ = true;
};

}  // namespace kavelin
