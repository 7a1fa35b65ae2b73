#!/usr/bin/env bash
# Checks the zip that `cpack --preset web` left in build-web/ and plays the page it holds in
# headless Chromium. Run from the source root:
#
#     packaging/check-web.sh DIR LINUX_PICTURE
#
# The zip is unpacked into DIR (empty or not there yet): it must hold skyhunt.html, under
# 1.5 MB, with the licences and README.txt and nothing else. The page then runs the browser
# tests (tests/web/page_test.py) from there, against LINUX_PICTURE.
set -euo pipefail
check_name=check-web
source "$(dirname "${BASH_SOURCE[0]}")/check-lib.sh"
(($# == 2)) || fail "usage: packaging/check-web.sh DIR LINUX_PICTURE"
shopt -s nullglob
zips=(build-web/skyhunt-*-web.zip)
shopt -u nullglob
((${#zips[@]} == 1)) || fail "want one zip in build-web/, found: ${zips[*]}"
dir=$(empty_folder "$1")

/usr/bin/python3 -m zipfile -e "${zips[0]}" "$dir"
listing=$(cd "$dir" && find . -type f | sort | tr '\n' ' ')
[[ $listing == "./README.txt ./copyright.txt ./emscripten-copyright.txt ./skyhunt.html " ]] ||
    fail "${zips[0]} holds $listing"
size=$(stat -c %s "$dir/skyhunt.html")
((size < 1500000)) || fail "skyhunt.html is $size bytes, not under 1.5 MB"
echo "$check_name: ${zips[0]} holds the page ($size bytes), the licences and README.txt"
/usr/bin/python3 tests/web/page_test.py "$dir/skyhunt.html" "$2"
