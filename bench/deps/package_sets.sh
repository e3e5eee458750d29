#!/usr/bin/env bash
# What scripts/install-deps.sh brings to a fresh Debian 12, measured by
# apt-get's simulation against a dpkg status holding only a minimal system
# (the packages of priority required or marked essential with what they
# depend on: what debootstrap --variant=minbase installs), with an empty
# download cache, so that every package counts with its download size.
#   [KEEP_LISTS=DIR] bench/deps/package_sets.sh [EARLIER_INSTALL_DEPS_SCRIPT]
# The earlier script (one list installed with recommends, then the desktops
# without) is measured the same way. KEEP_LISTS keeps each set's packages
# ("name version" a line) in DIR. Installs nothing; needs apt's lists.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'if [ -n "${KEEP_LISTS:-}" ]; then cp "$work"/set-* "$KEEP_LISTS"; fi; rm -rf "$work"' EXIT
mkdir -p "$work/archives/partial"
: >"$work/extended_states"
: >"$work/empty.status"

# "name version" of each package an install on top of the status unpacks.
installed_by() {
  local status=$1
  shift
  apt-get -o Dir::State::status="$status" -o Dir::State::extended_states="$work/extended_states" \
    -o Dir::Cache::archives="$work/archives" -o Debug::NoLocking=1 install --simulate -qq "$@" \
    | awk '$1 == "Inst" { gsub(/[()]/, "", $3); print $2, $3 }'
}

# The packages' records, as apt knows them.
records() { awk '{ print $1 "=" $2 }' "$@" | xargs -r apt-cache show | awk 'BEGIN { RS = ""; ORS = "\n\n" } 1'; }

# A status file of the base and the lists given: everything installed.
status_of() {
  local out=$1
  shift
  records "$@" | sed '/^Package:/a Status: install ok installed' >"$out"
}

measure() {
  printf '%d packages, %s MB to download\n' "$(cat "$@" | wc -l)" \
    "$(records "$@" | awk '/^Size:/ { s += $2 } END { printf "%.1f", s / 1e6 }')"
}

# The minimal system.
apt-cache dumpavail | awk 'BEGIN { RS = "" } /\nPriority: required/ || /\nEssential: yes/ {
  split($0, l, "\n"); sub("Package: ", "", l[1]); print l[1] }' | sort -u >"$work/required"
mapfile -t required <"$work/required"
installed_by "$work/empty.status" --no-install-recommends "${required[@]}" >"$work/base"
status_of "$work/base.status" "$work/base"
echo "minimal Debian 12: $(measure "$work/base")"

# Installs lists in turn the way the script does: "list" with recommends,
# "-list" without; prints what they unpack in all.
sets() {
  local status=$work/base.status
  : >"$work/all"
  for spec in "$@"; do
    local options=() name=${spec#-}
    [ "$spec" != "$name" ] && options=(--no-install-recommends)
    mapfile -t packages <"$work/$name"
    installed_by "$status" "${options[@]}" "${packages[@]}" >>"$work/all"
    status_of "$work/step.status" "$work/base" "$work/all"
    status=$work/step.status
  done
  cp "$work/all" "$work/set-$1"
  measure "$work/all"
}

"$root/scripts/install-deps.sh" --list >"$work/user"
"$root/scripts/install-deps.sh" --list --test | grep -vxF -f "$work/user" >"$work/rest"
# The desktops are the script's last list, installed without recommends.
sed -n '/^desktops=(/,/^)/p' "$root/scripts/install-deps.sh" | sed '1d;$d' | tr ' ' '\n' | sed '/^$/d' >"$work/desktops"
grep -vxF -f "$work/desktops" "$work/rest" | cat "$work/user" - >"$work/usertests"
echo "user set (scripts/install-deps.sh): $(sets -user)"
echo "test set (scripts/install-deps.sh --test): $(sets usertests -desktops)"

if [ -n "${1:-}" ]; then
  sed -n '/^packages=(/,/^)/p' "$1" | sed '1d;$d;s/#.*//' | tr ' ' '\n' | sed '/^$/d' >"$work/old"
  sed -n '/^desktops=(/,/^)/p' "$1" | sed '1d;$d' | tr ' ' '\n' | sed '/^$/d' >"$work/olddesktops"
  echo "earlier single set: $(sets old -olddesktops)"
fi
