// SPDX-License-Identifier: GPL-3.0-or-later
// Files given on the command line (and by the desktop's "Open With").
#include <QFile>
#include <QFileInfo>

#include "frmmain.h"
#include "platformtools.h"
#include "richtextfield.h"

namespace kavelin {
namespace {

// A document of the Editing Box (RTF, DOCX, ODT) by its suffix, or by its
// first bytes when the suffix says nothing of it (a file the desktop calls
// text/rtf may have none).
bool isRichText(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == u"rtf" || suffix == u"docx" || suffix == u"odt") return true;
  if (suffix == u"txt") return false;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray start = file.read(5);
  return start == "{\\rtf" || start.startsWith("PK\x03\x04");
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
