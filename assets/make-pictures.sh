#!/usr/bin/env bash
# Regenerates every picture the program carries: the window icon, the eight
# button pictures and the four mascot frames, each button picture and frame
# also at twice its size, and the desktop's icon (a scalable SVG and PNGs
# from 16 to 256 pixels). Needs ImageMagick 6 (convert)
# and rsvg-convert. Run from anywhere; the pictures are written next to this
# script.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$here/icon" "$here/buttons" "$here/frames" "$here/icon/desktop"

# The window system's standard 16 colours, in their standard order.
palette16=(
    "0 0 0" "128 0 0" "0 128 0" "128 128 0" "0 0 128" "128 0 128" "0 128 128" "192 192 192"
    "128 128 128" "255 0 0" "0 255 0" "255 255 0" "0 0 255" "255 0 255" "0 255 255" "255 255 255"
)

# ---------------------------------------------------------------- the icon

draw_icon() {
    local keys=()
    # Eight white keys, four pixels apart, each with a black left edge.
    for x in 0 4 8 12 16 20 24 28; do
        keys+=(-draw "line $x,0 $x,31")
    done
    # Black keys between the white ones, except where an octave has none.
    for x in 3 7 15 19 23; do
        keys+=(-draw "rectangle $x,0 $((x + 2)),18")
    done
    # "P" and "e" written by hand in red, a little uneven on purpose.
    convert -size 32x32 xc:white +antialias -fill black -stroke none "${keys[@]}" \
        -draw "line 0,31 31,31" \
        -fill none -stroke 'rgb(255,0,0)' -strokewidth 2 \
        -draw "polyline 5,27 6,19 6,11 7,4" \
        -draw "polyline 7,4 12,3 15,5 15,9 12,12 8,13 6,13" \
        -draw "polyline 19,22 25,21 26,18 23,16 19,18 18,22 19,26 23,28 27,26" \
        "$work/icon.png"
    # Keep to the standard colours exactly, with no dithering.
    convert "$work/icon.png" +dither -remap "$work/palette.png" -type TrueColor \
        -define png:color-type=2 -strip "$here/icon/pelora.png"
}

make_palette_image() {
    local args=()
    for entry in "${palette16[@]}"; do
        read -r r g b <<<"$entry"
        args+=("xc:rgb($r,$g,$b)")
    done
    convert -size 1x1 "${args[@]}" +append "$work/palette.png"
}

# Writes a 32x32, 4 bits per pixel icon with the full standard palette and an
# all-opaque mask: ImageMagick picks its own palette order, so the icon file
# is laid out here byte by byte.
write_icon() {
    local -A index=()
    local i=0
    for entry in "${palette16[@]}"; do
        index[$entry]=$i
        i=$((i + 1))
    done
    local pixels
    # Rows bottom-up, as the bitmap inside an icon stores them.
    read -r -a pixels <<<"$(convert "$here/icon/pelora.png" -flip -depth 8 rgb:- | od -An -v -tu1 | tr "\n" " ")"

    local out="$here/icon/pelora.ico" r g b
    byte() { printf '%b' "\\x$(printf %02x "$1")"; }
    le16() { byte $(($1 & 255)); byte $(($1 >> 8 & 255)); }
    le32() { le16 $(($1 & 65535)); le16 $(($1 >> 16)); }
    {
        le16 0; le16 1; le16 1                                # icon directory, one image
        printf '\x20\x20\x10\x00'; le16 1; le16 4             # 32x32, 16 colours, 4 bpp
        le32 $((40 + 64 + 512 + 128)); le32 22                # image size and offset
        le32 40; le32 32; le32 64; le16 1; le16 4              # bitmap header, height doubled
        le32 0; le32 $((512 + 128)); le32 0; le32 0; le32 16; le32 0
        for entry in "${palette16[@]}"; do
            read -r r g b <<<"$entry"
            byte "$b"; byte "$g"; byte "$r"; byte 0
        done
        local p
        for ((p = 0; p < 1024; p += 2)); do
            local a=${index["${pixels[p * 3]} ${pixels[p * 3 + 1]} ${pixels[p * 3 + 2]}"]}
            local b=${index["${pixels[p * 3 + 3]} ${pixels[p * 3 + 4]} ${pixels[p * 3 + 5]}"]}
            byte $((a << 4 | b))
        done
        head -c 128 /dev/zero                                  # the mask: every pixel opaque
    } >"$out"
}

# ------------------------------------------------------ the desktop's icon

