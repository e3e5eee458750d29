#!/usr/bin/env python3
"""Hostile-input benchmark: small crafted files that once bought large costs.

Makes each input in a scratch folder, runs the command that meets it under
/usr/bin/time -v, and prints peak memory, wall time, the exit status and the
first line of the error output, for one or two builds of corkpane-tool in
the same run (--before names the older build).

  jpeg-bomb     a 304-byte progressive JPEG whose header claims 65500x65500,
                as the wallpaper of `draw`
  rle-bmp       a 1 KB RLE8 bitmap claiming 11585x11585, as the wallpaper
  jpeg-at-budget, rle-bmp-at-budget
                the same claiming 8000x6000, the largest inside the budget
  absurd-block  フォントサイズ=7500, １行文字数=4096 with a 300,000-line memo
  absurd+sched30k, absurd+sched1M
                the same with a 30,000-row and a 1,000,000-row schedule
  commas        20 MB of commas as schedule.txt (`schedule upcoming`)
  ini-lines     50 MB of empty lines as corkpane.ini (`settings show`)
  commas-1MB, ini-lines-1MB, memo-lines-1MB
                the same just under the size limits (the memo drawn)
  fifo-memo     memo.txt as a named pipe nobody writes (`settings show`)
  scan-bomb-11KB, scan-bomb-110KB, scan-bomb-880KB
                a progressive JPEG claiming 4000x3000 whose last scan is
                repeated until the file has that size (libjpeg only warns
                about the bogus progression), as the wallpaper
  jpeg-wide     a 304-byte JPEG claiming 65500x759 (inside the budget),
                stretched on the 1080p screen
  png-bomb, png-at-budget
                a small PNG claiming 65500x65500, and one really of
                7000x5300 (one colour, 0.1 MB), as the wallpaper
  mime-stdin-90MB, mime-stdin-1MB
                a mail of 90 MB (1 MB) of one-byte lines on standard input
                (`mime -`)
  memo-over-limit
                memo.txt one byte over the 16 MB limit beside a settings file
                (`settings roundtrip`: the memo is left as it is)
  dangling-link memo.txt a symbolic link to a file not yet there
                (`settings roundtrip`: the target is created)
  memo-check    a mail body against a 10 MB memo, ordinary and crafted
                (memo_check.cpp built against each source tree; CPU seconds)

usage: hostile_bench.py [--tool build/bin/corkpane-tool] [--before PATH]
                        [--source .] [--before-source PATH] [--label after]
                        [--timeout 60]
"""
import argparse
import os
import re
import shutil
import subprocess
import tempfile
import zlib

TODAY = "2026-12-09"  # a Wednesday: every weekly row of the schedule is due


def sjis(text):
    return text.encode("cp932")


def progressive_bomb(work, width=65500, height=65500, name="bomb.jpg"):
    """A small progressive greyscale JPEG with its frame size patched."""
    pgm = os.path.join(work, "tiny.pgm")
    with open(pgm, "wb") as f:
        f.write(b"P5 16 16 255\n" + bytes(range(256)))
    jpg = os.path.join(work, name)
    subprocess.run(["cjpeg", "-progressive", "-grayscale", "-optimize", "-outfile", jpg, pgm], check=True)
    data = bytearray(open(jpg, "rb").read())
    sof = data.index(b"\xff\xc2")
    data[sof + 5:sof + 9] = height.to_bytes(2, "big") + width.to_bytes(2, "big")
    open(jpg, "wb").write(data)
    return jpg


