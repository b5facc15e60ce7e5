#include "unicodepreview.h"

#include "richtextfield.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include "unicodetext.h"

namespace kavelin {

UnicodePreview::UnicodePreview(QWidget* parent) : QDockWidget(tr("Unicode Preview"), parent) {
  setObjectName(QStringLiteral("UnicodePreview"));
  setAllowedAreas(Qt::NoDockWidgetArea);
  setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
              QDockWidget::DockWidgetFloatable);
  view_ = new QTextEdit(this);
  view_->setReadOnly(true);
  view_->setAcceptRichText(false);
  QFont font(devanagariFont());
  font.setPointSizeF(16);
  view_->document()->setDefaultFont(font);
  view_->setFont(font);
  setWidget(view_);
  lines_.emplace_back();
}

QString UnicodePreview::text() const { return view_->toPlainText(); }

void UnicodePreview::showGlyphs(const QString& glyphs) {
  const QStringList lines = glyphs.split(u'\n');
  // The changed lines lie between the common first and last lines.
  std::size_t first = 0;
  const std::size_t oldCount = lines_.size();
  const std::size_t newCount = static_cast<std::size_t>(lines.size());
  while (first < oldCount && first < newCount && lines_[first] == lines[first]) ++first;
  std::size_t tail = 0;
  while (tail < oldCount - first && tail < newCount - first &&
         lines_[oldCount - 1 - tail] == lines[newCount - 1 - tail]) {
    ++tail;
  }
  if (first == oldCount && first == newCount) return;

  QTextDocument* doc = view_->document();
  auto blockStart = [doc](std::size_t n) {
    return doc->findBlockByNumber(static_cast<int>(n)).position();
  };
  auto blockEnd = [doc](std::size_t n) {  // before the block's line break
    const QTextBlock block = doc->findBlockByNumber(static_cast<int>(n));
    return block.position() + block.length() - 1;
  };
  const std::size_t oldEnd = oldCount - tail;  // changed lines: [first, oldEnd) ...
  const std::size_t newEnd = newCount - tail;  // ... become [first, newEnd)
  QStringList converted;
  for (std::size_t i = first; i < newEnd; ++i) converted << unicodeText(lines[i]);
  const QString replacement = converted.join(u'\n');

  QTextCursor cursor(doc);
  if (first == 0 && tail == 0) {  // all new: built in one step, laid out lazily
    DocumentEdit edit(*doc, DocumentEdit::kReplace);
    edit.cursor().insertText(replacement);
  } else if (oldEnd > first && newEnd > first) {
    cursor.setPosition(blockStart(first));
    cursor.setPosition(blockEnd(oldEnd - 1), QTextCursor::KeepAnchor);
    cursor.insertText(replacement);
  } else if (newEnd > first) {  // whole lines added
    if (first < oldCount) {
      cursor.setPosition(blockStart(first));
      cursor.insertText(replacement + u'\n');
    } else {
      cursor.setPosition(blockEnd(oldCount - 1));
      cursor.insertText(u'\n' + replacement);
    }
  } else {  // whole lines removed, with one line break
    if (first > 0) {
      cursor.setPosition(blockEnd(first - 1));
      cursor.setPosition(blockEnd(oldEnd - 1), QTextCursor::KeepAnchor);
    } else {
      cursor.setPosition(blockStart(0));
      cursor.setPosition(blockStart(oldEnd), QTextCursor::KeepAnchor);
    }
    cursor.removeSelectedText();
  }
  lines_.assign(lines.begin(), lines.end());
}

}  // namespace kavelin
