// SPDX-License-Identifier: GPL-3.0-or-later
// Every value the program keeps between runs, each defined once: the store it
// lives in, its group and name there, and what it reads as when missing. The
// readers and writers below are the only code that touches these stores.
#pragma once

#include <QSettings>
#include <QString>
#include <array>
#include <optional>

#include "inifile.h"

namespace kavelin {

enum class Store {
  kSettingsFile,  // settings.ini (settingsfile.h); the group is its section
  kPerUser,       // the per-user store under the application title
};

template <typename T>
struct Key {
  Store store;
  const char* group;
  const char* name;
  T fallback;  // a missing key reads as this
};

namespace keys {

// The Hindi box's font as the text stored: the settings dialog shows it as it
// is, and writes what it shows.
inline const Key<QString> kFontName{Store::kSettingsFile, "Hindi Box", "FontName",
                                    QString::fromStdString(kNotAvailable)};
inline const Key<QString> kFontSize{Store::kSettingsFile, "Hindi Box", "FontSize",
                                    QString::fromStdString(kNotAvailable)};

// The main window's outer rectangle in twips, each as its number's text.
inline constexpr Key<double> kMainLeft{Store::kPerUser, "Settings", "MainLeft", 1000};
inline constexpr Key<double> kMainTop{Store::kPerUser, "Settings", "MainTop", 1000};
inline constexpr Key<double> kMainWidth{Store::kPerUser, "Settings", "MainWidth", 12000};
inline constexpr Key<double> kMainHeight{Store::kPerUser, "Settings", "MainHeight", 9000};
inline constexpr std::array<Key<double>, 4> kPlacement = {kMainLeft, kMainTop, kMainWidth,
                                                          kMainHeight};

// Whether the Unicode preview was last open, as 1 or 0.
inline constexpr Key<bool> kUnicodePreview{Store::kPerUser, "Settings", "UnicodePreview", false};

// View > Suggestions: the candidate list under the word being typed, on at first.
inline constexpr Key<bool> kSuggestions{Store::kPerUser, "Settings", "Suggestions", true};
// View > Replace as I Type: a space or punctuation takes the first candidate.
inline constexpr Key<bool> kReplaceAsYouType{Store::kPerUser, "Settings", "ReplaceAsYouType",
                                             false};
// View > Underline Unknown Words: the red wavy line under unknown words, on at first.
inline constexpr Key<bool> kUnderlineUnknownWords{Store::kPerUser, "Settings",
                                                  "UnderlineUnknownWords", true};

// File > Convert Documents: the output folder the user last chose (empty:
// "converted" beside the first document) and the direction last used.
inline const Key<QString> kConvertFolder{Store::kPerUser, "Convert Documents", "OutputFolder",
                                         QString()};
inline constexpr Key<bool> kConvertToUnicode{Store::kPerUser, "Convert Documents", "ToUnicode",
                                             true};

}  // namespace keys

// The Hindi box's font in the settings file at `path`: both values from one
// reading of the file, both written in one replacement of it. A failed write
// leaves the file as it was and sets `error`.
struct HindiBoxFont {
  QString name;
  QString size;
};
HindiBoxFont readHindiBoxFont(const QString& path);
bool writeHindiBoxFont(const HindiBoxFont& font, const QString& path, QString* error);

// The per-user store, under the application title.
QSettings perUserSettings();

// The main window's placement (left, top, width, height): each value its key's
// fallback when missing, nothing when it holds no number. Written together.
using StoredPlacement = std::array<std::optional<double>, 4>;
StoredPlacement readPlacement();
void writePlacement(const std::array<double, 4>& twips);

// A yes-or-no value of the per-user store, stored as 1 or 0: the fallback when
// missing, else yes for any whole number but 0.
bool readFlag(const Key<bool>& key);
void writeFlag(const Key<bool>& key, bool value);

// A text of the per-user store: the fallback when missing.
QString readText(const Key<QString>& key);
void writeText(const Key<QString>& key, const QString& value);

}  // namespace kavelin
