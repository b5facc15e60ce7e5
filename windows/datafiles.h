// SPDX-License-Identifier: GPL-3.0-or-later
// Files the program reads at run time (the read-me), found where the program
// was installed or built. The current folder is never searched: a file there
// belongs to whatever the user is working on, not to this program.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace kavelin {

// The folders searched for a data file.
struct DataFolders {
  QString programFolder;          // the running program's folder
  QString buildFolder;            // the build tree the program was built in
  QString sourceFolder;           // its source tree
  QString dataFolderFromProgram;  // the installed data folder relative to the program's
  QStringList systemDataFolders;  // the XDG data folders, this program's folder in each
  QString installedDataFolder;    // the data folder under the configured install prefix
};

// This program's folders (or those set with setDataFolders).
DataFolders dataFolders();

// For tests: use `folders` instead; nullopt restores this program's.
void setDataFolders(std::optional<DataFolders> folders);

// The places where `name` is looked for, in order, without repeats: beside the
// program; in the source tree when the program runs from its build tree; in the
// data folder next to the program's installed folder; in the XDG data folders;
// in the data folder of the install prefix.
QStringList dataFileCandidates(const QString& name, const DataFolders& folders);

// The first candidate that is a readable file, or an empty string.
QString findDataFile(const QString& name, const DataFolders& folders = dataFolders());

}  // namespace kavelin
