// SPDX-License-Identifier: GPL-3.0-or-later
// Key recognition: which calls one pass of GetHindi makes for a buffer, and the
// calls of whole conversions where a pass goes on after a nested one.
#include <gtest/gtest.h>

#include "test_util.h"

namespace kavelin {
namespace {

using test::Call;
using test::u;

std::vector<Call> passCalls(const std::string& buffer) {
  Engine engine;
  std::vector<Call> calls;
  test::recordCalls(engine, calls, /*run=*/false);
  engine.setTxtE(u(buffer));  // raises txtE_Change, which runs GetHindi
  return calls;
}

struct PassCase {
  const char* buffer;
  std::vector<Call> calls;
};

class GetHindiPass : public testing::TestWithParam<PassCase> {};

TEST_P(GetHindiPass, MakesExactlyTheseCalls) {
  EXPECT_EQ(passCalls(GetParam().buffer), GetParam().calls) << "buffer: " << GetParam().buffer;
}

INSTANTIATE_TEST_SUITE_P(
    Buffers, GetHindiPass,
    testing::Values(PassCase{"", {}},
                    // Pass-through set: the lead character as key and glyphs, nothing else tested.
                    PassCase{"7", {{u"7", "7"}}}, PassCase{"7k", {{u"7", "7"}}},
                    PassCase{"!", {{u"!", "!"}}}, PassCase{"0a", {{u"0", "0"}}},
                    // Punctuation, then the groups against an unchanged buffer.
                    PassCase{"+", {{u"+", "$"}}}, PassCase{"*", {{u"*", "\xA1"}}},
                    PassCase{"\\", {{u"\\", "k~"}}}, PassCase{"`", {{u"`", "^"}}},
                    PassCase{"?", {{u"?", "\\"}}},
                    // Longest key of the group the buffer begins with.
                    PassCase{"kha", {{u"kh", "[k"}}}, PassCase{"khr", {{u"khr", "[kz"}}},
                    PassCase{"khR", {{u"kh", "[k"}}}, PassCase{"Ksh", {{u"Ksh", "{k"}}},
                    PassCase{"quick", {{u"qui", "fDo"}}}, PassCase{"quit", {{u"quit", "fDoV"}}},
                    PassCase{"quits", {{u"quit", "fDoV"}}}, PassCase{"A", {{u"A", "vk"}}},
                    PassCase{"a", {{u"a", "v"}}}, PassCase{"ck", {{u"ck", "d"}}},
                    PassCase{"chh", {{u"chh", "N"}}}, PassCase{"chhr", {{u"chhr", "N\xAA"}}},
                    PassCase{"thr", {{u"th", "Fk"}}}, PassCase{"shR", {{u"sh", "'k"}}},
                    PassCase{"Sh", {{u"Sh", "\"k"}}}, PassCase{"rkh", {{u"rkh", "[kZ"}}},
                    PassCase{"rk", {{u"rk", "dZ"}}}, PassCase{"rR", {{u"r", "j"}}},
                    PassCase{"R", {{u"R", "M+"}}}, PassCase{"rbh", {{u"rbh", "\x93Z"}}},
                    PassCase{"Gy", {{u"Gy", "K"}}}, PassCase{" x", {{u" ", " "}}},
                    PassCase{"  ", {{u" ", " "}}}, PassCase{"oM", {{u"oM", "\xC5\xA1"}}},
                    // Starts that a further character may still complete: no call, kept.
                    PassCase{"K", {}}, PassCase{"Ks", {}}, PassCase{"S", {}}, PassCase{"G", {}},
                    // Starts that nothing can complete: no call, then the first character is
                    // dropped and the rest is typed again, one character at a time.
                    PassCase{"E", {}}, PassCase{"@", {}}, PassCase{"#", {}}, PassCase{"[", {}},
                    PassCase{"<", {}}, PassCase{"~", {}}, PassCase{"_", {}}, PassCase{"\"", {}},
                    PassCase{"O", {}}, PassCase{"M", {}}, PassCase{"H", {}}, PassCase{"@@@@@@", {}},
                    PassCase{"Sa", {{u"a", "v"}}}, PassCase{"Ka", {{u"a", "v"}}},
                    PassCase{"Gx", {{u"x", "Dl"}}}, PassCase{"Eka", {{u"k", "d"}, {u"k", "d"}}},
                    PassCase{"Ksa", {{u"s", "l"}, {u"s", "l"}}}));

TEST(GetHindiPass, DeadStartLeavesTheRestInTheBuffer) {
  struct Case {
    const char* buffer;
    const char* after;
  } cases[] = {{"K", "K"},    {"Ks", "Ks"},  {"S", "S"},  {"E", ""},   {"Sa", "a"},
               {"Ksa", "sa"}, {"Eka", "ka"}, {"@#^", ""}, {"S ", " "}, {"MMk", "k"}};
  for (const Case& c : cases) {
    Engine engine;
    test::loadTokenBuffer(engine, u(c.buffer));
    EXPECT_EQ(engine.txtE(), u(c.after)) << c.buffer;
  }
}

// A call that changes the buffer starts a nested pass; the outer pass then goes
// on with its later groups against the buffer as it stands, so a key of a later
// group is handed to convrt a second time, and a key of an earlier group is not.
struct ConversionCalls {
  const char* english;
  std::vector<Call> calls;
  const char* hindi;
};

class ConvrtCallOrder : public testing::TestWithParam<ConversionCalls> {};

TEST_P(ConvrtCallOrder, OuterPassGoesOnAfterNestedPass) {
  Engine engine;
  std::vector<Call> calls;
  test::recordCalls(engine, calls, /*run=*/true);
  const std::string hindi = test::codes(engine.e2h(u(GetParam().english)));
  EXPECT_EQ(calls, GetParam().calls);
  EXPECT_EQ(hindi, GetParam().hindi);
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, ConvrtCallOrder,
    testing::Values(
        // "g" (group 8) restarts the buffer after "k" (group 6): called twice.
        ConversionCalls{
            "kag",
            {{u"k", "d"}, {u"k", "d"}, {u"k", "d"}, {u"g", "x"}, {u"g", "x"}, {u"g", "x"}},
            "dx "},
        // "k" (group 6) after "g" (group 8): the outer pass is past it.
        ConversionCalls{
            "gak", {{u"g", "x"}, {u"g", "x"}, {u"g", "x"}, {u"k", "d"}, {u"k", "d"}}, "xd "},
        // After a punctuation call the groups are tested from the first.
        ConversionCalls{
            "+k", {{u"+", "$"}, {u"+", "$"}, {u"k", "d"}, {u"k", "d"}, {u"k", "d"}}, "$d "},
        // A pass-through call ends the pass.
        ConversionCalls{"5k", {{u"5", "5"}, {u"5", "5"}, {u"k", "d"}, {u"k", "d"}}, "5d "},
        // Same group: no second call.
        ConversionCalls{"kk", {{u"k", "d"}, {u"k", "d"}, {u"k", "d"}, {u"k", "d"}}, "Dd "},
        // The space commits; the emptied buffer makes no further call.
        ConversionCalls{"ka ", {{u"k", "d"}, {u"k", "d"}, {u"k", "d"}, {u" ", " "}}, "d "}));

}  // namespace
}  // namespace kavelin
