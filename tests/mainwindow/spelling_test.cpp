// SPDX-License-Identifier: GPL-3.0-or-later
// Spelling in the windows, on an index of a few hand-made words: unknown words
// underlined in both encodings of the Editing Box and in the Hindi box, the
// right-click menu's corrections (in the run's encoding and format, as one
// step of undo; through the English box for the Hindi box), Add to
// Dictionary across a restart, Ignore All, Check Spelling and View >
// Underline Unknown Words.
#include "spelling.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <functional>

#include "fixtures.h"
#include "keys.h"
#include "statusbar.h"
#include "suggestions.h"
#include "unicodetext.h"
#include "unicodetoglyphs.h"

namespace kavelin::test {
namespace {

// Known words; वाङ्मय only in the lists (no key types ङ).
const char16_t* const kWords[] = {u"भारत", u"नमस्ते", u"है", u"घर", u"पानी"};
const char16_t* const kListOnly[] = {u"वाङ्मय"};

QString g(const char16_t* unicode) { return qstr(unicodeToGlyphs(unicode).glyphs); }
QString u(const char16_t* unicode) { return QString::fromUtf16(unicode); }

// Pieces of text as Unicode, for the failure messages.
std::string shown(const QStringList& pieces) {
  QStringList out;
  for (const QString& p : pieces) out << unicodeText(p) + QStringLiteral(" (") + p + u')';
  return out.join(QStringLiteral(", ")).toStdString();
}
#define EXPECT_PIECES(actual, expected) EXPECT_EQ(shown(actual), shown(expected))

class SpellingTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    QApplication::setActiveWindow(w.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    storePath = dir.filePath("data/words.tsv");
    install();
  }
  void TearDown() override {
    writeFlag(keys::kUnderlineUnknownWords, true);
    WindowTest::TearDown();
  }
  void install() {
    auto suggester = std::make_unique<words::Suggester>();
    std::vector<std::pair<std::u16string, words::ListMask>> lists;
    for (const char16_t* word : kWords) {
      suggester->add(word, words::kFromHunspell);
      lists.emplace_back(word, 1);
    }
    for (const char16_t* word : kListOnly) lists.emplace_back(word, 1);
    SuggestionIndex index =
        SuggestionIndex::withStore(std::move(suggester), storePath.toStdString());
    index.lists = std::make_shared<const words::WordSet>(words::WordSet::build(lists));
    w->suggestions()->install(std::move(index));
  }
  void restart() {
    w->close();
    w.reset();
    makeWindow();
    install();
  }
  SpellingController* s() { return w->spelling(); }

  // The Editing Box holds these pieces, each in its format.
  struct Piece {
    QString text;
    QTextCharFormat format;
  };
  void fill(const std::vector<Piece>& pieces) {
    w->MainBox->setText(QString());
    QTextCursor cursor(w->MainBox->document());
    for (const Piece& p : pieces) cursor.insertText(p.text, p.format);
    w->MainBox->document()->clearUndoRedoStacks();
    w->MainBox->document()->setModified(false);
  }
  static QTextCharFormat font(const QString& family, double size = 0, bool bold = false,
                              bool italic = false) {
    QTextCharFormat f;
    f.setFontFamilies({family});
    if (size > 0) f.setFontPointSize(size);
    if (bold) f.setFontWeight(QFont::Bold);
    if (italic) f.setFontItalic(true);
    return f;
  }

  // The pieces of a block's text under the red wavy line, in order.
  static QStringList underlined(const QTextBlock& b) {
    QStringList out;
    for (const QTextLayout::FormatRange& r : b.layout()->formats()) {
      if (r.format.underlineStyle() == QTextCharFormat::WaveUnderline) {
        EXPECT_EQ(r.format.underlineColor(), QColor(Qt::red));
        out << b.text().mid(r.start, r.length);
      }
    }
    return out;
  }
  // The same for all of a box's text.
  static QStringList underlined(RichTextField* box) {
    QStringList out;
    for (QTextBlock b = box->document()->begin(); b.isValid(); b = b.next()) out << underlined(b);
    return out;
  }
  // The menu's action with this text.
  static QAction* entry(QMenu* menu, const QString& text) {
    for (QAction* a : menu->actions()) {
      if (a->text() == text) return a;
    }
    return nullptr;
  }
  int positionOf(RichTextField* box, const QString& piece, int from = 0) {
    return static_cast<int>(box->document()->toPlainText().indexOf(piece, from));
  }
  QString status() { return w->sbStatusBar->panel(0)->text(); }

