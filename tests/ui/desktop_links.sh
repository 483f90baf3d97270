#!/usr/bin/env bash
# A new user's session under a virtual X server, with a stand-in xdg-open
# that records what the program hands to the desktop: Dial on a phone field,
# E-mail To for two marked entries and Launch, Go URL on an e-mail field.
# The book is generated with a fixed seed, so its names, numbers and addresses
# are known; the pointer clicks at the designed places of the fields.
# Usage: desktop_links.sh QUORVEL QVTOOL
set -euo pipefail
quorvel=$1
qvtool=$2
for tool in xvfb-run xdotool; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home/Data" "$work/bin"
"$qvtool" generate --persons 3 --organisations 1 --seed 7 "$work/home/Data/Default.qvp" >/dev/null
cat > "$work/bin/xdg-open" <<STUB
#!/bin/sh
printf '%s\n' "\$*" >> "$work/opened.log"
STUB
chmod +x "$work/bin/xdg-open"
touch "$work/opened.log"

export QUORVEL_HOME=$work/home USER=tester QUORVEL=$quorvel LOG=$work/opened.log
export PATH="$work/bin:$PATH"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    QT_QPA_PLATFORM=xcb "$QUORVEL" &
    pid=$!
    trap "kill $pid 2>/dev/null" EXIT
    id=$(timeout 30 xdotool search --sync --name "^Quorvel  - " | head -n 1)
    [ -n "$id" ] || { echo "FAIL: no main window with a book in its title"; exit 1; }
    xdotool windowfocus --sync "$id"
    click() { xdotool mousemove --window "$id" "$1" "$2" click 1; sleep 0.3; }
    keys() { for k in "$@"; do xdotool key "$k"; sleep 0.3; done; }
    # Waits for the desktop to be handed one more URL and checks it.
    count=0
    expect() {
        count=$((count + 1))
        for _ in $(seq 50); do
            [ "$(wc -l < "$LOG")" -ge $count ] && break
            sleep 0.1
        done
        got=$(sed -n "${count}p" "$LOG")
        if [ "$got" != "$2" ]; then
            echo "FAIL: $1 handed \"$got\", expected \"$2\""
            exit 1
        fi
        echo "ok: $1 handed $got"
    }

    # Susan Davis is the current entry; her home phone is "+49 10 53250872".
    click 398 361
    keys alt+t i Return
    expect "Dial" "tel:+491053250872"

    # Mark Susan Davis and Ethan Thomas in the list, add them as To, launch.
    click 60 225
    xdotool keydown ctrl mousemove --window "$id" 60 257 click 1 keyup ctrl
    sleep 0.3
    keys ctrl+t ctrl+l
    timeout 10 xdotool search --sync --name "^Recipients\$" >/dev/null || { echo "FAIL: no Recipients dialog"; exit 1; }
    keys Return
    expect "E-mail To + Launch" \
        "mailto:?to=Ethan%20Thomas%20%3Cuser2002@mail.example%3E,Susan%20Davis%20%3Cuser2003@mail.example%3E"

    # The organisation'"'"'s e-mail field: "info@org2001.example".
    click 611 217
    keys alt+t u
    expect "Go URL" "mailto:info@org2001.example"
'
echo "PASS: Dial, E-mail and Go URL handed the desktop the expected URLs"
