// SPDX-License-Identifier: GPL-3.0-or-later
#include "datafiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kavelin {
namespace {

std::optional<DataFolders>& overrideFolders() {
  static std::optional<DataFolders> folders;
  return folders;
}

// True when `path` is `folder` or lies inside it; both are compared by their
// canonical forms, so links and ".." do not matter.
bool isInside(const QString& path, const QString& folder) {
  if (path.isEmpty() || folder.isEmpty()) return false;
  const QString p = QFileInfo(path).canonicalFilePath();
  const QString f = QFileInfo(folder).canonicalFilePath();
  if (p.isEmpty() || f.isEmpty()) return false;
  return p == f || p.startsWith(f + u'/');
}

}  // namespace

DataFolders dataFolders() {
  if (overrideFolders()) return *overrideFolders();
  DataFolders folders;
  folders.programFolder = QCoreApplication::applicationDirPath();
#ifdef KAVELIN_BUILD_DIR
  folders.buildFolder = QStringLiteral(KAVELIN_BUILD_DIR);
#endif
#ifdef KAVELIN_SOURCE_DIR
  folders.sourceFolder = QStringLiteral(KAVELIN_SOURCE_DIR);
#endif
#ifdef KAVELIN_DATA_DIR_FROM_BIN
  folders.dataFolderFromProgram = QStringLiteral(KAVELIN_DATA_DIR_FROM_BIN);
#endif
  for (const QString& folder :
       QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
    folders.systemDataFolders << folder + QStringLiteral("/kavelin");
  }
#ifdef KAVELIN_INSTALL_DATA_DIR
  folders.installedDataFolder = QStringLiteral(KAVELIN_INSTALL_DATA_DIR);
#endif
  return folders;
}

void setDataFolders(std::optional<DataFolders> folders) { overrideFolders() = std::move(folders); }

QStringList dataFileCandidates(const QString& name, const DataFolders& folders) {
  QStringList candidates;
  auto add = [&](const QString& folder) {
    if (folder.isEmpty()) return;
    const QString path = QDir::cleanPath(folder + u'/' + name);
    if (!candidates.contains(path)) candidates << path;
  };
  add(folders.programFolder);
  if (isInside(folders.programFolder, folders.buildFolder)) add(folders.sourceFolder);
  if (!folders.programFolder.isEmpty() && !folders.dataFolderFromProgram.isEmpty()) {
    add(QDir(folders.programFolder).filePath(folders.dataFolderFromProgram));
  }
  for (const QString& folder : folders.systemDataFolders) add(folder);
  add(folders.installedDataFolder);
  return candidates;
}

QString findDataFile(const QString& name, const DataFolders& folders) {
  for (const QString& path : dataFileCandidates(name, folders)) {
    const QFileInfo info(path);
    if (info.isFile() && info.isReadable()) return info.absoluteFilePath();
  }
  return QString();
}

}  // namespace kavelin
