"""Human-readable digits for the bar code faces, taken from the OCR-B font of Debian's
fonts-ocr-b (public domain) when the fonts are built.

digit_contours() gives one digit as TrueType contours in the bar code font's units: a list of
contours, each a list of (x, y, on_curve) points with whole-number coordinates, running
clockwise round the ink. Between two consecutive off-curve points lies an implied on-curve point
halfway between them, as in TrueType.
"""

import functools
import os

OCR_B = os.environ.get("SW_OCR_B_FONT", "/usr/share/fonts/opentype/ocr-b/OCRB.otf")
DIGITS = "0123456789"

# Greatest distance, in font units of the bar code face, between a cubic curve of OCR-B and the
# quadratic curves that replace it.
_MAX_ERROR = 0.5


@functools.lru_cache(maxsize=1)
def _source():
    """OCR-B's digits as recorded pen calls, and their common box (bottom, top) and the cell
    width (OCR-B is monospaced)."""
    try:
        from fontTools.pens.boundsPen import BoundsPen
        from fontTools.pens.recordingPen import RecordingPen
        from fontTools.ttLib import TTFont
        font = TTFont(OCR_B)
    except (ImportError, OSError) as e:
        raise RuntimeError("cannot read the OCR-B font %s (install fonts-ocr-b): %s"
                           % (OCR_B, e)) from e
    glyph_set = font.getGlyphSet()
    cmap = font.getBestCmap()
    recorded = {}
    bottom, top = None, None
    widths = set()
    for d in DIGITS:
        name = cmap.get(ord(d))
        if name is None:
            raise RuntimeError("%s has no digit %s" % (OCR_B, d))
        glyph = glyph_set[name]
        pen = RecordingPen()
        glyph.draw(pen)
        bounds = BoundsPen(glyph_set)
        glyph.draw(bounds)
        if bounds.bounds is None:
            raise RuntimeError("%s draws nothing for the digit %s" % (OCR_B, d))
        bottom = bounds.bounds[1] if bottom is None else min(bottom, bounds.bounds[1])
        top = bounds.bounds[3] if top is None else max(top, bounds.bounds[3])
        recorded[d] = pen.value
        widths.add(glyph.width)
    if len(widths) != 1:
        raise RuntimeError("%s: the digits are not all one width" % OCR_B)
    return recorded, bottom, top, widths.pop()


class _PointCollector:
    """A segment pen that keeps quadratic contours as lists of (x, y, on_curve)."""

    def __init__(self):
        self.contours = []
        self._current = None

    def moveTo(self, pt):
        self._current = [(pt[0], pt[1], True)]

    def lineTo(self, pt):
        self._current.append((pt[0], pt[1], True))

    def qCurveTo(self, *points):
        for x, y in points[:-1]:
            self._current.append((x, y, False))
        if points[-1] is not None:
            self._current.append((points[-1][0], points[-1][1], True))

    def curveTo(self, *points):
        raise ValueError("cubic curve left after conversion")

    def closePath(self):
        contour = self._current
        if len(contour) > 1 and contour[-1] == contour[0]:
            contour.pop()
        self.contours.append(contour)
        self._current = None

    endPath = closePath

    def addComponent(self, glyph_name, transformation):
        raise ValueError("composite digit glyphs are not supported")


def _round(contour):
    """Whole font units; a point that rounds onto its predecessor is dropped."""
    out = []
    for x, y, on in contour:
        p = (int(round(x)), int(round(y)), on)
        if out and out[-1] == p:
            continue
        out.append(p)
    if len(out) > 1 and out[-1] == out[0]:
        out.pop()
    return out


def _start_on_curve(contour):
    """Rotates a closed contour so that it starts with an on-curve point (TrueType allows an
    off-curve start, but not every reader copes with it)."""
    for i, (_, _, on) in enumerate(contour):
        if on:
            return contour[i:] + contour[:i]
    # All off-curve: start with the implied point between the last and the first.
    (x0, y0, _), (x1, y1, _) = contour[-1], contour[0]
    return [(int(round((x0 + x1) / 2)), int(round((y0 + y1) / 2)), True)] + contour


def digit_contours(digit, height, centre_x, bottom):
    """The OCR-B outline of `digit`, scaled so that the digits' common box (from the lowest
    point to the highest of all ten) is `height` font units tall, with that box's bottom at
    `bottom` and the digit's cell centred on `centre_x`. Every digit placed with the same
    height and bottom stands on one line."""
    from fontTools.pens.cu2quPen import Cu2QuPen
    from fontTools.pens.transformPen import TransformPen

    if digit not in DIGITS:
        raise ValueError("not a digit: %r" % (digit,))
    recorded, src_bottom, src_top, src_width = _source()
    scale = height / (src_top - src_bottom)
    dx = centre_x - src_width * scale / 2
    dy = bottom - src_bottom * scale
    collector = _PointCollector()
    # OCR-B is a CFF font: cubic curves, ink to the left of the path. TrueType wants quadratic
    # curves with the ink to the right, so convert and reverse.
    pen = TransformPen(Cu2QuPen(collector, _MAX_ERROR, reverse_direction=True),
                       (scale, 0, 0, scale, dx, dy))
    for method, args in recorded[digit]:
        getattr(pen, method)(*args)
    contours = [_start_on_curve(_round(c)) for c in collector.contours]
    return [c for c in contours if len(c) >= 3]
