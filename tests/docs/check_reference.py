#!/usr/bin/env python3
"""Fails when an export of the public headers has no complete entry in docs/.

An export is a function declared with VEK_API, MORPH_API or DAX64_API. Its entry is
a heading "### `Name`" in one of docs/*.md, whose text (up to the next heading)
names its errors and gives an example.
Usage: check_reference.py SOURCE_DIR
"""

import re
import sys
from pathlib import Path

HEADERS = ["vek/include/vek64.h", "vek/include/vek64_store.h", "vek/include/vek64_objects.h",
           "morph/include/morph64.h", "dax/include/dax64.h", "dax/include/dax64_server.h"]
DECLARATION = re.compile(r"\b(?:VEK|MORPH|DAX64)_API\b[^;(]*?\b(\w+)\s*\(", re.S)
HEADING = re.compile(r"^### `(\w+)`\s*$", re.M)


def exports(source: Path) -> list:
    names = []
    for header in HEADERS:
        text = (source / header).read_text()
        text = re.sub(r"/\*.*?\*/|//[^\n]*", "", text, flags=re.S)
        text = re.sub(r"^\s*#\s*define[^\n]*", "", text, flags=re.M)
        names += DECLARATION.findall(text)
    return names


def entries(source: Path) -> dict:
    found = {}
    for page in sorted((source / "docs").glob("*.md")):
        text = page.read_text()
        marks = list(HEADING.finditer(text))
        for index, mark in enumerate(marks):
            end = marks[index + 1].start() if index + 1 < len(marks) else len(text)
            found[mark.group(1)] = (page.name, text[mark.end():end])
    return found


def main() -> int:
    source = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parents[2]
    names = exports(source)
    documented = entries(source)
    problems = []
    for name in names:
        if name not in documented:
            problems.append(f"{name}: no entry in docs/")
            continue
        page, body = documented[name]
        if "Example" not in body:
            problems.append(f"{name} ({page}): no example")
        if "Errors" not in body and "error" not in body.lower():
            problems.append(f"{name} ({page}): no word on its errors")
        if name + "(" not in body.replace(" (", "("):
            problems.append(f"{name} ({page}): no signature")
    for problem in problems:
        print(problem)
    print(f"{len(names)} exports, {len(names) - len(problems)} complete entries")
    return 1 if problems or len(names) < 100 else 0


if __name__ == "__main__":
    sys.exit(main())
