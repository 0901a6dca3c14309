#!/bin/bash
# The system's password services. With ScreenSaveUsePassword = 1 and a
# PASSWORD.CPL in the system directory whose VerifyScreenSavePwd refuses
# once and then accepts, the first key does not end the run, the second
# does. /a without a password-change service ends at once.
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"
harness_init
unmanaged_windows

install_saver "$HARNESS_TMP/saver"
DIR=$SAVER_DIR
cp "$HARNESS_BUILD/PASSWORD.CPL" "$SYSTEM_DIR/PASSWORD.CPL"
still_running_after() { sleep "$1"; kill -0 "$WIN_PID" 2>/dev/null; }
calls() { reg_query 'HKCU\Software\Glimmora Test' VerifyCalls; }

reg_set 'HKCU\Control Panel\Desktop' ScreenSaveUsePassword REG_SZ 1
win_start "$SCR" /s
check "the first frame appears" wait_frame 90
send_keys a
check "a refused password: the run goes on" still_running_after 3
check "the service was asked once" test "$(calls)" = 0x1
send_keys a
check "accepted the second time: the run ends" wait_exit 5
check "with exit code 0" test "$EXIT_CODE" = 0
check "after a second question" test "$(calls)" = 0x2

# Wine's MPR.DLL has no PwdChangePasswordA.
win_start "$SCR" /a 0
check "/a without a password-change service ends at once" wait_exit 20
check "with exit code 0" test "$EXIT_CODE" = 0
finish
