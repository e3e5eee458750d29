#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job: a demonstration of
# corkpane-tool on sample Japanese text.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh release
tool=build/bin/corkpane-tool

sample=$(mktemp)
trap 'rm -f "$sample"' EXIT
printf '\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x81\x83\x82\r\n' >"$sample"   # "日本語のメモ" in Shift_JIS

echo "Detected code of the sample: $("$tool" guess "$sample")"
echo "As JIS (escaped):"
"$tool" convert --to jis "$sample" | od -An -c
echo "Round trip back to Shift_JIS, shown as UTF-8:"
"$tool" convert --to jis "$sample" | "$tool" convert --to sjis | iconv -f CP932 -t UTF-8
