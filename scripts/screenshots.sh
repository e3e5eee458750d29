#!/usr/bin/env bash
# Takes a picture of each of the main window's six pages, with a small sample
# memo and schedule, in a virtual X server (Xvfb) and in the Japanese locale
# a user has (ja_JP.UTF-8), into docs/ja/images/ for the user's guide; then
# a wallpaper drawn from the same memo and schedule (wallpaper.png).
#   scripts/screenshots.sh [path/to/corkpane]
# Needs xvfb, xdotool, imagemagick and the locale ja_JP.UTF-8
# (scripts/install-deps.sh provides them).
set -euo pipefail
cd "$(dirname "$0")/.."

program=${1:-build/bin/corkpane}
out=docs/ja/images
[ -x "$program" ] || { echo "no program at $program (build it first)" >&2; exit 1; }
mkdir -p "$out"

# The program keeps its schedule beside itself and its other files in its
# working directory: run a copy in a scratch folder.
work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cp "$program" "$work/corkpane"
printf '牛乳を買う\n歯医者 15時に予約\n資料を印刷して、会議室の予約を確認する。プロジェクターの電源ケーブルも忘れずに持っていくこと。\n' \
  | iconv -f UTF-8 -t CP932 | sed 's/$/\r/' > "$work/memo.txt"
printf '"","毎週水曜日","燃えないゴミ"\n"","毎月第2火曜日","定例会議"\n"","毎年12月25日","クリスマス"\n"","平成17年4月1日","入社記念日"\n' \
  | iconv -f UTF-8 -t CP932 | sed 's/$/\r/' > "$work/schedule.txt"

# Xvfb picks a free display itself and reports its number.
Xvfb -displayfd 3 -noreset -screen 0 800x600x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
display=:$(head -n 1 "$work/display")
export DISPLAY=$display QT_QPA_PLATFORM=xcb
# The program as a Japanese user sees it, in a home of its own.
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 HOME="$work/home"
mkdir -p "$HOME"

(cd "$work" && exec ./corkpane) &
app_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name 'Corkpane' | head -n 1)
[ -n "$window" ] || { echo "the window did not appear" >&2; exit 1; }
xdotool windowmove --sync "$window" 0 0
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 0.5

# The window opens on page 1 (memo); Ctrl+Tab moves to the next page.
names=(receive memo schedule settings mail about)
page=1
for _ in 0 1 2 3 4 5; do
  import -window "$window" "$out/page-$page-${names[$page]}.png"
  xdotool key --window "$window" ctrl+Tab
  sleep 0.4
  page=$(( (page + 1) % 6 ))
done
kill "$app_pid" 2>/dev/null || true
wait "$app_pid" 2>/dev/null || true
app_pid=""

# The wallpaper the same memo and schedule give, on a sample picture that
# the plain X session's feh is said to show.
convert -size 800x600 gradient:'#27496d'-'#8fb8de' "$work/picture.jpg"
printf "feh --no-fehbg --bg-scale '%s'\n" "$work/picture.jpg" >"$HOME/.fehbg"
"$(dirname "$program")/corkpane-tool" draw --dir "$work" --screen 800x600 >/dev/null
convert "$work/kabegami.bmp" "$out/wallpaper.png"
echo "screenshots written to $out"
