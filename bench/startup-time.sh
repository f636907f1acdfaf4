#!/usr/bin/env bash
# How long pelo takes from being started to a painted, filled grid, on a generated data file
# of 100,000 lines (CP932), under a virtual X server. A figure, not pass/fail (goal: under
# 1.5 s). The program reports the moment of its first paint after the start-up sequence when
# PELO_STARTUP_TIMING is set; this script counts from the moment it started the program.
#
# Usage: bench/startup-time.sh [BUILD_DIR] [RUNS]     (defaults: build/release, 3)
# Build first: cmake --build BUILD_DIR --target pelo
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
runs=${2:-3}
pelo="$build/src/gui/app/pelo"
for program in "$pelo" "$(command -v Xvfb || true)" "$(command -v xwininfo || true)"; do
  if [ -z "$program" ] || [ ! -x "$program" ]; then
    echo "missing: ${program:-Xvfb or xwininfo} (build pelo; scripts/deps.sh installs the rest)" >&2
    exit 1
  fi
done

work=$(mktemp -d /tmp/pelo-startup-XXXXXX)
xvfb_pid=""
pelo_pid=""
cleanup() {
  [ -n "$pelo_pid" ] && kill "$pelo_pid" 2>/dev/null && wait "$pelo_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Lines of the kinds a long-kept file holds, in turn; every one of them parses (a bad line
# would open the load report and stop the clock).
data="$work/big.nrk"
awk 'BEGIN {
  for (i = 0; i < 100000; i++) {
    m = i % 12 + 1; d = i % 28 + 1; k = i % 10; y = 1990 + i % 50
    if (k == 0) printf "%d/%d/%d 10:00 打ち合わせ 第%d回\r\n", y, m, d, i
    else if (k == 1) printf "%d/%d 記念日 %d &o(%%s)\r\n", m, d, i
    else if (k == 2) printf "%d 月例の点検 %d\r\n", d, i
    else if (k == 3) printf "B:%d/MO%d 定例会議 %d\r\n", m, i % 4 + 1, i
    else if (k == 4) printf "%d/%d/%d~%d/%d/20 出張 %d\r\n", y, m, d % 19 + 1, y, m, i
    else if (k == 5) printf "9:00~17:00 %d/%d/%d 研修 %d &&>(HD)\r\n", y, m, d, i
    else if (k == 6) printf "%d/%d/%d 予定 %d\r\n", 2020 + i % 10, m, d, i
    else if (k == 7) printf "%d^/%d/%d 誕生日 %d &o(%%g)\r\n", 1950 + i % 60, m, d, i
    else if (k == 8) printf "%d/_ 月末の締め %d\r\n", m, i
    else printf "%d/%d 年中行事 %d\r\n", m, d, i
  }
}' | iconv -f UTF-8 -t CP932 >"$data"
lines=$(wc -l <"$data")

# The server picks a free display and names it through the pipe.
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
read -r -t 15 display_number <"$work/display" || { echo "Xvfb did not start" >&2; exit 1; }
display=":$display_number"

mkdir -p "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
figures=()
for run in $(seq 1 "$runs"); do
  log="$work/pelo-$run.log"
  : >"$log"  # there before the first look at it, however late the program starts
  start=$(date +%s%3N)
  env -i PATH=/usr/bin:/bin DISPLAY="$display" HOME="$work" XDG_CONFIG_HOME="$work/config" \
    XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb LANG=C.UTF-8 PELO_STARTUP_TIMING=1 \
    "$pelo" "$data" >"$log" 2>&1 &
  pelo_pid=$!
  painted=""
  for _ in $(seq 1 1200); do
    painted=$(sed -n 's/.*at epoch ms \([0-9]*\).*/\1/p' "$log")
    [ -n "$painted" ] && break
    kill -0 "$pelo_pid" 2>/dev/null || break
    sleep 0.05
  done
  # The window really is there, titled as it should be.
  DISPLAY="$display" xwininfo -name "ぺろん - $(basename "$data")" >/dev/null 2>&1 ||
    { echo "no window" >&2; exit 1; }
  # Resident memory with the grid filled.
  resident=$(sed -n 's/^VmRSS:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$pelo_pid/status")
  kill -TERM "$pelo_pid"
  wait "$pelo_pid" || { echo "pelo did not end cleanly" >&2; exit 1; }
  pelo_pid=""
  # Without a paint within a minute the start-up waits for something, such as the load report
  # of a line that did not parse.
  [ -n "$painted" ] || { echo "no paint reported; log:" >&2; cat "$log" >&2; exit 1; }
  figures+=($((painted - start)))
  echo "run $run: $((painted - start)) ms to the filled grid ($(sed -n 's/.*painted \([0-9]*\) ms after main.*/\1/p' "$log") ms after main), $((resident / 1024)) MiB resident"
done

sorted=$(printf '%s\n' "${figures[@]}" | sort -n)
median=$(echo "$sorted" | sed -n "$(((runs + 1) / 2))p")
echo "pelo start-up on $lines lines: median $median ms over $runs runs (goal: under 1500 ms)"