# The window icon's drawing as a scalable picture, on the same 32 unit grid,
# for menus and software catalogues at any size: the keys, the key edges
# and the red "Pe". Each PNG size is rendered from it.
draw_desktop_icon() {
    local svg="$here/icon/desktop/pelora.svg" x
    {
        echo '<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">'
        echo '  <rect width="32" height="32" fill="#ffffff"/>'
        echo '  <g fill="#000000">'
        for x in 0 4 8 12 16 20 24 28; do
            echo "    <rect x=\"$x\" y=\"0\" width=\"1\" height=\"32\"/>"
        done
        for x in 3 7 15 19 23; do
            echo "    <rect x=\"$x\" y=\"0\" width=\"3\" height=\"19\"/>"
        done
        echo '    <rect x="0" y="31" width="32" height="1"/>'
        echo '  </g>'
        echo '  <g fill="none" stroke="#ff0000" stroke-width="2" stroke-linecap="round" stroke-linejoin="round">'
        echo '    <polyline points="5,27 6,19 6,11 7,4 12,3 15,5 15,9 12,12 8,13 6,13"/>'
        echo '    <polyline points="19,22 25,21 26,18 23,16 19,18 18,22 19,26 23,28 27,26"/>'
        echo '  </g>'
        echo '</svg>'
    } >"$svg"
    local size
    for size in 32 48 64 128 256; do
        rsvg-convert -w "$size" -h "$size" "$svg" -o "$work/desktop.png"
        convert "$work/desktop.png" -strip "$here/icon/desktop/pelora-$size.png"
    done
    draw_small_icon
}

# At 16 pixels the drawing's one-unit key edges and strokes fall between
# pixels and blur to grey: this size is drawn pixel by pixel instead, with
# four keys, two black ones and a bold "P" beside a small "e".
draw_small_icon() {
    cat >"$work/small.xpm" <<'XPM'
/* XPM */
static char *pelora_16[] = {
"16 16 3 1",
"w c #FFFFFF",
"k c #000000",
"r c #FF0000",
"kwwkkwwkkwwwkwww",
"kwwkkwwkkwwwkwww",
"kwwrrrrrrrwwkwww",
"kwwrrrrrrrrwkwww",
"kwwrrwwkkrrwkwww",
"kwwrrwwkkrrwkwww",
"kwwrrrrrrrrwkwww",
"kwwrrrrrrrwwkwww",
"kwwrrwwkkwwwkwww",
"kwwrrwwwkwwrrrww",
"kwwrrwwwkwrwkwrw",
"kwwrrwwwkwrrrrrw",
"kwwrrwwwkwrwkwww",
"kwwrrwwwkwwrrrrw",
"kwwwwwwwkwwwkwww",
"kkkkkkkkkkkkkkkk"
};
XPM
    convert "$work/small.xpm" -strip "PNG24:$here/icon/desktop/pelora-16.png"
}

# ------------------------------------------- drawing at two sizes

# The buttons and the mascot are drawn at the windows' own size and again at
# twice that size ("name@2x"), which screens of more device pixels show
# instead, so that they stay sharp where the small picture would be blown
# up. `scale` is 1 or 2; the functions below turn the drawings' coordinates,
# given on the small picture's pixel grid, into the grid of the one drawn.
scale=1

# The centre of small pixel c on the drawn grid.
at() {
    if [ "$scale" = 1 ]; then echo "$1"; else echo "$((2 * $1)).5"; fi
}

