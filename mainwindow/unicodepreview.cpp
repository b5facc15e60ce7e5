// SPDX-License-Identifier: GPL-3.0-or-later
#include "unicodepreview.h"

#include "richtextfield.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include "forms.h"
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
}

QString UnicodePreview::text() const { return view_->toPlainText(); }

void UnicodePreview::showGlyphs(const QString& glyphs) {
  // Built in one step, laid out lazily.
  DocumentEdit edit(*view_->document(), DocumentEdit::kReplace);
  edit.cursor().insertText(unicodeText(glyphs));
}

void UnicodePreview::replaceLines(std::size_t first, std::size_t count,
                                  const std::vector<std::u16string>& lines) {
  QString replacement;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i) replacement += u'\n';
    replacement += qstr(lines[i]);
  }
  QTextDocument* doc = view_->document();
  if (first == 0 && count >= static_cast<std::size_t>(doc->blockCount())) {
    DocumentEdit edit(*doc, DocumentEdit::kReplace);
    edit.cursor().insertText(replacement);
    return;
  }
  const QTextBlock from = doc->findBlockByNumber(static_cast<int>(first));
  const QTextBlock to = doc->findBlockByNumber(static_cast<int>(first + count - 1));
  if (!from.isValid() || !to.isValid() || count == 0) return;
  QTextCursor cursor(doc);
  cursor.setPosition(from.position());
  cursor.setPosition(to.position() + to.length() - 1, QTextCursor::KeepAnchor);
  cursor.insertText(replacement);
}

}  // namespace kavelin
