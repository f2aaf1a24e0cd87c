"""The bar code fonts' one table: symbol patterns, which character draws which symbol, and
the dimensions of every face.

All widths are in modules (X) of the face, all heights and font units in units of the em square
(UNITS_PER_EM). A glyph is described as a list of bars and an advance; make_fonts.py turns the
bars into rectangles and checks the table before it writes anything.
"""

UNITS_PER_EM = 1000

# --------------------------------------------------------------------------------------------
# Symbol patterns

# The five-element patterns of 2 of 5 and Interleaved 2 of 5 (N narrow, W wide); the positions
# weigh 1, 2, 4, 7 and parity, with 0 written as 4 + 7.
TWO_OF_FIVE = {
    "0": "NNWWN", "1": "WNNNW", "2": "NWNNW", "3": "WWNNN", "4": "NNWNW",
    "5": "WNWNN", "6": "NWWNN", "7": "NNNWW", "8": "WNNWN", "9": "NWNWN",
}

# Code 39: nine elements, bar first, alternating bar and space; three of them wide.
CODE39 = {
    "0": "NNNWWNWNN", "1": "WNNWNNNNW", "2": "NNWWNNNNW", "3": "WNWWNNNNN",
    "4": "NNNWWNNNW", "5": "WNNWWNNNN", "6": "NNWWWNNNN", "7": "NNNWNNWNW",
    "8": "WNNWNNWNN", "9": "NNWWNNWNN", "A": "WNNNNWNNW", "B": "NNWNNWNNW",
    "C": "WNWNNWNNN", "D": "NNNNWWNNW", "E": "WNNNWWNNN", "F": "NNWNWWNNN",
    "G": "NNNNNWWNW", "H": "WNNNNWWNN", "I": "NNWNNWWNN", "J": "NNNNWWWNN",
    "K": "WNNNNNNWW", "L": "NNWNNNNWW", "M": "WNWNNNNWN", "N": "NNNNWNNWW",
    "O": "WNNNWNNWN", "P": "NNWNWNNWN", "Q": "NNNNNNWWW", "R": "WNNNNNWWN",
    "S": "NNWNNNWWN", "T": "NNNNWNWWN", "U": "WWNNNNNNW", "V": "NWWNNNNNW",
    "W": "WWWNNNNNN", "X": "NWNNWNNNW", "Y": "WWNNWNNNN", "Z": "NWWNWNNNN",
    "-": "NWNNNNWNW", ".": "WWNNNNWNN", " ": "NWWNNNWNN", "$": "NWNWNWNNN",
    "/": "NWNWNNNWN", "+": "NWNNNWNWN", "%": "NNNWNWNWN", "*": "NWNNWNWNN",
}

# PostNet: F full bar, h half bar; weights 7, 4, 2, 1, 0 (7 + 4 stands for 0).
POSTNET = {
    "0": "FFhhh", "1": "hhhFF", "2": "hhFhF", "3": "hhFFh", "4": "hFhhF",
    "5": "hFhFh", "6": "hFFhh", "7": "FhhhF", "8": "FhhFh", "9": "FhFhh",
}

# UPC-A: seven modules per digit, 1 dark. Right-half codes are the complements of these.
UPC_LEFT = {
    "0": "0001101", "1": "0011001", "2": "0010011", "3": "0111101", "4": "0100011",
    "5": "0110001", "6": "0101111", "7": "0111011", "8": "0110111", "9": "0001011",
}
UPC_GUARD = "101"
UPC_CENTRE = "01010"


def upc_right(digit):
    return "".join("1" if m == "0" else "0" for m in UPC_LEFT[digit])


def ean_even(digit):
    """EAN-13's even-parity (G) left-half code: the right-half code reversed."""
    return upc_right(digit)[::-1]


