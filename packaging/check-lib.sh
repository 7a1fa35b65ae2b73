# shellcheck shell=bash
# What the package checks share: the failure report, the check that they run from the source
# root, the empty folder they unpack into and the texture names, from the facts the build
# keeps. Sourced by check-package.sh and check-windows.sh after they set check_name.
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib/setup.sh"

fail() {
    echo "$check_name: $*" >&2
    exit 1
}

[[ -f cmake/SkyhuntFacts.cmake && $PWD -ef $skyhunt_root ]] || fail "run me from the source root"

# empty_folder DIR: makes DIR if need be, fails unless it is empty, prints its absolute path.
empty_folder() {
    mkdir -p "$1"
    [[ -z "$(ls -A "$1")" ]] || fail "$1 is not empty"
    (cd "$1" && pwd)
}

# The texture files, by the names the game itself reads.
mapfile -t textures < <(skyhunt_fact texture_names)
((${#textures[@]} > 0)) || fail "cmake/SkyhuntFacts.cmake named no texture files"
