#!/usr/bin/env python3
"""One word for each concept: the Japanese guide and manual pages and the
README's Japanese part use no word that docs/ja/glossary.md sets aside (its
first table's third column, notes in parentheses left out). The program's
texts are quoted as it shows them: the fixed ones of the glossary's second
table. The program's own texts (each folder's texts.txt) follow the same
glossary, the fixed ones excepted.

    check_words.py GUIDE_DIR MAN_DIR README [TEXTS...]
"""
import os
import re
import sys

def tables(text):
    """The body rows of each table, as lists of cells."""
    blocks = re.findall(r"(?:^\|.*\n)+", text + "\n", re.M)
    return [[[cell.strip() for cell in row.strip("|").split("|")] for row in block.splitlines()[2:]]
            for block in blocks]


def main():
    guide, man, readme, *catalogs = sys.argv[1:]
    words, fixed = tables(open(os.path.join(guide, "glossary.md"), encoding="utf-8").read())[:2]
    aside = {word.strip(): row[1] for row in words
             for word in re.sub(r"\s*\([^)]*\)", "", row[2]).split("、") if word.strip() not in ("", "—")}
    # A fixed text that is itself a word set aside is allowed in its brackets only.
    allowed = [cell if cell[1:-1] in aside else cell[1:-1] for cell, *_ in fixed]
    # A catalog's value is compared as the window shows it: without its
    # quotes, line breaks and the hint's leading bar.
    shown = {cell[1:-1] for cell, *_ in fixed}
    files = [os.path.join(guide, name) for name in sorted(os.listdir(guide)) if name != "glossary.md"]
    files += [os.path.join(man, name) for name in sorted(os.listdir(man))] + [readme]
    failures = []
    for path in (f for f in files if f.endswith((".md", ".1"))):
        text = open(path, encoding="utf-8").read().split("## In English")[0]
        for number, line in enumerate(text.splitlines(), 1):
            line = re.sub("|".join(map(re.escape, allowed)), "", line)
            failures += [f"{path}:{number}: 「{word}」 (glossary: 「{chosen}」)" for word, chosen in aside.items()
                         if word in line]
    for path in catalogs:
        for number, line in enumerate(open(path, encoding="utf-8").read().splitlines(), 1):
            name, _, value = line.partition(" = ")
            if line.startswith("#") or not value:
                continue
            plain = re.sub(r"\\n", "", value.strip()).strip('"').lstrip("|　")
            if plain in shown:
                continue
            failures += [f"{path}:{number}: 「{word}」 (glossary: 「{chosen}」)" for word, chosen in aside.items()
                         if word in plain]
    print("\n".join(failures + [f"{len(aside)} words set aside, {len(failures)} problems"]))
    return 1 if failures or not aside else 0


if __name__ == "__main__":
    sys.exit(main())
