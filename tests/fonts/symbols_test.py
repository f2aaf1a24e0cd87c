#!/usr/bin/python3
"""The fonts' symbol table against the symbologies' rules, and every glyph read back to the
symbol it must draw."""

import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.environ.get("SW_SOURCE_DIR",
                                               os.path.join(os.path.dirname(__file__), "..", "..")),
                                "fonts"))
import symbols  # noqa: E402

# UPC-A digit widths (space, bar, space, bar) of the left-half codes, as published.
UPC_WIDTHS = {"0": "3211", "1": "2221", "2": "2122", "3": "1411", "4": "1132",
              "5": "1231", "6": "1114", "7": "1312", "8": "1213", "9": "3112"}


def runs(modules):
    out, n = [], 1
    for a, b in zip(modules, modules[1:]):
        if a == b:
            n += 1
        else:
            out.append(n)
            n = 1
    return "".join(map(str, out + [n]))


def elements(glyph, module):
    """Bar and space widths, in modules, from the first bar to the advance."""
    widths, x = [], None
    for bx, bw, _ in glyph["bars"]:
        if x is not None:
            widths.append((bx - x) / module)
        widths.append(bw / module)
        x = bx + bw
    widths.append((glyph["advance"] - x) / module)
    return widths


def narrow_wide(widths, ratio):
    assert all(w in (1, ratio) for w in widths), widths
    return "".join("W" if w == ratio else "N" for w in widths)


class Patterns(unittest.TestCase):
    def test_code39(self):
        self.assertEqual(len(symbols.CODE39), 44)
        for ch, p in symbols.CODE39.items():
            self.assertEqual(len(p), 9, ch)
            self.assertEqual(p.count("W"), 3, ch)
        self.assertEqual(len(set(symbols.CODE39.values())), 44)

    def test_two_of_five(self):
        for d, p in symbols.TWO_OF_FIVE.items():
            self.assertEqual(p.count("W"), 2, d)
            weight = sum(w for w, e in zip((1, 2, 4, 7), p) if e == "W")
            self.assertEqual(weight % 11, int(d), d)  # 4 + 7 = 11 stands for 0
        self.assertEqual(len(set(symbols.TWO_OF_FIVE.values())), 10)
        # Code 39's digits use the 2 of 5 bars.
        for d, p in symbols.TWO_OF_FIVE.items():
            self.assertEqual(symbols.CODE39[d][0::2], p)

    def test_postnet(self):
        for d, p in symbols.POSTNET.items():
            self.assertEqual(p.count("F"), 2, d)
            weight = sum(w for w, e in zip((7, 4, 2, 1, 0), p) if e == "F")
            self.assertEqual(weight % 11, int(d), d)

    def test_upc(self):
        for d, code in symbols.UPC_LEFT.items():
            self.assertEqual(len(code), 7)
            self.assertEqual(code.count("1") % 2, 1, d)
            self.assertEqual(runs(code), UPC_WIDTHS[d], d)
            right = symbols.upc_right(d)
            self.assertTrue(all(a != b for a, b in zip(code, right)))
        self.assertEqual(len(set(symbols.UPC_LEFT.values())), 10)


