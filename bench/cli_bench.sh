#!/usr/bin/env bash
# Whole-process timings and peak memory of tovrana-cli on the largest inputs
# the program handles, next to other tools run on the same texts in the same
# run, with each figure's ratio to the floor (awk printing the quoted field of
# every base line, i.e. reading the file once):
#
#   - resource strings: a base and a destination of 65,535 entries (3.8 and
#     2.9 MB); the same texts as a PO file for `msgfmt --check --statistics`
#     and Qt's `lconvert` (PO to TS);
#   - a firmware file set of 65,535 lines (4 files) and its destination set;
#   - a menu INI file of 43 languages with 1,503 text keys each;
#   - a C file of 10 languages with 5,000 texts each.
#
#   bench/cli_bench.sh [CLI [OTHER_CLI]]   (default CLI: build/demo/tovrana-cli)
#
# With OTHER_CLI (for example the binary of another branch) its resource-string
# figures are taken in the same run, right after CLI's.
#
# Needs hyperfine and GNU time (Debian: apt-get install hyperfine time);
# msgfmt (gettext) and lconvert (qt6-l10n-tools) are timed when installed.
# Targets: the resource-string check and export at most 3 times the awk floor,
# and at most twice the two files' size (plus the process's few MB) in memory.
# "export -o" also waits until the file is on the disk (every save is flushed
# before it replaces the old file), which the targets leave out.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/demo/tovrana-cli}
other=${2:-}
runs=${RUNS:-15}
work=$(mktemp -d /tmp/tovrana-cli-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

# Resource strings: the destination lists the strings in reverse order, and
# every 10th one is missing, so that the check has problems to report. The PO
# file holds the same pairs (the identifier as the context).
awk -v base="$work/base.drc" -v dest="$work/dest.drc" -v po="$work/texts.po" 'BEGIN {
    printf "/* bench */\r\nSTRINGTABLE\r\nBEGIN\r\n" > base
    printf " STRINGTABLE\r\n  BEGIN\r\n" > dest
    printf "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n" > po
    for (i = 1; i <= 65535; i++) {
        printf "\tKfxUnit%d_RsString%d,\t\"Base text number %d with a \\\"quoted\\\" word\"\r\n", i % 97, i, i > base
        printf "\nmsgctxt \"KfxUnit%d_RsString%d\"\nmsgid \"Base text number %d with a \\\"quoted\\\" word\"\n", i % 97, i, i > po
        printf "msgstr \"%s\"\n", i % 10 == 0 ? "" : "Tekst docelowy numer " i > po
    }
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

# Menu INI: 43 language sections, each with the 1,503 text keys (n, ni, nv
# for n = 0 to 500).
awk -v ini="$work/menu.ini" 'BEGIN {
    printf "; menu texts\r\n[LANGUAGES]\r\ncount=43\r\n\r\n" > ini
    for (l = 1; l <= 43; l++) {
        printf "[Lang%02d]\r\ntitle=Menu\r\n", l > ini
        for (n = 0; n <= 500; n++)
            printf "%d=Menu text %d in %d \xB9\xEA\r\n%di=Hint %d in %d\r\n%dv=Status %d in %d\r\n", n, n, l, n, n, l, n, n, l > ini
        printf "\r\n" > ini
    }
}'

# C string arrays: 10 languages, 50 arrays of 100 texts per language; half the
# arrays group each language in braces.
awk -v c="$work/texts.c" '
function slot(text, lang,   s) {
    s = sprintf("%19s\"%s\",", "", text)
    return sprintf("%-60s  // %d\r\n", s, lang)
}
BEGIN {
    printf "/* display texts */\r\n#include \"texts.h\"\r\nconst char *language_names[] = {\r\n" > c
    for (l = 0; l < 10; l++) printf "%s", slot("Language " l, l) > c
    printf "};\r\n" > c
    for (a = 0; a < 50; a++) {
        printf "\r\nconst char *texts_%d[][100] = {\r\n", a > c
        for (l = 0; l < 10; l++) {
            if (a % 2) printf "{\r\n" > c
            for (i = 0; i < 100; i++)
                printf "%s", slot("Tekst " (a * 100 + i) " j\xEAzyka " l (i % 7 == 0 ? " z d\xB3ugim ci\xB9giem dalszym" : ""), l) > c
            if (a % 2) printf (l < 9 ? "},\r\n" : "}\r\n") > c
        }
        printf "};\r\n" > c
    }
}'

