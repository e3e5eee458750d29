#!/usr/bin/env bash
# The time the keyring adds to a logon run: a fresh process that looks the
# mail password up (as "corkpane /su" would at its start), against the same
# process doing nothing and against libsecret's own secret-tool; a fresh
# process storing it (as the window's save would), all on a real
# gnome-keyring-daemon (unlocked login keyring) on a private session bus;
# the whole logon run of the same build, offscreen with reception off, for
# scale. Median and range of RUNS runs each, interleaved.
#   bench/platform/secret_bench.sh [BUILD_DIR] [RUNS]
# Needs a build configured with -DCORKPANE_BUILD_BENCH=ON, gnome-keyring,
# dbus-daemon and secret-tool (libsecret-tools).
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-30}
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
export HOME=$work XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run
mkdir -p "$work/run" "$work/su" && chmod 700 "$work/run"
unset DISPLAY WAYLAND_DISPLAY

bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS=${bus%%$'\n'*}
pids+=("${bus##*$'\n'}")
printf 'keyring password' | gnome-keyring-daemon --daemonize --unlock --components=secrets >/dev/null
sleep 1
"$build/bin/secret_roundtrip" store 'ｐａｓｓ*ワード'
# Both readers find the password, or the times mean nothing.
"$build/bin/secret_roundtrip" lookup
secret-tool lookup application corkpane server pop.example.jp port 995 user taro >/dev/null

(cd "$work/su" && "$build/bin/corkpane-tool" settings roundtrip)
python3 - "$work/su/corkpane.ini" <<'PY'
import sys
path = sys.argv[1]
key = 'スタートアップ受信'.encode('cp932')
data = open(path, 'rb').read().replace(b'\r\n' + key + b'=0\r\n', b'\r\n' + key + b'=1\r\n')
open(path, 'wb').write(data)
PY

declare -A times
run() { # name command...
  local name=$1 start end
  shift
  start=$EPOCHREALTIME
  "$@" >/dev/null 2>&1
  end=$EPOCHREALTIME
  times[$name]+="$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f", (b - a) * 1000 }') "
}
for _ in $(seq "$runs"); do
  run nothing "$build/bin/secret_roundtrip" nothing
  run store "$build/bin/secret_roundtrip" store 'ｐａｓｓ*ワード'
  run lookup "$build/bin/secret_roundtrip" lookup
  run secret-tool secret-tool lookup application corkpane server pop.example.jp port 995 user taro
  run su env -C "$work/su" QT_QPA_PLATFORM=offscreen timeout 60 "$build/bin/corkpane" /su
done
for name in nothing store lookup secret-tool su; do
  tr ' ' '\n' <<<"${times[$name]}" | sed '/^$/d' | sort -n \
    | awk -v n="$name" '{ v[NR] = $1 } END { printf "%-12s median %7.2f ms  (%.2f to %.2f ms, %d runs)\n", n, v[int((NR + 1) / 2)], v[1], v[NR], NR }'
done
