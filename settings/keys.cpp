// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys.h"

#include <QCoreApplication>

#include "numbers.h"

namespace kavelin {
namespace {

// Where a key of the per-user store is: "group/name".
template <typename T>
QString path(const Key<T>& key) {
  Q_ASSERT(key.store == Store::kPerUser);
  return QLatin1String(key.group) + u'/' + QLatin1String(key.name);
}

// The Hindi box's two keys share a section of the settings file.
bool fontKeysAgree() {
  const Key<QString>& name = keys::kFontName;
  const Key<QString>& size = keys::kFontSize;
  return name.store == Store::kSettingsFile && size.store == Store::kSettingsFile &&
         qstrcmp(name.group, size.group) == 0;
}

}  // namespace

HindiBoxFont readHindiBoxFont(const QString& file) {
  const Key<QString>& name = keys::kFontName;
  const Key<QString>& size = keys::kFontSize;
  Q_ASSERT(fontKeysAgree());
  const std::vector<std::optional<std::string>> values =
      FindIni(name.group, {name.name, size.name}, file.toStdString());
  auto text = [](const std::optional<std::string>& value, const Key<QString>& key) {
    return value ? QString::fromStdString(*value) : key.fallback;
  };
  return {text(values[0], name), text(values[1], size)};
}

bool writeHindiBoxFont(const HindiBoxFont& font, const QString& file, QString* error) {
  const Key<QString>& name = keys::kFontName;
  const Key<QString>& size = keys::kFontSize;
  Q_ASSERT(fontKeysAgree());
  std::string reason;
  if (WriteIni(name.group,
               {{name.name, font.name.toStdString()}, {size.name, font.size.toStdString()}},
               file.toStdString(), &reason)) {
    return true;
  }
  if (error) *error = QString::fromStdString(reason);
  return false;
}

QSettings perUserSettings() {
  const QString title = QCoreApplication::applicationName();
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, title, title);
}

StoredPlacement readPlacement() {
  const QSettings settings = perUserSettings();
  StoredPlacement values;
  for (std::size_t i = 0; i < values.size(); ++i) {
    const Key<double>& key = keys::kPlacement[i];
    values[i] = settings.contains(path(key)) ? parseNumber(settings.value(path(key)).toString())
                                             : key.fallback;
  }
  return values;
}

void writePlacement(const std::array<double, 4>& twips) {
  QSettings settings = perUserSettings();
  for (std::size_t i = 0; i < twips.size(); ++i) {
    settings.setValue(path(keys::kPlacement[i]), QString::number(twips[i]));
  }
}

bool readFlag(const Key<bool>& key) {
  const QVariant stored = perUserSettings().value(path(key));
  return stored.isValid() ? stored.toInt() != 0 : key.fallback;
}

void writeFlag(const Key<bool>& key, bool value) {
  perUserSettings().setValue(path(key), value ? 1 : 0);
}

QString readText(const Key<QString>& key) {
  return perUserSettings().value(path(key), key.fallback).toString();
}

void writeText(const Key<QString>& key, const QString& value) {
  perUserSettings().setValue(path(key), value);
}

}  // namespace kavelin
