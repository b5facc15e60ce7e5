// SPDX-License-Identifier: GPL-3.0-or-later
// Watches a folder for files renamed into it, as an atomic replacement of a
// file does once per write (Linux inotify).
#pragma once

#include <sys/inotify.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace kavelin::test {

class RenameWatch {
 public:
  explicit RenameWatch(const std::string& folder)
      : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)),
        // Creations too: they part the renames, which the kernel would merge
        // into one event when nothing came between them.
        watch_(fd_ < 0 ? -1 : inotify_add_watch(fd_, folder.c_str(), IN_CREATE | IN_MOVED_TO)) {}
  ~RenameWatch() {
    if (fd_ >= 0) close(fd_);
  }
  RenameWatch(const RenameWatch&) = delete;
  RenameWatch& operator=(const RenameWatch&) = delete;

  bool watching() const { return watch_ >= 0; }

  // The names renamed into the folder since the last call, in order.
  std::vector<std::string> renamed() {
    std::vector<std::string> names;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
      const ssize_t n = read(fd_, buffer, sizeof buffer);
      if (n <= 0) break;
      for (ssize_t at = 0; at < n;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        if ((event->mask & IN_MOVED_TO) && event->len > 0) names.emplace_back(event->name);
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
    return names;
  }

 private:
  int fd_;
  int watch_;
};

}  // namespace kavelin::test
