#!/usr/bin/env python3
"""`corkpane-tool draw --install` of two builds in one run (the daily
redraw's command): read the desktop, decode the picture, compose, write
kabegami.bmp and install it.

The desktop is GNOME as the program sees it: XDG_CURRENT_DESKTOP=GNOME and a
`gsettings` on PATH that keeps what is set in files and answers gets from
them, so the install's read-back agrees. Each gsettings call is a small
shell process, as cheap as such a call gets (the real one also talks to
dconf over D-Bus); the number of calls each build makes is printed too.

For each screen size a JPEG picture of that size is made (ImageMagick
plasma, cjpeg quality 90); the memo has 20 lines. Both builds run REPEAT
times, interleaved; medians of wall time and CPU time (user + system), and
the peak memory of one run, as a Markdown table.

usage: install_bench.py --before DIR/corkpane-tool --after DIR/corkpane-tool
                        [--repeat N] [--sizes 1920x1080,3840x2160]
"""
import argparse
import os
import resource
import statistics
import subprocess
import tempfile
import time

FAKE_GSETTINGS = r"""#!/bin/sh
# gsettings get|set SCHEMA KEY [VALUE], kept under $GSETTINGS_STATE
echo "$1" >> "$GSETTINGS_STATE/calls"
file="$GSETTINGS_STATE/$2.$3"
case "$1" in
  set) printf '%s\n' "$4" > "$file" ;;
  get) if [ -f "$file" ]; then cat "$file"; else echo "''"; fi ;;
esac
"""


def run(argv, cwd, env):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    subprocess.run(argv, cwd=cwd, env=env, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return wall, (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--before", required=True)
    parser.add_argument("--after", required=True)
    parser.add_argument("--repeat", type=int, default=9)
    parser.add_argument("--sizes", default="1920x1080,3840x2160")
    args = parser.parse_args()
    tools = {"before": os.path.abspath(args.before), "after": os.path.abspath(args.after)}

    rows = []
    with tempfile.TemporaryDirectory(prefix="corkpane-install-bench-") as work:
        bin_dir = os.path.join(work, "bin")
        state = os.path.join(work, "gsettings")
        os.makedirs(bin_dir)
        os.makedirs(state)
        with open(os.path.join(bin_dir, "gsettings"), "w") as f:
            f.write(FAKE_GSETTINGS)
        os.chmod(os.path.join(bin_dir, "gsettings"), 0o755)
        env = dict(os.environ, PATH=bin_dir + ":" + os.environ["PATH"], XDG_CURRENT_DESKTOP="GNOME",
                   GSETTINGS_STATE=state, QT_QPA_PLATFORM="offscreen", HOME=work,
                   XDG_CACHE_HOME=os.path.join(work, "cache"))
        env.pop("DISPLAY", None)
        env.pop("WAYLAND_DISPLAY", None)
        memo = [f"メモ {i + 1} 行目: 牛乳を買う、会議の資料を準備する" for i in range(20)]
        for name in tools:
            folder = os.path.join(work, name)
            os.makedirs(folder)
            with open(os.path.join(folder, "memo.txt"), "wb") as f:
                f.write(("\r\n".join(memo) + "\r\n").encode("cp932"))
            with open(os.path.join(folder, "schedule.txt"), "wb") as f:
                f.write('"1","毎週水曜日","ゴミ出し"\r\n'.encode("cp932"))

        for size in args.sizes.split(","):
            picture = os.path.join(work, f"picture-{size}.jpg")
            ppm = os.path.join(work, "picture.ppm")
            subprocess.run(["convert", "-size", size, "-seed", "5", "plasma:fractal", ppm], check=True)
            subprocess.run(["cjpeg", "-quality", "90", "-outfile", picture, ppm], check=True)
            os.remove(ppm)

            def argv(name):
                return [tools[name], "draw", "--install", "--screen", size, "--today", "2026-12-09",
                        "--dir", os.path.join(work, name)]

            def reset():
                # Each run starts from the user's own picture, zoomed.
                for key, value in (("picture-uri", f"'file://{picture}'"), ("picture-options", "'zoom'"),
                                   ("primary-color", "'#000000'")):
                    with open(os.path.join(state, f"org.gnome.desktop.background.{key}"), "w") as f:
                        f.write(value + "\n")
                if os.path.exists(os.path.join(state, "calls")):
                    os.remove(os.path.join(state, "calls"))

            results, calls, peaks = {}, {}, {}
            for name in tools:
                reset()
                run(argv(name), work, env)  # warm the page cache
                with open(os.path.join(state, "calls")) as f:
                    calls[name] = f.read().split()
                reset()
                out = subprocess.run(["/usr/bin/time", "-f", "%M"] + argv(name), cwd=work, env=env,
                                     check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
                peaks[name] = int(out.stderr.strip().splitlines()[-1])
            for _ in range(args.repeat):
                for name in tools:
                    reset()
                    results.setdefault(name, []).append(run(argv(name), work, env))
            for name in tools:
                rows.append((size, name, statistics.median(r[0] for r in results[name]),
                             statistics.median(r[1] for r in results[name]), peaks[name],
                             calls[name].count("get"), calls[name].count("set")))

    print("| screen | build | wall (median) | CPU (median) | peak memory | gsettings get / set |")
    print("|---|---|---|---|---|---|")
    for size, name, wall, cpu, peak, gets, sets in rows:
        print(f"| {size} | {name} | {wall * 1000:.0f} ms | {cpu * 1000:.0f} ms | {peak / 1024:.1f} MB "
              f"| {gets} / {sets} |")


if __name__ == "__main__":
    main()
