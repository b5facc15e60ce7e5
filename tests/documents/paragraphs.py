#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints the paragraphs of every XML part of a DOCX or ODT package, one line
# each: "PART<TAB>TEXT" (read with the standard library's zip and XML modules).
import sys
import zipfile
import xml.etree.ElementTree as ET

W = "{http://schemas.openxmlformats.org/wordprocessingml/2006/main}"
T = "{urn:oasis:names:tc:opendocument:xmlns:text:1.0}"


def odt_text(e, out):
    if e.text:
        out.append(e.text)
    for c in e:
        if c.tag == T + "s":
            out.append(" " * int(c.get(T + "c", "1")))
        elif c.tag == T + "tab":
            out.append("\t")
        elif c.tag in (T + "p", T + "h", T + "note", "{urn:oasis:names:tc:opendocument:xmlns:office:1.0}annotation"):
            pass
        else:
            odt_text(c, out)
        if c.tail:
            out.append(c.tail)


with zipfile.ZipFile(sys.argv[1]) as z:
    for name in z.namelist():
        if not name.endswith(".xml") or name.startswith("META-INF"):
            continue
        root = ET.fromstring(z.read(name))
        for p in root.iter():
            if p.tag == W + "p":
                runs = [r for r in p.iter(W + "r")]
                text = "".join(t.text or "" for r in runs for t in r if t.tag in (W + "t", W + "delText"))
                print(name + "\t" + text)
            elif p.tag in (T + "p", T + "h"):
                out = []
                odt_text(p, out)
                print(name + "\t" + "".join(out))
