// SPDX-License-Identifier: GPL-3.0-or-later
// A limit on the size of the files this process writes, for tests of write
// failures that touch no system file.
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace kavelin::test {

// Room for `bytes` in any file this process writes, while it lives.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    signal_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, signal_);
  }

 private:
  rlimit old_{};
  void (*signal_)(int) = nullptr;
};

}  // namespace kavelin::test
