#!/bin/bash
# Installs what the build and the tests need, from Debian's packages only.
#
#   install-deps.sh        everything: the Linux program, the Windows builds
#                          and every test (what tools/test.sh needs)
#   install-deps.sh run    only what the Linux program needs (tools/run.sh)
set -euo pipefail
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ROLE=${1:-all}
LISTS=("$HERE/packages-run.txt")
[ "$ROLE" = run ] || LISTS+=("$HERE/packages.txt")
mapfile -t PACKAGES < <(cat "${LISTS[@]}" | grep -v '^\s*#' | grep -v '^\s*$')
SUDO=; [ "$(id -u)" -ne 0 ] && SUDO=sudo
# The 32-bit Windows build runs under Debian's 32-bit Wine (wine32:i386,
# with the i386 GL libraries its OpenGL needs): the i386 architecture is
# added once.
if printf '%s\n' "${PACKAGES[@]}" | grep -q ':i386$' && ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "adding the i386 architecture"
  $SUDO dpkg --add-architecture i386
fi
MISSING=()
for P in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$P" 2>/dev/null | grep -q 'install ok installed' || MISSING+=("$P")
done
if [ ${#MISSING[@]} -gt 0 ]; then
  echo "installing: ${MISSING[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${MISSING[@]}" >/dev/null
fi
[ "$ROLE" = run ] && exit 0
# The 32-bit Windows tests need a kernel that runs 32-bit programs; without
# one they fail here, with one line, instead of being skipped.
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "install-deps: this machine cannot run 32-bit programs (/usr/lib/wine/wine does not start), so the 32-bit Windows tests cannot run" >&2
  exit 1
fi
# Further set-up steps of the build (for example libraries cross-compiled
# for the Windows targets) live in tools/setup.d and run in name order.
if [ -d "$HERE/setup.d" ]; then
  for S in "$HERE"/setup.d/*.sh; do
    [ -e "$S" ] && bash "$S"
  done
fi
exit 0
