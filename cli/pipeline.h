// SPDX-License-Identifier: GPL-3.0-or-later
// Two stages of a conversion on two threads: one makes pieces (reads and
// decodes the input), the calling thread takes them in order (converts and
// writes). Each works while the other does.
#pragma once

#include <signal.h>

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <thread>
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

}  // namespace kavelin::cli
