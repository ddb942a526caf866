#!/usr/bin/env bash
# Makes the README's screenshot: the program on an Xvfb screen with the test
# card loaded, the grid on and the pointer over a cell, so that the title
# shows the read-out. A window manager (openbox), if installed, draws the
# title bar; without one the picture has none.
# Usage: screenshot.sh PATH/TO/scrfix PATH/TO/test_card OUTPUT.png
set -euo pipefail

program=$(realpath "$1")
test_card=$(realpath "$2")
output=$(realpath "$3")
# A plain folder name, since the title shows the path.
workdir=/tmp/scrfix-screenshot
# shellcheck source-path=SCRIPTDIR source=../scripts/xvfb-session.sh
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/xvfb-session.sh"
start_xvfb 1200x640x24
if command -v openbox >/dev/null; then
    openbox >/dev/null 2>&1 &
    sleep 1
fi
"$test_card" "$workdir/testcard.scr"
cd "$workdir"
env -u QT_QPA_PLATFORM QT_QPA_PLATFORM=xcb "$program" >/dev/null 2>&1 &
window=$(timeout 15 xdotool search --sync --name '^New window \( 0 \)$' | head -n 1)
xdotool windowmove "$window" 40 30
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
sleep 0.5
xdotool key ctrl+o
dialog=$(timeout 10 xdotool search --sync --name '^Please choose file to load$' | head -n 1)
xdotool windowactivate --sync "$dialog" 2>/dev/null || xdotool windowfocus --sync "$dialog"
sleep 0.3
xdotool type --delay 5 "$workdir/testcard.scr"
xdotool key Return
sleep 0.5
# The menu bar is about 22 pixels high with the default font; the check
# boxes lie in the 20 pixels below it, the panes below them.
bar=22
xdotool mousemove --window "$window" 300 $((bar + 10)) click 1
sleep 0.3
xdotool mousemove --window "$window" $((530 + 2 + 16 * 9 + 8)) $((bar + 20 + 2 + 16 * 8 + 8))
sleep 0.2
xdotool mousemove_relative 1 1
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"
# The window with its frame: a few pixels around the client area.
import -window root -crop "$((WIDTH + 12))x$((HEIGHT + 44))+$((X - 6))+$((Y - 38))" +repage "$output"
echo "wrote $output"