# Code 128: the bar and space widths of symbol values 0-106, bar first; 103-105 are the starts
# A, B and C, 106 the stop with its termination bar.
CODE128 = [
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312",
    "132212", "221213", "221312", "231212", "112232", "122132", "122231", "113222",
    "123122", "123221", "223211", "221132", "221231", "213212", "223112", "312131",
    "311222", "321122", "321221", "312212", "322112", "322211", "212123", "212321",
    "232121", "111323", "131123", "131321", "112313", "132113", "132311", "211313",
    "231113", "231311", "112133", "112331", "132131", "113123", "113321", "133121",
    "313121", "211331", "231131", "213113", "213311", "213131", "311123", "311321",
    "331121", "312113", "312311", "332111", "314111", "221411", "431111", "111224",
    "111422", "121124", "121421", "141122", "141221", "112214", "112412", "122114",
    "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111",
    "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112",
    "421211", "212141", "214121", "412121", "111143", "111341", "131141", "114113",
    "114311", "411113", "411311", "113141", "114131", "311141", "411131", "211412",
    "211214", "211232", "2331112",
]


def code128_char(value):
    """The character that draws a Code 128 symbol value, in the map Code 128 fonts commonly
    share: value + 32 for 1-94 ("!" to "~"), value + 100 for 95-106 ("\u00c3" to "\u00ce"), and
    "\u00c2" for value 0, which the space draws too."""
    if value == 0:
        return "\u00c2"
    return chr(value + 32 if value <= 94 else value + 100)


# Intelligent Mail barcode: the bars of each state as (bottom, top), in font units of the face.
IMB_STATES = "FADT"


# --------------------------------------------------------------------------------------------
# Faces. `module` is X in font units; `ratio` the wide:narrow ratio; `heights` the bar height
# of each face of the family (font units); `quiet` the quiet zone in modules.

DIGITS = "0123456789"

FAMILIES = {
    "25": {
        "module": 40, "ratio": 3, "quiet": 10,
        "faces": {"Sample 25 Short": 600, "Sample 25": 1150, "Sample 25 Tall": 2200},
    },
    "25i": {
        "module": 40, "ratio": 3, "quiet": 10,
        "faces": {"Sample 25 Interleaved Short": 600, "Sample 25 Interleaved": 1150,
                  "Sample 25 Interleaved Tall": 2200},
    },
    "39": {
        "module": 40, "ratio": 3, "quiet": 10,
        "faces": {"Sample 39 Short": 600, "Sample 39": 1150, "Sample 39 Tall": 2200},
    },
    "UPC": {
        # 0.022 em: 0.31 mm at 40 points, 0.47 mm at 60 points (94 % to 141 %).
        "module": 22, "quiet": 9,
        # Guard bars, and the bars of the first and the check digit, reach 5 modules lower.
        "guard_extension": 5,
        # The digits under the bars, in font units: one module below the bars, 2.75 mm tall
        # where the module is 0.33 mm; the first digit and the check digit, outside the
        # guards, three quarters of that. All stand on one line.
        "digit_gap": 22, "digit_height": 183, "outer_digit_height": 137,
        # Sample UPCA: 22.85 mm of bar where the module is 0.33 mm (69.2 modules). Short is a
        # truncated symbol for packages without room for the full height: 27 modules.
        "faces": {"Sample UPCA Short": 600, "Sample UPCA": 1523},
    },
    "Post": {
        # At 18 points the em is 0.25 in: bars 0.020 in wide, 1/22 in apart, 0.125 in and
        # 0.050 in tall, with 0.125 in quiet zones left and right.
        "bar": 80, "pitch": 182, "full": 500, "half": 200, "quiet_units": 500,
        "faces": {"Sample Postal": 500},
    },
    "128": {
        "module": 40, "quiet": 10,
        "faces": {"Sample 128 Short": 600, "Sample 128": 1150, "Sample 128 Tall": 2200},
    },
    "EAN13": {
        # The UPC-A module; the quiet zones are 11 modules left and 7 right.
        "module": 22, "quiet_left": 11, "quiet_right": 7,
        # Guard bars reach 5 modules lower.
        "guard_extension": 5,
        # The digits under the bars as in UPC-A, all thirteen of one size; the first in the
        # left quiet zone.
        "digit_gap": 22, "digit_height": 183,
        # The UPC-A faces' bar heights: 22.85 mm where the module is 0.33 mm, and truncated.
        "faces": {"Sample EAN13 Short": 600, "Sample EAN13": 1523},
    },
    "IMb": {
        # At 18 points the em is 0.25 in: bars 0.020 in wide, 1/22 in apart; full bar 0.145 in,
        # ascender and descender 0.0965 in, tracker 0.048 in. Every glyph is one bar, so none
        # can carry the 0.125 in quiet zone; every character that draws no bar, the space
        # included, is exactly that wide instead (BLANK_ADVANCE).
        "bar": 80, "pitch": 182, "tracker_bottom": 194, "tracker_top": 386, "full": 580,
        "faces": {"Sample IMb": 580},
    },
}


