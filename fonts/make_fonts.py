#!/usr/bin/python3
"""Writes the bar code fonts (TrueType) from the table in symbols.py.

    make_fonts.py OUTPUT_FOLDER

Each face maps one character to one glyph (no shaping tables). Codes of a font string that
draw no symbol map to an empty glyph, so a stray character never draws a bar. Files are written
to a temporary name and renamed, so a failed run leaves no half-written font behind.
"""

import os
import sys
import tempfile

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import symbols  # noqa: E402

VERSION = "8.5"
VENDOR = "Stripewright Software"
COPYRIGHT = "Copyright (c) 2026 Stripewright Software"
LICENCE = (
    "These fonts are part of Stripewright. You may install and use them on any number of "
    "computers, embed them in documents, and print, display and share the bar codes drawn with "
    "them without charge. You may copy and pass on the font files unchanged together with "
    "Stripewright. The fonts are provided as they are, without warranty of any kind."
)
# Faces that draw human-readable digits say where the digits come from.
DIGIT_FAMILIES = {"UPC", "EAN13"}
DIGIT_LICENCE = (
    " The outlines of the human-readable digits come from OCR-B: Matthew Skala's OCR-B font, "
    "public domain, after Norbert Schwarz's OCR-B outlines, which anyone may freely use, modify "
    "and distribute without limitation."
)
# A fixed date (2026-01-01) keeps the generated files identical from build to build.
TIMESTAMP = 3850070400


def file_name(face):
    return face.lower().replace(" ", "_") + ".ttf"


def ps_name(face):
    return face.replace(" ", "")


def glyph_name(code):
    return "uni%04X" % code


def draw_outline(pen, contours):
    """Contours of (x, y, on_curve) points, TrueType's quadratic form, each closed."""
    for contour in contours:
        if not contour[0][2]:
            raise ValueError("a contour must start on the curve: %r" % (contour[:2],))
        pen.moveTo(contour[0][:2])
        off = []
        for x, y, on in contour[1:]:
            if not on:
                off.append((x, y))
            elif off:
                pen.qCurveTo(*off, (x, y))
                off = []
            else:
                pen.lineTo((x, y))
        if off:
            pen.qCurveTo(*off, contour[0][:2])
        pen.closePath()


def bar_extent(family, kind, bar_height):
    """Bottom and top of a bar of `kind` in a face of `family` with bars `bar_height` tall, in
    font units above the baseline."""
    if isinstance(kind, tuple):
        return kind  # a fixed (bottom, top)
    f = symbols.FAMILIES[family]
    low = f.get("guard_extension", 0) * f.get("module", 0)
    top = {"full": bar_height, "low": bar_height, "half": f.get("half", 0)}[kind]
    bottom = -low if kind == "low" else 0
    return bottom, top


def draw_glyph(glyph, bar_height, family):
    pen = TTGlyphPen(None)
    for x, w, kind in glyph["bars"]:
        bottom, top = bar_extent(family, kind, bar_height)
        # Clockwise, as TrueType wants outer contours.
        pen.moveTo((x, bottom))
        pen.lineTo((x, top))
        pen.lineTo((x + w, top))
        pen.lineTo((x + w, bottom))
        pen.closePath()
    draw_outline(pen, glyph.get("outline", ()))
    return pen.glyph()


