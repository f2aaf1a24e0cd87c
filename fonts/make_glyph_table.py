#!/usr/bin/python3
"""Writes the glyphs of every bar code face as a C++ table, from the same table the fonts are
made from, so that a symbol drawn from the table and one drawn in the font cannot differ.

    make_glyph_table.py OUTPUT.cpp

For each face: its family's module and wide:narrow ratio, the vertical metrics, the extent of
each kind of bar, and every glyph with its advance, its bars (x, width, kind) and any outline
(contours of quadratic points), all in font units.

For each family whose glyphs carry outlines, it also writes a small TrueType face of those
outlines alone, glyph n + 1 being the family's n-th glyph of the table: a document that draws
many symbols can then draw the outlines as text in a face it embeds once, and the bars as
rectangles.
"""

import io
import os
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import newTable
from fontTools.ttLib.tables import ttProgram

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_fonts  # noqa: E402
import symbols  # noqa: E402


def check_family(family, glyphs, module):
    for ch, g in glyphs.items():
        end = 0
        for x, w, _ in sorted(g["bars"]):
            if x < end or w <= 0:
                raise ValueError("%s %r: bars overlap" % (family, ch))
            end = x + w
        if end > g["advance"]:
            raise ValueError("%s %r: a bar reaches past the advance" % (family, ch))
        if module:
            edges = [g["advance"]] + [v for x, w, _ in g["bars"] for v in (x, w)]
            if any(v % module for v in edges):
                raise ValueError("%s %r: a bar edge is off the module grid" % (family, ch))


def outline_points(outline):
    """The contours as one list of points and the index after each contour's last point."""
    points, ends = [], []
    for contour in outline:
        for x, y, on in contour:
            points.append("{%d, %d, %s}" % (x, y, "true" if on else "false"))
        ends.append(len(points))
    return points, ends


def family_table(name, family):
    f = symbols.FAMILIES[family]
    module = f.get("module", 0)
    glyphs = symbols.family_glyphs(family)
    check_family(family, glyphs, module)
    kinds = sorted({kind for g in glyphs.values() for _, _, kind in g["bars"]})
    lines = []
    bars, points, ends, entries = [], [], [], []
    for ch in sorted(glyphs, key=ord):
        g = glyphs[ch]
        first_bar = len(bars)
        for x, w, kind in sorted(g["bars"]):
            bars.append("{%d, %d, %d}" % (x, w, kinds.index(kind)))
        first_point, first_end = len(points), len(ends)
        p, e = outline_points(g.get("outline", []))
        points += p
        ends += [first_point + i for i in e]
        entries.append("{%d, %d, %d, %d, %d, %d, %d}" % (
            ord(ch), g["advance"], first_bar, len(bars) - first_bar, first_end,
            len(ends) - first_end, first_point))
    lines.append("const GlyphBar k%sBars[] = {%s};" % (name, ", ".join(bars) or "{0, 0, 0}"))
    lines.append("const OutlinePoint k%sPoints[] = {%s};" % (
        name, ", ".join(points) or "{0, 0, true}"))
    lines.append("const std::uint32_t k%sContourEnds[] = {%s};" % (
        name, ", ".join(str(e) for e in ends) or "0"))
    lines.append("const GlyphEntry k%sGlyphs[] = {%s};" % (name, ",\n    ".join(entries)))
    return lines, kinds


def outline_face_name(family):
    return "Stripewright %s Outlines" % family


def outline_face(family):
    """The family's outlines as a TrueType face (bytes), or None when no glyph has any. The
    glyphs come in the table's order after .notdef; each code maps to its glyph."""
    glyphs = symbols.family_glyphs(family)
    if not any(g.get("outline") for g in glyphs.values()):
        return None
    order, cmap = [".notdef"], {}
    outlines = {".notdef": TTGlyphPen(None).glyph()}
    advances = {".notdef": symbols.BLANK_ADVANCE[family]}
    for ch in sorted(glyphs, key=ord):
        name = "g%d" % len(order)
        order.append(name)
        cmap[ord(ch)] = name
        pen = TTGlyphPen(None)
        make_fonts.draw_outline(pen, glyphs[ch].get("outline", ()))
        outlines[name] = pen.glyph()
        advances[name] = glyphs[ch]["advance"]
    fb = FontBuilder(symbols.UNITS_PER_EM, isTTF=True)
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap(cmap)
    fb.setupGlyf(outlines)
    glyf = fb.font["glyf"]
    fb.setupHorizontalMetrics({
        n: (advances[n], glyf[n].xMin if glyf[n].numberOfContours else 0) for n in order})
    head = fb.font["head"]
    ascent, descent = max(head.yMax, 0), max(-head.yMin, 0)
    fb.setupHorizontalHeader(ascent=ascent, descent=-descent, lineGap=0)
    name = outline_face_name(family)
    fb.setupNameTable({
        "copyright": make_fonts.COPYRIGHT,
        "familyName": name,
        "styleName": "Regular",
        "uniqueFontIdentifier": "%s: %s: %s" % (make_fonts.VENDOR, name, make_fonts.VERSION),
        "fullName": name,
        "version": "Version " + make_fonts.VERSION,
        "psName": make_fonts.ps_name(name),
        "manufacturer": make_fonts.VENDOR,
        "licenseDescription": make_fonts.LICENCE + (
            make_fonts.DIGIT_LICENCE if family in make_fonts.DIGIT_FAMILIES else ""),
    })
    fb.setupOS2(version=4, achVendID="STRW", usWeightClass=400, usWidthClass=5,
                fsType=0,  # documents may embed it
                fsSelection=0x40 | 0x80, sTypoAscender=ascent, sTypoDescender=-descent,
                sTypoLineGap=0, usWinAscent=ascent, usWinDescent=descent,
                ulUnicodeRange1=0b11, ulCodePageRange1=1)
    fb.setupPost(keepGlyphNames=False)
    # A font program of one harmless instruction: a TrueType face with no instructions at all is
    # taken by FreeType for one to hint automatically, which moves points off the table's
    # places (by up to two units) when a PDF writer reads the outlines back to embed them.
    prep = newTable("prep")
    prep.program = ttProgram.Program()
    prep.program.fromAssembly(["SVTCA[0]"])
    fb.font["prep"] = prep
    fb.font["head"].created = make_fonts.TIMESTAMP
    fb.font["head"].modified = make_fonts.TIMESTAMP
    out = io.BytesIO()
    fb.font.save(out)
    return out.getvalue()


