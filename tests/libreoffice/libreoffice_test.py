#!/usr/bin/python3
"""The LibreOffice extension in a headless LibreOffice: every Calc function over worked examples
and bad items against stripewright-encode, documents that store the functions, a printed sheet
read back by the project's zxing reader, and Writer's Insert Bar Code dialog.

Environment: SW_LO_OXT, SW_LO_EXAMPLE, SW_FONT_DIR, SW_ENCODE_EXE, SW_READ_CODES and
STRIPEWRIGHT_LIBRARY; SW_LO_KEEP=DIR keeps the scratch folder (documents, PDF files, log)."""
import os
import pathlib
import subprocess
import sys
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import office  # noqa: E402

env = os.environ

# (type, function, data, checksum, what a reader gets from the printed bar code or None where
# no reader knows the type or the check character is not worth restating)
GOOD = [
    ("25", "CODE25", "1234567890", None, None),
    ("25i", "CODE25I", "1234567890", None, "1234567890"),
    ("25i", "CODE25I", "123", True, None),
    ("39", "CODE39", "CODE 39", None, "CODE 39"),
    ("39", "CODE39", "1234ABCD", True, None),
    ("Post", "POSTNET", "123456789", None, None),
    ("UPC", "UPCA", "03600029145", None, "036000291452"),
    ("128", "CODE128", "Code 128", None, "Code 128"),
    ("128", "CODE128", "AB123456cd", None, "AB123456cd"),
    ("gs1-128", "GS1_128", "(01)09501101530003(10)ABC123(21)4567", None,
     "010950110153000310ABC123\x1d214567"),
    ("ean13", "EAN13", "590123412345", None, "5901234123457"),
    ("imb", "IMB", "01234567094987654321-01234567891", None, None),
]
BAD = [
    ("25", "CODE25", "12a", None),
    ("25i", "CODE25I", "1234", True),
    ("39", "CODE39", "abc", None),
    ("39", "CODE39", "", None),
    ("Post", "POSTNET", "1234", None),
    ("UPC", "UPCA", "0360002914", None),
    ("128", "CODE128", "na\u00efve", None),
    ("gs1-128", "GS1_128", "0109501101530003", None),
    ("ean13", "EAN13", "5901234123458", None),
    ("imb", "IMB", "0123456709498765432", None),
]
INVALID_ARGUMENT = 502  # Calc's "Invalid argument" error


def encoder(type_name, items, checksum=False):
    """[(font string or None, message or None)] for each item, from stripewright-encode."""
    run = subprocess.run([env["SW_ENCODE_EXE"], "--type", type_name] +
                         (["--checksum"] if checksum else []),
                         input="".join(i + "\n" for i in items).encode(), capture_output=True)
    lines = run.stdout.decode().split("\n")[:len(items)]
    messages = {}
    for line in run.stderr.decode().splitlines():
        number, _, message = line.partition(": ")
        messages[int(number.split()[1])] = message
    return [(None, messages[n]) if n in messages else (lines[n - 1], None)
            for n in range(1, len(items) + 1)]


def expected(type_name, data, checksum=False):
    return encoder(type_name, [data], checksum)[0]


def read_codes(pdf, pages):
    run = subprocess.run([env["SW_READ_CODES"], str(pdf), "300", str(pages)],
                         capture_output=True, check=True)
    return run.stdout.decode().split("\n")[:pages]


class LibreOfficeTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.office = office.Office(env["SW_LO_OXT"], env["SW_FONT_DIR"],
                                   env["STRIPEWRIGHT_LIBRARY"], env.get("SW_LO_KEEP"))
        cls.office.__enter__()
        cls.work = cls.office.work
        sys.path.insert(0, str(cls.office.extension / "pythonpath"))

    @classmethod
    def tearDownClass(cls):
        cls.office.__exit__(None, None, None)

    def sheet(self):
        doc = self.office.new("scalc")
        self.addCleanup(doc.close, True)
        return doc, doc.Sheets.getByIndex(0)

    def test_every_function_gives_the_encoders_string_or_an_error(self):
        doc, sheet = self.sheet()
        rows = [(t, f, d, c) for t, f, d, c, _ in GOOD] + BAD
        for r, (type_name, function, data, checksum) in enumerate(rows, start=1):
            sheet.getCellByPosition(0, r - 1).setString(type_name)
            sheet.getCellByPosition(1, r - 1).setString(data)
            if checksum is not None:
                sheet.getCellByPosition(2, r - 1).setFormula("=TRUE()")
            own = "B%d;C%d" % (r, r) if checksum is not None else "B%d" % r
            for column, formula in ((3, "=%s(%s)" % (function, own)),
                                    (4, "=BARCODE(A%d;B%d;C%d)" % (r, r, r)),
                                    (5, "=BARCODE_ERROR(A%d;B%d;C%d)" % (r, r, r))):
                sheet.getCellByPosition(column, r - 1).FormulaLocal = formula
        doc.calculateAll()
        for r, (type_name, function, data, checksum) in enumerate(rows):
            font_string, message = expected(type_name, data, bool(checksum))
            # The table's bad items must stay bad, or this would stop testing errors.
            self.assertEqual(font_string is None, r >= len(GOOD), (function, data))
            own, general, why = (sheet.getCellByPosition(c, r) for c in (3, 4, 5))
            with self.subTest(function=function, data=data, checksum=checksum):
                if font_string is not None:
                    self.assertEqual((own.getError(), own.getString()), (0, font_string))
                    self.assertEqual((general.getError(), general.getString()),
                                     (0, font_string))
                    self.assertEqual(why.getString(), "")
                else:
                    self.assertEqual(own.getError(), INVALID_ARGUMENT)
                    self.assertEqual(general.getError(), INVALID_ARGUMENT)
                    self.assertEqual(why.getString(), message)

    def test_arguments_that_are_not_items(self):
        doc, sheet = self.sheet()
        cases = [
            # A number is its digits.
            ("=POSTNET(12345)", '=BARCODE_ERROR("Post";12345)', expected("Post", "12345")[0]),
            ('=CODE39("CODE 39";0)', '=BARCODE_ERROR("39";"CODE 39";0)',
             expected("39", "CODE 39")[0]),
            ('=CODE39("CODE 39";"yes")', '=BARCODE_ERROR("39";"CODE 39";"yes")', None),
            ('=BARCODE("xx";"1")', '=BARCODE_ERROR("xx";"1")', None),
            # Calc's texts may hold NUL, where the library's strings end: never "AB" alone.
            ('=CODE39("AB"&CHAR(0)&"C")', '=BARCODE_ERROR("39";"AB"&CHAR(0)&"C")', None),
        ]
        for r, (formula, why, _) in enumerate(cases):
            sheet.getCellByPosition(0, r).FormulaLocal = formula
            sheet.getCellByPosition(1, r).FormulaLocal = why
        doc.calculateAll()
        for r, (formula, _, font_string) in enumerate(cases):
            cell, why = sheet.getCellByPosition(0, r), sheet.getCellByPosition(1, r)
            with self.subTest(formula=formula):
                if font_string is not None:
                    self.assertEqual((cell.getError(), cell.getString()), (0, font_string))
                    self.assertEqual(why.getString(), "")
                else:
                    self.assertEqual(cell.getError(), INVALID_ARGUMENT)
                    self.assertNotEqual(why.getString(), "")
        self.assertIn('"xx"', sheet.getCellByPosition(1, 3).getString())

    def test_function_wizard_describes_every_function(self):
        descriptions = self.office.smgr.createInstanceWithContext(
            "com.sun.star.sheet.FunctionDescriptions", self.office.ctx)
        found = {}
        for i in range(descriptions.getCount()):
            entry = {p.Name: p.Value for p in descriptions.getByIndex(i)}
            found[entry["Name"]] = entry
        ours = {f for _, f, _, _, _ in GOOD} | {"BARCODE", "BARCODE_ERROR"}
        for name in sorted(ours):
            with self.subTest(function=name):
                entry = found[name]
                self.assertEqual(entry["Category"], found["UPPER"]["Category"])  # Text
                self.assertTrue(entry["Description"])
                arguments = [(a.Name, bool(a.Description), a.IsOptional)
                             for a in entry["Arguments"]]
                self.assertEqual([a for a in arguments if not a[1]], [])
                # Only the checksum may be left out.
                self.assertEqual([a[2] for a in arguments],
                                 [a[0] == "Checksum" for a in arguments])

    def test_stored_documents_compute_again(self):
        # A document stores the functions by their programmatic names; these must keep working.
        stored = self.work / "stored.fods"
        stored.write_text("""<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
  xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
  xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
  xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2" office:version="1.3"
  office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
 <office:body><office:spreadsheet><table:table table:name="S"><table:table-row>
  <table:table-cell office:value-type="string"><text:p>CODE 39</text:p></table:table-cell>
  <table:table-cell
    table:formula="of:=ORG.STRIPEWRIGHT.CALC.BARCODEFUNCTIONS.CODE39([.A1];1)"/>
  <table:table-cell
    table:formula="of:=ORG.STRIPEWRIGHT.CALC.BARCODEFUNCTIONS.BARCODE(&quot;128&quot;;[.A1])"/>
 </table:table-row></table:table></office:spreadsheet></office:body>
</office:document>
""")
        doc = self.office.load(stored)
        self.addCleanup(doc.close, True)
        doc.calculateAll()
        row = doc.Sheets.getByIndex(0)
        self.assertEqual(row.getCellByPosition(1, 0).getString(),
                         expected("39", "CODE 39", True)[0])
        self.assertEqual(row.getCellByPosition(2, 0).getString(), expected("128", "CODE 39")[0])

        example = self.office.load(env["SW_LO_EXAMPLE"])
        self.addCleanup(example.close, True)
        sheet = example.Sheets.getByIndex(0)
        used = sheet.createCursor()
        used.gotoEndOfUsedArea(False)
        last = used.RangeAddress.EndRow
        items = [sheet.getCellByPosition(0, r).getString() for r in range(1, last + 1)]
        stored_values = [sheet.getCellByPosition(1, r).getString() for r in range(1, last + 1)]
        example.calculateAll()
        self.assertGreater(len(items), 3)
        self.assertEqual(stored_values, [s for s, _ in encoder("128", items)])
        self.assertEqual([sheet.getCellByPosition(1, r).getString() for r in range(1, last + 1)],
                         stored_values)
        self.assertEqual({sheet.getCellByPosition(2, r).getString() for r in range(1, last + 1)},
                         {""})

    def test_printed_sheet_scans(self):
        from stripewright_office import library
        doc, sheet = self.sheet()
        scannable = [(t, f, d, s) for t, f, d, c, s in GOOD if s is not None]
        sheet.getColumns().getByIndex(0).Width = 17000  # 1/100 mm
        for r, (type_name, function, data, _) in enumerate(scannable):
            cell = sheet.getCellByPosition(0, r)
            cell.FormulaLocal = '=%s("%s")' % (function, data)
            cell.CharFontName = library.face_name(type_name, "normal")
            cell.CharHeight = 40.0 if type_name in ("UPC", "ean13") else 24.0
            row = sheet.getRows().getByIndex(r)
            row.OptimalHeight = True
            row.IsStartOfNewPage = r > 0  # one bar code a page, so that pages map to items
        doc.calculateAll()
        pdf = self.work / "printed-sheet.pdf"
        self.office.pdf(doc, pdf, "calc_pdf_Export")
        self.assertEqual(read_codes(pdf, len(scannable)), [s for _, _, _, s in scannable])

    def test_writer_dialog_inserts_at_the_cursor_and_refuses_bad_data(self):
        from com.sun.star.style.LineSpacingMode import FIX, PROP
        from stripewright_office import library, writer
        doc = self.office.new("swriter", hidden=False)
        self.addCleanup(doc.close, True)
        # The menu entry's command runs in LibreOffice (headless, its dialog closes at once),
        # and the toolbar is there.
        provider = self.office.smgr.createInstanceWithContext(
            "com.sun.star.configuration.ConfigurationProvider", self.office.ctx)
        merging = provider.createInstanceWithArguments(
            "com.sun.star.configuration.ConfigurationAccess",
            office.props(nodepath="/org.openoffice.Office.Addons/AddonUI/OfficeMenuBarMerging"))
        entry = merging.getByHierarchicalName(
            "org.stripewright.libreoffice/InsertBarcodeMenu/MenuItems/InsertBarcode")
        self.assertEqual(entry.Title, "Insert Bar Code...")
        frame = doc.CurrentController.Frame
        result = self.office.smgr.createInstanceWithContext(
            "com.sun.star.frame.DispatchHelper", self.office.ctx).executeDispatch(
                frame, entry.URL, "", 0, ())
        self.assertEqual(result.State, 1)  # SUCCESS
        self.assertTrue(result.Result.supportsService("com.sun.star.task.Job"))
        self.assertIn("private:resource/toolbar/addon_org.stripewright.libreoffice",
                      [e.ResourceURL for e in frame.LayoutManager.getElements()])

        doc.Text.setString("Item: ")
        spacing = doc.Text.createTextCursor().ParaLineSpacing
        spacing.Mode, spacing.Height = FIX, 200  # 2 mm: bars would lose their tops
        doc.Text.createTextCursor().ParaLineSpacing = spacing
        doc.CurrentController.getViewCursor().gotoEnd(False)

        dialog = writer.InsertBarcodeDialog(self.office.ctx, doc)
        dialog.type_list.SelectedItems = ([n for n, _ in dialog.types].index("128"),)
        dialog.type_changed()
        dialog.size_field.Value = 24.0
        dialog.data_field.Text = "na\u00efve"
        self.assertFalse(dialog.insert())
        self.assertEqual(dialog.message.Label, expected("128", "na\u00efve")[1])
        self.assertEqual(doc.Text.getString(), "Item: ")

        dialog.data_field.Text = "Code 128"
        self.assertTrue(dialog.insert())
        font_string = expected("128", "Code 128")[0]
        self.assertEqual(doc.Text.getString(), "Item: " + font_string)
        portions = list(_enumerate(next(iter(_enumerate(doc.Text)))))
        bar_code = portions[-1]
        self.assertEqual(bar_code.getString(), font_string)
        self.assertEqual((bar_code.CharFontName, bar_code.CharHeight),
                         (library.face_name("128", "normal"), 24.0))
        self.assertNotEqual(portions[0].CharFontName, bar_code.CharFontName)
        self.assertEqual((bar_code.ParaLineSpacing.Mode, bar_code.ParaLineSpacing.Height),
                         (PROP, 100))

        pdf = self.work / "writer.pdf"
        self.office.pdf(doc, pdf, "writer_pdf_Export")
        self.assertEqual(read_codes(pdf, 1), ["Code 128"])


def _enumerate(container):
    e = container.createEnumeration()
    while e.hasMoreElements():
        yield e.nextElement()


if __name__ == "__main__":
    unittest.main()
