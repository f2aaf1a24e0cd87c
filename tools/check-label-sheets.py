#!/usr/bin/python3
"""Checks filled label sheets in a word processor (manual check, not part of CI).

Needs LibreOffice Writer (libreoffice-writer-nogui), poppler-utils, zbar-tools and numpy for
/usr/bin/python3, and a build tree with stripewright-encode and the bar code fonts
(`cmake --build build --target stripewright-encode sw_font_files`). For each sheet of the label
table, and one custom sheet on A4, it has the encoder fill a three-page RTF document, converts
it to PDF with LibreOffice (the build's bar code fonts made visible to it alone), renders every
page and checks each label: a used label has ink only inside its own place, centred within the
tolerance, and its bar code reads back as its item; an unused label is blank.

    tools/check-label-sheets.py build [--keep DIR]
"""
import argparse
import os
import pathlib
import re
import subprocess
import sys
import tempfile

import numpy as np

ROOT = pathlib.Path(__file__).resolve().parent.parent
DPI = 300
TOLERANCE = 0.02  # inches
A4 = (210 / 25.4, 297 / 25.4)
LETTER = (8.5, 11.0)


def sheets():
    """The sheet table, read from the header the encoder's sheets come from, and a custom one."""
    text = (ROOT / "src/output/label_sheets.h").read_text()
    pattern = re.compile(
        r'\{"L\d",\s*"[^"]*",\s*"(\d+)",\s*"(\d+)",\s*"lt\d+\.rtf",\s*\d+,\s*\{([^}]*)\}\}')
    result = []
    for _, stock, numbers in pattern.findall(text):
        values = [eval(v, {"__builtins__": {}}) for v in numbers.split(",")]
        result.append(dict(name=stock, arg=stock, paper="letter", geometry=values))
    assert len(result) == 8, "expected eight sheets in label_sheets.h"
    custom = [3, 4, 2.5, 1.5, 0.5, 0.75, 2.6, 2.5]
    result.append(dict(name="custom", arg="custom:" + ",".join(str(v) for v in custom),
                       paper="a4", geometry=custom))
    return result


def render(pdf, page, work):
    prefix = work / ("page%d" % page)
    subprocess.run(["pdftoppm", "-r", str(DPI), "-gray", "-f", str(page), "-l", str(page),
                    "-singlefile", str(pdf), str(prefix)], check=True)
    data = (prefix.with_suffix(".pgm")).read_bytes()
    header = data.split(b"\n", 3)  # "P5\n<w> <h>\n255\n" then the pixels
    w, h = map(int, header[1].split())
    return np.frombuffer(header[3], dtype=np.uint8).reshape(h, w)


def read_codes(files):
    """What zbarimg reads in each file (None where it reads nothing)."""
    out = subprocess.run(["zbarimg", "--xml", "-q"] + [str(f) for f in files],
                         capture_output=True, text=True).stdout
    found = {}
    for source in re.finditer(r"<source href='([^']*)'>(.*?)</source>", out, re.S):
        data = re.search(r"<data><!\[CDATA\[(.*?)\]\]></data>", source.group(2), re.S)
        found[source.group(1)] = data.group(1) if data else None
    return [found.get(str(f)) for f in files]


