// SPDX-License-Identifier: GPL-3.0-or-later
// The candidate list of the English box, on an index of a few hand-made words:
// when it shows and hides, picks by key and by click as one step of undo,
// typing through it, Replace as I Type, learning into the user's store, and
// View > Suggestions.
#include "suggestions.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <functional>

#include "fixtures.h"
#include "keys.h"
#include "suggestionlist.h"

namespace kavelin::test {
namespace {

// "bharat" gives भरत first (its exact spelling), then भारत.
const char16_t* const kWords[] = {u"भारत", u"भरत", u"प्यार", u"प्यारा", u"नमस्ते", u"है"};

class SuggestionTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    QApplication::setActiveWindow(w.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    w->RTB2->setFocus();
    storePath = dir.filePath("data/words.tsv");
    install();
  }
  void TearDown() override {
    writeFlag(keys::kSuggestions, true);
    writeFlag(keys::kReplaceAsYouType, false);
    WindowTest::TearDown();
  }
  void install() {
    auto index = std::make_unique<words::Suggester>();
    for (const char16_t* word : kWords) index->add(word, words::kFromHunspell);
    c()->install(SuggestionIndex::withStore(std::move(index), storePath.toStdString()));
  }
  SuggestionController* c() { return w->suggestions(); }
  SuggestionList* list() { return c()->list(); }
  bool shown() { return list()->isVisible(); }
  QString first() { return QString::fromStdU16String(c()->candidates().front().unicode); }
  int rowOf(const char16_t* word) {
    for (std::size_t i = 0; i < c()->candidates().size(); ++i) {
      if (c()->candidates()[i].unicode == word) return static_cast<int>(i);
    }
    return -1;
  }
  void expectEnglish(const QString& english, const char* step) {
    EXPECT_EQ(w->RTB2->text(), english) << step;
    EXPECT_EQ(w->RTB1->text(), hindiOf(english)) << step;
  }
  void undo() { QTest::keyClick(w->RTB2, Qt::Key_Z, Qt::ControlModifier); }

