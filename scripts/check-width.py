#!/usr/bin/env python3
# Prints each line of a CR LF text wider than 80 columns as Notepad shows it with word wrap off:
# East Asian wide and fullwidth characters take two columns, as wcwidth counts them. A line
# indented by two spaces or more without such characters (a command, a path) may be wider.
# Exits 1 if there is one.   check-width.py FILE
import sys
import unicodedata

def wide(c):
    return unicodedata.east_asian_width(c) in "WF"

too_wide = 0
with open(sys.argv[1], encoding="utf-8-sig", newline="") as text:
    for number, line in enumerate(text.read().split("\r\n"), 1):
        columns = sum(2 if wide(c) else 1 for c in line)
        if columns > 80 and (not line.startswith("  ") or any(wide(c) for c in line)):
            print(f"{sys.argv[1]}:{number}: {columns} columns: {line}")
            too_wide = 1
sys.exit(too_wide)
