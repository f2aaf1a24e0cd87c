#!/usr/bin/env python3
"""Writes the worked examples as rows of a C table, for the package's library test: each row's
expected font string as written, or stripewright-encode's answer where it says "-".

    resolve_examples.py STRIPEWRIGHT_ENCODE EXAMPLES.tsv OUT.h
"""

import re
import subprocess
import sys


def c_string(text):
    """A C string literal of the UTF-8 bytes; octal escapes, which take at most three digits."""
    out = []
    for b in text.encode("utf-8"):
        c = chr(b)
        out.append(c if 32 <= b < 127 and c not in '"\\?' else "\\%03o" % b)
    return '"' + "".join(out) + '"'


def encoder_answer(encoder, type, checksum, data):
    """(status, font string or message) from stripewright-encode, the data on a line of its own."""
    args = [encoder, "--type", type] + (["--checksum"] if checksum else [])
    run = subprocess.run(args, input=(data + "\n").encode(), capture_output=True)
    if run.returncode == 0:
        return "STRIPEWRIGHT_OK", run.stdout.decode().removesuffix("\n")
    if run.returncode == 1:
        message = run.stderr.decode().removesuffix("\n")
        if not message.startswith("line 1: "):
            sys.exit("unexpected message for %s %r: %r" % (type, data, message))
        return "STRIPEWRIGHT_BAD_DATA", message.removeprefix("line 1: ")
    sys.exit("stripewright-encode failed for %s %r: %s" % (type, data, run.stderr.decode()))


def main():
    encoder, examples, out = sys.argv[1:4]
    rows = []
    with open(examples, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            type, checksum, data, expected = line.split("\t")
            data = re.sub(r"\\(.)", lambda m: "\t" if m[1] == "t" else m[1], data)
            status = "STRIPEWRIGHT_OK"
            if expected == "-":
                status, expected = encoder_answer(encoder, type, checksum == "1", data)
            rows.append("{%s, %s, %s, %s, %s}," % (c_string(type), checksum, c_string(data),
                                                   status, c_string(expected)))
    with open(out, "w", encoding="utf-8") as f:
        f.write("\n".join(rows) + "\n")


if __name__ == "__main__":
    main()
