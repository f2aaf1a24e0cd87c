#!/usr/bin/python3
"""Writes the C++ table of GS1 application identifiers (declared in barcode/gs1_ai.h) from
ais.txt, checking the table on the way: a fault in it stops the build.

    make_ai_table.py ais.txt OUTPUT.cpp

Ranges of AIs become one entry per AI; identical component lists, alternatives and patterns are
shared.
"""

import os
import re
import sys

CHARSETS = {"N": "Digits", "X": "Cset82", "Y": "Cset39", "Z": "Cset64"}

CHECKS = {
    "csum": "CheckDigit",
    "csumalpha": "CheckPair",
    "yymmdd": "Date",
    "yymmd0": "DateOrMonth",
    "yyyymmdd": "FullDate",
    "hhmi": "Time",
    "hh": "Hour",
    "mi": "Minute",
    "ss": "Second",
    "iso3166": "Country",
    "iso3166999": "CountryOrUnknown",
    "iso3166alpha2": "CountryAlpha2",
    "iso4217": "Currency",
    "pieceoftotal": "PieceOfTotal",
    "yesno": "YesNo",
    "zero": "Zero",
    "nonzero": "NonZero",
    "winding": "Winding",
    "hyphen": "Hyphen",
    "latitude": "Latitude",
    "longitude": "Longitude",
    "pcenc": "PercentEncoded",
    "iso5218": "Sex",
    "posinseqslash": "PositionInSequence",
    "nozeroprefix": "NoLeadingZero",
    "hasnondigit": "NotAllDigits",
    "iban": "Iban",
    "importeridx": "ImporterIndex",
}

# Checks not made: the position of the GS1 Company Prefix needs GS1's table of prefix lengths,
# which changes as GS1 allocates prefixes; the coupon structures are a small language of their
# own; the media and package type code lists grow, and a stale list would refuse good data.
NOT_CHECKED = {"gcppos1", "gcppos2", "couponcode", "couponposoffer", "mediatype", "packagetype"}

MAX_CHECKS = 2  # per component, as Component::checks holds them
LISTS = {"country": 1000, "country-alpha2": 26 * 26, "currency": 1000}


class TableError(Exception):
    pass


def parse_component(word):
    m = re.fullmatch(r"(\[)?([NXYZ])(\.\.)?(\d+)(\])?((?:,[a-z0-9]+)*)", word)
    if not m or bool(m.group(1)) != bool(m.group(5)):
        raise TableError("bad component %r" % word)
    optional, kind, varying, length = bool(m.group(1)), m.group(2), bool(m.group(3)), int(m.group(4))
    checks = []
    for name in m.group(6).split(",")[1:]:
        if name in CHECKS:
            checks.append(CHECKS[name])
        elif name not in NOT_CHECKED:
            raise TableError("unknown check %r" % name)
    if len(checks) > MAX_CHECKS:
        raise TableError("more than %d checks in %r" % (MAX_CHECKS, word))
    if not 1 <= length <= 255:
        raise TableError("bad length in %r" % word)
    return (CHARSETS[kind], 1 if varying else length, length, optional,
            tuple(checks + ["None"] * (MAX_CHECKS - len(checks))))


def parse_associations(words, code):
    needs, excludes = None, None
    for word in words:
        key, _, value = word.partition("=")
        groups = value.split(",")
        if key == "req" and needs is None:
            needs = [tuple(g.split("+")) for g in groups]
        elif key == "ex" and excludes is None:
            excludes = groups
        else:
            raise TableError("%s: unexpected %r" % (code, word))
    return needs or [], excludes or []


