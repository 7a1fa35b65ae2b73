#!/usr/bin/env bash
# Checks the Debian package that `cpack --preset package` left in build-package/: lintian
# must find no error, and the unpacked tree must hold the game, its textures and its desktop
# files, each valid. Run from the source root:
#
#     packaging/check-package.sh [DIR]
#
# The package is unpacked (dpkg-deb -x, nothing is installed) into DIR, which must be empty
# or not exist yet, or else into a new temporary folder. The folder is left for the caller
# to remove. The last line on standard output is the path of the unpacked usr/games/skyhunt;
# everything else goes to standard error.
set -euo pipefail

exec 3>&1 1>&2
check_name=check-package
source "$(dirname "${BASH_SOURCE[0]}")/check-lib.sh"

for tool in lintian dpkg-deb desktop-file-validate appstreamcli gzip cmake; do
    command -v "$tool" >/dev/null ||
        fail "$tool is missing: apt-get install lintian desktop-file-utils appstream dpkg gzip cmake"
done

shopt -s nullglob
debs=(build-package/skyhunt_*.deb)
shopt -u nullglob
((${#debs[@]} == 1)) || fail "want one build-package/skyhunt_*.deb, found ${#debs[@]}: ${debs[*]}"
deb=${debs[0]}
echo "check-package: $deb"

lintian --fail-on error "$deb"

if (($# > 0)); then
    dir=$(empty_folder "$1")
else
    dir=$(mktemp -d "${TMPDIR:-/tmp}/skyhunt-package.XXXXXX")
fi
dpkg-deb -x "$deb" "$dir"
root=$dir/usr

need() {
    [[ -f "$root/$1" ]] || fail "the package lacks usr/$1"
}

# The game, and no other program: tests, benchmarks and build tools stay out.
game=$root/games/skyhunt
[[ -f "$game" && -x "$game" ]] || fail "the package lacks an executable usr/games/skyhunt"
programs=$(cd "$dir" && find . -type f -perm /111)
[[ "$programs" == "./usr/games/skyhunt" ]] || fail "unexpected programs in the package: $programs"

for texture in "${textures[@]}"; do
    need "share/games/skyhunt/$texture"
done

# One desktop entry, named by the application id; its icon, metainfo and program agree.
shopt -s nullglob
entries=("$root"/share/applications/*.desktop)
shopt -u nullglob
((${#entries[@]} == 1)) || fail "want one desktop entry, found ${#entries[@]}"
entry=${entries[0]}
app_id=$(basename "$entry" .desktop)
desktop-file-validate "$entry"
grep -qx 'Exec=skyhunt' "$entry" || fail "$app_id.desktop does not run skyhunt"
icon=$(sed -n 's/^Icon=//p' "$entry")
need "share/icons/hicolor/48x48/apps/$icon.png"
need "share/icons/hicolor/scalable/apps/$icon.svg"

metainfo=share/metainfo/$app_id.metainfo.xml
need "$metainfo"
appstreamcli validate --no-net "$root/$metainfo"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$root/$metainfo" ||
    fail "$metainfo does not launch $app_id.desktop"

# The manual page and the documents, compressed where Debian wants them compressed.
for packed in share/man/man6/skyhunt.6.gz share/doc/skyhunt/changelog.gz; do
    need "$packed"
    gzip -t "$root/$packed" || fail "usr/$packed is not a valid gzip file"
done
need share/doc/skyhunt/copyright

echo "check-package: the package is sound, unpacked in $dir"
echo "$game" >&3
