#!/bin/bash
# The Debian package and the install rules: cpack builds the .deb, which
# holds the program, the hack's link and settings, the manual page and the
# desktop entry; each file is what its reader accepts.
# Usage: package_test.sh BUILD_DIR
set -uo pipefail
BUILD=$1
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
PASSED=0
FAILED=0
check() {
  local WHAT=$1
  shift
  if "$@"; then PASSED=$((PASSED + 1)); echo "ok: $WHAT"; else FAILED=$((FAILED + 1)); echo "FAILED: $WHAT"; fi
}
PY=/usr/bin/python3

VERSION=$("$BUILD/glimmora3d" --version | sed -nE 's/^Glimmora 3D ([0-9.]+) .*/\1/p')
DEB="$TMP/glimmora3d_${VERSION}_$(dpkg --print-architecture).deb"
cpack --config "$BUILD/CPackConfig.cmake" -B "$TMP" >"$TMP/cpack.log" 2>&1 || cat "$TMP/cpack.log"
check "cpack makes glimmora3d_${VERSION}_ARCH.deb (the program's version)" test -s "$DEB"
dpkg-deb -c "$DEB" | awk '{print $1 " " $6 $7 $8}' >"$TMP/contents"
has() { grep -qxF -- "$1" "$TMP/contents" || { echo "  not in the package: $1"; return 1; }; }
check "the program" has "-rwxr-xr-x ./usr/bin/glimmora3d"
check "the hack: a link in XScreenSaver's hack folder to the program" \
  has "lrwxrwxrwx ./usr/libexec/xscreensaver/glimmora3d->../../bin/glimmora3d"
check "the hack's settings in XScreenSaver's config folder" has "-rw-r--r-- ./usr/share/xscreensaver/config/glimmora3d.xml"
check "the manual page, section 6" has "-rw-r--r-- ./usr/share/man/man6/glimmora3d.6.gz"
check "the desktop entry" has "-rw-r--r-- ./usr/share/applications/glimmora3d.desktop"
check "the notes on XScreenSaver's programs list" has "-rw-r--r-- ./usr/share/doc/glimmora3d/XSCREENSAVER"
check "nothing else is installed (no tests, no libraries)" \
  test "$(grep -vc '^d' "$TMP/contents")" -eq 6
DEPENDS=$(dpkg-deb -f "$DEB" Depends)
check "Depends names the libraries the program links" \
  bash -c "grep -q libpng16 <<<'$DEPENDS' && grep -q libegl1 <<<'$DEPENDS' && grep -q libjpeg <<<'$DEPENDS'"
check "the package's version is the program's" test "$(dpkg-deb -f "$DEB" Version)" = "$VERSION"

dpkg-deb -x "$DEB" "$TMP/root"
R=$TMP/root
check "the packaged program runs" bash -c "'$R/usr/bin/glimmora3d' --version | grep -q 'Glimmora 3D $VERSION'"
# The settings: well-formed XML of the hack format, with the controls the
# dialog shows (counts as sliders, theme list with Auto, sound, delay).
check "the settings XML is well-formed and describes the hack's controls" $PY - "$R/usr/share/xscreensaver/config/glimmora3d.xml" <<'PYEOF'
import sys
import xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
assert root.tag == "screensaver" and root.get("name") == "glimmora3d", root.attrib
sliders = {n.get("id"): n for n in root.iter("number")}
for id_, arg, low, high in [("dollars", "--dollars %", "0", "100"), ("bubbles", "--bubbles %", "0", "100"),
                            ("delay", "--delay %", "0", None)]:
    n = sliders[id_]
    assert n.get("type") == "slider" and n.get("arg") == arg and n.get("low") == low, n.attrib
    assert high is None or n.get("high") == high, n.attrib
    assert int(n.get("low")) <= int(n.get("default")) <= int(n.get("high")), n.attrib
themes = [o.get("arg-set") for o in root.find("select[@id='theme']").iter("option")]
assert themes.count(None) == 1, themes   # the default adds nothing
assert {"--theme auto", "--theme 0", "--theme 1", "--theme 2"} <= set(themes), themes
booleans = {b.get("id"): b.get("arg-set") for b in root.iter("boolean")}
assert booleans.get("sound") == "--sound", booleans
assert root.find("command").get("arg") == "--root"
assert root.findtext("_description").strip()
PYEOF
# Every option the dialog writes is documented in the manual page.
gzip -dc "$R/usr/share/man/man6/glimmora3d.6.gz" >"$TMP/glimmora3d.6"
check "the manual page formats without warnings" bash -c "groff -man -ww -z '$TMP/glimmora3d.6' 2>&1 | tee /dev/stderr | wc -c | grep -qx 0"
groff -man -Tascii -P-cbou "$TMP/glimmora3d.6" >"$TMP/glimmora3d.txt" 2>/dev/null
check "the manual page names the program's version" grep -qx ".TH GLIMMORA3D 6 \"2026\" \"Glimmora 3D $VERSION\" \"Screen savers\"" "$TMP/glimmora3d.6"
documented() {
  local O
  for O in $(grep -oE '"--[a-z-]+' "$1" | tr -d '"' | sort -u); do
    grep -qF -- "$O" "$TMP/glimmora3d.txt" || { echo "  undocumented: $O"; return 1; }
  done
}
check "the manual page documents every option of the settings" \
  documented "$R/usr/share/xscreensaver/config/glimmora3d.xml"
check "the desktop entry validates" desktop-file-validate "$R/usr/share/applications/glimmora3d.desktop"

# cmake --install with the default prefix: the program under the prefix,
# the hack and its settings where XScreenSaver looks.
DESTDIR="$TMP/dest" cmake --install "$BUILD" --prefix /usr/local >"$TMP/install.log" 2>&1 || cat "$TMP/install.log"
check "cmake --install puts the settings in XScreenSaver's config folder" \
  test -s "$TMP/dest/usr/share/xscreensaver/config/glimmora3d.xml"
check "cmake --install links the hack to the program under the prefix" \
  test "$(readlink "$TMP/dest/usr/libexec/xscreensaver/glimmora3d")" = "../../local/bin/glimmora3d"
check "the hack's link reaches the program" test -x "$TMP/dest/usr/libexec/xscreensaver/glimmora3d"

echo "$PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
