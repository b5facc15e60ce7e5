#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints the runs of a document's body with the font they show in, one line
# each: "FONT<TAB>TEXT". DOCX through python-docx (the complex-script font for
# runs marked w:cs), ODT through odfpy (the span style's font, western or
# complex as the text's script asks).
import sys

path = sys.argv[1]
if path.endswith(".docx"):
    import docx
    from docx.oxml.ns import qn

    d = docx.Document(path)
    paragraphs = list(d.paragraphs)
    for t in d.tables:
        for row in t.rows:
            for cell in row.cells:
                paragraphs.extend(cell.paragraphs)
    for s in d.sections:
        paragraphs.extend(s.header.paragraphs)
        paragraphs.extend(s.footer.paragraphs)
    for p in paragraphs:
        for r in p.runs:
            rpr = r._element.rPr
            font = r.font.name
            if rpr is not None and rpr.find(qn("w:cs")) is not None and rpr.rFonts is not None:
                font = rpr.rFonts.get(qn("w:cs"))
            print("%s\t%s" % (font, r.text))
else:
    from odf.opendocument import load
    from odf import text, style
    from odf.namespaces import STYLENS

    doc = load(path)
    fonts = {}
    for st in doc.automaticstyles.getElementsByType(style.Style):
        for tp in st.getElementsByType(style.TextProperties):
            fonts[st.getAttribute("name")] = (tp.attributes.get((STYLENS, "font-name")),
                                              tp.attributes.get((STYLENS, "font-name-complex")))
    for span in doc.body.getElementsByType(text.Span):
        name = span.getAttribute("stylename")
        western, complex_ = fonts.get(name, (None, None))
        content = "".join(str(n) for n in span.childNodes if n.nodeType == n.TEXT_NODE)
        if not content:
            continue
        deva = any("\u0900" <= c <= "\u097f" for c in content)
        print("%s\t%s" % ((complex_ if deva else western), content))
