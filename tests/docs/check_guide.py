#!/usr/bin/env python3
"""Keeps the user's guide (docs/ja/*.md) true to the program.

Every shell block in the guide is run by someone:
  ```sh test           run here, against the build, in a scratch home folder;
                       a ```text output block right after it is the exact
                       output it must print;
  ```sh test mail      the same, with an account stored in the working
                       folder: a local Dovecot that signs taro@outlook.jp in
                       with the token a command "oama" on the PATH prints,
                       holding one memo mail (run by MAIL_TOKEN_SERVER);
  ```sh package STEP   run by scripts/package-test.sh as root at the step
                       STEP of its install and removal: install (from the
                       source folder), file (in the folder holding the
                       package file) or remove.
A shell block without one of these marks fails the check.

Each table after a <!-- check-dates --> line lists date forms in its first
column (`...` each) and, in its second, what the schedule check turns them
into, or エラー for a form the check rejects; `corkpane-tool schedule check`
confirms each form on a schedule of its own.
Links to other pages and images must point at files that exist.

    check_guide.py GUIDE_DIR BIN_DIR [MAIL_TOKEN_SERVER]
                                                 check and run the tests
    check_guide.py GUIDE_DIR --package-blocks OUT_DIR
                                                 write OUT_DIR/STEP.sh
"""
import base64
import os
import pathlib
import re
import subprocess
import sys
import tempfile

PACKAGE_STEPS = ("install", "file", "remove")
FENCE = re.compile(r"^( *)```(.*)$")


def pages(guide):
    return sorted(os.path.join(guide, name) for name in os.listdir(guide) if name.endswith(".md"))


def blocks(path):
    """(info words, text, line number) of each fenced block, in order."""
    found = []
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    i = 0
    while i < len(lines):
        m = FENCE.match(lines[i])
        if m:
            # A block inside a list item is indented, its fence and lines alike.
            indent = m.group(1)
            start = i
            i += 1
            body = []
            while i < len(lines) and lines[i] != indent + "```":
                body.append(lines[i][len(indent):] if lines[i].startswith(indent) else lines[i])
                i += 1
            found.append((m.group(2).split(), "\n".join(body) + "\n", start + 1))
        i += 1
    return found


def check_marks(path, failures):
    for words, _, line in blocks(path):
        if words[:1] != ["sh"]:
            continue
        if words[1:2] == ["test"] and words[2:] in ([], ["mail"]):
            continue
        if words[1:2] == ["package"] and len(words) == 3 and words[2] in PACKAGE_STEPS:
            continue
        failures.append(f"{path}:{line}: a shell block must be marked 'sh test' or 'sh package "
                        f"{'|'.join(PACKAGE_STEPS)}', not {' '.join(words)!r}")


def check_links(path, failures):
    folder = os.path.dirname(path)
    with open(path, encoding="utf-8") as f:
        text = f.read()
    for target in re.findall(r"\]\(([^)\s]+)\)", text):
        if "://" in target:
            continue
        file = target.split("#", 1)[0]
        if not os.path.exists(os.path.join(folder, file)):
            failures.append(f"{path}: link to {target}, which does not exist")


MAIL_USER, MAIL_TOKEN = "taro@outlook.jp", "EwBwA8l6BAAU-token-for-taro"


def mail_account(server, scratch, work, env):
    """Starts the token server holding one memo mail, stores its account in
    work and puts a token helper "oama" on the PATH; the server, or None."""
    subject = base64.b64encode("メモ 牛乳".encode("iso2022_jp")).decode()
    mail = pathlib.Path(scratch, "memo.eml")
    mail.write_bytes(f"Subject: =?ISO-2022-JP?B?{subject}?=\n\n".encode() + "牛乳を買う\n".encode("iso2022_jp"))
    running = subprocess.Popen([server, MAIL_USER, MAIL_TOKEN, mail], stdin=subprocess.PIPE,
                               stdout=subprocess.PIPE, text=True)
    port = running.stdout.readline().strip()
    pathlib.Path(work, "corkpane.ini").write_bytes(
        f"POP3Host1=127.0.0.1\r\nPOP3Port1={port}\r\nUser1={MAIL_USER}\r\nキーワード１=メモ\r\n".encode("cp932"))
    helper = pathlib.Path(scratch, "oama")
    helper.write_text(f"#!/bin/sh\necho {MAIL_TOKEN}\n")
    helper.chmod(0o755)
    env["PATH"] = scratch + ":" + env["PATH"]
    return running if port else None