def build_face(family, face, bar_height):
    glyphs = symbols.family_glyphs(family)
    order = [".notdef"]
    cmap = {}
    outlines = {".notdef": TTGlyphPen(None).glyph()}
    advances = {".notdef": symbols.BLANK_ADVANCE[family]}
    for code in symbols.font_codes():
        name = glyph_name(code)
        order.append(name)
        cmap[code] = name
        g = glyphs.get(chr(code))
        if g is None:
            outlines[name] = TTGlyphPen(None).glyph()
            advances[name] = symbols.BLANK_ADVANCE[family]
        else:
            outlines[name] = draw_glyph(g, bar_height, family)
            advances[name] = g["advance"]
    unknown = set(glyphs) - {chr(c) for c in symbols.font_codes()}
    if unknown:
        raise ValueError("%s: glyphs outside the font range: %r" % (face, sorted(unknown)))

    ascent, descent = symbols.face_metrics(family, bar_height)
    fb = FontBuilder(symbols.UNITS_PER_EM, isTTF=True)
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap(cmap)
    fb.setupGlyf(outlines)
    metrics = {}
    glyf = fb.font["glyf"]
    for name in order:
        g = glyf[name]
        metrics[name] = (advances[name], getattr(g, "xMin", 0) if g.numberOfContours else 0)
    fb.setupHorizontalMetrics(metrics)
    fb.setupHorizontalHeader(ascent=ascent, descent=-descent, lineGap=0)
    fb.setupNameTable({
        "copyright": COPYRIGHT,
        "familyName": face,
        "styleName": "Regular",
        "uniqueFontIdentifier": "%s: %s: %s" % (VENDOR, face, VERSION),
        "fullName": face,
        "version": "Version " + VERSION,
        "psName": ps_name(face),
        "manufacturer": VENDOR,
        "designer": VENDOR,
        "description": "Bar code font for Stripewright: %s" % face,
        "licenseDescription": LICENCE + (DIGIT_LICENCE if family in DIGIT_FAMILIES else ""),
    })
    fb.setupOS2(
        version=4,
        achVendID="STRW",
        usWeightClass=400,
        usWidthClass=5,
        fsType=0,  # installable: documents may embed the fonts
        fsSelection=0x40 | 0x80,  # REGULAR, USE_TYPO_METRICS
        sTypoAscender=ascent,
        sTypoDescender=-descent,
        sTypoLineGap=0,
        usWinAscent=ascent,
        usWinDescent=descent,
        sxHeight=0,
        sCapHeight=0,
        ulUnicodeRange1=0b11,  # Basic Latin, Latin-1 Supplement
        ulCodePageRange1=1,  # Latin 1
    )
    fb.setupPost(keepGlyphNames=False)
    font = fb.font
    font["head"].created = TIMESTAMP
    font["head"].modified = TIMESTAMP
    font["head"].fontRevision = float(VERSION)
    # The glyph boxes decide the font box; Windows clips at the Win metrics.
    head = font["head"]
    if head.yMax > ascent or -head.yMin > descent:
        raise ValueError("%s: glyphs reach outside the line" % face)
    return font


def write_atomically(font, path):
    folder = os.path.dirname(path) or "."
    fd, tmp = tempfile.mkstemp(prefix=".tmp-", suffix=".ttf", dir=folder)
    os.close(fd)
    try:
        font.save(tmp, reorderTables=True)
        # Read it back: a font that fontTools cannot parse is not written.
        TTFont(tmp).ensureDecompiled()
        os.chmod(tmp, 0o644)
        os.replace(tmp, path)
    except BaseException:
        os.unlink(tmp)
        raise


def write_text_atomically(text, path):
    """Writes a generated source file whole or not at all, making its folder if need be."""
    folder = os.path.dirname(path) or "."
    os.makedirs(folder, exist_ok=True)
    fd, tmp = tempfile.mkstemp(prefix=".tmp-", suffix=os.path.splitext(path)[1], dir=folder)
    try:
        with os.fdopen(fd, "w") as f:
            f.write(text)
        os.chmod(tmp, 0o644)
        os.replace(tmp, path)
    except BaseException:
        os.unlink(tmp)
        raise


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_fonts.py OUTPUT_FOLDER\n")
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    # Every face is built before the first is written: a face that cannot be built (the digit
    # font missing, say) leaves the folder as it was.
    fonts = [(build_face(family, face, bar_height), file_name(face))
             for family, f in symbols.FAMILIES.items()
             for face, bar_height in f["faces"].items()]
    for font, name in fonts:
        write_atomically(font, os.path.join(out, name))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