def check(sheet, build, work, env):
    cols, rows, w, h, x0, y0, dx, dy = sheet["geometry"]
    per_sheet = cols * rows
    items = ["S%d" % (100 + k) for k in range(2 * per_sheet + 1)]
    rtf = work / ("sheet-%s.rtf" % sheet["name"])
    subprocess.run([str(build / "src/encode/stripewright-encode"), "--type", "39", "--sheet",
                    sheet["arg"], "--paper", sheet["paper"], "--output", str(rtf)],
                   input="\n".join(items) + "\n", text=True, check=True)
    subprocess.run(["soffice", "--headless", "-env:UserInstallation=file://%s/profile" % work,
                    "--convert-to", "pdf", "--outdir", str(work), str(rtf)],
                   check=True, capture_output=True, env=env)
    pdf = rtf.with_suffix(".pdf")
    info = subprocess.run(["pdfinfo", str(pdf)], check=True, capture_output=True,
                          text=True).stdout
    n_pages = int(re.search(r"^Pages:\s+(\d+)", info, re.M).group(1))
    problems, worst, read = [], 0.0, 0
    if n_pages != 3:
        problems.append("%d pages, expected 3" % n_pages)
    for page in range(1, min(n_pages, 3) + 1):
        grey = render(pdf, page, work)
        dark = grey < 128
        crops, expected = [], []
        for slot in range(per_sheet):
            index = (page - 1) * per_sheet + slot
            row, col = divmod(slot, cols)
            left, top = x0 + col * dx, y0 + row * dy
            x1, y1 = int(round(left * DPI)), int(round(top * DPI))
            x2, y2 = int(round((left + w) * DPI)), int(round((top + h) * DPI))
            name = "page %d label %d" % (page, slot + 1)
            inside = dark[y1:y2, x1:x2]
            ys, xs = np.nonzero(inside)
            if index >= len(items):
                if len(xs):
                    problems.append("%s: should be blank" % name)
                continue
            if len(xs) == 0:
                problems.append("%s: empty" % name)
                continue
            # Nothing of the label may print outside it: look at a band around it.
            band = dark[max(0, y1 - 15):y2 + 15, max(0, x1 - 15):x2 + 15].sum() - inside.sum()
            if band:
                problems.append("%s: %d dark pixels just outside the label" % (name, band))
            centre = ((x1 + xs.min() + x1 + xs.max() + 1) / 2 / DPI,
                      (y1 + ys.min() + y1 + ys.max() + 1) / 2 / DPI)
            error = max(abs(centre[0] - (left + w / 2)), abs(centre[1] - (top + h / 2)))
            worst = max(worst, error)
            if error > TOLERANCE:
                problems.append("%s: centred at %.3f,%.3f, expected %.3f,%.3f"
                                % (name, centre[0], centre[1], left + w / 2, top + h / 2))
            crop = work / ("crop-%d-%d.pgm" % (page, slot))
            part = grey[y1:y2, x1:x2]
            crop.write_bytes(b"P5\n%d %d\n255\n" % (part.shape[1], part.shape[0]) +
                             part.tobytes())
            crops.append(crop)
            expected.append(items[index])
        for crop, want, got in zip(crops, expected, read_codes(crops)):
            if got == want:
                read += 1
            else:
                problems.append("%s: reads %r, expected %r" % (crop.name, got, want))
            crop.unlink()
    return len(items), read, n_pages, worst, problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", type=pathlib.Path)
    parser.add_argument("--keep", type=pathlib.Path, help="keep the documents in this folder")
    args = parser.parse_args()
    build = args.build.resolve()
    failed = False
    with tempfile.TemporaryDirectory() as tmp:
        work = (args.keep or pathlib.Path(tmp)).resolve()
        work.mkdir(parents=True, exist_ok=True)
        # A home of its own, whose font folder holds the build's bar code fonts.
        home = work / "home"
        (home / ".local/share").mkdir(parents=True, exist_ok=True)
        fonts = home / ".local/share/fonts"
        if not fonts.exists():
            fonts.symlink_to(build / "fonts")
        env = dict(os.environ, HOME=str(home))
        print("%-7s %6s %6s %6s  %s" % ("sheet", "items", "read", "pages", "worst error (in)"))
        for sheet in sheets():
            items, read, n_pages, worst, problems = check(sheet, build, work, env)
            print("%-7s %6d %6d %6d  %.4f" % (sheet["name"], items, read, n_pages, worst))
            for p in problems[:10]:
                print("    " + p)
            failed |= bool(problems)
    print("FAILED" if failed else "every label in place within %.2f in and read" % TOLERANCE)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
