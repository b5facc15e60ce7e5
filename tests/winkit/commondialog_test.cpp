// SPDX-License-Identifier: GPL-3.0-or-later
// The common dialog's filters as Qt's file dialogs take them.
#include "commondialog.h"

#include <gtest/gtest.h>

namespace kavelin {
namespace {

TEST(CommonDialog, FilterForQt) {
  struct Case {
    const char* filter;
    const char* qt;
  } cases[] = {
      {"All Files (*.txt)|*.txt", "All Files (*.txt)"},
      // A description that names its patterns keeps its words after them.
      {"All Files (*.rtf) RichTextFormat|*.rtf", "All Files (*.rtf) RichTextFormat"},
      {"Text|*.txt", "Text (*.txt)"},
      {"Text|*.txt;*.text", "Text (*.txt *.text)"},
      {"Text|*.txt|Rich Text|*.rtf", "Text (*.txt);;Rich Text (*.rtf)"},
      // A description without its pattern is left out.
      {"Text|*.txt|Rich Text", "Text (*.txt)"},
      {"Text", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(qtFilter(QString::fromUtf8(c.filter)), QString::fromUtf8(c.qt)) << c.filter;
  }
}

}  // namespace
}  // namespace kavelin
