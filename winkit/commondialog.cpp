// SPDX-License-Identifier: GPL-3.0-or-later
#include "commondialog.h"

#include <QFileInfo>
#include <QPrinter>
#include <QRegularExpression>
#include <QStringList>

#include "platformtools.h"

namespace kavelin {

CommonDialog::CommonDialog(PlatformTools& platform, QWidget* parent)
    : platform_(platform), parent_(parent) {}

CommonDialog::~CommonDialog() = default;

QPrinter* CommonDialog::printer() {
  if (!printer_) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
  }
  return printer_.get();
}

// "All Files (*.txt)|*.txt" lists its descriptions; each names its patterns.
QString qtFilter(const QString& filter) {
  const QStringList parts = filter.split(u'|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i];
    const QString patterns = QString(parts[i + 1]).replace(u';', u' ');
    if (!description.contains(u'(')) description += QStringLiteral(" (%1)").arg(patterns);
    filters << description;
  }
  return filters.join(QStringLiteral(";;"));
}

namespace {

QStringList filterPatterns(const QString& filter, int index) {
  const QStringList parts = filter.split(u'|');
  const int at = 2 * (index - 1) + 1;
  if (index < 1 || at >= parts.size()) return {};
  return parts[at].split(QRegularExpression(QStringLiteral("[; ]")), Qt::SkipEmptyParts);
}

QString patternExt(const QString& pattern) {
  const QString ext = pattern.mid(2);
  if (!pattern.startsWith(QLatin1String("*.")) || ext.contains(u'*') || ext.contains(u'?')) {
    return {};
  }
  return ext;
}

}  // namespace

QString filterExt(const QString& filter, int index) {
  const QStringList patterns = filterPatterns(filter, index);
  return patterns.isEmpty() ? QString() : patternExt(patterns.first());
}

int filterIndexOf(const QString& filter, const QString& ext) {
  const int count = static_cast<int>(filter.split(u'|').size() / 2);
  for (int i = 1; i <= count; ++i) {
    for (const QString& p : filterPatterns(filter, i)) {
      if (patternExt(p).compare(ext, Qt::CaseInsensitive) == 0) return i;
    }
  }
  return 1;
}

bool CommonDialog::ShowOpen() { return platform_.showOpen(*this); }

bool CommonDialog::ShowSave() { return platform_.showSave(*this); }

bool CommonDialog::ShowPrinter() { return platform_.showPrinter(*this); }

bool CommonDialog::ShowPageSetup() { return platform_.showPageSetup(*this); }

QString withDefaultExt(const QString& name, const QString& ext) {
  if (name.isEmpty() || ext.isEmpty() || name.endsWith(u'/')) return name;
  const QString fileName = QFileInfo(name).fileName();
  // A name such as ".profile" or "notes." is taken as it stands.
  if (fileName.contains(u'.')) return name;
  return name + u'.' + ext;
}

QString nameOfKind(const QString& previous, const QString& ext) {
  if (previous.isEmpty() || ext.isEmpty()) return previous;
  const QFileInfo info(previous);
  if (info.suffix().compare(ext, Qt::CaseInsensitive) == 0) return previous;
  if (info.isDir()) return previous;
  return info.path() == QStringLiteral(".") ? QString() : info.path() + u'/';
}

}  // namespace kavelin
