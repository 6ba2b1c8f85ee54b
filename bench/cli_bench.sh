#!/usr/bin/env bash
# Whole-process timings of tovrana-cli on the largest inputs the program
# handles: a resource-string base and destination of 65,535 entries, and a
# firmware file set of 65,535 lines (4 files) with its destination set.
#
#   bench/cli_bench.sh [path/to/tovrana-cli]     (default: build/demo/tovrana-cli)
#
# Needs hyperfine and GNU time (Debian: apt-get install hyperfine time).
# Targets: drc check < 150 ms, drc export < 150 ms, firmware check < 200 ms.
# "export -o" also waits until the file is on the disk (every save is
# flushed before it replaces the old file), which the targets leave out.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/demo/tovrana-cli}
work=$(mktemp -d /tmp/tovrana-cli-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

# Resource strings: the destination lists the strings in reverse order, and
# every 10th one is missing, so that the check has problems to report.
awk -v base="$work/base.drc" -v dest="$work/dest.drc" 'BEGIN {
    printf "/* bench */\r\nSTRINGTABLE\r\nBEGIN\r\n" > base
    printf " STRINGTABLE\r\n  BEGIN\r\n" > dest
    for (i = 1; i <= 65535; i++)
        printf "\tKfxUnit%d_RsString%d,\t\"Base text number %d with a \\\"quoted\\\" word\"\r\n", i % 97, i, i > base
    for (i = 65535; i >= 1; i--)
        if (i % 10 != 0)
            printf "      KfxUnit%d_RsString%d,  \"Tekst docelowy numer %d\"\r\n", i % 97, i, i > dest
    printf "END\r\n" > base
    printf " END\r\n" > dest
}'

# Firmware: 4 files of 16,383 or 16,386 lines, a text on 3 lines out of 4;
# the destination set has the same lines with other texts of the same length.
mkdir -p "$work/ENG" "$work/POL"
awk -v eng="$work/ENG" -v pol="$work/POL" 'BEGIN {
    split("A B C D", names, " ")
    n = 0
    for (f = 1; f <= 4; f++) {
        lines = f == 4 ? 65535 - 3 * 16383 : 16383
        for (i = 0; i < lines; i++) {
            if (i % 4 == 0) {
                printf "; block %d\r\n", i > (eng "/" names[f] ".ENG")
                printf "; blok %d\r\n", i > (pol "/" names[f] ".POL")
            } else {
                printf "T%05d DB \x27Text %05d          \x27,0 ; c\r\n", n, n > (eng "/" names[f] ".ENG")
                printf "T%05d DB \x27Tekst %05d         \x27,0 ; k\r\n", n, n > (pol "/" names[f] ".POL")
                n++
            }
        }
    }
}'

echo "== inputs"
wc -l "$work/base.drc" "$work/dest.drc" | head -2
cat "$work"/ENG/*.ENG | wc -l

echo "== timings"
hyperfine --warmup 3 --runs 20 -N -i \
    -n "drc check" "$cli check --kind drc $work/base.drc $work/dest.drc" \
    -n "drc export" "$cli export --kind drc $work/base.drc $work/dest.drc" \
    -n "drc export -o (synced to disk)" "$cli export --kind drc $work/base.drc $work/dest.drc -o $work/out.tsv" \
    -n "firmware check" "$cli check --kind orvanta $work/ENG/A.ENG $work/POL/A.POL"

echo "== peak memory"
for cmd in "check --kind drc $work/base.drc $work/dest.drc" \
           "export --kind drc $work/base.drc $work/dest.drc" \
           "check --kind orvanta $work/ENG/A.ENG $work/POL/A.POL"; do
    /usr/bin/time -v -o "$work/time.txt" "$cli" $cmd >/dev/null || true
    rss=$(awk -F': ' '/Maximum resident/ {print $2}' "$work/time.txt")
    echo "${cmd%% *} ${cmd#* --kind } : ${rss} kB"
done
