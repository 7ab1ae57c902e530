#!/bin/sh
# Draws the window's pictures into res/ with ImageMagick and DejaVu fonts.
# Every bitmap except the application icon is opaque and carries the window
# colour as its background. Run from anywhere; the output is byte-for-byte
# repeatable on the same ImageMagick and font versions.
set -eu

out="$(cd "$(dirname "$0")/.." && pwd)/res"
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

# --- Application icon: a dark supply front carrying a lime lightning bolt ---
cat > "$out/app_icon.svg" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
  <rect x="12" y="12" width="232" height="232" rx="44" ry="44" fill="#16284a"/>
  <rect x="26" y="26" width="204" height="204" rx="32" ry="32" fill="#21406f"/>
  <polygon points="136,36 82,140 122,140 98,222 174,106 136,106 172,36" fill="#b4f03c"/>
</svg>
EOF

convert -background none "MSVG:$out/app_icon.svg" "$work/icon256.png"
convert "$work/icon256.png" -filter box -resize 32x32 -strip \
    -define png:exclude-chunks=date,time "PNG32:$out/app_icon.png"

# --- Lamps: dark rim, radially shaded lens, soft white glint ---
# Drawn at eight times their size and box-filtered down, which gives even
# anti-aliasing without ringing, as does the icon (256 to 32).
# lamp NAME LENS_CENTRE LENS_EDGE HIGHLIGHT_OPACITY
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
        -filter box -resize 20x20 "$work/$1.png"
    save24 "$work/$1.png" "$1.png"
}

lamp lamp_green  '#eaffa8' '#4f9e00' 0.75
lamp lamp_orange '#ffe1a6' '#d35f00' 0.75
lamp lamp_off    '#5d6877' '#2a323e' 0.25

# --- Letters: bold, dark, centred on their ink ---
letter() {
    convert -density 72 -background none -fill '#14223d' -font "$bold" \
        -pointsize 19 "label:$1" -trim +repage "$work/glyph.png"
    convert -size 20x20 "xc:$window" "$work/glyph.png" \
        -gravity center -compose over -composite "$work/letter.png"
    save24 "$work/letter.png" "$2"
}

letter U letter_u.png
letter I letter_i.png

# --- Logo: the icon's mark beside the maker's name, a hairline and a
# letter-spaced line of capitals cut to the width of the name ---
convert "$work/icon256.png" -filter box -resize 52x52 "$work/mark.png"
convert -density 72 -background none -fill white -font "$bold" \
    -pointsize 30 label:Tendrel -trim +repage "$work/name.png"
convert -density 72 -background none -fill '#e4eeff' -font "$book" \
    -pointsize 12 -kerning 3.9 label:ELECTRONICS -trim +repage "$work/line.png"
convert -size 209x75 "xc:$window" \
    "$work/mark.png" -geometry +12+11 -compose over -composite \
    "$work/name.png" -geometry +76+15 -compose over -composite \
    -fill '#e4eeff' -draw 'rectangle 76,44 196,44' \
    "$work/line.png" -geometry +76+51 -compose over -composite \
    "$work/logo.png"
save24 "$work/logo.png" logo.png
