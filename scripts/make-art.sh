#!/usr/bin/env bash
# Draws the two windows' artwork into relay/forms/art/ with ImageMagick 6: the window icon (also as
# the menu icon in packaging/), the lamps, the banner, the button icons and pictures and the three
# animated pictures.
# Re-run after changing a drawing; the output is committed.
set -euo pipefail
cd "$(dirname "$0")/../relay/forms/art"
# No time stamps in the PNG files, so that drawing again gives the same bytes.
IM=(/usr/bin/convert -define png:exclude-chunks=date,time)
FONT=DejaVu-Sans-Bold
# Button bitmaps are drawn with their top-left pixel's colour transparent: keep that colour out of
# the drawing and draw without anti-aliasing so no edge pixel is a blend of it.
KEY='#FF00FF'
# An open circular arc as short line segments (ImageMagick 6 closes thick arcs, ellipses, paths
# and curved polylines with a chord): centre, radius, start and end angle in degrees, clockwise
# from the x axis; round caps close the joints.
arc() {
    awk -v cx="$1" -v cy="$2" -v r="$3" -v a0="$4" -v a1="$5" 'BEGIN {
        d = 3.14159265 / 180
        printf "stroke-linecap round "
        for (a = a0; a < a1; a += 5) {
            b = (a + 5 > a1) ? a1 : a + 5
            printf "line %.2f,%.2f %.2f,%.2f ", cx + r * cos(a * d), cy + r * sin(a * d), cx + r * cos(b * d), cy + r * sin(b * d)
        } }'
}
# Icons: a hard-edged mask (ICO masks are one bit) and at most 16 colours.
ICON16=(-channel A -threshold 50% +channel -colors 16)

# Window icon: 32x32, 16 colours, a speech bubble over a radio wave on a blue tile.
"${IM[@]}" -size 32x32 xc:none \
    -fill '#1040A0' -draw 'roundrectangle 1,1 30,30 6,6' \
    -fill white -draw 'roundrectangle 5,5 26,19 4,4' -draw 'polygon 9,18 9,25 15,18' \
    -fill '#1040A0' -font "$FONT" -pointsize 12 -gravity north -annotate +0+5 'DC' \
    -fill '#FF2020' -draw 'circle 25,25 25,22' \
    "${ICON16[@]}" dizo.ico
# The same icon for the desktop's application menu.
"${IM[@]}" dizo.ico PNG32:../../../packaging/dizo-chat.png

# Lamps, 22x21: red (on) and grey (off), a shaded disc with a highlight.
lamp() {  # $1 output, $2 dark, $3 light
    "${IM[@]}" -size 22x21 xc:none \
        -fill '#303030' -draw 'circle 10.5,10 10.5,0.5' \
        -fill "$2" -draw 'circle 10.5,10 10.5,1.5' \
        -fill "$3" -draw 'circle 10.5,10 10.5,5' \
        -fill white -draw 'circle 8,7 8,5' "PNG32:$1"
}
lamp lamp-on.png '#B00000' '#FF3030'
lamp lamp-off.png '#707070' '#B0B0B0'

# Banner, 274x51: "EchoLink" in blue on white, with a wave mark.
"${IM[@]}" -size 274x51 xc:white \
    -fill '#0030C0' -font "$FONT" -pointsize 34 -gravity west -annotate +58+0 'EchoLink' \
    -stroke '#0030C0' -strokewidth 3 -fill none \
    -draw "$(arc 26 25 10 -60 60)" -draw "$(arc 26 25 18 -60 60)" \
    -draw "$(arc 26 25 10 120 240)" -draw "$(arc 26 25 18 120 240)" \
    -stroke none -fill '#C00000' -draw 'circle 26,25 26,21' \
    -stroke '#0030C0' -strokewidth 2 -draw 'line 58,45 266,45' \
    PNG32:banner.png

# Button icons, 32x32 with a transparent mask.
power() {  # $1 output, $2 dark, $3 light
    "${IM[@]}" -size 32x32 xc:none -fill none \
        -stroke "$2" -strokewidth 5 -draw 'arc 5,6 27,28 -60,240' -draw 'line 16,3 16,15' \
        -stroke "$3" -strokewidth 2 -draw 'arc 5,6 27,28 -60,240' -draw 'line 16,3 16,15' \
        "${ICON16[@]}" "$1"
}
power ligar.ico '#006000' '#40E040'
power desligar.ico '#800000' '#FF4040'
"${IM[@]}" -size 32x32 xc:none \
    -fill '#804000' -draw 'rectangle 6,3 20,29' -fill '#C08040' -draw 'rectangle 8,5 18,27' \
    -fill '#FFD000' -draw 'circle 16,17 16,15.5' \
    -fill '#C00000' -draw 'polygon 20,13 26,13 26,9 31,16 26,23 26,19 20,19' \
    "${ICON16[@]}" sair.ico

