// SPDX-License-Identifier: GPL-3.0-or-later
#include "outputfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

namespace kavelin {
namespace {

constexpr int kMaxLinks = 40;  // as the kernel allows in one path

bool setError(std::string* error, int err) {
  if (error) *error = std::strerror(err);
  return false;
}

std::string folderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Flushes a folder's entries, so that a rename in it survives a crash.
void syncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// The descriptor that /dev/stdout, /dev/stderr, /dev/fd/N or /proc/self/fd/N
// stands for, or -1. Such a name reaches what the descriptor is open on (a
// pipe, a terminal, a file opened for appending), which only the descriptor
// itself writes to as the caller expects.
int descriptorOf(const std::string& path) {
  if (path == "/dev/stdin") return 0;
  if (path == "/dev/stdout") return 1;
  if (path == "/dev/stderr") return 2;
  for (const char* prefix : {"/dev/fd/", "/proc/self/fd/"}) {
    const std::size_t n = std::strlen(prefix);
    if (path.compare(0, n, prefix) != 0 || path.size() == n || path.size() > n + 9) continue;
    int fd = 0;
    for (std::size_t i = n; i < path.size(); ++i) {
      if (path[i] < '0' || path[i] > '9') return -1;
      fd = fd * 10 + (path[i] - '0');
    }
    return fd;
  }
  return -1;
}

}  // namespace

bool followLinks(const std::string& path, std::string& resolved) {
  std::string p = path;
  for (int i = 0; i <= kMaxLinks; ++i) {
    if (descriptorOf(p) >= 0) break;  // its link leads to no path
    struct stat info {};
    if (::lstat(p.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      resolved = p;
      return true;
    }
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink(p.c_str(), buffer, sizeof buffer);
    if (n < 0) return false;
    if (static_cast<std::size_t>(n) >= sizeof buffer) {
      errno = ENAMETOOLONG;
      return false;
    }
    const std::string target(buffer, static_cast<std::size_t>(n));
    p = !target.empty() && target[0] == '/' ? target : folderOf(p) + "/" + target;
  }
  if (descriptorOf(p) >= 0) {
    resolved = p;
    return true;
  }
  errno = ELOOP;
  return false;
}

OutputFile::~OutputFile() { discard(); }

bool OutputFile::open(const std::string& path, std::string* error) {
  discard();
  if (!followLinks(path, target_)) return setError(error, errno);
  if (const int descriptor = descriptorOf(target_); descriptor >= 0) {
    fd_ = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 3);
    if (fd_ < 0) return setError(error, errno);
    direct_ = true;
    return true;
  }
  struct stat info {};
  const bool exists = ::stat(target_.c_str(), &info) == 0;
  if (exists && !S_ISREG(info.st_mode)) {
    // A device, FIFO or socket: into it.
    fd_ = ::open(target_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0) return setError(error, errno);
    direct_ = true;
    return true;
  }
  direct_ = false;
  std::string name = target_ + ".XXXXXX";
  std::vector<char> buffer(name.begin(), name.end());
  buffer.push_back('\0');
  fd_ = ::mkostemp(buffer.data(), O_CLOEXEC);
  if (fd_ < 0) return setError(error, errno);
  temp_ = buffer.data();
  if (exists) {
    // The owner first: a change of owner clears the set-id bits.
    if (::fchown(fd_, info.st_uid, info.st_gid) != 0) {
      [[maybe_unused]] const int ignored = ::fchown(fd_, static_cast<uid_t>(-1), info.st_gid);
    }
    ::fchmod(fd_, info.st_mode & 07777);
  } else {
    const mode_t mask = ::umask(0);  // mkostemp creates 0600: give what a new file gets
    ::umask(mask);
    ::fchmod(fd_, 0666 & ~mask);
  }
  return true;
}

bool OutputFile::write(std::string_view data, std::string* error) {
  if (fd_ < 0) return setError(error, EBADF);
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd_, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return setError(error, errno);
    }
    if (n == 0) return setError(error, EIO);
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool OutputFile::commit(std::string* error) {
  if (fd_ < 0) return setError(error, EBADF);
  if (direct_) {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return setError(error, errno);
    return true;
  }
  if (::fsync(fd_) != 0) {
    const int err = errno;
    discard();
    return setError(error, err);
  }
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 || ::rename(temp_.c_str(), target_.c_str()) != 0) {
    const int err = errno;
    discard();
    return setError(error, err);
  }
  temp_.clear();
  syncFolder(folderOf(target_));
  return true;
}

void OutputFile::discard() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!temp_.empty()) {
    ::unlink(temp_.c_str());
    temp_.clear();
  }
}

bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string* error) {
  OutputFile file;
  return file.open(path, error) && file.write(bytes, error) && file.commit(error);
}

}  // namespace kavelin
