#!/usr/bin/env bash
# Checks the Windows packages that `cpack --preset windows` left in build-windows/, under the
# build's Wine, and runs a command on the games they hold. Run from the source root:
#
#     packaging/check-windows.sh DIR COMMAND [ARGUMENT...]
#
# The zip is unpacked into DIR/zip and the installer run silently into DIR/installed (DIR
# must be empty or not exist yet): each must hold skyhunt.exe, which needs only system DLLs,
# with its textures beside it, the keys and the licences, the installer also a Start-menu
# shortcut to the game and an entry in the list of installed programs. COMMAND then runs
# with $SKYHUNT_WINDOWS_GAMES naming the two skyhunt.exe, separated by a colon, and
# $SKYHUNT_WINE the command that runs a Windows program. Last the uninstaller runs, and must
# leave nothing of the game behind.
set -euo pipefail
check_name=check-windows
source "$(dirname "${BASH_SOURCE[0]}")/check-lib.sh"
(($# >= 2)) || fail "usage: packaging/check-windows.sh DIR COMMAND [ARGUMENT...]"
dir=$1
shift

wine=$PWD/build-windows/wine-run
[[ -x $wine ]] || fail "$wine is missing: configure and build the windows preset first"
shopt -s nullglob
zips=(build-windows/skyhunt-*-win64.zip)
installers=(build-windows/skyhunt-*-win64.exe)
shopt -u nullglob
((${#zips[@]} == 1 && ${#installers[@]} == 1)) ||
    fail "want one zip and one installer in build-windows/, found: ${zips[*]} ${installers[*]}"

dir=$(empty_folder "$dir")
mkdir "$dir/zip"
# Wine shows the Linux root as drive Z:.
installed=$dir/installed
installed_win="Z:${installed//\//\\}"

# The game with its textures beside it, the keys, its licence and freeglut's, and nothing
# else: the program is the only one, every other file is a texture or a text.
check_tree() {
    local tree=$1 file others
    [[ -f $tree/skyhunt.exe ]] || fail "$tree lacks skyhunt.exe"
    for file in "${textures[@]}"; do
        [[ -f $tree/$file ]] || fail "$tree lacks $file"
    done
    grep -qs Escape "$tree"/*.txt || fail "$tree has no text of the keys"
    grep -qs "Copyright: .*skyhunt" "$tree"/*.txt || fail "$tree lacks the game's licence"
    grep -qsi "freeglut.*copyright\|copyright.*freeglut" "$tree"/*.txt ||
        fail "$tree lacks freeglut's licence"
    others=$(cd "$tree" && find . -type f ! -name skyhunt.exe ! -name '*.bmp' ! -name '*.txt' \
        ! -name Uninstall.exe)
    [[ -z $others ]] || fail "unexpected files in $tree: $others"
}

# skyhunt.exe starts from any folder on any Windows: it imports only DLLs that every Windows
# has. It is a console program, as on Linux, and carries its icon and version (resource
# types 14 and 16).
system_dlls='kernel32|user32|gdi32|advapi32|shell32|ole32|opengl32|glu32|winmm|msvcrt|ws2_32'
check_exe() {
    local dump dll
    dump=$(x86_64-w64-mingw32-objdump -p "$1")
    grep -qP '^Subsystem\s+00000003' <<<"$dump" || fail "$1 is not a console program"
    for type in 00000e 000010; do
        grep -qP "^[0-9a-f]+   Entry: ID: 0x$type" <<<"$dump" || fail "$1 lacks resource type $type"
    done
    while read -r dll; do
        grep -qixE "($system_dlls)\.dll" <<<"$dll" || fail "$1 imports $dll, not a system DLL"
    done < <(sed -n 's/^\s*DLL Name: //p' <<<"$dump")
}

# What the installer may leave behind: the Start menu's programs and the registry's software.
programs=$("$wine" winepath -u 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs')
snapshot() {
    find "$programs" | sort >"$dir/$1.menu"
    "$wine" reg export 'HKLM\Software' "$dir/$1.reg" /y >/dev/null
}
snapshot before
# Runs an installer or uninstaller; Wine's complaints go to a log shown only on failure.
run_quietly() {
    "$wine" "$@" 2>"$dir/wine.log" || {
        cat "$dir/wine.log" >&2
        fail "$* failed"
    }
}
# A failed check uninstalls what it installed, so that the next starts from a clean prefix.
uninstall() {
    if [[ -f $installed/Uninstall.exe ]]; then
        run_quietly "$installed/Uninstall.exe" /S
        "$wine"
    fi
}
trap uninstall EXIT

cmake -E chdir "$dir/zip" cmake -E tar xf "$PWD/${zips[0]}"
check_tree "$dir/zip"
check_exe "$dir/zip/skyhunt.exe"

run_quietly "${installers[0]}" /S "/D=$installed_win"
check_tree "$installed"
cmp -s <(cd "$dir/zip" && find . -type f | sort) \
    <(cd "$installed" && find . -type f ! -name Uninstall.exe | sort) ||
    fail "the installer and the zip hold different files"
diff -r -x Uninstall.exe "$dir/zip" "$installed" >/dev/null ||
    fail "the installer and the zip hold different bytes"
shortcuts=$(comm -13 "$dir/before.menu" <(find "$programs" -name '*.lnk' | sort) |
    grep -v Uninstall) || fail "the installer made no Start-menu shortcut"
grep -aqF "$installed_win\\skyhunt.exe" "$shortcuts" ||
    fail "the Start-menu shortcut $shortcuts does not start $installed_win\\skyhunt.exe"
"$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s |
    grep -qF "$installed_win\\Uninstall.exe" || fail "no entry in the installed programs"

# The games start once Wine has wound down from the installer and the queries: a game started
# while Wine's server is ending can end with it, before its window shows.
"$wine"
SKYHUNT_WINDOWS_GAMES="$dir/zip/skyhunt.exe:$installed/skyhunt.exe" SKYHUNT_WINE=$wine "$@"

# The uninstaller copies itself elsewhere and returns at once: Wine is waited for.
uninstall
trap - EXIT
[[ ! -e $installed ]] || fail "the uninstaller left $(cd "$installed" && find . | tr '\n' ' ')"
snapshot after
diff "$dir/before.menu" "$dir/after.menu" >&2 || fail "the uninstaller left Start-menu entries"
cmp -s "$dir/before.reg" "$dir/after.reg" || {
    diff <(iconv -f UTF-16 -t UTF-8 "$dir/before.reg") <(iconv -f UTF-16 -t UTF-8 "$dir/after.reg") \
        >&2
    fail "the uninstaller left keys in the registry"
}
echo "check-windows: the zip and the installer are sound, and the uninstaller leaves nothing"
