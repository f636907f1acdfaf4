#!/usr/bin/env bash
# Whole-process figures of pelo-agenda on the files of bench/agenda-files.py: the median wall
# time and the largest resident size over RUNS runs of each case. Figures, not pass/fail.
#
# Usage: bench/agenda-time.sh [AGENDA] [RUNS]   (defaults: build/release/tools/agenda/pelo-agenda, 7)
set -euo pipefail
cd "$(dirname "$0")/.."
agenda=${1:-build/release/tools/agenda/pelo-agenda}
runs=${2:-7}
[ -x "$agenda" ] || { echo "missing: $agenda (build pelo-agenda first)" >&2; exit 1; }

work=$(mktemp -d /tmp/pelo-agenda-time-XXXXXX)
trap 'rm -rf "$work"' EXIT
python3 bench/agenda-files.py "$work"

measure() {
  local name=$1
  shift
  local times=() peak=0
  for _ in $(seq 1 "$runs"); do
    local start end kib
    start=$(date +%s%N)
    /usr/bin/time -f "%M" -o "$work/time" "$agenda" "$@" >/dev/null
    end=$(date +%s%N)
    read -r kib <"$work/time"
    times+=($(((end - start) / 1000)))
    [ "$kib" -gt "$peak" ] && peak=$kib
  done
  local median
  median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")
  printf '%-34s median %6.1f ms  peak %6.1f MiB\n' "$name" "$(echo "scale=1; $median / 1000" | bc)" \
    "$(echo "scale=1; $peak / 1024" | bc)"
}

span=(--today 2024/1/1 --from 2024/1/1 --to 2026/12/31)
day=(--today 2024/1/1 --from 2024/6/1 --to 2024/6/1)
measure "rules, 2024-2026, tsv" --format tsv "${span[@]}" "$work/rules.nrk"
measure "rules, 2024-2026, text" --format text "${span[@]}" "$work/rules.nrk"
measure "rules, 2024-2026, ics" --format ics "${span[@]}" "$work/rules.nrk"
measure "rules, one day, tsv" --format tsv "${day[@]}" "$work/rules.nrk"
measure "one-off lines, one day, tsv" --format tsv "${day[@]}" "$work/oneoff.nrk"
