#!/bin/bash
# The harness drives a real Windows program: window, screen, keys, registry,
# exit code.
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"
harness_init
win_start HarnessProbe.exe
check "the probe's window appears" wait_window "Glimmora Harness Probe" 60
screenshot "$HARNESS_TMP/shot.png"
check "the screen shows the probe's colour" test "$(pixel "$HARNESS_TMP/shot.png" 500 400)" = "0,128,255"
check "the probe wrote its registry value" test "$(reg_query 'HKCU\Software\Tarnwick Software\Glimmora Harness Probe' Started)" = "0x1"
send_keys q
check "the probe ends after Q" wait_exit 20
check "the exit code comes back" test "$EXIT_CODE" = 7
finish
