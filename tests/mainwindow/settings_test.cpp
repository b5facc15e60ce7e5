// SPDX-License-Identifier: GPL-3.0-or-later
// The settings dialog and the settings file, as the main window uses them.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "../settings/renames.h"
#include "fixtures.h"
#include "frmsettings.h"
#include "inifile.h"
#include "keys.h"

namespace kavelin::test {
namespace {

class SettingsTest : public WindowTest {
 protected:
  void writeSettings(const QByteArray& content) { writeFile("settings.ini", content); }
  std::string ini(const char* key) {
    return GetIni("Hindi Box", key, dir.filePath("settings.ini").toStdString());
  }
  frmSettings* open() {
    w->action(Cmd::Settings)->trigger();
    return w->findChild<frmSettings*>();
  }

  std::vector<QFont>& presets = platform.fontPresets;
  std::optional<QFont>& chosen = platform.chosenFont;
};

QFont font(const QString& family, double size) {
  QFont f(family);
  f.setPointSizeF(size);
  return f;
}

TEST_F(SettingsTest, DialogLayout) {
  // Values that fit the design frames: the design layout.
  writeSettings("[Hindi Box]\nFontName=Arial\nFontSize=8\n");
  frmSettings* s = open();
  ASSERT_NE(s, nullptr);
  EXPECT_FALSE(s->isModal());
  EXPECT_EQ(s->windowTitle(), "Settings");
  EXPECT_EQ(s->size(), QSize(6420 / 15, 2775 / 15));
  struct Case {
    QWidget* control;
    QRect twips;
    QString caption;
  } cases[] = {{s->Frame3, {120, 240, 5535, 1215}, "Hindi Box"},
               {s->Frame1, {120, 240, 2295, 855}, "Font Name"},
               {s->Frame2, {2520, 240, 615, 855}, "Size"},
               {s->Frame4, {3240, 240, 975, 855}, "Sample"},
               {s->Text1, {120, 240, 735, 495}, ""},
               {s->Command1, {4320, 360, 975, 735}, "&Change"},
               {s->OKButton, {2040, 2040, 1095, 375}, "OK"},
               {s->CancelButton, {3240, 2040, 1095, 375}, "Cancel"},
               {s->Command2, {960, 2040, 975, 375}, "Apply"},
               // Arial has no Hindi: the note says so, between the frame and the buttons.
               {s->Note, {120, 1500, 6180, 495}, ""}};
  for (const Case& c : cases) {
    const QRect got(c.control->x() * 15, c.control->y() * 15, c.control->width() * 15,
                    c.control->height() * 15);
    EXPECT_LE((got.topLeft() - c.twips.topLeft()).manhattanLength(), 28) << c.caption.toStdString();
    EXPECT_LE(std::abs(got.width() - c.twips.width()), 14) << c.caption.toStdString();
    if (auto* box = qobject_cast<QGroupBox*>(c.control)) {
      EXPECT_EQ(box->title(), c.caption);
    }
    if (auto* b = qobject_cast<QPushButton*>(c.control)) {
      EXPECT_EQ(b->text(), c.caption);
    }
  }
  EXPECT_EQ(s->Label1->pos(), QPoint(8, 24));
  EXPECT_TRUE(s->Note->isVisible());
  EXPECT_GE(s->Note->height(), s->Note->heightForWidth(s->Note->width()));
  // A dialog's title bar: a close button, no minimise or maximise button.
  const Qt::WindowFlags flags = s->windowFlags();
  EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
  EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  // Focus order: OK, Cancel, &Change, Apply.
  EXPECT_EQ(s->OKButton->nextInFocusChain(), s->CancelButton);
  EXPECT_EQ(s->CancelButton->nextInFocusChain(), s->Command1);
  EXPECT_EQ(s->Command1->nextInFocusChain(), s->Command2);
  // The main window stays usable; a second opening shows the same dialog.
  w->Command9->click();
  EXPECT_EQ(w->findChildren<frmSettings*>().size(), 1);
}

TEST_F(SettingsTest, OpensWithTheStoredFont) {
  writeSettings("[Hindi Box]\nFontName=Arial\nFontSize=12\n");
  frmSettings* s = open();
  EXPECT_EQ(s->Label1->text(), "Arial");
  EXPECT_EQ(s->Label2->text(), "12");
  EXPECT_EQ(s->Text1->font().family(), "Arial");
  EXPECT_DOUBLE_EQ(s->Text1->font().pointSizeF(), 12);
  EXPECT_TRUE(s->Command2->isEnabled());
  EXPECT_FALSE(s->Text1->text().isEmpty());
}

TEST_F(SettingsTest, MissingValuesShowNotAvailable) {
  frmSettings* s = open();
  const double before = s->Text1->font().pointSizeF();
  EXPECT_EQ(s->Label1->text(), "Not available");
  EXPECT_EQ(s->Label2->text(), "Not available");
  EXPECT_DOUBLE_EQ(s->Text1->font().pointSizeF(), before);  // the sample keeps its size
  // The sample and the chooser show the Hindi box's font, in Hindi.
  EXPECT_EQ(s->Text1->font().families().value(0), "DevLys 160");
  EXPECT_DOUBLE_EQ(before, 14.25);
  EXPECT_FALSE(s->Note->isVisible());
  s->Command1_Click();
  ASSERT_EQ(presets.size(), 1u);
  EXPECT_EQ(presets[0].family(), "DevLys 160");
  EXPECT_DOUBLE_EQ(presets[0].pointSizeF(), 14.25);
  EXPECT_EQ(s->Label2->text(), "Not available");  // left without choosing
  // Apply writes what the labels hold and leaves the Hindi box's font as it is.
  s->Command2_Click();
  EXPECT_EQ(ini("FontName"), "Not available");  // the text itself was written
  EXPECT_EQ(ini("FontSize"), "Not available");
  EXPECT_EQ(w->RTB1->baseFont().family(), "DevLys 160");
  EXPECT_DOUBLE_EQ(w->RTB1->baseFont().pointSizeF(), 14.25);
  // So does OK, through the font lists.
  s->OKButton_Click();
  EXPECT_EQ(w->Combo2->currentText(), "DevLys 160");
  EXPECT_EQ(w->Combo1->currentText(), "14.25");
  EXPECT_EQ(w->RTB1->baseFont().family(), "DevLys 160");
  EXPECT_DOUBLE_EQ(w->RTB1->baseFont().pointSizeF(), 14.25);
}

// The sample shows the glyph codes as the Hindi box will: a legacy-code name in
// the glyph font, any other font with a note that the box will show Latin
// letters, before anything is applied.
TEST_F(SettingsTest, SampleAndNoteShowWhatTheHindiBoxWillLookLike) {
  writeSettings("[Hindi Box]\nFontName=DevLys 160\nFontSize=12\n");
  frmSettings* s = open();
  struct Case {
    QString chosen;
    QStringList families;  // the sample's
    bool note;
  } cases[] = {{"DejaVu Sans", {"DejaVu Sans"}, true},
               {"DevLys 160 Bold", {"DevLys 160 Bold", "Kavelin Legacy Devanagari"}, false},
               {"Kavelin Legacy Devanagari", {"Kavelin Legacy Devanagari"}, false},
               {"devlys 160", {"devlys 160", "Kavelin Legacy Devanagari"}, false},
               {"Lohit Devanagari", {"Lohit Devanagari"}, true}};
  for (const Case& c : cases) {
    chosen = font(c.chosen, 16);
    s->Command1_Click();
    QStringList families = s->Text1->font().families();
    families.removeDuplicates();
    EXPECT_EQ(families, c.families) << c.chosen.toStdString();
    EXPECT_EQ(s->Text1->text(), "fgUnh");
    EXPECT_EQ(s->Note->isVisible(), c.note) << c.chosen.toStdString();
    if (c.note) {
      EXPECT_TRUE(s->Note->text().contains("\"" + c.chosen + "\"")) << c.chosen.toStdString();
      EXPECT_TRUE(s->Note->text().contains("Latin letters"));
      EXPECT_TRUE(s->rect().contains(s->Note->geometry()));
      EXPECT_LT(s->Note->y(), s->OKButton->y());
    }
  }
  // Nothing reached the Hindi box or the file before Apply.
  EXPECT_EQ(w->RTB1->baseFont().family(), "DevLys 160");
  EXPECT_EQ(ini("FontName"), "DevLys 160");
}

TEST_F(SettingsTest, ChangeThenApplyThenCancel) {
  writeSettings("[Other]\nkeep=1\n[Hindi Box]\nFontName=Arial\nFontSize=12\n");
  frmSettings* s = open();
  chosen = font("Lohit Devanagari", 14.25);
  s->Command1->click();
  ASSERT_EQ(presets.size(), 1u);
  EXPECT_EQ(presets[0].family(), "Arial");
  EXPECT_DOUBLE_EQ(presets[0].pointSizeF(), 12);
  EXPECT_EQ(s->Label1->text(), "Lohit Devanagari");
  EXPECT_EQ(s->Label2->text(), "14.25");
  EXPECT_EQ(s->Text1->font().family(), "Lohit Devanagari");
  EXPECT_TRUE(s->Command2->isEnabled());

  s->Command2->click();
  EXPECT_FALSE(s->Command2->isEnabled());
  EXPECT_TRUE(s->isVisible());
  EXPECT_EQ(ini("FontName"), "Lohit Devanagari");
  EXPECT_EQ(ini("FontSize"), "14.25");
  EXPECT_TRUE(readFile("settings.ini").startsWith("[Other]\nkeep=1\n[Hindi Box]\n"));
  EXPECT_EQ(w->RTB1->baseFont().family(), "Lohit Devanagari");
  EXPECT_DOUBLE_EQ(w->RTB1->baseFont().pointSizeF(), 14.25);

  s->CancelButton->click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(w->findChild<frmSettings*>(), nullptr);  // discarded when closed
  EXPECT_EQ(ini("FontName"), "Lohit Devanagari");
  EXPECT_EQ(w->RTB1->baseFont().family(), "Lohit Devanagari");
}

TEST_F(SettingsTest, OkWritesAndSetsTheFontLists) {
  writeSettings("[Hindi Box]\nFontName=Arial\nFontSize=12\n");
  frmSettings* s = open();
  chosen = font("DejaVu Sans", 16);
  s->Command1_Click();
  s->OKButton->click();
  EXPECT_EQ(ini("FontName"), "DejaVu Sans");
  EXPECT_EQ(ini("FontSize"), "16");
  EXPECT_EQ(w->Combo2->currentText(), "DejaVu Sans");
  EXPECT_EQ(w->Combo1->currentText(), "16");
  EXPECT_EQ(w->RTB1->baseFont().family(), "DejaVu Sans");
  EXPECT_DOUBLE_EQ(w->RTB1->baseFont().pointSizeF(), 16);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(w->findChild<frmSettings*>(), nullptr);

  // OK without a change writes back what was read.
  writeSettings("[hindi box]\nfontname = Arial\nFontSize=12\n");
  s = open();
  s->OKButton_Click();
  EXPECT_EQ(readFile("settings.ini"), "[hindi box]\nFontName=Arial\nFontSize=12\n");
}

TEST_F(SettingsTest, AFailedWriteIsReported) {
  setSettingsFilePath(dir.filePath("no-such-folder/settings.ini"));
  frmSettings* s = open();
  s->Command2_Click();
  ASSERT_EQ(shownMessages.size(), 1u);
  EXPECT_TRUE(shownMessages[0].text.contains("no-such-folder/settings.ini"));
  EXPECT_TRUE(shownMessages[0].text.contains("No such file or directory"));
}

TEST_F(SettingsTest, ApplyAndOkWriteTheFontInOneReplacementOfTheFile) {
  writeSettings("[Hindi Box]\nFontName=Arial\nFontSize=12\n");
  frmSettings* s = open();
  RenameWatch watch(dir.path().toStdString());
  ASSERT_TRUE(watch.watching());
  chosen = font("DejaVu Sans", 16);
  s->Command1_Click();
  s->Command2_Click();
  EXPECT_EQ(watch.renamed(), std::vector<std::string>{"settings.ini"});
  EXPECT_EQ(readFile("settings.ini"), "[Hindi Box]\nFontName=DejaVu Sans\nFontSize=16\n");
  s->OKButton_Click();
  EXPECT_EQ(watch.renamed(), std::vector<std::string>{"settings.ini"});
}

TEST_F(SettingsTest, StartUpAppliesTheStoredFont) {
  struct Case {
    QByteArray file;
    QString family;
    double size;
  } cases[] = {{"[Hindi Box]\nFontName=Arial\nFontSize=20\n", "Arial", 20},
               {"[Hindi Box]\nFontName=Arial\nFontSize=big\n", "Arial", 14.25},
               {"[Hindi Box]\nFontSize=9.5\n", "DevLys 160", 9.5},
               {"[Other]\nFontName=Arial\n", "DevLys 160", 14.25}};
  for (const Case& c : cases) {
    writeSettings(c.file);
    makeWindow();
    EXPECT_EQ(w->MainBox->baseFont().family(), c.family) << c.file.toStdString();
    EXPECT_DOUBLE_EQ(w->MainBox->baseFont().pointSizeF(), c.size);
    EXPECT_EQ(w->Combo2->currentText(), c.family);
    EXPECT_EQ(w->RTB1->baseFont().family(), c.family);
    EXPECT_DOUBLE_EQ(w->RTB1->baseFont().pointSizeF(), c.size);
  }
}

// The per-user store: each placement value, or its fallback when missing;
// nothing for a value that is no number. Written together as the numbers' text.
TEST(StoredValues, Placement) {
  perUserSettings().clear();
  EXPECT_EQ(readPlacement(), (StoredPlacement{1000, 1000, 12000, 9000}));
  struct Case {
    const char* stored;
    std::optional<double> read;
  } cases[] = {{"1500", 1500},         {" 1500 ", 1500},      {"-300", -300},
               {"1234.5", 1234.5},     {"", std::nullopt},    {"abc", std::nullopt},
               {"15,5", std::nullopt}, {"nan", std::nullopt}, {"inf", std::nullopt},
               {"1e39", std::nullopt}};
  for (const Case& c : cases) {
    perUserSettings().setValue("Settings/MainTop", c.stored);
    EXPECT_EQ(readPlacement(), (StoredPlacement{1000, c.read, 12000, 9000})) << c.stored;
  }
  writePlacement({1500, -300, 1234.5, 1e6});
  QSettings settings = perUserSettings();
  settings.beginGroup("Settings");
  QStringList stored;
  for (const char* key : {"MainLeft", "MainTop", "MainWidth", "MainHeight"}) {
    stored << settings.value(key).toString();
  }
  EXPECT_EQ(stored, (QStringList{"1500", "-300", "1234.5", "1e+06"}));
  EXPECT_EQ(readPlacement(), (StoredPlacement{1500, -300, 1234.5, 1e6}));
  perUserSettings().clear();
}

TEST(StoredValues, Flags) {
  perUserSettings().clear();
  EXPECT_FALSE(readFlag(keys::kUnicodePreview));  // missing: the fallback
  struct Case {
    QVariant stored;
    bool read;
  } cases[] = {{1, true}, {0, false}, {"1", true}, {"0", false}, {"2", true}, {"yes", false}};
  for (const Case& c : cases) {
    perUserSettings().setValue("Settings/UnicodePreview", c.stored);
    EXPECT_EQ(readFlag(keys::kUnicodePreview), c.read) << c.stored.toString().toStdString();
  }
  for (const bool value : {true, false}) {
    writeFlag(keys::kUnicodePreview, value);
    EXPECT_EQ(perUserSettings().value("Settings/UnicodePreview").toString(), value ? "1" : "0");
  }
  perUserSettings().clear();
}

}  // namespace
}  // namespace kavelin::test
