// SPDX-License-Identifier: GPL-3.0-or-later
// Saving a file so that no failure leaves it half written. The content goes to
// a temporary file beside the target (QSaveFile), which replaces the target
// only when every write and the commit succeeded; otherwise the target stays
// as it was and the reason is kept. A symbolic link is followed. A device or a
// FIFO, which a rename would replace rather than write to, is written straight
// into.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QSaveFile>
#include <QString>

namespace kavelin {

class SaveFile {
 public:
  // Nothing reaches the target before commit (unless it is a device or FIFO);
  // what is not committed is discarded.
  explicit SaveFile(const QString& path);
  SaveFile(const SaveFile&) = delete;
  SaveFile& operator=(const SaveFile&) = delete;

  bool open();
  // Small writes are gathered, so a failure may show only at a later write or
  // at the commit. After a failure, further writes do nothing and fail.
  bool write(QByteArrayView bytes);
  // Gives the save up: commit fails with `reason` and the target stays.
  void cancel(const QString& reason);
  bool commit();

  // Why the last step failed.
  QString errorString() const { return error_; }

 private:
  bool fail(const QString& reason);
  QFileDevice& device();
  bool writeOut(const char* data, qsizetype size);

  QSaveFile save_;
  QFile direct_;
  bool intoTarget_ = false;  // a device or FIFO: no temporary file
  bool failed_ = false;
  QString error_;
  QByteArray pending_;  // gathered, not yet written
};

// Replaces the file at `path` with `bytes`; false with the reason in `error`.
bool saveFile(const QString& path, QByteArrayView bytes, QString* error);

}  // namespace kavelin
