// SPDX-License-Identifier: GPL-3.0-or-later
// The character format a fragment shows in, and paragraph alignments, as the
// Editing Box, the RTF bridge and the PDF export all read them.
#include "richformat.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QTextBlock>
#include <QTextCharFormat>
#include <functional>
#include <optional>
#include <ostream>

#include "richtextfield.h"
#include "text.h"

namespace kavelin {

void PrintTo(const RunFormat& f, std::ostream* os) {
  *os << "[" << encodeUtf8(f.font) << " " << f.sizePt << (f.bold ? " b" : "")
      << (f.italic ? " i" : "") << (f.underline ? " u" : "") << "]";
}

namespace {

QFont baseFont(double size, bool bold, bool italic, bool underline) {
  QFont f(QStringLiteral("Base Family"));
  f.setPointSizeF(size);
  f.setBold(bold);
  f.setItalic(italic);
  f.setUnderline(underline);
  return f;
}

TEST(RichFormat, WhatAFormatLeavesUnsetComesFromTheBaseFont) {
  struct Case {
    const char* name;
    std::function<void(QTextCharFormat&)> set;
    QFont base;
    RunFormat expected;
  };
  const QFont plain = baseFont(11, false, false, false);
  const QFont styled = baseFont(14.5, true, true, true);
  const Case cases[] = {
      {"nothing set, plain base", [](QTextCharFormat&) {}, plain, {u"Base Family", 11}},
      {"nothing set, styled base",
       [](QTextCharFormat&) {},
       styled,
       {u"Base Family", 14.5, true, true, true}},
      {"set values win over the base, false ones too",
       [](QTextCharFormat& f) {
         f.setFontPointSize(20);
         f.setFontWeight(QFont::Normal);
         f.setFontItalic(false);
         f.setFontUnderline(false);
       },
       styled,
       {u"Base Family", 20}},
      {"set styles over a plain base",
       [](QTextCharFormat& f) {
         f.setFontWeight(QFont::Bold);
         f.setFontItalic(true);
         f.setFontUnderline(true);
       },
       plain,
       {u"Base Family", 11, true, true, true}},
      {"demibold is not bold",
       [](QTextCharFormat& f) { f.setFontWeight(QFont::DemiBold); },
       styled,
       {u"Base Family", 14.5, false, true, true}},
      {"black is bold",
       [](QTextCharFormat& f) { f.setFontWeight(QFont::Black); },
       plain,
       {u"Base Family", 11, true}},
      {"the first family",
       [](QTextCharFormat& f) {
         f.setFontFamilies({QStringLiteral("One"), QStringLiteral("Two")});
       },
       plain,
       {u"One", 11}},
      {"an uninstalled family before the families",
       [](QTextCharFormat& f) {
         f.setFontFamilies({QStringLiteral("One")});
         f.setProperty(kUninstalledFamilyProperty, QStringLiteral("Kept Aside"));
       },
       plain,
       {u"Kept Aside", 11}},
      {"an emptied uninstalled family does not count",
       [](QTextCharFormat& f) {
         f.setFontFamilies({QStringLiteral("One")});
         f.setProperty(kUninstalledFamilyProperty, QString());
       },
       plain,
       {u"One", 11}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QTextCharFormat f;
    c.set(f);
    EXPECT_EQ(effectiveFormat(f, c.base), c.expected);
    // What the selection reads a property at a time.
    EXPECT_EQ(effectiveSize(f, c.base), c.expected.sizePt);
    EXPECT_EQ(effectiveBold(f, c.base), c.expected.bold);
    EXPECT_EQ(effectiveItalic(f, c.base), c.expected.italic);
    EXPECT_EQ(effectiveUnderline(f, c.base), c.expected.underline);
  }
}

// charFormat sets every property, so the base font no longer shows through,
// and a font that is not installed keeps its name.
TEST(RichFormat, CharFormatReadsBackWhateverTheBase) {
  const RunFormat formats[] = {
      {u"DejaVu Sans", 12},
      {u"Kavelin No Such Font", 9.5, true, false, true},
      {u"DejaVu Sans", 72, false, true, false},
  };
  for (const RunFormat& format : formats) {
    for (const QFont& base : {baseFont(11, false, false, false), baseFont(30, true, true, true)}) {
      EXPECT_EQ(effectiveFormat(charFormat(format), base), format);
    }
  }
  // No family: the base font's.
  RunFormat unnamed{u"", 10, true};
  RunFormat expected = unnamed;
  expected.font = u"Base Family";
  EXPECT_EQ(effectiveFormat(charFormat(unnamed), baseFont(11, false, false, false)), expected);
}

TEST(RichFormat, AlignmentMapping) {
  struct Case {
    Qt::Alignment qt;
    Align align;
  };
  const Case cases[] = {
      {Qt::Alignment(), Align::Left},
      {Qt::AlignLeft, Align::Left},
      {Qt::AlignLeft | Qt::AlignAbsolute, Align::Left},
      {Qt::AlignJustify, Align::Left},
      {Qt::AlignLeft | Qt::AlignBottom, Align::Left},
      {Qt::AlignHCenter, Align::Center},
      {Qt::AlignCenter, Align::Center},
      {Qt::AlignRight, Align::Right},
      {Qt::AlignRight | Qt::AlignVCenter, Align::Right},
      {Qt::AlignRight | Qt::AlignAbsolute, Align::Right},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.qt));
    EXPECT_EQ(alignOf(c.qt), c.align);
  }
  for (Align a : {Align::Left, Align::Center, Align::Right}) EXPECT_EQ(alignOf(qtAlignment(a)), a);
}

// The field's alignment numbers; one that is none of them aligns left.
TEST(RichFormat, FieldAlignmentNumbers) {
  struct Case {
    int set;
    int read;
    Qt::Alignment block;
  };
  const Case cases[] = {
      {RichTextField::kCenter, RichTextField::kCenter, Qt::AlignHCenter},
      {RichTextField::kRight, RichTextField::kRight, Qt::AlignRight},
      {RichTextField::kLeft, RichTextField::kLeft, Qt::AlignLeft},
      {3, RichTextField::kLeft, Qt::AlignLeft},
      {-1, RichTextField::kLeft, Qt::AlignLeft},
  };
  RichTextField field;
  field.setText(QStringLiteral("one"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.set);
    field.setSelAlignment(RichTextField::kCenter == c.set ? RichTextField::kRight
                                                          : RichTextField::kCenter);
    field.setSelAlignment(c.set);
    EXPECT_EQ(field.selAlignment(), std::optional<int>(c.read));
    EXPECT_EQ(field.document()->begin().blockFormat().alignment(), c.block);
  }
}

}  // namespace
}  // namespace kavelin
