# Harness self-test: wintest and the harness against a small fixture dialog
# (tools/selftest_dialog.cpp) whose behaviour is known, so that each probe is seen answering
# both ways before the product's tests rely on it.

FIXTURE="wintest fixture"

selftest_start_fixture() {
  e2e_launch fixture "$E2E_BUILD_DIR/tests/e2e/tools/selftest_dialog.exe"
  wt -t 30000 wait exists "$FIXTURE" || fail "fixture window did not appear"
  wt wait text "$FIXTURE" 1001 'Caution \x96 "shown" 0' || fail "fixture did not initialise"
}

selftest_probes() {
  check_eq "ANSI code page" "$(wt acp)" 1252
  selftest_start_fixture
  check_eq "window count" "$(wt count "$FIXTURE")" 1
  check_eq "window count of another caption" "$(wt count "$FIXTURE!")" 0
  wt find "$FIXTURE!" >/dev/null; check_eq "find of a missing window" $? 4
  wt visible "$FIXTURE"; check_eq "visible while hidden" $? 1
  wt -t 5000 wait taskbar-known "$FIXTURE" || fail "the shell has no task button for the window"
  wt taskbar "$FIXTURE"; check_eq "taskbar while hidden" $? 1
  wt taskbar "$FIXTURE!"; check_eq "taskbar of a missing window" $? 4
  wt -t 200 wait visible "$FIXTURE"; check_eq "wait visible on a hidden window" $? 2

  wt command "$FIXTURE" 101 || fail "posting command 101"
  wt wait visible "$FIXTURE" || fail "fixture not shown by command 101"
  wt wait text "$FIXTURE" 1001 'Caution \x96 "shown" 1' || fail "text after the show: $(wt text "$FIXTURE" 1001)"
  check_eq "text" "$(wt text "$FIXTURE" 1001)" 'Caution \x96 "shown" 1'
  wt -t 5000 wait taskbar "$FIXTURE" || fail "no task button while visible"
  e2e_screenshot "$E2E_ARTIFACTS/selftest-fixture-shown.png"

  # Each way of hiding it, then shown again.
  wt click "$FIXTURE" 1 && wt wait hidden "$FIXTURE" || fail "Ok did not hide"
  wt command "$FIXTURE" 101 && wt wait visible "$FIXTURE" || fail "second show"
  wt key "$FIXTURE" 0x1B && wt wait hidden "$FIXTURE" || fail "Escape did not hide"
  wt command "$FIXTURE" 101 && wt wait visible "$FIXTURE" || fail "third show"
  wt post "$FIXTURE" 0x0112 0xF060 0 && wt wait hidden "$FIXTURE" || fail "SC_CLOSE did not hide"
  # The same through the X server: a key press, a click on the close box.
  wt command "$FIXTURE" 101 && wt wait visible "$FIXTURE" || fail "fourth show"
  xdotool key Escape && wt wait hidden "$FIXTURE" || fail "Escape key did not hide"
  wt command "$FIXTURE" 101 && wt wait visible "$FIXTURE" || fail "fifth show"
  local xy; xy=$(wt hit "$FIXTURE" 20) || fail "no close box found"
  xdotool mousemove $xy click 1 && wt wait hidden "$FIXTURE" || fail "close box click at $xy did not hide"
  wt -t 5000 wait no-taskbar "$FIXTURE" || fail "task button still shown after hiding"
}

selftest_message_box() {
  selftest_start_fixture
  wt msgbox >/dev/null; check_eq "msgbox before one is shown" $? 4
  wt command "$FIXTURE" 103
  wt -t 5000 wait msgbox || fail "no message box found"
  check_eq "message box text" "$(wt msgbox)" "Fixture question?"
  check_eq "message box caption" "$(wt msgbox-caption)" "wintest fixture box"
  wt msgbox-press 2 || fail "pressing Cancel"
  wt wait text "$FIXTURE" 1002 "box 2" || fail "fixture saw: $(wt text "$FIXTURE" 1002)"
  wt msgbox >/dev/null; check_eq "msgbox after it was closed" $? 4
}

selftest_device_change_and_exit() {
  selftest_start_fixture
  local name='\\\\?\\USB#VID_1C9F&PID_3A06#X\x96Y'
  check_eq "devchange result" "$(wt devchange "$FIXTURE" arrival "$name")" 1
  check_eq "record name seen" "$(wt text "$FIXTURE" 1002)" "32768 $name"
  wt devchange "$FIXTURE" removal "x" >/dev/null
  check_eq "removal seen" "$(wt text "$FIXTURE" 1002)" "32772 x"

  local winpid; winpid=$(wt pid "$FIXTURE") || fail "no pid"
  wt -t 300 wait process-gone "$winpid"; check_eq "process-gone while running" $? 2
  wt command "$FIXTURE" 104
  wt wait gone "$FIXTURE" || fail "window not gone after 104"
  wt wait process-gone "$winpid" || fail "Windows process $winpid still there"
  e2e_wait_exit "${E2E_PID[fixture]}" 10000 || fail "fixture process did not end"
}

e2e_register selftest_probes selftest_probes
e2e_register selftest_message_box selftest_message_box
e2e_register selftest_device_change_and_exit selftest_device_change_and_exit
