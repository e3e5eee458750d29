#!/usr/bin/env python3
"""The English and Japanese manual pages say the same: the same options
(/su, --help, --dir, ...), the same entries under each heading and the same
number of sections. Each page also renders without a warning from man (a
Japanese line too long to break is one).

    check_manpages.py DIST_SOURCE_DIR CONFIGURED_MAN_DIR
"""
import os
import re
import subprocess
import sys

PAGES = ["corkpane.1", "corkpane-tool.1", "corkpane-tool-full.1"]
OPTION = re.compile(r"(?<![\w./-])(--?[a-z][a-z0-9-]*|/su\b)")


def text_of(path):
    with open(path, encoding="utf-8") as f:
        return f.read().replace("\\-", "-")


def options(text):
    return sorted(set(OPTION.findall(text)))


def entries(text):
    """The first word of each .TP item's heading line, in order."""
    lines = text.splitlines()
    found = []
    for i, line in enumerate(lines[:-1]):
        if line.strip() == ".TP":
            words = re.sub(r'^\.\w+\s*', "", lines[i + 1]).replace('"', " ").split()
            found.append(re.sub(r"\\f[RBIP]", "", words[0]) if words else "")
    return found


def sections(text):
    return sum(1 for line in text.splitlines() if line.startswith(".SH"))


def render_warnings(path):
    run = subprocess.run(["man", "--warnings", "-E", "UTF-8", "-l", "-Tutf8", "-Z", path],
                         capture_output=True, text=True,
                         env=dict(os.environ, LANG="C.UTF-8", MANWIDTH="80"))
    return [line for line in run.stderr.splitlines() if line.strip()] + (
        [f"man exited {run.returncode}"] if run.returncode else [])


def main():
    dist, configured = sys.argv[1], sys.argv[2]
    failures = []
    for page in PAGES:
        english = text_of(os.path.join(dist, page))
        japanese = text_of(os.path.join(dist, "ja", page))
        for what, get in (("options", options), ("entries", entries), ("sections", sections)):
            if get(english) != get(japanese):
                failures.append(f"{page}: {what} differ: English {get(english)}, Japanese {get(japanese)}")
        for language in ("en", "ja"):
            path = os.path.join(configured, language, page)
            for warning in render_warnings(path):
                failures.append(f"{language}/{page}: {warning}")
    for failure in failures:
        print(failure)
    print(f"{len(PAGES) * 2} pages checked, {len(failures)} problems")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
