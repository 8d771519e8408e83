#!/usr/bin/env bash
# Installs the Debian packages the program needs (and, with --tests, what the tests
# need) that are not there yet. Runs apt-get as root, or through sudo.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
lists=("$here/packages.txt")
[ "${1:-}" = "--tests" ] && lists+=("$here/test-packages.txt")

missing=()
for pkg in $(grep -hv '^\s*#' "${lists[@]}"); do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
