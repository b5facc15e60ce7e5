// SPDX-License-Identifier: GPL-3.0-or-later
#include "richtextfield.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QKeyEvent>
#include <QPrinter>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <iterator>
#include <memory>

#include "forms.h"
#include "savefile.h"

namespace kavelin {
namespace {

// The field's alignment numbers, as RichTextField::Alignment gives them.
constexpr Align kFieldAlignments[] = {Align::Left, Align::Right, Align::Center};

int fieldAlignment(Align align) {
  for (int i = 0; i < static_cast<int>(std::size(kFieldAlignments)); ++i) {
    if (kFieldAlignments[i] == align) return i;
  }
  return RichTextField::kLeft;
}

// Numbers that are no alignment of the field are Left.
Align alignOfField(int alignment) {
  return alignment >= 0 && alignment < static_cast<int>(std::size(kFieldAlignments))
             ? kFieldAlignments[alignment]
             : Align::Left;
}

}  // namespace

DocumentEdit::DocumentEdit(QTextDocument& document, Mode mode)
    : document_(document), cursor_(&document), undo_(document.isUndoRedoEnabled()) {
  if (mode == kReplace) document_.setUndoRedoEnabled(false);
  cursor_.beginEditBlock();
  if (mode == kReplace) {
    // Cleared inside the block, the document reports one change of all its
    // content, which the layout takes as a new document: laid out lazily.
    document_.clear();
    cursor_ = QTextCursor(&document_);
  } else {
    cursor_.movePosition(QTextCursor::End);
  }
}

DocumentEdit::~DocumentEdit() {
  cursor_.endEditBlock();
  document_.setUndoRedoEnabled(undo_);
}

std::size_t TextSource::length() const {
  return static_cast<std::size_t>(document_.characterCount() - 1);
}

std::u16string_view TextSource::text(std::size_t from, std::size_t to) {
  piece_.clear();
  const int end = static_cast<int>(to);
  for (QTextBlock block = document_.findBlock(static_cast<int>(from));
       block.isValid() && block.position() < end; block = block.next()) {
    const int start = block.position();
    const QString line = block.text();
    const int first = std::max(static_cast<int>(from), start) - start;
    const int last = std::min(end - start, static_cast<int>(line.size()) + 1);
    piece_ += QStringView(line).mid(first, std::min<int>(last, line.size()) - first);
    if (last > line.size()) piece_ += u'\n';
  }
  for (QChar& c : piece_) {
    if (c == QChar::LineSeparator) c = u'\n';
  }
  return uview(piece_);
}

RichTextField::RichTextField(QWidget* parent) : QTextEdit(parent) {
  setAcceptRichText(false);
  setTabChangesFocus(true);
  connect(document(), &QTextDocument::contentsChange, this, &RichTextField::noteEdit);
  connect(this, &QTextEdit::textChanged, this, &RichTextField::changed);
}

void RichTextField::noteEdit(int position, int removed, int added) {
  if (!editPending_) {
    edit_ = {position, removed, added};
    editPending_ = true;
    return;
  }
  // The union of both ranges, in the text before the first edit and after
  // this one.
  const int start = std::min(edit_.position, position);
  const int end = std::max(edit_.position + edit_.added, position + removed);
  edit_.removed += end - start - edit_.added;
  edit_.added = end - start - removed + added;
  edit_.position = start;
}

RichTextField::Edit RichTextField::takeEdit() {
  // The document counts the separator after its last block in edits that
  // reach it; text() has none.
  const int length = document()->characterCount() - 1;
  Edit e = editPending_ ? edit_ : Edit{0, takenLength_, length};
  e.position = std::clamp(e.position, 0, std::min(length, takenLength_));
  e.removed = std::clamp(e.removed, 0, takenLength_ - e.position);
  e.added = std::clamp(e.added, 0, length - e.position);
  editPending_ = false;
  takenLength_ = length;
  return e;
}

QString RichTextField::text() const {
  QString s = document()->toRawText();
  for (QChar& c : s) {
    if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) c = u'\n';
  }
  return s;
}