  QString storePath;
};

TEST(TypedWord, TheWordTheCaretEnds) {
  struct Case {
    const char* text;
    int column;
    int start, length;  // length 0: no word
  } cases[] = {
      {"bharat", 6, 0, 6},      {"ek pyar", 7, 3, 4}, {"ek pyar", 5, 0, 0},  // inside
      {"ek pyar hai", 7, 3, 4}, {"me^", 3, 0, 3},     {"duHkh:", 6, 0, 6},  {"kal*", 4, 0, 4},
      {"^^ab", 4, 2, 2},        {"(ram)", 4, 1, 3},   {"12ab", 4, 2, 2},    {"ab12", 4, 0, 0},
      {"ab ", 3, 0, 0},         {"", 0, 0, 0},        {"ab", 3, 0, 0},  // past the end
  };
  for (const Case& k : cases) {
    const TypedWord word = typedWordBefore(QString::fromLatin1(k.text), k.column);
    EXPECT_EQ(word.length, k.length) << k.text << " at " << k.column;
    if (k.length) {
      EXPECT_EQ(word.start, k.start) << k.text << " at " << k.column;
    }
  }
  for (const char* ends : {" ", ",", ".", "?", "!", ";", ")", "\"", "'", "-", "|"}) {
    EXPECT_TRUE(endsWord(QString::fromLatin1(ends))) << ends;
  }
  for (const char* goesOn : {"a", "Z", "^", "*", ":", "1", "", "ab"}) {
    EXPECT_FALSE(endsWord(QString::fromLatin1(goesOn))) << goesOn;
  }
}

TEST_F(SuggestionTest, ShowsBelowTheWordBeingTypedWithoutTakingTheFocus) {
  type(QStringLiteral("ek bharat"));
  ASSERT_TRUE(shown());
  EXPECT_EQ(list()->rows().size(), c()->candidates().size());
  EXPECT_LE(list()->rows().size(), 9u);
  EXPECT_EQ(first(), QString::fromUtf16(u"भरत"));
  EXPECT_EQ(list()->rows()[0].spelling, QStringLiteral("bharat"));
  // Drawn as glyph codes in the Hindi box's font.
  EXPECT_EQ(list()->rows()[0].glyphs, hindiOf(QStringLiteral("bharat")).trimmed());
  // Under the word, from where it starts.
  QTextCursor start(w->RTB2->document());
  start.setPosition(3);
  const QPoint word = w->RTB2->viewport()->mapToGlobal(w->RTB2->cursorRect(start).bottomLeft());
  EXPECT_GE(list()->geometry().top(), word.y());
  EXPECT_LE(list()->geometry().top(), word.y() + 8);
  EXPECT_EQ(list()->geometry().left(), word.x());
  EXPECT_EQ(QApplication::focusWidget(), w->RTB2);
  EXPECT_FALSE(list()->isActiveWindow());
}

TEST_F(SuggestionTest, HidesAsTheWordEndsOrTheBoxIsLeft) {
  struct Case {
    const char* name;
    std::function<void()> act;
    bool shownAfter;
  } cases[] = {
      {"Esc", [&] { QTest::keyClick(w->RTB2, Qt::Key_Escape); }, false},
      {"Esc, then more of the same word",
       [&] {
         QTest::keyClick(w->RTB2, Qt::Key_Escape);
         type(QStringLiteral("a"));
       },
       false},
      {"Esc, then the next word",
       [&] {
         QTest::keyClick(w->RTB2, Qt::Key_Escape);
         type(QStringLiteral(" pyar"));
       },
       true},
      {"a space", [&] { type(QStringLiteral(" ")); }, false},
      {"a comma", [&] { type(QStringLiteral(",")); }, false},
      {"a digit", [&] { type(QStringLiteral("1")); }, false},
      {"a mark of the keys", [&] { type(QStringLiteral("^")); }, true},
      {"caret to the word's start", [&] { QTest::keyClick(w->RTB2, Qt::Key_Home); }, false},
      {"a selection", [&] { QTest::keyClick(w->RTB2, Qt::Key_Left, Qt::ShiftModifier); }, false},
      {"the focus elsewhere", [&] { w->MainBox->setFocus(); }, false},
      {"the window moved", [&] { w->move(w->pos() + QPoint(10, 10)); }, false},
      {"Backspace", [&] { QTest::keyClick(w->RTB2, Qt::Key_Backspace); }, true},
  };
  for (const Case& k : cases) {
    w->RTB2->setText(QString());
    w->RTB2->setFocus();
    type(QStringLiteral("bharat"));
    ASSERT_TRUE(shown()) << k.name;
    k.act();
    EXPECT_EQ(shown(), k.shownAfter) << k.name;
  }
  // Esc goes to the list only while it shows: the text is unchanged.
  EXPECT_EQ(w->RTB2->text(), QStringLiteral("bhara"));
}

TEST_F(SuggestionTest, TypingGoesOnWhileItShows) {
  type(QStringLiteral("bhar"));
  ASSERT_TRUE(shown());
  type(QStringLiteral("at 12, pyar"));
  expectEnglish(QStringLiteral("bharat 12, pyar"), "typed through the list");
  EXPECT_TRUE(shown());
  // Alt+W jumps to the word's end as before; Alt with a digit that has no
  // candidate, and without the list, types nothing.
  QTest::keyClick(w->RTB2, Qt::Key_Home);
  QTest::keyClick(w->RTB2, Qt::Key_W, Qt::AltModifier);
  EXPECT_EQ(w->RTB2->textCursor().position(), 6);
  w->RTB2->moveCursor(QTextCursor::End);
  QTest::keyClick(w->RTB2, Qt::Key_Escape);
  QTest::keyClick(w->RTB2, Qt::Key_1, Qt::AltModifier);
  expectEnglish(QStringLiteral("bharat 12, pyar"), "Alt+1 without the list");
}

TEST_F(SuggestionTest, APickReplacesTheWordAsOneStepOfUndo) {
  struct Case {
    const char* name;
    std::function<void(int row)> pick;
  } cases[] = {
      {"Alt+digit",
       [&](int row) {
         QTest::keyClick(w->RTB2, static_cast<Qt::Key>(Qt::Key_1 + row), Qt::AltModifier);
       }},
      {"click",
       [&](int row) {
         QTest::mouseClick(list(), Qt::LeftButton, {}, list()->rowRect(row).center());
       }},
  };
  for (const Case& k : cases) {
    w->RTB2->setText(QString());
    // A word between others: only it is replaced.
    type(QStringLiteral("ek pyar hai"));
    QTextCursor caret = w->RTB2->textCursor();
    caret.setPosition(7);
    w->RTB2->setTextCursor(caret);
    ASSERT_TRUE(shown()) << k.name;
    const int row = rowOf(u"प्यारा");
    ASSERT_GE(row, 0) << k.name;
    const QString spelling = QString::fromStdString(c()->candidates()[row].spelling);
    k.pick(row);
    expectEnglish(QStringLiteral("ek ") + spelling + QStringLiteral(" hai"), k.name);
    EXPECT_EQ(w->RTB2->textCursor().position(), 3 + spelling.size()) << k.name;
    EXPECT_FALSE(shown()) << k.name;
    EXPECT_EQ(QApplication::focusWidget(), w->RTB2) << k.name;
    undo();
    expectEnglish(QStringLiteral("ek pyar hai"), k.name);
  }
}

TEST_F(SuggestionTest, ReplaceAsIType) {
  struct Case {
    const char* typed;
    bool on;
    const char* after;
  } cases[] = {
      {"pyar ", true, "pyaar "},  {"pyar,", true, "pyaar,"},
      {"pyar ", false, "pyar "},  {"xyzq ", true, "xyzq "},  // no known word
      {"pyaar.", true, "pyaar."},                            // typed exactly
  };
  for (const Case& k : cases) {
    w->action(Cmd::ViewReplaceAsYouType)->setChecked(!k.on);
    w->action(Cmd::ViewReplaceAsYouType)->trigger();
    w->RTB2->setText(QString());
    type(QString::fromLatin1(k.typed));
    expectEnglish(QString::fromLatin1(k.after), k.typed);
  }
  EXPECT_TRUE(readFlag(keys::kReplaceAsYouType));
  // The replacement and the space are one step of undo; Esc keeps the word.
  w->RTB2->setText(QString());
  type(QStringLiteral("pyar "));
  undo();
  expectEnglish(QStringLiteral("pyar"), "undone");
  w->RTB2->setText(QString());
  type(QStringLiteral("pyar"));
  QTest::keyClick(w->RTB2, Qt::Key_Escape);
  type(QStringLiteral(" "));
  expectEnglish(QStringLiteral("pyar "), "after Esc");
}

TEST_F(SuggestionTest, LearnsPicksAndWordsTypedExactly) {
  type(QStringLiteral("bharat"));
  ASSERT_EQ(first(), QString::fromUtf16(u"भरत"));
  const int row = rowOf(u"भारत");
  ASSERT_GT(row, 0);
  ASSERT_TRUE(c()->pick(row));
  // Written at once, and ranked first the next time.
  EXPECT_TRUE(readFile("data/words.tsv").contains(QString::fromUtf16(u"भारत\t1").toUtf8()));
  type(QStringLiteral(" bharat"));
  ASSERT_TRUE(shown());
  EXPECT_EQ(first(), QString::fromUtf16(u"भारत"));
  // A space after the picked word did not count it again; a word typed as its
  // exact spelling and kept counts once.
  type(QStringLiteral(" pyaar pyar "));
  c()->saveStore();
  EXPECT_EQ(c()->store().count(u"भारत"), 1u);
  EXPECT_EQ(c()->store().count(u"प्यार"), 1u);
  EXPECT_TRUE(readFile("data/words.tsv").contains(QString::fromUtf16(u"प्यार\t1").toUtf8()));
  // The store is read back as written.
  install();
  EXPECT_EQ(c()->store().count(u"प्यार"), 1u);
  EXPECT_TRUE(shownMessages.empty());
}

TEST_F(SuggestionTest, ForgetThisWord) {
  type(QStringLiteral("bharat"));
  ASSERT_TRUE(c()->pick(rowOf(u"भारत")));
  type(QStringLiteral(" bharat"));
  ASSERT_EQ(first(), QString::fromUtf16(u"भारत"));
  // Only a word of the store can be forgotten.
  EXPECT_FALSE(list()->menuFor(rowOf(u"भरत"))->actions().at(0)->isEnabled());
  QAction* forget = list()->menuFor(0)->actions().at(0);
  EXPECT_EQ(forget->text(), QStringLiteral("Forget This Word"));
  ASSERT_TRUE(forget->isEnabled());
  forget->trigger();
  EXPECT_EQ(c()->store().count(u"भारत"), 0u);
  EXPECT_FALSE(readFile("data/words.tsv").contains(QString::fromUtf16(u"भारत").toUtf8()));
  EXPECT_TRUE(shown());
  EXPECT_EQ(first(), QString::fromUtf16(u"भरत"));
}

TEST_F(SuggestionTest, DamagedStoreSaysSoOnceAndTypingGoesOn) {
  const QByteArray damaged = QString::fromUtf16(u"not a word\nभारत\t3\n").toUtf8();
  ASSERT_TRUE(QDir(dir.path()).mkpath("data"));
  writeFile("data/words.tsv", damaged);
  install();
  ASSERT_EQ(shownMessages.size(), 1u);
  EXPECT_TRUE(shownMessages[0].text.contains("could not be read whole"));
  EXPECT_TRUE(shownMessages[0].text.contains("line 1"));
  type(QStringLiteral("bharat"));
  EXPECT_EQ(first(), QString::fromUtf16(u"भारत"));  // the line that could be read counts
  ASSERT_TRUE(c()->pick(0));
  type(QStringLiteral(" pyar"));
  ASSERT_TRUE(c()->pick(0));
  EXPECT_EQ(shownMessages.size(), 1u);
  expectEnglish(QStringLiteral("bhaarat pyaar"), "typing goes on");
  // The file as it was is kept aside; the store is written without the damage.
  EXPECT_EQ(readFile("data/words.tsv.damaged"), damaged);
  EXPECT_TRUE(readFile("data/words.tsv").contains(QString::fromUtf16(u"भारत\t4").toUtf8()));
}

TEST_F(SuggestionTest, UnwritableStoreSaysSoOnceAndTypingGoesOn) {
  // Read (there is none yet), then its folder is taken by a file.
  EXPECT_TRUE(shownMessages.empty());
  writeFile("data", "a file where the store's folder should be");
  type(QStringLiteral("bharat"));
  ASSERT_TRUE(c()->pick(1));
  ASSERT_EQ(shownMessages.size(), 1u);
  EXPECT_TRUE(shownMessages[0].text.contains("cannot be written"));
  type(QStringLiteral(" bharat"));
  EXPECT_EQ(first(), QString::fromUtf16(u"भारत"));  // learned for this session
  ASSERT_TRUE(c()->pick(0));
  type(QStringLiteral(" pyar "));
  c()->saveStore();
  EXPECT_EQ(shownMessages.size(), 1u);
  expectEnglish(QStringLiteral("bhaarat bhaarat pyar "), "typing goes on");
}

TEST_F(SuggestionTest, ViewSuggestionsTurnsTheListOffAndIsRemembered) {
  QAction* toggle = w->action(Cmd::ViewSuggestions);
  ASSERT_TRUE(toggle->isChecked());
  toggle->trigger();
  EXPECT_FALSE(readFlag(keys::kSuggestions));
  type(QStringLiteral("bharat"));
  EXPECT_FALSE(shown());
  QTest::keyClick(w->RTB2, Qt::Key_1, Qt::AltModifier);
  expectEnglish(QStringLiteral("bharat"), "nothing picked");
  // A new window starts with it off.
  w->close();
  w.reset();
  makeWindow();
  EXPECT_FALSE(w->action(Cmd::ViewSuggestions)->isChecked());
  EXPECT_FALSE(w->suggestions()->enabled());
  w->action(Cmd::ViewSuggestions)->trigger();
  EXPECT_TRUE(readFlag(keys::kSuggestions));
}

}  // namespace
}  // namespace kavelin::test
