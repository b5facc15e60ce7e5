// SPDX-License-Identifier: GPL-3.0-or-later
// Two stages of a conversion on two threads: one makes pieces (reads and
// decodes the input), the calling thread takes them in order (converts and
// writes). Each works while the other does.
#pragma once

#include <signal.h>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace kavelin::cli {

// Runs make(Item&) on a thread of its own until it returns false, and
// take(Item&) here on each item it made, in order. At most `depth` items are
// made ahead; their room is reused, so memory stays bounded whatever the
// input. An exception from make() is thrown here once the items made before
// it are taken; one from take() stops make() and is thrown on. The signals
// the program handles are delivered to the calling thread only.
template <typename Item, typename Make, typename Take>
void runPipeline(Make make, Take take, std::size_t depth = 3) {
  std::vector<Item> ring(depth);
  std::mutex mutex;
  std::condition_variable changed;
  std::size_t made = 0;
  std::size_t taken = 0;
  bool ended = false;    // make() said no more, or threw
  bool stopped = false;  // take() threw
  std::exception_ptr failure;

  std::thread maker([&] {
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, nullptr);
    try {
      for (;;) {
        {
          std::unique_lock<std::mutex> lock(mutex);
          changed.wait(lock, [&] { return made - taken < depth || stopped; });
          if (stopped) return;
        }
        // The slot is the maker's alone until `made` counts it.
        const bool more = make(ring[made % depth]);
        std::lock_guard<std::mutex> lock(mutex);
        if (more) {
          ++made;
        } else {
          ended = true;
        }
        changed.notify_all();
        if (!more) return;
      }
    } catch (...) {
      std::lock_guard<std::mutex> lock(mutex);
      failure = std::current_exception();
      ended = true;
      changed.notify_all();
    }
  });

  try {
    for (;;) {
      {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return taken < made || ended; });
        if (taken == made) break;
      }
      take(ring[taken % depth]);
      std::lock_guard<std::mutex> lock(mutex);
      ++taken;
      changed.notify_all();
    }
  } catch (...) {
    {
      std::lock_guard<std::mutex> lock(mutex);
      stopped = true;
      changed.notify_all();
    }
    maker.join();
    throw;
  }
  maker.join();
  if (failure) std::rethrow_exception(failure);
}

// Writes the output on a thread of its own, so that converting and writing
// overlap. write() hands a buffer over, in order, and gives back an empty one
// of earlier room; at most `depth` wait to be written. A failure to write is
// thrown by the next write() or by finish(); nothing after it is written.
class WriterThread {
 public:
  explicit WriterThread(std::function<void(std::string_view)> write, std::size_t depth = 3)
      : write_(std::move(write)), depth_(depth), thread_([this] { run(); }) {}
  // Without finish(), what still waits is not written.
  ~WriterThread() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
  }
  WriterThread(const WriterThread&) = delete;
  WriterThread& operator=(const WriterThread&) = delete;

  void write(std::string& bytes) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return waiting_.size() < depth_ || failure_; });
    if (failure_) std::rethrow_exception(failure_);
    waiting_.push_back(std::move(bytes));
    if (room_.empty()) {
      bytes = std::string();
    } else {
      bytes = std::move(room_.back());
      room_.pop_back();
    }
    changed_.notify_all();
  }
  // Writes all that waits, and ends the thread.
  void finish() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      finishing_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
    if (failure_) std::rethrow_exception(failure_);
  }

 private:
  void run() {
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, nullptr);
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      changed_.wait(lock, [&] { return !waiting_.empty() || finishing_ || stopping_; });
      if (stopping_ || waiting_.empty()) return;
      std::string bytes = std::move(waiting_.front());
      lock.unlock();
      try {
        write_(bytes);
      } catch (...) {
        lock.lock();
        failure_ = std::current_exception();
        changed_.notify_all();
        return;
      }
      bytes.clear();
      lock.lock();
      waiting_.pop_front();
      room_.push_back(std::move(bytes));
      changed_.notify_all();
    }
  }

  std::function<void(std::string_view)> write_;
  std::size_t depth_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::string> waiting_;  // the first is being written
  std::vector<std::string> room_;
  bool finishing_ = false;
  bool stopping_ = false;
  std::exception_ptr failure_;
  std::thread thread_;  // last: it starts when the rest is made
};

}  // namespace kavelin::cli
