#!/usr/bin/env bash
# Builds Aerovant (installing what is missing) and runs the whole test suite.
#   ./test.sh             the normal build, in build/
#   ./test.sh --sanitize  the AddressSanitizer + UBSan build, in build-sanitize/
set -eu
AEROVANT_ROOT="$(cd "$(dirname "$0")" && pwd)"
. "$AEROVANT_ROOT/tools/setup/common.sh"

folder="$AEROVANT_ROOT/build"
options=()
if [ "${1:-}" = "--sanitize" ]; then
    folder="$AEROVANT_ROOT/build-sanitize"
    options=(-DAEROVANT_SANITIZE=ON -DAEROVANT_BUILD_BENCH=OFF)
    # System libraries behind a real window keep one-time allocations to the end.
    export LSAN_OPTIONS="suppressions=$AEROVANT_ROOT/tests/sanitizer/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
    # SDL loads and unloads libdbus by itself; with ASan following dynamic TLS through
    # __tls_get_addr, the leak check at exit then crashed scanning the unloaded module's
    # block. Leaks are still checked; only that bookkeeping is left to glibc.
    export ASAN_OPTIONS="intercept_tls_get_addr=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
fi

aerovant_install_packages $AEROVANT_BUILD_PACKAGES $AEROVANT_TEST_PACKAGES
aerovant_build "$folder" "${options[@]}"
cd "$folder"
ctest --output-on-failure -j "$(nproc 2>/dev/null || echo 2)" --timeout 300
