#!/usr/bin/env bash
# Measures Dilmora beside a bare Qt program that only shows an empty window,
# and prints the results as one table (Markdown, as in docs/performance.md).
#
#   bash tools/bench.sh    install what is missing, build the benchmarks, run them all
#
# It builds optimised with debug information (RelWithDebInfo) and hardened as
# the release is, in build/bench;
# DILMORA_BENCH_BUILD_DIR names another folder. Every program runs on Qt's
# offscreen platform; start-up is also timed under Xvfb. Once built, measuring
# takes well under a minute. Anything else busy on the machine shows in the
# figures: run it on a quiet machine, or run it twice and compare.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source tools/lib/install-missing.sh

build=${DILMORA_BENCH_BUILD_DIR:-build/bench}
startupRuns=20  # interleaved start-ups of each program
coldRuns=12     # interleaved cold start-ups of each program
openRuns=30     # opens of each window, after the first
turnRuns=200    # page turns of each paged window and way
findRounds=10   # rounds of typing each window's words, a key at a time
memoryRuns=5    # processes whose peak memory is measured, per program

install_for bench

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

echo "Building in $build ..." >&2
if ! { cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
           -DDILMORA_BUILD_BENCH=ON -DDILMORA_BUILD_TOOLS=OFF -DDILMORA_HARDEN=ON -DDILMORA_REPRODUCIBLE=ON \
       && cmake --build "$build" --target dilmora-benches -j "$(nproc)"; } >"$scratch/build.log" 2>&1; then
    cat "$scratch/build.log" >&2
    exit 1
fi
# Qt wants a private runtime folder; without one it warns on every start.
export XDG_RUNTIME_DIR=$scratch/xdg
mkdir -m 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen

bin=$build/bench
dilmora=$bin/dilmora-bench-startup
bare=$bin/dilmora-bench-bare

echo "Start-up, offscreen ..." >&2
"$bin/dilmora-bench-launch" "$startupRuns" dilmora="$dilmora" bare="$bare" text="$bare,text" \
    >"$scratch/startup-offscreen"
if command -v xvfb-run >/dev/null; then
    echo "Start-up, Xvfb ..." >&2
    xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb \
        "$bin/dilmora-bench-launch" "$startupRuns" dilmora="$dilmora" bare="$bare" text="$bare,text" \
        >"$scratch/startup-xvfb"
    # Cold: the page cache dropped before every start, which needs root.
    if [ "$(id -u)" -eq 0 ]; then
        echo "Start-up, Xvfb, cold ..." >&2
        xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb \
            "$bin/dilmora-bench-launch" cold "$coldRuns" dilmora="$dilmora" bare="$bare" text="$bare,text" \
            >"$scratch/startup-xvfb-cold"
    else
        echo "Start-up, Xvfb, cold: skipped, dropping the page cache needs root" >&2
    fi
fi

echo "Opening windows ..." >&2
"$bin/dilmora-bench-open" "$openRuns" >"$scratch/open"

echo "Page turns ..." >&2
"$bin/dilmora-bench-pages" "$turnRuns" >"$scratch/turns"
echo "Finds ..." >&2
"$bin/dilmora-bench-finds" "$findRounds" 2>/dev/null >"$scratch/finds"
echo "Page turns under callgrind ..." >&2
mkdir "$scratch/callgrind"
valgrind --tool=callgrind --instr-atstart=no \
    --callgrind-out-file="$scratch/callgrind/turns.%p" "$bin/dilmora-bench-pages" callgrind \
    >/dev/null 2>&1
# Each dump is named "<form> <way> <turns>" and counts that many turns.
for dump in "$scratch"/callgrind/turns.*.*; do
    awk '/^desc: Trigger: Client Request: / { name = $5 " " $6; turns = $7 }
         /^summary: / { if (turns) printf "instructions %s %.0f\n", name, $2 / turns }' "$dump"
done >"$scratch/instructions"

echo "Memory ..." >&2
for _ in $(seq "$memoryRuns"); do
    echo "dilmora $("$dilmora" memory)"
    echo "bare $("$bare" memory)"
    echo "text $("$bare" memory text)"
done >"$scratch/memory"

strip -o "$scratch/dilmora" "$build/dilmora"
strip -o "$scratch/bare" "$bare"

# ---- the table -------------------------------------------------------------

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
field() { awk -v k1="$2" -v k2="$3" -v n="$4" '$1 == k1 && $2 == k2 { print $n }' "$1"; }
verdict() { awk -v ok="$1" 'BEGIN { print ok ? "yes" : "no" }'; }

row() { printf '| %s | %s | %s | %s | %s | %s |\n' "$@"; }

echo
echo "| Measure | Dilmora | Bare Qt window | Bare Qt window with one label | Target | Met |"
echo "|---|---|---|---|---|---|"

