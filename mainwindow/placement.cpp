#include "placement.h"

#include <QCoreApplication>
#include <QSettings>

namespace kavelin {
QSettings perUserSettings() {
  const QString title = QCoreApplication::applicationName();
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, title, title);
}

std::optional<double> Placement::read(const QString& key, double fallback) {
  QSettings settings = perUserSettings();
  settings.beginGroup(QStringLiteral("Settings"));
  if (!settings.contains(key)) return fallback;
  bool ok = false;
  const double value = settings.value(key).toString().trimmed().toFloat(&ok);
  if (!ok) return std::nullopt;
  return value;
}

void Placement::write(double left, double top, double width, double height) {
  QSettings settings = perUserSettings();
  settings.beginGroup(QStringLiteral("Settings"));
  settings.setValue(QStringLiteral("MainLeft"), QString::number(left));
  settings.setValue(QStringLiteral("MainTop"), QString::number(top));
  settings.setValue(QStringLiteral("MainWidth"), QString::number(width));
  settings.setValue(QStringLiteral("MainHeight"), QString::number(height));
}

}  // namespace kavelin
