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


def modules_of(glyph, module):
    m = ["0"] * (glyph["advance"] // module)
    for bx, bw, _ in glyph["bars"]:
        for i in range(bx // module, (bx + bw) // module):
            m[i] = "1"
    return "".join(m)


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
        # The space symbol at "~", where the encoder writes it, and at the space itself.
        self.assertEqual(set(glyphs), set(symbols.CODE39) | {"~"})
        for ch in list(symbols.CODE39) + ["~"]:
            w = elements(glyphs[ch], f["module"])
            self.assertEqual(narrow_wide(w[:-1], 3), symbols.CODE39[" " if ch == "~" else ch], ch)
            self.assertEqual(w[-1], 1, ch)  # the inter-character gap
            self.assertEqual(glyphs[ch]["bars"][0][0], 0)

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

    def test_code128_patterns_and_worked_examples(self):
        self.assertEqual(len(symbols.CODE128), 107)
        self.assertEqual(len(set(symbols.CODE128)), 107)
        for v, p in enumerate(symbols.CODE128):
            widths = [int(w) for w in p]
            self.assertEqual(sum(widths), 13 if v == 106 else 11, v)
            self.assertTrue(all(1 <= w <= 4 for w in widths), v)
            self.assertEqual(sum(widths[0::2]) % 2, 0, v)  # bar modules: even
        f = symbols.FAMILIES["128"]
        glyphs = symbols.family_glyphs("128")
        self.assertEqual(len(glyphs), 108)
        # Strings in the character map Code 128 fonts commonly share ("Code 128" with value 0
        # as "\u00c2" and as a space, "ab<HT>cd" with a shift), and the modules they must draw,
        # quiet zones around.
        code_128 = ("11010010000100010001101000111101010000100110101100100001101100110010011100"
                    "1101100111001011101001100101000011001100011101011")
        examples = [
            ("\u00ccCode\u00c2128`\u00ce", code_128),
            ("\u00ccCode 128`\u00ce", code_128),
            ("\u00ccab\u00c6icdu\u00ce",
             "11010010000100101100001001000011011110100010100001101001000010110010000100110100"
             "111100101100011101011"),
        ]
        for text, expected in examples:
            drawn = "".join(modules_of(glyphs[c], f["module"]) for c in text)
            self.assertEqual(drawn, "0" * 10 + expected + "0" * 10)

    def test_ean13_reads_back(self):
        f = symbols.FAMILIES["EAN13"]
        glyphs = symbols.family_glyphs("EAN13")
        # 5901234123457 as the encoder writes it.
        drawn = "".join(modules_of(glyphs[c], f["module"]) for c in "U9pq23t|ABCDEg")
        self.assertEqual(
            drawn, "0" * 11 + "10100010110100111011001100100110111101001110101010110011011011"
            "001000010101110010011101000100101" + "0" * 7)
        for d in symbols.DIGITS:
            low = [k for _, _, k in glyphs[chr(96 + int(d))]["bars"]]
            self.assertEqual(low[-2:], ["low", "low"])
            self.assertNotIn("low", low[:-2])
            # The first digit in the left quiet zone, the others under their seven modules.
            for ch, right in ((chr(80 + int(d)), f["quiet_left"]), (d, 7), (chr(112 + int(d)), 7)):
                xs = [x for contour in glyphs[ch]["outline"] for x, _, _ in contour]
                self.assertTrue(0 < min(xs) and max(xs) < right * f["module"], (d, ch))

    def test_imb_at_its_point_size(self):
        # At 18 points the em is 0.25 in: one font unit is 0.00025 in.
        inch = 4000
        f = symbols.FAMILIES["IMb"]
        glyphs = symbols.family_glyphs("IMb")
        self.assertEqual(set(glyphs), set("FADT"))
        heights = {}
        for s, g in glyphs.items():
            [(x, w, (bottom, top))] = g["bars"]
            self.assertTrue(0.015 <= w / inch <= 0.025)
            self.assertTrue(20 <= inch / g["advance"] <= 24)
            self.assertEqual(x, g["advance"] - x - w)  # centred in its pitch
            heights[s] = top - bottom
        self.assertTrue(0.125 <= heights["F"] / inch <= 0.165)
        self.assertTrue(0.082 <= heights["A"] / inch <= 0.111)
        self.assertEqual(heights["A"], heights["D"])
        self.assertTrue(0.039 <= heights["T"] / inch <= 0.057)
        self.assertGreaterEqual(symbols.BLANK_ADVANCE["IMb"] / inch, 0.125)

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