void RichTextField::setText(const QString& text) {
  // setPlainText builds the document in one step, laid out lazily, and leaves
  // the insertion point at the start, as a field that was just filled.
  // It marks the document unmodified; a change of content is a modification.
  QTextDocument* doc = document();
  const bool modified = doc->isModified() || !doc->isEmpty() || !text.isEmpty();
  setCurrentCharFormat(QTextCharFormat());
  setPlainText(text);
  doc->setModified(modified);
}

void RichTextField::replaceText(const QString& text) {
  const QString old = this->text();
  const qsizetype shorter = std::min(old.size(), text.size());
  qsizetype prefix = 0;
  while (prefix < shorter && old[prefix] == text[prefix]) ++prefix;
  qsizetype suffix = 0;
  while (suffix < shorter - prefix &&
         old[old.size() - 1 - suffix] == text[text.size() - 1 - suffix])
    ++suffix;
  // No surrogate pair is split.
  if (prefix > 0 && old[prefix - 1].isHighSurrogate()) --prefix;
  if (suffix > 0 && old[old.size() - suffix].isLowSurrogate()) --suffix;
  QTextCursor cursor(document());
  cursor.beginEditBlock();
  cursor.setPosition(static_cast<int>(prefix));
  cursor.setPosition(static_cast<int>(old.size() - suffix), QTextCursor::KeepAnchor);
  cursor.insertText(text.mid(prefix, text.size() - prefix - suffix), QTextCharFormat());
  if (text.isEmpty() && (cursor.blockFormat() != QTextBlockFormat() ||
                         cursor.blockCharFormat() != QTextCharFormat())) {
    cursor.setBlockFormat(QTextBlockFormat());
    cursor.setBlockCharFormat(QTextCharFormat());
  }
  cursor.endEditBlock();
  if (text.isEmpty()) setCurrentCharFormat(QTextCharFormat());
}

QFont RichTextField::baseFont() const { return document()->defaultFont(); }

void RichTextField::setBaseFont(const QFont& font) {
  document()->setDefaultFont(font);
  setFont(font);
}

void RichTextField::setBaseFontName(const QString& family) {
  QFont f = baseFont();
  f.setFamily(family);
  setBaseFont(f);
}

void RichTextField::setBaseFontSize(double points) {
  QFont f = baseFont();
  f.setPointSizeF(points);
  setBaseFont(f);
}

int RichTextField::selStart() const { return textCursor().selectionStart(); }

void RichTextField::setSelStart(int start) {
  QTextCursor c = textCursor();
  c.setPosition(std::clamp(start, 0, static_cast<int>(text().size())));
  setTextCursor(c);
}

int RichTextField::selLength() const {
  const QTextCursor c = textCursor();
  return c.selectionEnd() - c.selectionStart();
}

void RichTextField::setSelLength(int length) {
  QTextCursor c = textCursor();
  const int start = c.selectionStart();
  const int end = std::clamp(start + length, 0, static_cast<int>(text().size()));
  c.setPosition(start);
  c.setPosition(end, QTextCursor::KeepAnchor);
  setTextCursor(c);
}

QString RichTextField::selText() const {
  QString s = textCursor().selectedText();
  for (QChar& c : s) {
    if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) c = u'\n';
  }
  return s;
}

// The value `get` reads from each character format of the selection (or of the
// insertion point), when they all agree.
template <typename T, typename Get>
std::optional<T> RichTextField::uniform(Get get) const {
  const QTextCursor cursor = textCursor();
  if (!cursor.hasSelection()) return get(cursor.charFormat());
  const int start = cursor.selectionStart();
  const int end = cursor.selectionEnd();
  std::optional<T> value;
  for (QTextBlock block = document()->findBlock(start); block.isValid() && block.position() < end;
       block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (fragment.position() + fragment.length() <= start || fragment.position() >= end) continue;
      const T v = get(fragment.charFormat());
      if (value && *value != v) return std::nullopt;
      value = v;
    }
  }
  return value ? value : std::optional<T>(get(cursor.charFormat()));
}