class Glyphs(unittest.TestCase):
    def test_every_glyph_is_on_whole_units_and_bars_never_touch(self):
        for family in symbols.FAMILIES:
            for ch, g in symbols.family_glyphs(family).items():
                x = None
                for bx, bw, kind in g["bars"]:
                    self.assertIsInstance(bx, int)
                    self.assertIsInstance(bw, int)
                    self.assertGreater(bw, 0)
                    if x is not None:
                        self.assertGreater(bx, x, (family, ch))
                    x = bx + bw
                if x is not None:
                    self.assertLessEqual(x, g["advance"], (family, ch))

    def test_code25_reads_back(self):
        f = symbols.FAMILIES["25"]
        glyphs = symbols.family_glyphs("25")
        for d, p in symbols.TWO_OF_FIVE.items():
            w = elements(glyphs[d], f["module"])
            self.assertEqual(narrow_wide(w[0::2], f["ratio"]), p)
            self.assertEqual(set(w[1::2]), {1})  # every space narrow, the last one included
        start = glyphs["("]
        self.assertEqual(start["bars"][0][0], f["quiet"] * f["module"])
        self.assertEqual(narrow_wide(elements(start, f["module"])[0::2], 3), "WWN")
        stop = glyphs[")"]
        w = elements(stop, f["module"])
        self.assertEqual(narrow_wide(w[0:-1:2], 3), "WNW")
        self.assertEqual(w[-1], f["quiet"])

    def test_interleaved_reads_back(self):
        f = symbols.FAMILIES["25i"]
        glyphs = symbols.family_glyphs("25i")
        decode = {p: d for d, p in symbols.TWO_OF_FIVE.items()}
        pairs = {}
        for ch, g in glyphs.items():
            if ch in "{}":
                continue
            w = elements(g, f["module"])
            pair = decode[narrow_wide(w[0::2], 3)] + decode[narrow_wide(w[1::2], 3)]
            pairs[ch] = int(pair)
        self.assertEqual(sorted(pairs.values()), list(range(100)))
        for ch, v in pairs.items():
            self.assertEqual(ord(ch), v + 33 if v < 90 else v + 71)
        self.assertEqual(elements(glyphs["{"], f["module"]), [1, 1, 1, 1])
        self.assertEqual(glyphs["{"]["bars"][0][0], 10 * f["module"])
        self.assertEqual(elements(glyphs["}"], f["module"]), [3, 1, 1, 10])

    def test_code39_reads_back(self):
        f = symbols.FAMILIES["39"]
        glyphs = symbols.family_glyphs("39")
        self.assertEqual(set(glyphs), set(symbols.CODE39) - {" "} | {"~"})
        for ch, p in symbols.CODE39.items():
            w = elements(glyphs["~" if ch == " " else ch], f["module"])
            self.assertEqual(narrow_wide(w[:-1], 3), p, ch)
            self.assertEqual(w[-1], 1, ch)  # the inter-character gap
            self.assertEqual(glyphs["~" if ch == " " else ch]["bars"][0][0], 0)

    def test_upc_reads_back(self):
        f = symbols.FAMILIES["UPC"]
        glyphs = symbols.family_glyphs("UPC")

        def modules(ch):
            g = glyphs[ch]
            m = ["0"] * (g["advance"] // f["module"])
            for bx, bw, _ in g["bars"]:
                for i in range(bx // f["module"], (bx + bw) // f["module"]):
                    m[i] = "1"
            return "".join(m)

        for d in symbols.DIGITS:
            i = int(d)
            self.assertEqual(modules(chr(80 + i)), "101" + symbols.UPC_LEFT[d])
            self.assertEqual(modules(d), symbols.UPC_LEFT[d])
            self.assertEqual(modules(chr(64 + i)), symbols.upc_right(d))
            self.assertEqual(modules(chr(96 + i)), symbols.upc_right(d) + "101" + "0" * 9)
            low = {kind for _, _, kind in glyphs[chr(80 + i)]["bars"]}
            self.assertEqual(low, {"low"})
        self.assertEqual(modules("|"), "01010")
        self.assertEqual(modules(" "), "0" * 9)
        # 95 modules from the left guard to the right guard.
        total = sum(glyphs[c]["advance"] for c in "P01234|@ABCD") + 10 * f["module"]
        self.assertEqual(total, 95 * f["module"])

    def test_upc_digits_under_the_bars(self):
        f = symbols.FAMILIES["UPC"]
        m, q = f["module"], f["quiet"]
        glyphs = symbols.family_glyphs("UPC")
        # OCR-B's digits with holes: a digit drawn in the wrong glyph shows here.
        holes = {"0": 1, "6": 1, "8": 2, "9": 1}
        foot = -(f["digit_gap"] + f["digit_height"])
        for d in symbols.DIGITS:
            i = int(d)
            # glyph: where its digit must lie across (font units), and whether it is small
            for ch, left, right, outer in ((chr(80 + i), -q * m, 0, True),
                                           (d, 0, 7 * m, False),
                                           (chr(64 + i), 0, 7 * m, False),
                                           (chr(96 + i), 10 * m, (10 + q) * m, True)):
                outline = glyphs[ch]["outline"]
                points = [p for contour in outline for p in contour]
                self.assertEqual(len(outline), 1 + holes.get(d, 0), (d, ch))
                self.assertTrue(all(isinstance(v, int) for x, y, _ in points for v in (x, y)))
                self.assertTrue(all(c[0][2] for c in outline))  # each starts on the curve
                xs = [x for x, _, _ in points]
                ys = [y for _, y, _ in points]
                self.assertGreater(min(xs), left, (d, ch))
                self.assertLess(max(xs), right, (d, ch))
                # Below the bars, standing on the digits' line.
                self.assertLessEqual(max(ys), -f["digit_gap"], (d, ch))
                self.assertLess(max(ys) - min(ys), f["digit_height"] * (0.8 if outer else 1.01))
                self.assertLess(abs(min(ys) - foot), 4, (d, ch))
        self.assertNotIn("outline", glyphs["|"])
        self.assertNotIn("outline", glyphs[" "])

    def test_postnet_reads_back(self):
        f = symbols.FAMILIES["Post"]
        glyphs = symbols.family_glyphs("Post")
        for d, p in symbols.POSTNET.items():
            kinds = "".join("F" if k == "full" else "h" for _, _, k in glyphs[d]["bars"])
            self.assertEqual(kinds, p)
            self.assertEqual(glyphs[d]["advance"], 5 * f["pitch"])
        self.assertEqual(glyphs["("]["advance"] - glyphs["("]["bars"][0][0], f["pitch"])


class Dimensions(unittest.TestCase):
    # Widths and bar heights are measured on rendered pictures (png_output_tests); what is
    # checked here is the line height, which pictures do not show.
    def test_heights_fit_the_sample_page(self):
        # The sample page puts rows of 2 of 5, 3 of 9 and Interleaved 2 of 5 two lines of
        # 14.4 points apart at 20 points (four at Tall). UPC-A rows are five lines apart at 40
        # points, six at 48: the next row starts below the digits' foot.
        for family, points, lines, face_index in (("39", 20, 2, 1), ("39", 28, 5, 2)):
            face, bar = list(symbols.FAMILIES[family]["faces"].items())[face_index]
            ascent, descent = symbols.face_metrics(family, bar)
            self.assertLessEqual((ascent + descent) / 1000 * points, lines * 14.4, face)
        f = symbols.FAMILIES["UPC"]
        ascent, _ = symbols.face_metrics("UPC", f["faces"]["Sample UPCA"])
        foot = ascent + f["digit_gap"] + f["digit_height"]
        for points, lines in ((40, 5), (48, 6)):
            self.assertLessEqual(foot / 1000 * points, lines * 14.4, points)


if __name__ == "__main__":
    unittest.main()
