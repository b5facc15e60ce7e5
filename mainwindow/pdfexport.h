// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a rich-text document as a PDF through Pango and Cairo, whose text
// layer keeps the characters of every shaped cluster (conjuncts, reph, vowel
// signs), so that the Hindi in the PDF can be searched and copied.
#pragma once

#include <QString>

class QTextDocument;

namespace kavelin {

struct PdfPage {
  double widthPt = 595.276;   // A4
  double heightPt = 841.89;
  double marginPt = 56.693;   // 20 mm
};

// Paragraphs keep their alignment; runs their font family, size, bold, italic
// and underline. The file is replaced atomically. On failure `error` says why.
bool writePdf(const QTextDocument& document, const QString& path, const PdfPage& page,
              QString* error);

}  // namespace kavelin