echo "== inputs"
wc -c "$work/base.drc" "$work/dest.drc" | head -2
echo "firmware: $(cat "$work"/ENG/*.ENG | wc -l) lines, $(cat "$work"/ENG/*.ENG | wc -c) bytes"
echo "menu INI: $(wc -c <"$work/menu.ini") bytes; C file: $(wc -c <"$work/texts.c") bytes"
echo "load: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"

# name|command, one per line; the first is the floor.
commands=(
    "awk floor|awk '-F\"' '{print \$2}' $work/base.drc"
    "drc check|$cli check --kind drc $work/base.drc $work/dest.drc"
    "drc export|$cli export --kind drc $work/base.drc $work/dest.drc"
)
if [ -n "$other" ]; then
    commands+=("drc check (other)|$other check --kind drc $work/base.drc $work/dest.drc"
               "drc export (other)|$other export --kind drc $work/base.drc $work/dest.drc")
fi
command -v msgfmt >/dev/null && commands+=("msgfmt --check|msgfmt --check --statistics -o /dev/null $work/texts.po")
lconvert=$(command -v lconvert || echo /usr/lib/qt6/bin/lconvert)
[ -x "$lconvert" ] && commands+=("lconvert po->ts|$lconvert -i $work/texts.po -o $work/texts.ts")
commands+=(
    "drc export -o (synced)|$cli export --kind drc $work/base.drc $work/dest.drc -o $work/out.tsv"
    "firmware check|$cli check --kind orvanta $work/ENG/A.ENG $work/POL/A.POL"
    "firmware export|$cli export --kind orvanta $work/ENG/A.ENG $work/POL/A.POL"
    "menu-ini check|$cli check --kind menu-ini $work/menu.ini --base-lang Lang01 --dest-lang Lang02"
    "menu-ini export|$cli export --kind menu-ini $work/menu.ini --base-lang Lang01 --dest-lang Lang02"
    "c check|$cli check --kind c $work/texts.c --base-lang Language\\ 0 --dest-lang Language\\ 1"
    "c export|$cli export --kind c $work/texts.c --base-lang Language\\ 0 --dest-lang Language\\ 1"
)

args=()
for entry in "${commands[@]}"; do args+=(-n "${entry%%|*}" "${entry#*|}"); done
hyperfine --warmup 3 --runs "$runs" -N -i --style none --export-csv "$work/times.csv" "${args[@]}" >/dev/null

# Peak memory of each, by GNU time, one run (the same splitting of the
# command line as above).
: >"$work/rss.txt"
for entry in "${commands[@]}"; do
    eval "set -- ${entry#*|}"
    /usr/bin/time -f %M -o "$work/time.txt" "$@" >/dev/null 2>&1 || true
    echo "$(tail -1 "$work/time.txt")" >>"$work/rss.txt"
done

echo "== figures (median of $runs runs; ratios to the awk floor of this run)"
awk -F, 'NR == FNR { rss[FNR] = $1; next }
         FNR == 1 { printf "%-24s %10s %8s %10s %8s\n", "command", "median ms", "x awk", "peak MB", "x awk"; next }
         { n = FNR - 1; med = $4 * 1000
           if (n == 1) { floor = med; floorRss = rss[1] }
           printf "%-24s %10.1f %8.1f %10.1f %8.1f\n", $1, med, med / floor, rss[n] / 1024, rss[n] / floorRss }' \
    "$work/rss.txt" "$work/times.csv"