# Button pictures, 32x32 bitmaps keyed on magenta.
picture() {  # $1 output, then drawing options
    local out=$1
    shift
    "${IM[@]}" -size 32x32 "xc:$KEY" +antialias "$@" -type TrueColor "BMP3:$out"
}
picture ajuda.bmp -fill '#2040C0' -draw 'circle 16,16 16,2' \
    -fill white -font "$FONT" -pointsize 22 -gravity center -annotate +0+1 '?'
picture fechar-ajuda.bmp -fill '#2040C0' -draw 'circle 16,16 16,2' \
    -stroke white -strokewidth 4 -draw 'line 10,10 22,22' -draw 'line 22,10 10,22'
picture sobre.bmp -fill '#008080' -draw 'circle 16,16 16,2' \
    -fill white -draw 'rectangle 14,13 18,25' -draw 'rectangle 14,7 18,10'
picture servidor.bmp -fill '#2060C0' -draw 'circle 16,16 16,2' \
    -stroke '#80E0FF' -strokewidth 2 -fill none -draw 'ellipse 16,16 6,14 0,360' \
    -draw 'line 2,16 30,16' -draw 'line 5,9 27,9' -draw 'line 5,23 27,23'
picture retorna.bmp -fill '#008000' -draw 'polygon 3,16 14,5 14,11 28,11 28,21 14,21 14,27'

# Animated pictures: a mast sending waves (280x120), a microphone (35x45), a tall mast (120x263).
frames=()
for i in 0 1 2 3; do
    f=$(mktemp --suffix=.png)
    waves=()
    for k in $(seq 0 "$i"); do
        r=$((12 + k * 10))
        waves+=(-draw "$(arc 60 48 "$r" -60 60)" -draw "$(arc 60 48 "$r" 120 240)")
    done
    "${IM[@]}" -size 280x120 xc:white \
        -stroke '#404040' -strokewidth 3 -draw 'line 60,48 44,114' -draw 'line 60,48 76,114' \
        -strokewidth 2 -draw 'line 49,92 71,92' -draw 'line 53,70 67,70' \
        -stroke '#0030C0' -strokewidth 3 -fill none "${waves[@]}" \
        -stroke none -fill '#C00000' -draw 'circle 60,48 60,43' \
        -fill '#0030C0' -font "$FONT" -pointsize 26 -gravity east -annotate +12-12 'dizo' \
        -fill '#008000' -pointsize 18 -annotate +12+18 'chat - cw' \
        "$f"
    frames+=("$f")
done
"${IM[@]}" -delay 40 -loop 0 "${frames[@]}" -layers Optimize anim-mastro.gif
rm -f "${frames[@]}"

frames=()
for i in 0 1 2; do
    f=$(mktemp --suffix=.png)
    lines=()
    for k in $(seq 0 "$i"); do
        y=$((8 + k * 6))
        lines+=(-draw "line 27,$y 33,$((y - 3))")
    done
    "${IM[@]}" -size 35x45 xc:white \
        -fill '#404040' -draw 'roundrectangle 11,4 23,26 6,6' \
        -stroke '#404040' -strokewidth 2 -fill none -draw 'arc 7,14 27,32 0,180' \
        -draw 'line 17,32 17,39' -draw 'line 10,40 24,40' \
        -stroke '#C00000' "${lines[@]}" "$f"
    frames+=("$f")
done
"${IM[@]}" -delay 30 -loop 0 "${frames[@]}" -layers Optimize anim-microfone.gif
rm -f "${frames[@]}"

frames=()
for i in 0 1 2 3; do
    f=$(mktemp --suffix=.png)
    waves=()
    for k in $(seq 0 "$i"); do
        r=$((14 + k * 14))
        waves+=(-draw "$(arc 60 70 "$r" 215 325)")
    done
    "${IM[@]}" -size 120x263 xc:white \
        -stroke '#404040' -strokewidth 3 -draw 'line 60,70 30,236' -draw 'line 60,70 90,236' \
        -strokewidth 2 -draw 'line 40,180 80,180' -draw 'line 45,130 75,130' -draw 'line 51,85 69,85' \
        -draw 'line 40,180 75,130' -draw 'line 45,130 69,85' \
        -stroke '#0030C0' -strokewidth 3 -fill none "${waves[@]}" \
        -stroke none -fill '#C00000' -draw 'circle 60,70 60,64' \
        -fill '#0030C0' -font "$FONT" -pointsize 16 -gravity south -annotate +0+4 'QD4RV' \
        "$f"
    frames+=("$f")
done
"${IM[@]}" -delay 40 -loop 0 "${frames[@]}" -layers Optimize anim-sobre.gif
rm -f "${frames[@]}"
