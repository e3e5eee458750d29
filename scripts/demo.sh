#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job: Corkpane itself.
#   With a display: the window, working in the current directory
#   (corkpane.ini and memo.txt there; schedule.txt beside the program).
#   Without one: the unattended logon run ("/su") offscreen, with reception
#   off, in a sample folder with a memo and a schedule; it says where the
#   wallpaper was written.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" release

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$root/build/bin/corkpane"
fi

work="$root/build/demo"
rm -rf "$work"
mkdir -p "$work"
# The program keeps schedule.txt beside itself: run a copy in the sample folder.
cp "$root/build/bin/corkpane" "$work/corkpane"
to_sjis() { iconv -f UTF-8 -t CP932 | sed 's/$/\r/'; }
printf '牛乳を買う\n歯医者 15時に予約\n資料を印刷して、会議室の予約を確認する。プロジェクターの電源ケーブルも忘れずに持っていくこと。\n' \
  | to_sjis >"$work/memo.txt"
printf '"1","毎週水曜日","燃えないゴミ"\n"2","毎月第2火曜日","定例会議"\n"3","毎年12月25日","クリスマス"\n"4","平成17年4月1日","入社記念日"\n' \
  | to_sjis >"$work/schedule.txt"
# The settings of a first start, then reception at startup off ("受信しない").
(cd "$work" && "$root/build/bin/corkpane-tool" settings roundtrip)
python3 - "$work/corkpane.ini" <<'PY'
import sys
path = sys.argv[1]
key = 'スタートアップ受信'.encode('cp932')
data = open(path, 'rb').read().replace(b'\r\n' + key + b'=0\r\n', b'\r\n' + key + b'=1\r\n')
open(path, 'wb').write(data)
PY

echo "No display: running the unattended logon run offscreen in $work"
# The title's date follows the locale's short date; show the Japanese form
# unless the user has a locale of their own.
case "${LC_ALL:-${LANG:-C}}" in C|POSIX|C.*) lang=ja_JP.UTF-8 ;; *) lang=${LANG:-ja_JP.UTF-8} ;; esac
(cd "$work" && LANG=$lang QT_QPA_PLATFORM=offscreen ./corkpane /su)
if [ -s "$work/kabegami.bmp" ]; then
  echo "Wallpaper written: $work/kabegami.bmp ($(stat -c %s "$work/kabegami.bmp") bytes)"
  if command -v convert >/dev/null; then
    convert "$work/kabegami.bmp" "$work/kabegami.png" && echo "PNG copy for viewing: $work/kabegami.png"
  fi
else
  echo "The run wrote no wallpaper" >&2
  exit 1
fi
