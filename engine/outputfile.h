// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a file so that no failure leaves it half written (plain POSIX C++,
// shared by the converter's -o and the settings file).
//
// A regular file, or a name that does not exist yet, is written to a temporary
// file beside it, flushed to the disk and renamed over it: readers see the old
// content or the new, never a part. The new file keeps the old one's
// permissions and, where the process may, its owner and group. A symbolic link
// is followed, so the file it points to is replaced and the link stays.
// Anything else (a device such as /dev/stdout or /dev/null, a FIFO, a socket)
// cannot be replaced by a rename and is written straight into.
#pragma once

#include <string>
#include <string_view>

namespace kavelin {

class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile();  // discards what is not committed
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Opens `path` for writing. On failure returns false and sets `error` to
  // the reason (strerror text).
  bool open(const std::string& path, std::string* error);
  bool write(std::string_view data, std::string* error);
  // Makes the written data the file's content (rename into place, or close).
  bool commit(std::string* error);
  // Removes the temporary file, if any; the target stays as it was.
  void discard();

  // True when writing goes straight into the target (no temporary file).
  bool direct() const { return direct_; }
  // The temporary file while one is open, else "" (for a signal handler
  // that must remove it: stable until commit or discard).
  const char* temporaryPath() const { return temp_.c_str(); }

 private:
  int fd_ = -1;
  bool direct_ = false;
  std::string target_;  // the path written, links followed
  std::string temp_;
};

// Replaces the file at `path` with `bytes` as OutputFile does.
bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string* error);

// `path` with its symbolic links followed, as far as they lead: the last name
// of a dangling link's chain when its target does not exist yet. Sets errno
// and returns false for a loop of links.
bool followLinks(const std::string& path, std::string& resolved);

}  // namespace kavelin
