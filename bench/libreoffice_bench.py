#!/usr/bin/python3
"""Recalculation of 10,000 rows of =CODE128(A2) beside 10,000 rows of =UPPER(A2), in the same
headless LibreOffice with the extension (see tests/libreoffice/office.py), each document
recalculated in full (calculateAll) several times, alternating; prints the median of each and
their ratio, and the first recalculation, which loads the extension's Python and the library.

    bench/libreoffice_bench.py BUILD_DIR [ROWS] [REPETITIONS]
"""
import pathlib
import statistics
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests" / "libreoffice"))
import office  # noqa: E402

# The API's formula grammar names the add-in functions by their programmatic names.
CODE128 = "=ORG.STRIPEWRIGHT.CALC.BARCODEFUNCTIONS.CODE128(A%d)"
UPPER = "=UPPER(A%d)"


def sheet_with(o, rows, formula):
    doc = o.new("scalc")
    doc.enableAutomaticCalculation(False)
    sheet = doc.Sheets.getByIndex(0)
    items = tuple(("Item %d-%05d" % (r % 97, r),) for r in range(rows))
    sheet.getCellRangeByPosition(0, 1, 0, rows).setDataArray(items)
    formulas = tuple((formula % (r + 2),) for r in range(rows))
    sheet.getCellRangeByPosition(1, 1, 1, rows).setFormulaArray(formulas)
    return doc, sheet


def timed(doc):
    start = time.perf_counter()
    doc.calculateAll()
    return time.perf_counter() - start


def main():
    build = pathlib.Path(sys.argv[1]).resolve()
    rows = int(sys.argv[2]) if len(sys.argv) > 2 else 10000
    repetitions = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    with office.Office(build / "libreoffice" / "stripewright.oxt", build / "fonts",
                       build / "src" / "capi" / "libstripewright.so.1") as o:
        barcodes, barcode_sheet = sheet_with(o, rows, CODE128)
        upper, _ = sheet_with(o, rows, UPPER)
        first = timed(barcodes)
        last = barcode_sheet.getCellByPosition(1, rows)
        assert last.getError() == 0 and last.getString(), "CODE128 gave no string"
        times = {"CODE128": [], "UPPER": []}
        for _ in range(repetitions):
            times["UPPER"].append(timed(upper))
            times["CODE128"].append(timed(barcodes))
        code128 = statistics.median(times["CODE128"])
        base = statistics.median(times["UPPER"])
        print("rows %d, median of %d full recalculations" % (rows, repetitions))
        print("| =CODE128(A2), first (loads the extension) | %.3f s |" % first)
        print("| =CODE128(A2) | %.3f s |" % code128)
        print("| =UPPER(A2) | %.3f s |" % base)
        print("| ratio | %.1f |" % (code128 / base))
        for doc in (barcodes, upper):
            doc.close(True)


if __name__ == "__main__":
    main()
