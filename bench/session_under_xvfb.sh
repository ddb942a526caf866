#!/usr/bin/env bash
# Measures the window program as a user runs it, on a real X server (Xvfb):
#   - start-up: from starting the process to its window being on screen;
#   - idle CPU: the CPU time the process uses in 5 seconds of waiting for input;
#   - served pointer movement: the program's CPU time (user + system, from
#     /proc/PID/stat) over 200 movements across different cells of a pane,
#     divided by the movements, each given time to be served;
#   - peak memory: the resident peak (VmHWM) of a session that opens a screen
#     through the requester, edits a cell, saves and quits.
# Usage: session_under_xvfb.sh PATH/TO/scrfix PATH/TO/test_card
set -euo pipefail

program=$1
test_card=$2
# shellcheck source-path=SCRIPTDIR source=../scripts/xvfb-session.sh
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/xvfb-session.sh"
now_ms() { echo $(($(date +%s%N) / 1000000)); }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

start_xvfb 1600x900x24
"$test_card" "$workdir/card.scr"

# Start-up: poll for the window every few milliseconds.
start=$(now_ms)
env -u QT_QPA_PLATFORM QT_QPA_PLATFORM=xcb "$program" >"$workdir/program.log" 2>&1 &
program_pid=$!
window=""
until window=$(xdotool search --name '^New window \( 0 \)$' 2>/dev/null | head -n 1) && [[ -n "$window" ]]; do
    (($(now_ms) - start < 15000)) || fail "the window did not appear"
    sleep 0.005
done
startup_ms=$(($(now_ms) - start))

# Idle: nothing happens for 5 seconds.
sleep 1
ticks_before=$(cpu_ticks "$program_pid")
sleep 5
ticks_after=$(cpu_ticks "$program_pid")
idle_cpu_ms=$(((ticks_after - ticks_before) * 1000 / $(getconf CLK_TCK)))

# Served movements: 200 of them over the colour pane, each to another cell
# than the one before, with time between them to be served one by one (Qt
# would merge movements that arrive together). The pane's client x runs from
# 532; cell rows are found from y 60 down whatever the menu bar's height.
movements=200
xdotool mousemove --window "$window" 600 100 && sleep 0.2
xdotool mousemove --window "$window" 601 101 && sleep 0.2
ticks_before=$(cpu_ticks "$program_pid")
for ((k = 0; k < movements; k++)); do
    xdotool mousemove --window "$window" $((540 + 16 * (k % 29) + 3 * (k / 29 % 4))) \
        $((60 + 16 * (k / 29 % 18) + (k % 7)))
    sleep 0.01
done
sleep 0.3
ticks_after=$(cpu_ticks "$program_pid")
move_cpu_us=$(((ticks_after - ticks_before) * 1000000 / $(getconf CLK_TCK) / movements))

# A session: open the test card through the requester, flip a cell, save, quit.
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key ctrl+o
dialog=$(timeout 10 xdotool search --sync --name '^Please choose file to load$' | head -n 1) ||
    fail "the requester did not open"
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
sleep 0.3
xdotool type --delay 5 "$workdir/card.scr"
xdotool key Return
sleep 0.5
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool mousemove --window "$window" 100 150 && sleep 0.1
xdotool mousemove --window "$window" 101 151 && sleep 0.1
xdotool click 1 && sleep 0.2
xdotool key ctrl+s && sleep 0.3
peak_kib=$(awk '/^VmHWM:/ { print $2 }' "/proc/$program_pid/status")
"$test_card" "$workdir/original.scr"
cmp -s "$workdir/original.scr" "$workdir/card.scr" && fail "the session did not save an edited screen"
xdotool key ctrl+q
for _ in $(seq 100); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
done
status=0
wait "$program_pid" || status=$?
[[ $status -eq 0 ]] || fail "exit code $status"

echo "start-up to window on screen: ${startup_ms} ms"
echo "CPU time over 5 idle seconds: ${idle_cpu_ms} ms"
echo "program CPU time per served pointer movement (${movements} movements): ${move_cpu_us} us"
echo "peak resident memory of an open-edit-save session: $((peak_kib / 1024)) MiB (${peak_kib} KiB)"
