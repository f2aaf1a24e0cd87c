#!/usr/bin/python3
"""Checks the label templates in a word processor (manual check, not part of CI).

Needs LibreOffice Writer (libreoffice-writer-nogui), poppler-utils and numpy for
/usr/bin/python3. For each template in TEMPLATE_DIR it makes a copy whose label cells are
shaded (two colours in a checkerboard, so that neighbours stay apart) and hold a marker text,
converts the copy to PDF with LibreOffice, renders the page and measures where each label's
shading lies. Every label must sit at the sheet's position within the tolerance, the PDF must
have one page, and every marker must print inside its own label.

    tools/check-label-templates.py build/share/stripewright/templates [--keep DIR]
"""
import argparse
import pathlib
import re
import subprocess
import sys
import tempfile

import numpy as np

ROOT = pathlib.Path(__file__).resolve().parent.parent
DPI = 300
TOLERANCE = 0.02  # inches


def sheets():
    """The sheet table, read from the header that the templates are generated from."""
    text = (ROOT / "src/output/label_sheets.h").read_text()
    pattern = re.compile(
        r'\{"L\d",\s*"[^"]*",\s*"(\d+)",\s*"(\d+)",\s*"(lt\d+\.rtf)",\s*\d+,\s*\{([^}]*)\}\}')
    result = []
    for per_sheet, stock, name, numbers in pattern.findall(text):
        values = [eval(v, {"__builtins__": {}}) for v in numbers.split(",")]
        cols, rows, w, h, x0, y0, dx, dy = values
        result.append(dict(stock=stock, file=name, labels=int(per_sheet), cols=int(cols),
                           rows=int(rows), w=w, h=h, x0=x0, y0=y0, dx=dx, dy=dy))
    assert len(result) == 8, "expected eight sheets in label_sheets.h"
    return result


def marked_copy(rtf):
    """Shades every label cell and writes a marker text into it."""
    rtf = rtf.replace("{\\fonttbl", "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                      "\n{\\fonttbl", 1)
    out, row = [], -1
    cell_def = cell_text = 0
    for line in rtf.split("\n"):
        if line.startswith("\\trowd"):
            row += 1
            cell_def = cell_text = 0
        elif line.startswith("\\clvertalc"):
            if cell_def % 2 == 0:  # labels and spacers alternate, starting with a label
                col = cell_def // 2
                line = "\\clcbpat%d" % (1 + (row + col) % 2) + line
            cell_def += 1
        elif line.startswith("\\pard\\plain\\intbl"):
            if "\\qc" in line:
                col = cell_text // 2
                line = line.replace("\\cell", " R%dC%d\\cell" % (row + 1, col + 1))
            cell_text += 1
        out.append(line)
    return "\n".join(out)


def render(pdf, work):
    subprocess.run(["pdftoppm", "-r", str(DPI), "-f", "1", "-l", "1", str(pdf),
                    str(work / "page")], check=True)
    ppm = next(work.glob("page*.ppm"))
    data = ppm.read_bytes()
    # Binary PPM: "P6\n<w> <h>\n255\n" then the pixels.
    header = data.split(b"\n", 3)
    w, h = map(int, header[1].split())
    pixels = np.frombuffer(header[3], dtype=np.uint8).reshape(h, w, 3).astype(int)
    ppm.unlink()
    r, g, b = pixels[..., 0], pixels[..., 1], pixels[..., 2]
    red = (r > 200) & (g < 90) & (b < 90)
    blue = (b > 200) & (r < 90) & (g < 90)
    return red, blue


def words(pdf):
    html = subprocess.run(["pdftotext", "-bbox", str(pdf), "-"], check=True,
                          capture_output=True, text=True).stdout
    found = {}
    for m in re.finditer(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" '
                         r'yMax="([\d.]+)">(R\d+C\d+)</word>', html):
        x1, y1, x2, y2 = (float(v) / 72 for v in m.groups()[:4])
        found[m.group(5)] = ((x1 + x2) / 2, (y1 + y2) / 2)
    return found


def pages(pdf):
    info = subprocess.run(["pdfinfo", str(pdf)], check=True, capture_output=True,
                          text=True).stdout
    return int(re.search(r"^Pages:\s+(\d+)", info, re.M).group(1))


def check(sheet, template_dir, work):
    copy = work / sheet["file"]
    copy.write_text(marked_copy((template_dir / sheet["file"]).read_text()))
    subprocess.run(["soffice", "--headless", "--convert-to", "pdf", "--outdir", str(work),
                    str(copy)], check=True, capture_output=True)
    pdf = copy.with_suffix(".pdf")
    n_pages = pages(pdf)
    red, blue = render(pdf, work)
    markers = words(pdf)
    worst, problems, measured = 0.0, [], 0
    margin = int(0.1 * DPI)
    for row in range(sheet["rows"]):
        for col in range(sheet["cols"]):
            mask = red if (row + col) % 2 == 0 else blue
            left = sheet["x0"] + col * sheet["dx"]
            top = sheet["y0"] + row * sheet["dy"]
            right, bottom = left + sheet["w"], top + sheet["h"]
            x1, y1 = max(0, int(left * DPI) - margin), max(0, int(top * DPI) - margin)
            x2, y2 = int(right * DPI) + margin, int(bottom * DPI) + margin
            window = mask[y1:y2, x1:x2]
            ys, xs = np.nonzero(window)
            name = "R%dC%d" % (row + 1, col + 1)
            if len(xs) == 0:
                problems.append("%s: no label found" % name)
                continue
            measured += 1
            got = ((x1 + xs.min()) / DPI, (y1 + ys.min()) / DPI,
                   (x1 + xs.max() + 1) / DPI, (y1 + ys.max() + 1) / DPI)
            error = max(abs(a - b) for a, b in zip(got, (left, top, right, bottom)))
            worst = max(worst, error)
            if error > TOLERANCE:
                problems.append("%s: at %.4f,%.4f-%.4f,%.4f, expected %.4f,%.4f-%.4f,%.4f"
                                % ((name,) + got + (left, top, right, bottom)))
            centre = markers.get(name)
            if centre is None:
                problems.append("%s: marker text missing" % name)
            elif not (left < centre[0] < right and top < centre[1] < bottom):
                problems.append("%s: marker text prints outside its label" % name)
    shaded = int(red.sum() + blue.sum())
    expected_area = sheet["labels"] * sheet["w"] * sheet["h"] * DPI * DPI
    if abs(shaded - expected_area) > 0.02 * expected_area:
        problems.append("shaded area %.0f px, expected %.0f px" % (shaded, expected_area))
    if n_pages != 1:
        problems.append("%d pages" % n_pages)
    return measured, worst, n_pages, problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("template_dir", type=pathlib.Path)
    parser.add_argument("--keep", type=pathlib.Path, help="keep the PDFs in this folder")
    args = parser.parse_args()
    failed = False
    with tempfile.TemporaryDirectory() as tmp:
        work = args.keep or pathlib.Path(tmp)
        work.mkdir(parents=True, exist_ok=True)
        print("%-6s %-10s %8s %8s %6s  %s" % ("stock", "file", "labels", "found", "pages",
                                             "worst error (in)"))
        for sheet in sheets():
            measured, worst, n_pages, problems = check(sheet, args.template_dir, work)
            print("%-6s %-10s %8d %8d %6d  %.4f" % (sheet["stock"], sheet["file"],
                                                   sheet["labels"], measured, n_pages, worst))
            for p in problems:
                print("    " + p)
            failed |= bool(problems)
    print("FAILED" if failed else "all labels within %.2f in" % TOLERANCE)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