def outline_placements(family):
    """For each glyph of the family, in the table's order: the outline face's glyph that draws
    its outline and how it is placed, as (glyph, scale, dx, dy) in font units, the glyph's
    outline being the face glyph's scaled by `scale` about the origin and moved by (dx, dy).
    A digit is always drawn with the glyph of the digit's own character, so that a document's
    text gives the digit whatever its size and place; (0, 1, 0, 0) for a glyph without outline."""
    glyphs = symbols.family_glyphs(family)
    order = sorted(glyphs, key=ord)
    index = {ch: n + 1 for n, ch in enumerate(order)}
    places = symbols.digit_places(family)
    out = []
    for ch in order:
        if not glyphs[ch].get("outline"):
            out.append((0, 1.0, 0.0, 0.0))
        elif ch in places:
            d, height, centre, bottom = places[ch]
            _, own_height, own_centre, own_bottom = places[d]
            r = height / own_height
            out.append((index[d], r, centre - r * own_centre, bottom - r * own_bottom))
        else:
            out.append((index[ch], 1.0, 0.0, 0.0))
    return out


def byte_lines(data, per_line=24):
    return [", ".join("%d" % b for b in data[i:i + per_line]) + ","
            for i in range(0, len(data), per_line)]


def face_entry(ident, family, face, bar_height, kinds, glyph_count):
    """The face's bar extents (a definition) and its entry in the list of faces."""
    f = symbols.FAMILIES[family]
    name = "Face" + "".join(c for c in face if c.isalnum())
    ascent, descent = symbols.face_metrics(family, bar_height)
    extents = ", ".join("{%d, %d}" % make_fonts.bar_extent(family, kind, bar_height)
                        for kind in kinds)
    definition = "const BarExtent k%sExtents[] = {%s};" % (name, extents or "{0, 0}")
    entry = ('{"%s", "%s", %d, %d, %r, %d, %d, %d, k%sExtents, %d, k%sGlyphs, %d, k%sBars, '
             "k%sPoints, k%sContourEnds}" % (
                 face, family, symbols.UNITS_PER_EM, f.get("module", 0),
                 float(f.get("ratio", 0)), ascent, descent, symbols.BLANK_ADVANCE[family], name,
                 len(kinds), ident, glyph_count, ident, ident, ident))
    return definition, entry


def family_ident(family):
    return "Family" + "".join(c for c in family if c.isalnum())


def table():
    out = [
        "// Generated by fonts/make_glyph_table.py from fonts/symbols.py. Do not edit.",
        '#include "drawing/glyph_table.h"',
        "",
        "#include <cstdint>",
        "",
        "namespace sw::drawing {",
        "namespace {",
        "",
    ]
    faces, outline_faces = [], []
    for family in symbols.FAMILIES:
        ident = family_ident(family)
        lines, kinds = family_table(ident, family)
        out += lines
        font = outline_face(family)
        if font is not None:
            out.append("const unsigned char k%sOutlineFace[] = {" % ident)
            out += ["    " + line for line in byte_lines(font)]
            out.append("};")
            out.append("const OutlinePlacement k%sPlacements[] = {" % ident)
            out += ["    {%d, %r, %r, %r}," % p for p in outline_placements(family)]
            out.append("};")
            outline_faces.append(
                '{"%s", "%s", k%sOutlineFace, sizeof k%sOutlineFace, k%sPlacements}' % (
                    family, outline_face_name(family), ident, ident, ident))
        count = len(symbols.family_glyphs(family))
        for face, bar_height in symbols.FAMILIES[family]["faces"].items():
            definition, entry = face_entry(ident, family, face, bar_height, kinds, count)
            out.append(definition)
            faces.append(entry)
        out.append("")
    out += [
        "}  // namespace",
        "",
        "const FaceGlyphs kFaceGlyphs[] = {",
        "    " + ",\n    ".join(faces),
        "};",
        "const std::size_t kFaceGlyphsCount = sizeof kFaceGlyphs / sizeof kFaceGlyphs[0];",
        "",
        "const OutlineFace kOutlineFaces[] = {",
        "    " + (",\n    ".join(outline_faces) or '{"", "", nullptr, 0, nullptr}'),
        "};",
        "const std::size_t kOutlineFacesCount = %d;" % len(outline_faces),
        "",
        "}  // namespace sw::drawing",
        "",
    ]
    return "\n".join(out)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_glyph_table.py OUTPUT.cpp\n")
        return 2
    make_fonts.write_text_atomically(table(), argv[1])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
