// SPDX-License-Identifier: GPL-3.0-or-later
// The rich-text field shared by the English box, the Hindi box and the Editing
// Box: a QTextEdit that offers the operations the main window uses, with
// selection formatting read as one value or as mixed, and key notifications
// carrying a key code and a modifier mask (1 Shift, 2 Ctrl, 4 Alt).
#pragma once

#include <QFont>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <optional>

#include "richformat.h"
#include "transliterator.h"

class QPrinter;
class QTextCharFormat;

namespace kavelin {

// Replaces or extends a document's content in one step. The edits go into one
// edit block, so that the document is laid out and reports its change once at
// the end rather than after each piece (which makes building a document of
// many pieces take time quadratic in its size). A document whose content is
// replaced (`kReplace`: cleared inside the block) is laid out lazily, the part
// on show first and the rest in steps between events, so that even a long
// text shows at once. A replaced document keeps no undo history.
class DocumentEdit {
 public:
  enum Mode { kReplace, kAppend };
  DocumentEdit(QTextDocument& document, Mode mode);
  ~DocumentEdit();
  DocumentEdit(const DocumentEdit&) = delete;
  DocumentEdit& operator=(const DocumentEdit&) = delete;
  QTextCursor& cursor() { return cursor_; }

 private:
  QTextDocument& document_;
  QTextCursor cursor_;
  bool undo_;
};

// A document's text as the transliterator reads it: a piece at a time, block
// by block (a cursor would have the document laid out up to where it stands),
// line breaks as LF, as RichTextField::text() gives them.
class TextSource : public Transliterator::Source {
 public:
  explicit TextSource(QTextDocument& document) : document_(document) {}
  std::size_t length() const override;
  std::u16string_view text(std::size_t from, std::size_t to) override;

 private:
  QTextDocument& document_;
  QString piece_;
};

class RichTextField : public QTextEdit {
  Q_OBJECT

 public:
  enum Alignment { kLeft = 0, kRight = 1, kCenter = 2 };

  explicit RichTextField(QWidget* parent = nullptr);

  // The whole content as plain text, line breaks as LF.
  QString text() const;
  // What changed in text() since the last call, as one replacement: `removed`
  // characters at `position` gave way to `added` (the edits the document
  // reported, merged).
  struct Edit {
    int position = 0;
    int removed = 0;
    int added = 0;
  };
  Edit takeEdit();
  // Replaces all of the content, which then shows in the base font alone.
  // Keeps no undo history.
  void setText(const QString& text);
  // Replaces all of the content with `text` as one step of undo, in the base
  // font. Only the part that differs is rewritten: that part alone is what the
  // edit reports and what undo restores. Emptied, the field also loses its
  // paragraph formatting.
  void replaceText(const QString& text);

  // The font of the whole field.
  QFont baseFont() const;
  void setBaseFont(const QFont& font);
  void setBaseFontName(const QString& family);
  void setBaseFontSize(double points);

  // Selection: start is a character index from 0.
  int selStart() const;
  void setSelStart(int start);
  int selLength() const;
  void setSelLength(int length);
  QString selText() const;

  // Selection formatting: a value when the selection is uniform, nothing when
  // mixed. Setting acts on the selection, or on the insertion point.
  std::optional<QString> selFontName() const;
  void setSelFontName(const QString& family);
  std::optional<double> selFontSize() const;
  void setSelFontSize(double points);
  std::optional<bool> selBold() const;
  void setSelBold(bool on);
  std::optional<bool> selItalic() const;
  void setSelItalic(bool on);
  std::optional<bool> selUnderline() const;
  void setSelUnderline(bool on);
  std::optional<int> selAlignment() const;
  void setSelAlignment(int alignment);

  // Moves the insertion point forward up to, not including, the next character
  // of `set` (of the characters not in it, when negated); to the end of the text
  // when none follows.
  void span(const QString& set, bool forward = true, bool negate = false);

  // Plain-text files (UTF-8). Loading replaces the content as one step of
  // undo and puts the caret at the start; LF, CR LF and CR line breaks are all
  // read. A text longer than kUndoableLoadLength starts the history afresh
  // instead: replaced as an edit it would be laid out whole at once (seconds
  // for some megabytes), replaced afresh the part on show is laid out first.
  // On failure `error` says why.
  bool loadPlainText(const QString& path, QString* error);
  static constexpr qsizetype kUndoableLoadLength = qsizetype{256} << 10;
  bool savePlainText(const QString& path, QString* error) const;

  // Prints the selection, or the whole content when nothing is selected.
  void printSelection(QPrinter* printer) const;

 signals:
  // Raised synchronously whenever the content changes, by the user or by code.
  void changed();
  void keyDown(int keyCode, int shift);
  void keyUp(int keyCode, int shift);

 protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;

 private:
  template <typename T, typename Get>
  std::optional<T> uniform(Get get) const;
  void mergeFormat(const QTextCharFormat& format);
  void noteEdit(int position, int removed, int added);

  Edit edit_;
  bool editPending_ = false;
  int takenLength_ = 0;  // the length of text() when the last edit was taken
};

// The key code of a key event as the main window's handlers use them: letters
// and digits as their upper-case ASCII codes, "," and "<" as kKeyComma, "." and
// ">" as kKeyPeriod, and so on.
int keyCodeOf(const QKeyEvent* e);
inline constexpr int kKeyS = 'S';
inline constexpr int kKeyW = 'W';
inline constexpr int kKeyComma = 188;
inline constexpr int kKeyPeriod = 190;

// The modifier mask of a key event: its bits are these.
int shiftMaskOf(const QKeyEvent* e);
inline constexpr int kShiftMask = 1;
inline constexpr int kCtrlMask = 2;
inline constexpr int kAltMask = 4;

}  // namespace kavelin
