#!/usr/bin/env bash
# Desktop smoke test: starts martool under Xvfb and drives it with X key events. In the start-up
# dialog it picks COM255 (the loopback plug, last in the list) and confirms; types "hello" and Enter,
# which the plug echoes into the terminal; saves the terminal with Ctrl+S through the save dialog;
# then checks the saved bytes and takes a screenshot.
#   desktop_smoke.sh <martool> <work-dir>
set -u
martool=$1
work=$2
mkdir -p "$work"
saved="$work/saved-$$.txt"
shot="$work/desktop-smoke.png"
log="$work/martool.log"
rm -f "$saved"

for tool in Xvfb xdotool import unshare; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
# The program probes every port name; in a private /dev it finds only the loopback plug.
if ! unshare -m true 2>/dev/null; then
    echo "SKIP: no private mount namespace here (needs root), and the probe must not reach real ports"
    exit 77
fi

display=""
for n in $(seq 90 130); do
    if [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free X display"; exit 1; }

Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
home=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    kill "$xvfb" 2>/dev/null
    rm -rf "$home"
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

fail() {
    echo "FAIL: $*"
    import -window root "$shot" 2>/dev/null && echo "screenshot: $shot"
    echo "--- martool output"; cat "$log"
    exit 1
}

# /dev with only what a desktop program needs: no serial devices at all.
HOME=$home XDG_RUNTIME_DIR=$home QT_QPA_PLATFORM=xcb \
    "$(dirname "$0")/../../scripts/private-dev.sh" "$martool" >"$log" 2>&1 &
pid=$!

wait_window() { # name, seconds
    for _ in $(seq $(( $2 * 10 ))); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
gone() { # name, seconds
    for _ in $(seq $(( $2 * 10 ))); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}

dialog=$(wait_window "^Select Serial Port$" 20) || fail "the port settings dialog did not appear"
xdotool windowfocus --sync "$dialog" 2>/dev/null
sleep 0.5
xdotool key --clearmodifiers End    # the port list has the focus: its last entry is COM255
sleep 0.3
xdotool key --clearmodifiers Return # the default button, OK
gone "^Select Serial Port$" 10 || fail "the port settings dialog did not close"

frame=$(wait_window "^Marloven Debug Utility$" 10) || fail "no main window"
xdotool windowfocus --sync "$frame" 2>/dev/null
sleep 0.5
xdotool type --delay 40 "hello"
xdotool key --clearmodifiers Return
sleep 1
xdotool key --clearmodifiers ctrl+s
save=$(wait_window "^Save As$" 10) || fail "the save dialog did not appear"
xdotool windowfocus --sync "$save" 2>/dev/null
sleep 0.5
xdotool type --delay 10 "$saved"
xdotool key --clearmodifiers Return
gone "^Save As$" 10 || fail "the save dialog did not close"
for _ in $(seq 50); do [ -s "$saved" ] && break; sleep 0.1; done
sleep 0.5
import -window root "$shot"

expected=$(printf 'hello\r\n' | od -An -tx1)
actual=$(od -An -tx1 "$saved" 2>/dev/null)
[ "$actual" = "$expected" ] || fail "saved bytes are [$actual], expected [$expected]"
echo "PASS: the saved file holds 68 65 6c 6c 6f 0d 0a; screenshot: $shot"
exit 0
