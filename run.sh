#!/usr/bin/env bash
# Builds Aerovant (installing what is missing) and starts the game.
set -eu
AEROVANT_ROOT="$(cd "$(dirname "$0")" && pwd)"
. "$AEROVANT_ROOT/tools/setup/common.sh"

aerovant_install_packages $AEROVANT_BUILD_PACKAGES
aerovant_build "$AEROVANT_ROOT/build"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run.sh: built build/bin/aerovant, but there is no display to open its window on (DISPLAY and WAYLAND_DISPLAY are unset)." >&2
    exit 1
fi
exec "$AEROVANT_ROOT/build/bin/aerovant" "$@"
