#!/usr/bin/env python3
"""Whole-draw benchmark for the picture kinds: `corkpane-tool draw` on a PNG
and a WebP wallpaper against the reference decoders decoding the same file
to PPM (`pngtopnm`, `dwebp -ppm`), and the JPEG draw of one build against
another (--before), all in one run.

One 3840x2160 picture is made (ImageMagick plasma, 8 bits a channel) and
saved as PNG (ImageMagick), WebP (cwebp -q 90) and JPEG (cjpeg -quality 90);
the draw has a 20-line memo and one schedule line, zoom placement for PNG
and WebP, the older stretch values for the JPEG (so that a build without
placement modes draws it the same way). Each contender runs REPEAT times,
interleaved, with the disk flushed before each run (untimed); medians of wall time and CPU time (user + system), and the
peak resident memory, as a Markdown table. The machine is shared, so CPU
time is the steadier figure.

usage: picture_bench.py [--tool build/bin/corkpane-tool] [--before OLD/corkpane-tool] [--repeat 9]
"""
import argparse
import os
import resource
import statistics
import subprocess
import tempfile
import time

SIZE = "3840x2160"


def run(argv, cwd, stdout=None):
    """Runs argv; returns (wall seconds, CPU seconds)."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    with open(stdout, "wb") if stdout else open(os.devnull, "wb") as out:
        subprocess.run(argv, cwd=cwd, check=True, stdout=out, stderr=subprocess.DEVNULL)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return wall, (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)


def peak_mb(argv, cwd, stdout=None):
    with open(stdout, "wb") if stdout else open(os.devnull, "wb") as out:
        res = subprocess.run(["/usr/bin/time", "-f", "%M"] + argv, cwd=cwd, check=True, stdout=out,
                             stderr=subprocess.PIPE, text=True)
    return int(res.stderr.strip().splitlines()[-1]) / 1024


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", default="build/bin/corkpane-tool")
    parser.add_argument("--before")
    parser.add_argument("--repeat", type=int, default=9)
    args = parser.parse_args()
    tool = os.path.abspath(args.tool)

    with tempfile.TemporaryDirectory(prefix="corkpane-pictures-") as work:
        memo = [f"メモ {i + 1} 行目: 牛乳を買う、会議の資料を準備する" for i in range(20)]
        with open(os.path.join(work, "memo.txt"), "wb") as f:
            f.write(("\r\n".join(memo) + "\r\n").encode("cp932"))
        with open(os.path.join(work, "schedule.txt"), "wb") as f:
            f.write('"1","毎週水曜日","ゴミ出し"\r\n'.encode("cp932"))
        ppm = os.path.join(work, "picture.ppm")
        subprocess.run(["convert", "-size", SIZE, "-seed", "5", "plasma:fractal", "-depth", "8", ppm], check=True)
        subprocess.run(["convert", ppm, os.path.join(work, "picture.png")], check=True)
        subprocess.run(["cwebp", "-quiet", "-q", "90", ppm, "-o", os.path.join(work, "picture.webp")], check=True)
        subprocess.run(["cjpeg", "-quality", "90", "-outfile", os.path.join(work, "picture.jpg"), ppm], check=True)
        os.remove(ppm)

        def draw(build, picture, placement):
            argv = [build, "draw", "--screen", SIZE, "--dpi", "96", "--desktop-color", "0", "--wallpaper",
                    picture, "--tile", "0", "--style", "2", "--today", "2026-12-09"]
            return argv + (["--placement", placement] if placement else [])

        # (group, name, argv, stdout file)
        contenders = [
            ("PNG", "corkpane-tool draw (zoom)", draw(tool, "picture.png", "zoom"), None),
            ("PNG", "pngtopnm (peer)", ["pngtopnm", "picture.png"], os.path.join(work, "png.ppm")),
            ("WebP", "corkpane-tool draw (zoom)", draw(tool, "picture.webp", "zoom"), None),
            ("WebP", "dwebp -ppm (peer)", ["dwebp", "-quiet", "-ppm", "picture.webp", "-o", "webp.ppm"], None),
            ("JPEG", "corkpane-tool draw, after", draw(tool, "picture.jpg", None), None),
        ]
        if args.before:
            contenders.append(("JPEG", "corkpane-tool draw, before (peer)",
                               draw(os.path.abspath(args.before), "picture.jpg", None), None))
        sizes = {kind: os.path.getsize(os.path.join(work, "picture." + ext))
                 for kind, ext in (("PNG", "png"), ("WebP", "webp"), ("JPEG", "jpg"))}
        results = {}
        for _, name, argv, out in contenders:
            run(argv, work, out)  # warm the page cache
        for _ in range(args.repeat):
            for group, name, argv, out in contenders:
                # The peers write their PPM without flushing it; the draw
                # flushes its bitmap, and would pay for their pages too.
                os.sync()
                results.setdefault((group, name), []).append(run(argv, work, out))

        rows = []
        for group, name, argv, out in contenders:
            r = results[(group, name)]
            rows.append((group, name, statistics.median(x[0] for x in r), statistics.median(x[1] for x in r),
                         peak_mb(argv, work, out)))
        peers = {row[0]: row for row in rows if "(peer)" in row[1]}
        canvas_mb = 3840 * 2160 * 3 / 2 ** 20
        picture_mb = 3840 * 2160 * 4 / 2 ** 20
        print(f"canvas {canvas_mb:.1f} MB, decoded picture {picture_mb:.1f} MB: "
              f"memory bound 2 x canvas + picture = {2 * canvas_mb + picture_mb:.1f} MB")
        print("| picture (file) | contender | wall (median) | CPU (median) | wall vs peer | CPU vs peer "
              "| peak memory |")
        print("|---|---|---|---|---|---|---|")
        for group, name, wall, cpu, peak in rows:
            peer = peers.get(group)
            ratio_wall = f"{wall / peer[2]:.2f}x" if peer else "-"
            ratio_cpu = f"{cpu / peer[3]:.2f}x" if peer else "-"
            print(f"| {group} ({sizes[group] / 2 ** 20:.1f} MB) | {name} | {wall:.3f} s | {cpu:.3f} s "
                  f"| {ratio_wall} | {ratio_cpu} | {peak:.1f} MB |")


if __name__ == "__main__":
    main()