  QString storePath;
};

TEST_F(SpellingTest, UnknownWordsUnderlinedInEachRunsEncoding) {
  const QTextCharFormat glyphs = font(QStringLiteral("DevLys 160"));
  const QTextCharFormat bold = font(QStringLiteral("DevLys 160 Bold"), 18, true);
  const QTextCharFormat unicode = font(devanagariFont());
  struct Case {
    const char* name;
    std::vector<Piece> pieces;
    QStringList expected;
  } cases[] = {
      {"glyph codes", {{g(u"भारत भरत है, पनी।"), glyphs}}, {g(u"भरत"), g(u"पनी")}},
      {"Unicode", {{u(u"भारत भरत है, पनी। वाङ्मय"), unicode}}, {u(u"भरत"), u(u"पनी")}},
      {"both in one paragraph",
       {{g(u"घर भरत "), glyphs}, {u(u"घरर पानी "), unicode}, {g(u"पनी"), bold}},
       {g(u"भरत"), u(u"घरर"), g(u"पनी")}},
      // A word whose letters are in two formats of the legacy font is one word.
      {"a word across formats",
       {{g(u"भ"), glyphs}, {g(u"रत"), bold}, {QStringLiteral(" "), glyphs}},
       {g(u"भरत")}},
      // The Roman letters of a Unicode run, digits and Latin text are no words.
      {"not Devanagari", {{QStringLiteral("bharat 123 ram"), unicode}}, {}},
      {"paragraphs", {{g(u"भरत\nभारत\n\nपनी"), glyphs}}, {g(u"भरत"), g(u"पनी")}},
  };
  for (const Case& k : cases) {
    fill(k.pieces);
    EXPECT_PIECES(underlined(w->MainBox), k.expected) << k.name;
  }
}

TEST_F(SpellingTest, NothingUnderlinedUntilTheWordDataIsReady) {
  w->close();
  w.reset();
  makeWindow();
  fill({{g(u"भरत है"), font(QStringLiteral("DevLys 160"))}});
  type(QStringLiteral("bharat hai"));
  EXPECT_FALSE(s()->ready());
  EXPECT_TRUE(underlined(w->MainBox).isEmpty());
  EXPECT_TRUE(underlined(w->RTB1).isEmpty());
  w->action(Cmd::EditCheckSpelling)->trigger();
  EXPECT_TRUE(status().contains("not ready"));
  install();
  EXPECT_PIECES(underlined(w->MainBox), QStringList{g(u"भरत")});
  EXPECT_PIECES(underlined(w->RTB1), QStringList{hindiOf(QStringLiteral("bharat")).trimmed()});
}

TEST_F(SpellingTest, HindiBoxFollowsTheEnglishBox) {
  type(QStringLiteral("bhaarat bharat hai"));
  QTest::keyClick(w->RTB2, Qt::Key_Return);
  type(QStringLiteral("panee"));
  EXPECT_PIECES(underlined(w->RTB1), (QStringList{hindiOf(QStringLiteral("bharat")).trimmed(),
                                                  hindiOf(QStringLiteral("panee")).trimmed()}));
  // Only the line typed in is checked again, and the new word is underlined.
  type(QStringLiteral(" ghar"));
  EXPECT_EQ(underlined(w->RTB1).size(), 2);
  type(QStringLiteral("r"));
  EXPECT_EQ(underlined(w->RTB1).size(), 3);
}

// A long text: the blocks on show are checked, a block further down only once
// it scrolls into view, an edit at once wherever it is made, and a change of
// what is known reaches a block out of view when it comes back.
TEST_F(SpellingTest, BlocksAreCheckedAsTheyComeIntoView) {
  struct Case {
    const char* name;
    RichTextField* box;
  } cases[] = {{"Editing Box", w->MainBox}, {"Hindi box", w->RTB1}};
  const QString line = g(u"घर भरत");
  const QStringList wrong{g(u"भरत")};
  constexpr int kLines = 2000;
  for (const Case& k : cases) {
    RichTextField* box = k.box;
    QTextDocument* document = box->document();
    box->setText((line + u'\n').repeated(kLines - 1) + line);
    QApplication::processEvents();
    const auto block = [document](int n) { return document->findBlockByNumber(n); };
    EXPECT_PIECES(underlined(block(0)), wrong) << k.name;
    EXPECT_TRUE(underlined(block(kLines / 2)).isEmpty()) << k.name;
    EXPECT_TRUE(underlined(block(kLines - 1)).isEmpty()) << k.name;

    // Scrolled to the end (the layout finished first, as it is between events).
    document->documentLayout()->blockBoundingRect(document->lastBlock());
    box->verticalScrollBar()->setValue(box->verticalScrollBar()->maximum());
    QApplication::processEvents();
    EXPECT_PIECES(underlined(block(kLines - 1)), wrong) << k.name;
    EXPECT_TRUE(underlined(block(kLines / 2)).isEmpty()) << k.name;

    // Edits, on show and out of view, are checked as they are made.
    struct Edit {
      int block;
      const char16_t* text;
      QStringList underlined;
    } edits[] = {
        {kLines - 1, u"घर भारत", {}},
        {kLines - 1, u"पनी है", {g(u"पनी")}},
        {kLines / 2, u"घरर", {g(u"घरर")}},
        {0, u"पानी", {}},
    };
    for (const Edit& e : edits) {
      QTextCursor cursor(block(e.block));
      cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
      cursor.insertText(g(e.text));
      EXPECT_PIECES(underlined(block(e.block)), e.underlined) << k.name << " " << e.block;
    }

    // Underlining turned off at the end: the blocks on show are cleared at
    // once, a block out of view when it comes back.
    box->verticalScrollBar()->setValue(box->verticalScrollBar()->maximum());
    QApplication::processEvents();
    EXPECT_PIECES(underlined(block(kLines - 2)), wrong) << k.name;
    s()->setUnderlining(false);
    EXPECT_TRUE(underlined(block(kLines - 2)).isEmpty()) << k.name;
    EXPECT_PIECES(underlined(block(1)), wrong) << k.name;
    box->verticalScrollBar()->setValue(0);
    QApplication::processEvents();
    EXPECT_TRUE(underlined(block(1)).isEmpty()) << k.name;
    s()->setUnderlining(true);
    EXPECT_PIECES(underlined(block(1)), wrong) << k.name;
  }
}

TEST_F(SpellingTest, ACorrectionKeepsTheRunsEncodingAndFormatInOneStepOfUndo) {
  struct Case {
    const char* name;
    QTextCharFormat format;
    QString before, wrong, after;
  } cases[] = {
      {"glyph codes, bold and large", font(QStringLiteral("DevLys 160"), 20, true), g(u"घर भरत है"),
       g(u"भरत"), g(u"घर भारत है")},
      {"the legacy font's Bold name", font(QStringLiteral("DevLys 160 Bold"), 12), g(u"पनी।"),
       g(u"पनी"), g(u"पानी।")},
      {"Unicode, italic", font(devanagariFont(), 16, false, true), u(u"घर भरत है"), u(u"भरत"),
       u(u"घर भारत है")},
  };
  for (const Case& k : cases) {
    // Plain text around it, in another format.
    fill({{QStringLiteral("12 "), font(QStringLiteral("DevLys 160"))}, {k.before, k.format}});
    const QString before = w->MainBox->text();
    const int at = positionOf(w->MainBox, k.wrong);
    std::unique_ptr<QMenu> menu(s()->menuAt(w->MainBox, at + 1));
    ASSERT_TRUE(menu) << k.name;
    ASSERT_FALSE(menu->actions().isEmpty()) << k.name;
    QAction* first = menu->actions().front();
    EXPECT_EQ(first->font().family(), devanagariFont()) << k.name;
    first->trigger();
    EXPECT_EQ(w->MainBox->text(), QStringLiteral("12 ") + k.after) << k.name;
    QTextCursor c(w->MainBox->document());
    c.setPosition(at + 2);
    const QTextCharFormat f = c.charFormat();
    EXPECT_EQ(f.fontFamilies(), k.format.fontFamilies()) << k.name;
    EXPECT_EQ(f.fontWeight(), k.format.fontWeight()) << k.name;
    EXPECT_EQ(f.fontPointSize(), k.format.fontPointSize()) << k.name;
    EXPECT_EQ(f.fontItalic(), k.format.fontItalic()) << k.name;
    EXPECT_TRUE(underlined(w->MainBox).isEmpty()) << k.name;
    w->MainBox->undo();
    EXPECT_EQ(w->MainBox->text(), before) << k.name;
    EXPECT_FALSE(w->MainBox->document()->isUndoAvailable()) << k.name;
  }
}

TEST_F(SpellingTest, TheMenuOffersCorrectionsThenTheDictionaryThenTheBoxsEntries) {
  fill({{g(u"भरत घर"), font(QStringLiteral("DevLys 160"))}});
  std::unique_ptr<QMenu> menu(s()->menuAt(w->MainBox, 1));
  ASSERT_TRUE(menu);
  QStringList texts;
  for (QAction* a : menu->actions()) texts << (a->isSeparator() ? QStringLiteral("|") : a->text());
  ASSERT_GE(texts.size(), 5);
  EXPECT_EQ(texts.mid(0, 5),
            (QStringList{u(u"भारत"), "|", "&Add to Dictionary", "&Ignore All", "|"}));
  EXPECT_TRUE(texts.mid(5).join(u' ').contains("Select All"));
  // A known word, a space and the end of the text have no spelling menu.
  for (int at : {static_cast<int>(g(u"भरत ").size()) + 1, static_cast<int>(g(u"भरत ").size())}) {
    EXPECT_EQ(std::unique_ptr<QMenu>(s()->menuAt(w->MainBox, at)), nullptr) << at;
  }
  // A word with no correction says so.
  fill({{g(u"क्षत्रज्ञ"), font(QStringLiteral("DevLys 160"))}});
  menu.reset(s()->menuAt(w->MainBox, 1));
  ASSERT_TRUE(menu);
  EXPECT_EQ(menu->actions().front()->text(), "No Corrections");
  EXPECT_FALSE(menu->actions().front()->isEnabled());
}

TEST_F(SpellingTest, AHindiBoxCorrectionIsMadeInTheEnglishBox) {
  struct Case {
    const char* name;
    const char* english;
    int word;  // which whitespace-separated word of the line
    int line;
    const char* after;  // null: not found, the English box unchanged
  } cases[] = {
      {"a word", "bhaarat bharat hai", 1, 0, "bhaarat bhaarat hai"},
      {"after punctuation", "hai, bharat. ghar", 1, 0, "hai, bhaarat. ghar"},
      {"on a later line", "ghar\n\nhai  panee", 1, 2, "ghar\n\nhai  paanee"},
  };
  for (const Case& k : cases) {
    w->RTB2->setText(QString::fromLatin1(k.english));
    const QStringList words =
        w->RTB1->document()->findBlockByNumber(k.line).text().split(u' ', Qt::SkipEmptyParts);
    ASSERT_GT(words.size(), k.word) << k.name;
    const int at = positionOf(w->RTB1, words[k.word],
                              w->RTB1->document()->findBlockByNumber(k.line).position());
    std::unique_ptr<QMenu> menu(s()->menuAt(w->RTB1, at + 1));
    ASSERT_TRUE(menu) << k.name;
    menu->actions().front()->trigger();
    EXPECT_EQ(w->RTB2->text(), QString::fromLatin1(k.after)) << k.name;
    EXPECT_EQ(w->RTB1->text(), hindiOf(QString::fromLatin1(k.after))) << k.name;
    // One step of undo in the English box.
    QTest::keyClick(w->RTB2, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w->RTB2->text(), QString::fromLatin1(k.english)) << k.name;
  }
  // A Hindi box not made from the English box: the letters are not found.
  w->RTB2->setText(QStringLiteral("ghar hai"));
  w->RTB1->setText(g(u"घर भरत"));
  std::unique_ptr<QMenu> menu(s()->menuAt(w->RTB1, static_cast<int>(g(u"घर ").size()) + 1));
  ASSERT_TRUE(menu);
  menu->actions().front()->trigger();
  EXPECT_EQ(w->RTB2->text(), QStringLiteral("ghar hai"));
  EXPECT_TRUE(status().contains("could not be found"));
}

TEST_F(SpellingTest, AddToDictionaryKeepsTheWordAcrossARestart) {
  struct Case {
    const char* name;
    const char16_t* word;
    QTextCharFormat format;
    const char* english;  // the same word typed, or null
  } cases[] = {
      {"in glyph codes", u"भरत", font(QStringLiteral("DevLys 160")), "bharat"},
      // No key types ञ: known from the store itself.
      {"with no key spelling", u"ञान", font(devanagariFont()), nullptr},
  };
  for (const Case& k : cases) {
    const QString text =
        k.format.fontFamilies().toStringList().front() == devanagariFont() ? u(k.word) : g(k.word);
    fill({{text + QStringLiteral(" "), k.format}});
    w->RTB2->setText(k.english ? QString::fromLatin1(k.english) : QString());
    ASSERT_EQ(underlined(w->MainBox), QStringList{text}) << k.name;
    std::unique_ptr<QMenu> menu(s()->menuAt(w->MainBox, 1));
    ASSERT_TRUE(menu) << k.name;
    entry(menu.get(), "&Add to Dictionary")->trigger();
    menu.reset();
    // Known at once in both boxes, and written.
    EXPECT_TRUE(underlined(w->MainBox).isEmpty()) << k.name;
    EXPECT_TRUE(underlined(w->RTB1).isEmpty()) << k.name;
    EXPECT_TRUE(readFile("data/words.tsv").contains((u(k.word) + u'\t').toUtf8())) << k.name;
    restart();
    fill({{text, k.format}});
    EXPECT_TRUE(underlined(w->MainBox).isEmpty()) << k.name;
  }
  EXPECT_TRUE(shownMessages.empty());
}

TEST_F(SpellingTest, IgnoreAllLastsUntilTheProgramCloses) {
  fill({{g(u"भरत है भरत पनी"), font(QStringLiteral("DevLys 160"))}});
  type(QStringLiteral("bharat"));
  std::unique_ptr<QMenu> menu(s()->menuAt(w->MainBox, 1));
  ASSERT_TRUE(menu);
  entry(menu.get(), "&Ignore All")->trigger();
  menu.reset();
  EXPECT_PIECES(underlined(w->MainBox), QStringList{g(u"पनी")});
  EXPECT_TRUE(underlined(w->RTB1).isEmpty());
  // Also once the word data is read again, but not into the store.
  install();
  EXPECT_PIECES(underlined(w->MainBox), QStringList{g(u"पनी")});
  EXPECT_FALSE(readFile("data/words.tsv").contains(u(u"भरत").toUtf8()));
  restart();
  fill({{g(u"भरत"), font(QStringLiteral("DevLys 160"))}});
  EXPECT_PIECES(underlined(w->MainBox), QStringList{g(u"भरत")});
}

TEST_F(SpellingTest, CheckSpellingMovesThroughTheUnknownWords) {
  fill({{g(u"भरत घर पनी\nहै घरर"), font(QStringLiteral("DevLys 160"))}});
  w->MainBox->setFocus();
  w->MainBox->moveCursor(QTextCursor::Start);
  const QString expected[] = {g(u"भरत"), g(u"पनी"), g(u"घरर"), g(u"भरत")};  // round again
  for (const QString& word : expected) {
    QTest::keyClick(w->MainBox, Qt::Key_F7);
    EXPECT_EQ(w->MainBox->textCursor().selectedText(), word);
    EXPECT_EQ(status(), "3 unknown words left");
  }
  // From a caret inside a word: that word.
  QTextCursor caret(w->MainBox->document());
  caret.setPosition(positionOf(w->MainBox, g(u"पनी")) + 1);
  w->MainBox->setTextCursor(caret);
  w->action(Cmd::EditCheckSpelling)->trigger();
  EXPECT_EQ(w->MainBox->textCursor().selectedText(), g(u"पनी"));
  // The English box's F7 goes to the Hindi box.
  w->RTB2->setFocus();
  type(QStringLiteral("hai bharat"));
  QTest::keyClick(w->RTB2, Qt::Key_F7);
  EXPECT_EQ(QApplication::focusWidget(), w->RTB1);
  EXPECT_EQ(w->RTB1->textCursor().selectedText(), hindiOf(QStringLiteral("bharat")).trimmed());
  EXPECT_EQ(status(), "1 unknown word left");
  fill({{g(u"घर है"), font(QStringLiteral("DevLys 160"))}});
  w->MainBox->setFocus();
  w->action(Cmd::EditCheckSpelling)->trigger();
  EXPECT_EQ(status(), "No unknown words");
  EXPECT_FALSE(w->MainBox->textCursor().hasSelection());
}

TEST_F(SpellingTest, UnderlineUnknownWordsTurnsOffAndIsRemembered) {
  QAction* toggle = w->action(Cmd::ViewUnderlineUnknownWords);
  EXPECT_EQ(toggle->text(), "Underline U&nknown Words");
  ASSERT_TRUE(toggle->isChecked());
  fill({{g(u"भरत"), font(QStringLiteral("DevLys 160"))}});
  type(QStringLiteral("bharat"));
  toggle->trigger();
  EXPECT_FALSE(readFlag(keys::kUnderlineUnknownWords));
  EXPECT_TRUE(underlined(w->MainBox).isEmpty());
  EXPECT_TRUE(underlined(w->RTB1).isEmpty());
  EXPECT_EQ(std::unique_ptr<QMenu>(s()->menuAt(w->MainBox, 1)), nullptr);
  restart();
  EXPECT_FALSE(w->action(Cmd::ViewUnderlineUnknownWords)->isChecked());
  fill({{g(u"भरत"), font(QStringLiteral("DevLys 160"))}});
  EXPECT_TRUE(underlined(w->MainBox).isEmpty());
  w->action(Cmd::ViewUnderlineUnknownWords)->trigger();
  EXPECT_TRUE(readFlag(keys::kUnderlineUnknownWords));
  EXPECT_PIECES(underlined(w->MainBox), QStringList{g(u"भरत")});
}

}  // namespace
}  // namespace kavelin::test
