// SPDX-License-Identifier: GPL-3.0-or-later
#include "savefile.h"

#include <QFileInfo>
#include <utility>

namespace kavelin {
namespace {

const QString kNotOpen = QStringLiteral("The file is not open");

// Writes are gathered up to this size. The devices are unbuffered, so that a
// short write is tried again and fails with its reason.
constexpr qsizetype kChunk = 64 * 1024;

}  // namespace

SaveFile::SaveFile(const QString& path) : save_(path), direct_(path) {}

bool SaveFile::fail(const QString& reason) {
  failed_ = true;
  error_ = reason;
  pending_.clear();
  return false;
}

QFileDevice& SaveFile::device() {
  if (intoTarget_) return direct_;
  return save_;
}

bool SaveFile::open() {
  failed_ = false;
  error_.clear();
  pending_.clear();
  const QFileInfo target(direct_.fileName());
  intoTarget_ = target.exists() && !target.isFile() && !target.isDir();
  if (!device().open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
    return fail(device().errorString());
  }
  return true;
}

bool SaveFile::writeOut(const char* data, qsizetype size) {
  for (qsizetype done = 0; done < size;) {
    const qint64 n = device().write(data + done, size - done);
    if (n <= 0) return fail(device().errorString());
    done += static_cast<qsizetype>(n);
  }
  return true;
}

bool SaveFile::write(QByteArrayView bytes) {
  if (failed_) return false;
  if (!device().isOpen()) return fail(kNotOpen);
  if (pending_.isEmpty() && bytes.size() >= kChunk) return writeOut(bytes.data(), bytes.size());
  pending_.append(bytes.data(), bytes.size());
  if (pending_.size() < kChunk) return true;
  const QByteArray chunk = std::exchange(pending_, QByteArray());
  return writeOut(chunk.constData(), chunk.size());
}

void SaveFile::cancel(const QString& reason) { fail(reason); }

bool SaveFile::commit() {
  if (!device().isOpen()) return failed_ ? false : fail(kNotOpen);
  if (!failed_ && !pending_.isEmpty()) {
    const QByteArray rest = std::exchange(pending_, QByteArray());
    writeOut(rest.constData(), rest.size());
  }
  if (intoTarget_) {
    direct_.close();
    if (failed_) return false;
    if (direct_.error() != QFileDevice::NoError) return fail(direct_.errorString());
    return true;
  }
  if (failed_) {
    save_.cancelWriting();
    save_.commit();  // removes the temporary file
    return false;
  }
  if (!save_.commit()) return fail(save_.errorString());
  return true;
}

bool saveFile(const QString& path, QByteArrayView bytes, QString* error) {
  SaveFile file(path);
  if (file.open() && file.write(bytes) && file.commit()) return true;
  if (error) *error = file.errorString();
  return false;
}

}  // namespace kavelin
