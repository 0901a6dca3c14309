#!/bin/bash
# Installs what the build and the tests need, from Debian's packages only.
set -euo pipefail
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
mapfile -t PACKAGES < <(grep -v '^\s*#' "$HERE/packages.txt" | grep -v '^\s*$')
MISSING=()
for P in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$P" 2>/dev/null | grep -q 'install ok installed' || MISSING+=("$P")
done
if [ ${#MISSING[@]} -gt 0 ]; then
  SUDO=; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  echo "installing: ${MISSING[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${MISSING[@]}" >/dev/null
fi
# Further set-up steps of the build (for example libraries cross-compiled
# for the Windows targets) live in tools/setup.d and run in name order.
if [ -d "$HERE/setup.d" ]; then
  for S in "$HERE"/setup.d/*.sh; do
    [ -e "$S" ] && bash "$S"
  done
fi
exit 0