void RichTextField::mergeFormat(const QTextCharFormat& format) {
  QTextCursor c = textCursor();
  c.mergeCharFormat(format);
  mergeCurrentCharFormat(format);
}

std::optional<QString> RichTextField::selFontName() const {
  const QFont base = baseFont();
  return uniform<QString>([&](const QTextCharFormat& f) { return formatFamily(f, base); });
}

void RichTextField::setSelFontName(const QString& family) {
  // A family picked by hand goes into the font families, installed or not; it
  // replaces one kept aside for a font that is not installed.
  QTextCharFormat f;
  f.setFontFamilies({family});
  f.setProperty(kUninstalledFamilyProperty, QString());
  mergeFormat(f);
}

std::optional<double> RichTextField::selFontSize() const {
  const QFont base = baseFont();
  return uniform<double>([&](const QTextCharFormat& f) { return effectiveSize(f, base); });
}

void RichTextField::setSelFontSize(double points) {
  QTextCharFormat f;
  f.setFontPointSize(points);
  mergeFormat(f);
}

std::optional<bool> RichTextField::selBold() const {
  const QFont base = baseFont();
  return uniform<bool>([&](const QTextCharFormat& f) { return effectiveBold(f, base); });
}

void RichTextField::setSelBold(bool on) {
  QTextCharFormat f;
  f.setFontWeight(on ? QFont::Bold : QFont::Normal);
  mergeFormat(f);
}

std::optional<bool> RichTextField::selItalic() const {
  const QFont base = baseFont();
  return uniform<bool>([&](const QTextCharFormat& f) { return effectiveItalic(f, base); });
}

void RichTextField::setSelItalic(bool on) {
  QTextCharFormat f;
  f.setFontItalic(on);
  mergeFormat(f);
}

std::optional<bool> RichTextField::selUnderline() const {
  const QFont base = baseFont();
  return uniform<bool>([&](const QTextCharFormat& f) { return effectiveUnderline(f, base); });
}

void RichTextField::setSelUnderline(bool on) {
  QTextCharFormat f;
  f.setFontUnderline(on);
  mergeFormat(f);
}

std::optional<int> RichTextField::selAlignment() const {
  const QTextCursor cursor = textCursor();
  std::optional<int> value;
  QTextBlock block = document()->findBlock(cursor.selectionStart());
  const QTextBlock last = document()->findBlock(cursor.selectionEnd());
  for (;; block = block.next()) {
    const int a = fieldAlignment(alignOf(block.blockFormat().alignment()));
    if (value && *value != a) return std::nullopt;
    value = a;
    if (block == last || !block.isValid()) break;
  }
  return value;
}

void RichTextField::setSelAlignment(int alignment) {
  QTextBlockFormat f;
  f.setAlignment(qtAlignment(alignOfField(alignment)));
  QTextCursor c = textCursor();
  c.mergeBlockFormat(f);
}

void RichTextField::span(const QString& set, bool forward, bool negate) {
  const QString s = text();
  QTextCursor c = textCursor();
  int pos = forward ? c.selectionEnd() : c.selectionStart();
  auto stops = [&](QChar ch) { return set.contains(ch) != negate; };
  if (forward) {
    while (pos < s.size() && !stops(s[pos])) ++pos;
  } else {
    while (pos > 0 && !stops(s[pos - 1])) --pos;
  }
  c.setPosition(pos);
  setTextCursor(c);
}

bool RichTextField::loadPlainText(const QString& path, QString* error) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    if (error) *error = file.errorString();
    return false;
  }
  QString content;
  {  // the bytes go before the text is shown and converted
    const QByteArray bytes = file.readAll();
    if (file.error() != QFile::NoError) {
      if (error) *error = file.errorString();
      return false;
    }
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    content = decode(bytes);
    if (decode.hasError()) {
      if (error) *error = tr("The file is not UTF-8 text.");
      return false;
    }
  }
  if (content.startsWith(QChar(0xFEFF))) content.remove(0, 1);
  content.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  content.replace(u'\r', u'\n');
  if (content.size() > kUndoableLoadLength) {
    setText(content);
  } else {
    replaceText(content);
    setTextCursor(QTextCursor(document()));
  }
  return true;
}

