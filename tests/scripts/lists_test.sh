#!/usr/bin/env bash
# The check of the package lists catches a package the lists lack: with XTest, which the
# benchmark's key presser links, taken out of the suite list, the check of the plain build
# fails and names the package and its list.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/setup.sh"

skyhunt_packages_suite=("${skyhunt_packages_suite[@]/libxtst-dev/}")
if report=$(skyhunt_check_lists default 2>&1); then
    echo "lists_test: the check passed with libxtst-dev out of the lists" >&2
    exit 1
fi
if ! grep -q "from the package libxtst-dev, .*add libxtst-dev to the 'suite' list" <<<"$report"; then
    echo "lists_test: the check failed without naming libxtst-dev and its list:" >&2
    echo "$report" >&2
    exit 1
fi
echo "lists_test: a list without libxtst-dev fails the check, naming it"
