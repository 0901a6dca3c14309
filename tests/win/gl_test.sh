#!/bin/bash
# The engine under Windows: OpenGL32.DLL loads, a WGL context comes up on a
# window, a drawn frame reads back; a missing library gives its message.
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"
harness_init

value() { sed -n "s/^$1: //p" "$2" | tr -d '\r'; }

REPORT=$HARNESS_TMP/report.txt
win_start GLProbe.exe "Z:$REPORT"
check "the probe ends" wait_exit 90
check "the probe succeeds" test "$EXIT_CODE" = 0
check "the report is complete" test "$(tr -d '\r' <"$REPORT" | tail -n 1)" = ok
check "OpenGL32.DLL and GLU32.DLL are loaded" test "$(value loaded "$REPORT")" = 1
check "by the Windows name" test "$(value library "$REPORT")" = "OpenGL32.DLL"
check "a renderer answers" test -n "$(value renderer "$REPORT")"
check "at least the requested depth bits" test "$(value depthbits "$REPORT")" -ge 16
check "at least the requested colour bits" test "$(value colorbits "$REPORT")" -ge 16
check "the drawn square reads back red" test "$(value center "$REPORT")" = "255,0,0"
check "the cleared background reads back blue" test "$(value corner "$REPORT")" = "0,0,255"
# OpenGL32.DLL exports OpenGL 1.1 alone; the driver (Mesa here) gives the
# multitexture calls, so the scene draws each plane with its layers in one
# pass.
check "the driver's multitexture calls are fetched" test "$(value multitexture "$REPORT")" = 1
check "... with combining texture units" grep -qE '^units: [2-9][0-9]* combine crossbar' <(tr -d '\r' <"$REPORT")
echo "renderer: $(value renderer "$REPORT"), generic: $(value generic "$REPORT"), units: $(value units "$REPORT")"

MISSING=$HARNESS_TMP/missing.txt
win_start GLProbe.exe "Z:$MISSING" NoSuchOpenGL.dll
check "the probe with a missing library ends" wait_exit 60
check "it reports an engine error" test "$EXIT_CODE" = 1
check "with the library message" test "$(value error "$MISSING")" = "Load library failed: OpenGL DLL is not found!"
check "and nothing stays loaded" test "$(value loaded "$MISSING")" = "00"
finish
