#!/bin/bash
# Times the codec against glibc iconv and nkf on the same 10 MB samples in
# one run: first whole-program runs (corkpane-tool convert/guess next to the
# iconv and nkf commands, each including start-up, reading the file and
# writing the result), UTF-8 in and out, peak memory on 1 GB,
# then the in-process Google Benchmark (the library next to iconv(3)).
#
# usage: bench/jconvert/compare.sh BUILD_DIR
#        (BUILD_DIR configured with -DCORKPANE_BUILD_BENCH=ON, Release)
set -euo pipefail

BUILD=${1:?usage: compare.sh BUILD_DIR}
BENCH=$BUILD/bin/jconvert_bench
TOOL=$BUILD/bin/corkpane-tool
for program in "$BENCH" "$TOOL"; do
    [ -x "$program" ] || { echo "missing $program (build jconvert_bench and corkpane-tool)" >&2; exit 2; }
done
command -v iconv > /dev/null && command -v nkf > /dev/null || { echo "needs iconv and nkf" >&2; exit 2; }

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
"$BENCH" --write-samples "$WORK"

# Best of five runs of a command, in milliseconds of CPU time (user plus
# system): on a shared machine wall-clock time mostly measures the other
# processes. The command's output goes to /dev/null.
best_ms() {
    local best="" TIMEFORMAT="%U %S"
    for _ in 1 2 3 4 5; do
        local times
        times=$( { time "$@" > /dev/null 2> /dev/null; } 2>&1 )
        local ms
        ms=$(awk -v t="$times" 'BEGIN { split(t, f, " "); printf "%d", (f[1] + f[2]) * 1000 + 0.5 }')
        if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
    done
    echo "$best"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b == 0) b = 1; printf "%.1f", a / b }'; }

row() { # name, sample, tool args..., --, iconv from, iconv to, nkf options
    local name=$1 sample=$WORK/$2; shift 2
    local tool_args=()
    while [ "$1" != "--" ]; do tool_args+=("$1"); shift; done
    shift
    local from=$1 to=$2 nkf_opts=$3
    local t_tool t_iconv t_nkf
    t_tool=$(best_ms "$TOOL" "${tool_args[@]}" "$sample")
    t_iconv=$(best_ms iconv -f "$from" -t "$to" "$sample")
    # shellcheck disable=SC2086
    t_nkf=$(best_ms nkf $nkf_opts "$sample")
    echo "| $name | $t_tool | $t_iconv | $t_nkf | $(ratio "$t_iconv" "$t_tool") | $(ratio "$t_nkf" "$t_tool") |"
}

echo "Samples: $(stat -c %s "$WORK/sample.sjis") bytes Shift_JIS, $(stat -c %s "$WORK/sample.euc") EUC-JP, $(stat -c %s "$WORK/sample.jis") JIS, $(stat -c %s "$WORK/sample.utf8") UTF-8"
echo
echo "| Whole program, CPU ms, best of 5 | corkpane-tool | iconv | nkf | iconv / ours | nkf / ours |"
echo "|---|---|---|---|---|---|"
row "JIS to Shift_JIS" sample.jis convert --to sjis -- ISO-2022-JP CP932 "-m0 -x -J -s"
row "EUC-JP to Shift_JIS" sample.euc convert --to sjis -- EUC-JP CP932 "-m0 -x -E -s"
row "Shift_JIS to JIS" sample.sjis convert --to jis -- CP932 ISO-2022-JP "-m0 -x -S -j"
row "Shift_JIS to EUC-JP" sample.sjis convert --to euc -- CP932 EUC-JP "-m0 -x -S -e"
row "Detection, Shift_JIS (iconv: decode to UTF-8)" sample.sjis guess -- CP932 UTF-8 "-g"
row "Detection, EUC-JP (iconv: decode to UTF-8)" sample.euc guess -- EUC-JP UTF-8 "-g"
row "Detection, JIS (iconv: decode to UTF-8)" sample.jis guess -- ISO-2022-JP UTF-8 "-g"
row "Detection, 7-bit worst case (iconv: decode to UTF-8)" sample.ascii guess -- ASCII UTF-8 "-g"
echo
echo "| UTF-8, whole program, CPU ms, best of 5 | corkpane-tool | iconv | nkf | iconv / ours | nkf / ours |"
echo "|---|---|---|---|---|---|"
row "Shift_JIS to UTF-8" sample.sjis convert --to utf8 -- CP932 UTF-8 "-m0 -x -S -w"
row "UTF-8 to Shift_JIS" sample.utf8 convert --to sjis -- UTF-8 CP932 "-m0 -x -W -s"
row "EUC-JP to UTF-8" sample.euc convert --to utf8 -- EUC-JP UTF-8 "-m0 -x -E -w"
row "UTF-8 to EUC-JP" sample.utf8 convert --to euc -- UTF-8 EUC-JP "-m0 -x -W -e"
row "JIS to UTF-8" sample.jis convert --to utf8 -- ISO-2022-JP UTF-8 "-m0 -x -J -w"
row "UTF-8 to JIS" sample.utf8 convert --to jis -- UTF-8 ISO-2022-JP "-m0 -x -W -j"
row "Detection, UTF-8 (iconv: decode to UTF-16)" sample.utf8 guess -- UTF-8 UTF-16 "-g"

# Peak memory on 1 GB, made on the fly: the Shift_JIS sample a hundred times
# through a pipe, converted to UTF-8 and back by two streaming runs.
peak_kb() { # command... < input
    /usr/bin/time -f "%M" "$@" 2>&1 > /dev/null | tail -1
}
gigabyte() { for _ in $(seq 100); do cat "$WORK/sample.sjis"; done; }
echo
echo "| 1 GB through a pipe (100 x the Shift_JIS sample) | peak resident set |"
echo "|---|---|"
echo "| corkpane-tool convert --to utf8 | $(gigabyte | peak_kb "$TOOL" convert --to utf8) kB |"
echo "| corkpane-tool convert --to euc | $(gigabyte | peak_kb "$TOOL" convert --to euc) kB |"
echo "| corkpane-tool convert --to jis | $(gigabyte | peak_kb "$TOOL" convert --to jis) kB |"
echo "| corkpane-tool convert --to utf8, then --to sjis | $(gigabyte | "$TOOL" convert --to utf8 | peak_kb "$TOOL" convert --to sjis) kB |"
echo "| iconv -f CP932 -t UTF-8 | $(gigabyte | peak_kb iconv -f CP932 -t UTF-8) kB |"
echo "| nkf -m0 -x -S -w | $(gigabyte | peak_kb nkf -m0 -x -S -w) kB |"
echo
echo "In-process (Google Benchmark, median of 3):"
"$BENCH" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true 2>/dev/null | grep -E '_median'
