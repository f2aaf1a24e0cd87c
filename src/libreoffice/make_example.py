#!/usr/bin/python3
"""Writes the example spreadsheet: a column of items, a column of =CODE128(...) set in the Code
128 face, and a column of =BARCODE_ERROR(...) that stays empty while every item encodes. The
cells carry their values as computed now by the Stripewright library (found as the extension
finds it), so the sheet shows its bar codes even before it is recalculated.

    make_example.py OUT.ods
"""
import os
import re
import sys
import zipfile
from xml.sax.saxutils import escape, quoteattr

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "pythonpath"))
from stripewright_office import library  # noqa: E402

# Documents store the functions under these names.
FUNCTION_PREFIX = "ORG.STRIPEWRIGHT.CALC.BARCODEFUNCTIONS."

ITEMS = ["SW-10001", "SW-10002", "Pallet 0042", "Invoice 2026-117", "Order 5531/B", "lot a-17",
         "Box 3 of 12", "0123456789"]

NAMESPACES = {
    "office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0",
    "style": "urn:oasis:names:tc:opendocument:xmlns:style:1.0",
    "text": "urn:oasis:names:tc:opendocument:xmlns:text:1.0",
    "table": "urn:oasis:names:tc:opendocument:xmlns:table:1.0",
    "fo": "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0",
    "svg": "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0",
    "of": "urn:oasis:names:tc:opendocument:xmlns:of:1.2",
    "meta": "urn:oasis:names:tc:opendocument:xmlns:meta:1.0",
}
DECLARATIONS = " ".join("xmlns:%s=%s" % (k, quoteattr(v)) for k, v in NAMESPACES.items())


def paragraph(text):
    """A text:p of the text; runs of spaces kept as ODF wants them."""
    def spaces(m):
        n = len(m.group(0))
        return " " + ("<text:s/>" if n == 2 else '<text:s text:c="%d"/>' % (n - 1))
    body = re.sub(r"  +", spaces, escape(text))
    if body.startswith(" "):
        body = "<text:s/>" + body[1:]
    return "<text:p>%s</text:p>" % body


def text_cell(text, style=None):
    attrs = ' table:style-name="%s"' % style if style else ""
    return '<table:table-cell%s office:value-type="string">%s</table:table-cell>' % (
        attrs, paragraph(text))


def formula_cell(formula, value):
    return ('<table:table-cell table:formula=%s office:value-type="string" '
            'office:string-value=%s>%s</table:table-cell>' % (
                quoteattr("of:=" + formula), quoteattr(value), paragraph(value)))


def content():
    face = library.face_name("128", "normal")
    rows = ['<table:table-row table:style-name="ro1">' +
            text_cell("Item", "heading") + text_cell("Code 128", "heading") +
            text_cell("Problem", "heading") + "</table:table-row>"]
    for row, item in enumerate(ITEMS, start=2):
        rows.append(
            '<table:table-row>' + text_cell(item) +
            formula_cell("%sCODE128([.A%d])" % (FUNCTION_PREFIX, row),
                         library.encode("128", item)) +
            formula_cell('%sBARCODE_ERROR("128";[.A%d])' % (FUNCTION_PREFIX, row), "") +
            "</table:table-row>")
    return """<?xml version="1.0" encoding="UTF-8"?>
<office:document-content %(ns)s office:version="1.3">
 <office:font-face-decls>
  <style:font-face style:name=%(face)s svg:font-family=%(family)s/>
 </office:font-face-decls>
 <office:automatic-styles>
  <style:style style:name="co1" style:family="table-column">
   <style:table-column-properties style:column-width="3.5cm"/>
  </style:style>
  <style:style style:name="co2" style:family="table-column">
   <style:table-column-properties style:column-width="8.5cm"/>
  </style:style>
  <style:style style:name="co3" style:family="table-column">
   <style:table-column-properties style:column-width="4.5cm"/>
  </style:style>
  <style:style style:name="ro1" style:family="table-row">
   <style:table-row-properties style:use-optimal-row-height="true"/>
  </style:style>
  <style:style style:name="barcode" style:family="table-cell" style:parent-style-name="Default">
   <style:table-cell-properties style:vertical-align="middle"/>
   <style:text-properties style:font-name=%(face)s fo:font-size="24pt"/>
  </style:style>
  <style:style style:name="heading" style:family="table-cell" style:parent-style-name="Default">
   <style:text-properties fo:font-weight="bold"/>
  </style:style>
 </office:automatic-styles>
 <office:body>
  <office:spreadsheet>
   <table:table table:name="Bar codes">
    <table:table-column table:style-name="co1"/>
    <table:table-column table:style-name="co2" table:default-cell-style-name="barcode"/>
    <table:table-column table:style-name="co3"/>
    %(rows)s
   </table:table>
  </office:spreadsheet>
 </office:body>
</office:document-content>
""" % {"ns": DECLARATIONS, "face": quoteattr(face), "family": quoteattr("'%s'" % face),
       "rows": "\n    ".join(rows)}


MANIFEST = """<?xml version="1.0" encoding="UTF-8"?>
<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0"
                   manifest:version="1.3">
 <manifest:file-entry manifest:full-path="/"
                      manifest:media-type="application/vnd.oasis.opendocument.spreadsheet"/>
 <manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>
 <manifest:file-entry manifest:full-path="meta.xml" manifest:media-type="text/xml"/>
</manifest:manifest>
"""

META = """<?xml version="1.0" encoding="UTF-8"?>
<office:document-meta %s office:version="1.3">
 <office:meta><meta:generator>Stripewright</meta:generator></office:meta>
</office:document-meta>
""" % DECLARATIONS


def main():
    out = sys.argv[1]
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    temporary = out + ".part"
    # Fixed times keep the file the same from build to build.
    stamp = (2026, 1, 1, 0, 0, 0)
    with zipfile.ZipFile(temporary, "w") as z:
        # The media type comes first and uncompressed, as ODF requires.
        z.writestr(zipfile.ZipInfo("mimetype", stamp),
                   "application/vnd.oasis.opendocument.spreadsheet", zipfile.ZIP_STORED)
        for name, text in (("META-INF/manifest.xml", MANIFEST), ("meta.xml", META),
                           ("content.xml", content())):
            z.writestr(zipfile.ZipInfo(name, stamp), text.encode("utf-8"), zipfile.ZIP_DEFLATED)
    os.replace(temporary, out)


if __name__ == "__main__":
    main()