def read_table(path):
    ais, lists = [], {name: set() for name in LISTS}
    for number, line in enumerate(open(path, encoding="utf-8"), 1):
        body = line.split("#", 1)[0].split()
        if not body:
            continue
        try:
            if body[0] == "list":
                if body[1] not in LISTS:
                    raise TableError("unknown list %r" % body[1])
                lists[body[1]].update(body[2:])
                continue
            codes, fnc1, rest = body[0], body[1], body[2:]
            if fnc1 not in ("yes", "no"):
                raise TableError("FNC1 must be yes or no, not %r" % fnc1)
            first, _, last = codes.partition("-")
            last = last or first
            if not (first.isdigit() and last.isdigit() and len(first) == len(last)
                    and 2 <= len(first) <= 4 and first <= last):
                raise TableError("bad AI %r" % codes)
            split = next((i for i, w in enumerate(rest) if re.match(r"req=|ex=", w)), len(rest))
            components = tuple(parse_component(w) for w in rest[:split])
            associations = rest[split:]
            check_components(components)
            needs, excludes = parse_associations(associations, codes)
            if fnc1 == "no" and any(c[1] != c[2] or c[3] for c in components):
                raise TableError("an AI of predefined length has components of varying length")
            for value in range(int(first), int(last) + 1):
                code = str(value).zfill(len(first))
                ais.append((code, fnc1 == "yes", components, needs, excludes))
        except TableError as e:
            raise TableError("%s:%d: %s" % (path, number, e))
    return ais, lists


def check_components(components):
    if not components:
        raise TableError("no components")
    for i, (_, low, high, optional, _) in enumerate(components):
        if low != high and i != len(components) - 1:
            raise TableError("only the last component may vary in length")
        if not optional and any(c[3] for c in components[:i]):
            raise TableError("a mandatory component follows an optional one")
    if sum(c[2] for c in components) > 90:
        raise TableError("more than 90 characters of data")


def check_table(ais, lists):
    codes = [a[0] for a in ais]
    if codes != sorted(codes) or len(set(codes)) != len(codes):
        raise TableError("AIs out of order or twice")
    digits = {}
    for code in codes:
        if digits.setdefault(code[:2], len(code)) != len(code):
            raise TableError("AIs beginning %s differ in length" % code[:2])
    for code, _, _, needs, excludes in ais:
        for pattern in [p for group in needs for p in group] + excludes:
            rx = re.compile(pattern.replace("n", "[0-9]") + "$")
            if not re.fullmatch(r"[0-9n]{2,4}", pattern) or not any(rx.match(c) for c in codes):
                raise TableError("(%s): %r matches no AI" % (code, pattern))
    for name, codes_of in lists.items():
        for c in codes_of:
            if not (re.fullmatch(r"[0-9]{3}", c) if LISTS[name] == 1000 else
                    re.fullmatch(r"[A-Z]{2}", c)):
                raise TableError("list %s: bad code %r" % (name, c))
        if not codes_of:
            raise TableError("list %s is empty" % name)
    return digits


