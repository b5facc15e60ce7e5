// SPDX-License-Identifier: GPL-3.0-or-later
// Files given on the command line (and by the desktop's "Open With").
#include <QFile>
#include <QFileInfo>

#include "frmmain.h"
#include "platformtools.h"
#include "richtextfield.h"

namespace kavelin {
namespace {

// An RTF document by its suffix, or by its first bytes when the suffix says
// nothing of it (a file the desktop calls text/rtf may have none).
bool isRichText(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == u"rtf") return true;
  if (suffix == u"txt") return false;
  QFile file(path);
  return file.open(QIODevice::ReadOnly) && file.read(5) == "{\\rtf";
}

}  // namespace

void frmMain::openFiles(const QStringList& paths) {
  bool haveText = false;
  bool haveRichText = false;
  QStringList notOpened;
  for (const QString& path : paths) {
    if (isRichText(path)) {
      if (haveRichText) {
        notOpened << path;
        continue;
      }
      haveRichText = true;
      loadRichText(path);  // asks first about a large file
    } else {
      if (haveText) {
        notOpened << path;
        continue;
      }
      haveText = true;
      if (confirmLargeFile(path, largeTextBytes)) loadEnglishText(path);
    }
  }
  if (!notOpened.isEmpty()) {
    platform_.message(this, QMessageBox::Information, windowTitle(),
                      tr("Kavelin opens one text file and one RTF document at a time. "
                         "Not opened:\n%1")
                          .arg(notOpened.join(u'\n')));
  }
}

}  // namespace kavelin
