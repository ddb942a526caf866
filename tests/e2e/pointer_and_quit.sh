#!/usr/bin/env bash
# Starts the program on its own Xvfb server, moves the pointer over the
# bitmap pane, reads the window title, quits with Ctrl+Q and checks that the
# program ended by itself with exit code 0.
set -euo pipefail

program=$1
# shellcheck source-path=SCRIPTDIR source=../../scripts/xvfb-session.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb-session.sh"
start_xvfb 1600x900x24

env -u QT_QPA_PLATFORM QT_QPA_PLATFORM=xcb "$program" >"$workdir/program.log" 2>&1 &
program_pid=$!

window=$(timeout 15 xdotool search --sync --name '^New window \( 0 \)$' | head -n 1) ||
    fail "the window did not appear: $(cat "$workdir/program.log")"

# The bitmap pane starts 20 pixels below the menu bar, inside a 2-pixel edge;
# x 100 is pane pixel 98, cell column 6. The height of the menu bar depends on
# the font, so the row is read back from the title instead of assumed.
title=$(title_after_moving_to "$window" 100 150)
[[ "$title" =~ ^x:6\ y:[0-9]+\ attribute:00:000:000\ file:$ ]] ||
    fail "unexpected title '$title'"
echo "title: $title"

# No window manager runs here: the program's window has the input focus as
# the only window; give it again in case, then type through the X server.
xdotool windowfocus "$window" 2>/dev/null || true
sleep 0.2
quit_and_expect_exit_code_0 "$program_pid"
echo "ended with exit code 0"
