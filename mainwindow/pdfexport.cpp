// SPDX-License-Identifier: GPL-3.0-or-later
// Pango and Cairo come first: their headers must not see Qt's keyword macros.
#include <cairo-pdf.h>
#include <pango/pangocairo.h>

#include <QTextBlock>
#include <QTextDocument>
#include <memory>

#include "pdfexport.h"

#include "forms.h"
#include "richformat.h"
#include "savefile.h"

namespace kavelin {
namespace {

template <typename T, void (*Free)(T*)>
struct Deleter {
  void operator()(T* p) const {
    if (p) Free(p);
  }
};

void unrefLayout(PangoLayout* p) { g_object_unref(p); }

using Surface = std::unique_ptr<cairo_surface_t, Deleter<cairo_surface_t, cairo_surface_destroy>>;
using Context = std::unique_ptr<cairo_t, Deleter<cairo_t, cairo_destroy>>;
using Layout = std::unique_ptr<PangoLayout, Deleter<PangoLayout, unrefLayout>>;
using Attributes = std::unique_ptr<PangoAttrList, Deleter<PangoAttrList, pango_attr_list_unref>>;

cairo_status_t writeToFile(void* closure, const unsigned char* data, unsigned int length) {
  auto* file = static_cast<SaveFile*>(closure);
  return file->write(QByteArrayView(data, static_cast<qsizetype>(length)))
             ? CAIRO_STATUS_SUCCESS
             : CAIRO_STATUS_WRITE_ERROR;
}

void add(PangoAttrList* list, PangoAttribute* attribute, guint start, guint end) {
  attribute->start_index = start;
  attribute->end_index = end;
  pango_attr_list_insert(list, attribute);
}

// A paragraph laid out to the text width, with its runs' formats.
Layout layoutBlock(cairo_t* cr, const QTextBlock& block, const QFont& base, double width) {
  Layout layout(pango_cairo_create_layout(cr));
  pango_cairo_context_set_resolution(pango_layout_get_context(layout.get()), 72.0);
  pango_layout_context_changed(layout.get());
  pango_layout_set_width(layout.get(), static_cast<int>(width * PANGO_SCALE));
  pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);

  QByteArray text;
  Attributes attributes(pango_attr_list_new());
  for (auto it = block.begin(); !it.atEnd(); ++it) {
    const QTextFragment fragment = it.fragment();
    const RunFormat f = effectiveFormat(fragment.charFormat(), base);
    const QByteArray piece = fragment.text().replace(QChar::LineSeparator, u'\n').toUtf8();
    const guint start = static_cast<guint>(text.size());
    const guint end = start + static_cast<guint>(piece.size());
    text += piece;
    const QByteArray family = qstr(f.font).toUtf8();
    add(attributes.get(), pango_attr_family_new(family.constData()), start, end);
    add(attributes.get(), pango_attr_size_new(static_cast<int>(f.sizePt * PANGO_SCALE)), start,
        end);
    if (f.bold) add(attributes.get(), pango_attr_weight_new(PANGO_WEIGHT_BOLD), start, end);
    if (f.italic) add(attributes.get(), pango_attr_style_new(PANGO_STYLE_ITALIC), start, end);
    if (f.underline) {
      add(attributes.get(), pango_attr_underline_new(PANGO_UNDERLINE_SINGLE), start, end);
    }
  }
  pango_layout_set_text(layout.get(), text.constData(), static_cast<int>(text.size()));
  pango_layout_set_attributes(layout.get(), attributes.get());
  if (text.isEmpty()) {  // an empty paragraph is one line of the base font
    PangoFontDescription* font = pango_font_description_new();
    pango_font_description_set_family(font, base.family().toUtf8().constData());
    pango_font_description_set_size(font, static_cast<int>(base.pointSizeF() * PANGO_SCALE));
    pango_layout_set_font_description(layout.get(), font);
    pango_font_description_free(font);
  }
  const Align align = alignOf(block.blockFormat().alignment());
  pango_layout_set_alignment(layout.get(), align == Align::Center  ? PANGO_ALIGN_CENTER
                                           : align == Align::Right ? PANGO_ALIGN_RIGHT
                                                                   : PANGO_ALIGN_LEFT);
  return layout;
}

}  // namespace

bool writePdf(const QTextDocument& document, const QString& path, const PdfPage& page,
              QString* error) {
  SaveFile file(path);
  if (!file.open()) {
    if (error) *error = file.errorString();
    return false;
  }
  Surface surface(
      cairo_pdf_surface_create_for_stream(writeToFile, &file, page.widthPt, page.heightPt));
  Context cr(cairo_create(surface.get()));
  const double width = page.widthPt - 2 * page.marginPt;
  const double bottom = page.heightPt - page.marginPt;
  double y = page.marginPt;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    Layout layout = layoutBlock(cr.get(), block, document.defaultFont(), width);
    // Line by line, so that a long paragraph goes on over the next page.
    PangoLayoutIter* iter = pango_layout_get_iter(layout.get());
    do {
      PangoRectangle logical;
      pango_layout_iter_get_line_extents(iter, nullptr, &logical);
      const double height = static_cast<double>(logical.height) / PANGO_SCALE;
      if (y + height > bottom && y > page.marginPt) {
        cairo_show_page(cr.get());
        y = page.marginPt;
      }
      const double baseline =
          static_cast<double>(pango_layout_iter_get_baseline(iter) - logical.y) / PANGO_SCALE;
      cairo_move_to(cr.get(), page.marginPt + static_cast<double>(logical.x) / PANGO_SCALE,
                    y + baseline);
      pango_cairo_show_layout_line(cr.get(), pango_layout_iter_get_line_readonly(iter));
      y += height;
    } while (pango_layout_iter_next_line(iter));
    pango_layout_iter_free(iter);
  }
  cr.reset();
  cairo_surface_finish(surface.get());
  const cairo_status_t status = cairo_surface_status(surface.get());
  surface.reset();
  if (status != CAIRO_STATUS_SUCCESS) {
    // A failed write says why itself; else Cairo's reason.
    if (status != CAIRO_STATUS_WRITE_ERROR || file.errorString().isEmpty()) {
      file.cancel(QString::fromUtf8(cairo_status_to_string(status)));
    }
    if (error) *error = file.errorString();
    return false;
  }
  if (!file.commit()) {
    if (error) *error = file.errorString();
    return false;
  }
  return true;
}

}  // namespace kavelin
