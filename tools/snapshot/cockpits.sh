#!/usr/bin/env bash
# Pictures of every aircraft's cockpit in portrait and in landscape, and of the chase view
# with its compass and altimeter, taken by the game's own headless mode a few seconds into
# a flight under the instructor (so the aircraft is climbing away from the runway).
#   tools/snapshot/cockpits.sh [build folder] [out folder]
set -eu
build="${1:-build}"
out="${2:-cockpit-snapshots}"
game="$build/bin/aerovant"
player="$(mktemp -d)"
trap 'rm -rf "$player"' EXIT
mkdir -p "$out"
shot() {  # name, then the flight's options
    local name="$1" frames=1200
    shift
    local folder="$player/$name"
    mkdir -p "$folder"
    SDL_AUDIODRIVER=dummy "$game" --headless --route 1 --pilot instructor --frames "$frames" \
        --shots-every "$frames" --out "$folder" --player "$player" "$@" >/dev/null
    mv "$folder/frame$(printf %06d "$frames").png" "$out/$name.png"
    echo "$out/$name.png"
}
names=(C172R Su29 L29 L13 Fokker)
for aircraft in 1 2 3 4 5; do
    name="${names[$((aircraft - 1))]}"
    shot "$name-portrait" --aircraft "$aircraft" --align 0 --view cockpit
    shot "$name-landscape" --aircraft "$aircraft" --align 1 --view cockpit
done
shot chase-portrait --aircraft 1 --align 0
shot chase-landscape --aircraft 1 --align 2