def element_widths(pattern, ratio):
    return [ratio if e == "W" else 1 for e in pattern]


def _runs_of_bars(elements):
    """elements: list of (is_bar, width). Returns bars as (start, width) and the total width."""
    x = 0
    bars = []
    for is_bar, width in elements:
        if is_bar:
            bars.append((x, width))
        x += width
    return bars, x


def _glyph(bars, width, lsb=0, rsb=0, low=()):
    """A glyph in modules: bars (start, width), moved right by lsb, advance lsb + width + rsb.
    `low` lists the indexes of bars that reach below the baseline (UPC guards)."""
    return {
        "bars": [(lsb + x, w, "low" if i in low else "full") for i, (x, w) in enumerate(bars)],
        "advance": lsb + width + rsb,
    }


def code25_glyphs(f):
    """Industrial 2 of 5: the bars carry the data; every space is one narrow module."""
    r, q = f["ratio"], f["quiet"]
    glyphs = {}
    for ch, pattern in TWO_OF_FIVE.items():
        elements = []
        for w in element_widths(pattern, r):
            elements += [(True, w), (False, 1)]
        glyphs[ch] = _glyph(*_runs_of_bars(elements))
    start = []
    for w in (r, r, 1):
        start += [(True, w), (False, 1)]
    glyphs["("] = _glyph(*_runs_of_bars(start), lsb=q)
    stop = [(True, r), (False, 1), (True, 1), (False, 1), (True, r)]
    glyphs[")"] = _glyph(*_runs_of_bars(stop), rsb=q)
    return glyphs


def _pair_code(value):
    return value + 33 if value < 90 else value + 71


def code25i_glyphs(f):
    """Interleaved 2 of 5: one glyph per digit pair, the first digit in the bars and the second
    in the spaces."""
    r, q = f["ratio"], f["quiet"]
    glyphs = {}
    for a in DIGITS:
        for b in DIGITS:
            bars = element_widths(TWO_OF_FIVE[a], r)
            spaces = element_widths(TWO_OF_FIVE[b], r)
            elements = []
            for wb, ws in zip(bars, spaces):
                elements += [(True, wb), (False, ws)]
            glyphs[chr(_pair_code(int(a + b)))] = _glyph(*_runs_of_bars(elements))
    glyphs["{"] = _glyph(*_runs_of_bars([(True, 1), (False, 1), (True, 1), (False, 1)]), lsb=q)
    glyphs["}"] = _glyph(*_runs_of_bars([(True, r), (False, 1), (True, 1)]), rsb=q)
    return glyphs


def code39_glyphs(f):
    """Code 39: every glyph is its nine elements and the one-module gap after them. The start
    and the stop share "*", so no glyph carries a quiet zone: one on both sides would put ten
    modules between the start and the first character, a gap that readers reject."""
    r = f["ratio"]
    glyphs = {}
    for ch, pattern in CODE39.items():
        elements = [(i % 2 == 0, w) for i, w in enumerate(element_widths(pattern, r))]
        elements.append((False, 1))
        glyphs["~" if ch == " " else ch] = _glyph(*_runs_of_bars(elements))
    # The encoder writes the space symbol as "~"; strings made for other Code 39 fonts hold the
    # space itself, which draws it too.
    glyphs[" "] = dict(glyphs["~"])
    return glyphs


def _modules_to_bars(modules):
    elements = [(m == "1", 1) for m in modules]
    # Merge neighbouring dark modules into one bar.
    bars = []
    x = 0
    for dark, w in elements:
        if dark and bars and bars[-1][0] + bars[-1][1] == x:
            bars[-1] = (bars[-1][0], bars[-1][1] + w)
        elif dark:
            bars.append((x, w))
        x += w
    return bars, x


