#!/usr/bin/env bash
# Takes the README's and the AppStream metadata's screenshots with the real program under Xvfb, in a
# private /dev (as the desktop smoke test runs it) that holds one extra node: a pseudo-terminal at
# /dev/ttyUSB0, which /sys/class/tty describes as a USB adapter, so that the port list has a USB entry
# to show. Needs root (for the private mounts), Xvfb, xdotool, ImageMagick and python3.
#   docs/take_screenshots.sh <martool> [output-dir]
set -euo pipefail
martool=$(realpath "$1")
out=$(realpath "${2:-$(dirname "$0")}")
display=:97
work=$(mktemp -d)
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
pty_pid=""
cleanup() {
    [ -n "$pty_pid" ] && kill "$pty_pid" 2>/dev/null
    kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

# A pseudo-terminal that stays open while the program runs; its slave stands in for the adapter.
python3 -c '
import os, sys, time
master, slave = os.openpty()
print(os.ttyname(slave), flush=True)
time.sleep(600)' >"$work/pty" &
pty_pid=$!
for _ in $(seq 50); do [ -s "$work/pty" ] && break; sleep 0.1; done
pts=$(head -n1 "$work/pty")

# A stand-in /sys entry names the pty's adapter, as a USB adapter's would.
sysfs='
    mount -t tmpfs tmpfs /sys/class/tty
    usb=/sys/class/tty/.usb1/1-2
    mkdir -p "$usb/1-2:1.0/ttyUSB0" /sys/class/tty/ttyUSB0
    echo 0403 >"$usb/idVendor"; echo "FT232R USB UART" >"$usb/product"
    echo FTDI >"$usb/manufacturer"; echo A50285BI >"$usb/serial"
    ln -s "$usb/1-2:1.0/ttyUSB0" /sys/class/tty/ttyUSB0/device
    printf "MAJOR=188\nMINOR=0\nDEVNAME=ttyUSB0\n" >/sys/class/tty/ttyUSB0/uevent'
HOME=$work XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=xcb MARTOOL_TTY=$pts MARTOOL_SETUP=$sysfs \
    "$(dirname "$0")/../scripts/private-dev.sh" "$martool" >"$work/martool.log" 2>&1 &

wait_window() { # name
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    cat "$work/martool.log" >&2
    return 1
}
# The window's place on the screen as x y width height.
geometry() {
    xdotool getwindowgeometry --shell "$1" | awk -F= '/^(X|Y|WIDTH|HEIGHT)=/ {printf "%s ", $2} END {print ""}'
}
shoot() { # file, x, y, width, height
    import -window root -crop "$4x$5+$2+$3" +repage "$out/$1"
    echo "wrote $out/$1"
}

dialog=$(wait_window "^Select Serial Port$")
xdotool windowfocus --sync "$dialog" 2>/dev/null
sleep 0.5
read -r dx dy dw dh < <(geometry "$dialog")
# Open the port list and rest the pointer on COM33, the adapter.
xdotool key --clearmodifiers alt+Down
sleep 0.7
popup_y=$(xdotool search --onlyvisible --class martool 2>/dev/null | while read -r w; do
    read -r x y width height < <(geometry "$w")
    [ "$w" != "$dialog" ] && [ "$height" -lt "$dh" ] && echo "$y $height"; done | head -n1)
read -r py ph <<<"$popup_y"
echo "popup at y $py, $ph high" >&2
rows=2 # COM33, COM255
xdotool mousemove $((dx + 130)) $((py + ph / rows / 2 - 2)); sleep 0.3
xdotool mousemove $((dx + 132)) $((py + ph / rows / 2)); sleep 2
shoot port-list.png $((dx - 20)) $((dy - 20)) 560 $((dh + 40))
xdotool key --clearmodifiers Escape
sleep 0.3
xdotool key --clearmodifiers End Return # the loopback plug, then OK

frame=$(wait_window "^Marloven Debug Utility$")
xdotool windowfocus --sync "$frame" 2>/dev/null
sleep 0.5
xdotool type --delay 30 "AT+GMI"
xdotool key --clearmodifiers Return
xdotool type --delay 30 "hello from the loopback plug"
xdotool key --clearmodifiers Return
sleep 0.3
xdotool key --clearmodifiers ctrl+i
sleep 0.8
read -r fx fy fw fh < <(geometry "$frame")
shoot main-window.png "$fx" "$fy" "$fw" "$fh"

# Help, About...: the menu bar's last entry.
xdotool mousemove $((fx + ${HELP_X:-160})) $((fy + 10)) click 1
sleep 0.5
xdotool key --clearmodifiers Down Return
about=$(wait_window "^About martool$")
sleep 0.8
shoot about-box.png "$fx" "$fy" "$fw" "$fh"
xdotool key --clearmodifiers Return