def run_tests(path, bin_dir, server, failures):
    found = blocks(path)
    with tempfile.TemporaryDirectory() as scratch:
        home = os.path.join(scratch, "home")
        work = os.path.join(scratch, "work")
        os.makedirs(home)
        os.makedirs(work)
        env = {"HOME": home, "PATH": bin_dir + ":/usr/bin:/bin", "LANG": "C.UTF-8"}
        running = None
        for index, (words, text, line) in enumerate(found):
            if words[:2] != ["sh", "test"]:
                continue
            if words[2:] == ["mail"] and not running:
                running = server and mail_account(server, scratch, work, env)
                if not running:
                    failures.append(f"{path}:{line}: the mail token server did not start")
                    continue
            run = subprocess.run(["bash", "-e", "-o", "pipefail", "-c", text], cwd=work, env=env,
                                 capture_output=True, text=True, timeout=120)
            if run.returncode != 0:
                failures.append(f"{path}:{line}: exited {run.returncode}: {run.stderr.strip()}")
                continue
            following = found[index + 1] if index + 1 < len(found) else None
            if following and following[0] == ["text", "output"] and run.stdout != following[1]:
                failures.append(f"{path}:{following[2]}: the block before prints\n{run.stdout}"
                                f"but the guide shows\n{following[1]}")
        if running:
            running.communicate(timeout=60)


def date_rows(path):
    """(forms, expected display or None for an error, line) of the marked tables."""
    rows = []
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    marked = False
    in_table = False
    for number, line in enumerate(lines, 1):
        if line.startswith("<!-- check-dates"):
            marked = True
            continue
        if marked and line.startswith("|"):
            in_table = True
            cells = [cell.strip() for cell in line.strip("|").split("|")]
            forms = re.findall(r"`([^`]+)`", cells[0])
            if not forms:
                continue  # the header and its rule
            shown = re.findall(r"`([^`]+)`", cells[1])
            if cells[1] != "エラー" and len(shown) != 1:
                raise ValueError(f"{path}:{number}: the second column must be one `form` or エラー")
            rows.append((forms, None if cells[1] == "エラー" else shown[0], number))
        elif in_table:
            marked = in_table = False
    return rows


def checked(bin_dir, form, scratch):
    """What the check makes of a date form: its display, or None when refused."""
    path = os.path.join(scratch, "schedule.txt")
    with open(path, "wb") as f:
        f.write(('"","' + form.replace('"', '""') + '",""\r\n').encode("cp932"))
    run = subprocess.run([os.path.join(bin_dir, "corkpane-tool"), "schedule", "check", path],
                         capture_output=True)
    if run.returncode not in (0, 1):
        raise RuntimeError(f"corkpane-tool schedule check exited {run.returncode} for {form}")
    return run.stdout.decode("cp932").split("\n")[0] if run.returncode == 0 else None


def check_dates(path, bin_dir, failures):
    rows = date_rows(path)
    count = 0
    with tempfile.TemporaryDirectory() as scratch:
        for row_forms, shown, line in rows:
            for form in row_forms:
                count += 1
                display = checked(bin_dir, form, scratch)
                if shown is None and display is not None:
                    failures.append(f"{path}:{line}: {form} is accepted ({display}), the guide calls it an error")
                elif shown is not None and display != shown:
                    failures.append(f"{path}:{line}: {form} becomes {display or 'an error'}, the guide shows {shown}")
    return count


def write_package_blocks(guide, out):
    os.makedirs(out, exist_ok=True)
    written = set()
    for path in pages(guide):
        for words, text, _ in blocks(path):
            if words[:2] == ["sh", "package"] and len(words) == 3:
                with open(os.path.join(out, words[2] + ".sh"), "a", encoding="utf-8") as f:
                    f.write(text)
                written.add(words[2])
    missing = set(PACKAGE_STEPS) - written
    if missing:
        print(f"the guide has no 'sh package' block for {', '.join(sorted(missing))}")
        return 1
    return 0


def main():
    guide = sys.argv[1]
    if sys.argv[2] == "--package-blocks":
        return write_package_blocks(guide, sys.argv[3])
    bin_dir = os.path.abspath(sys.argv[2])
    server = sys.argv[3] if len(sys.argv) > 3 else None
    failures = []
    forms = 0
    for path in pages(guide):
        check_marks(path, failures)
        check_links(path, failures)
        run_tests(path, bin_dir, server, failures)
        forms += check_dates(path, bin_dir, failures)
    for failure in failures:
        print(failure)
    print(f"{len(pages(guide))} pages, {forms} date forms checked, {len(failures)} problems")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
