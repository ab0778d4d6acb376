#!/bin/sh
# Draws the About box picture (bitmap 105): a 9-pin serial connector with arrows for the two data
# directions, above an oscilloscope view of one character on the line (idle, start bit, eight data
# bits, stop bit). 173 x 102 pixels, drawn without anti-aliasing in fewer than 16 colours and saved
# as an indexed PNG. The background colour shows only where the picture is see-through (around it
# and through the flange's screw holes), so that it can stand as the transparent colour.
# Needs ImageMagick's convert. Usage: draw_about.sh [output.png]
set -eu
out="${1:-$(dirname "$0")/about.png}"

bg='#d4d0c8'      # background (transparent in the dialog)
ink='#283038'     # outlines
flange='#b4bcc6'  # the connector's mounting flange
shell='#8e98a4'   # the D-shaped metal shell
face='#2c4a74'    # the insulator holding the pins
pin='#e0b43c'     # gold pins
light='#f4f6f8'   # highlights
scope='#10241a'   # oscilloscope screen
grid='#2e5a44'    # its graticule
trace='#48e070'   # the signal
tx='#c83c30'      # data going out
rx='#3c78d0'      # data coming in

# The character 0x4D ('M'), least significant bit first, as levels from left to right:
# idle (1), start (0), 1 0 1 1 0 0 1 0, stop (1), idle.
wave='8,78 22,78'
x=22
for bit in 0 1 0 1 1 0 0 1 0 1; do
    if [ "$bit" = 1 ]; then y=78; else y=90; fi
    wave="$wave $x,$y"
    x=$((x + 14))
    wave="$wave $x,$y"
done
wave="$wave $x,78 165,78"

convert -size 173x102 "xc:$bg" +antialias \
    -fill "$flange" -stroke "$ink" -strokewidth 1 -draw 'roundrectangle 6,10 110,62 6,6' \
    -fill "$bg" -draw 'circle 15,36 15,41' -draw 'circle 101,36 101,41' \
    -fill "$ink" -stroke none -draw 'circle 15,36 15,38' -draw 'circle 101,36 101,38' \
    -fill "$shell" -stroke "$ink" -draw 'polygon 24,15 92,15 86,57 30,57' \
    -fill "$face" -stroke "$ink" -draw 'polygon 28,19 88,19 83,53 33,53' \
    -fill "$pin" -stroke "$ink" \
    -draw 'circle 36,28 36,31' -draw 'circle 47,28 47,31' -draw 'circle 58,28 58,31' \
    -draw 'circle 69,28 69,31' -draw 'circle 80,28 80,31' \
    -draw 'circle 41,43 41,46' -draw 'circle 52,43 52,46' -draw 'circle 63,43 63,46' \
    -draw 'circle 74,43 74,46' \
    -stroke "$light" -draw 'line 26,16 90,16' \
    -stroke "$tx" -strokewidth 3 -draw 'line 118,24 156,24' \
    -stroke none -fill "$tx" -draw 'polygon 155,18 166,24 155,30' \
    -stroke "$rx" -strokewidth 3 -draw 'line 127,48 165,48' \
    -stroke none -fill "$rx" -draw 'polygon 128,42 117,48 128,54' \
    -fill "$scope" -stroke "$ink" -strokewidth 1 -draw 'rectangle 4,70 168,98' \
    -stroke "$grid" -draw 'line 5,84 167,84' \
    -draw 'line 36,71 36,97' -draw 'line 68,71 68,97' -draw 'line 100,71 100,97' -draw 'line 132,71 132,97' \
    -fill none -stroke "$trace" -draw "polyline $wave" \
    -strip -colors 16 -define png:exclude-chunks=date,time -define png:color-type=3 -define png:bit-depth=4 "PNG8:$out"
