#!/usr/bin/env bash
# Whole-process timings of the program:
#  1. process start until the window is on screen (under Xvfb);
#  2. an unattended "/su" run with reception off, drawing a 1920x1080 JPEG
#     wallpaper offscreen, against `corkpane-tool draw` on the same inputs.
#   bench/gui/su_run.sh [build dir] [runs]
# Needs xvfb, xdotool and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
runs=${2:-10}
[ -x "$build/bin/corkpane" ] && [ -x "$build/bin/corkpane-tool" ] \
  || { echo "build $build/bin/corkpane and $build/bin/corkpane-tool first" >&2; exit 1; }
program=$(realpath "$build/bin/corkpane")
tool=$(realpath "$build/bin/corkpane-tool")

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The user's files: a picture of screen size named by the desktop (a feh
# session reads ~/.fehbg), a memo, a schedule and reception off at startup.
mkdir -p "$work/home"
convert -size 1920x1080 plasma:fractal -quality 90 "$work/home/picture.jpg"
printf "feh --no-fehbg --bg-scale '%s'\n" "$work/home/picture.jpg" > "$work/home/.fehbg"
cp "$program" "$work/corkpane"
printf 'メモ一行目\n二行目はもう少し長い文章で、折り返しが起きるくらいの長さにしておく。\n三行目\n' \
  | iconv -f UTF-8 -t CP932 | sed 's/$/\r/' > "$work/memo.txt"
printf '"","毎週水曜日","燃えないゴミ"\n"","毎月15日","支払い"\n' \
  | iconv -f UTF-8 -t CP932 | sed 's/$/\r/' > "$work/schedule.txt"
printf 'スタートアップ受信=1\n' | iconv -f UTF-8 -t CP932 | sed 's/$/\r/' > "$work/corkpane.ini"

# Xvfb picks a free display itself and reports its number.
Xvfb -displayfd 3 -noreset -screen 0 1920x1080x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
display=:$(head -n 1 "$work/display")

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

# 1. Start to shown: poll for the mapped window as fast as xdotool allows.
shown=()
for _ in $(seq "$runs"); do
  start=$(now_ms)
  (cd "$work" && HOME="$work/home" DISPLAY=$display QT_QPA_PLATFORM=xcb exec ./corkpane) 2>"$work/err.log" &
  pid=$!
  until DISPLAY=$display xdotool search --onlyvisible --name Corkpane >/dev/null 2>&1; do
    if ! kill -0 "$pid" 2>/dev/null || (( $(now_ms) - start > 20000 )); then
      echo "the window did not appear:" >&2; cat "$work/err.log" >&2; exit 1
    fi
  done
  shown+=($(( $(now_ms) - start )))
  kill "$pid"; wait "$pid" 2>/dev/null || true
done

# 2. The unattended run against the command-line draw.
su=()
draw=()
timer=()
for _ in $(seq "$runs"); do
  start=$(now_ms)
  (cd "$work" && HOME="$work/home" DISPLAY=$display QT_QPA_PLATFORM=offscreen ./corkpane /su) 2>/dev/null
  su+=($(( $(now_ms) - start )))
  start=$(now_ms)
  (cd "$work" && HOME="$work/home" DISPLAY=$display QT_QPA_PLATFORM=offscreen "$tool" draw --install) 2>/dev/null || true
  draw+=($(( $(now_ms) - start )))
  # The daily redraw timer's own command: started elsewhere, files by --dir.
  start=$(now_ms)
  (cd "$work/home" && HOME="$work/home" DISPLAY=$display QT_QPA_PLATFORM=offscreen "$tool" draw --install --dir "$work") 2>/dev/null || true
  timer+=($(( $(now_ms) - start )))
done
[ -s "$work/kabegami.bmp" ] || { echo "no kabegami.bmp was written" >&2; exit 1; }

m_shown=$(printf '%s\n' "${shown[@]}" | median)
m_su=$(printf '%s\n' "${su[@]}" | median)
m_draw=$(printf '%s\n' "${draw[@]}" | median)
m_timer=$(printf '%s\n' "${timer[@]}" | median)
echo "start to window shown (median of $runs): ${m_shown} ms"
echo "corkpane /su, reception off, 1920x1080 JPEG (median): ${m_su} ms"
echo "corkpane-tool draw --install, same inputs (median): ${m_draw} ms"
echo "daily redraw timer's command, draw --install --dir (median): ${m_timer} ms"
awk -v a="$m_su" -v b="$m_draw" 'BEGIN { printf "ratio /su : draw = %.2f\n", a / b }'