# "x,y x,y ..." on the drawn grid.
points() {
    local out=() point
    for point in "$@"; do
        out+=("$(at "${point%,*}"),$(at "${point#*,}")")
    done
    echo "${out[*]}"
}

# A filled rectangle covering small pixels x0..x1, y0..y1.
box() {
    echo "rectangle $(($1 * scale)),$(($2 * scale)) $(($3 * scale + scale - 1)),$(($4 * scale + scale - 1))"
}

# A length (a radius, a stroke's width) on the drawn grid.
len() { echo "$(($1 * scale))"; }

suffix() { [ "$scale" = 1 ] || echo "@${scale}x"; }

# ---------------------------------------------------------- the buttons

# The gradient of the play button and of the row of small buttons: dark grey
# (100) at both ends of the 137 pixel row, white at its centre pixel.
make_gradient() {
    local column=i
    [ "$scale" = 1 ] || column="(i - 0.5) / $scale"
    convert -size "$(len 137)x$(len 17)" xc: -fx "(100 + 155 * (1 - abs($column - 68) / 68)) / 255" \
        -colorspace sRGB -type TrueColor "$work/gradient.png"
}

# button <name> <left> <width> <symbol drawing...>
button() {
    local name=$1 left=$2 width=$3
    shift 3
    local colour
    for variant in face down; do
        colour=black
        [ "$variant" = down ] && colour='rgb(0,0,255)'
        local file="$here/buttons/$name$(suffix).jpg"
        [ "$variant" = down ] && file="$here/buttons/${name}_down$(suffix).jpg"
        convert "$work/gradient.png" -crop "$(len "$width")x$(len 17)+$(len "$left")+0" +repage \
            -fill "$colour" -stroke "$colour" -strokewidth "$(len 1)" "$@" \
            -type TrueColor -interlace none -sampling-factor 1x1 -quality 95 -strip "$file"
    done
}

make_buttons() {
    make_gradient
    # Load, 41 wide: an eighth note.
    button load 0 41 -draw "ellipse $(points 18,12) $(len 3),$(len 2) 0,360" \
        -draw "line $(points 20,12 20,3)" -draw "line $(points 21,3 24,6)" \
        -draw "line $(points 24,6 24,8)"
    # Pause, 57 wide at 40: two bars.
    button pause 40 57 -stroke none -draw "$(box 23 4 25 12)" -draw "$(box 31 4 33 12)"
    # Stop, 41 wide at 96: a filled square.
    button stop 96 41 -stroke none -draw "$(box 16 4 24 12)"
    # Play, the whole row: a triangle pointing right.
    button play 0 137 -stroke none -draw "polygon $(points 64,3 73,8 64,13)"
}

# ----------------------------------------------------------- the mascot

# frame <n> <left arm end> <right arm end> <left foot> <right foot> <body lean>
# A round little dancer: head, body, two arms and two legs, on black.
frame() {
    local n=$1 larm=$2 rarm=$3 lfoot=$4 rfoot=$5 lean=$6
    local hx=$((60 + lean)) hy=38
    local neck="$((60 + lean)),58" hip="$((60 + lean / 2)),92" shoulder="$((60 + lean)),66"
    local round="stroke-linecap round stroke-linejoin round"
    # The smile, the lower half of an ellipse 16 by 10. Drawn wider, an arc
    # of ImageMagick's comes with its chord: a polyline draws the curve alone.
    local smile="arc $(points "$((hx - 8)),$((hy + 2))" "$((hx + 8)),$((hy + 12))") 0,180"
    [ "$scale" = 1 ] || smile="$round polyline $(awk -v x="$(at "$hx")" -v y="$(at "$((hy + 7))")" \
        -v rx="$(len 8)" -v ry="$(len 5)" 'BEGIN {
            for (i = 0; i <= 24; i++)
                printf "%.2f,%.2f ", x + rx * cos(i * 3.14159265 / 24), y + ry * sin(i * 3.14159265 / 24)
        }')"
    convert -size "$(len 121)x$(len 137)" xc:black \
        -stroke 'rgb(255,200,60)' -strokewidth "$(len 7)" -fill none \
        -draw "$round line $(points "$neck" "$hip")" \
        -draw "$round polyline $(points "$shoulder" $larm)" \
        -draw "$round polyline $(points "$shoulder" $rarm)" \
        -draw "$round polyline $(points "$hip" $lfoot)" -draw "$round polyline $(points "$hip" $rfoot)" \
        -stroke none -fill 'rgb(255,170,40)' -draw "circle $(points "$hx,$hy" "$((hx + 20)),$hy")" \
        -fill black -draw "circle $(points "$((hx - 7)),$((hy - 3))" "$((hx - 4)),$((hy - 3))")" \
        -draw "circle $(points "$((hx + 7)),$((hy - 3))" "$((hx + 10)),$((hy - 3))")" \
        -fill none -stroke black -strokewidth "$(len 2)" \
        -draw "$smile" \
        -stroke none -fill 'rgb(230,40,90)' \
        -draw "polygon $(points "$((hx - 12)),$((hy - 17))" "$((hx + 12)),$((hy - 17))" "$hx,$((hy - 34))")" \
        -fill 'rgb(120,200,255)' -draw "circle $(points 18,120 20,120)" -draw "circle $(points 104,14 106,14)" \
        -colors 64 "$here/frames/A$n$(suffix).gif"
}

make_frames() {
    frame 0 "38,50 24,36" "82,82 94,92" "46,112 40,130" "74,112 80,130" 0
    frame 1 "40,76 28,88" "80,50 96,36" "48,114 44,132" "72,108 86,120" 4
    frame 2 "36,50 22,36" "84,50 98,36" "44,110 34,124" "76,110 86,124" 0
    frame 3 "40,82 26,90" "82,50 96,36" "48,108 34,120" "72,114 76,132" -4
}

make_palette_image
draw_icon
write_icon
draw_desktop_icon
for scale in 1 2; do
    make_buttons
    make_frames
done
echo "pictures written below $here"