def upc_glyphs(f):
    q = f["quiet"]
    glyphs = {}
    for d in DIGITS:
        bars, width = _modules_to_bars(UPC_GUARD + UPC_LEFT[d])
        glyphs[chr(80 + int(d))] = _glyph(bars, width, low=range(len(bars)))
        glyphs[d] = _glyph(*_modules_to_bars(UPC_LEFT[d]))
        glyphs[chr(64 + int(d))] = _glyph(*_modules_to_bars(upc_right(d)))
        bars, width = _modules_to_bars(upc_right(d) + UPC_GUARD)
        glyphs[chr(96 + int(d))] = _glyph(bars, width, rsb=q, low=range(len(bars)))
    bars, width = _modules_to_bars(UPC_CENTRE)
    glyphs["|"] = _glyph(bars, width, low=range(len(bars)))
    # The encoder starts every UPC-A string with a space: the left quiet zone.
    glyphs[" "] = {"bars": [], "advance": q}
    return glyphs


def upc_digit_places(f):
    """Where each glyph draws its digit under the bars, in font units: {character: (digit,
    height, centre_x, bottom)}. The first digit in the left quiet zone, the check digit in the
    right one, the others centred under their seven modules, where the guard bars reach down
    between the groups."""
    m, q = f["module"], f["quiet"]
    bottom = -(f["digit_gap"] + f["digit_height"])
    places = {}
    for d in DIGITS:
        i = int(d)
        for ch, centre, height in ((chr(80 + i), -q * m / 2, f["outer_digit_height"]),
                                   (d, 7 * m / 2, f["digit_height"]),
                                   (chr(64 + i), 7 * m / 2, f["digit_height"]),
                                   (chr(96 + i), 10 * m + q * m / 2, f["outer_digit_height"])):
            places[ch] = (d, height, centre, bottom)
    return places


def upc_add_digits(glyphs, f):
    """Each digit's glyph also draws its digit under the bars (glyphs in font units)."""
    return _add_digits(glyphs, upc_digit_places(f))


def _add_digits(glyphs, places):
    import digits

    for ch, (d, height, centre, bottom) in places.items():
        glyphs[ch]["outline"] = digits.digit_contours(d, height, centre, bottom)
    return glyphs


def postnet_glyphs(f):
    """PostNet in font units rather than modules: bar, pitch and heights are fixed lengths."""
    bar, pitch, qz = f["bar"], f["pitch"], f["quiet_units"]
    glyphs = {}
    for ch, pattern in POSTNET.items():
        glyphs[ch] = {
            "bars": [(i * pitch, bar, "full" if p == "F" else "half")
                     for i, p in enumerate(pattern)],
            "advance": len(pattern) * pitch,
        }
    glyphs["("] = {"bars": [(qz, bar, "full")], "advance": qz + pitch}
    glyphs[")"] = {"bars": [(0, bar, "full")], "advance": bar + qz}
    return glyphs


def code128_glyphs(f):
    """Code 128: each value's bars and spaces; the starts carry the left quiet zone and the
    stop the right one."""
    q = f["quiet"]
    glyphs = {}
    for value, widths in enumerate(CODE128):
        elements = [(i % 2 == 0, int(w)) for i, w in enumerate(widths)]
        lsb = q if 103 <= value <= 105 else 0
        rsb = q if value == 106 else 0
        glyphs[code128_char(value)] = _glyph(*_runs_of_bars(elements), lsb=lsb, rsb=rsb)
    glyphs[" "] = dict(glyphs[code128_char(0)])
    return glyphs


def ean13_glyphs(f):
    """EAN-13: the first digit's glyph is the left quiet zone and the left guard; left-half
    digits of odd parity at "0"-"9" and of even parity at "p"-"y", the centre guard at "|",
    right-half digits at "@"-"I" and the check digit with the right guard at "`"-"i"."""
    glyphs = {}
    for d in DIGITS:
        n = int(d)
        bars, width = _modules_to_bars(UPC_GUARD)
        glyphs[chr(80 + n)] = _glyph(bars, width, lsb=f["quiet_left"], low=range(len(bars)))
        glyphs[d] = _glyph(*_modules_to_bars(UPC_LEFT[d]))
        glyphs[chr(112 + n)] = _glyph(*_modules_to_bars(ean_even(d)))
        glyphs[chr(64 + n)] = _glyph(*_modules_to_bars(upc_right(d)))
        bars, width = _modules_to_bars(upc_right(d) + UPC_GUARD)
        glyphs[chr(96 + n)] = _glyph(bars, width, rsb=f["quiet_right"],
                                     low=range(len(bars) - 2, len(bars)))
    bars, width = _modules_to_bars(UPC_CENTRE)
    glyphs["|"] = _glyph(bars, width, low=range(len(bars)))
    return glyphs


