// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers as stored, typed and shown: what the one parser accepts, and sizes
// shown so that they read back the same.
#include "numbers.h"

#include <gtest/gtest.h>

#include <optional>

namespace kavelin {
namespace {

TEST(Numbers, ParseNumberTakesOnlyAWholeFiniteNumber) {
  struct Case {
    const char* text;
    std::optional<double> value;
  } cases[] = {
      {"12", 12},
      {"14.25", 14.25},
      {"  14.25  ", 14.25},  // surrounding white space
      {"\t-300\r\n", -300},  // negative: a window left of the screen
      {"+3", 3},
      {"-0", 0},
      {".5", 0.5},
      {"5.", 5},
      {"1e3", 1000},
      {"-1.5E-2", -0.015},
      {"3.4e38", 3.4e38},  // the largest single-precision range
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"14,25", std::nullopt},  // a comma is no decimal point, whatever the locale
      {"1,000", std::nullopt},
      {"12pt", std::nullopt},  // trailing garbage
      {"x12", std::nullopt},   // leading garbage
      {"1 2", std::nullopt},
      {"1.2.3", std::nullopt},
      {"0x10", std::nullopt},
      {"1e", std::nullopt},
      {"--1", std::nullopt},
      {"Not available", std::nullopt},
      {"nan", std::nullopt},
      {"NaN", std::nullopt},
      {"inf", std::nullopt},
      {"-inf", std::nullopt},
      {"+inf", std::nullopt},
      {"infinity", std::nullopt},
      {"1e39", std::nullopt},  // beyond single precision
      {"-1e39", std::nullopt},
      {"1e400", std::nullopt},
      {"1e-50", std::nullopt},     // would be 0 in single precision
      {"\xD9\xA3", std::nullopt},  // an Arabic-Indic digit
  };
  for (const Case& c : cases) {
    const std::optional<double> got = parseNumber(QString::fromUtf8(c.text));
    ASSERT_EQ(got.has_value(), c.value.has_value()) << '"' << c.text << '"';
    if (got) {
      EXPECT_DOUBLE_EQ(*got, *c.value) << '"' << c.text << '"';
    }
  }
}

TEST(Numbers, SizeTextShowsSinglePrecisionInSevenDigits) {
  struct Case {
    double points;
    const char* text;
  } cases[] = {{12, "12"},
               {14.25, "14.25"},
               {8, "8"},
               {static_cast<float>(14.3), "14.3"},  // a size that went through single precision
               {0.1 + 0.2, "0.3"},
               {1234567, "1234567"},
               {12345678, "1.234568e+07"},
               {-4, "-4"},
               {1e300, "1e+300"}};  // beyond single precision: the number itself
  for (const Case& c : cases) EXPECT_EQ(sizeText(c.points).toStdString(), c.text) << c.points;
}

TEST(Numbers, ShownSizesReadBackTheSame) {
  for (const char* text : {"8", "9.5", "10.5", "14.25", "14.3", "72", "0.75"}) {
    const std::optional<double> points = parseNumber(QString::fromLatin1(text));
    ASSERT_TRUE(points) << text;
    EXPECT_EQ(sizeText(*points).toStdString(), text);
  }
}

}  // namespace
}  // namespace kavelin
