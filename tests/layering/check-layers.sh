#!/usr/bin/env bash
# Fails when a file includes a header of a layer above its own, or when SDL, EGL or dlfcn
# are included outside the platform layer. Checks src/<layer>/ and tests/<layer>/: a test
# of a layer below the application frame may use its own layer, those below and the shared
# helpers of tests/support (which themselves stay as low as the resources); the tests of
# app, game and menu run the whole game and may use all of it.
#   check-layers.sh <source root>
set -u
root="${1:?usage: check-layers.sh <source root>}"

# Bottom to top; layers on one line are siblings, which may not include each other. The
# clip decoder library (src/decoder) is no layer of the game: its header of call shapes sits
# at the bottom, and its sources include none of the game's.
layers=(
    "decoder platform"
    "base"
    "resources"
    "world"
    "flight"
    "hud media"
    "app"
    "game"
    "menu"
)
declare -A rank
for i in "${!layers[@]}"; do
    for layer in ${layers[$i]}; do rank[$layer]=$i; done
done
top=$((${#layers[@]} - 1))

failures=0
fail() {
    echo "$1"
    failures=$((failures + 1))
}

# check_folder <folder> <its layer> <its rank>
check_folder() {
    local folder="$1" own="$2" own_rank="$3"
    local file line included
    while IFS= read -r -d '' file; do
        while IFS= read -r line; do
            included="${line#*#include \"}"
            included="${included%%/*}"
            [ "$included" = "support" ] && continue
            [ -n "${rank[$included]+x}" ] || continue  # the same folder, tools/ or a system header
            if [ "$included" != "$own" ] && [ "${rank[$included]}" -ge "$own_rank" ] &&
                [ "$own_rank" -lt "$top" ]; then
                fail "${file#"$root"/}: includes \"$included/\" from the $own layer, which may only look down"
            fi
        done < <(grep -E '^\s*#\s*include\s+"[a-z]+/' "$file")
        if [ "$own" != "platform" ] && grep -qE '^\s*#\s*include\s*[<"](SDL|SDL2/|EGL/|dlfcn\.h)' "$file"; then
            fail "${file#"$root"/}: includes SDL, EGL or dlfcn outside src/platform"
        fi
    done < <(find "$folder" -type f \( -name '*.cpp' -o -name '*.h' \) -print0)
}

for base in src tests; do
    for folder in "$root/$base"/*/; do
        folder="${folder%/}"
        own="$(basename "$folder")"
        case "$base/$own" in
            tests/tools | tests/sanitizer | tests/layering | tests/install | tests/data) continue ;;  # outside the layering
            tests/support) check_folder "$folder" support $((${rank[resources]} + 1)) ;;
            tests/app | tests/game | tests/menu | tests/fuzz) check_folder "$folder" "$own" "$top" ;;
            *)
                if [ -z "${rank[$own]+x}" ]; then
                    fail "$base/$own: not a known layer; add it to tests/layering/check-layers.sh"
                else
                    check_folder "$folder" "$own" "${rank[$own]}"
                fi
                ;;
        esac
    done
done

if [ "$failures" -ne 0 ]; then
    echo "$failures include(s) break the layering"
    exit 1
fi
echo "every include looks down"
