#!/usr/bin/env bash
# Starts the program as a file manager does, `scrfix FILE`, on its own Xvfb
# server with an empty home folder; moves the pointer over the colour pane
# and reads the window title, which names the file; opens the requester and
# cancels it; quits with Ctrl+Q. The program must end by itself with exit
# code 0 and leave the home folder empty.
set -euo pipefail

program=$1
# shellcheck source-path=SCRIPTDIR source=../../scripts/xvfb-session.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb-session.sh"
start_xvfb 1600x900x24

mkdir "$workdir/home" "$workdir/my screens"
mkdir -m 700 "$workdir/runtime"
# A blank bitmap under attribute 71 (bright, paper 0, ink 7) in every cell.
screen="$workdir/my screens/title.scr"
{
    head -c 6144 /dev/zero
    head -c 768 /dev/zero | tr '\0' '\107'
} >"$screen"

env -u QT_QPA_PLATFORM -u XDG_CONFIG_HOME -u XDG_CACHE_HOME -u XDG_DATA_HOME -u XDG_STATE_HOME \
    QT_QPA_PLATFORM=xcb HOME="$workdir/home" XDG_RUNTIME_DIR="$workdir/runtime" \
    "$program" "$screen" >"$workdir/program.log" 2>&1 &
program_pid=$!

window=$(timeout 15 xdotool search --sync --name '^New window \( 0 \)$' | head -n 1) ||
    fail "the window did not appear: $(cat "$workdir/program.log")"

# The colour pane starts at x 530 inside a 2-pixel edge: x 600 is pane pixel
# 68, cell column 4. The row depends on the menu bar's height, so it is read
# back instead of assumed.
title=$(title_after_moving_to "$window" 600 150)
expected_end=" file:$screen"
[[ "$title" =~ ^x:4\ y:[0-9]+\ attribute:01:000:111\ file: && "$title" == *"$expected_end" ]] ||
    fail "unexpected title '$title'"
echo "title: $title"

# No window manager runs here: the program's window has the input focus as
# the only window; give it again in case, then type through the X server.
xdotool windowfocus "$window" 2>/dev/null || true
sleep 0.2
xdotool key ctrl+o
requester=$(timeout 10 xdotool search --sync --name '^Please choose file to load$' | head -n 1) ||
    fail "the open requester did not appear"
xdotool windowfocus "$requester" 2>/dev/null || true
sleep 0.3
xdotool key Escape
box=$(timeout 10 xdotool search --sync --name '^Information$' | head -n 1) ||
    fail "the cancelled requester was not reported"
xdotool windowfocus "$box" 2>/dev/null || true
sleep 0.3
xdotool key Return
for _ in $(seq 50); do
    xdotool search --name '^Information$' >/dev/null 2>&1 || break
    sleep 0.1
done

xdotool windowfocus "$window" 2>/dev/null || true
sleep 0.2
quit_and_expect_exit_code_0 "$program_pid"
left=$(find "$workdir/home" -mindepth 1)
[[ -z "$left" ]] || fail "the session left files in the home folder: $left"
echo "ended with exit code 0, the home folder still empty"
