#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Builds Kavelin Legacy Devanagari from Noto Sans Devanagari.

Every code of glyph-table.tsv gets one TrueType composite glyph made of the
Noto glyphs that HarfBuzz picks for the code's Unicode, placed where HarfBuzz
places them.  The font works on Latin-coded text, so it only uses features
that HarfBuzz applies to any script:

  ccmp  1. sequences of codes that make one letter (half form + aa stem,
           "vk", "ks", ...) become that letter's glyph;
        2. half form + consonant, consonant + halant + consonant and
           consonant + sign become Noto's ligature where Noto forms one,
           and runs of signs become Noto's combined signs (e + anusvara, ...);
        3. the short-i (and its reph / anusvara forms) takes the width that
           Noto gives it before the cluster that follows;
  kern  the spacing Noto gives a half form before each consonant;
  mark  signs attach where HarfBuzz puts them on each base in Noto.

Usage: build_font.py --table glyph-table.tsv --noto Regular.ttf --out X.ttf
                     --style Regular|Bold [--hb-shape PATH]
"""

import argparse
import collections
import json
import os
import subprocess
import sys
import tempfile

from fontTools import subset
from fontTools.feaLib.builder import addOpenTypeFeaturesFromString
from fontTools.pens.boundsPen import BoundsPen
from fontTools.ttLib import TTFont, newTable
from fontTools.ttLib.tables._g_l_y_f import Glyph, GlyphComponent

FAMILY = "Kavelin Legacy Devanagari"
ZWJ = "\u200d"
VIRAMA = "\u094d"
REPH = "\u0930\u094d"
# Context consonants for the dependent signs (र is left out: it ligates).
CONTEXTS = "कखगघचछजझटठडढणतथदधनपफबभमयलवशषसह"
RAKAR_CODES = {"7A": "z", "AA": "rounded"}


class Pic:
    """A picture: Noto glyphs at offsets, and an advance."""

    def __init__(self, comps, advance):
        self.comps = tuple(comps)  # ((name, x, y), ...)
        self.advance = advance

    def key(self):
        return (self.comps, self.advance)

    def names(self):
        return [c[0] for c in self.comps]


class Shaper:
    def __init__(self, hb_shape, font_path, empty):
        self.hb_shape = hb_shape
        self.font_path = font_path
        self.empty = empty  # glyphs without ink
        self.cache = {}

    def shape(self, texts):
        todo = sorted({t for t in texts if t not in self.cache})
        if todo:
            with tempfile.NamedTemporaryFile("w", encoding="utf-8", suffix=".txt",
                                             delete=False) as f:
                f.write("\n".join(todo) + "\n")
                name = f.name
            try:
                out = subprocess.run(
                    [self.hb_shape, "--output-format=json", "--no-clusters",
                     "--text-file=" + name, self.font_path],
                    check=True, capture_output=True, text=True).stdout
            finally:
                os.unlink(name)
            lines = [l for l in out.split("\n") if l.strip()]
            if len(lines) != len(todo):
                sys.exit("build_font: hb-shape gave %d results for %d texts"
                         % (len(lines), len(todo)))
            for t, l in zip(todo, lines):
                self.cache[t] = json.loads(l)
        return [self.cache[t] for t in texts]

    def placed(self, text):
        """[(name, x, y, advance)] with absolute positions, ink only."""
        pen = 0
        res = []
        for g in self.cache[text]:
            if g["g"] not in self.empty or g["ax"]:
                res.append((g["g"], pen + g["dx"], g["dy"], g["ax"]))
            pen += g["ax"]
        return res


def pic_from(placed, drop=()):
    """Picture of placed glyphs without the glyphs named in drop (a context).

    When the context comes first, the picture starts where the context ends
    (a sign after its consonant); otherwise it starts at the text's start
    (a sign written before it) and reaches over the context as in Noto.
    """
    placed = list(placed)
    origin = 0
    for i, d in enumerate(drop):
        idx = next((j for j, p in enumerate(placed) if p[0] == d), None)
        if idx is None:
            return None
        if idx == 0 and i == 0:
            origin = placed[0][1] + placed[0][3]
        del placed[idx]
    if not placed:
        return None
    advance = sum(p[3] for p in placed)
    return Pic([(n, x - origin, y) for n, x, y, _ in placed], advance)


def read_table(path):
    rows = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            if not line.strip() or line.startswith("#"):
                continue
            codes, uni, kind = line.rstrip("\n").split("\t")[:3]
            text = "".join(chr(int(u[2:], 16)) for u in uni.split())
            rows.append(([c.upper() for c in codes.split()], text, kind))
    return rows


def code_char(code):
    return bytes([int(code, 16)]).decode("cp1252")


def is_consonant(ch):
    return "\u0915" <= ch <= "\u0939" or "\u0958" <= ch <= "\u095f"


class Builder:
    def __init__(self, noto_path, table, hb_shape):
        self.noto = TTFont(noto_path)
        self.glyphset = self.noto.getGlyphSet()
        glyf = self.noto["glyf"]
        empty = {n for n in self.noto.getGlyphOrder()
                 if glyf[n].numberOfContours == 0}
        self.shaper = Shaper(hb_shape, noto_path, empty)
        self.table = table
        self.glyphs = {}  # name -> dict(pic, text, ctx, kind)
        self.cmap = {}
        self.ligatures = []  # (lookup, [names], name)

    # -- pictures -------------------------------------------------------
    def bounds(self, name):
        pen = BoundsPen(self.glyphset)
        self.glyphset[name].draw(pen)
        return pen.bounds

    def pic_bounds(self, pic):
        box = None
        for n, x, y in pic.comps:
            b = self.bounds(n)
            if b is None:
                continue
            b = (b[0] + x, b[1] + y, b[2] + x, b[3] + y)
            box = b if box is None else (min(box[0], b[0]), min(box[1], b[1]),
                                         max(box[2], b[2]), max(box[3], b[3]))
        return box

    def single(self, text):
        return self.shaper.placed(text)

    @staticmethod
    def wrap(base, sign):
        """The Unicode of sign written on base (a reph goes in front)."""
        if sign.startswith(REPH):
            return REPH + base + sign[2:]
        return base + sign

    def context_name(self, consonant):
        placed = self.single(consonant)
        return placed[0][0] if len(placed) == 1 else None

    def common_sign(self, text):
        """The most common picture of a sign shaped after the context consonants.

        A sign that ligates with every consonant (the nukta) is taken from
        its form on the dotted circle.
        """
        contexts = CONTEXTS + "\u25cc"
        texts = [self.wrap(c, text) for c in contexts]
        self.shaper.shape(texts + list(contexts))
        counts = collections.Counter()
        pics = {}
        for c, t in zip(contexts, texts):
            if c == "\u25cc" and counts:
                break
            ctx = self.context_name(c)
            if ctx is None:
                continue
            pic = pic_from(self.single(t), [ctx])
            if pic is None:
                continue
            counts[pic.key()] += 1
            pics[pic.key()] = pic
        if not counts:
            sys.exit("build_font: no picture for sign %r" % text)
        return pics[counts.most_common(1)[0][0]]

    def add(self, name, pic, text, kind, ctx=None):
        self.glyphs[name] = dict(pic=pic, text=text, kind=kind, ctx=ctx)
        return name

    # -- glyphs of the table --------------------------------------------
    def build_table_glyphs(self):
        plain = [t for _, t, k in self.table if k == "base"]
        halves = [t + ZWJ for _, t, k in self.table if k == "half"]
        self.shaper.shape(plain + halves + list(CONTEXTS) + ["\u0915"])
        self.code_glyph = {}
        self.seq_names = {}
        for codes, text, kind in self.table:
            name = "c" + "_".join(codes)
            if kind == "space":
                pic = Pic([], self.noto["hmtx"]["space"][0])
            elif kind == "base":
                pic = pic_from(self.single(text))
            elif kind == "half":
                pic = pic_from(self.single(text + ZWJ))
            elif kind in ("sign", "pre", "reph"):
                pic = self.common_sign(text)
            elif kind == "rakar":
                pic = Pic([("vattudeva", 0, 0)], 0)
            else:
                sys.exit("build_font: unknown kind %r" % kind)
            if pic is None:
                sys.exit("build_font: no picture for %s" % " ".join(codes))
            ctx = "\u0915" if kind in ("sign", "pre", "reph") else None
            same = self.same_glyph(pic, (kind,)) if len(codes) > 1 else None
            if same:
                name = same
            else:
                self.add(name, pic, text, kind, ctx)
            self.seq_names[tuple(codes)] = name
            if len(codes) == 1:
                self.code_glyph[codes[0]] = name
                if kind == "rakar":
                    self.glyphs[name]["rakar"] = RAKAR_CODES[codes[0]]
                byte = int(codes[0], 16)
                self.cmap[ord(code_char(codes[0]))] = name
                self.cmap[0xF000 + byte] = name
            else:
                self.ligatures.append(("seq", [self.code_glyph[c] for c in codes], name))

    def full_glyphs(self):
        """Glyphs that end a consonant cluster (a full consonant or conjunct)."""
        res = []
        for n, g in self.glyphs.items():
            text = g["text"].replace("\u093c", "")
            if g["kind"] in ("base", "conj") and g["pic"].advance > 0 and text \
                    and is_consonant(text[-1]):
                res.append(n)
        return res

    def half_glyphs(self):
        return [n for n, g in self.glyphs.items() if g["kind"] == "half"]

    def same_glyph(self, pic, kinds):
        key = pic.key()
        return next((n for n, g in self.glyphs.items()
                     if g["pic"].key() == key and g["kind"] in kinds), None)

    def ligature_glyph(self, kind, text, pic, parts):
        """The glyph for a ligature of parts; None when it would drop a part."""
        same = self.same_glyph(pic, ("base", "conj", "sign", "half"))
        if same in parts:
            return None
        return same or self.add("l%d" % len(self.glyphs), pic, text, kind)

    def add_ligature(self, lookup, parts, name):
        if name:
            self.ligatures.append((lookup, list(parts), name))

    # -- conjuncts and ligatures ----------------------------------------
    def build_ligatures(self):
        fulls = self.full_glyphs()
        halves = self.half_glyphs()
        halant = self.code_glyph["7E"]
        below = [self.code_glyph[c] for c in ("71", "77", "60", "2B")]
        jobs = []  # (text, parts, kind)
        dedup = {}
        for f in fulls:
            dedup.setdefault(self.glyphs[f]["text"], f)
        fulls_u = list(dedup.values())
        for h in halves:
            for f in fulls_u:
                jobs.append((self.glyphs[h]["text"] + self.glyphs[f]["text"], [h, f], "conj"))
            for h2 in halves:
                jobs.append((self.glyphs[h]["text"] + self.glyphs[h2]["text"] + ZWJ, [h, h2],
                             "half"))
        for c in fulls_u:
            for f in fulls_u:
                jobs.append((self.glyphs[c]["text"] + VIRAMA + self.glyphs[f]["text"],
                             [c, halant, f], "conj"))
            for s in below:
                jobs.append((self.glyphs[c]["text"] + self.glyphs[s]["text"], [c, s], "conj"))
            for code in RAKAR_CODES:
                jobs.append((self.glyphs[c]["text"] + VIRAMA + "\u0930",
                             [c, self.code_glyph[code]], "conj"))
        self.shaper.shape([j[0] for j in jobs])
        for text, parts, kind in jobs:
            placed = self.single(text)
            if len(placed) == 1:
                pic = pic_from(placed)
                self.add_ligature("conj", parts, self.ligature_glyph(kind, text.rstrip(ZWJ),
                                                                     pic, parts))
        self.build_sign_ligatures()

    def build_kerns(self):
        """The spacing Noto gives a half form before each full glyph."""
        halves = self.half_glyphs()
        pairs = [(h, f) for h in halves for f in self.full_glyphs()]
        texts = [self.glyphs[h]["text"] + self.glyphs[f]["text"] for h, f in pairs]
        self.shaper.shape(texts)
        self.kerns = []
        for (h, f), text in zip(pairs, texts):
            placed = self.single(text)
            hp, fp = self.glyphs[h]["pic"], self.glyphs[f]["pic"]
            if [p[0] for p in placed] != hp.names() + fp.names():
                continue
            delta = placed[len(hp.comps)][1] - fp.comps[0][1] - placed[0][1] + hp.comps[0][1] \
                - hp.advance
            if delta:
                self.kerns.append((h, f, delta))

    def build_sign_ligatures(self):
        g = self.code_glyph
        o, au = self.seq_names[("6B", "73")], self.seq_names[("6B", "53")]
        vowels = [None, g["6B"], g["68"], g["73"], g["53"], o, au, g["71"], g["77"]]
        nasals = [None, g["61"], g["A1"]]
        combos = set()
        for v in vowels:
            for n in nasals:
                for order in ((v, n, g["5A"]), (v, g["5A"], n), (v, n, None)):
                    parts = tuple(p for p in order if p)
                    if len(parts) >= 2:
                        combos.add(parts)
        combos = sorted(combos)
        texts = []
        for parts in combos:
            signs = "".join(self.glyphs[p]["text"] for p in parts if p != g["5A"])
            if g["5A"] in parts:
                signs = REPH + signs
            texts.append(self.wrap("\u0915", signs))
        self.shaper.shape(texts + ["\u0915"])
        ka = self.context_name("\u0915")
        for parts, text in zip(combos, texts):
            pic = pic_from(self.single(text), [ka])
            if pic is None:
                continue
            separate = sum(len(self.glyphs[p]["pic"].comps) for p in parts)
            if len(pic.comps) < separate:
                sign = text.replace("\u0915", "", 1)
                name = self.ligature_glyph("sign", sign, pic, parts)
                self.add_ligature("conj", parts, name)
                if name:
                    self.glyphs[name]["ctx"] = "\u0915"

    # -- the short i before its cluster ---------------------------------
    def build_pre_rules(self):
        """Rules that give each sign written before its cluster Noto's width.

        Noto picks one of its short-i glyphs by the width of the cluster; a
        variant here is one of those glyphs, with the parts that sit over the
        cluster (reph, anusvara) where they most often go for that width.
        """
        fulls = self.full_glyphs()
        halves = self.half_glyphs()
        pres = [n for n, g in self.glyphs.items() if g["kind"] == "pre"]
        ka = "\u0915"
        # (fixed context, varying glyph, cluster text), longest contexts first;
        # a cluster of two half forms stands for all that end in a full glyph.
        clusters = []
        for h1 in halves:
            for h2 in halves:
                clusters.append(((h1,), h2, self.glyphs[h1]["text"] + self.glyphs[h2]["text"] + ka))
        for h in halves:
            for f in fulls:
                clusters.append(((h,), f, self.glyphs[h]["text"] + self.glyphs[f]["text"]))
        for f in fulls:
            clusters.append(((), f, self.glyphs[f]["text"]))
        texts = [c[2] for c in clusters]
        for pre in pres:
            texts += [self.wrap(c[2], self.glyphs[pre]["text"]) for c in clusters]
        self.shaper.shape(texts)

        self.pre_rules = []  # (pre, [context classes], replacement)
        for pre in pres:
            text = self.glyphs[pre]["text"]
            chosen = []  # (cluster, first Noto glyph of the sign)
            pics = collections.defaultdict(collections.Counter)
            for c in clusters:
                pic = pic_from(self.single(self.wrap(c[2], text)),
                               [p[0] for p in self.single(c[2])])
                if pic is None:
                    continue
                chosen.append((c, pic.comps[0][0]))
                pics[pic.comps[0][0]][pic.key()] += 1
            own = self.glyphs[pre]["pic"].comps[0][0]
            names = {}
            for first, counter in pics.items():
                key = counter.most_common(1)[0][0]
                names[first] = pre if first == own else self.add(
                    "v%d" % len(self.glyphs), Pic(*key), text, "prevar")
            groups = collections.OrderedDict()
            for (fixed, vary, ctext), first in chosen:
                triple = len(ctext) > 0 and vary in halves
                groups.setdefault((fixed, triple, names[first]), []).append(vary)
            for (fixed, triple, v), varies in groups.items():
                classes = [[h] for h in fixed] + [sorted(set(varies))]
                if triple:
                    classes.append(fulls)
                self.pre_rules.append((pre, classes, v))

    def build_post_rules(self):
        """Rules that give a spacing sign after a consonant Noto's form for it.

        Noto draws the long ii (alone or with reph and anusvara) in several
        widths, by the consonant before it.
        """
        fulls = self.full_glyphs()
        signs = [n for n, g in self.glyphs.items()
                 if g["kind"] == "sign" and g["pic"].advance > 0 and g["ctx"]
                 and g["pic"].comps]
        texts = [self.glyphs[f]["text"] for f in fulls]
        for sgn in signs:
            texts += [self.wrap(self.glyphs[f]["text"], self.glyphs[sgn]["text"]) for f in fulls]
        self.shaper.shape(texts)
        self.post_rules = []  # (sign, [fulls before it], replacement)
        for sgn in signs:
            text = self.glyphs[sgn]["text"]
            own = self.glyphs[sgn]["pic"]
            pics = collections.defaultdict(collections.Counter)
            chosen = []
            for f in fulls:
                ft = self.glyphs[f]["text"]
                pic = pic_from(self.single(self.wrap(ft, text)), [p[0] for p in self.single(ft)])
                if pic is None or len(pic.comps) != len(own.comps):
                    continue
                chosen.append((f, pic.comps[0][0]))
                pics[pic.comps[0][0]][pic.key()] += 1
            names = {}
            for first, counter in pics.items():
                key = counter.most_common(1)[0][0]
                names[first] = sgn if first == own.comps[0][0] else self.add(
                    "v%d" % len(self.glyphs), Pic(*key), text, "postvar")
            groups = collections.defaultdict(list)
            for f, first in chosen:
                if names[first] != sgn:
                    groups[names[first]].append(f)
            for v, fs in groups.items():
                self.post_rules.append((sgn, fs, v))

    # -- mark attachment ------------------------------------------------
    def build_anchors(self):
        marks = [n for n, g in self.glyphs.items()
                 if g["pic"].advance == 0 and g["pic"].comps]
        bases = [n for n, g in self.glyphs.items()
                 if g["pic"].advance > 0 and g["kind"] in ("base", "conj", "sign")]
        self.marks = marks
        self.anchors = collections.defaultdict(dict)  # base -> mark -> (x, y)
        jobs = []
        for b in bases:
            bg = self.glyphs[b]
            btext = (bg["ctx"] or "") + bg["text"]
            for m in marks:
                mg = self.glyphs[m]
                if mg.get("rakar"):
                    continue
                jobs.append((b, m, self.wrap(btext, mg["text"])))
        self.shaper.shape([j[2] for j in jobs] + [self.glyphs[b]["ctx"] for b in bases
                                                   if self.glyphs[b]["ctx"]])
        for b, m, text in jobs:
            bg, mg = self.glyphs[b], self.glyphs[m]
            placed = self.single(text)
            if bg["ctx"]:
                ctx = self.context_name(bg["ctx"])
                idx = next((i for i, p in enumerate(placed) if p[0] == ctx), None)
                if idx is None:
                    continue
                placed = placed[:idx] + placed[idx + 1:]
            bn, mn = bg["pic"].names(), mg["pic"].names()
            if [p[0] for p in placed] != bn + mn:
                continue
            bx = placed[0][1] - bg["pic"].comps[0][1]
            by = placed[0][2] - bg["pic"].comps[0][2]
            mp = placed[len(bn)]
            mx = mp[1] - mg["pic"].comps[0][1]
            my = mp[2] - mg["pic"].comps[0][2]
            anchor = (mx - bx, my - by)
            if anchor != (bg["pic"].advance, 0):
                self.anchors[b][m] = anchor
        # The rakar for rounded consonants sits under the middle of its base.
        rounded = [m for m in marks if self.glyphs[m].get("rakar") == "rounded"]
        vattu = self.bounds("vattudeva")
        for m in rounded:
            for b in bases:
                box = self.pic_bounds(self.glyphs[b]["pic"])
                if box:
                    self.anchors[b][m] = (round((box[0] + box[2]) / 2 - (vattu[0] + vattu[2]) / 2), 0)

    # -- output ---------------------------------------------------------
    def feature_text(self):
        out = []
        marks = self.marks
        bases = [n for n, g in self.glyphs.items() if n not in marks]
        # The same rules under the Devanagari script tags too: toolkits check
        # for them before they use a font that says it covers Devanagari.
        out.append("languagesystem DFLT dflt;\nlanguagesystem latn dflt;\n"
                   "languagesystem dev2 dflt;\nlanguagesystem deva dflt;\n")
        out.append("table GDEF {\n  GlyphClassDef [%s], , [%s], ;\n} GDEF;\n"
                   % (" ".join(bases), " ".join(marks)))
        lookups = collections.OrderedDict([("seq", []), ("conj", [])])
        for lk, parts, name in self.ligatures:
            lookups[lk].append("  sub %s by %s;" % (" ".join(parts), name))
        for lk, rules in lookups.items():
            out.append("lookup %s {\n%s\n} %s;\n" % (lk, "\n".join(rules) or "", lk))
        pre_rules = []
        for pre, ctx, v in self.pre_rules:
            if v == pre:
                continue  # the picture in place already fits
            ctxs = " ".join("[%s]" % " ".join(c) for c in ctx)
            pre_rules.append("  sub %s' lookup pre_%s %s;" % (pre, v, ctxs))
        singles = sorted({v for _, _, v in self.pre_rules})
        for v in singles:
            pre = next(p for p, _, vv in self.pre_rules if vv == v)
            if v != pre:
                out.append("lookup pre_%s {\n  sub %s by %s;\n} pre_%s;\n" % (v, pre, v, v))
        # Several pre glyphs share a variant name space; rules keep their order.
        out.append("lookup pre {\n  lookupflag IgnoreMarks;\n%s\n} pre;\n" % "\n".join(pre_rules))
        post = []
        for sgn, fs, v in self.post_rules:
            out.append("lookup post_%s {\n  sub %s by %s;\n} post_%s;\n" % (v, sgn, v, v))
            post.append("  sub [%s] %s' lookup post_%s;" % (" ".join(fs), sgn, v))
        out.append("lookup post {\n  lookupflag IgnoreMarks;\n%s\n} post;\n" % "\n".join(post))
        out.append("feature ccmp {\n  lookup seq;\n  lookup conj;\n  lookup pre;\n"
                   "  lookup post;\n} ccmp;\n")
        if self.kerns:
            out.append("feature kern {\n%s\n} kern;\n" % "\n".join(
                "  pos %s %s %d;" % k for k in self.kerns))
        classes = []
        for m in marks:
            classes.append("markClass %s <anchor 0 0> @m_%s;" % (m, m))
        out.append("\n".join(classes) + "\n")
        rules = []
        for b, ms in self.anchors.items():
            if ms:
                rules.append("  pos base %s %s;" % (b, " ".join(
                    "<anchor %d %d> mark @m_%s" % (x, y, m) for m, (x, y) in ms.items())))
        if rules:
            out.append("feature mark {\n%s\n} mark;\n" % "\n".join(rules))
        return "\n".join(out)

    def write(self, out_path, style):
        font = self.noto
        glyf, hmtx = font["glyf"], font["hmtx"]
        order = font.getGlyphOrder()
        new = list(self.glyphs)
        for name in new:
            pic = self.glyphs[name]["pic"]
            g = Glyph()
            if pic.comps:
                g.numberOfContours = -1
                g.components = []
                for n, x, y in pic.comps:
                    c = GlyphComponent()
                    c.glyphName, c.x, c.y, c.flags = n, int(x), int(y), 0x4
                    g.components.append(c)
            else:
                g.numberOfContours = 0
            glyf.glyphs[name] = g
        font.setGlyphOrder(order + new)
        glyf.glyphOrder = order + new
        for name in new:
            g = glyf[name]
            g.recalcBounds(glyf)
            hmtx[name] = (int(self.glyphs[name]["pic"].advance),
                          g.xMin if g.numberOfContours else 0)

        opts = subset.Options()
        opts.glyph_names = True
        opts.hinting = False
        opts.notdef_outline = True
        opts.layout_features = []
        opts.drop_tables += ["GSUB", "GPOS", "GDEF", "DSIG", "BASE", "JSTF", "MATH"]
        opts.name_IDs = ["*"]
        opts.name_languages = ["*"]
        opts.recalc_timestamp = False
        sub = subset.Subsetter(opts)
        sub.populate(glyphs=[".notdef"] + new)
        sub.subset(font)

        cmap = newTable("cmap")
        cmap.tableVersion = 0
        from fontTools.ttLib.tables._c_m_a_p import cmap_format_4
        cmap.tables = []
        for pid, eid in ((0, 3), (3, 1)):
            t = cmap_format_4(4)
            t.platformID, t.platEncID, t.language = pid, eid, 0
            t.cmap = dict(self.cmap)
            cmap.tables.append(t)
        font["cmap"] = cmap

        self.set_names(font, style)
        os2 = font["OS/2"]
        os2.ulCodePageRange1 = 1  # Latin 1: the codes are Windows-1252 characters
        os2.ulCodePageRange2 = 0
        os2.recalcUnicodeRanges(font)
        os2.usFirstCharIndex = min(self.cmap)
        os2.usLastCharIndex = max(self.cmap)
        os2.achVendID = "NONE"
        if style == "Bold":
            os2.fsSelection = (os2.fsSelection & ~0x41) | 0x20
            os2.usWeightClass = 700
            font["head"].macStyle = 1
        else:
            os2.fsSelection = (os2.fsSelection & ~0x21) | 0x40
            os2.usWeightClass = 400
            font["head"].macStyle = 0
        addOpenTypeFeaturesFromString(font, self.feature_text())
        font.save(out_path)

    def set_names(self, font, style):
        noto = font["name"]
        copyright_ = noto.getDebugName(0) or "Copyright 2015 Google Inc."
        version = font["head"].fontRevision
        ps = "KavelinLegacyDevanagari-" + style
        names = {
            0: copyright_ + " Kavelin Legacy Devanagari: a Modified Version by the "
               "Kavelin developers.",
            1: FAMILY,
            2: style,
            3: "%s;%s" % (ps, "%.3f" % version),
            4: "%s %s" % (FAMILY, style) if style != "Regular" else FAMILY,
            5: "Version %.3f; built from Noto Sans Devanagari" % version,
            6: ps,
            10: "Noto Sans Devanagari glyphs under the character map of the 8-bit "
                "legacy Devanagari glyph codes, for Kavelin.",
            13: "This Font Software is licensed under the SIL Open Font License, "
                "Version 1.1. This Font Software is distributed on an \"AS IS\" "
                "BASIS, WITHOUT WARRANTIES OR CONDITIONS OF ANY KIND, either "
                "express or implied. See the SIL Open Font License for the "
                "specific language, permissions and limitations governing your "
                "use of this Font Software.",
            14: "https://openfontlicense.org",
        }
        noto.names = []
        for nid, text in names.items():
            noto.setName(text, nid, 3, 1, 0x409)
            noto.setName(text, nid, 1, 0, 0)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--table", required=True)
    ap.add_argument("--noto", required=True)
    ap.add_argument("--out", required=True)
    ap.add_argument("--style", choices=("Regular", "Bold"), required=True)
    ap.add_argument("--hb-shape", default="hb-shape")
    ap.add_argument("--features", help="also write the feature file here")
    args = ap.parse_args()
    b = Builder(args.noto, read_table(args.table), args.hb_shape)
    b.build_table_glyphs()
    b.build_ligatures()
    b.build_kerns()
    b.build_pre_rules()
    b.build_post_rules()
    b.build_anchors()
    if args.features:
        with open(args.features, "w", encoding="utf-8") as f:
            f.write(b.feature_text())
    tmp = args.out + ".tmp"
    b.write(tmp, args.style)
    os.replace(tmp, args.out)


if __name__ == "__main__":
    main()
