# Shared by ./run.sh and ./test.sh: installs what is missing, configures and builds.
# Sourced, not run. Both scripts may be run again at any time; they only do what is missing.

# Debian packages the build needs (compiler, libraries, the font the data is drawn with,
# rsvg-convert for the icon's pictures).
AEROVANT_BUILD_PACKAGES="cmake ninja-build g++ pkg-config libsdl2-dev libegl-dev libgles-dev
  libegl-mesa0 libgl1-mesa-dri libzip-dev libpng-dev libfreetype-dev fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev libxvidcore-dev librsvg2-bin"
# What the tests use besides: tools nobody here wrote, to make files our loaders must read;
# every locale, so the readers are tried where a comma is the decimal point; clang-format
# for the formatting check; sox for WAV files of several formats, ffmpeg for a clip;
# desktop-file-utils and appstream to validate what an installation gives the desktop.
AEROVANT_TEST_PACKAGES="zip unzip imagemagick locales-all clang-format ffmpeg sox desktop-file-utils appstream"

aerovant_install_packages() {
    local missing=""
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing="$missing $package"
        fi
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            sudo="sudo"
        else
            echo "These Debian packages are missing and there is no sudo to install them:$missing" >&2
            return 1
        fi
    fi
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq &&
        $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
}

# aerovant_build <build folder> [extra cmake arguments...]
aerovant_build() {
    local folder="$1"
    shift
    cmake -S "$AEROVANT_ROOT" -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null &&
        cmake --build "$folder" -j "$(nproc 2>/dev/null || echo 2)"
}
