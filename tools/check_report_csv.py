#!/usr/bin/env python3
"""Checks that the comma-separated report parses with Python's csv module (RFC 4180) back to
the exact header texts entered, whatever blanks, commas, quotes or non-ASCII letters they hold.
Usage: tools/check_report_csv.py [path/to/qmxcli]   (default build/apps/qmxcli/qmxcli)
Exits 1 and names the text on any difference."""
import csv
import io
import os
import subprocess
import sys

TEXTS = {
    "company": "A  B   C",
    "location": 'Field, "North" 7',
    "well": " 12-B ",
    "meter_tag": "FT-101, \u00e9t\u00e9 \u20ac",
    "prepared_by": '"quoted"',
}

# Each header text sits in the field after its label (the company has no label).
LABELS = {"company": "", "location": "Location ", "well": "Well # ", "meter_tag": "Meter tag# ",
          "prepared_by": "Prepared by "}


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    exe = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build", "apps", "qmxcli", "qmxcli")
    args = [exe, "report", "--csv"] + [f"{k}={v}" for k, v in TEXTS.items()]
    out = subprocess.run(args, check=True, capture_output=True).stdout.decode("utf-8")
    rows = list(csv.reader(io.StringIO(out, newline=""), strict=True))
    fields = [f for row in rows for f in row]
    failed = False
    for key, text in TEXTS.items():
        wanted = LABELS[key] + text
        if wanted not in fields:
            print(f"{key}: {wanted!r} is not one field of the report", file=sys.stderr)
            failed = True
    # Every record must also come back exactly when written out again in the same dialect.
    again = io.StringIO(newline="")
    csv.writer(again, lineterminator="\r\n").writerows(rows)
    if list(csv.reader(io.StringIO(again.getvalue(), newline=""))) != rows:
        print("the records do not round-trip", file=sys.stderr)
        failed = True
    print(f"{len(rows)} records, {len(fields)} fields: {'FAILED' if failed else 'ok'}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
