#!/bin/sh
# Draws the window's pictures into res/ with ImageMagick and DejaVu fonts, each
# at its size (NAME.png) and at twice its size for scaled screens (NAME@2x.png).
# Every bitmap except the application icon is opaque and carries the window
# colour as its background. Run from anywhere; the output is byte-for-byte
# repeatable on the same ImageMagick and font versions.
set -eu

root="$(cd "$(dirname "$0")/.." && pwd)"
# ImageMagick reads SVG through its extra coders.
"$root/tools/install-deps.sh" imagemagick libmagickcore-6.q16-6-extra fontconfig
out="$root/res"
mkdir -p "$out"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

bold="$(fc-match -f '%{file}' 'DejaVu Sans:bold')"
book="$(fc-match -f '%{file}' 'DejaVu Sans')"

window='rgb(105,149,220)'

save24() {
    convert "$1" -background "$window" -flatten -alpha off -strip \
        -define png:exclude-chunks=date,time "PNG24:$out/$2"
}

# The file name at scale S: NAME.png, or NAME@2x.png.
named() {
    if [ "$2" -eq 1 ]; then echo "$1.png"; else echo "$1@${2}x.png"; fi
}

# --- Application icon: a dark supply front carrying a lime lightning bolt ---
cat > "$out/app_icon.svg" <<'SVG'
<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
  <rect x="12" y="12" width="232" height="232" rx="44" ry="44" fill="#16284a"/>
  <rect x="26" y="26" width="204" height="204" rx="32" ry="32" fill="#21406f"/>
  <polygon points="136,36 82,140 122,140 98,222 174,106 136,106 172,36" fill="#b4f03c"/>
</svg>
SVG

convert -background none "MSVG:$out/app_icon.svg" "$work/icon256.png"

icon() { # SCALE
    convert "$work/icon256.png" -filter box -resize "$((32 * $1))x$((32 * $1))" -strip \
        -define png:exclude-chunks=date,time "PNG32:$out/$(named app_icon "$1")"
}

# --- Lamps: dark rim, radially shaded lens, soft white glint ---
# Drawn at eight times their size and box-filtered down, which gives even
# anti-aliasing without ringing, as does the icon (256 to 32).
# lamp NAME LENS_CENTRE LENS_EDGE HIGHLIGHT_OPACITY SCALE
lamp() {
    s=160
    c=80
    convert -size "${s}x${s}" xc:none \
        -fill '#1b2433' -draw "circle $c,$c $c,$((c - 76))" \
        "$work/rim.png"
    convert -size "${s}x${s}" xc:none \
        -fill white -draw "circle $c,$c $c,$((c - 62))" \
        "$work/lens-mask.png"
    convert -size "${s}x${s}" \
        -define gradient:center=66,62 -define gradient:radii=86,86 \
        "radial-gradient:$2-$3" \
        "$work/lens-mask.png" -alpha off -compose copy-opacity -composite \
        "$work/lens.png"
    convert -size "${s}x${s}" xc:none \
        -fill "rgba(255,255,255,$4)" -draw "ellipse 64,56 26,16 0,360" \
        -channel A -blur 0x5 +channel \
        "$work/lens-mask.png" -compose dst-in -composite \
        "$work/shine.png"
    convert -size "${s}x${s}" "xc:$window" \
        "$work/rim.png" -compose over -composite \
        "$work/lens.png" -compose over -composite \
        "$work/shine.png" -compose over -composite \
        -filter box -resize "$((20 * $5))x$((20 * $5))" "$work/$1.png"
    save24 "$work/$1.png" "$(named "$1" "$5")"
}

# --- Letters: bold, dark, centred on their ink ---
letter() { # TEXT NAME SCALE
    convert -density "$((72 * $3))" -background none -fill '#14223d' -font "$bold" \
        -pointsize 19 "label:$1" -trim +repage "$work/glyph.png"
    convert -size "$((20 * $3))x$((20 * $3))" "xc:$window" "$work/glyph.png" \
        -gravity center -compose over -composite "$work/letter.png"
    save24 "$work/letter.png" "$(named "$2" "$3")"
}

# --- Logo: the icon's mark beside the maker's name, a hairline and a
# letter-spaced line of capitals cut to the width of the name ---
logo() { # SCALE
    k=$1
    convert "$work/icon256.png" -filter box -resize "$((52 * k))x$((52 * k))" "$work/mark.png"
    convert -density "$((72 * k))" -background none -fill white -font "$bold" \
        -pointsize 30 label:Tendrel -trim +repage "$work/name.png"
    convert -density "$((72 * k))" -background none -fill '#e4eeff' -font "$book" \
        -pointsize 12 -kerning "$(awk -v k="$k" 'BEGIN { print 3.9 * k }')" label:ELECTRONICS -trim +repage "$work/line.png"
    convert -size "$((209 * k))x$((75 * k))" "xc:$window" \
        "$work/mark.png" -geometry "+$((12 * k))+$((11 * k))" -compose over -composite \
        "$work/name.png" -geometry "+$((76 * k))+$((15 * k))" -compose over -composite \
        -fill '#e4eeff' -draw "rectangle $((76 * k)),$((44 * k)) $((197 * k - 1)),$((45 * k - 1))" \
        "$work/line.png" -geometry "+$((76 * k))+$((51 * k))" -compose over -composite \
        "$work/logo.png"
    save24 "$work/logo.png" "$(named logo "$k")"
}

for scale in 1 2; do
    icon "$scale"
    lamp lamp_green '#eaffa8' '#4f9e00' 0.75 "$scale"
    lamp lamp_orange '#ffe1a6' '#d35f00' 0.75 "$scale"
    lamp lamp_off '#5d6877' '#2a323e' 0.25 "$scale"
    letter U letter_u "$scale"
    letter I letter_i "$scale"
    logo "$scale"
done
