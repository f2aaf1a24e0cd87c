#!/usr/bin/python3
"""Writes src/barcode/gs1/ais.txt, the table of GS1 application identifiers the encoder checks
element strings against, from a release of GS1's Barcode Syntax Dictionary and the ISO country
and currency codes of Debian's iso-codes package. Run it by hand when GS1 publishes a new
release; the build reads only the table it writes.

    import-gs1-dictionary.py DICTIONARY.txt [ISO_CODES_JSON_DIR] > src/barcode/gs1/ais.txt

It keeps each entry's AIs, the predefined-length flag, the components with their checks and the
req=/ex= associations, and drops what concerns only GS1 Digital Link URIs (the "?" flag and the
dlpkey attributes).
"""

import json
import os
import re
import sys

HEADER = """\
# GS1 application identifiers: every AI, the format of its data and the checks that apply.
# The build turns this table into the C++ table the GS1-128 encoder checks element strings
# against (make_ai_table.py); tools/import-gs1-dictionary.py writes it from a release of GS1's
# Barcode Syntax Dictionary.
#
# Made from the GS1 Barcode Syntax Dictionary, changed: reformatted, the GS1 Digital Link
# attributes left out, the ISO code lists added at the end. Its notice:
#
#   Copyright (c) 2020-2021 BWIPP project. https://bwipp.terryburton.co.uk/
#   Copyright (c) 2020-2021 Zint Project. https://zint.org.uk/
#   Copyright (c) 2021-2025 GS1 AISBL
#
#   Licensed under the Apache License, Version 2.0 (the "License");
#   you may not use this file except in compliance with the License.
#
#   You may obtain a copy of the License at
#
#       http://www.apache.org/licenses/LICENSE-2.0
#
#   Unless required by applicable law or agreed to in writing, software
#   distributed under the License is distributed on an "AS IS" BASIS,
#   WITHOUT WARRANTIES OR CONDITIONS OF ANY KIND, either express or implied.
#   See the License for the specific language governing permissions and
#   limitations under the License.
#
# An entry: AI or FIRST-LAST, then FNC1 ("yes": an FNC1 follows the element string when another
# comes after it; "no": its length is predefined and none is needed), then the components of
# the data in order, then the associations, then "#" and GS1's short title.
#
#   Component  TYPE[,CHECK...], in brackets when optional (only at the end). TYPE is N (digits),
#              X (GS1 character set 82), Y (set 39) or Z (set 64, base64url), followed by the
#              length ("N6") or the longest length ("X..20"); only the last may vary.
#   req=A,B+C  needs (A), or (B) together with (C), in the same data; "n" stands for any digit.
#   ex=A,B     may not stand with (A) or (B); an AI never excludes itself.
#
# The lists at the end give the codes that the country and currency checks accept:
#   list country NNN...        ISO 3166-1 numeric codes
#   list country-alpha2 AA...  ISO 3166-1 alpha-2 codes
#   list currency NNN...       ISO 4217 numeric codes
"""


def entries(dictionary):
    out = []
    for line in open(dictionary, encoding="utf-8"):
        line = line.rstrip("\n")
        if not line.strip() or line.startswith("#"):
            continue
        body, _, title = line.partition("#")
        words = body.split()
        ais = words.pop(0)
        flags = ""
        if words and re.fullmatch(r"[*!?\"$%&'()+,\-./:;<=>@\[\\\]^_`{|}~]+", words[0]):
            flags = words.pop(0)
        components = [w for w in words if re.match(r"\[?[NXYZ]", w)]
        attributes = [w for w in words if w.startswith(("req=", "ex="))]
        rest = [w for w in words if w not in components and w not in attributes]
        if any(not w.startswith("dlpkey") for w in rest):
            raise SystemExit("%s: unexpected %r" % (ais, rest))
        out.append((ais, "no" if "*" in flags else "yes", components, attributes, title.strip()))
    return out


# Codes newer than the iso-codes release of Debian 12.
NEWER_CURRENCIES = ["924"]  # ZWG, 2024


def code_lists(iso_dir):
    countries = json.load(open(os.path.join(iso_dir, "iso_3166-1.json"), encoding="utf-8"))
    currencies = json.load(open(os.path.join(iso_dir, "iso_4217.json"), encoding="utf-8"))
    return [
        ("country", sorted(c["numeric"] for c in countries["3166-1"])),
        ("country-alpha2", sorted(c["alpha_2"] for c in countries["3166-1"])),
        ("currency", sorted(set(c["numeric"] for c in currencies["4217"] if "numeric" in c)
                            | set(NEWER_CURRENCIES))),
    ]


def main(argv):
    if len(argv) not in (2, 3):
        sys.stderr.write(__doc__)
        return 2
    iso_dir = argv[2] if len(argv) == 3 else "/usr/share/iso-codes/json"
    lines = [HEADER]
    lines.append("# AIs     FNC1  Components                          Associations")
    for ais, fnc1, components, attributes, title in entries(argv[1]):
        left = "%-9s %-5s %-35s %s" % (ais, fnc1, " ".join(components), " ".join(attributes))
        lines.append(("%-88s # %s" % (left, title)).rstrip() if title else left.rstrip())
    lines.append("")
    for name, codes in code_lists(iso_dir):
        for i in range(0, len(codes), 20):
            lines.append("list %s %s" % (name, " ".join(codes[i:i + 20])))
    sys.stdout.write("\n".join(lines) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
