#!/usr/bin/env python3
"""One word for each concept: the Japanese guide, the Japanese manual pages
and the README's Japanese part use none of the words the glossary
(docs/ja/glossary.md) sets aside: its first table's third column, notes in
parentheses left out. Texts the program shows are quoted as it writes them:
the fixed ones the glossary's second table lists, and PENDING, program texts
still awaiting the glossary's word (an entry goes when the program changes).

    check_words.py GUIDE_DIR MAN_DIR README
"""
import os
import re
import sys

PENDING = ["描いた画像: ", "ログオン時の自動実行: ", "毎日 0 時 1 分の描き直し: ", "(終了コード "]


def tables(text):
    """The rows of each table, as lists of cells, table by table."""
    found, rows = [], []
    for line in text.splitlines() + [""]:
        if line.startswith("|") and not line.startswith("|---"):
            rows.append([cell.strip() for cell in line.strip("|").split("|")])
        elif not line.startswith("|") and rows:
            found.append(rows[1:])
            rows = []
    return found


def main():
    guide, man, readme = sys.argv[1:4]
    with open(os.path.join(guide, "glossary.md"), encoding="utf-8") as f:
        words, fixed = tables(f.read())[:2]
    aside = {word.strip(): row[1] for row in words
             for word in re.sub(r"\s*\([^)]*\)", "", row[2]).split("、") if word.strip() not in ("", "—")}
    # A fixed text that is itself a word set aside is allowed in its brackets only.
    allowed = [cell if cell[1:-1] in aside else cell[1:-1] for cell in (row[0] for row in fixed)] + PENDING
    files = [os.path.join(guide, name) for name in sorted(os.listdir(guide))
             if name.endswith(".md") and name != "glossary.md"]
    files += [os.path.join(man, name) for name in sorted(os.listdir(man))] + [readme]
    failures = []
    for path in files:
        with open(path, encoding="utf-8") as f:
            text = f.read().split("## In English")[0]
        for number, line in enumerate(text.splitlines(), 1):
            for text_allowed in allowed:
                line = line.replace(text_allowed, "")
            failures += [f"{path}:{number}: 「{word}」: the glossary says 「{chosen}」"
                         for word, chosen in aside.items() if word in line]
    print("\n".join(failures + [f"{len(files)} files, {len(aside)} words set aside, {len(failures)} problems"]))
    return 1 if failures or not aside else 0


if __name__ == "__main__":
    sys.exit(main())