for platform in offscreen xvfb xvfb-cold; do
    file=$scratch/startup-$platform
    [ -s "$file" ] || continue
    d=$(field "$file" startup dilmora 3)
    b=$(field "$file" startup bare 3)
    t=$(field "$file" startup text 3)
    runs=$(field "$file" startup dilmora 6)
    ratio=$(awk -v d="$d" -v b="$b" 'BEGIN { printf "%.2f", d / b }')
    ratioText=$(awk -v d="$d" -v t="$t" 'BEGIN { printf "%.2f", d / t }')
    row "Start-up to first frame, ${platform/-/, }, median of $runs" "$d ms" "$b ms" "$t ms" \
        "≤ 1.10 × with one label" "$(verdict "$(awk -v r="$ratioText" 'BEGIN { print r <= 1.10 }')") ($ratioText × with one label; $ratio × bare)"
done

declare -A titles=([irregularverbs]="Irregular Verbs" [phrasalverbs]="Phrasal Verbs"
                   [particles]="Particles" [numbers]="Numbers" [aboutprogrammer]="About Programmer")
for command in irregularverbs phrasalverbs particles numbers aboutprogrammer; do
    first=$(field "$scratch/open" open "$command" 3)
    med=$(field "$scratch/open" open "$command" 4)
    worst=$(field "$scratch/open" open "$command" 5)
    row "Open ${titles[$command]}: median / worst of $openRuns (first open)" \
        "$med / $worst ms ($first ms)" "" "" "< 16.7 ms" \
        "$(verdict "$(awk -v m="$med" -v f="$first" 'BEGIN { print m < 16.7 && f < 16.7 }')")"
done

declare -A forms=([Form3]="Irregular Verbs" [Form6]="Phrasal Verbs" [Form4]="Particles")
for form in Form3 Form6 Form4; do
    for way in showPage frame repaint; do
        med=$(awk -v f="$form" -v w="$way" '$2 == f && $3 == w { print $4 }' "$scratch/turns")
        worst=$(awk -v f="$form" -v w="$way" '$2 == f && $3 == w { print $5 }' "$scratch/turns")
        instructions=$(awk -v f="$form" -v w="$way" '$2 == f && $3 == w { printf "%.2f M", $4 / 1e6 }' \
                       "$scratch/instructions")
        case $way in
            showPage) what="showPage"; target="—"; met="—" ;;
            frame) what="showPage + next frame"; target="median ≤ 2 ms"
                   met=$(verdict "$(awk -v m="$med" 'BEGIN { print m <= 2 }')") ;;
            repaint) what="showPage + repaint()"; target="median ≤ 2 ms"
                     met=$(verdict "$(awk -v m="$med" 'BEGIN { print m <= 2 }')") ;;
        esac
        row "Page turn, ${forms[$form]}, $what: median / worst of $turnRuns; instructions per turn" \
            "$med / $worst ms; ${instructions:-?}" "" "" "$target" "$met"
    done
done

declare -A finders=([Form3]="Irregular Verbs" [Form6]="Phrasal Verbs" [Form4]="Particles"
                    [Form5]="Numbers" [Form1]="the main window, with its list")
for form in Form3 Form6 Form4 Form5 Form1; do
    med=$(field "$scratch/finds" find "$form" 3)
    worst=$(field "$scratch/finds" find "$form" 4)
    keys=$(field "$scratch/finds" find "$form" 5)
    row "Find in ${finders[$form]}, a key: find, page turn, repaint; median / worst of $keys keys" \
        "$med / $worst ms" "" "" "< 16.7 ms" "$(verdict "$(awk -v w="$worst" 'BEGIN { print w < 16.7 }')")"
done

hwm() { awk -v who="$1" '$1 == who { print $3 }' "$scratch/memory" | median; }
hwmFirst() { awk -v who="$1" '$1 == who { print $5 }' "$scratch/memory" | median; }
d=$(hwm dilmora); b=$(hwm bare); t=$(hwm text); f=$(hwmFirst dilmora)
mb() { awk -v k="$1" 'BEGIN { printf "%.1f MB", k / 1024 }'; }
above=$(awk -v d="$d" -v b="$b" 'BEGIN { printf "%.1f", (d - b) / 1024 }')
aboveText=$(awk -v d="$d" -v t="$t" 'BEGIN { printf "%.1f", (d - t) / 1024 }')
row "Peak resident memory (VmHWM) after opening and closing every window, median of $memoryRuns" \
    "$(mb "$d") ($(mb "$f") at the first frame)" "$(mb "$b")" "$(mb "$t")" "≤ bare + 5 MB" \
    "$(verdict "$(awk -v a="$above" 'BEGIN { print a <= 5 }')") (+$above MB; +$aboveText MB over one label)"

size() { awk -v s="$(stat -c %s "$1")" 'BEGIN { printf "%.0f KB", s / 1024 }'; }
row "Program, stripped" "$(size "$scratch/dilmora")" "$(size "$scratch/bare")" "" "—" "—"

echo
printf 'Machine: %s cores, %s, %s memory; Qt %s; g++ %s\n' "$(nproc)" \
    "$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)" \
    "$(awk '/^MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo)" \
    "$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || echo '?')" \
    "$(g++ -dumpfullversion)"