bool RichTextField::savePlainText(const QString& path, QString* error) const {
  return saveFile(path, text().toUtf8(), error);
}

void RichTextField::printSelection(QPrinter* printer) const {
  // A copy laid out on the printer's pages, so that no page numbers are added.
  const QTextCursor cursor = textCursor();
  std::unique_ptr<QTextDocument> copy;
  if (cursor.hasSelection()) {
    copy = std::make_unique<QTextDocument>();
    copy->setDefaultFont(document()->defaultFont());
    QTextCursor(copy.get()).insertFragment(cursor.selection());
  } else {
    copy.reset(document()->clone());
  }
  copy->documentLayout()->setPaintDevice(printer);
  copy->setPageSize(printer->pageRect(QPrinter::DevicePixel).size());
  copy->print(printer);
}

// Alt+S and Alt+W belong to the field while it has the focus (caret moves), not
// to the access keys of buttons or menus.
bool RichTextField::event(QEvent* e) {
  if (e->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(e);
    if (shiftMaskOf(key) == kAltMask && (key->key() == Qt::Key_S || key->key() == Qt::Key_W)) {
      e->accept();
      return true;
    }
  }
  return QTextEdit::event(e);
}

void RichTextField::keyPressEvent(QKeyEvent* e) {
  emit keyDown(keyCodeOf(e), shiftMaskOf(e));
  if (shiftMaskOf(e) == kAltMask && (e->key() == Qt::Key_S || e->key() == Qt::Key_W)) return;
  // A key held with Ctrl or Alt types nothing; the field's own shortcuts
  // (copy, paste, select all ...) go by the key and still work.
  if ((e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && !e->text().isEmpty()) {
    QKeyEvent plain(e->type(), e->key(), e->modifiers(), e->nativeScanCode(), e->nativeVirtualKey(),
                    e->nativeModifiers(), QString(), e->isAutoRepeat(),
                    static_cast<quint16>(e->count()));
    QTextEdit::keyPressEvent(&plain);
    e->setAccepted(plain.isAccepted());
    return;
  }
  QTextEdit::keyPressEvent(e);
}

void RichTextField::keyReleaseEvent(QKeyEvent* e) {
  emit keyUp(keyCodeOf(e), shiftMaskOf(e));
  QTextEdit::keyReleaseEvent(e);
}

int keyCodeOf(const QKeyEvent* e) {
  const int k = e->key();
  if (k >= Qt::Key_A && k <= Qt::Key_Z) return 'A' + (k - Qt::Key_A);
  if (k >= Qt::Key_0 && k <= Qt::Key_9) return '0' + (k - Qt::Key_0);
  switch (k) {
    case Qt::Key_Comma:
    case Qt::Key_Less:
      return kKeyComma;
    case Qt::Key_Period:
    case Qt::Key_Greater:
      return kKeyPeriod;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
      return 189;
    case Qt::Key_Equal:
    case Qt::Key_Plus:
      return 187;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon:
      return 186;
    case Qt::Key_Slash:
    case Qt::Key_Question:
      return 191;
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
      return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Shift:
      return 16;
    case Qt::Key_Control:
      return 17;
    case Qt::Key_Alt:
      return 18;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Space:
      return 32;
    case Qt::Key_Left:
      return 37;
    case Qt::Key_Up:
      return 38;
    case Qt::Key_Right:
      return 39;
    case Qt::Key_Down:
      return 40;
    case Qt::Key_Delete:
      return 46;
    default:
      return k < 128 ? k : 0;
  }
}

int shiftMaskOf(const QKeyEvent* e) {
  const Qt::KeyboardModifiers m = e->modifiers();
  return (m & Qt::ShiftModifier ? kShiftMask : 0) | (m & Qt::ControlModifier ? kCtrlMask : 0) |
         (m & Qt::AltModifier ? kAltMask : 0);
}

}  // namespace kavelin
