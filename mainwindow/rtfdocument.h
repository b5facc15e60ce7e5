// SPDX-License-Identifier: GPL-3.0-or-later
// The Editing Box's content and the rich-text model of the RTF reader and
// writer: paragraphs with their alignment, runs with font, size, bold, italic
// and underline.
#pragma once

#include "rtf.h"

class QTextDocument;

namespace kavelin {

RichDocument toRichDocument(const QTextDocument& document);

// Replaces the document's content. Runs without a font take the document's
// default font.
void fromRichDocument(const RichDocument& rich, QTextDocument& document);

}  // namespace kavelin
