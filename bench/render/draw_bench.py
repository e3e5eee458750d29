#!/usr/bin/env python3
"""Whole-draw benchmark: `corkpane-tool draw` against the djpeg floor and an
ImageMagick composition of the same wallpaper.

For each screen size a JPEG picture is made (ImageMagick plasma, cjpeg
quality 90) together with a 20-line memo, then, in one run, each contender
is timed REPEAT times:
  draw      corkpane-tool draw (stretch placement, title, schedule, 20 memo
            lines with the translucent box, 24-bit BMP)
  djpeg     djpeg -bmp of the same picture (decode + 24-bit BMP, the floor)
  magick    ImageMagick convert: resize to the screen, translucent box, the
            memo text in IPAGothic, 24-bit BMP
The medians of wall time, CPU time (user + system) and peak memory are
printed as a Markdown table. The machine is shared, so CPU time is the
steadier figure.

A size may name a larger picture after a colon (3840x2160:7680x4320): the
picture is then shrunk to the screen, which the draw decodes at a reduced
DCT scale.

usage: draw_bench.py [--tool PATH] [--repeat N] [--sizes 1920x1080,3840x2160,3840x2160:7680x4320]
"""
import argparse
import os
import resource
import statistics
import subprocess
import tempfile
import time


def run(argv, cwd):
    """Runs argv and returns (wall seconds, cpu seconds, peak KiB)."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    subprocess.run(argv, cwd=cwd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    # ru_maxrss of children is the largest of any child so far; measure
    # each contender in its own wrapper to get its own peak.
    return wall, cpu


def peak_kib(argv, cwd):
    out = subprocess.run(["/usr/bin/time", "-f", "%M"] + argv, cwd=cwd, check=True,
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    return int(out.stderr.strip().splitlines()[-1])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", default="build/bin/corkpane-tool")
    parser.add_argument("--repeat", type=int, default=9)
    parser.add_argument("--sizes", default="1920x1080,3840x2160,3840x2160:7680x4320")
    args = parser.parse_args()
    tool = os.path.abspath(args.tool)

    rows = []
    with tempfile.TemporaryDirectory(prefix="corkpane-bench-") as work:
        memo = [f"メモ {i + 1} 行目: 牛乳を買う、会議の資料を準備する" for i in range(20)]
        with open(os.path.join(work, "memo.txt"), "wb") as f:
            f.write(("\r\n".join(memo) + "\r\n").encode("cp932"))
        with open(os.path.join(work, "schedule.txt"), "wb") as f:
            f.write('"1","毎週水曜日","ゴミ出し"\r\n'.encode("cp932"))

        for entry in args.sizes.split(","):
            size, _, picture_size = entry.partition(":")
            picture_size = picture_size or size
            width, height = (int(v) for v in size.split("x"))
            picture = os.path.join(work, f"picture-{picture_size}.jpg")
            ppm = os.path.join(work, "picture.ppm")
            subprocess.run(["convert", "-size", picture_size, "-seed", "5", "plasma:fractal", ppm], check=True)
            subprocess.run(["cjpeg", "-quality", "90", "-outfile", picture, ppm], check=True)
            os.remove(ppm)

            # The text block as the draw places it with the default settings:
            # 300 pixels wide, 300 from the right edge, from y = 10.
            left = width - 600
            contenders = {
                "corkpane-tool draw": [tool, "draw", "--screen", size, "--dpi", "96", "--desktop-color", "0",
                                       "--wallpaper", picture, "--tile", "0", "--style", "2",
                                       "--today", "2026-12-09"],
                "djpeg -bmp (floor)": ["djpeg", "-bmp", "-outfile", "floor.bmp", picture],
                "ImageMagick composition": [
                    "convert", picture, "-sample", f"{size}!",
                    "-fill", "rgba(255,255,255,0.5)", "-draw", f"rectangle {left},10 {left + 300},{10 + 24 * 21}",
                    "-font", "IPAGothic", "-pointsize", "15", "-fill", "lime",
                    "-annotate", f"+{left}+28", "\n".join(memo),
                    "-type", "TrueColor", "BMP3:magick.bmp"],
            }
            results = {}
            for name, argv in contenders.items():
                run(argv, work)  # warm the page cache
            for _ in range(args.repeat):  # interleaved, so load hits all alike
                for name, argv in contenders.items():
                    results.setdefault(name, []).append(run(argv, work))
            for name, argv in contenders.items():
                wall = statistics.median(r[0] for r in results[name])
                cpu = statistics.median(r[1] for r in results[name])
                rows.append((entry, name, wall, cpu, peak_kib(argv, work)))

    floor = {r[0]: r for r in rows if r[1].startswith("djpeg")}
    print("| screen[:picture] | contender | wall (median) | CPU (median) | CPU vs floor | peak memory |")
    print("|---|---|---|---|---|---|")
    for size, name, wall, cpu, peak in rows:
        ratio = cpu / floor[size][3] if floor[size][3] else float("nan")
        print(f"| {size} | {name} | {wall:.3f} s | {cpu:.3f} s | {ratio:.2f}x | {peak / 1024:.1f} MB |")


if __name__ == "__main__":
    main()