def bits(codes, size):
    words = [0] * ((size + 63) // 64)
    for c in codes:
        n = int(c) if c.isdigit() else 26 * (ord(c[0]) - 65) + (ord(c[1]) - 65)
        words[n // 64] |= 1 << (n % 64)
    return words


class Pool:
    """Entries shared by every AI that has the same ones, in a run of their own."""

    def __init__(self):
        self.items, self.runs = [], {}

    def add(self, entries):
        entries = tuple(entries)
        if not entries:
            return (0, 0)
        if entries not in self.runs:
            self.runs[entries] = (len(self.items), len(entries))
            self.items.extend(entries)
        return self.runs[entries]


def generate(ais, lists, digits):
    components, patterns, alternatives = Pool(), Pool(), Pool()
    rows = []
    for code, separator, comps, needs, excludes in ais:
        c = components.add(comps)
        n = alternatives.add(patterns.add(group) for group in needs)
        e = patterns.add(excludes)
        rows.append('{"%s", %s, {%d, %d}, {%d, %d}, {%d, %d}}' % (
            code, "true" if separator else "false", *c, *n, *e))
    prefixes = []
    for p in range(100):
        key = "%02d" % p
        members = [i for i, a in enumerate(ais) if a[0][:2] == key]
        first = members[0] if members else 0
        prefixes.append("{%d, {%d, %d}}" % (digits.get(key, 0), first, len(members)))
    comp_rows = ["{Charset::%s, %d, %d, %s, {Check::%s, Check::%s}}" % (
        cs, low, high, "true" if opt else "false", *checks)
        for cs, low, high, opt, checks in components.items]

    def words(name):
        return ", ".join("0x%016xULL" % w for w in bits(lists[name], LISTS[name]))

    out = [
        "// Generated by src/barcode/gs1/make_ai_table.py from src/barcode/gs1/ais.txt. Do not edit.",
        '#include "barcode/gs1_ai.h"',
        "",
        "namespace sw::gs1 {",
        "namespace {",
        "",
        "constexpr std::array<Ai, %d> kAiTable{{" % len(rows),
    ]
    out += ["    %s," % r for r in rows]
    out += ["}};", "static_assert(kAiTable.size() == %d);" % len(rows), ""]
    out += ["constexpr std::array<Prefix, 100> kPrefixTable{{"]
    out += ["    %s," % r for r in prefixes]
    out += ["}};", "static_assert(kPrefixTable.size() == 100);", ""]
    out += ["constexpr std::array<Component, %d> kComponentTable{{" % len(comp_rows)]
    out += ["    %s," % r for r in comp_rows]
    out += ["}};", "static_assert(kComponentTable.size() == %d);" % len(comp_rows), ""]
    out += ["constexpr std::array<Run, %d> kAlternativeTable{{" % len(alternatives.items)]
    out += ["    {%d, %d}," % a for a in alternatives.items]
    out += ["}};", "static_assert(kAlternativeTable.size() == %d);" % len(alternatives.items), ""]
    out += ["constexpr std::array<std::string_view, %d> kPatternTable{" % len(patterns.items)]
    out += ['    "%s",' % p for p in patterns.items]
    out += ["};", "static_assert(kPatternTable.size() == %d);" % len(patterns.items), ""]
    out += [
        "// Every run lies inside its pool, and the AIs are in order, as FindAi's search needs.",
        "constexpr bool Within(Run r, std::size_t size) {",
        "    return r.first + r.count <= size;",
        "}",
        "constexpr bool Consistent() {",
        "    for (std::size_t i = 0; i < kAiTable.size(); ++i) {",
        "        const Ai& a = kAiTable[i];",
        "        if ((i > 0 && !(kAiTable[i - 1].code < a.code)) || a.components.count == 0 ||",
        "            !Within(a.components, kComponentTable.size()) ||",
        "            !Within(a.needs, kAlternativeTable.size()) ||",
        "            !Within(a.excludes, kPatternTable.size()))",
        "            return false;",
        "    }",
        "    for (const Run& r : kAlternativeTable) {",
        "        if (!Within(r, kPatternTable.size()))",
        "            return false;",
        "    }",
        "    for (const Prefix& p : kPrefixTable) {",
        "        if (!Within(p.ais, kAiTable.size()))",
        "            return false;",
        "    }",
        "    return true;",
        "}",
        "static_assert(Consistent());",
        "",
        "}  // namespace",
        "",
        "const std::span<const Ai> kAis = kAiTable;",
        "const std::span<const Prefix> kPrefixes = kPrefixTable;",
        "const std::span<const Component> kComponents = kComponentTable;",
        "const std::span<const Run> kAlternatives = kAlternativeTable;",
        "const std::span<const std::string_view> kPatterns = kPatternTable;",
        "const std::array<std::uint64_t, 16> kCountries{%s};" % words("country"),
        "const std::array<std::uint64_t, 11> kCountriesAlpha2{%s};" % words("country-alpha2"),
        "const std::array<std::uint64_t, 16> kCurrencies{%s};" % words("currency"),
        "",
        "}  // namespace sw::gs1",
        "",
    ]
    return "\n".join(out)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write("usage: make_ai_table.py ais.txt OUTPUT.cpp\n")
        return 2
    try:
        ais, lists = read_table(argv[1])
        digits = check_table(ais, lists)
    except TableError as e:
        sys.stderr.write("make_ai_table.py: %s\n" % e)
        return 1
    text = generate(ais, lists, digits)
    with open(argv[2] + ".tmp", "w", encoding="utf-8") as f:
        f.write(text)
    os.replace(argv[2] + ".tmp", argv[2])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
