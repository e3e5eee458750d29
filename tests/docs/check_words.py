#!/usr/bin/env python3
"""One word for each concept: the Japanese user's guide, the Japanese manual
pages and the Japanese part of the README use the words docs/ja/glossary.md
chooses, not the synonyms it sets aside.

RULES holds, for each chosen word, the words set aside and their patterns
(each named in the glossary, which this check confirms). Texts the program shows
are quoted as the program writes them: the window's texts fixed by its
design keep their words for good (FIXED, also listed in the glossary), and
PENDING holds program texts still awaiting the glossary's word; an entry
goes when the program's text changes.

    check_words.py GUIDE_DIR MAN_DIR README
"""
import os
import re
import sys

# (chosen word, a word set aside as the glossary names it, its pattern)
RULES = [
    ("ログオン", "ログイン", "ログイン"),
    ("ログオン時の起動", "自動起動", "自動起動"),
    ("ログオン時の起動", "自動実行", "自動実行"),
    ("ログオン時の起動", "スタートアップ", "スタートアップ"),
    ("ログオン時の起動", "ログオン時の実行", "ログオン時の実行"),
    ("ショートカット", "起動用アイコン", "起動用アイコン"),
    ("ショートカット", "起動用ショートカット", "起動用ショートカット"),
    ("ショートカット", "ランチャー", "ランチャー"),
    # The noun; the verb (描き直す, 描き直します, 描き直して, 描き直し、) is fine.
    ("毎日の再描画", "描き直し", "描き直し(?![まてた、])"),
    ("主モニター", "メイン", "メイン"),
    ("絵", "画像", "画像"),
    # The page, the grid's column and the settings' group are 「スケジュール」.
    ("予定", "スケジュール", "(?<!「)スケジュール(?!」)"),
    ("利用ガイド", "サポートページ", "サポートページ"),
    ("利用ガイド", "説明書", "説明書"),
    ("終了ステータス", "終了コード", "終了コード"),
    # The stored password is scrambled, not encrypted.
    ("スクランブル", "暗号化", "暗号化[^。\n]{0,12}保存|保存[^。\n]{0,12}暗号化"),
]

FIXED = [
    "スタートアップ時のメール受信",
    "スタートアップとデスクトップにショートカットを作成してもよろしいですか。",
    "「Corkpane」サポートページを表示します。",
    "#※「PassWord」は、暗号化しているので書き換えは不可！",
    "「暗号化しているので」",
]

PENDING = [
    "描いた画像: ",
    "ログオン時の自動実行: ",
    "毎日 0 時 1 分の描き直し: ",
    "(終了コード ",
]


def japanese_text(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    if os.path.basename(path) == "README.md":
        text = text.split("## In English")[0]
    return text


def problems(path):
    found = []
    for number, line in enumerate(japanese_text(path).splitlines(), 1):
        for allowed in FIXED + PENDING:
            line = line.replace(allowed, " " * len(allowed))
        for chosen, _, pattern in RULES:
            for m in re.finditer(pattern, line):
                found.append(f"{path}:{number}: 「{m.group(0)}」: the glossary says 「{chosen}」")
    return found


def main():
    guide, man, readme = sys.argv[1:4]
    glossary = japanese_text(os.path.join(guide, "glossary.md"))
    failures = []
    for chosen, aside, _ in RULES:
        for word in (chosen, aside):
            if word not in glossary:
                failures.append(f"glossary.md does not name 「{word}」")
    for fixed in FIXED[:4]:
        if fixed not in glossary:
            failures.append(f"glossary.md does not list the fixed text 「{fixed}」")
    files = [os.path.join(guide, name) for name in sorted(os.listdir(guide))
             if name.endswith(".md") and name != "glossary.md"]
    files += [os.path.join(man, name) for name in sorted(os.listdir(man)) if name.endswith(".1")]
    for path in files + [readme]:
        failures += problems(path)
    for failure in failures:
        print(failure)
    print(f"{len(files) + 1} files checked, {len(failures)} problems")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
