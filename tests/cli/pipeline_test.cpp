// SPDX-License-Identifier: GPL-3.0-or-later
// The two-thread pipeline: order, bounded lead, and failures on either side.
#include "pipeline.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

namespace kavelin::cli {
namespace {

struct Item {
  int number = -1;
  std::string text;
};

struct Outcome {
  std::vector<int> taken;
  std::string error;
  int mostAhead = 0;  // the most items made and not yet taken
};

// Makes `count` items (throwing at `makeThrowsAt`), takes them (throwing at
// `takeThrowsAt`) with `depth` items at most made ahead.
Outcome run(int count, std::size_t depth, int makeThrowsAt = -1, int takeThrowsAt = -1) {
  Outcome r;
  std::atomic<int> made{0};
  std::atomic<int> taken{0};
  int next = 0;
  auto make = [&](Item& item) {
    if (next == count) return false;
    if (next == makeThrowsAt) throw std::runtime_error("make " + std::to_string(next));
    const int ahead = made - taken + 1;
    if (ahead > r.mostAhead) r.mostAhead = ahead;
    item.number = next;
    item.text.assign(static_cast<std::size_t>(next % 7), 'x');  // room reused, resized
    ++next;
    ++made;
    return true;
  };
  auto take = [&](Item& item) {
    if (item.number == takeThrowsAt)
      throw std::runtime_error("take " + std::to_string(item.number));
    EXPECT_EQ(item.text.size(), static_cast<std::size_t>(item.number % 7));
    r.taken.push_back(item.number);
    ++taken;
  };
  try {
    runPipeline<Item>(make, take, depth);
  } catch (const std::runtime_error& e) {
    r.error = e.what();
  }
  return r;
}

std::vector<int> upTo(int n) {
  std::vector<int> v;
  for (int i = 0; i < n; ++i) v.push_back(i);
  return v;
}

TEST(PipelineTest, TakesEveryItemInOrderWithBoundedLead) {
  for (const std::size_t depth : {1, 2, 3, 8}) {
    for (const int count : {0, 1, 2, 3, 9, 1000}) {
      SCOPED_TRACE("depth " + std::to_string(depth) + ", count " + std::to_string(count));
      const Outcome r = run(count, depth);
      EXPECT_EQ(r.taken, upTo(count));
      EXPECT_EQ(r.error, "");
      EXPECT_LE(r.mostAhead, static_cast<int>(depth));
    }
  }
}

TEST(PipelineTest, FailuresEndBothSides) {
  struct Case {
    int count, makeThrowsAt, takeThrowsAt;
    std::vector<int> taken;
    std::string error;
  };
  const Case cases[] = {
      // What was made before a failure to make is taken first.
      {10, 0, -1, {}, "make 0"},
      {10, 4, -1, upTo(4), "make 4"},
      {10, 9, -1, upTo(9), "make 9"},
      // A failure to take stops the making, however far ahead it is.
      {10, -1, 0, {}, "take 0"},
      {10, -1, 5, upTo(5), "take 5"},
      {100000, -1, 3, upTo(3), "take 3"},
      // The first failure wins.
      {10, 6, 2, upTo(2), "take 2"},
  };
  for (const Case& c : cases) {
    for (const std::size_t depth : {1, 3}) {
      SCOPED_TRACE(c.error + ", depth " + std::to_string(depth));
      const Outcome r = run(c.count, depth, c.makeThrowsAt, c.takeThrowsAt);
      EXPECT_EQ(r.taken, c.taken);
      EXPECT_EQ(r.error, c.error);
    }
  }
}

// What a WriterThread wrote of `count` buffers "0", "1", ..., its writing
// failing at buffer `failAt`, and the failure that write() or finish() threw.
struct Written {
  std::string out;
  std::string error;
  bool buffersCameBackEmpty = true;
};

Written writeThrough(int count, std::size_t depth, int failAt = -1) {
  Written w;
  int call = 0;
  WriterThread writer(
      [&](std::string_view bytes) {
        if (call++ == failAt) throw std::runtime_error("write " + std::string(bytes));
        w.out += bytes;
        w.out += ',';
      },
      depth);
  try {
    std::string buffer;
    for (int k = 0; k < count; ++k) {
      buffer = std::to_string(k);
      writer.write(buffer);
      w.buffersCameBackEmpty = w.buffersCameBackEmpty && buffer.empty();
    }
    writer.finish();
  } catch (const std::runtime_error& e) {
    w.error = e.what();
  }
  return w;
}

TEST(WriterThreadTest, WritesInOrderAndTellsTheFirstFailure) {
  struct Case {
    int count, failAt;
    std::string out, error;
  } cases[] = {
      {0, -1, "", ""},
      {1, -1, "0,", ""},
      {5, -1, "0,1,2,3,4,", ""},
      {5, 0, "", "write 0"},
      {5, 3, "0,1,2,", "write 3"},
      {5, 4, "0,1,2,3,", "write 4"},  // the last: thrown by finish()
  };
  for (const Case& c : cases) {
    for (const std::size_t depth : {1, 2, 3}) {
      SCOPED_TRACE(std::to_string(c.count) + " buffers, failing at " + std::to_string(c.failAt) +
                   ", depth " + std::to_string(depth));
      const Written w = writeThrough(c.count, depth, c.failAt);
      EXPECT_EQ(w.out, c.out);
      EXPECT_EQ(w.error, c.error);
      EXPECT_TRUE(w.buffersCameBackEmpty);
    }
  }
  // Many buffers through a short queue, each written once, in order.
  std::string expected;
  for (int k = 0; k < 2000; ++k) expected += std::to_string(k) + ",";
  EXPECT_EQ(writeThrough(2000, 2).out, expected);
}

// Without finish(), the writer stops without writing what still waits, and
// without waiting for more.
TEST(WriterThreadTest, EndsWithoutFinish) {
  std::string out;
  {
    WriterThread writer([&](std::string_view bytes) { out += bytes; }, 4);
    std::string buffer = "a";
    writer.write(buffer);
  }
  EXPECT_TRUE(out == "" || out == "a") << out;
}

}  // namespace
}  // namespace kavelin::cli
