# Shared by scripts/play, scripts/test and scripts/bench: installs the Debian packages the
# game and its suite need, and knows where the source tree is. Sourced, not run.

skyhunt_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Compilers, build tools, libraries, and the virtual X server, input and screenshot
# tools the suite drives the game with.
skyhunt_packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev
    libgtest-dev libbenchmark-dev
    freeglut3-dev libglu1-mesa-dev libgl1-mesa-dev libgl1-mesa-dri libx11-dev
    xvfb xauth xdotool imagemagick x11-utils
)

skyhunt_missing_packages() {
    local pkg
    for pkg in "${skyhunt_packages[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            printf '%s\n' "$pkg"
        fi
    done
}

# Installs what is missing when run as root; otherwise prints the one command to run.
skyhunt_install_packages() {
    local missing
    mapfile -t missing < <(skyhunt_missing_packages)
    if [ "${#missing[@]}" -eq 0 ]; then
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
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Configures and builds one preset of CMakePresets.json.
skyhunt_build() {
    local preset=$1
    cmake --preset "$preset" -S "$skyhunt_root" >/dev/null
    cmake --build --preset "$preset"
}
