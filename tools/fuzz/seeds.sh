#!/usr/bin/env bash
# Makes the seeds the loaders' fuzzing starts from: members of the game's own data, and
# files made by tools nobody here wrote (Info-ZIP zip, ImageMagick, sox, ffmpeg).
#   tools/fuzz/seeds.sh <normal build folder> <seed folder>
# The seed folder gets one subfolder per fuzz target. A tool that is missing is skipped.
set -u
build="${1:?usage: seeds.sh <build folder> <seed folder>}"
out="${2:?usage: seeds.sh <build folder> <seed folder>}"
bin="$build/bin"
replay="$bin/aerovant-fuzz-replay"
data="$bin/data"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
have() { command -v "$1" >/dev/null 2>&1; }
extract() {  # extract <target> <archive> <member> [<seed name>]
    mkdir -p "$out/$1"
    "$replay" --extract "$data/$2" "$3" "$out/$1/${4:-$(basename "$3")}" || echo "seeds: no $3 in $2" >&2
}
for target in Archive KeywordTokens KeywordWords Png Bitmap Mesh Terrain Aircraft Route Cockpit Font Settings \
    Scores Wave Avi Replay; do
    mkdir -p "$out/$target"
done

# Our own data.
for n in 1 3; do extract Aircraft aircrafts.zip "Aircraft$n.txt"; done
extract KeywordWords aircrafts.zip Aircraft2.txt
for n in 1 4; do extract Route routes.zip "Route$n.txt"; done
extract KeywordWords routes.zip Route2.txt
# Routes over the fuzzing's own small terrain, so that what stands on the ground is reached.
for n in 1 4; do sed -E 's/^terrain[[:space:]]+[^[:space:]]+/terrain flat.ter/' "$out/Route/Route$n.txt" \
    > "$out/Route/Route$n-flat.txt"; done
for font in main scores_font; do extract Font fonts.zip "$font/config.txt" "$font.txt"; done
extract KeywordTokens fonts.zip game_font/config.txt font.txt
extract KeywordTokens huds.zip cocpits/C172R/cocpit_portrait.txt portrait.txt
for layout in portrait landscape; do
    extract Cockpit huds.zip "cocpits/C172R/cocpit_$layout.txt" "$layout.raw"
    # The first byte picks the orientation: 0 portrait, 1 and 2 landscape.
    choice=$([ $layout = portrait ] && echo '\000' || echo '\001')
    { printf "$choice"; cat "$out/Cockpit/$layout.raw"; } > "$out/Cockpit/$layout.txt"
    rm -f "$out/Cockpit/$layout.raw"
done
for model in buildings/apartments.obj buildings/hangar.obj; do extract Mesh models.zip "$model"; done
for texture in avia.png blue.png; do extract Png textures.zip "$texture"; done
extract Bitmap huds.zip altimeter/marker.bmp
extract Bitmap menu.zip controls/checkboxctrl/checkbox_on.bmp
extract Bitmap menu.zip controls/checkboxctrl/checkbox_mask_on.bmp
"$replay" --terrain "$out/Terrain/flat8.ter" 8
cp "$data/help.zip" "$out/Archive/help.zip" 2>/dev/null
[ -f "$bin/settings.bin" ] && cp "$bin/settings.bin" "$out/Settings/settings.bin"
[ -f "$bin/scores.dat" ] && cp "$bin/scores.dat" "$out/Scores/scores.dat"
for clip in "$build"/tools/clip-data/menu/video/L13.avi; do [ -f "$clip" ] && head -c 12000 "$clip" > "$out/Avi/L13-head.avi"; done
[ -f "$bin/sounds/explos.wav" ] && head -c 3000 "$bin/sounds/explos.wav" > "$out/Wave/explos-head.wav"
# The flights recorded in the build folder, each as a whole file (the target's first byte 0).
for recording in "$bin"/replays/*.replay; do
    [ -f "$recording" ] && { printf '\0'; cat "$recording"; } > "$out/Replay/$(basename "$recording")"
done

# Info-ZIP's zip: stored, deflated and under the game's password.
if have zip; then
    mkdir -p "$work/zip/dir"
    printf 'terrain flat.ter\r\nstart 0 0 1 2 3\n' > "$work/zip/a.txt"
    head -c 300 /dev/urandom | od -An -tx1 > "$work/zip/dir/b.bin"
    password=$("$replay" --password 2>/dev/null || true)
    (cd "$work/zip" && zip -q -0 "$out/Archive/stored.zip" a.txt dir/b.bin &&
        zip -q -9 "$out/Archive/deflated.zip" a.txt dir/b.bin)
    [ -n "$password" ] && (cd "$work/zip" && zip -q -P "$password" "$out/Archive/encrypted.zip" a.txt dir/b.bin)
fi
# ImageMagick: PNGs of each colour type, BMPs of each depth.
if have convert; then
    convert -size 6x5 gradient:red-blue "$out/Png/rgb.png"
    convert -size 6x5 gradient:red-blue -alpha set -channel A -evaluate set 50% "PNG32:$out/Png/rgba.png"
    convert -size 7x3 gradient:white-black "PNG8:$out/Png/palette.png"
    convert -size 5x4 gradient: -colorspace Gray -depth 16 "$out/Png/grey16.png"
    convert -size 9x9 gradient:green-yellow -interlace PNG "$out/Png/interlaced.png"
    convert -size 6x5 gradient:red-blue "BMP3:$out/Bitmap/rgb24.bmp"
    convert -size 6x5 gradient:red-blue -type Palette "BMP3:$out/Bitmap/palette8.bmp"
    convert -size 5x3 gradient:red-blue -define bmp:subtype=RGB565 "$out/Bitmap/rgb565.bmp"
fi
# sox: short sounds of several sample formats, one with a LIST chunk.
if have sox; then
    sox -n -r 11025 -b 8 -c 1 "$out/Wave/u8.wav" synth 0.01 sine 440
    sox -n -r 22050 -b 16 -c 2 "$out/Wave/s16.wav" synth 0.01 sine 440
    sox -n -r 44100 -e floating-point -b 32 -c 1 "$out/Wave/float.wav" synth 0.005 sine 440
    sox -n -r 8000 -e ima-adpcm -c 1 "$out/Wave/adpcm.wav" synth 0.02 sine 440
    sox -n -r 8000 -b 16 -c 1 --comment "fuzz" "$out/Wave/comment.wav" synth 0.01 sine 440
fi
# ffmpeg: a tiny clip in the game's MPEG-4 part 2 (xvid), and one in another codec.
if have ffmpeg; then
    ffmpeg -loglevel error -y -f lavfi -i testsrc=size=16x16:rate=5 -frames:v 3 -c:v mpeg4 -vtag xvid \
        "$out/Avi/xvid.avi"
    ffmpeg -loglevel error -y -f lavfi -i testsrc=size=8x8:rate=5 -frames:v 2 -c:v rawvideo -pix_fmt bgr24 \
        "$out/Avi/raw.avi"
fi

# Targets whose first byte is a choice (the reader, the row order, a full read) get each seed
# once per choice given.
prefix() {  # prefix <target> <octal choice>...
    local target="$1" file choice
    shift
    for file in "$out/$target"/*; do
        for choice in "$@"; do
            { printf "\\$choice"; cat "$file"; } > "$file.$choice"
        done
        rm -f "$file"
    done
}
prefix Archive 000 005 012
prefix Bitmap 000 001
prefix Terrain 000 001
exit 0
