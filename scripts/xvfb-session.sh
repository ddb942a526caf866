# shellcheck shell=bash
# Sourced by the scripts that run the program on an X server of their own
# (Xvfb): the end-to-end test, the session benchmark and the screenshot.
#
# On sourcing, `workdir` becomes a scratch folder: a fresh one from mktemp,
# or, when the script set `workdir` beforehand, that folder made empty. On
# exit, for whatever reason, every background job the script started and
# has not waited for is ended and the scratch folder is removed.
#
#   start_xvfb GEOMETRY  starts Xvfb with one screen of GEOMETRY (such as
#                        1600x900x24) on a free display, logging to
#                        $workdir/xvfb.log, and exports DISPLAY.
#   fail MESSAGE...      reports the failure on standard error, exits with 1.
#   quit_and_expect_exit_code_0 PID
#                        presses Ctrl+Q (the program's window must have the
#                        focus) and fails unless the program PID, started by
#                        the script, ends within 10 seconds with exit code 0;
#                        the failure shows $workdir/program.log.
#   title_after_moving_to WINDOW X Y
#                        moves the pointer onto (X, Y) of WINDOW in two steps
#                        (the first only enters a pane) and prints the
#                        window's title once the program has written a
#                        read-out into it, or whatever it is after 5 seconds.

if [[ -n "${workdir:-}" ]]; then
    rm -rf "$workdir"
    mkdir -p "$workdir"
else
    workdir=$(mktemp -d)
fi

end_session() {
    local pids
    pids=$(jobs -p)
    # shellcheck disable=SC2086  # one process id a word
    [[ -z "$pids" ]] || kill $pids 2>/dev/null || true
    rm -rf "$workdir"
}
trap end_session EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

start_xvfb() {
    local display_fd display_number
    # Xvfb picks a free display number and writes it to the given descriptor.
    exec {display_fd}<> <(:)
    Xvfb -displayfd "$display_fd" -screen 0 "$1" -nolisten tcp >"$workdir/xvfb.log" 2>&1 &
    read -r -t 15 display_number <&"$display_fd" || fail "Xvfb did not start"
    exec {display_fd}<&-
    export DISPLAY=":$display_number"
}

title_after_moving_to() {
    local window=$1 x=$2 y=$3 title=""
    xdotool mousemove --window "$window" "$x" "$y"
    sleep 0.3
    xdotool mousemove --window "$window" $((x + 1)) $((y + 1))
    for _ in $(seq 50); do
        title=$(xdotool getwindowname "$window")
        [[ "$title" == x:* ]] && break
        sleep 0.1
    done
    echo "$title"
}

quit_and_expect_exit_code_0() {
    local pid=$1 status=0
    xdotool key ctrl+q
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "the program did not end after Ctrl+Q"
    wait "$pid" || status=$?
    [[ $status -eq 0 ]] || fail "exit code $status: $(cat "$workdir/program.log")"
}
