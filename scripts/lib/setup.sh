# shellcheck shell=bash disable=SC2034 # the package lists are read by name, out of its sight
# Shared by scripts/play, scripts/test and scripts/bench: installs the Debian packages the
# game and its suite need, knows where the source tree is and asks cmake/SkyhuntFacts.cmake
# for the facts the scripts share with the build. Sourced, not run.

skyhunt_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# The packages, in lists named by what needs them; skyhunt_install_packages takes the names.
# game: compilers, build tools (pkg-config, through which CMake finds freeglut) and the
# libraries to build the game and run it.
skyhunt_packages_game=(
    g++ cmake ninja-build pkgconf
    freeglut3-dev libglu1-mesa-dev libgl1-mesa-dev libgl1-mesa-dri libx11-dev
)
# sortie: the virtual X server, the key typist and the PNG writer that skyhunt-sortie, the
# headless run of scripts/play, starts (it is built from the game list's packages).
skyhunt_packages_sortie=(
    xvfb xdotool imagemagick
)
# suite: what the test suite and the benchmarks need beyond the game: clang with its
# sanitizer and fuzzer runtime (libclang-rt-dev follows Debian's default clang) and the LLVM
# archiver its builds take, GoogleTest, Google Benchmark, XTest for the benchmark's key
# presser, Xlib and the X tools the end-to-end tests drive the game with, and the tools that
# check the Debian package.
skyhunt_packages_suite=(
    clang libclang-rt-dev llvm
    libgtest-dev libbenchmark-dev libxtst-dev
    libx11-dev xvfb xauth xdotool x11-utils
    lintian desktop-file-utils appstream dpkg-dev file
)
# windows: the Windows build and its tests: the mingw-w64 cross compilers (posix threads),
# apt-get and dpkg-source to fetch and unpack freeglut's source package, GoogleTest's sources, Wine to run the
# programs, NSIS for the installer, and the tools that draw the icon from its SVG.
skyhunt_packages_windows=(
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    mingw-w64-x86-64-dev
    dpkg-dev apt googletest
    wine wine64 nsis
    librsvg2-bin icoutils
)
# web: the browser build and its tests: Debian's Emscripten (with its own clang, lld and
# binaryen) and the Node.js it runs on, Chromium to play the page headless, Python with its
# WebSocket client to drive it through the DevTools protocol, and ImageMagick to read the
# pictures it takes.
skyhunt_packages_web=(
    emscripten nodejs
    chromium python3 python3-websocket imagemagick
)
skyhunt_package_lists=(game sortie suite windows web)

# Prints, one a line and once each, the packages of the named lists (all lists when none is
# named) that are not installed yet.
skyhunt_missing_packages() {
    local list pkg
    local -A seen=()
    if [ "$#" -eq 0 ]; then
        set -- "${skyhunt_package_lists[@]}"
    fi
    for list in "$@"; do
        if ! declare -p "skyhunt_packages_$list" >/dev/null 2>&1; then
            echo "skyhunt: no package list named '$list' (there are: ${skyhunt_package_lists[*]})" >&2
            return 1
        fi
        local -n packages="skyhunt_packages_$list"
        for pkg in "${packages[@]}"; do
            if [ -n "${seen[$pkg]:-}" ]; then
                continue
            fi
            seen[$pkg]=1
            if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
                printf '%s\n' "$pkg"
            fi
        done
        unset -n packages
    done
}

# skyhunt_install_packages [LIST...]: installs what is missing from the named lists (all of
# them when none is named) when run as root; otherwise prints the one command to run and
# fails. apt-get waits up to five minutes for another package manager to finish.
skyhunt_install_packages() {
    local missing listing
    listing=$(skyhunt_missing_packages "$@") || return 1
    mapfile -t missing <<<"$listing"
    if [ -z "$listing" ]; then
        return 0
    fi
    if [ "$(id -u)" -ne 0 ]; then
        echo "skyhunt needs these packages: ${missing[*]}" >&2
        echo "Install them with:" >&2
        echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
        return 1
    fi
    echo "Installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get -o DPkg::Lock::Timeout=300 update -q
    apt-get -o DPkg::Lock::Timeout=300 install -y -q --no-install-recommends "${missing[@]}"
}

# skyhunt_fact NAME: prints a fact of cmake/SkyhuntFacts.cmake (xvfb_screen, texture_names),
# one item a line.
skyhunt_fact() {
    cmake -D "fact=$1" -P "$skyhunt_root/cmake/SkyhuntFacts.cmake"
}

# Runs a command on a virtual X server of its own, with the screen the driver's servers have.
skyhunt_xvfb_run() {
    local screen
    screen=$(skyhunt_fact xvfb_screen) || return 1
    xvfb-run -a -s "-screen 0 $screen" "$@"
}

# Configures and builds one preset of CMakePresets.json.
skyhunt_build() {
    local preset=$1
    cmake --preset "$preset" -S "$skyhunt_root" >/dev/null
    cmake --build --preset "$preset"
}

source "$skyhunt_root/scripts/lib/lists.sh"
