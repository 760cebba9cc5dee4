#!/usr/bin/env bash
# Installs the build into a fresh prefix as a player's `cmake --install` would, checks what
# a desktop reads (the menu entry, the software-centre description, the icons), then runs
# the installed program from elsewhere with a fresh XDG_DATA_HOME: it must find its data and
# its decoder library under the prefix and keep the player's files out of it.
#   check-install.sh <build folder> <desktop id>
# Exits 77 (skipped) when the desktop validators are not installed.
set -u
build="$1"
id="$2"
for tool in desktop-file-validate appstreamcli flock; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed (./test.sh installs it)"
        exit 77
    fi
done

work="$(mktemp -d "${TMPDIR:-/tmp}/aerovant-install.XXXXXX")"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || {
    cat "$work/install.log"
    fail "cmake --install"
    exit 1
}

# The installed tree: only the game in bin, its data and library where the program looks.
installed=(
    bin/aerovant lib/aerovant/xvid_ppc.so
    share/aerovant/data/{textures,models,aircrafts,routes,terrains,huds,fonts,menu,help}.zip
    share/aerovant/sounds/{menu_m,wind,explos,wasp,whine}.wav
    share/aerovant/screenshots/{menu,flight-chase,flight-cockpit}.png
    share/applications/$id.desktop share/metainfo/$id.metainfo.xml
    share/icons/hicolor/{48x48,128x128,256x256}/apps/$id.png share/icons/hicolor/scalable/apps/$id.svg
)
for file in "${installed[@]}"; do
    [ -s "$prefix/$file" ] || fail "$file is not installed"
done
[ "$(ls "$prefix/bin")" = "aerovant" ] || fail "bin holds more than the game: $(ls "$prefix/bin" | tr '\n' ' ')"
# True when the PNG file is width x height pixels (they stand big-endian at bytes 16-23).
png_size() {
    local w="0 0 $(($2 / 256)) $(($2 % 256))" h="0 0 $(($3 / 256)) $(($3 % 256))"
    [ "$(od -An -tu1 -j16 -N8 "$1" 2>/dev/null | tr -s ' ')" = " $w $h" ]
}
for size in 48 128 256; do
    png_size "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png" $size $size ||
        fail "the ${size}x${size} icon is not a picture of that size"
done
# Each screenshot the description names is installed, at the size it says.
shots=0
while read -r width height name; do
    shots=$((shots + 1))
    png_size "$prefix/share/aerovant/screenshots/$name" "$width" "$height" ||
        fail "the screenshot $name is not installed at $width x $height"
done < <(sed -n 's|.*<image [^>]*width="\([0-9]*\)" height="\([0-9]*\)">.*/\([^/<]*\)</image>.*|\1 \2 \3|p' \
    "$prefix/share/metainfo/$id.metainfo.xml")
[ $shots -eq 3 ] || fail "the description names $shots screenshots, not 3"

desktop="$prefix/share/applications/$id.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry's icon is not $id"
exec_line="$(sed -n 's/^Exec=//p' "$desktop")"
[ -x "$prefix/bin/${exec_line%% *}" ] || fail "the desktop entry runs '$exec_line', which is not in $prefix/bin"

# The installed program, started from another folder as a player would.
home="$work/xdg"
mkdir -p "$home" "$work/elsewhere"
cd "$work/elsewhere" || exit 1
run() {
    env XDG_DATA_HOME="$home" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 120 "$prefix/bin/aerovant" "$@"
}
output="$(run --headless --route 1 --frames 300 2>&1)"
status=$?
echo "$output"
[ $status -eq 0 ] || fail "the installed program exited with $status"
grep -q '^finish=none time=[0-9]* .* frames=300$' <<<"$output" || fail "no result line of 300 frames"
grep -q 'DLL Error' <<<"$output" && fail "the installed program did not load its decoder library"
# A dive into the ground ends the flight, which writes the player's settings.
echo "1 up down" >"$work/dive.txt"
output="$(run --headless --route 2 --pilot script "$work/dive.txt" --frames 3000 2>&1)"
echo "$output"
grep -q '^finish=failure ' <<<"$output" || fail "the dive did not end the flight"
[ -s "$home/aerovant/settings.bin" ] || fail "settings.bin is not in \$XDG_DATA_HOME/aerovant"
written="$(find "$prefix" "$work/elsewhere" -newer "$work/install.log" -type f | head -5)"
[ -z "$written" ] || fail "the program wrote into the prefix or the working folder: $written"
# The instance lock lies there too: with it held, a second copy leaves at once.
output="$(flock "$home/aerovant/aerovant.lock" env XDG_DATA_HOME="$home" SDL_VIDEODRIVER=dummy \
    SDL_AUDIODRIVER=dummy timeout 60 "$prefix/bin/aerovant" 2>&1)"
status=$?
[ $status -eq 0 ] && grep -q "already running" <<<"$output" ||
    fail "the program did not find its lock in \$XDG_DATA_HOME/aerovant (exit $status: $output)"

if [ $failures -ne 0 ]; then
    echo "$failures checks failed"
    exit 1
fi
echo "the installed game is complete, validates and flies"
