#include "rtfdocument.h"

#include "forms.h"
#include "richtextfield.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace kavelin {
RichDocument toRichDocument(const QTextDocument& document) {
  const QFont base = document.defaultFont();
  RichDocument rich;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    RichParagraph paragraph;
    const Qt::Alignment a = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    paragraph.align = a & Qt::AlignHCenter ? Align::Center
                      : a & Qt::AlignRight ? Align::Right
                                           : Align::Left;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const QTextCharFormat f = fragment.charFormat();
      RichRun run;
      run.text = ustr(fragment.text());
      run.format.font = ustr(formatFamily(f, base));
      run.format.sizePt = f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize()
                                                                    : base.pointSizeF();
      run.format.bold = f.hasProperty(QTextFormat::FontWeight) ? f.fontWeight() >= QFont::Bold
                                                               : base.bold();
      run.format.italic = f.hasProperty(QTextFormat::FontItalic) ? f.fontItalic() : base.italic();
      run.format.underline = f.hasProperty(QTextFormat::TextUnderlineStyle) ? f.fontUnderline()
                                                                            : base.underline();
      paragraph.runs.push_back(std::move(run));
    }
    mergeRuns(paragraph);
    rich.paragraphs.push_back(std::move(paragraph));
  }
  // An empty document is one empty block: no paragraphs.
  if (rich.paragraphs.size() == 1 && rich.paragraphs[0].runs.empty() &&
      rich.paragraphs[0].align == Align::Left) {
    rich.paragraphs.clear();
  }
  return rich;
}

void fromRichDocument(const RichDocument& rich, QTextDocument& document) {
  DocumentEdit edit(document, DocumentEdit::kReplace);
  QTextCursor& cursor = edit.cursor();
  bool first = true;
  for (const RichParagraph& paragraph : rich.paragraphs) {
    QTextBlockFormat block;
    block.setAlignment(paragraph.align == Align::Center  ? Qt::AlignHCenter
                       : paragraph.align == Align::Right ? Qt::AlignRight
                                                         : Qt::AlignLeft);
    if (first) {
      cursor.setBlockFormat(block);
      first = false;
    } else {
      cursor.insertBlock(block, QTextCharFormat());
    }
    for (const RichRun& run : paragraph.runs) {
      QTextCharFormat f;
      if (!run.format.font.empty()) setFormatFamily(f, qstr(run.format.font));
      f.setFontPointSize(run.format.sizePt);
      f.setFontWeight(run.format.bold ? QFont::Bold : QFont::Normal);
      f.setFontItalic(run.format.italic);
      f.setFontUnderline(run.format.underline);
      cursor.insertText(qstr(run.text), f);
    }
  }
}

}  // namespace kavelin