def scan_bomb(work, size, width=4000, height=3000, name="scans.jpg"):
    """A progressive JPEG whose last scan is repeated up to size bytes."""
    jpg = progressive_bomb(work, width, height, name)
    data = open(jpg, "rb").read()
    last = data.rindex(b"\xff\xda")
    scan = data[last:-2]
    body = data[:-2]
    copies = max(0, (size - len(data)) // len(scan))
    open(jpg, "wb").write(body + scan * copies + b"\xff\xd9")
    return jpg


def png_claiming(work, width, height, name):
    """A real 64x64 PNG whose header is made to claim width x height."""
    path = os.path.join(work, name)
    subprocess.run(["convert", "-size", "64x64", "xc:gray", path], check=True)
    data = bytearray(open(path, "rb").read())
    data[16:24] = width.to_bytes(4, "big") + height.to_bytes(4, "big")
    data[29:33] = zlib.crc32(bytes(data[12:29])).to_bytes(4, "big")
    open(path, "wb").write(data)
    return path


def rle_bitmap(work, width=11585, height=11585, name="rle.bmp"):
    """An RLE8 bitmap claiming width x height whose data ends at once."""
    palette = b"".join(bytes((i, i, i, 0)) for i in range(256))
    pixels = b"\x00\x01"  # end of bitmap
    offset = 14 + 40 + len(palette)
    info = (40).to_bytes(4, "little") + width.to_bytes(4, "little") + height.to_bytes(4, "little") \
        + (1).to_bytes(2, "little") \
        + (8).to_bytes(2, "little") + (1).to_bytes(4, "little") + len(pixels).to_bytes(4, "little") \
        + bytes(16)
    header = b"BM" + (offset + len(pixels)).to_bytes(4, "little") + bytes(4) + offset.to_bytes(4, "little")
    path = os.path.join(work, name)
    open(path, "wb").write(header + info + palette + pixels)
    return path


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def draw_args(wallpaper=None, schedule=None, placement=None):
    args = ["draw", "--screen", "1920x1080", "--dpi", "96", "--desktop-color", "0", "--today", TODAY]
    if wallpaper:
        args += ["--wallpaper", wallpaper, "--tile", "0", "--style", "2"]
    if placement:
        args += ["--placement", placement]
    if schedule:
        args += ["--schedule", schedule]
    return args


def make_cases(work):
    """(name, folder, arguments, input size in bytes[, standard input file]) per case."""
    cases = []

    def folder(name):
        path = os.path.join(work, name)
        os.makedirs(path)
        return path

    d = folder("jpeg-bomb")
    bomb = progressive_bomb(d)
    cases.append(("jpeg-bomb", d, draw_args(bomb), os.path.getsize(bomb)))

    d = folder("rle-bmp")
    bmp = rle_bitmap(d)
    cases.append(("rle-bmp", d, draw_args(bmp), os.path.getsize(bmp)))

    # The largest claims still inside the picture budget (8000x6000).
    d = folder("jpeg-at-budget")
    edge = progressive_bomb(d, 8000, 6000, "edge.jpg")
    cases.append(("jpeg-at-budget", d, draw_args(edge), os.path.getsize(edge)))

    d = folder("rle-bmp-at-budget")
    edge = rle_bitmap(d, 8000, 6000, "edge.bmp")
    cases.append(("rle-bmp-at-budget", d, draw_args(edge), os.path.getsize(edge)))

    for label, size in (("11KB", 11 << 10), ("110KB", 110 << 10), ("880KB", 880 << 10)):
        d = folder("scan-bomb-" + label)
        bomb = scan_bomb(d, size)
        cases.append(("scan-bomb-" + label, d, draw_args(bomb), os.path.getsize(bomb)))

    d = folder("jpeg-wide")
    wide = progressive_bomb(d, 65500, 759, "wide.jpg")
    cases.append(("jpeg-wide", d, draw_args(wide), os.path.getsize(wide)))

    d = folder("png-bomb")
    png = png_claiming(d, 65500, 65500, "bomb.png")
    cases.append(("png-bomb", d, draw_args(png), os.path.getsize(png)))

    d = folder("png-at-budget")
    png = os.path.join(d, "edge.png")
    subprocess.run(["convert", "-size", "7000x5300", "xc:gray", png], check=True)
    cases.append(("png-at-budget", d, draw_args(png), os.path.getsize(png)))

    memo = sjis("".join(f"メモ {i} 行目\r\n" for i in range(300000)))
    ini = sjis("フォントサイズ=7500\r\n１行文字数=4096\r\n")
    d = folder("absurd-block")
    write(os.path.join(d, "corkpane.ini"), ini)
    write(os.path.join(d, "memo.txt"), memo)
    cases.append(("absurd-block", d, draw_args(), len(ini) + len(memo)))

    for name, count in (("absurd+sched30k", 30000), ("absurd+sched1M", 1000000)):
        d = folder(name)
        write(os.path.join(d, "corkpane.ini"), ini)
        write(os.path.join(d, "memo.txt"), memo)
        rows = sjis('"","毎週水曜日","ゴミ出し"\r\n') * count
        write(os.path.join(d, "schedule.txt"), rows)
        cases.append((name, d, draw_args(schedule="schedule.txt"), len(ini) + len(memo) + len(rows)))

    d = folder("commas")
    write(os.path.join(d, "schedule.txt"), b"," * (20 << 20))
    cases.append(("commas", d, ["schedule", "upcoming", "--today", TODAY, "schedule.txt"], 20 << 20))

    # Just under the size limits: what a file that is still read costs.
    d = folder("commas-1MB")
    write(os.path.join(d, "schedule.txt"), b"," * ((1 << 20) - 1))
    cases.append(("commas-1MB", d, ["schedule", "upcoming", "--today", TODAY, "schedule.txt"], (1 << 20) - 1))

    d = folder("ini-lines-1MB")
    write(os.path.join(d, "corkpane.ini"), b"\n" * ((1 << 20) - 1))
    cases.append(("ini-lines-1MB", d, ["settings", "show"], (1 << 20) - 1))

    d = folder("memo-lines-1MB")
    write(os.path.join(d, "memo.txt"), b"\n" * ((1 << 20) - 1))
    cases.append(("memo-lines-1MB", d, draw_args(), (1 << 20) - 1))

    d = folder("ini-lines")
    write(os.path.join(d, "corkpane.ini"), b"\n" * (50 << 20))
    cases.append(("ini-lines", d, ["settings", "show"], 50 << 20))

    d = folder("fifo-memo")
    os.mkfifo(os.path.join(d, "memo.txt"))
    cases.append(("fifo-memo", d, ["settings", "show"], 0))

    mail = b"Subject: memo\r\n\r\n"
    for name, size in (("mime-stdin-90MB", 90 << 20), ("mime-stdin-1MB", (1 << 20) - 1)):
        d = folder(name)
        line = b"x\r\n"  # one-byte lines: the most lines per byte
        body = line * ((size - len(mail)) // len(line))
        write(os.path.join(d, "mail.eml"), mail + body + b"x" * (size - len(mail) - len(body)))
        cases.append((name, d, ["mime", "-"], size, os.path.join(d, "mail.eml")))

    d = folder("memo-over-limit")
    ini = sjis("POP3Host1=pop.example.jp\r\nUser1=me\r\nメモタイトル=自分の\r\n")
    write(os.path.join(d, "corkpane.ini"), ini)
    write(os.path.join(d, "memo.txt"), b"m" * ((16 << 20) + 1))
    cases.append(("memo-over-limit", d, ["settings", "roundtrip"], (16 << 20) + 1 + len(ini)))

    d = folder("dangling-link")
    os.makedirs(os.path.join(d, "data"))
    os.symlink("data/memo.txt", os.path.join(d, "memo.txt"))
    write(os.path.join(d, "corkpane.ini"), ini)
    cases.append(("dangling-link", d, ["settings", "roundtrip"], 0))
    return cases


def measure(tool, folder, args, timeout, stdin=None):
    """(peak MB, wall s, status, first error line) of one run."""
    try:
        with open(stdin or os.devnull, "rb") as source:
            # LC_ALL=C: the tool's messages stay Shift_JIS, as decoded below.
            out = subprocess.run(["/usr/bin/time", "-v", tool] + args, cwd=folder, stdin=source,
                                 capture_output=True, timeout=timeout, env=dict(os.environ, LC_ALL="C"))
    except subprocess.TimeoutExpired:
        return None, None, f"killed after {timeout} s", ""
    err = out.stderr.decode("cp932", "replace")
    peak = int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", err).group(1)) / 1024
    wall = re.search(r"Elapsed \(wall clock\) time \(h:mm:ss or m:ss\): ([\d:.]+)", err).group(1)
    seconds = sum(float(p) * 60 ** i for i, p in enumerate(reversed(wall.split(":"))))
    status = re.search(r"Exit status: (\d+)", err)
    signal = re.search(r"Command terminated by signal (\d+)", err)
    state = f"signal {signal.group(1)}" if signal else f"exit {status.group(1)}"
    message = next((line.strip() for line in err.splitlines()
                    if line.strip() and not line.startswith("\t") and "Command" not in line), "")
    return peak, seconds, state, message[:90]


def after_roundtrip(place):
    """What a settings roundtrip left: the memo's size and kind, and whether the settings kept their host."""
    memo = os.path.join(place, "memo.txt")
    kind = "link" if os.path.islink(memo) else "file"
    size = os.path.getsize(memo) if os.path.exists(memo) else "missing"
    ini = os.path.join(place, "corkpane.ini")
    host = os.path.exists(ini) and b"pop.example.jp" in open(ini, "rb").read()
    return f"memo.txt {kind} {size} B, host {'kept' if host else 'gone'}"


def memo_check(source, work, label):
    exe = os.path.join(work, f"memo_check_{label}")
    here = os.path.dirname(os.path.abspath(__file__))
    subprocess.run(["g++", "-O2", "-std=c++20", "-I", source, os.path.join(here, "memo_check.cpp"),
                    os.path.join(source, "jconvert", "sjis.cpp"), "-o", exe], check=True)
    out = subprocess.run([exe], capture_output=True, text=True, check=True).stdout
    return {line.split()[0]: float(line.split()[1]) for line in out.splitlines()}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", default="build/bin/corkpane-tool")
    parser.add_argument("--before")
    parser.add_argument("--source", default=".")
    parser.add_argument("--before-source")
    parser.add_argument("--label", default="after", help="name of the --tool build in the table")
    parser.add_argument("--timeout", type=int, default=60)
    args = parser.parse_args()
    builds = [("before", args.before, args.before_source)] if args.before else []
    builds.append((args.label, args.tool, args.source))

    with tempfile.TemporaryDirectory(prefix="corkpane-hostile-") as work:
        cases = make_cases(work)
        print("| input | size | build | peak memory | wall time | result | first message |")
        print("|---|---|---|---|---|---|---|")
        for name, folder, cmd, size, *stdin in cases:
            for label, tool, _ in builds:
                place = folder
                if "roundtrip" in cmd:
                    # A run that writes gets its own copy, so each build meets the input as made.
                    place = os.path.join(work, f"{name}-{label}")
                    shutil.copytree(folder, place, symlinks=True)
                peak, wall, state, message = measure(os.path.abspath(tool), place, cmd, args.timeout,
                                                     *stdin)
                if "roundtrip" in cmd:
                    message = f"{message} [{after_roundtrip(place)}]"
                peak_text = f"{peak:.0f} MB" if peak is not None else "-"
                wall_text = f"{wall:.2f} s" if wall is not None else "-"
                print(f"| {name} | {size / 1024:.1f} KB | {label} | {peak_text} | {wall_text} | {state} "
                      f"| {message.replace('|', '/')} |", flush=True)
        for label, _, source in builds:
            if source:
                times = memo_check(os.path.abspath(source), work, label)
                print(f"| memo-check | 10 MB memo | {label} | - | ordinary {times['ordinary']:.4f} s CPU, "
                      f"crafted {times['crafted']:.4f} s CPU | | |")


if __name__ == "__main__":
    main()
