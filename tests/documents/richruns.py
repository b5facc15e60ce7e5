#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints the runs of a document's body with their formatting, one line each:
# "ALIGN|FONT|SIZE|B|I|U|COLOR|TEXT" (ALIGN of the paragraph, SIZE in points,
# B, I and U as 0 or 1). DOCX through python-docx, ODT through odfpy.
import sys

path = sys.argv[1]
if path.endswith(".docx"):
    import docx
    from docx.enum.text import WD_ALIGN_PARAGRAPH

    names = {WD_ALIGN_PARAGRAPH.CENTER: "center", WD_ALIGN_PARAGRAPH.RIGHT: "right"}
    d = docx.Document(path)
    for p in d.paragraphs:
        align = names.get(p.alignment, "left")
        for r in p.runs:
            f = r.font
            color = str(f.color.rgb) if f.color is not None and f.color.type is not None else "auto"
            print("%s|%s|%s|%d|%d|%d|%s|%s" % (align, f.name, f.size.pt if f.size else None,
                                                bool(f.bold), bool(f.italic), bool(f.underline),
                                                color.lower(), r.text))
else:
    from odf.opendocument import load
    from odf import style, teletype, text
    from odf.namespaces import FONS, STYLENS

    doc = load(path)
    props = {}
    aligns = {}
    for st in doc.automaticstyles.getElementsByType(style.Style):
        name = st.getAttribute("name")
        for tp in st.getElementsByType(style.TextProperties):
            props[name] = tp.attributes
        for pp in st.getElementsByType(style.ParagraphProperties):
            aligns[name] = pp.attributes.get((FONS, "text-align"), "start")
    names = {"center": "center", "end": "right", "right": "right"}
    for p in doc.body.getElementsByType(text.P):
        align = names.get(aligns.get(p.getAttribute("stylename"), "start"), "left")
        for span in p.getElementsByType(text.Span):
            a = props.get(span.getAttribute("stylename"), {})
            content = teletype.extractText(span)
            size = a.get((FONS, "font-size"), "")
            print("%s|%s|%s|%d|%d|%d|%s|%s" % (
                align, a.get((STYLENS, "font-name")), float(size[:-2]) if size.endswith("pt") else None,
                a.get((FONS, "font-weight")) == "bold", a.get((FONS, "font-style")) == "italic",
                a.get((STYLENS, "text-underline-style"), "none") != "none",
                a.get((FONS, "color"), "auto").lstrip("#"), content))