def ean13_digit_places(f):
    """As upc_digit_places for EAN-13: the first digit in the left quiet zone, close to the
    guard, the others centred under their seven modules."""
    m, q = f["module"], f["quiet_left"]
    bottom = -(f["digit_gap"] + f["digit_height"])
    places = {}
    for d in DIGITS:
        i = int(d)
        places[chr(80 + i)] = (d, f["digit_height"], (q - 4) * m, bottom)
        for ch in (d, chr(112 + i), chr(64 + i), chr(96 + i)):
            places[ch] = (d, f["digit_height"], 7 * m / 2, bottom)
    return places


def ean13_add_digits(glyphs, f):
    """Each digit's glyph also draws its digit under the bars (glyphs in font units)."""
    return _add_digits(glyphs, ean13_digit_places(f))


def digit_places(family):
    """The places of the digits a family's glyphs draw (see upc_digit_places); empty for a
    family without digits."""
    f = FAMILIES[family]
    if family == "UPC":
        return upc_digit_places(f)
    if family == "EAN13":
        return ean13_digit_places(f)
    return {}


def imb_glyphs(f):
    """Intelligent Mail barcode in font units: one bar per glyph, centred in its pitch; the
    kind of each bar is its (bottom, top)."""
    bar, pitch = f["bar"], f["pitch"]
    lo, hi, full = f["tracker_bottom"], f["tracker_top"], f["full"]
    spans = {"F": (0, full), "A": (lo, full), "D": (0, hi), "T": (lo, hi)}
    return {s: {"bars": [((pitch - bar) // 2, bar, spans[s])], "advance": pitch}
            for s in IMB_STATES}


def _in_units(glyphs, module):
    return {
        ch: {"bars": [(x * module, w * module, kind) for x, w, kind in g["bars"]],
             "advance": g["advance"] * module}
        for ch, g in glyphs.items()
    }


_BUILDERS = {
    "25": code25_glyphs,
    "25i": code25i_glyphs,
    "39": code39_glyphs,
    "UPC": upc_glyphs,
    "128": code128_glyphs,
    "EAN13": ean13_glyphs,
}


def family_glyphs(family):
    """The drawing glyphs of a family, keyed by character: bars as (x, width, kind) in font
    units, kind "full" (baseline to bar height), "low" (reaching below the baseline), "half"
    (PostNet's half bar) or a fixed (bottom, top) in font units, and the advance in font units.
    A glyph may also carry "outline": contours in font units, each a list of (x, y, on_curve) in
    TrueType's quadratic form (the UPC-A digits)."""
    f = FAMILIES[family]
    if family == "Post":
        return postnet_glyphs(f)
    if family == "IMb":
        return imb_glyphs(f)
    glyphs = _in_units(_BUILDERS[family](f), f["module"])
    if family == "UPC":
        upc_add_digits(glyphs, f)
    elif family == "EAN13":
        ean13_add_digits(glyphs, f)
    return glyphs


# Advance of the empty glyphs: one data character's width, so that a stray character shows as a
# gap of its own rather than vanishing.
# The Intelligent Mail face's empty glyphs are its quiet zone instead: 0.125 in at 18 points.
BLANK_ADVANCE = {"25": 14 * 40, "25i": 18 * 40, "39": 16 * 40, "UPC": 7 * 22, "Post": 5 * 182,
                 "128": 11 * 40, "EAN13": 7 * 22, "IMb": 500}


def face_metrics(family, bar_height):
    """Vertical extent of a face: (ascent, descent) in font units, descent as a positive number.
    Bars stand on the baseline; the margin above and below keeps lines of bar codes apart."""
    f = FAMILIES[family]
    if family in ("Post", "IMb"):
        margin = 160  # 0.040 in at 18 points
        return bar_height + margin, margin
    low = max(f.get("guard_extension", 0) * f.get("module", 0),
              f.get("digit_gap", 0) + f.get("digit_height", 0))
    return bar_height + 40, low + 40


def font_codes():
    """Every code a font string may hold: 32-126, 161-170 and 194-206."""
    return list(range(32, 127)) + list(range(161, 171)) + list(range(194, 207))
