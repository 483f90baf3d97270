#!/usr/bin/env bash
# Starts the program under a virtual X server and reads the main window's
# title as the window system holds it: the toolkit must add nothing to it.
# Usage: window_title.sh QUORVEL QVTOOL
set -euo pipefail
quorvel=$1
qvtool=$2
for tool in xvfb-run xdotool xprop; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/Data"
"$qvtool" generate --persons 3 --organisations 1 --seed 7 "$home/Data/Default.qvp" >/dev/null
printf '[MiscOption]\nOwnerName=tester\n' >"$home/aa.ini"

export QUORVEL_HOME=$home QUORVEL=$quorvel
export EXPECTED="Quorvel  - tester (Default)"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    QT_QPA_PLATFORM=xcb "$QUORVEL" &
    pid=$!
    trap "kill $pid 2>/dev/null" EXIT
    id=$(timeout 30 xdotool search --sync --name "^Quorvel  - " | head -n 1)
    [ -n "$id" ] || { echo "FAIL: no main window with a book in its title"; exit 1; }
    property() { xprop -id "$id" "$1" | sed -n "s/^[^\"]*\"\(.*\)\"\$/\1/p"; }
    status=0
    for name in "WM_NAME:$(property WM_NAME)" "_NET_WM_NAME:$(property _NET_WM_NAME)" \
                "xdotool:$(xdotool getwindowname "$id")"; do
        if [ "${name#*:}" != "$EXPECTED" ]; then
            echo "FAIL: ${name%%:*} is \"${name#*:}\", expected \"$EXPECTED\""
            status=1
        fi
    done
    [ $status -eq 0 ] && echo "PASS: the window system shows \"$EXPECTED\""
    exit $status
'
