#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package of the committed tree twice with reprotest, the
# second build varying all it can without a second user or host name (time,
# build path, environment, locale, time zone, umask, file order, kernel,
# number of CPUs, home, PATH), and fails where the packages differ, with
# diffoscope's report.  The package's tests are left out of both builds: they
# run in test-releases, and faketime's clock would only slow their windows.
# Usage: reproducible.sh [OUT]   (OUT: build/; reprotest's results in OUT/reproducible/)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$top/build}" && cd "${1:-$top/build}" && pwd)/reproducible
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
"$top/scripts/package.sh" --source "$work" > /dev/null
rm -rf "$out" "$work/package/kalvira-"*/
if ! (cd "$work/package" && DEB_BUILD_OPTIONS=nocheck reprotest --vary=-user_group,-domain_host \
        --store-dir "$out" ./*.dsc -- null) > "$work/reprotest.log" 2>&1; then
    mkdir -p "$out" && cp "$work/reprotest.log" "$out/"
    if compgen -G "$out/*.diffoscope.out" > /dev/null; then
        cat "$out"/*.diffoscope.out
        echo "The package is not reproducible: the two builds differ as above (reprotest's log: $out/reprotest.log)" >&2
    else
        cat "$work/reprotest.log"
        echo "reprotest failed before comparing; its log is above" >&2
    fi
    exit 1
fi
cp "$work/reprotest.log" "$out/"
echo "Reproducible: two builds gave the same packages ($out/SHA256SUMS)"
